// The page as a whole: the template, the placeholders in their order and
// conditions, the form id, the line-break normalisation, the export in the
// quiz's encoding, and the page that the delivered template gives.

#include "generatedpage.h"
#include "linebreaks.h"
#include "textcodec.h"
#include "generatorfixtures.h"
#include "pagegenerator.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#endif

using namespace Fixture;

class TestPageAssembly : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void placeholders_data();
    void placeholders();
    void placeholderInLongFragment();
    void utf8BytesAreThoseOfTheText_data();
    void utf8BytesAreThoseOfTheText();
    void pageInTheMemoryOfAnother();
    void missingTemplate_data();
    void missingTemplate();

    void formIdInPageAndCaptcha();
    void formIdPerGeneration();

    void normaliseLineBreaks_data();
    void normaliseLineBreaks();

    void exportEncoding_data();
    void exportEncoding();
    void exportedPageHasNoLoneLineBreak();
    void exportIntoMissingFolder();
    void failedExportKeepsOldFile_data();
    void failedExportKeepsOldFile();

    void deliveredTemplate();

private:
    QString writeTemplate(const QByteArray &bytes);
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestPageAssembly::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

QString TestPageAssembly::writeTemplate(const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("template.htm"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the template fixture");
    return path;
}

static const QString kEmptyScript = QStringLiteral("<script type=\"text/javascript\">\r\n"
                                                   "<!--\r\n"
                                                   "function chkFormular()\r\n"
                                                   "{\r\n"
                                                   "\r\n"
                                                   " return(true); }//--></script>\r\n");

// The rows of a free-text question "F" with one field, as question 1.
static const QString kFieldRows = QStringLiteral("<tr>\r\n"
                                                 "<td class=\"link\"><b id=\"Frage1_text\">F</b><br>\r\n"
                                                 "<input name=\"Frage1_0\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage1_text\"><br>\r\n"
                                                 "<hr height=\"1\" width=\"100%\">\r\n"
                                                 "\t</td>\r\n"
                                                 "</tr>\r\n");

void TestPageAssembly::placeholders_data()
{
    QTest::addColumn<QByteArray>("templ");
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<Questions>("questions");
    QTest::addColumn<QString>("expected");

    const QByteArray plain = "<html>\n<body>\n<p>Hallo</p>\n</body>\n</html>\n";
    const QString plainPage = QStringLiteral("<html>\r\n<body>\r\n<p>Hallo</p>\r\n</body>\r\n</html>\r\n");
    QTest::newRow("no placeholders, LF file") << plain << QVariantMap{} << Questions{} << plainPage;
    QTest::newRow("no placeholders, CR LF file") << QByteArray(plain).replace("\n", "\r\n") << QVariantMap{} << Questions{} << plainPage;
    QTest::newRow("last line without line end") << QByteArray("a\n\nb") << QVariantMap{} << Questions{} << QStringLiteral("a\r\n\r\nb\r\n");
    QTest::newRow("read as windows-1252") << QByteArray("Gr\xfc\xdf"
                                                        "e \x80\n")
                                          << QVariantMap{} << Questions{} << QStringLiteral("Gr\u00fc\u00dfe \u20ac\r\n");

    QTest::newRow("every occurrence") << QByteArray("<title><!-- TITLE --></title>\n<h1><!-- TITLE --></h1><!-- TITLE -->\n")
                                      << QVariantMap{{"edtFormTitel", "Mein Quiz"}} << Questions{}
                                      << QStringLiteral("<title>Mein Quiz</title>\r\n<h1>Mein Quiz</h1>Mein Quiz\r\n");
    QTest::newRow("lower case and misspelt stay")
        << QByteArray("<!-- title -->|<!-- Title -->|<!--TITLE-->|<!--  TITLE -->\n") << QVariantMap{} << Questions{}
        << QStringLiteral("<!-- title -->|<!-- Title -->|<!--TITLE-->|<!--  TITLE -->\r\n");

    const QByteArray conditional = "<!-- CAPTCHA -->\n<!-- PRINTBUTTON -->\n<tr><!-- INPUTF --></tr>\n<tr><!-- INPUTD --></tr>\n";
    const QString conditionalPage =
        QStringLiteral("<!-- CAPTCHA -->\r\n<!-- PRINTBUTTON -->\r\n<tr><!-- INPUTF --></tr>\r\n<tr><!-- INPUTD --></tr>\r\n");
    QTest::newRow("conditions fail: placeholders stay")
        << conditional << QVariantMap{{"chkName", true}, {"rdBegin", true}} << Questions{} << conditionalPage;
    QTest::newRow("address shown, no position")
        << conditional << QVariantMap{{"chkShowAdress", true}, {"rdEnd", false}} << Questions{} << conditionalPage;
    QTest::newRow("address at the beginning") << conditional << QVariantMap{{"chkShowAdress", true}, {"rdBegin", true}, {"chkName", true}}
                                              << Questions{}
                                              << QStringLiteral(
                                                     "<!-- CAPTCHA -->\r\n"
                                                     "<!-- PRINTBUTTON -->\r\n"
                                                     "<tr><td>\r\n"
                                                     "<b>Bitte geben Sie hier Ihre Daten ein:</b>\r\n"
                                                     "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                                                     "  <tr>\r\n"
                                                     "    <td align=\"right\"><label for=\"LName\">Ihr Name:</label></td>\r\n"
                                                     "    <td>&nbsp;<input name=\"LName\" id=\"LName\" type=\"text\" size=\"25\"></td>\r\n"
                                                     "  </tr>\r\n"
                                                     "</table>\r\n"
                                                     "<hr height=\"1\" width=\"100%\"></td>\r\n"
                                                     "</tr>\r\n"
                                                     "<tr><!-- INPUTD --></tr>\r\n");
    QTest::newRow("address at the end") << conditional << QVariantMap{{"chkShowAdress", true}} << Questions{}
                                        << QStringLiteral("<!-- CAPTCHA -->\r\n"
                                                          "<!-- PRINTBUTTON -->\r\n"
                                                          "<tr><!-- INPUTF --></tr>\r\n"
                                                          "<tr><td>\r\n"
                                                          "<b>Bitte geben Sie hier Ihre Daten ein:</b>\r\n"
                                                          "<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">\r\n"
                                                          "</table>\r\n"
                                                          "<hr height=\"1\" width=\"100%\"></td>\r\n"
                                                          "</tr>\r\n");

    // An HTML text holding a later step's placeholder gets it replaced; one
    // holding an earlier step's keeps it as text. The title is plain text:
    // shown as typed, a placeholder in it included.
    QTest::newRow("introduction holding FIELDS gets the rows")
        << QByteArray("<div><!-- EINLEITUNGTEXT --></div>\n") << QVariantMap{{"memoEinleitung", "Quiz <!-- FIELDS -->"}}
        << Questions{simple(QStringLiteral("F"), {QStringLiteral("x")})} << "<div>Quiz " + kFieldRows + "\r\n</div>\r\n";
    QTest::newRow("introduction holding CSS keeps it")
        << QByteArray("<div><!-- EINLEITUNGTEXT --></div>\n") << QVariantMap{{"memoEinleitung", "A <!-- CSS --> B"}} << Questions{}
        << QStringLiteral("<div>A <!-- CSS --> B</div>\r\n");
    QTest::newRow("title holding FIELDS shows it")
        << QByteArray("<title><!-- TITLETAG --></title><h1><!-- FORMTITLE --></h1>\n") << QVariantMap{{"edtFormTitel", "Quiz <!-- FIELDS -->"}}
        << Questions{simple(QStringLiteral("F"), {QStringLiteral("x")})}
        << QStringLiteral("<title>Quiz &lt;!-- FIELDS --></title><h1>Quiz &lt;!-- FIELDS --></h1>\r\n");

    // The colours go into the page as they stand, so their values show how
    // the steps fill each other.
    QTest::newRow("a chain of values, each copy filled")
        << QByteArray("<!-- BGCOLOR -->\n")
        << QVariantMap{{"edtHGColor", "<!-- TABLECOLOR -->-<!-- TABLECOLOR -->"}, {"edtTabColor", "(<!-- TEXTCOLOR -->)"}, {"edtTextColor", "m"}}
        << Questions{} << QStringLiteral("(m)-(m)\r\n");
    QTest::newRow("a value keeps its own placeholder")
        << QByteArray("<!-- BGCOLOR -->|<!-- BGCOLOR -->\n") << QVariantMap{{"edtHGColor", "<!-- BGCOLOR -->"}} << Questions{}
        << QStringLiteral("<!-- BGCOLOR -->|<!-- BGCOLOR -->\r\n");
    QTest::newRow("a value with the placeholder of a skipped step")
        << QByteArray("<!-- HEADINGFONT -->\n") << QVariantMap{{"cboFontHeader", "<!-- CAPTCHA --><!-- CLASS -->"}, {"cboStandardButton", true}}
        << Questions{} << QStringLiteral("<!-- CAPTCHA -->\r\n");
    QTest::newRow("placeholder-like texts stay")
        << QByteArray("<!-- BGCOLOR --><!--BGCOLOR--><!-- Bgcolor --><!-- BGCOLOR-->\n") << QVariantMap{{"edtHGColor", "<!-- <!-- BGCOLOR -->"}}
        << Questions{} << QStringLiteral("<!-- <!-- BGCOLOR --><!--BGCOLOR--><!-- Bgcolor --><!-- BGCOLOR-->\r\n");

    QTest::newRow("style and script block") << QByteArray("<!-- CSS -->\n<!-- JSCRIPT -->\n") << QVariantMap{} << Questions{}
                                            << Fixture::kDefaultStyle + "\r\n" + kEmptyScript + "\r\n";

    // Plain texts escaped where they land, HTML texts as markup.
    QTest::newRow("settings where they land")
        << QByteArray("<!-- ENCODING -->|<!-- FORMMAIL -->|<!-- TEXTAUSWERTHEAD -->|<!-- SUBJECT -->\n"
                      "<!-- BGCOLOR -->|<!-- TABLECOLOR -->|<!-- TEXTCOLOR -->|<!-- HEADINGCOLOR -->\n"
                      "<!-- HEADINGFONT -->|<!-- HEADINGFONTSIZE -->|<!-- NORMALFONT -->|<!-- NORMALFONTSIZE -->\n"
                      "<!-- TABLEWIDTH -->|<!-- BEITE -->|<!-- TITLETAG -->|<!-- FORMTITLE -->|<!-- TITLE -->\n"
                      "<!-- EINLEITUNGTEXT -->|<!-- TEXTENDE -->|<!-- SENDBUTTON -->|<!-- RESETBUTTON -->\n"
                      "<!-- SHOWUSERANSWERS -->|<!-- CHKSHOWUSERCORRECTANSWERS -->|<!-- SHOWPICDIAGRAMM -->|[<!-- CLASS -->]\n")
        << QVariantMap{{"encoding", "UTF-8"},
                       {"cboFormMailer", "http://example.org/quiz.php"},
                       {"edtAuswertungHeader", "Ergebnis"},
                       {"edtBetreff", "Quiz \"Ergebnis\" & mehr"},
                       {"edtHGColor", "c0c0c0"},
                       {"edtTabColor", "fFfFfF"},
                       {"edtTextColor", "xyz"},
                       {"edtHeaderColor", "800000"},
                       {"cboFontHeader", "Georgia,Serif"},
                       {"edtSizeHeader", "abc"},
                       {"cboFontForm", "Verdana"},
                       {"edtSizeForm", "1.5"},
                       {"edtTabWidth", "80%"},
                       {"edtFormTitel", "Mein <i>Quiz</i>"},
                       {"memoEinleitung", "Hallo\r\nWelt"},
                       {"memoTextEnde", "Ende"},
                       {"edtSendenButton", "Senden"},
                       {"edtCancelButton", "Leeren"},
                       {"chkShowUserAnswers", true},
                       {"chkShowPicDiagramm", false}}
        << Questions{}
        << QStringLiteral("UTF-8|http://example.org/quiz.php|Ergebnis|Quiz &quot;Ergebnis&quot; & mehr\r\n"
                          "c0c0c0|fFfFfF|xyz|800000\r\n"
                          "Georgia,Serif|abc|Verdana|1.5\r\n"
                          "80%|80%|Mein &lt;i>Quiz&lt;/i>|Mein &lt;i>Quiz&lt;/i>|Mein <i>Quiz</i>\r\n"
                          "Hallo\r\nWelt|Ende|Senden|Leeren\r\n"
                          "true|false|false|[]\r\n");

    QTest::newRow("print button and button class")
        << QByteArray("<!-- PRINTBUTTON -->\n<input type=\"submit\" value=\"<!-- SENDBUTTON -->\" <!-- CLASS -->>\n")
        << QVariantMap{{"chkPrintButton", true}, {"edtPrint", "Ausdrucken"}, {"cboStandardButton", false}} << Questions{}
        << QStringLiteral(
               "<input type=\"button\" name=\"print\" value=\"Ausdrucken\" onClick=\"javascript:window.print()\" class=\"button\">\r\n"
               "\r\n"
               "<input type=\"submit\" value=\"Absenden\" class=\"button\">\r\n");

    const QByteArray bare = "<!-- SETTINGS -->|<!-- SETTINGSC -->|<!-- ADMIN -->|<!-- TEXTAUSWERT -->\n";
    QTest::newRow("hand-off values, initial settings")
        << bare << QVariantMap{} << Questions{}
        << QStringLiteral("cebr|cXZ7ZHI=||VmllbGVuIERhbmsgZvxyIGRpZSBUZWlsbmFobWUgYW4gdW5zZXJlbSBRdWl6Lg==\r\n");
    QTest::newRow("hand-off values, changed")
        << bare
        << QVariantMap{{"chkShowAuswertung", false},
                       {"chkCaptcha", true},
                       {"edtEMail", "quiz@example.org"},
                       {"memoAuswertung", "Vielen Dank\r\nf\u00fcr Ihre Teilnahme."}}
        << Questions{} << QStringLiteral("qv{dr|Y2Vicg==|ZmJ+bVdyb3Z6Z3tyOXhlcA==|VmllbGVuIERhbmsjYnIjZvxyIElocmUgVGVpbG5haG1lLg==\r\n");

    const QByteArray lists = "<!-- QUESTIONCOUNT -->|<!-- QUESTIONTYP -->|<!-- QUESTIONANSWERCOUNT -->|<!-- QUESTIONS -->|"
                             "<!-- ANSWERS -->|<!-- ALLANSWERS -->|<!-- FIELDS -->|<!-- ERRORPAGES -->\n";
    QTest::newRow("quiz without questions") << lists << QVariantMap{} << Questions{} << QStringLiteral("0|||||||\r\n");
    QTest::newRow("lists of one question")
        << lists << QVariantMap{{"CaptchaErrorPage", "http://localhost/fehler.htm"}, {"cboStandardFeld", false}}
        << Questions{single(QStringLiteral("S"), {{QStringLiteral("ja"), true}, {QStringLiteral("nein"), false}})}
        << QStringLiteral("1|"
                          "  <input type=\"hidden\" name=\"typeFrage0\" value=\"TSingleQuestion\">\r\n|"
                          "  <input type=\"hidden\" name=\"countFrage0\" value=\"2\">\r\n|"
                          "  <input type=\"hidden\" name=\"beschrFrage0\" value=\"S\">\r\n|"
                          "  <input type=\"hidden\" name=\"FA0\" value=\"J2t9dg==\">\r\n|"
                          "  <input type=\"hidden\" name=\"FA_USER_0_0\" value=\"amE=\">\r\n"
                          "  <input type=\"hidden\" name=\"FA_USER_0_1\" value=\"bmVpbg==\">\r\n|"
                          "<tr>\r\n"
                          "<td class=\"link\"><b>S</b><br>\r\n"
                          "<label><input class=\"field\"  type=\"radio\" name=\"Frage1\" value=\"0\"> ja</label><br>\r\n"
                          "<label><input class=\"field\"  type=\"radio\" name=\"Frage1\" value=\"1\"> nein</label><br>\r\n"
                          "<hr height=\"1\" width=\"100%\">\r\n"
                          "\t</td>\r\n"
                          "</tr>\r\n"
                          "\r\n|"
                          "  <input type=\"hidden\" name=\"settings_error_captcha\" value=\"aHR0cDovL2xvY2FsaG9zdC9mZWhsZXIuaHRt\">\r\n"
                          "\r\n");
}

void TestPageAssembly::placeholders()
{
    QFETCH(QByteArray, templ);
    QFETCH(QVariantMap, settings);
    QFETCH(Questions, questions);
    QFETCH(QString, expected);

    Quiz quiz;
    apply(quiz, settings);
    addQuestions(quiz, questions);
    PageGenerator gen(quiz);
    gen.setTemplatePath(writeTemplate(templ));
    gen.setFormIdSource([] { return 4711; });
    QString page;
    QString error;
    QVERIFY2(gen.generate(&page, &error), qPrintable(error));
    QCOMPARE(page, expected);
}

// The rows of many questions are written part by part; a placeholder of a
// later step that a question's text brings in is filled wherever the part
// with it stands, and a page that would pass the limit there is refused.
void TestPageAssembly::placeholderInLongFragment()
{
    Quiz quiz;
    Questions questions;
    for (int i = 0; i < 400; ++i)
        questions << simple(i == 250 ? QStringLiteral("Mitte <!-- SENDBUTTON --> und <!-- RESETBUTTON -->") : QStringLiteral("Frage %1").arg(i),
                            {QStringLiteral("a")});
    addQuestions(quiz, questions);
    quiz.setText(SettingKey::edtSendenButton, QStringLiteral("Los"));
    quiz.setText(SettingKey::edtCancelButton, QStringLiteral("Neu"));
    PageGenerator gen(quiz);
    gen.setTemplatePath(writeTemplate("[<!-- FIELDS -->]\n"));
    QString rows = gen.questionRows();
    QVERIFY(rows.size() > 4 * 16 * 1024);
    rows.replace(QStringLiteral("<!-- SENDBUTTON -->"), QStringLiteral("Los")).replace(QStringLiteral("<!-- RESETBUTTON -->"), QStringLiteral("Neu"));
    QString page, error;
    QVERIFY2(gen.generate(&page, &error), qPrintable(error));
    QCOMPARE(page, QLatin1Char('[') + rows + QStringLiteral("]\r\n"));

    // A send button whose text fills the rest of the room.
    quiz.setText(SettingKey::edtSendenButton, QString(int(rows.size()), QLatin1Char('x')));
    gen.setMaxPageChars(2 * rows.size());
    page = QStringLiteral("vorige Seite");
    QVERIFY(!gen.generate(&page, &error));
    QCOMPARE(gen.failure(), PageGenerator::Failure::TooLarge);
    QCOMPARE(page, QStringLiteral("vorige Seite"));
}

// A UTF-8 page gets its bytes while it is written; they are those that
// QString::toUtf8() gives for the text, a lone surrogate ("?") included.
void TestPageAssembly::utf8BytesAreThoseOfTheText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("plain") << QStringLiteral("Gr\u00f6\u00dfe \u20ac \U0001F600");
    QTest::newRow("lone high surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    QTest::newRow("lone low surrogate at the end") << QStringLiteral("a") + QChar(0xDC00);
}

void TestPageAssembly::utf8BytesAreThoseOfTheText()
{
    QFETCH(QString, caption);
    Quiz quiz;
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    addQuestions(quiz, {simple(caption, {QStringLiteral("a")})});
    PageOptions options;
    options.templatePath = writeTemplate("<p><!-- FIELDS --></p>\n");
    GeneratedPage page;
    for (int round = 0; round < 2; ++round) { // the second into the memory of the first
        QVERIFY(generatePage(quiz, &page, nullptr, options));
        QVERIFY(page.text.contains(caption));
        QCOMPARE(page.bytes, page.text.toUtf8());
    }
}

// Each page is made into the memory of the one before, a larger or a
// smaller quiz's, and comes out as it does on its own.
void TestPageAssembly::pageInTheMemoryOfAnother()
{
    auto quizOf = [](int count, const QString &word, const QString &encoding) {
        auto quiz = std::make_shared<Quiz>();
        quiz->setText(SettingKey::encoding, encoding);
        quiz->setText(SettingKey::edtSendenButton, QStringLiteral("Los"));
        Questions questions;
        for (int i = 0; i < count; ++i) {
            // One row holds a placeholder of a later step.
            const QString caption = i == count / 2 ? QStringLiteral("Bitte <!-- SENDBUTTON --> dr\u00fccken")
                                                   : QStringLiteral("%1 %2 \u00e4\u20ac").arg(word).arg(i);
            const std::vector<AnswerOption> options = {{word + QStringLiteral(" ja"), true}, {word + QStringLiteral(" nein"), i % 2 == 0}};
            questions << required(i % 3 == 0 ? simple(caption, {word, caption}) : i % 3 == 1 ? multi(caption, options) : single(caption, options));
        }
        addQuestions(*quiz, questions);
        return quiz;
    };
    const std::vector<std::shared_ptr<Quiz>> quizzes = {quizOf(300, QStringLiteral("lang"), QStringLiteral("utf-8")),
                                                        quizOf(20, QStringLiteral("kurz"), QStringLiteral("utf-8")),
                                                        quizOf(300, QStringLiteral("breit"), QStringLiteral("iso-8859-1")),
                                                        quizOf(150, QStringLiteral("mittel"), QStringLiteral("utf-8"))};
    PageOptions options;
    options.formIdSource = [] { return 4711; };
    GeneratedPage used;
    for (int round = 0; round < 2; ++round) {
        for (const auto &quiz : quizzes) {
            GeneratedPage fresh;
            QString error;
            QVERIFY2(generatePage(*quiz, &fresh, &error, options), qPrintable(error));
            QVERIFY2(generatePage(*quiz, &used, &error, options), qPrintable(error));
            QVERIFY(fresh.text.contains(QStringLiteral("Bitte Los dr\u00fccken")));
            QCOMPARE(used.text, fresh.text);
            QCOMPARE(used.bytes, fresh.bytes);
        }
    }
}

void TestPageAssembly::missingTemplate_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("no such file") << QStringLiteral("fehlt.htm");
    QTest::newRow("a folder") << QStringLiteral("ordner");
}

