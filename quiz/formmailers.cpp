#include "formmailers.h"

#include "quiz.h"

#include "paths.h"
#include "savefile.h"
#include "xmlelement.h"
#include "xmlwriter.h"

#include <QFile>

namespace {
QStringList readChildren(const XmlElement *list, bool *complete = nullptr)
{
    QStringList entries;
    if (complete)
        *complete = list != nullptr;
    if (!list)
        return entries;
    for (const XmlElement &c : list->children) {
        QString t;
        if (!c.readText(&t)) {
            if (complete)
                *complete = false;
            break;
        }
        entries << t;
    }
    return entries;
}
} // namespace

namespace FormMailers {

QString fileName()
{
    return QStringLiteral("formmailers.xml");
}

QString userFilePath()
{
    return Paths::userFile(fileName());
}

void seedUserFile()
{
    const QString target = userFilePath();
    if (QFile::exists(target))
        return;
    Paths::ensureUserDataPath();
    QFile::copy(Paths::programFile(fileName()), target);
    // The installed copy may be read-only; the user's own list must not be.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
}

QStringList readDropDownEntries(const QString &path)
{
    XmlElement root;
    if (!parseXmlFile(path, &root) || root.children.empty())
        return {};
    return readChildren(&root.children.front());
}

QStringList readManagerEntries(const QString &path, ReadResult *result)
{
    if (result)
        *result = QFile::exists(path) ? ReadResult::Unreadable : ReadResult::Missing;
    XmlElement root;
    if (!parseXmlFile(path, &root))
        return {};
    bool complete = false;
    const QStringList entries = readChildren(root.child(QStringLiteral("formmailers")), &complete);
    if (result && complete)
        *result = ReadResult::Read;
    return entries;
}

QByteArray toBytes(const QStringList &entries)
{
    XmlWriter w;
    w.startElement(QStringLiteral("xml"));
    w.startElement(QStringLiteral("formmailers"));
    for (const QString &e : entries)
        w.textElement(QStringLiteral("formmail"), e);
    w.endElement();
    w.endElement();
    return w.toUtf8();
}

bool save(const QString &path, const QStringList &entries, QString *error)
{
    return writeFileSafely(path, toBytes(entries), error);
}

} // namespace FormMailers

void FormMailers::loadInto(Quiz &quiz)
{
    seedUserFile();
    quiz.setFormMailers(readDropDownEntries(userFilePath()));
}
