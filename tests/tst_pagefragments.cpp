// The fragments of the quiz page, each as the page must read: the style
// block, the question rows and checks, the script block, the address block,
// the hidden hand-off fields, the captcha row and the hand-off encodings.

#include "generatorfixtures.h"
#include "handoff.h"
#include "pagegenerator.h"
#include "pagetext.h"

#include <QtTest>

using namespace Fixture;

class TestPageFragments : public QObject
{
    Q_OBJECT

private slots:
    void styleSheet_data();
    void styleSheet();
    void styleSheetLine_data();
    void styleSheetLine();

    void genCode_data();
    void genCode();
    void genScript_data();
    void genScript();
    void formScript_data();
    void formScript();

    void addressBlock_data();
    void addressBlock();
    void addressScript_data();
    void addressScript();

    void questionLists();
    void rightAnswers_data();
    void rightAnswers();
    void errorPages_data();
    void errorPages();

    void captchaBlock();
    void captchaLines_data();
    void captchaLines();

    void escaping_data();
    void escaping();

    void scramble_data();
    void scramble();
    void base64_data();
    void base64();
};

// ---------------------------------------------------------------- style block

void TestPageFragments::styleSheet_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("initial design: nine lines") << QVariantMap{} << Fixture::kDefaultStyle;

    QTest::newRow("background picture") << QVariantMap{{"edtBGPicture", "bilder/hg.png"}}
                                        << QStringLiteral("<style>\r\n"
                                                          "<!--\r\n"
                                                          "body { background-color:#C0C0C0; background-image:url(bilder/hg.png); }\r\n"
                                                          "h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:12pt; }\r\n"
                                                          "p,li { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                                                          "TD   { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                                                          ".tableback { background-color:#FFFFFF}\r\n"
                                                          "-->\r\n"
                                                          "</style>\r\n");

    QTest::newRow("button and field rules")
        << QVariantMap{{"cboStandardButton", false}, {"cboStandardFeld", false}}
        << QStringLiteral("<style>\r\n"
                          "<!--\r\n"
                          "body { background-color:#C0C0C0;  }\r\n"
                          "h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:12pt; }\r\n"
                          "p,li { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                          "TD   { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                          ".tableback { background-color:#FFFFFF}\r\n"
                          "input.button {background-color: #a0a0a4;color: #000000;border-style:solid;border-width:1px;}\r\n"
                          ".field {background-color: #a0a0a4;color: #000000;border-style:solid;border-width:1px;"
                          "Font-Family:Arial,Helvetica,Geneva;Font-Size:12px;}\r\n"
                          "-->\r\n"
                          "</style>\r\n");
}

void TestPageFragments::styleSheet()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    QCOMPARE(PageGenerator(quiz).styleSheet(), expected);
}

// One line of the block (counted from 1) under changed settings; the block
// keeps its nine lines.
void TestPageFragments::styleSheetLine_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");

    const struct {
        const char *font;
        const char *family;
    } widening[] = {
        {"Arial", "Arial,Helvetica,sans-serif"},
        {"Verdana", "Verdana,Arial,Geneva"},
        {"Comic Sans MS", "Comic Sans MS,sans-serif"},
        {"Times New Roman", "Times New Roman,serif"},
        {"Trebuchet MS", "Trebuchet MS,Arial, Helvetica"},
        {"Verdana,Arial,Geneva", "Verdana,Arial,Geneva"},
        {"arial", "arial"},
        {"Georgia,Serif", "Georgia,Serif"},
    };
    for (const auto &w : widening) {
        const QString family = QString::fromLatin1(w.family);
        QTest::addRow("body font %s, p li", w.font)
            << QVariantMap{{"cboFontForm", w.font}} << 5 << "p,li { color:#000080; font-family:" + family + "; font-size:10pt; }";
        QTest::addRow("body font %s, TD", w.font)
            << QVariantMap{{"cboFontForm", w.font}} << 6 << "TD   { color:#000080; font-family:" + family + "; font-size:10pt; }";
    }
    QTest::newRow("heading font is never widened")
        << QVariantMap{{"cboFontHeader", "Verdana"}} << 4 << QStringLiteral("h1 { color:#000000; font-family:Verdana; font-size:12pt; }");

    QTest::newRow("heading size 14") << QVariantMap{{"edtSizeHeader", "14"}} << 4
                                     << QStringLiteral("h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:14pt; }");
    QTest::newRow("heading size abc gives 0") << QVariantMap{{"edtSizeHeader", "abc"}} << 4
                                              << QStringLiteral("h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:0pt; }");
    QTest::newRow("heading size 1.5 gives 0") << QVariantMap{{"edtSizeHeader", "1.5"}} << 4
                                              << QStringLiteral("h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:0pt; }");
    QTest::newRow("empty heading size gives 0")
        << QVariantMap{{"edtSizeHeader", ""}} << 4
        << QStringLiteral("h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:0pt; }");
    QTest::newRow("body size 1.5 gives 0, p li")
        << QVariantMap{{"edtSizeForm", "1.5"}} << 5
        << QStringLiteral("p,li { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:0pt; }");
    QTest::newRow("body size x gives 0, TD") << QVariantMap{{"edtSizeForm", "x"}} << 6
                                             << QStringLiteral(
                                                    "TD   { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:0pt; }");

    // What would end the url() or the style element is a CSS escape.
    QTest::newRow("background picture with blank, parenthesis and end tag")
        << QVariantMap{{"edtBGPicture", "mein bild).png</style>"}} << 3
        << QStringLiteral("body { background-color:#C0C0C0; background-image:url(mein\\20 bild\\29 .png\\3c /style>); }");

    // The block takes the colour values of the buttons, not the texts.
    QTest::newRow("text typed but not taken over")
        << QVariantMap{{"edtHGColor", "FF0000"}} << 3 << QStringLiteral("body { background-color:#C0C0C0;  }");
    QTest::newRow("background value, upper case")
        << QVariantMap{{"cboBGColor", 0x00ff8000u}} << 3 << QStringLiteral("body { background-color:#0080FF;  }");
    QTest::newRow("heading colour value") << QVariantMap{{"cboHeadingColor", 0x000000ffu}} << 4
                                          << QStringLiteral("h1 { color:#FF0000; font-family:Arial,Helvetica,Geneva; font-size:12pt; }");
    QTest::newRow("text colour value, p li") << QVariantMap{{"cboTextColor", 0x00336699u}} << 5
                                             << QStringLiteral(
                                                    "p,li { color:#996633; font-family:Arial,Helvetica,Geneva; font-size:10pt; }");
    QTest::newRow("text colour value, TD") << QVariantMap{{"cboTextColor", 0x00336699u}} << 6
                                           << QStringLiteral("TD   { color:#996633; font-family:Arial,Helvetica,Geneva; font-size:10pt; }");
    QTest::newRow("table colour value") << QVariantMap{{"cboTabColor", 0x00eeddccu}} << 7
                                        << QStringLiteral(".tableback { background-color:#CCDDEE}");
}