void TestPageAssembly::missingTemplate()
{
    QFETCH(QString, name);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ordner")));
    const QString path = m_dir->filePath(name);

    Quiz quiz;
    PageGenerator gen(quiz);
    gen.setTemplatePath(path);
    QString page = QStringLiteral("vorige Seite");
    QString error;
    QVERIFY(!gen.generate(&page, &error));
    QCOMPARE(page, QStringLiteral("vorige Seite"));
    QVERIFY2(error.contains(path), qPrintable(error));
    QVERIFY(error.size() > path.size() + 2); // the reason follows the name
}

void TestPageAssembly::formIdInPageAndCaptcha()
{
    Quiz quiz;
    quiz.setFlag(SettingKey::chkCaptcha, true);
    PageGenerator gen(quiz);
    gen.setTemplatePath(writeTemplate("<!-- FORMID -->\n<!-- CAPTCHA -->\n"));

    // The random draw: each page carries its own id, in the range, in both
    // places.
    QSet<QString> ids;
    for (int i = 0; i < 20; ++i) {
        QString page;
        QVERIFY(gen.generate(&page));
        const QString id = page.section(QStringLiteral("\r\n"), 0, 0);
        bool ok = false;
        const int value = id.toInt(&ok);
        QVERIFY2(ok && value >= 0 && value < 10000000, qPrintable(id));
        QCOMPARE(QString::number(value), id);
        QCOMPARE(gen.formId(), value);
        QVERIFY(page.contains(QStringLiteral("<img src=\"http://localhost:8080/quiz/v13/captcha_img.php?id=") + id + QStringLiteral("\"")));
        ids.insert(id);
    }
    QVERIFY(ids.size() > 1);
}

