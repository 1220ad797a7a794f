#include "formmailers.h"
#include "outofmemory.h"

#include "quiz.h"

#include "paths.h"
#include "savefile.h"
#include "xmlelement.h"
#include "xmlwriter.h"

#include <QFile>

#include <new>

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

// The manager's rows; complete tells whether the whole list was read.
QStringList managerEntriesOf(const QByteArray &data, bool *complete)
{
    if (complete)
        *complete = false;
    try {
        XmlElement root;
        if (!parseXml(data, &root))
            return {};
        return readChildren(root.child(QStringLiteral("formmailers")), complete);
    } catch (const std::bad_alloc &) {
        if (complete)
            *complete = false;
        return {};
    }
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

QStringList dropDownEntries(const QByteArray &data)
{
    try {
        XmlElement root;
        if (!parseXml(data, &root) || root.children.empty())
            return {};
        return readChildren(&root.children.front());
    } catch (const std::bad_alloc &) {
        return {};
    }
}

QStringList managerEntries(const QByteArray &data)
{
    return managerEntriesOf(data, nullptr);
}

QStringList readDropDownEntries(const QString &path)
{
    QByteArray data;
    return readXmlFile(path, &data) ? dropDownEntries(data) : QStringList();
}

QStringList readManagerEntries(const QString &path, ReadResult *result)
{
    if (result)
        *result = QFile::exists(path) ? ReadResult::Unreadable : ReadResult::Missing;
    QByteArray data;
    if (!readXmlFile(path, &data))
        return {};
    bool complete = false;
    const QStringList entries = managerEntriesOf(data, &complete);
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
    try {
        return writeFileSafely(path, toBytes(entries), error);
    } catch (const std::bad_alloc &) {
        if (error)
            *error = OutOfMemory::saving();
        return false;
    }
}

} // namespace FormMailers

void FormMailers::loadInto(Quiz &quiz)
{
    seedUserFile();
    quiz.setFormMailers(readDropDownEntries(userFilePath()));
}