void TestPageFragments::styleSheetLine()
{
    QFETCH(QVariantMap, settings);
    QFETCH(int, line);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    const QString block = PageGenerator(quiz).styleSheet();
    QVERIFY(block.endsWith(QLatin1String("\r\n")));
    const QStringList lines = block.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.at(line - 1), expected);
}

// ------------------------------------------------------------- question rows

void TestPageFragments::genCode_data()
{
    QTest::addColumn<QuestionPtr>("question");
    QTest::addColumn<bool>("css");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");

    const QuestionPtr capital = simple(QStringLiteral("Hauptstadt?"), {QStringLiteral("Berlin"), QStringLiteral("Bonn")});
    QTest::newRow("free text") << capital << false << 2
                               << QStringLiteral("<tr>\r\n"
                                                 "<td class=\"link\"><b id=\"Frage2_text\">Hauptstadt?</b><br>\r\n"
                                                 "<input name=\"Frage2_0\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage2_text\"><br>\r\n"
                                                 "<input name=\"Frage2_1\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage2_text\"><br>\r\n"
                                                 "<hr height=\"1\" width=\"100%\">\r\n"
                                                 "\t</td>\r\n"
                                                 "</tr>\r\n");
    QTest::newRow("free text, field class")
        << capital << true << 2
        << QStringLiteral("<tr>\r\n"
                          "<td class=\"link\"><b id=\"Frage2_text\">Hauptstadt?</b><br>\r\n"
                          "<input class=\"field\"  name=\"Frage2_0\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage2_text\"><br>\r\n"
                          "<input class=\"field\"  name=\"Frage2_1\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage2_text\"><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");
    QTest::newRow("free text, no answers, size not a number")
        << simple(QStringLiteral("Leer"), {}, QStringLiteral("abc"), QString()) << false << 1
        << QStringLiteral("<tr>\r\n"
                          "<td class=\"link\"><b>Leer</b><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");
    QTest::newRow("free text, size abc unchanged")
        << simple(QStringLiteral("Gr\u00f6\u00dfe"), {QStringLiteral("x")}, QStringLiteral("abc"), QString()) << false << 7
        << QStringLiteral("<tr>\r\n"
                          "<td class=\"link\"><b id=\"Frage7_text\">Gr\u00f6\u00dfe</b><br>\r\n"
                          "<input name=\"Frage7_0\" size=\"abc\" maxlength=\"\" type=\"text\" aria-labelledby=\"Frage7_text\"><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");

    const QuestionPtr colours =
        multi(QStringLiteral("Welche <i>Farben</i> hat die Flagge?"),
              {{QStringLiteral("Rot"), true}, {QStringLiteral("Gr\u00fcn"), false}, {QStringLiteral("\"Blau\""), true}});
    QTest::newRow("multiple choice") << colours << false << 1
                                     << QStringLiteral("<tr>\r\n"
                                                       "<td class=\"link\"><b>Welche <i>Farben</i> hat die Flagge?</b><br>\r\n"
                                                       "<label><input type=\"checkbox\" name=\"Frage1_0\" value=\"set\"> Rot</label><br>\r\n"
                                                       "<label><input type=\"checkbox\" name=\"Frage1_1\" value=\"set\"> Gr\u00fcn</label><br>\r\n"
                                                       "<label><input type=\"checkbox\" name=\"Frage1_2\" value=\"set\"> \"Blau\"</label><br>\r\n"
                                                       "<hr height=\"1\" width=\"100%\">\r\n"
                                                       "\t</td>\r\n"
                                                       "</tr>\r\n");
    QTest::newRow("multiple choice, field class")
        << colours << true << 1
        << QStringLiteral("<tr>\r\n"
                          "<td class=\"link\"><b>Welche <i>Farben</i> hat die Flagge?</b><br>\r\n"
                          "<label><input class=\"field\"  type=\"checkbox\" name=\"Frage1_0\" value=\"set\"> Rot</label><br>\r\n"
                          "<label><input class=\"field\"  type=\"checkbox\" name=\"Frage1_1\" value=\"set\"> Gr\u00fcn</label><br>\r\n"
                          "<label><input class=\"field\"  type=\"checkbox\" name=\"Frage1_2\" value=\"set\"> \"Blau\"</label><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");

    const QuestionPtr sure = single(QStringLiteral("Sicher?"),
                                    {{QStringLiteral("ja"), true}, {QStringLiteral("nein"), false}, {QStringLiteral("vielleicht"), false}});
    QTest::newRow("single choice") << sure << false << 4
                                   << QStringLiteral("<tr>\r\n"
                                                     "<td class=\"link\"><b>Sicher?</b><br>\r\n"
                                                     "<label><input type=\"radio\" name=\"Frage4\" value=\"0\"> ja</label><br>\r\n"
                                                     "<label><input type=\"radio\" name=\"Frage4\" value=\"1\"> nein</label><br>\r\n"
                                                     "<label><input type=\"radio\" name=\"Frage4\" value=\"2\"> vielleicht</label><br>\r\n"
                                                     "<hr height=\"1\" width=\"100%\">\r\n"
                                                     "\t</td>\r\n"
                                                     "</tr>\r\n");
    QTest::newRow("single choice, field class")
        << sure << true << 4
        << QStringLiteral("<tr>\r\n"
                          "<td class=\"link\"><b>Sicher?</b><br>\r\n"
                          "<label><input class=\"field\"  type=\"radio\" name=\"Frage4\" value=\"0\"> ja</label><br>\r\n"
                          "<label><input class=\"field\"  type=\"radio\" name=\"Frage4\" value=\"1\"> nein</label><br>\r\n"
                          "<label><input class=\"field\"  type=\"radio\" name=\"Frage4\" value=\"2\"> vielleicht</label><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");
    QTest::newRow("single choice without options") << single(QStringLiteral("Nichts"), {}) << false << 3
                                                   << QStringLiteral("<tr>\r\n"
                                                                     "<td class=\"link\"><b>Nichts</b><br>\r\n"
                                                                     "<hr height=\"1\" width=\"100%\">\r\n"
                                                                     "\t</td>\r\n"
                                                                     "</tr>\r\n");

    // The hint is kept with the question but never written.
    QTest::newRow("picture and tip, hint not written")
        << with(simple(QStringLiteral("Wer ist das?"), {QStringLiteral("Goethe")}),
                [](Question &q) {
                    q.picture = QStringLiteral("http://example.org/bild.png");
                    q.tipLink = QStringLiteral("http://example.org/tipp.htm");
                    q.hint = QStringLiteral("geheimer Hinweis");
                })
        << false << 1
        << QStringLiteral("<tr><td><img src=\"http://example.org/bild.png\" border=\"0\" alt=\"Wer ist das?\"></td></tr>\r\n"
                          "<tr>\r\n"
                          "<td class=\"link\"><b id=\"Frage1_text\">Wer ist das?</b><br>\r\n"
                          "<input name=\"Frage1_0\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage1_text\"><br>\r\n"
                          "<a href=\"http://example.org/tipp.htm\" class=\"tip\" target=\"_blank\">Tipp</a><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n");
    QTest::newRow("picture and tip of a blank each") << with(single(QStringLiteral("Q"), {{QStringLiteral("a"), true}}),
                                                             [](Question &q) {
                                                                 q.picture = QStringLiteral(" ");
                                                                 q.tipLink = QStringLiteral(" ");
                                                             })
                                                     << false << 2
                                                     << QStringLiteral("<tr><td><img src=\" \" border=\"0\" alt=\"Q\"></td></tr>\r\n"
                                                                       "<tr>\r\n"
                                                                       "<td class=\"link\"><b>Q</b><br>\r\n"
                                                                       "<label><input type=\"radio\" name=\"Frage2\" value=\"0\"> a</label><br>\r\n"
                                                                       "<a href=\" \" class=\"tip\" target=\"_blank\">Tipp</a><br>\r\n"
                                                                       "<hr height=\"1\" width=\"100%\">\r\n"
                                                                       "\t</td>\r\n"
                                                                       "</tr>\r\n");
}