void TestPageAssembly::formIdPerGeneration()
{
    Quiz quiz;
    PageGenerator gen(quiz);
    gen.setTemplatePath(writeTemplate("<!-- FORMID -->|<!-- FORMID -->\n"));
    QList<int> draws{17, 9999999};
    gen.setFormIdSource([&draws] { return draws.takeFirst(); });
    QString page;
    QVERIFY(gen.generate(&page));
    QCOMPARE(page, QStringLiteral("17|17\r\n"));
    QVERIFY(gen.generate(&page));
    QCOMPARE(page, QStringLiteral("9999999|9999999\r\n"));
    QVERIFY(draws.isEmpty());
}

void TestPageAssembly::normaliseLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CR LF kept") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lone LF") << QStringLiteral("a\nb\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lone CR") << QStringLiteral("a\rb\r") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("CR before CR LF") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no break") << QStringLiteral("\u00e4") << QStringLiteral("\u00e4");
    // Texts are searched in blocks of eight characters: every form of break
    // at every place of two blocks and of the end, with the text around it.
    const struct {
        const char *name;
        const char *form;
        const char *crLf;
    } forms[] = {{"lone LF", "\n", "\r\n"}, {"lone CR", "\r", "\r\n"}, {"CR LF", "\r\n", "\r\n"}, {"CR CR LF", "\r\r\n", "\r\n\r\n"}};
    for (const auto &f : forms) {
        for (int at = 0; at <= 17; ++at) {
            for (const int after : {0, 1, 9}) {
                const QString before(at, QLatin1Char('a')), rest(after, QLatin1Char('b'));
                QTest::addRow("%s at %d, %d after", f.name, at, after)
                    << before + QLatin1String(f.form) + rest << before + QLatin1String(f.crLf) + rest;
            }
        }
    }
}

