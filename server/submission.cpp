#include "submission.h"

#include "formbody.h"
#include "handoff.h"
#include "settings.h"

#include <QRegularExpression>
#include <algorithm>

using namespace Handoff;

namespace Scoring {

namespace {
QString normalised(const QString &s)
{
    return s.simplified().toCaseFolded();
}
} // namespace

std::optional<bool> freeText(const QStringList &typed, const QStringList &expected)
{
    if (expected.isEmpty())
        return std::nullopt;
    QStringList a, b;
    for (const QString &s : typed)
        a << normalised(s);
    for (const QString &s : expected)
        b << normalised(s);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

bool multipleChoice(const QList<int> &ticked, const QList<int> &right)
{
    QList<int> a = ticked, b = right;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

bool singleChoice(int chosen, const QList<int> &right)
{
    return right.isEmpty() ? chosen < 0 : right.contains(chosen);
}

} // namespace Scoring

namespace SubmissionReader {

namespace {

struct Failure
{
    Outcome outcome;
    QString message;
};

// A non-negative decimal number without sign or blanks; -1 otherwise.
int number(const QString &s, int max)
{
    if (s.isEmpty() || s.size() > 9)
        return -1;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    const int n = s.toInt();
    return n <= max ? n : -1;
}

class Reader
{
public:
    Reader(const FormBody &form, int maxQuestions)
        : m_form(form)
        , m_maxQuestions(maxQuestions)
    {
    }

    std::optional<Failure> read(Submission &s);

private:
    std::optional<Failure> readQuestion(int k, QuestionResult &q);
    // Indices of "j|text" or "Frage<n>_<j>|text" items; texts go to *texts.
    std::optional<Failure> readChoiceItem(const QString &field, const QString &item, const QString &prefix, int count, int *j,
                                          QString *text);
    std::optional<QString> optionText(int k, int j);

    static Failure inconsistent(const QString &what)
    {
        return {Outcome::Inconsistent, what};
    }

    const FormBody &m_form;
    int m_maxQuestions;
};

std::optional<Failure> Reader::read(Submission &s)
{
    for (const char *name : {"settings", "settingsc", "formid", "questioncount"})
        if (!m_form.has(QLatin1String(name)))
            return Failure{Outcome::NotPruvex, QStringLiteral("Das gesendete Formular ist kein Pruvex-Quiz (das Feld %1 fehlt).")
                                                   .arg(QLatin1String(name))};
    const auto settings = unscrambleFlag(m_form.value(QStringLiteral("settings")));
    if (!settings)
        return inconsistent(QStringLiteral("Das Feld settings lässt sich nicht lesen."));
    s.showResult = *settings;
    const auto settingsc = unscrambleBase64(m_form.value(QStringLiteral("settingsc")));
    if (!settingsc || (*settingsc != QLatin1String("true") && *settingsc != QLatin1String("false")))
        return inconsistent(QStringLiteral("Das Feld settingsc lässt sich nicht lesen."));
    s.captcha = *settingsc == QLatin1String("true");
    s.formId = m_form.value(QStringLiteral("formid")).trimmed();
    if (number(s.formId, 999999999) < 0)
        return inconsistent(QStringLiteral("Die Formular-ID \"%1\" ist keine Zahl.").arg(s.formId));
    s.formId = QString::number(s.formId.toInt());
    const QString countText = m_form.value(QStringLiteral("questioncount")).trimmed();
    const int count = number(countText, 999999999);
    if (count < 0)
        return inconsistent(QStringLiteral("Die Fragenzahl \"%1\" ist keine Zahl.").arg(countText));
    if (count > m_maxQuestions)
        return Failure{Outcome::TooManyQuestions,
                       QStringLiteral("Das Quiz hat %1 Fragen; dieser Server wertet höchstens %2 aus.").arg(count).arg(m_maxQuestions)};
    if (m_form.has(QStringLiteral("typeFrage%1").arg(count)))
        return inconsistent(QStringLiteral("Das Formular hat mehr Fragen als angegeben (%1).").arg(count));

    if (m_form.has(QStringLiteral("admin"))) {
        const auto admin = unscrambleBase64(m_form.value(QStringLiteral("admin")));
        if (!admin)
            return inconsistent(QStringLiteral("Das Feld admin lässt sich nicht lesen."));
        s.recipients = decodeText(*admin);
    }
    const auto text = fromBase64(m_form.value(QStringLiteral("auswertung_text")));
    if (!text)
        return inconsistent(QStringLiteral("Das Feld auswertung_text lässt sich nicht lesen."));
    s.evaluationText = decodeText(*text).replace(lineBreakMarker(), QStringLiteral("\r\n"));
    if (m_form.has(QStringLiteral("settings_error_captcha"))) {
        const auto page = fromBase64(m_form.value(QStringLiteral("settings_error_captcha")));
        if (!page)
            return inconsistent(QStringLiteral("Das Feld settings_error_captcha lässt sich nicht lesen."));
        s.captchaErrorPage = decodeText(*page).trimmed();
    }
    s.subject = m_form.value(QStringLiteral("subject"));
    s.header = m_form.value(QStringLiteral("auswertung_header"));
    auto flag = [this](const char *name) { return m_form.value(QLatin1String(name)).trimmed() == QLatin1String("true"); };
    s.showUserAnswers = flag("show_user_answers");
    s.showCorrectAnswers = flag("show_correct_answers");
    s.showDiagram = flag("show_diagram");
    s.hasCaptchaInput = m_form.has(QStringLiteral("captcha_input"));
    s.captchaInput = m_form.value(QStringLiteral("captcha_input"));
    for (const AddressField &field : Settings::addressFields()) {
        const QString name = QLatin1String(field.input);
        if (m_form.has(name))
            s.address.append({name, m_form.value(name)});
    }

    s.questions.reserve(count);
    for (int k = 0; k < count; ++k) {
        QuestionResult q;
        if (auto failure = readQuestion(k, q))
            return failure;
        if (q.right) {
            ++s.scored;
            if (*q.right)
                ++s.right;
        }
        s.questions.append(q);
    }

    // Every answer field must belong to a question and one of its fields.
    static const QRegularExpression answerName(QStringLiteral("^Frage(\\d+)(?:_(\\d+))?$"));
    for (const QString &name : m_form.names()) {
        const auto m = answerName.match(name);
        if (!m.hasMatch())
            continue;
        const int n = number(m.captured(1), 999999999);
        if (n < 1 || n > count)
            return inconsistent(QStringLiteral("Das Feld %1 gehört zu keiner Frage.").arg(name));
        const QuestionResult &q = s.questions[n - 1];
        const bool single = q.type == QLatin1String("TSingleQuestion");
        const int fields = m_form.value(QStringLiteral("countFrage%1").arg(n - 1)).toInt();
        const int j = m.captured(2).isEmpty() ? -1 : number(m.captured(2), 999999999);
        if (single ? j != -1 : (j < 0 || j >= fields))
            return inconsistent(QStringLiteral("Das Feld %1 passt nicht zur Frage %2.").arg(name).arg(n));
    }
    return std::nullopt;
}

std::optional<QString> Reader::optionText(int k, int j)
{
    const QString name = QStringLiteral("FA_USER_%1_%2").arg(k).arg(j);
    if (!m_form.has(name))
        return std::nullopt;
    const auto text = fromBase64(m_form.value(name));
    if (!text)
        return std::nullopt;
    return decodeText(*text);
}

std::optional<Failure> Reader::readChoiceItem(const QString &field, const QString &item, const QString &prefix, int count, int *j,
                                              QString *text)
{
    // The name or number before "|" holds no "|"; an item whose separator
    // was written as a reference is decoded whole first.
    QString whole = item;
    int bar = int(whole.indexOf(QChar(itemSeparator)));
    const bool decoded = bar < 0;
    if (decoded) {
        whole = decodeText(item);
        bar = int(whole.indexOf(QChar(itemSeparator)));
    }
    if (bar < 0 || !whole.startsWith(prefix))
        return inconsistent(QStringLiteral("Das Feld %1 lässt sich nicht lesen.").arg(field));
    *j = number(whole.mid(prefix.size(), bar - prefix.size()), count - 1);
    if (*j < 0)
        return inconsistent(QStringLiteral("Das Feld %1 nennt eine Antwort, die es nicht gibt.").arg(field));
    *text = decoded ? whole.mid(bar + 1) : decodeText(whole.mid(bar + 1));
    return std::nullopt;
}

std::optional<Failure> Reader::readQuestion(int k, QuestionResult &q)
{
    const QString kStr = QString::number(k);
    const QString typeName = QStringLiteral("typeFrage") + kStr;
    const QString countName = QStringLiteral("countFrage") + kStr;
    const QString textName = QStringLiteral("beschrFrage") + kStr;
    const QString rightName = QStringLiteral("FA") + kStr;
    for (const QString &name : {typeName, countName, textName})
        if (m_form.values(name).size() != 1)
            return inconsistent(QStringLiteral("Das Feld %1 fehlt oder steht mehrfach im Formular.").arg(name));
    q.type = m_form.value(typeName).trimmed();
    q.text = m_form.value(textName);
    const int count = number(m_form.value(countName).trimmed(), 100000);
    if (count < 0)
        return inconsistent(QStringLiteral("Das Feld %1 ist keine Anzahl.").arg(countName));
    const QStringList rightFields = m_form.values(rightName);
    const QString n = QString::number(k + 1);

    if (q.type == QLatin1String("TSimpleQuestion")) {
        if (rightFields.size() != 1)
            return inconsistent(QStringLiteral("Das Feld %1 fehlt oder steht mehrfach im Formular.").arg(rightName));
        const auto joined = unscrambleBase64(rightFields.first());
        if (!joined)
            return inconsistent(QStringLiteral("Das Feld %1 lässt sich nicht lesen.").arg(rightName));
        if (count > 0) {
            const QStringList items = splitItems(*joined);
            if (items.size() != count)
                return inconsistent(QStringLiteral("Frage %1 hat %2 Felder, aber %3 erwartete Antworten.").arg(n).arg(count).arg(items.size()));
            for (const QString &item : items)
                q.rightAnswers << decodeText(item);
        } else if (!joined->isEmpty()) {
            return inconsistent(QStringLiteral("Frage %1 hat keine Felder, aber erwartete Antworten.").arg(n));
        }
        for (int j = 0; j < count; ++j)
            q.answers << m_form.value(QStringLiteral("Frage%1_%2").arg(n).arg(j));
        q.right = Scoring::freeText(q.answers, q.rightAnswers);
        return std::nullopt;
    }

    const bool multi = q.type == QLatin1String("TMultiQuestion");
    if (!multi && q.type != QLatin1String("TSingleQuestion"))
        return inconsistent(QStringLiteral("Die Frageart \"%1\" von Frage %2 ist unbekannt.").arg(q.type, n));
    QStringList options;
    for (int j = 0; j < count; ++j) {
        const auto text = optionText(k, j);
        if (!text)
            return inconsistent(QStringLiteral("Das Feld FA_USER_%1_%2 fehlt oder lässt sich nicht lesen.").arg(k).arg(j));
        options << *text;
    }
    if (m_form.has(QStringLiteral("FA_USER_%1_%2").arg(k).arg(count)))
        return inconsistent(QStringLiteral("Frage %1 hat mehr Antworten als angegeben (%2).").arg(n).arg(count));

    QList<int> right;
    auto addRight = [&](int j, const QString &text) -> std::optional<Failure> {
        if (right.contains(j))
            return inconsistent(QStringLiteral("Das Feld %1 nennt eine Antwort zweimal.").arg(rightName));
        right << j;
        q.rightAnswers << text;
        return std::nullopt;
    };
    if (multi) {
        if (rightFields.size() != 1)
            return inconsistent(QStringLiteral("Das Feld %1 fehlt oder steht mehrfach im Formular.").arg(rightName));
        const auto joined = unscrambleBase64(rightFields.first());
        if (!joined)
            return inconsistent(QStringLiteral("Das Feld %1 lässt sich nicht lesen.").arg(rightName));
        if (!joined->isEmpty()) {
            const QString prefix = QStringLiteral("Frage%1_").arg(n);
            // A page of the first hand-off form leaves a "#" of an option
            // text as it is: such a piece continues the item before it.
            QStringList items;
            static const QRegularExpression itemStart(QStringLiteral("^Frage\\d+_\\d+(\\||&#124;)"));
            for (const QString &piece : splitItems(*joined)) {
                if (!items.isEmpty() && !itemStart.match(piece).hasMatch())
                    items.last() += QChar(listSeparator) + piece;
                else
                    items << piece;
            }
            for (const QString &item : items) {
                int j = 0;
                QString text;
                if (auto failure = readChoiceItem(rightName, item, prefix, count, &j, &text))
                    return failure;
                if (auto failure = addRight(j, text))
                    return failure;
            }
        }
        QList<int> ticked;
        for (int j = 0; j < count; ++j)
            if (!m_form.value(QStringLiteral("Frage%1_%2").arg(n).arg(j)).isEmpty()) {
                ticked << j;
                q.answers << options[j];
            }
        q.right = Scoring::multipleChoice(ticked, right);
        return std::nullopt;
    }

    for (const QString &field : rightFields) {
        const auto item = unscrambleBase64(field);
        if (!item)
            return inconsistent(QStringLiteral("Das Feld %1 lässt sich nicht lesen.").arg(rightName));
        int j = 0;
        QString text;
        if (auto failure = readChoiceItem(rightName, *item, QString(), count, &j, &text))
            return failure;
        if (auto failure = addRight(j, text))
            return failure;
    }
    const QStringList chosenValues = m_form.values(QStringLiteral("Frage") + n);
    if (chosenValues.size() > 1)
        return inconsistent(QStringLiteral("Bei Frage %1 ist mehr als eine Antwort gewählt.").arg(n));
    int chosen = -1;
    if (!chosenValues.isEmpty()) {
        chosen = count > 0 ? number(chosenValues.first().trimmed(), count - 1) : -1;
        if (chosen < 0)
            return inconsistent(QStringLiteral("Die gewählte Antwort von Frage %1 gibt es nicht.").arg(n));
        q.answers << options[chosen];
    }
    q.right = Scoring::singleChoice(chosen, right);
    return std::nullopt;
}

} // namespace

Result read(const FormBody &form, int maxQuestions)
{
    Result r;
    Reader reader(form, maxQuestions);
    if (auto failure = reader.read(r.submission)) {
        r.outcome = failure->outcome;
        r.message = failure->message;
        r.submission = Submission();
    }
    return r;
}

} // namespace SubmissionReader
