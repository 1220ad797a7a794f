#include "projectfile.h"
#include "outofmemory.h"

#include "formmailers.h"
#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "paths.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "settings.h"
#include "savefile.h"
#include "xmlelement.h"
#include "xmlwriter.h"

#include <new>

namespace {

const QString kProg = QStringLiteral("Pruvex");
const QString kVersion = QStringLiteral("2");

// Two LF characters, the parser's form of a stored line break, become CR LF.
QString lfPairsToCrLf(QString s)
{
    if (!s.contains(QLatin1Char('\n')))
        return s;
    return s.replace(QStringLiteral("\n\n"), QStringLiteral("\r\n"));
}

// Reads a child's text with the line-break rule; false when it is missing
// or holds elements.
bool readChildText(XmlElement &parent, const QString &name, QString *out)
{
    XmlElement *e = parent.child(name);
    QString t;
    if (!e || !e->takeText(&t))
        return false;
    *out = lfPairsToCrLf(std::move(t));
    return true;
}

bool readChildFlag(XmlElement &parent, const QString &name, bool *out)
{
    QString t;
    return readChildText(parent, name, &t) && Settings::parseFlag(t, out);
}

// Reads the settings of FileContent into quiz, in the table's order. False on
// a failure of a required flag.
bool readSettings(Quiz &quiz, XmlElement &content)
{
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        QString t;
        bool on = false;
        switch (def.readRule) {
        case ReadRule::Text:
            if (!readChildText(content, key, &t))
                t = QString::fromUtf8(def.readDefault);
            quiz.setText(def.id, std::move(t));
            break;
        case ReadRule::RequiredFlag:
            if (!readChildFlag(content, key, &on))
                return false;
            quiz.setFlag(def.id, on);
            break;
        case ReadRule::FlagDefault:
            if (!readChildFlag(content, key, &on))
                Settings::parseFlag(QString::fromLatin1(def.readDefault), &on);
            quiz.setFlag(def.id, on);
            break;
        case ReadRule::CaptchaFlag:
            if (!readChildText(content, key, &t))
                t = QString::fromLatin1(def.readDefault);
            if (!Settings::parseFlag(t, &on))
                return false;
            quiz.setFlag(def.id, on);
            break;
        case ReadRule::KeepFlag:
            if (readChildFlag(content, key, &on))
                quiz.setFlag(def.id, on);
            break;
        }
    }
    return true;
}

} // namespace

namespace ProjectFile {

QString notAProjectMessage()
{
    return QStringLiteral("Die Datei scheint keine Pruvex Datei zu sein.");
}

QByteArray toBytes(const Quiz &quiz)
{
    XmlWriter w;
    w.startElement(QStringLiteral("xml"));
    w.startElement(QStringLiteral("FileInfo"));
    w.textElement(QStringLiteral("Prog"), kProg);
    w.textElement(QStringLiteral("Version"), kVersion);
    w.endElement();
    w.startElement(QStringLiteral("FileContent"));
    for (const SettingDef &def : Settings::all())
        w.textElement(QString::fromLatin1(def.key), quiz.text(def.id));
    w.startElement(QStringLiteral("ItemList"));
    for (const auto &q : quiz.questions()) {
        w.startElement(QStringLiteral("forms"));
        writeQuestionElement(w, *q);
        w.endElement();
    }
    w.endElement();
    w.endElement();
    w.endElement();
    return w.toUtf8();
}

namespace {
bool readProject(Quiz &quiz, const QByteArray &data, QString *reason)
{
    // The questions are read as the parser finishes each one. A question
    // that cannot be read fails the load; the parse goes on all the same,
    // so that a broken file keeps its reason.
    QuestionList questions;
    bool questionsRead = true;
    auto readQuestion = [&](XmlElement &forms) {
        if (!questionsRead)
            return;
        std::unique_ptr<Question> q = readQuestionElement(forms);
        if (q)
            questions.append(std::move(q));
        else
            questionsRead = false;
    };
    const XmlChildStream itemList{{QStringLiteral("FileContent"), QStringLiteral("ItemList")}, readQuestion};
    XmlElement root;
    if (!parseXml(data, &root, reason, itemList))
        return false;
    XmlElement *content = root.child(QStringLiteral("FileContent"));
    if (!content)
        return false;
    const XmlElement *info = root.child(QStringLiteral("FileInfo"));
    if (!info)
        return false;
    QString prog;
    const XmlElement *progElement = info->child(QStringLiteral("Prog"));
    if (!progElement || !progElement->readText(&prog) || prog != kProg)
        return false;

    Quiz fresh;
    fresh.copySettingsFrom(quiz);
    if (!readSettings(fresh, *content))
        return false;
    // The load is all or nothing, so these steps may follow the whole table:
    // the colour values from the loaded texts, and the first address of the
    // list for a quiz without one.
    fresh.colorsFromTexts();
    if (fresh.text(SettingKey::cboFormMailer).isEmpty() && !fresh.formMailers().isEmpty())
        fresh.setText(SettingKey::cboFormMailer, fresh.formMailers().first());

    if (!content->child(QStringLiteral("ItemList")) || !questionsRead)
        return false;
    fresh.questions().swapWith(questions);
    quiz.takeFrom(fresh);
    return true;
}
} // namespace

bool fromBytes(Quiz &quiz, const QByteArray &data, QString *reason)
{
    QString why;
    bool ok = false;
    try {
        ok = readProject(quiz, data, &why);
    } catch (const std::bad_alloc &) {
        why = OutOfMemory::reading();
    }
    if (reason)
        *reason = why;
    return ok;
}

} // namespace ProjectFile