void TestPageAssembly::normaliseLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(LineBreaks::toCrLf(text), expected);
}

namespace {
// Exports a text as the pipeline hands it over: its bytes in the encoding.
bool exportText(const QString &text, const QString &encoding, const QString &path, QString *error)
{
    GeneratedPage page;
    page.text = text;
    page.bytes = TextCodec::pageBytes(text, encoding);
    return exportPage(page, path, error);
}
} // namespace

void TestPageAssembly::exportEncoding_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("bytes");

    const QString umlauts = QStringLiteral("Gr\u00fc\u00dfe\r\n");
    QTest::newRow("utf-8: two bytes each, no BOM") << umlauts << QStringLiteral("utf-8")
                                                   << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                                 "e\r\n");
    QTest::newRow("iso-8859-1: one byte") << umlauts << QStringLiteral("iso-8859-1")
                                          << QByteArray("Gr\xfc\xdf"
                                                        "e\r\n");
    QTest::newRow("UTF-8 in capitals: two bytes each") << umlauts << QStringLiteral("UTF-8")
                                                       << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                                     "e\r\n");
    QTest::newRow("no encoding: one byte") << umlauts << QString()
                                           << QByteArray("Gr\xfc\xdf"
                                                         "e\r\n");
    QTest::newRow("euro sign in windows-1252") << QStringLiteral("5 \u20ac") << QStringLiteral("iso-8859-1") << QByteArray("5 \x80");
    // What the code page cannot hold is written as the page's language
    // writes it, so that nothing is lost.
    QTest::newRow("outside windows-1252: references") << QStringLiteral("\u03a9\u20ac\u4e2dx") << QStringLiteral("iso-8859-1")
                                                      << QByteArray("&#937;\x80&#20013;x");
    QTest::newRow("outside the BMP: one reference")
        << QStringLiteral("a\U0001F600b") << QStringLiteral("iso-8859-1") << QByteArray("a&#128512;b");
    QTest::newRow("a control character stays")
        << QStringLiteral("a\x1a\u03a9") << QStringLiteral("iso-8859-1") << QByteArray("a\x1a&#937;");
    QTest::newRow("in a script: \\u escapes")
        << QStringLiteral("<p>\u0141</p><SCRIPT type=\"text/javascript\">alert(\"\u0141\U0001F600\");</script>\u0141")
        << QStringLiteral("iso-8859-1")
        << QByteArray("<p>&#321;</p><SCRIPT type=\"text/javascript\">alert(\"\\u0141\\uD83D\\uDE00\");</script>&#321;");
    QTest::newRow("in a style: CSS escapes") << QStringLiteral("<style>h1 { font-family:\u0141ato; }</style><b>\u0141</b>")
                                             << QStringLiteral("iso-8859-1")
                                             << QByteArray("<style>h1 { font-family:\\141 ato; }</style><b>&#321;</b>");
    QTest::newRow("a comment holding <script> is no script")
        << QStringLiteral("<!-- <script> -->\u0141") << QStringLiteral("iso-8859-1") << QByteArray("<!-- <script> -->&#321;");
    QTest::newRow("utf-8 keeps every character")
        << QStringLiteral("\u03a9\U0001F600") << QStringLiteral("utf-8") << QByteArray("\xce\xa9\xf0\x9f\x98\x80");
}

