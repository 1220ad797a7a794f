// The quiz server's reading of the hand-off and its scoring: forms as the
// page generator and a browser make them, each with the evaluation it must
// give, written out; broken forms with the German message they must get.

#include "formbody.h"
#include "handoff.h"
#include "htmlfilter.h"
#include "serverfixtures.h"
#include "submission.h"

#include <QtTest>

using namespace ServerFixture;
using Handoff::base64;
using Handoff::encodeItem;
using Handoff::encodeText;
using Handoff::joinItems;
using Handoff::scrambledBase64;

Q_DECLARE_METATYPE(ServerFixture::Fields)

namespace {

// The evaluation as text: the score, then per question its kind, mark,
// the participant's answers and the right ones.
QString describe(const Submission &s)
{
    QString out = QStringLiteral("%1/%2 %3%\n").arg(s.right).arg(s.scored).arg(s.percent());
    int n = 0;
    for (const QuestionResult &q : s.questions) {
        const QString mark = !q.right ? QStringLiteral("-") : *q.right ? QStringLiteral("richtig") : QStringLiteral("falsch");
        out += QStringLiteral("%1 %2 %3: %4 => %5\n")
                   .arg(++n)
                   .arg(q.type, mark, q.answers.join(QLatin1Char('|')), q.rightAnswers.join(QLatin1Char('|')));
    }
    return out;
}

SubmissionReader::Result readBody(const QByteArray &body, int maxQuestions = 500)
{
    FormBody form;
    form.parse(std::string_view(body.constData(), size_t(body.size())), 10000);
    return SubmissionReader::read(form, maxQuestions);
}

// The template's fields of a quiz with count questions.
Fields frame(int count, bool utf8 = true)
{
    return {{QStringLiteral("settings"), Handoff::scrambledFlag(true)},
            {QStringLiteral("settingsc"), scrambledBase64(QStringLiteral("false"))},
            {QStringLiteral("admin"), scrambledBase64(QStringLiteral("lehrer@schule.example"))},
            {QStringLiteral("subject"), QStringLiteral("Test")},
            {QStringLiteral("formid"), QStringLiteral("815")},
            {QStringLiteral("questioncount"), QString::number(count)},
            {QStringLiteral("auswertung_header"), QStringLiteral("Auswertung")},
            {QStringLiteral("auswertung_text"), base64(QStringLiteral("Zeile 1#br#Zeile 2"))},
            {QStringLiteral("show_user_answers"), QStringLiteral("true")},
            {QStringLiteral("show_correct_answers"), QStringLiteral("true")},
            {QStringLiteral("show_diagram"), QStringLiteral("false")},
            {QStringLiteral("encoding"), utf8 ? QStringLiteral("utf-8") : QStringLiteral("iso-8859-1")}};
}

// The hidden fields of one question at index k, as the generator writes them.
Fields freeText(int k, const QStringList &expected, const QStringList &typed)
{
    Fields f = {{QStringLiteral("typeFrage%1").arg(k), QStringLiteral("TSimpleQuestion")},
                {QStringLiteral("countFrage%1").arg(k), QString::number(expected.size())},
                {QStringLiteral("beschrFrage%1").arg(k), QStringLiteral("Frage %1").arg(k + 1)},
                {QStringLiteral("FA%1").arg(k), scrambledBase64(joinItems(expected))}};
    for (int j = 0; j < typed.size(); ++j)
        f.append({QStringLiteral("Frage%1_%2").arg(k + 1).arg(j), typed[j]});
    return f;
}

Fields choice(int k, bool multi, const QStringList &options, const QList<int> &right, const QList<int> &chosen)
{
    Fields f = {{QStringLiteral("typeFrage%1").arg(k), multi ? QStringLiteral("TMultiQuestion") : QStringLiteral("TSingleQuestion")},
                {QStringLiteral("countFrage%1").arg(k), QString::number(options.size())},
                {QStringLiteral("beschrFrage%1").arg(k), QStringLiteral("Frage %1").arg(k + 1)}};
    QStringList items;
    for (int j : right) {
        if (multi)
            items << QStringLiteral("Frage%1_%2|").arg(k + 1).arg(j) + encodeItem(options[j]);
        else
            f.append({QStringLiteral("FA%1").arg(k), scrambledBase64(QString::number(j) + QLatin1Char('|') + encodeItem(options[j]))});
    }
    if (multi)
        f.append({QStringLiteral("FA%1").arg(k), scrambledBase64(items.join(QLatin1Char('#')))});
    for (int j = 0; j < options.size(); ++j)
        f.append({QStringLiteral("FA_USER_%1_%2").arg(k).arg(j), base64(encodeText(options[j]))});
    for (int j : chosen)
        f.append(multi ? qMakePair(QStringLiteral("Frage%1_%2").arg(k + 1).arg(j), QStringLiteral("set"))
                       : qMakePair(QStringLiteral("Frage%1").arg(k + 1), QString::number(j)));
    return f;
}

Fields sampleAnswers()
{
    return {{QStringLiteral("Frage1"), QStringLiteral("2")},         {QStringLiteral("Frage2_0"), QStringLiteral("set")},
            {QStringLiteral("Frage2_2"), QStringLiteral("set")},     {QStringLiteral("Frage3_0"), QStringLiteral(" münchen ")},
            {QStringLiteral("Frage4"), QStringLiteral("0")},         {QStringLiteral("Frage6_0"), QStringLiteral("ostsee")},
            {QStringLiteral("Frage6_1"), QStringLiteral("NORDSEE")}, {QStringLiteral("LName"), QStringLiteral("Müller")},
            {QStringLiteral("LEMAIL"), QStringLiteral("m@example.org")}};
}

const QString kSampleGolden = QStringLiteral("3/6 50%\n"
                                             "1 TSingleQuestion richtig: Rhein => Rhein\n"
                                             "2 TMultiQuestion falsch: Dresden|Magdeburg => Dresden|Magdeburg|Hamburg\n"
                                             "3 TSimpleQuestion richtig:  münchen  => München\n"
                                             "4 TSingleQuestion falsch: Watzmann => Zugspitze\n"
                                             "5 TMultiQuestion falsch:  => Dänemark|Polen|Belgien|Schweiz\n"
                                             "6 TSimpleQuestion richtig: ostsee|NORDSEE => Nordsee|Ostsee\n");

} // namespace