void TestPageFragments::genCode()
{
    QFETCH(QuestionPtr, question);
    QFETCH(bool, css);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(question->markup(css, number), expected);
}

// ----------------------------------------------------------- question checks

void TestPageFragments::genScript_data()
{
    QTest::addColumn<QuestionPtr>("question");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");

    const QuestionPtr capital = simple(QStringLiteral("Hauptstadt?"), {QStringLiteral("Berlin"), QStringLiteral("Bonn")});
    QTest::newRow("free text, one check per field")
        << capital << 3
        << QStringLiteral("if(document.PRUVEX.Frage3_0.value == \"\")  {\r\n"
                          "alert(\"Sie haben Frage 3 nicht vollst\u00e4ndig ausgef\u00fcllt.\");\r\n"
                          "document.PRUVEX.Frage3_0.focus();\r\n"
                          "return false;\r\n"
                          "}\r\n"
                          "\r\n"
                          "if(document.PRUVEX.Frage3_1.value == \"\")  {\r\n"
                          "alert(\"Sie haben Frage 3 nicht vollst\u00e4ndig ausgef\u00fcllt.\");\r\n"
                          "document.PRUVEX.Frage3_1.focus();\r\n"
                          "return false;\r\n"
                          "}\r\n"
                          "\r\n");
    QTest::newRow("free text, custom alert in every check")
        << with(capital->clone(), [](Question &q) { q.alertText = QStringLiteral("Bitte \"beide\" St\u00e4dte!"); }) << 1
        << QStringLiteral("if(document.PRUVEX.Frage1_0.value == \"\")  {\r\n"
                          "alert(\"Bitte \\\"beide\\\" St\u00e4dte!\");\r\n"
                          "document.PRUVEX.Frage1_0.focus();\r\n"
                          "return false;\r\n"
                          "}\r\n"
                          "\r\n"
                          "if(document.PRUVEX.Frage1_1.value == \"\")  {\r\n"
                          "alert(\"Bitte \\\"beide\\\" St\u00e4dte!\");\r\n"
                          "document.PRUVEX.Frage1_1.focus();\r\n"
                          "return false;\r\n"
                          "}\r\n"
                          "\r\n");
    QTest::newRow("free text without answers") << simple(QStringLiteral("Leer"), {}) << 1 << QString();

    const std::vector<AnswerOption> three = {{QStringLiteral("a"), true}, {QStringLiteral("b"), false}, {QStringLiteral("c"), false}};
    QTest::newRow("multiple choice") << multi(QStringLiteral("M"), three) << 1
                                     << QStringLiteral("if (document.PRUVEX.Frage1_0.checked == false && "
                                                       "document.PRUVEX.Frage1_1.checked == false && "
                                                       "document.PRUVEX.Frage1_2.checked == false)\r\n"
                                                       "    {\r\n"
                                                       "alert(\"Sie haben Frage 1 nicht ausgef\u00fcllt.\");\r\n"
                                                       "     document.PRUVEX.Frage1_0.focus();\r\n"
                                                       "     return false;\r\n"
                                                       "    }\r\n"
                                                       "\r\n");
    QTest::newRow("multiple choice, custom alert")
        << with(multi(QStringLiteral("M"), {{QStringLiteral("a"), true}}), [](Question &q) { q.alertText = QStringLiteral("Kreuzen!"); })
        << 5
        << QStringLiteral("if (document.PRUVEX.Frage5_0.checked == false)\r\n"
                          "    {\r\n"
                          "alert(\"Kreuzen!\");\r\n"
                          "     document.PRUVEX.Frage5_0.focus();\r\n"
                          "     return false;\r\n"
                          "    }\r\n"
                          "\r\n");
    // Nothing to tick: a check would have nothing to test.
    QTest::newRow("multiple choice without options") << multi(QStringLiteral("M"), {}) << 2 << QString();

    QTest::newRow("single choice") << single(QStringLiteral("S"), three) << 2
                                   << QStringLiteral("var Option = false;\r\n"
                                                     "for (i = 0;  i < document.PRUVEX.Frage2.length;  i++)\r\n"
                                                     "  {\r\n"
                                                     "    if (document.PRUVEX.Frage2[ i ].checked)\r\n"
                                                     "        Option = true;\r\n"
                                                     "  }\r\n"
                                                     "  if (!Option)\r\n"
                                                     "  {\r\n"
                                                     "alert(\"Sie haben Frage 2 nicht ausgef\u00fcllt.\");\r\n"
                                                     "    return (false);\r\n"
                                                     "  }\r\n"
                                                     "\r\n");
    // One radio button is the element itself, without length.
    QTest::newRow("single choice, one option")
        << single(QStringLiteral("S"), {{QStringLiteral("Ich stimme zu"), true}}) << 3
        << QStringLiteral("  if (!document.PRUVEX.Frage3.checked)\r\n"
                          "  {\r\n"
                          "alert(\"Sie haben Frage 3 nicht ausgef\u00fcllt.\");\r\n"
                          "    return (false);\r\n"
                          "  }\r\n"
                          "\r\n");
    QTest::newRow("single choice without options") << single(QStringLiteral("S"), {}) << 3 << QString();
    QTest::newRow("single choice, custom alert")
        << with(single(QStringLiteral("S"), three), [](Question &q) { q.alertText = QStringLiteral("W\u00e4hlen Sie <b>eine</b>!"); })
        << 12
        << QStringLiteral("var Option = false;\r\n"
                          "for (i = 0;  i < document.PRUVEX.Frage12.length;  i++)\r\n"
                          "  {\r\n"
                          "    if (document.PRUVEX.Frage12[ i ].checked)\r\n"
                          "        Option = true;\r\n"
                          "  }\r\n"
                          "  if (!Option)\r\n"
                          "  {\r\n"
                          "alert(\"W\u00e4hlen Sie <b>eine<\\/b>!\");\r\n"
                          "    return (false);\r\n"
                          "  }\r\n"
                          "\r\n");
}

