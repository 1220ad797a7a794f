#include "jsonio.h"

#include "linebreaks.h"

#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "settings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace {

const QString kSettings = QStringLiteral("settings");
const QString kQuestions = QStringLiteral("questions");

// Texts from JSON take CR LF line breaks (LineBreaks::toCrLf). A lone LF
// would not survive the project file: the reader turns each LF pair into one
// CR LF, so "\n\n" came back as a single line break.

// A short description of a JSON value for an error message.
QString describe(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(v.toDouble());
    case QJsonValue::String: {
        QString s = v.toString();
        if (s.size() > 40)
            s = s.left(37) + QStringLiteral("...");
        return QLatin1Char('"') + s + QLatin1Char('"');
    }
    case QJsonValue::Array:
        return QStringLiteral("eine Liste");
    case QJsonValue::Object:
        return QStringLiteral("ein Objekt");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nichts");
}

const QString kExpectFlag = QStringLiteral("Wahrheitswert (true oder false) erwartet");
const QString kExpectText = QStringLiteral("Zeichenkette erwartet");

QString wrongKind(const QString &where, const QString &expected, const QJsonValue &found)
{
    return where + QStringLiteral(": ") + expected + QStringLiteral(", nicht ") + describe(found);
}

QJsonObject questionToJson(const Question &q)
{
    QJsonObject o;
    o.insert(QStringLiteral("typ"), q.typeName());
    o.insert(QStringLiteral("name"), q.name);
    o.insert(QStringLiteral("beschriftung"), q.caption);
    QJsonArray answers;
    if (q.kind() == QuestionKind::FreeText) {
        const auto &simple = static_cast<const FreeTextQuestion &>(q);
        o.insert(QStringLiteral("groesse"), simple.fieldSize);
        o.insert(QStringLiteral("maxLaenge"), simple.maxLength);
        for (const QString &a : simple.answers)
            answers.append(a);
    } else {
        for (const AnswerOption &option : static_cast<const ChoiceQuestion &>(q).options) {
            QJsonObject a;
            a.insert(QStringLiteral("text"), option.text);
            a.insert(QStringLiteral("right"), option.right);
            answers.append(a);
        }
    }
    o.insert(QStringLiteral("pflicht"), q.required);
    o.insert(QStringLiteral("meldung"), q.alertText);
    o.insert(QStringLiteral("tipp"), q.tipLink);
    o.insert(QStringLiteral("hinweis"), q.hint);
    o.insert(QStringLiteral("bild"), q.picture);
    o.insert(QStringLiteral("answers"), answers);
    return o;
}

// Reads the members of one JSON object; every member asked for must be
// present and of its kind. Each problem goes into errors.
class MemberReader
{
public:
    MemberReader(const QJsonObject &object, const QString &where, QStringList *errors)
        : m_object(object)
        , m_where(where)
        , m_errors(errors)
    {
    }

    void text(const char *name, QString *out)
    {
        const QJsonValue v = member(name);
        if (v.isUndefined())
            return;
        if (!v.isString())
            m_errors->append(wrongKind(path(name), kExpectText, v));
        else
            *out = LineBreaks::toCrLf(v.toString());
    }

    void flag(const char *name, bool *out)
    {
        const QJsonValue v = member(name);
        if (v.isUndefined())
            return;
        if (!v.isBool())
            m_errors->append(wrongKind(path(name), kExpectFlag, v));
        else
            *out = v.toBool();
    }

    // The member as an array, or an empty one after reporting the problem.
    QJsonArray array(const char *name)
    {
        const QJsonValue v = member(name);
        if (v.isUndefined())
            return {};
        if (!v.isArray()) {
            m_errors->append(wrongKind(path(name), QStringLiteral("Liste erwartet"), v));
            return {};
        }
        return v.toArray();
    }

    // Reports every member whose name is not among allowed.
    void rejectOthers(const QStringList &allowed, const QString &note = QString())
    {
        for (const QString &key : m_object.keys())
            if (!allowed.contains(key))
                m_errors->append(path(key) + QStringLiteral(": unbekanntes Feld") + note);
    }

    QString path(const QString &name) const { return m_where + QLatin1Char('.') + name; }
    QString path(const char *name) const { return path(QLatin1String(name)); }

private:
    QJsonValue member(const char *name)
    {
        const QJsonValue v = m_object.value(QLatin1String(name));
        if (v.isUndefined())
            m_errors->append(path(QLatin1String(name)) + QStringLiteral(": fehlt"));
        return v;
    }

    const QJsonObject &m_object;
    QString m_where;
    QStringList *m_errors;
};