void TestPageAssembly::exportEncoding()
{
    QFETCH(QString, page);
    QFETCH(QString, encoding);
    QFETCH(QByteArray, bytes);

    // An earlier, longer file is replaced entirely.
    const QString path = m_dir->filePath(QStringLiteral("quiz.htm"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'x'));
    }
    QString error;
    QVERIFY2(exportText(page, encoding, path, &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

// The page, and so the export, has every line break CR LF, also those that
// a setting brought in.
void TestPageAssembly::exportedPageHasNoLoneLineBreak()
{
    Quiz quiz;
    quiz.setText(SettingKey::memoEinleitung, QStringLiteral("Zeile 1\nZeile 2\rZeile \u00e4"));
    PageGenerator gen(quiz);
    gen.setTemplatePath(writeTemplate("<p>\n<!-- EINLEITUNGTEXT -->\n</p>"));
    QString page;
    QVERIFY(gen.generate(&page));
    QCOMPARE(page, QStringLiteral("<p>\r\nZeile 1\r\nZeile 2\r\nZeile \u00e4\r\n</p>\r\n"));

    const QString path = m_dir->filePath(QStringLiteral("quiz.htm"));
    PageOptions options;
    options.templatePath = gen.templatePath();
    GeneratedPage generated;
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    QVERIFY(generatePage(quiz, &generated, nullptr, options));
    QVERIFY(exportPage(generated, path, nullptr));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("<p>\r\nZeile 1\r\nZeile 2\r\nZeile \xc3\xa4\r\n</p>\r\n"));
    f.close();
    quiz.setText(SettingKey::encoding, QStringLiteral("iso-8859-1"));
    QVERIFY(generatePage(quiz, &generated, nullptr, options));
    QVERIFY(exportPage(generated, path, nullptr));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("<p>\r\nZeile 1\r\nZeile 2\r\nZeile \xe4\r\n</p>\r\n"));
}