void TestPageFragments::genScript()
{
    QFETCH(QuestionPtr, question);
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(question->checkScript(number), expected);
}

// --------------------------------------------------------------- script block

void TestPageFragments::formScript_data()
{
    QTest::addColumn<Questions>("questions");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("expected");

    const std::vector<AnswerOption> two = {{QStringLiteral("a"), true}, {QStringLiteral("b"), false}};

    QTest::newRow("nothing required") << Questions{simple(QStringLiteral("F"), {QStringLiteral("x")}), multi(QStringLiteral("M"), two)}
                                      << QVariantMap{{"chkName", true}, {"chkForEmail", true}}
                                      << QStringLiteral("<script type=\"text/javascript\">\r\n"
                                                        "<!--\r\n"
                                                        "function chkFormular()\r\n"
                                                        "{\r\n"
                                                        "\r\n"
                                                        " return(true); }//--></script>\r\n");

    // Question 2 is optional but keeps its number; the address checks follow
    // the question checks.
    QTest::newRow("required 1 and 3, address check")
        << Questions{required(single(QStringLiteral("S"), two)), simple(QStringLiteral("F"), {QStringLiteral("x")}),
                     required(multi(QStringLiteral("M"), two))}
        << QVariantMap{{"chkShowAdress", true}, {"chkName", true}, {"chkForName", true}}
        << QStringLiteral("<script type=\"text/javascript\">\r\n"
                          "<!--\r\n"
                          "function chkFormular()\r\n"
                          "{\r\n"
                          "var Option = false;\r\n"
                          "for (i = 0;  i < document.PRUVEX.Frage1.length;  i++)\r\n"
                          "  {\r\n"
                          "    if (document.PRUVEX.Frage1[ i ].checked)\r\n"
                          "        Option = true;\r\n"
                          "  }\r\n"
                          "  if (!Option)\r\n"
                          "  {\r\n"
                          "alert(\"Sie haben Frage 1 nicht ausgef\u00fcllt.\");\r\n"
                          "    return (false);\r\n"
                          "  }\r\n"
                          "\r\n"
                          "if (document.PRUVEX.Frage3_0.checked == false && document.PRUVEX.Frage3_1.checked == false)\r\n"
                          "    {\r\n"
                          "alert(\"Sie haben Frage 3 nicht ausgef\u00fcllt.\");\r\n"
                          "     document.PRUVEX.Frage3_0.focus();\r\n"
                          "     return false;\r\n"
                          "    }\r\n"
                          "\r\n"
                          "if(document.PRUVEX.LName.value == \"\")  {\r\n"
                          "      alert(\"Bitte das Feld Name ausf\u00fcllen.\")\r\n"
                          "      document.PRUVEX.LName.focus()\r\n"
                          "      return false; }\r\n"
                          "\r\n"
                          " return(true); }//--></script>\r\n");

    QTest::newRow("required free text without answers") << Questions{required(simple(QStringLiteral("F"), {}))} << QVariantMap{}
                                                        << QStringLiteral("<script type=\"text/javascript\">\r\n"
                                                                          "<!--\r\n"
                                                                          "function chkFormular()\r\n"
                                                                          "{\r\n"
                                                                          "\r\n"
                                                                          " return(true); }//--></script>\r\n");
}