bool saveProjectFile(const Quiz &quiz, const QString &path, QString *error)
{
    try {
        return writeFileSafely(path, ProjectFile::toBytes(quiz), error);
    } catch (const std::bad_alloc &) {
        if (error)
            *error = OutOfMemory::saving();
        return false;
    }
}

bool loadProjectFile(Quiz &quiz, const QString &path, QString *reason)
{
    QByteArray data;
    return readXmlFile(path, &data, reason) && ProjectFile::fromBytes(quiz, data, reason);
}

bool openProject(Quiz &quiz, const QString &path, QString *reason)
{
    FormMailers::loadInto(quiz);
    return loadProjectFile(quiz, path, reason);
}

bool loadDefaultProject(Quiz &quiz, QString *reason)
{
    return loadProjectFile(quiz, Paths::programFile(QStringLiteral("default.pvx")), reason);
}

bool newQuiz(Quiz &quiz, QString *reason)
{
    FormMailers::loadInto(quiz);
    return loadDefaultProject(quiz, reason);
}

void writeQuestionElement(XmlWriter &w, const Question &q)
{
    w.textElement(QStringLiteral("typ"), q.typeName());
    w.textElement(QStringLiteral("name"), q.name);
    w.textElement(QStringLiteral("beschriftung"), q.caption);
    const auto *simple = q.kind() == QuestionKind::FreeText ? static_cast<const FreeTextQuestion *>(&q) : nullptr;
    if (simple) {
        w.textElement(QStringLiteral("groesse"), simple->fieldSize);
        w.textElement(QStringLiteral("maxLaenge"), simple->maxLength);
    }
    w.textElement(QStringLiteral("pflicht"), Settings::flagText(q.required));
    w.textElement(QStringLiteral("meldung"), q.alertText);
    w.textElement(QStringLiteral("tipp"), q.tipLink);
    w.textElement(QStringLiteral("hinweis"), q.hint);
    w.textElement(QStringLiteral("bild"), q.picture);
    w.startElement(QStringLiteral("answers"));
    if (simple) {
        for (const QString &a : simple->answers)
            w.textElement(QStringLiteral("answer"), a);
    } else {
        for (const AnswerOption &o : static_cast<const ChoiceQuestion &>(q).options) {
            w.startElement(QStringLiteral("answer"));
            w.textElement(QStringLiteral("text"), o.text);
            w.textElement(QStringLiteral("right"), Settings::flagText(o.right));
            w.endElement();
        }
    }
    w.endElement();
}

std::unique_ptr<Question> readQuestionElement(XmlElement &e)
{
    QString typ;
    const XmlElement *typElement = e.child(QStringLiteral("typ"));
    if (!typElement || !typElement->readText(&typ))
        return nullptr;
    // A kind this program does not know fails the load: skipping it would
    // drop the question from the next save without a word.
    std::unique_ptr<Question> q = createQuestion(typ);
    if (!q)
        return nullptr;

    if (!readChildText(e, QStringLiteral("name"), &q->name) || !readChildText(e, QStringLiteral("beschriftung"), &q->caption) ||
        !readChildFlag(e, QStringLiteral("pflicht"), &q->required) || !readChildText(e, QStringLiteral("meldung"), &q->alertText) ||
        !readChildText(e, QStringLiteral("tipp"), &q->tipLink) || !readChildText(e, QStringLiteral("hinweis"), &q->hint) ||
        !readChildText(e, QStringLiteral("bild"), &q->picture))
        return nullptr;
    XmlElement *answers = e.child(QStringLiteral("answers"));
    if (!answers)
        return nullptr;

    if (q->kind() == QuestionKind::FreeText) {
        auto *simple = static_cast<FreeTextQuestion *>(q.get());
        if (!readChildText(e, QStringLiteral("groesse"), &simple->fieldSize) ||
            !readChildText(e, QStringLiteral("maxLaenge"), &simple->maxLength))
            return nullptr;
        simple->answers.reserve(qsizetype(answers->children.size()));
        for (XmlElement &a : answers->children) {
            QString t;
            if (!a.takeText(&t))
                return nullptr;
            simple->answers << lfPairsToCrLf(std::move(t));
        }
    } else {
        auto *choice = static_cast<ChoiceQuestion *>(q.get());
        choice->options.reserve(answers->children.size());
        for (XmlElement &a : answers->children) {
            AnswerOption option;
            if (!readChildText(a, QStringLiteral("text"), &option.text) ||
                !readChildFlag(a, QStringLiteral("right"), &option.right))
                return nullptr;
            choice->options.push_back(std::move(option));
        }
    }
    return q;
}