void TestPageAssembly::exportIntoMissingFolder()
{
    const QString folder = m_dir->filePath(QStringLiteral("fehlt"));
    QString error;
    QVERIFY(!exportText(QStringLiteral("<html>\r\n"), QStringLiteral("utf-8"), folder + QStringLiteral("/quiz.htm"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

// The write fails half-way (a file size limit stands in for a full disk):
// the old page stays as it was, no temporary file is left behind, and the
// error names the cause. A short page fails only when it is flushed.
void TestPageAssembly::failedExportKeepsOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("fails when flushed") << 6000;
    QTest::newRow("fails while written") << 100000;
}

void TestPageAssembly::failedExportKeepsOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(int, size);
    const QString path = m_dir->filePath(QStringLiteral("quiz.htm"));
    const QByteArray old = "<html>alte Seite</html>\r\n";
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }

    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool written = exportText(QString(size, QLatin1Char('x')), QStringLiteral("utf-8"), path, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("quiz.htm")});
#else
    QSKIP("needs a file size limit");
#endif
}

// The delivered template with a quiz that uses every placeholder but
// "<!-- INPUTD -->" (the address block stands at the beginning).
void TestPageAssembly::deliveredTemplate()
{
    const QString templatePath = QStringLiteral(PRUVEX_BIN_DIR "/template.htm");
    QFile file(templatePath);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(templatePath));
    const QByteArray templateBytes = file.readAll();
    for (const char c : templateBytes)
        QVERIFY2(uchar(c) < 0x80, "the template is read as windows-1252: keep it ASCII");

    Quiz quiz;
    apply(quiz, {{"chkCaptcha", true},
                 {"chkPrintButton", true},
                 {"chkShowAdress", true},
                 {"rdBegin", true},
                 {"chkName", true},
                 {"chkForName", true},
                 {"chkEmail", true},
                 {"encoding", "utf-8"},
                 {"CaptchaErrorPage", "http://localhost/fehler.htm"},
                 {"memoTextEnde", "Viel Erfolg!"}});
    addQuestions(quiz, {required(simple(QStringLiteral("Hauptstadt?"), {QStringLiteral("Berlin")})),
                        multi(QStringLiteral("Farben?"), {{QStringLiteral("Rot"), true}, {QStringLiteral("Blau"), false}}),
                        single(QStringLiteral("Sicher?"), {{QStringLiteral("ja"), true}, {QStringLiteral("nein"), false}})});
    PageGenerator gen(quiz);
    gen.setTemplatePath(templatePath);
    gen.setFormIdSource([] { return 4711; });
    QString page;
    QString error;
    QVERIFY2(gen.generate(&page, &error), qPrintable(error));

    // clang-format off
    const QStringList placeholders = {
        "CSS", "JSCRIPT", "SETTINGS", "TITLE", "ENCODING", "FORMMAIL",
        "ERRORPAGES", "TEXTAUSWERTHEAD", "TEXTAUSWERT", "BGCOLOR", "TABLECOLOR", "TEXTCOLOR",
        "HEADINGCOLOR", "HEADINGFONT", "HEADINGFONTSIZE", "NORMALFONT", "NORMALFONTSIZE", "TABLEWIDTH",
        "TITLETAG", "QUESTIONCOUNT", "QUESTIONTYP", "QUESTIONANSWERCOUNT", "QUESTIONS", "ANSWERS",
        "ALLANSWERS", "SHOWUSERANSWERS", "CHKSHOWUSERCORRECTANSWERS", "SHOWPICDIAGRAMM", "SUBJECT", "ADMIN",
        "FORMID", "SETTINGSC", "CAPTCHA", "BEITE", "FORMTITLE", "EINLEITUNGTEXT",
        "FIELDS", "INPUTF", "INPUTD", "TEXTENDE", "SENDBUTTON", "RESETBUTTON",
        "PRINTBUTTON", "CLASS"};
    // clang-format on
    QCOMPARE(placeholders.size(), 44);
    for (const QString &name : placeholders) {
        const QString placeholder = "<!-- " + name + " -->";
        const int expected = name == QLatin1String("INPUTD") ? 1 : 0;
        QVERIFY2(page.count(placeholder) == expected, qPrintable(placeholder));
    }
    // The placeholders the generated parts need, each where it belongs.
    for (const char *needed : {"CSS", "JSCRIPT", "FORMMAIL", "FIELDS", "CAPTCHA", "INPUTF", "INPUTD", "SENDBUTTON", "RESETBUTTON", "CLASS",
                               "PRINTBUTTON", "TITLETAG", "FORMTITLE", "EINLEITUNGTEXT", "TEXTENDE", "TABLEWIDTH"})
        QVERIFY2(templateBytes.contains(QByteArray(QByteArray("<!-- ") + needed + " -->")), needed);

    QVERIFY(page.startsWith(QLatin1String("<!DOCTYPE html>\r\n")));
    QVERIFY(page.endsWith(QLatin1String("</html>\r\n")));
    QVERIFY(!page.contains(QRegularExpression(QStringLiteral("\r(?!\n)|(?<!\r)\n"))));
    QCOMPARE(page.count(QStringLiteral("<meta charset=\"utf-8\">")), 1);
    QVERIFY(page.contains(QStringLiteral("<meta name=\"viewport\"")));
    QVERIFY(page.contains(QStringLiteral("<title>Online Quiz</title>")));
    QVERIFY(page.contains(QStringLiteral("<h1>Online Quiz</h1>")));
    QVERIFY(page.contains(QStringLiteral("width=\"500\"")));
    QVERIFY(page.contains(QRegularExpression(QStringLiteral("<table class=\"[^\"]*\\btableback\\b[^\"]*\" width=\"500\">"))));

    const int headEnd = page.indexOf(QStringLiteral("</head>"));
    QVERIFY(headEnd > 0);
    QVERIFY(page.indexOf(QStringLiteral("<style>\r\n<!--\r\nbody { background-color:#C0C0C0;  }")) < headEnd);
    const int script = page.indexOf(QStringLiteral("function chkFormular()"));
    QVERIFY(script > 0 && script < headEnd);
    QVERIFY(page.contains(QStringLiteral("if(document.PRUVEX.Frage1_0.value == \"\")  {")));
    QVERIFY(page.contains(QStringLiteral("if(document.PRUVEX.LName.value == \"\")  {")));

    // One form PRUVEX, posting to the quiz script and checked on submission.
    const QRegularExpression formTag(QStringLiteral("<form\\b[^>]*>"));
    QCOMPARE(page.count(formTag), 1);
    const QString tag = formTag.match(page).captured();
    for (const char *attribute : {"name=\"PRUVEX\"", "id=\"PRUVEX\"", "action=\"http://localhost:8080/quiz/v13/quiz.php\"",
                                  "method=\"post\"", "onsubmit=\"try { return chkFormular(); } catch (e) { return false; }\""})
        QVERIFY2(tag.contains(QLatin1String(attribute)), qPrintable(tag));
    const int formStart = page.indexOf(tag);
    const int formEnd = page.indexOf(QStringLiteral("</form>"));
    QCOMPARE(page.count(QStringLiteral("</form>")), 1);
    const QString form = page.mid(formStart, formEnd - formStart);

    // Inside the form: the address row, the questions, the captcha, in this
    // order, then the closing text and the buttons.
    const int address = form.indexOf(QRegularExpression(QStringLiteral("<tr>\\s*<td>\\s*<b>Bitte geben Sie hier Ihre Daten ein:</b>")));
    const int question1 = form.indexOf(QStringLiteral("<input name=\"Frage1_0\""));
    const int question3 = form.indexOf(QStringLiteral("<label><input type=\"radio\" name=\"Frage3\" value=\"1\"> nein</label><br>"));
    const int captcha = form.indexOf(QStringLiteral("name=\"captcha_input\""));
    const int closing = form.indexOf(QStringLiteral("Viel Erfolg!"));
    const int send = form.indexOf(QRegularExpression(QStringLiteral("<input type=\"submit\"[^>]* value=\"Absenden\" ?>")));
    const int reset = form.indexOf(QRegularExpression(QStringLiteral("<input type=\"reset\"[^>]* value=\"Zur\u00fccksetzen\" ?>")));
    const int print = form.indexOf(QStringLiteral("<input type=\"button\" name=\"print\" value=\"Drucken\""));
    QVERIFY(address >= 0);
    QVERIFY(address < question1 && question1 < question3 && question3 < captcha && captcha < closing);
    QVERIFY(closing < send && send < reset && reset < print);
    QVERIFY(form.contains(QStringLiteral("captcha_img.php?id=4711\"")));

    // Every hidden field, in the form, each on its own line.
    const QStringList hidden = {
        "<input type=\"hidden\" name=\"settings\" value=\"cebr\">",
        "<input type=\"hidden\" name=\"settingsc\" value=\"Y2Vicg==\">",
        "<input type=\"hidden\" name=\"admin\" value=\"\">",
        "<input type=\"hidden\" name=\"subject\" value=\"Online Quiz\">",
        "<input type=\"hidden\" name=\"formid\" value=\"4711\">",
        "<input type=\"hidden\" name=\"questioncount\" value=\"3\">",
        "<input type=\"hidden\" name=\"auswertung_header\" value=\"Auswertung Quiz\">",
        "<input type=\"hidden\" name=\"auswertung_text\" value=\"VmllbGVuIERhbmsgZvxyIGRpZSBUZWlsbmFobWUgYW4gdW5zZXJlbSBRdWl6Lg==\">",
        "<input type=\"hidden\" name=\"show_user_answers\" value=\"false\">",
        "<input type=\"hidden\" name=\"show_correct_answers\" value=\"false\">",
        "<input type=\"hidden\" name=\"show_diagram\" value=\"true\">",
        "<input type=\"hidden\" name=\"encoding\" value=\"utf-8\">",
        "  <input type=\"hidden\" name=\"settings_error_captcha\" value=\"aHR0cDovL2xvY2FsaG9zdC9mZWhsZXIuaHRt\">",
        "  <input type=\"hidden\" name=\"typeFrage0\" value=\"TSimpleQuestion\">",
        "  <input type=\"hidden\" name=\"typeFrage2\" value=\"TSingleQuestion\">",
        "  <input type=\"hidden\" name=\"countFrage1\" value=\"2\">",
        "  <input type=\"hidden\" name=\"beschrFrage2\" value=\"Sicher?\">",
        "  <input type=\"hidden\" name=\"FA0\" value=\"VXJle355\">",
        "  <input type=\"hidden\" name=\"FA2\" value=\"J2t9dg==\">",
        "  <input type=\"hidden\" name=\"FA_USER_1_0\" value=\"Um90\">",
        "  <input type=\"hidden\" name=\"FA_USER_2_1\" value=\"bmVpbg==\">",
    };
    for (const QString &line : hidden)
        QVERIFY2(form.contains("\r\n" + line + "\r\n"), qPrintable(line));

    // Balanced where the generated parts are balanced.
    QCOMPARE(page.count(QRegularExpression(QStringLiteral("<table\\b"))), page.count(QStringLiteral("</table>")));
    QCOMPARE(page.count(QRegularExpression(QStringLiteral("<tr\\b"))), page.count(QStringLiteral("</tr>")));
    for (const char *element : {"html", "head", "body", "main", "title", "h1"}) {
        QCOMPARE(page.count(QRegularExpression(QStringLiteral("<%1\\b").arg(QLatin1String(element)))), 1);
        QCOMPARE(page.count(QStringLiteral("</%1>").arg(QLatin1String(element))), 1);
    }
}

QTEST_GUILESS_MAIN(TestPageAssembly)
#include "tst_pageassembly.moc"