void TestPageFragments::formScript()
{
    QFETCH(Questions, questions);
    QFETCH(QVariantMap, settings);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    addQuestions(quiz, questions);
    QCOMPARE(PageGenerator(quiz).formScript(), expected);
}

// -------------------------------------------------------------- address block

void TestPageFragments::addressBlock_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no field shown") << QVariantMap{{"chkShowAdress", true}}
                                    << QStringLiteral("<td>\r\n"
                                                      "<b>Bitte geben Sie hier Ihre Daten ein:</b>\r\n"
                                                      "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                                                      "</table>\r\n"
                                                      "<hr height=\"1\" width=\"100%\"></td>\r\n");

    QTest::newRow("PLZ and e-mail") << QVariantMap{{"chkShowAdress", true}, {"chkEmail", true}, {"chkPLZ", true}}
                                    << QStringLiteral("<td>\r\n"
                                                      "<b>Bitte geben Sie hier Ihre Daten ein:</b>\r\n"
                                                      "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                                                      "  <tr>\r\n"
                                                      "    <td align=\"right\"><label for=\"LPLZ\">PLZ:</label></td>\r\n"
                                                      "    <td>&nbsp;<input name=\"LPLZ\" id=\"LPLZ\" type=\"text\" size=\"25\"></td>\r\n"
                                                      "  </tr>\r\n"
                                                      "  <tr>\r\n"
                                                      "    <td align=\"right\"><label for=\"LEMAIL\">E-Mail-Adresse:</label></td>\r\n"
                                                      "    <td>&nbsp;<input name=\"LEMAIL\" id=\"LEMAIL\" type=\"text\" size=\"25\"></td>\r\n"
                                                      "  </tr>\r\n"
                                                      "</table>\r\n"
                                                      "<hr height=\"1\" width=\"100%\"></td>\r\n");

    // Heading and label are plain text: shown as typed.
    QTest::newRow("field class, heading and label as typed")
        << QVariantMap{{"cboStandardFeld", false}, {"chkName", true}, {"edtHeader", "<i>Ihre \"Daten\"</i>"}, {"edtLName", "Name & Titel:"}}
        << QStringLiteral("<td>\r\n"
                          "<b>&lt;i>Ihre \"Daten\"&lt;/i></b>\r\n"
                          "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                          "  <tr>\r\n"
                          "    <td align=\"right\"><label for=\"LName\">Name & Titel:</label></td>\r\n"
                          "    <td>&nbsp;<input class=\"field\"  name=\"LName\" id=\"LName\" type=\"text\" size=\"25\"></td>\r\n"
                          "  </tr>\r\n"
                          "</table>\r\n"
                          "<hr height=\"1\" width=\"100%\"></td>\r\n");

    QTest::newRow("all seven in their order") << QVariantMap{{"chkName", true}, {"chkVorname", true}, {"chkStrasse", true},
                                                             {"chkPLZ", true},  {"chkOrt", true},     {"chkLand", true},
                                                             {"chkEmail", true}}
                                              << QStringLiteral(
                                                     "<td>\r\n"
                                                     "<b>Bitte geben Sie hier Ihre Daten ein:</b>\r\n"
                                                     "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LName\">Ihr Name:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LName\" id=\"LName\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LVorname\">Ihr Vorname:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LVorname\" id=\"LVorname\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LStrasse\">Stra\u00dfe:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LStrasse\" id=\"LStrasse\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LPLZ\">PLZ:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LPLZ\" id=\"LPLZ\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LORT\">Ort:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LORT\" id=\"LORT\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LLAND\">Land:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LLAND\" id=\"LLAND\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LEMAIL\">E-Mail-Adresse:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LEMAIL\" id=\"LEMAIL\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "</table>\r\n"
                                                     "<hr height=\"1\" width=\"100%\"></td>\r\n");
}

void TestPageFragments::addressBlock()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    QCOMPARE(PageGenerator(quiz).addressBlock(), expected);
}

void TestPageFragments::addressScript_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing required") << QVariantMap{{"chkShowAdress", true}, {"chkName", true}} << QString();
    QTest::newRow("Ort tests LORT") << QVariantMap{{"chkShowAdress", true}, {"chkOrt", true}, {"chkForOrt", true}}
                                    << QStringLiteral("if(document.PRUVEX.LORT.value == \"\")  {\r\n"
                                                      "      alert(\"Bitte das Feld Ort ausf\u00fcllen.\")\r\n"
                                                      "      document.PRUVEX.LORT.focus()\r\n"
                                                      "      return false; }\r\n");
    QTest::newRow("required but not shown") << QVariantMap{{"chkShowAdress", true}, {"chkForEmail", true}} << QString();
    // A check of a field that is not on the page would fail on every send.
    QTest::newRow("checked without the block") << QVariantMap{{"chkShowAdress", false}, {"chkName", true}, {"chkForName", true}}
                                               << QString();
    QTest::newRow("block at no position")
        << QVariantMap{{"chkShowAdress", true}, {"rdEnd", false}, {"chkName", true}, {"chkForName", true}} << QString();
    QTest::newRow("table order, own input each")
        << QVariantMap{{"chkShowAdress", true}, {"chkEmail", true}, {"chkForEmail", true}, {"chkStrasse", true}, {"chkForStr", true},
                       {"chkVorname", true}}
        << QStringLiteral("if(document.PRUVEX.LStrasse.value == \"\")  {\r\n"
                          "      alert(\"Bitte das Feld Stra\u00dfe ausf\u00fcllen.\")\r\n"
                          "      document.PRUVEX.LStrasse.focus()\r\n"
                          "      return false; }\r\n"
                          "if(document.PRUVEX.LEMAIL.value == \"\")  {\r\n"
                          "      alert(\"Bitte das Feld E-Mail ausf\u00fcllen.\")\r\n"
                          "      document.PRUVEX.LEMAIL.focus()\r\n"
                          "      return false; }\r\n");
}

void TestPageFragments::addressScript()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    QCOMPARE(PageGenerator(quiz).addressScript(), expected);
}