std::unique_ptr<Question> questionFromJson(const QJsonValue &value, const QString &where, QStringList *errors)
{
    if (!value.isObject()) {
        errors->append(wrongKind(where, QStringLiteral("Objekt erwartet"), value));
        return nullptr;
    }
    const QJsonObject o = value.toObject();
    const int before = errors->size();
    MemberReader read(o, where, errors);

    QString typ;
    read.text("typ", &typ);
    if (errors->size() > before)
        return nullptr;
    std::unique_ptr<Question> q = createQuestion(typ);
    if (!q) {
        errors->append(read.path(QStringLiteral("typ")) + QStringLiteral(": unbekannte Fragenart ") + describe(typ) +
                       QStringLiteral(" (erwartet: TSimpleQuestion, TMultiQuestion oder TSingleQuestion)"));
        return nullptr;
    }
    const bool simple = q->kind() == QuestionKind::FreeText;

    QStringList allowed = {QStringLiteral("typ"),     QStringLiteral("name"),    QStringLiteral("beschriftung"),
                           QStringLiteral("pflicht"), QStringLiteral("meldung"), QStringLiteral("tipp"),
                           QStringLiteral("hinweis"), QStringLiteral("bild"),    QStringLiteral("answers")};
    if (simple)
        allowed << QStringLiteral("groesse") << QStringLiteral("maxLaenge");
    read.rejectOthers(allowed, QStringLiteral(" für ") + typ);

    read.text("name", &q->name);
    read.text("beschriftung", &q->caption);
    if (simple) {
        auto *s = static_cast<FreeTextQuestion *>(q.get());
        read.text("groesse", &s->fieldSize);
        read.text("maxLaenge", &s->maxLength);
    }
    read.flag("pflicht", &q->required);
    read.text("meldung", &q->alertText);
    read.text("tipp", &q->tipLink);
    read.text("hinweis", &q->hint);
    read.text("bild", &q->picture);

    const QJsonArray answers = read.array("answers");
    for (int j = 0; j < answers.size(); ++j) {
        const QString at = read.path(QStringLiteral("answers[%1]").arg(j));
        const QJsonValue a = answers.at(j);
        if (simple) {
            if (!a.isString())
                errors->append(wrongKind(at, kExpectText, a));
            else
                static_cast<FreeTextQuestion *>(q.get())->answers << LineBreaks::toCrLf(a.toString());
            continue;
        }
        if (!a.isObject()) {
            errors->append(wrongKind(at, QStringLiteral("Objekt {\"text\": ..., \"right\": ...} erwartet"), a));
            continue;
        }
        const QJsonObject ao = a.toObject();
        MemberReader option(ao, at, errors);
        option.rejectOthers({QStringLiteral("text"), QStringLiteral("right")});
        AnswerOption entry;
        option.text("text", &entry.text);
        option.flag("right", &entry.right);
        static_cast<ChoiceQuestion *>(q.get())->options.push_back(entry);
    }
    if (errors->size() > before)
        return nullptr;
    return q;
}

void applySettings(Quiz &quiz, const QJsonObject &settings, QStringList *errors)
{
    for (const QString &key : settings.keys())
        if (!Settings::keyOf(key))
            errors->append(kSettings + QLatin1Char('.') + key + QStringLiteral(": unbekannte Einstellung"));
    // In the table's order, as a load sets them: with both rdBegin and rdEnd
    // on, the later one wins, as it would in a project file.
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        const QJsonValue v = settings.value(key);
        if (v.isUndefined())
            continue;
        const QString where = kSettings + QLatin1Char('.') + key;
        if (def.kind == SettingKind::Flag) {
            if (!v.isBool())
                errors->append(wrongKind(where, kExpectFlag, v));
            else
                quiz.setFlag(def.id, v.toBool());
        } else {
            if (!v.isString())
                errors->append(wrongKind(where, kExpectText, v));
            else
                quiz.setText(def.id, LineBreaks::toCrLf(v.toString()));
        }
    }
}

} // namespace

QByteArray formatJson(const QJsonObject &json) { return QJsonDocument(json).toJson(QJsonDocument::Indented); }

QJsonObject quizToJson(const Quiz &quiz)
{
    QJsonObject settings;
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        if (def.kind == SettingKind::Flag)
            settings.insert(key, quiz.flag(def.id));
        else
            settings.insert(key, quiz.text(def.id));
    }
    QJsonArray questions;
    for (const auto &q : quiz.questions())
        questions.append(questionToJson(*q));
    QJsonObject root;
    root.insert(kSettings, settings);
    root.insert(kQuestions, questions);
    return root;
}

bool applyJson(Quiz &quiz, const QJsonObject &json, QString *error)
{
    QStringList errors;
    for (const QString &key : json.keys())
        if (key != kSettings && key != kQuestions)
            errors.append(key + QStringLiteral(": unbekannter Schlüssel (erwartet: settings, questions)"));

    Quiz work;
    work.copySettingsFrom(quiz);

    const QJsonValue settings = json.value(kSettings);
    if (settings.isObject())
        applySettings(work, settings.toObject(), &errors);
    else if (!settings.isUndefined())
        errors.append(wrongKind(kSettings, QStringLiteral("Objekt erwartet"), settings));

    const QJsonValue questions = json.value(kQuestions);
    if (questions.isUndefined()) {
        work.questions() = quiz.questions().cloned();
    } else if (!questions.isArray()) {
        errors.append(wrongKind(kQuestions, QStringLiteral("Liste erwartet"), questions));
    } else {
        const QJsonArray list = questions.toArray();
        for (int i = 0; i < list.size(); ++i) {
            std::unique_ptr<Question> q = questionFromJson(list.at(i), kQuestions + QStringLiteral("[%1]").arg(i), &errors);
            if (q)
                work.questions().append(std::move(q));
        }
    }

    if (!errors.isEmpty()) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    }
    // The colour buttons take the values of the new texts; a text whose value
    // really changes is rewritten in upper case, as a load would write it.
    work.colorsFromTexts();
    quiz.takeFrom(work);
    return true;
}