class TestServerHandoff : public QObject
{
    Q_OBJECT

private slots:
    void readsForms_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("golden");

        const QString page = samplePage(QStringLiteral("http://127.0.0.1/quiz/v13/quiz.php"), false);
        QVERIFY(!page.isEmpty());
        QTest::newRow("sample quiz from the generator, UTF-8") << formBody(hiddenFields(page) + sampleAnswers()) << kSampleGolden;
        const QString latin1Page = samplePage(QStringLiteral("http://127.0.0.1/quiz/v13/quiz.php"), false, 4711, false);
        QTest::newRow("sample quiz from the generator, windows-1252")
            << formBody(hiddenFields(latin1Page) + sampleAnswers(), false) << kSampleGolden;

        // Texts with "#", "|" and characters outside Latin-1, written by the
        // lossless rule; the browser sends them in the page's charset.
        const QStringList options = {QStringLiteral("C#"), QStringLiteral("A|B"), QStringLiteral("Ω-Wert"), QStringLiteral("€ 5")};
        const Fields lossless = frame(3) + freeText(0, {QStringLiteral("Grüße #1"), QStringLiteral("Ωmega")},
                                                    {QStringLiteral("ωMEGA"), QStringLiteral("grüße   #1")}) +
                                choice(1, true, options, {0, 2}, {0, 2}) + choice(2, false, options, {1, 3}, {3});
        const QString losslessGolden = QStringLiteral("3/3 100%\n"
                                                      "1 TSimpleQuestion richtig: ωMEGA|grüße   #1 => Grüße #1|Ωmega\n"
                                                      "2 TMultiQuestion richtig: C#|Ω-Wert => C#|Ω-Wert\n"
                                                      "3 TSingleQuestion richtig: € 5 => A|B|€ 5\n");
        QTest::newRow("lossless rule, UTF-8") << formBody(lossless) << losslessGolden;
        QTest::newRow("lossless rule, windows-1252 with the browser's references")
            << formBody(with(lossless, {{QStringLiteral("encoding"), QStringLiteral("iso-8859-1")}}), false) << losslessGolden;

        // The first form of the hand-off: plain Latin-1, a "#" of an option
        // text not encoded.
        Fields old = frame(1) + Fields{{QStringLiteral("typeFrage0"), QStringLiteral("TMultiQuestion")},
                                       {QStringLiteral("countFrage0"), QStringLiteral("2")},
                                       {QStringLiteral("beschrFrage0"), QStringLiteral("Sprachen?")},
                                       {QStringLiteral("FA0"), scrambledBase64(QStringLiteral("Frage1_0|C#|C++#Frage1_1|Java"))},
                                       {QStringLiteral("FA_USER_0_0"), base64(QStringLiteral("C#|C++"))},
                                       {QStringLiteral("FA_USER_0_1"), base64(QStringLiteral("Java"))},
                                       {QStringLiteral("Frage1_0"), QStringLiteral("set")}};
        QTest::newRow("first form of the hand-off") << formBody(old) << QStringLiteral("0/1 0%\n1 TMultiQuestion falsch: C#|C++ => C#|C++|Java\n");