// ------------------------------------------------------------ hidden fields

void TestPageFragments::questionLists()
{
    Quiz quiz;
    addQuestions(quiz, {
                           simple(QStringLiteral("Hauptstadt?"), {QStringLiteral("Berlin"), QStringLiteral("Bonn")}),
                           single(QStringLiteral("<span style=\"color:#FF0000\">Tom & Jerry</span>"),
                                  {{QStringLiteral("ja"), false}, {QStringLiteral("nein"), false}, {QStringLiteral("vielleicht"), true}}),
                           multi(QStringLiteral("Obst?"), {{QStringLiteral("\u00c4pfel"), true}, {QStringLiteral("Birnen"), true}}),
                           simple(QStringLiteral("Leer"), {}),
                       });
    const PageGenerator gen(quiz);

    QCOMPARE(gen.questionTypeFields(), QStringLiteral("  <input type=\"hidden\" name=\"typeFrage0\" value=\"TSimpleQuestion\">\r\n"
                                                    "  <input type=\"hidden\" name=\"typeFrage1\" value=\"TSingleQuestion\">\r\n"
                                                    "  <input type=\"hidden\" name=\"typeFrage2\" value=\"TMultiQuestion\">\r\n"
                                                    "  <input type=\"hidden\" name=\"typeFrage3\" value=\"TSimpleQuestion\">\r\n"));
    QCOMPARE(gen.answerCountFields(), QStringLiteral("  <input type=\"hidden\" name=\"countFrage0\" value=\"2\">\r\n"
                                                   "  <input type=\"hidden\" name=\"countFrage1\" value=\"3\">\r\n"
                                                   "  <input type=\"hidden\" name=\"countFrage2\" value=\"2\">\r\n"
                                                   "  <input type=\"hidden\" name=\"countFrage3\" value=\"0\">\r\n"));
    // The question text is escaped for the attribute, so that the browser
    // sends it exactly as typed.
    QCOMPARE(gen.questionTextFields(), QStringLiteral("  <input type=\"hidden\" name=\"beschrFrage0\" value=\"Hauptstadt?\">\r\n"
                                                    "  <input type=\"hidden\" name=\"beschrFrage1\" value=\""
                                                    "&lt;span style=&quot;color:#FF0000&quot;&gt;Tom &amp; Jerry&lt;/span&gt;\">\r\n"
                                                    "  <input type=\"hidden\" name=\"beschrFrage2\" value=\"Obst?\">\r\n"
                                                    "  <input type=\"hidden\" name=\"beschrFrage3\" value=\"Leer\">\r\n"));
    // All options of the choice questions, base64 of their ISO-8859-1 bytes;
    // nothing for the free-text questions.
    QCOMPARE(gen.allAnswerFields(), QStringLiteral("  <input type=\"hidden\" name=\"FA_USER_1_0\" value=\"amE=\">\r\n"
                                                 "  <input type=\"hidden\" name=\"FA_USER_1_1\" value=\"bmVpbg==\">\r\n"
                                                 "  <input type=\"hidden\" name=\"FA_USER_1_2\" value=\"dmllbGxlaWNodA==\">\r\n"
                                                 "  <input type=\"hidden\" name=\"FA_USER_2_0\" value=\"xHBmZWw=\">\r\n"
                                                 "  <input type=\"hidden\" name=\"FA_USER_2_1\" value=\"QmlybmVu\">\r\n"));
    QCOMPARE(gen.rightAnswerFields(),
             QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"VXJle355NFV4eXk=\">\r\n"
                            "  <input type=\"hidden\" name=\"FA1\" value=\"JWthfnJ7e3J+dH9j\">\r\n"
                            "  <input type=\"hidden\" name=\"FA2\" value=\"UWV2cHIkSCdr02dxcns0UWV2cHIkSCZrVX5leXJ5\">\r\n"
                            "  <input type=\"hidden\" name=\"FA3\" value=\"\">\r\n"));

    const Quiz empty;
    const PageGenerator none(empty);
    QCOMPARE(none.questionTypeFields(), QString());
    QCOMPARE(none.answerCountFields(), QString());
    QCOMPARE(none.questionTextFields(), QString());
    QCOMPARE(none.rightAnswerFields(), QString());
    QCOMPARE(none.allAnswerFields(), QString());
}

// The values before scrambling and encoding are in the row names.
void TestPageFragments::rightAnswers_data()
{
    QTest::addColumn<Questions>("questions");
    QTest::addColumn<QString>("expected");

    const QuestionPtr filler = simple(QStringLiteral("F"), {});
    QTest::newRow("free text: Berlin#Bonn") << Questions{simple(QStringLiteral("F"), {QStringLiteral("Berlin"), QStringLiteral("Bonn")})}
                                            << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"VXJle355NFV4eXk=\">\r\n");
    QTest::newRow("free text without answers: empty")
        << Questions{filler} << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"\">\r\n");
    QTest::newRow("multiple choice, none right: empty")
        << Questions{multi(QStringLiteral("M"), {{QStringLiteral("a"), false}, {QStringLiteral("b"), false}})}
        << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"\">\r\n");
    QTest::newRow("multiple choice, 0 and 2 right: Frage1_0|Rot#Frage1_2|Blau")
        << Questions{multi(QStringLiteral("M"),
                           {{QStringLiteral("Rot"), true}, {QStringLiteral("Gelb"), false}, {QStringLiteral("Blau"), true}})}
        << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"UWV2cHImSCdrRXhjNFFldnByJkgla1V7dmI=\">\r\n");
    QTest::newRow("single choice at 1, third right: 2|B\u00e4r")
        << Questions{filler,
                     single(QStringLiteral("S"),
                            {{QStringLiteral("Hund"), false}, {QStringLiteral("Katze"), false}, {QStringLiteral("B\u00e4r"), true}})}
        << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"\">\r\n"
                          "  <input type=\"hidden\" name=\"FA1\" value=\"JWtV82U=\">\r\n");
    QTest::newRow("single choice, first and third right: 0|ja, 2|vielleicht")
        << Questions{filler, single(QStringLiteral("S"),
                                    {{QStringLiteral("ja"), true}, {QStringLiteral("nein"), false}, {QStringLiteral("vielleicht"), true}})}
        << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"\">\r\n"
                          "  <input type=\"hidden\" name=\"FA1\" value=\"J2t9dg==\">\r\n"
                          "  <input type=\"hidden\" name=\"FA1\" value=\"JWthfnJ7e3J+dH9j\">\r\n");
    QTest::newRow("single choice, none right: no field")
        << Questions{filler, single(QStringLiteral("S"), {{QStringLiteral("ja"), false}, {QStringLiteral("nein"), false}})}
        << QStringLiteral("  <input type=\"hidden\" name=\"FA0\" value=\"\">\r\n");
}

void TestPageFragments::rightAnswers()
{
    QFETCH(Questions, questions);
    QFETCH(QString, expected);
    Quiz quiz;
    addQuestions(quiz, questions);
    QCOMPARE(PageGenerator(quiz).rightAnswerFields(), expected);
}

void TestPageFragments::errorPages_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty, captcha on") << QVariantMap{{"chkCaptcha", true}} << QString();
    QTest::newRow("address, Base64 not scrambled")
        << QVariantMap{{"CaptchaErrorPage", "http://localhost/fehler.htm"}}
        << QStringLiteral("  <input type=\"hidden\" name=\"settings_error_captcha\" value=\"aHR0cDovL2xvY2FsaG9zdC9mZWhsZXIuaHRt\">\r\n");
    QTest::newRow("other error pages are not written")
        << QVariantMap{{"IPErrorPage", "http://localhost/ip.htm"}, {"FileErrorPage", "http://localhost/datei.htm"}} << QString();
}

void TestPageFragments::errorPages()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, expected);
    Quiz quiz;
    apply(quiz, settings);
    QCOMPARE(PageGenerator(quiz).errorPageFields(), expected);
}

// ---------------------------------------------------------------- captcha row

void TestPageFragments::captchaBlock()
{
    Quiz quiz;
    quiz.setFlag(SettingKey::chkCaptcha, true);
    PageGenerator gen(quiz);
    gen.setFormIdSource([] { return 4711; });
    QCOMPARE(gen.newFormId(), QStringLiteral("4711"));
    QCOMPARE(gen.captchaBlock(),
             QStringLiteral(
                 "<tr>\r\n"
                 "<td colspan=\"2\">\r\n"
                 "<table>\r\n"
                 "  <td class=\"my\" align=\"right\" valign=\"middle\"><p class=\"my\"><label for=\"captcha_input\">Spam-Schutz</label></p></td>\r\n"
                 "  <td class=\"my\" valign=\"middle\">\r\n"
                 " <table width=\"100%\"  border=\"0\" cellspacing=\"0\" cellpadding=\"00\">\r\n"
                 "<tr valign=\"middle\">\r\n"
                 " <td width=\"20%\"><input type=\"text\" name=\"captcha_input\" id=\"captcha_input\" size=\"10\" maxlength=\"5\"></td>\r\n"
                 " <td width=\"80%\">&nbsp;<img src=\"http://localhost:8080/quiz/v13/captcha_img.php?id=4711\" border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>\r\n"
                 "</tr>\r\n"
                 "</table>\r\n"
                 "</table>\r\n"
                 "</td>\r\n"
                 "</tr>\r\n"));
}

// Lines 4, 8 and 9 of the captcha row.
void TestPageFragments::captchaLines_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("captionLine");
    QTest::addColumn<QString>("inputLine");
    QTest::addColumn<QString>("imageLine");

    const QString caption = QStringLiteral("  <td class=\"my\" align=\"right\" valign=\"middle\"><p class=\"my\"><label for=\"captcha_input\">Spam-Schutz</label></p></td>");
    const QString input =
        QStringLiteral(" <td width=\"20%\"><input type=\"text\" name=\"captcha_input\" id=\"captcha_input\" size=\"10\" maxlength=\"5\"></td>");
    QTest::newRow("field class") << QVariantMap{{"cboStandardFeld", false}} << caption
                                 << QStringLiteral(
                                        " <td width=\"20%\"><input type=\"text\" name=\"captcha_input\" id=\"captcha_input\" size=\"10\" maxlength=\"5\""
                                        " class=\"field\"></td>")
                                 << QStringLiteral(
                                        " <td width=\"80%\">&nbsp;<img src=\"http://localhost:8080/quiz/v13/captcha_img.php?id=4711\""
                                        " border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>");
    QTest::newRow("caption")
        << QVariantMap{{"edtCaptchaText1", "Bitte <b>Code</b> eingeben"}}
        << QStringLiteral("  <td class=\"my\" align=\"right\" valign=\"middle\"><p class=\"my\"><label for=\"captcha_input\">Bitte &lt;b>Code&lt;/b> eingeben</label></p></td>")
        << input
        << QStringLiteral(" <td width=\"80%\">&nbsp;<img src=\"http://localhost:8080/quiz/v13/captcha_img.php?id=4711\""
                          " border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>");
    QTest::newRow("address without quiz.php")
        << QVariantMap{{"cboFormMailer", "https://example.org/cgi-bin/auswertung.pl"}} << caption << input
        << QStringLiteral(" <td width=\"80%\">&nbsp;<img src=\"https://example.org/cgi-bin/auswertung.pl?id=4711\""
                          " border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>");
    QTest::newRow("QUIZ.PHP in capitals unchanged")
        << QVariantMap{{"cboFormMailer", "http://example.org/QUIZ.PHP"}} << caption << input
        << QStringLiteral(" <td width=\"80%\">&nbsp;<img src=\"http://example.org/QUIZ.PHP?id=4711\" border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>");
    QTest::newRow("every quiz.php replaced")
        << QVariantMap{{"cboFormMailer", "http://quiz.php.example.org/quiz.php"}} << caption << input
        << QStringLiteral(" <td width=\"80%\">&nbsp;<img src=\"http://captcha_img.php.example.org/captcha_img.php?id=4711\""
                          " border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>");
}