        const QStringList abc = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("single choice: two right options, one chosen")
            << formBody(frame(1) + choice(0, false, abc, {0, 2}, {2})) << QStringLiteral("1/1 100%\n1 TSingleQuestion richtig: c => a|c\n");
        QTest::newRow("single choice: no right option, none chosen")
            << formBody(frame(1) + choice(0, false, abc, {}, {})) << QStringLiteral("1/1 100%\n1 TSingleQuestion richtig:  => \n");
        QTest::newRow("single choice: no right option, one chosen")
            << formBody(frame(1) + choice(0, false, abc, {}, {1})) << QStringLiteral("0/1 0%\n1 TSingleQuestion falsch: b => \n");
        QTest::newRow("single choice: nothing chosen")
            << formBody(frame(1) + choice(0, false, abc, {1}, {})) << QStringLiteral("0/1 0%\n1 TSingleQuestion falsch:  => b\n");
        QTest::newRow("multiple choice: no right option, none ticked")
            << formBody(frame(1) + choice(0, true, abc, {}, {})) << QStringLiteral("1/1 100%\n1 TMultiQuestion richtig:  => \n");
        QTest::newRow("multiple choice: one box too many")
            << formBody(frame(1) + choice(0, true, abc, {0}, {0, 1})) << QStringLiteral("0/1 0%\n1 TMultiQuestion falsch: a|b => a\n");
        QTest::newRow("free text without expected answers is not scored")
            << formBody(frame(2) + freeText(0, {}, {}) + freeText(1, {QStringLiteral("x")}, {QStringLiteral("x")}))
            << QStringLiteral("1/1 100%\n1 TSimpleQuestion -:  => \n2 TSimpleQuestion richtig: x => x\n");
        QTest::newRow("no question at all") << formBody(frame(0)) << QStringLiteral("0/0 0%\n");
        QTest::newRow("items that end in \"&\" or are made of \"#\"")
            << formBody(frame(1) + freeText(0, {QStringLiteral("Q&"), QStringLiteral("#"), QStringLiteral("&#")},
                                            {QStringLiteral("q&"), QStringLiteral("#"), QStringLiteral("&#")}))
            << QStringLiteral("1/1 100%\n1 TSimpleQuestion richtig: q&|#|&# => Q&|#|&#\n");
        QTest::newRow("a typed reference in a UTF-8 page stays as typed")
            << formBody(frame(1) + freeText(0, {QStringLiteral("&#65;")}, {QStringLiteral("&#65;")}))
            << QStringLiteral("1/1 100%\n1 TSimpleQuestion richtig: &#65; => &#65;\n");
    }

    void readsForms()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, golden);
        const auto r = readBody(body);
        QCOMPARE(r.message, QString());
        QCOMPARE(int(r.outcome), int(SubmissionReader::Outcome::Ok));
        QCOMPARE(describe(r.submission), golden);
    }

    void readsSettingsAndAddress()
    {
        const QString page = samplePage(QStringLiteral("http://127.0.0.1/quiz/v13/quiz.php"), true, 123);
        const auto r = readBody(formBody(hiddenFields(page) + sampleAnswers() + Fields{{QStringLiteral("captcha_input"), QStringLiteral("ab3de")}}));
        QCOMPARE(r.message, QString());
        const Submission &s = r.submission;
        QCOMPARE(s.formId, QStringLiteral("123"));
        QCOMPARE(s.subject, QStringLiteral("Quiz zur Erdkunde"));
        QCOMPARE(s.header, QStringLiteral("Ihre Auswertung"));
        QCOMPARE(s.evaluationText, QStringLiteral("Vielen Dank für Ihre Teilnahme am Quiz zur Erdkunde!"));
        QCOMPARE(s.recipients, QStringLiteral("quiz@example.org"));
        QVERIFY(s.showResult && s.captcha && s.showUserAnswers && s.showCorrectAnswers && s.showDiagram);
        QVERIFY(s.hasCaptchaInput);
        QCOMPARE(s.captchaInput, QStringLiteral("ab3de"));
        QCOMPARE(s.address, (QList<QPair<QString, QString>>{{QStringLiteral("LName"), QStringLiteral("Müller")},
                                                            {QStringLiteral("LEMAIL"), QStringLiteral("m@example.org")}}));
        QCOMPARE(s.questions[0].text, QStringLiteral("Welcher Fluss ist der längste Fluss innerhalb Deutschlands? *"));
        // The text's line breaks come back.
        const auto multiline = readBody(formBody(frame(0)));
        QCOMPARE(multiline.submission.evaluationText, QStringLiteral("Zeile 1\r\nZeile 2"));
    }

    void refusesBrokenForms_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        const int notPruvex = int(SubmissionReader::Outcome::NotPruvex);
        const int inconsistent = int(SubmissionReader::Outcome::Inconsistent);
        const QStringList ab = {QStringLiteral("a"), QStringLiteral("b")};
        const Fields good = frame(2) + freeText(0, {QStringLiteral("x")}, {QStringLiteral("x")}) + choice(1, false, ab, {0}, {0});

        QTest::newRow("some other form") << Fields{{QStringLiteral("name"), QStringLiteral("x")}} << notPruvex
                                         << QStringLiteral("Das gesendete Formular ist kein Pruvex-Quiz (das Feld settings fehlt).");
        QTest::newRow("settings not scrambled") << with(good, {{QStringLiteral("settings"), QStringLiteral("true")}}) << inconsistent
                                                << QStringLiteral("Das Feld settings lässt sich nicht lesen.");
        QTest::newRow("form id no number") << with(good, {{QStringLiteral("formid"), QStringLiteral("12a")}}) << inconsistent
                                           << QStringLiteral("Die Formular-ID \"12a\" ist keine Zahl.");
        QTest::newRow("fewer questions than sent") << with(good, {{QStringLiteral("questioncount"), QStringLiteral("1")}}) << inconsistent
                                                   << QStringLiteral("Das Formular hat mehr Fragen als angegeben (1).");
        QTest::newRow("more questions than sent") << with(good, {{QStringLiteral("questioncount"), QStringLiteral("3")}}) << inconsistent
                                                  << QStringLiteral("Das Feld typeFrage2 fehlt oder steht mehrfach im Formular.");
        QTest::newRow("unknown kind") << with(good, {{QStringLiteral("typeFrage1"), QStringLiteral("TDropDown")}}) << inconsistent
                                      << QStringLiteral("Die Frageart \"TDropDown\" von Frage 2 ist unbekannt.");
        QTest::newRow("count and expected answers differ")
            << with(good, {{QStringLiteral("countFrage0"), QStringLiteral("2")}}) << inconsistent
            << QStringLiteral("Frage 1 hat 2 Felder, aber 1 erwartete Antworten.");
        QTest::newRow("right answers no Base64") << with(good, {{QStringLiteral("FA0"), QStringLiteral("%%%")}}) << inconsistent
                                                 << QStringLiteral("Das Feld FA0 lässt sich nicht lesen.");
        QTest::newRow("option text missing") << with(good, {}, {QStringLiteral("FA_USER_1_1")}) << inconsistent
                                             << QStringLiteral("Das Feld FA_USER_1_1 fehlt oder lässt sich nicht lesen.");
        QTest::newRow("more options than counted")
            << with(good, {{QStringLiteral("FA_USER_1_2"), base64(QStringLiteral("c"))}}) << inconsistent
            << QStringLiteral("Frage 2 hat mehr Antworten als angegeben (2).");
        QTest::newRow("right option that does not exist")
            << with(good, {{QStringLiteral("FA1"), scrambledBase64(QStringLiteral("5|x"))}}) << inconsistent
            << QStringLiteral("Das Feld FA1 nennt eine Antwort, die es nicht gibt.");
        QTest::newRow("chosen option that does not exist") << with(good, {{QStringLiteral("Frage2"), QStringLiteral("7")}}) << inconsistent
                                                           << QStringLiteral("Die gewählte Antwort von Frage 2 gibt es nicht.");
        QTest::newRow("answer field of no question") << with(good, {{QStringLiteral("Frage9_0"), QStringLiteral("x")}}) << inconsistent
                                                     << QStringLiteral("Das Feld Frage9_0 gehört zu keiner Frage.");
        QTest::newRow("answer field beyond the count") << with(good, {{QStringLiteral("Frage1_1"), QStringLiteral("x")}}) << inconsistent
                                                       << QStringLiteral("Das Feld Frage1_1 passt nicht zur Frage 1.");
        QTest::newRow("too many questions") << with(good, {{QStringLiteral("questioncount"), QStringLiteral("501")}})
                                            << int(SubmissionReader::Outcome::TooManyQuestions)
                                            << QStringLiteral("Das Quiz hat 501 Fragen; dieser Server wertet höchstens 500 aus.");
    }

    void refusesBrokenForms()
    {
        QFETCH(Fields, fields);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        const auto r = readBody(formBody(fields));
        QCOMPARE(r.message, message);
        QCOMPARE(int(r.outcome), outcome);
        QVERIFY(r.submission.questions.isEmpty());
    }

    void scoresFreeText_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("mark"); // 1 right, 0 wrong, -1 not scored
        QTest::newRow("same") << QStringList{QStringLiteral("Rom")} << QStringList{QStringLiteral("Rom")} << 1;
        QTest::newRow("blanks and case") << QStringList{QStringLiteral("  neW   yorK ")} << QStringList{QStringLiteral("New York")} << 1;
        QTest::newRow("umlauts, case") << QStringList{QStringLiteral("ÄRGER")} << QStringList{QStringLiteral("ärger")} << 1;
        QTest::newRow("any order") << QStringList{QStringLiteral("b"), QStringLiteral("a")} << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 1;
        QTest::newRow("each expected answer once")
            << QStringList{QStringLiteral("a"), QStringLiteral("A")} << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 0;
        QTest::newRow("one field empty") << QStringList{QStringLiteral("a"), QString()} << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 0;
        QTest::newRow("blank inside counts") << QStringList{QStringLiteral("Newyork")} << QStringList{QStringLiteral("New York")} << 0;
        QTest::newRow("no expected answers") << QStringList{} << QStringList{} << -1;
    }

    void scoresFreeText()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        QFETCH(int, mark);
        const auto r = Scoring::freeText(typed, expected);
        QCOMPARE(r ? int(*r) : -1, mark);
    }

    void filtersQuestionTexts_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("safe");
        QTest::newRow("allowed tags stay") << QStringLiteral("<b>fett</b> <I>kursiv</I><br/><ul><li>eins</li></ul>")
                                           << QStringLiteral("<b>fett</b> <i>kursiv</i><br><ul><li>eins</li></ul>");
        QTest::newRow("script goes, its text is shown")
            << QStringLiteral("a<script>alert(\"x\")</script>b") << QStringLiteral("aalert(&quot;x&quot;)b");
        QTest::newRow("event attribute goes") << QStringLiteral("<img src=x onerror=alert(1)><b onclick=\"f()\">x</b>")
                                              << QStringLiteral("<b>x</b>");
        QTest::newRow("picture from the web") << QStringLiteral("<img src=\"https://ex.org/a.png\" onerror=\"f()\" width=9>")
                                              << QStringLiteral("<img src=\"https://ex.org/a.png\" alt=\"\">");
        QTest::newRow("javascript link loses its address")
            << QStringLiteral("<a href=\"javascript:alert(1)\">x</a><a href=\" jav&#97;script:y\">z</a>") << QStringLiteral("<a>x</a><a>z</a>");
        QTest::newRow("web and mail links") << QStringLiteral("<a href='https://ex.org/?a=1&amp;b=\"2' target=_blank>w</a><a href=mailto:x@y.z>m</a>")
                                            << QStringLiteral("<a href=\"https://ex.org/?a=1&amp;b=&quot;2\" rel=\"noopener noreferrer\">w</a>"
                                                              "<a href=\"mailto:x@y.z\" rel=\"noopener noreferrer\">m</a>");
        QTest::newRow("colours only") << QStringLiteral("<font color=\"#ff0000\" face=x>r</font><span style=\"color: blue\">b</span>"
                                                        "<span style=\"color:red;background:url(x)\">c</span><font color='red\" onclick=x'>d</font>")
                                      << QStringLiteral("<font color=\"#ff0000\">r</font><span style=\"color: blue\">b</span><span>c</span><font>d</font>");
        QTest::newRow("open tags are closed, stray closers dropped") << QStringLiteral("<p><b>x</i>") << QStringLiteral("<p><b>x</b></p>");
        QTest::newRow("quotes, comments and lone brackets") << QStringLiteral("1 < 2 \"ok\" <!-- <script> --> & &amp; &#228;")
                                                            << QStringLiteral("1 &lt; 2 &quot;ok&quot;  &amp; &amp; &#228;");
        QTest::newRow("end of the page's markup") << QStringLiteral("</li></ol></main><style>body{}</style>")
                                                  << QStringLiteral("body{}");
    }

    void filtersQuestionTexts()
    {
        QFETCH(QString, html);
        QFETCH(QString, safe);
        QCOMPARE(HtmlFilter::questionText(html), safe);
    }
};

QTEST_GUILESS_MAIN(TestServerHandoff)
#include "tst_serverhandoff.moc"