void TestPageFragments::captchaLines()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, captionLine);
    QFETCH(QString, inputLine);
    QFETCH(QString, imageLine);
    Quiz quiz;
    apply(quiz, settings);
    PageGenerator gen(quiz);
    gen.setFormIdSource([] { return 4711; });
    gen.newFormId();
    const QStringList lines = gen.captchaBlock().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 15); // 14 lines and the empty rest after the last CR LF
    QCOMPARE(lines.at(3), captionLine);
    QCOMPARE(lines.at(7), inputLine);
    QCOMPARE(lines.at(8), imageLine);
}

// ------------------------------------------------------------------ escaping

// Each context escapes only what would not stand for itself there.
void TestPageFragments::escaping_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString harmless = QStringLiteral("Fragen & Antworten, a < b > c, 'x'");
    for (const char *context : {"text", "attribute", "markup"})
        QTest::addRow("%s: harmless text unchanged", context) << context << harmless << harmless;
    QTest::newRow("text: comment and end tag") << "text" << QStringLiteral("Quiz <!-- Teil 1 </title>")
                                               << QStringLiteral("Quiz &lt;!-- Teil 1 &lt;/title>");
    QTest::newRow("text: tag and references") << "text" << QStringLiteral("<b>&amp; &#65; &copy")
                                              << QStringLiteral("&lt;b>&amp;amp; &amp;#65; &amp;copy");
    QTest::newRow("attribute: quote, reference, placeholder")
        << "attribute" << QStringLiteral("Los \"jetzt\" &amp; <!-- FORMID --> <b>")
        << QStringLiteral("Los &quot;jetzt&quot; &amp;amp; &lt;!-- FORMID --> <b>");
    QTest::newRow("markup: lone comment shows") << "markup" << QStringLiteral("a <!-- b") << QStringLiteral("a &lt;!-- b");
    QTest::newRow("markup: closed comment stays") << "markup" << QStringLiteral("a <!-- b --> c <!-- d")
                                                  << QStringLiteral("a <!-- b --> c &lt;!-- d");
    QTest::newRow("markup: empty comments are closed") << "markup" << QStringLiteral("<!--> <!---> <i>x</i>")
                                                       << QStringLiteral("<!--> <!---> <i>x</i>");
    QTest::newRow("markup: --!> closes") << "markup" << QStringLiteral("<!-- a --!> b") << QStringLiteral("<!-- a --!> b");
    QTest::newRow("js: quotes, backslash, line breaks")
        << "js" << QStringLiteral("Sag \"Ja\"\r\n'Tab\\t' \u2028\u2029 \\")
        << QStringLiteral("Sag \\\"Ja\\\"\\r\\n'Tab\\\\t' \\u2028\\u2029 \\\\");
    QTest::newRow("js: end of the script, placeholder")
        << "js" << QStringLiteral("</script><b>x</b><!-- FORMID -->") << QStringLiteral("<\\/script><b>x<\\/b><\\!-- FORMID -->");
    QTest::newRow("js: harmless text unchanged") << "js" << QStringLiteral("Bitte 'eine' w\u00e4hlen & <b>!")
                                                 << QStringLiteral("Bitte 'eine' w\u00e4hlen & <b>!");
    QTest::newRow("alt: tags left out") << "alt" << QStringLiteral("Wie <b>hoch</b> ist \"er\"?\r\n&auml;")
                                        << QStringLiteral("Wie hoch ist &quot;er&quot;? &auml;");
}

void TestPageFragments::escaping()
{
    QFETCH(QString, context);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QString actual;
    if (context == QLatin1String("text"))
        actual = PageText::htmlText(text);
    else if (context == QLatin1String("attribute"))
        actual = PageText::htmlAttribute(text);
    else if (context == QLatin1String("markup"))
        actual = PageText::htmlMarkup(text);
    else if (context == QLatin1String("js"))
        actual = PageText::jsString(text);
    else
        actual = PageText::markupAsAttribute(text);
    QCOMPARE(actual, expected);
}

// ------------------------------------------------------- scrambling, base64

void TestPageFragments::scramble_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // "true" and "false" stand unencoded in the page: printable ASCII
    // without quotes, ampersand or angle brackets.
    QTest::newRow("true") << QStringLiteral("true") << QStringLiteral("cebr");
    QTest::newRow("false") << QStringLiteral("false") << QStringLiteral("qv{dr");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("umlaut") << QStringLiteral("\u00e4") << QStringLiteral("\u00f3");
    QTest::newRow("only the low byte changes") << QStringLiteral("\u20ac") << QStringLiteral("\u20bb");
}

void TestPageFragments::scramble()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Handoff::scramble(text), expected);
    QCOMPARE(Handoff::scramble(expected), text);
}

void TestPageFragments::base64_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ASCII, padded") << QStringLiteral("Quiz") << QStringLiteral("UXVpeg==");
    QTest::newRow("umlaut as one byte") << QStringLiteral("\u00e4") << QStringLiteral("5A==");
    QTest::newRow("euro sign becomes ?") << QStringLiteral("a\u20acb") << QStringLiteral("YT9i");
    QTest::newRow("omega becomes ?") << QStringLiteral("Gr\u00fc\u00dfe \u03a9") << QStringLiteral("R3L832UgPw==");
    QTest::newRow("long text on one line")
        << QStringLiteral("Vielen Dank f\u00fcr die Teilnahme an unserem Quiz. Vielen Dank f\u00fcr die Teilnahme an unserem Quiz.")
        << QStringLiteral("VmllbGVuIERhbmsgZvxyIGRpZSBUZWlsbmFobWUgYW4gdW5zZXJlbSBRdWl6LiBWaWVsZW4gRGFuayBm/"
                          "HIgZGllIFRlaWxuYWhtZSBhbiB1bnNlcmVtIFF1aXou");
}

void TestPageFragments::base64()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Handoff::base64(text), expected);
}

QTEST_GUILESS_MAIN(TestPageFragments)
#include "tst_pagefragments.moc"
