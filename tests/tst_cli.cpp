// Runs the built pruvex-cli as a user would, with its per-user folder in a
// temporary folder, and checks its output, its files and its exit status.

#include "qttranslations.h"
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kCli = QStringLiteral(PRUVEX_BIN_DIR "/pruvex-cli");
const QString kNotAProject = QStringLiteral("Die Datei scheint keine Pruvex Datei zu sein.");

// The seed list beside the program, byte for byte.
const QByteArray kSeedList = "<xml>\n"
                             "  <formmailers>\n"
                             "    <formmail>http://localhost:8080/quiz/v13/quiz.php</formmail>\n"
                             "  </formmailers>\n"
                             "</xml>\n";

// A project with every flag the reader requires (all off but rdEnd), the
// given setting elements and the given content of ItemList. Settings it
// leaves out get the reader's defaults.
QByteArray project(const QByteArray &settings, const QByteArray &items = QByteArray(), const QByteArray &leaveOut = QByteArray())
{
    QByteArray flags;
    for (const SettingDef &def : Settings::all()) {
        if (def.readRule != ReadRule::RequiredFlag)
            continue;
        const char *f = def.key;
        if (leaveOut == f || settings.contains(QByteArray("<") + f + ">"))
            continue;
        const QByteArray value = QByteArray(f) == "rdEnd" ? "-1" : "0";
        flags += QByteArray("    <") + f + ">" + value + "</" + f + ">\n";
    }
    return "<xml>\n  <FileInfo>\n    <Prog>Pruvex</Prog>\n    <Version>2</Version>\n  </FileInfo>\n  <FileContent>\n" + settings + flags +
           "    <ItemList>\n" + items + "    </ItemList>\n  </FileContent>\n</xml>\n";
}

QJsonObject parseObject(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull())
        qWarning() << "not JSON:" << error.errorString() << json.left(200);
    return doc.object();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void showGivesTheProjectAsJson();
    void buildThenShowGivesTheJsonBack();
    void buildRefusesWrongInput_data();
    void buildRefusesWrongInput();
    void buildReportsAWriteError();

    void exportWritesTheEncoding_data();
    void exportWritesTheEncoding();
    void exportWithFormIdIsReproducible();
    void exportNamesThePageAfterTheProject();
    void exportWithoutTemplateWritesNothing();
    void brokenProjectFails_data();
    void brokenProjectFails();

    void refusedInputs_data();
    void refusedInputs();
    void addressList_data();
    void addressList();

    void usageErrors_data();
    void usageErrors();

private:
    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Result cli(const QStringList &args);
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes);
    QByteArray read(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCli::initTestCase()
{
    QVERIFY2(QFile::exists(kCli), qPrintable(kCli + QStringLiteral(" is missing: build the target pruvex-cli first")));
}

void TestCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

TestCli::Result TestCli::cli(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("xdg")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir->path());
    p.start(kCli, args);
    Result r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        qWarning() << "pruvex-cli did not finish normally:" << args;
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString TestCli::write(const QString &name, const QByteArray &bytes)
{
    const QString file = path(name);
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning() << "cannot write" << file;
    return file;
}

QByteArray TestCli::read(const QString &name) const
{
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void TestCli::showGivesTheProjectAsJson()
{
    const QByteArray settings = "    <edtFormTitel>Quiz &amp; Co &lt;b&gt;</edtFormTitel>\n"
                                "    <memoEinleitung>Zeile 1\r\r\nZeile 2</memoEinleitung>\n"
                                "    <edtHGColor>ff0000</edtHGColor>\n"
                                "    <edtHeaderColor>c0ffee</edtHeaderColor>\n"
                                "    <encoding>utf-8</encoding>\n"
                                "    <chkShowAdress>-1</chkShowAdress>\n"
                                "    <chkName>True</chkName>\n"
                                "    <chkCaptcha>1</chkCaptcha>\n"
                                "    <cboFormMailer>http://example.org/quiz.php</cboFormMailer>\n"
                                "    <edtSendenButton>Los geht’s</edtSendenButton>\n";
    const QByteArray items = "      <forms>\n"
                             "        <typ>TSingleQuestion</typ>\n"
                             "        <name>eins</name>\n"
                             "        <beschriftung>Hauptstadt?</beschriftung>\n"
                             "        <pflicht>-1</pflicht>\n"
                             "        <meldung/>\n"
                             "        <tipp>http://example.org/tipp</tipp>\n"
                             "        <hinweis>a\r\r\nb</hinweis>\n"
                             "        <bild/>\n"
                             "        <answers>\n"
                             "          <answer>\n            <text>Berlin</text>\n            <right>-1</right>\n          </answer>\n"
                             "          <answer>\n            <text>Bonn</text>\n            <right>0</right>\n          </answer>\n"
                             "        </answers>\n"
                             "      </forms>\n"
                             "      <forms>\n"
                             "        <typ>TSimpleQuestion</typ>\n"
                             "        <name/>\n"
                             "        <beschriftung>Zwei Städte</beschriftung>\n"
                             "        <groesse>15</groesse>\n"
                             "        <maxLaenge>abc</maxLaenge>\n"
                             "        <pflicht>0</pflicht>\n"
                             "        <meldung>Bitte ausfüllen</meldung>\n"
                             "        <tipp/>\n"
                             "        <hinweis/>\n"
                             "        <bild>bild.png</bild>\n"
                             "        <answers>\n          <answer>Köln</answer>\n          <answer> </answer>\n        </answers>\n"
                             "      </forms>\n"
                             "      <forms>\n"
                             "        <typ>TMultiQuestion</typ>\n"
                             "        <name>drei</name>\n"
                             "        <beschriftung/>\n"
                             "        <pflicht>0</pflicht>\n"
                             "        <meldung/>\n"
                             "        <tipp/>\n"
                             "        <hinweis/>\n"
                             "        <bild/>\n"
                             "        <answers>\n        </answers>\n"
                             "      </forms>\n";
    write(QStringLiteral("p.pvx"), project(settings, items));

    const Result r = cli({QStringLiteral("show"), QStringLiteral("p.pvx")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    const QJsonObject json = parseObject(r.out);
    QCOMPARE(json.keys(), QStringList({QStringLiteral("questions"), QStringLiteral("settings")}));

    // Every setting, flags as booleans and all others as strings.
    const QJsonObject s = json.value(QStringLiteral("settings")).toObject();
    QCOMPARE(s.size(), 77);
    for (const SettingDef &def : Settings::all()) {
        const QJsonValue v = s.value(QLatin1String(def.key));
        QVERIFY2(def.kind == SettingKind::Flag ? v.isBool() : v.isString(), def.key);
    }
    const struct {
        const char *key;
        QJsonValue value;
    } expected[] = {
        {"edtFormTitel", QStringLiteral("Quiz & Co <b>")},
        {"memoEinleitung", QStringLiteral("Zeile 1\r\nZeile 2")},
        // A colour text whose value changed on the load comes back in upper case;
        // a missing one is read as empty, which gives black.
        {"edtHGColor", QStringLiteral("FF0000")},
        {"edtHeaderColor", QStringLiteral("C0FFEE")},
        {"edtTextColor", QStringLiteral("000000")},
        {"encoding", QStringLiteral("utf-8")},
        {"ProjectSettings_url", QStringLiteral("http://")},
        {"chkShowAdress", true},
        {"chkName", true},
        {"chkVorname", false},
        {"rdEnd", true},
        {"chkCaptcha", true},
        {"chkShowUserCorrectAnswers", true},
        {"cboStandardButton", true},
        {"edtCaptchaText1", QStringLiteral("Spam-Schutz")},
        {"cboFormMailer", QStringLiteral("http://example.org/quiz.php")},
        {"edtSendenButton", QStringLiteral("Los geht’s")},
        {"edtCancelButton", QString()},
    };
    for (const auto &e : expected)
        QVERIFY2(s.value(QLatin1String(e.key)) == e.value, e.key);

    const QJsonArray questions = parseObject(R"({"q": [
        {"typ": "TSingleQuestion", "name": "eins", "beschriftung": "Hauptstadt?", "pflicht": true, "meldung": "",
         "tipp": "http://example.org/tipp", "hinweis": "a\r\nb", "bild": "",
         "answers": [{"text": "Berlin", "right": true}, {"text": "Bonn", "right": false}]},
        {"typ": "TSimpleQuestion", "name": "", "beschriftung": "Zwei Städte", "groesse": "15", "maxLaenge": "abc",
         "pflicht": false, "meldung": "Bitte ausfüllen", "tipp": "", "hinweis": "", "bild": "bild.png",
         "answers": ["Köln", " "]},
        {"typ": "TMultiQuestion", "name": "drei", "beschriftung": "", "pflicht": false, "meldung": "",
         "tipp": "", "hinweis": "", "bild": "", "answers": []}
    ]})")
                                     .value(QStringLiteral("q"))
                                     .toArray();
    QCOMPARE(json.value(QStringLiteral("questions")).toArray(), questions);
}

void TestCli::buildThenShowGivesTheJsonBack()
{
    const QByteArray input = R"({
        "settings": {
            "edtFormTitel": "Erdkunde <i>&</i> \"mehr\"",
            "memoEinleitung": "Hallo\r\nWelt\r\n\r\nEnde",
            "memoTextEnde": "a\n\nb",
            "edtHGColor": "ff8800",
            "edtTabColor": "EEEEEE",
            "edtSizeHeader": "abc",
            "chkCaptcha": true,
            "chkShowAdress": true,
            "rdBegin": true,
            "cboStandardButton": false,
            "ProjectSettings_comment": "Zeile 1\r\nZeile 2",
            "cboFormMailer": "http://example.org/q.php"
        },
        "questions": [
            {"typ": "TMultiQuestion", "name": "m", "beschriftung": "<span style=\"color:red\">Farbe?</span>", "pflicht": true,
             "meldung": "Bitte!", "tipp": "", "hinweis": "zwei\r\nZeilen", "bild": "b.png",
             "answers": [{"text": "rot", "right": true}, {"text": "grün", "right": true}, {"text": "", "right": false}]},
            {"typ": "TSimpleQuestion", "name": "s", "beschriftung": "Frei", "groesse": "15", "maxLaenge": "100", "pflicht": false,
             "meldung": "", "tipp": "t.htm", "hinweis": "", "bild": "", "answers": ["eins", "zwei\r\ndrei", "  "]},
            {"typ": "TSingleQuestion", "name": "", "beschriftung": "Leer", "pflicht": false,
             "meldung": "", "tipp": "", "hinweis": "", "bild": "", "answers": []}
        ]
    })";
    write(QStringLiteral("in.json"), input);
    Result r = cli({QStringLiteral("build"), QStringLiteral("in.json"), QStringLiteral("-o"), QStringLiteral("p.pvx")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    r = cli({QStringLiteral("show"), QStringLiteral("p.pvx")});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject shown = parseObject(r.out);
    const QJsonObject in = parseObject(input);

    QCOMPARE(shown.value(QStringLiteral("questions")), in.value(QStringLiteral("questions")));
    const QJsonObject s = shown.value(QStringLiteral("settings")).toObject();
    QJsonObject expected = in.value(QStringLiteral("settings")).toObject();
    // The colour text takes the form a load gives it, and line breaks the
    // form the quiz holds them in.
    expected.insert(QStringLiteral("edtHGColor"), QStringLiteral("FF8800"));
    expected.insert(QStringLiteral("memoTextEnde"), QStringLiteral("a\r\n\r\nb"));
    // rdBegin and rdEnd are one radio group.
    expected.insert(QStringLiteral("rdEnd"), false);
    // Keys the JSON leaves out keep the values of a new quiz, the default
    // project included ("encoding" starts empty and the default project sets it).
    expected.insert(QStringLiteral("encoding"), QStringLiteral("iso-8859-1"));
    expected.insert(QStringLiteral("edtSendenButton"), QStringLiteral("Absenden"));
    expected.insert(QStringLiteral("chkShowAuswertung"), true);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QVERIFY2(s.value(it.key()) == it.value(), qPrintable(it.key()));

    // The whole output built again gives the same project and the same JSON.
    write(QStringLiteral("shown.json"), r.out);
    QCOMPARE(cli({QStringLiteral("build"), QStringLiteral("shown.json"), QStringLiteral("-o"), QStringLiteral("q.pvx")}).exitCode, 0);
    QCOMPARE(read(QStringLiteral("q.pvx")), read(QStringLiteral("p.pvx")));
    QCOMPARE(cli({QStringLiteral("show"), QStringLiteral("q.pvx")}).out, r.out);
}

void TestCli::buildRefusesWrongInput_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("named");

    const QByteArray simple = R"("typ": "TSimpleQuestion", "name": "", "beschriftung": "F", "groesse": "15", "maxLaenge": "100",
                                 "meldung": "", "tipp": "", "hinweis": "", "bild": "")";
    const QByteArray multi = R"("typ": "TMultiQuestion", "name": "", "beschriftung": "F", "pflicht": false,
                                "meldung": "", "tipp": "", "hinweis": "", "bild": "")";

    QTest::newRow("flag given as text") << QByteArray(R"({"settings": {"chkCaptcha": "yes"}})")
                                        << QStringList{"settings.chkCaptcha", "\"yes\""};
    QTest::newRow("text given as flag") << QByteArray(R"({"settings": {"edtFormTitel": true}})") << QStringList{"settings.edtFormTitel"};
    QTest::newRow("number given as number") << QByteArray(R"({"settings": {"edtSizeHeader": 12}})")
                                            << QStringList{"settings.edtSizeHeader"};
    QTest::newRow("unknown setting") << QByteArray(R"({"settings": {"edtFoo": "x", "edtFormTitel": "ok"}})")
                                     << QStringList{"settings.edtFoo"};
    QTest::newRow("unknown top-level key") << QByteArray(R"({"setting": {}})") << QStringList{"setting:"};
    QTest::newRow("settings not an object") << QByteArray(R"({"settings": []})") << QStringList{"settings"};
    QTest::newRow("questions not a list") << QByteArray(R"({"questions": {}})") << QStringList{"questions"};
    QTest::newRow("unknown kind") << QByteArray(R"({"questions": [{"typ": "TFoo"}]})") << QStringList{"questions[0].typ", "TFoo"};
    QTest::newRow("kind missing") << QByteArray(R"({"questions": [{"name": "x"}]})") << QStringList{"questions[0].typ"};
    QTest::newRow("member missing in the second question")
        << QByteArray("{\"questions\": [{" + simple + R"(, "pflicht": true, "answers": []}, {)" + simple + R"(, "answers": []}]})")
        << QStringList{"questions[1].pflicht"};
    QTest::newRow("member of the wrong kind") << QByteArray("{\"questions\": [{" + simple + R"(, "pflicht": "ja", "answers": []}]})")
                                              << QStringList{"questions[0].pflicht"};
    QTest::newRow("free-text answer not a string")
        << QByteArray("{\"questions\": [{" + simple + R"(, "pflicht": true, "answers": [1]}]})") << QStringList{"questions[0].answers[0]"};
    QTest::newRow("option without right") << QByteArray("{\"questions\": [{" + multi + R"(, "answers": [{"text": "a"}]}]})")
                                          << QStringList{"questions[0].answers[0].right"};
    QTest::newRow("option with right as number")
        << QByteArray("{\"questions\": [{" + multi + R"(, "answers": [{"text": "a", "right": 1}]}]})")
        << QStringList{"questions[0].answers[0].right"};
    QTest::newRow("size on a choice question") << QByteArray("{\"questions\": [{" + multi + R"(, "groesse": "15", "answers": []}]})")
                                               << QStringList{"questions[0].groesse"};
    QTest::newRow("not JSON") << QByteArray(R"({"settings": )") << QStringList{"in.json", "JSON"};
    QTest::newRow("not an object") << QByteArray("[]") << QStringList{"JSON-Objekt"};
}

void TestCli::buildRefusesWrongInput()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, named);
    write(QStringLiteral("in.json"), json);
    const Result r = cli({QStringLiteral("build"), QStringLiteral("in.json"), QStringLiteral("-o"), QStringLiteral("p.pvx")});
    QCOMPARE(r.exitCode, 1);
    for (const QString &name : named)
        QVERIFY2(QString::fromUtf8(r.err).contains(name), r.err.constData());
    QVERIFY(!QFile::exists(path(QStringLiteral("p.pvx"))));
}

void TestCli::buildReportsAWriteError()
{
    write(QStringLiteral("in.json"), "{}");
    const Result r = cli({QStringLiteral("build"), QStringLiteral("in.json"), QStringLiteral("-o"), QStringLiteral("fehlt/p.pvx")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("Die Projektdatei kann nicht geschrieben werden: fehlt/p.pvx"), r.err.constData());
}

void TestCli::exportWritesTheEncoding_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QByteArray>("page");

    // "€" is in windows-1252, "ā" is not: it becomes a character reference.
    const QByteArray cp1252 = "<title>Gr\xFC\xDF"
                              "e \x80 &#257;</title>\r\n";
    QTest::newRow("utf-8") << QByteArray("utf-8")
                           << QByteArray("<title>Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x82\xAC \xC4\x81</title>\r\n<p>utf-8</p>\r\n");
    QTest::newRow("iso-8859-1") << QByteArray("iso-8859-1") << QByteArray(cp1252 + "<p>iso-8859-1</p>\r\n");
    QTest::newRow("UTF-8 in capitals") << QByteArray("UTF-8")
                                       << QByteArray("<title>Gr\xC3\xBC\xC3\x9F"
                                                     "e \xE2\x82\xAC \xC4\x81</title>\r\n<p>UTF-8</p>\r\n");
    QTest::newRow("missing") << QByteArray() << QByteArray(cp1252 + "<p>iso-8859-1</p>\r\n");
}

void TestCli::exportWritesTheEncoding()
{
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, page);
    const QByteArray element = encoding.isNull() ? QByteArray() : "    <encoding>" + encoding + "</encoding>\n";
    write(QStringLiteral("p.pvx"), project("    <edtFormTitel>Grüße € ā</edtFormTitel>\n" + element));
    // A template with LF line ends: the page has CR LF throughout.
    write(QStringLiteral("t.htm"), "<title><!-- TITLE --></title>\n<p><!-- ENCODING --></p>\n");
    const Result r = cli({QStringLiteral("export"), QStringLiteral("p.pvx"), QStringLiteral("-o"), QStringLiteral("out.htm"),
                          QStringLiteral("--template"), QStringLiteral("t.htm")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(read(QStringLiteral("out.htm")), page);
}

void TestCli::exportWithFormIdIsReproducible()
{
    write(QStringLiteral("p.pvx"), project("    <chkCaptcha>-1</chkCaptcha>\n"
                                           "    <cboFormMailer>http://example.org/quiz.php</cboFormMailer>\n"));
    // With the template beside the program, twice.
    for (const char *out : {"a.htm", "b.htm"})
        QCOMPARE(cli({QStringLiteral("export"), QStringLiteral("p.pvx"), QStringLiteral("--form-id"), QStringLiteral("4711"),
                      QStringLiteral("-o"), QLatin1String(out)})
                     .exitCode,
                 0);
    QVERIFY(!read(QStringLiteral("a.htm")).isEmpty());
    QCOMPARE(read(QStringLiteral("a.htm")), read(QStringLiteral("b.htm")));

    // The id reaches the form and the captcha picture.
    write(QStringLiteral("t.htm"), "<!-- FORMID -->\n<!-- CAPTCHA -->\n");
    QCOMPARE(cli({QStringLiteral("export"), QStringLiteral("p.pvx"), QStringLiteral("--form-id"), QStringLiteral("4711"),
                  QStringLiteral("--template"), QStringLiteral("t.htm"), QStringLiteral("-o"), QStringLiteral("c.htm")})
                 .exitCode,
             0);
    const QByteArray page = read(QStringLiteral("c.htm"));
    QVERIFY2(page.startsWith("4711\r\n"), page.constData());
    QVERIFY2(page.contains("<img src=\"http://example.org/captcha_img.php?id=4711\""), page.constData());
}

void TestCli::exportNamesThePageAfterTheProject()
{
    write(QStringLiteral("sub/quiz.v2.pvx"), project(QByteArray()));
    const Result r = cli({QStringLiteral("export"), QStringLiteral("sub/quiz.v2.pvx")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QDir(path(QStringLiteral("sub"))).entryList(QDir::Files, QDir::Name), QStringList({"quiz.v2.htm", "quiz.v2.pvx"}));
    QVERIFY(!read(QStringLiteral("sub/quiz.v2.htm")).isEmpty());

    // A project that is itself named *.htm is never replaced by its page.
    write(QStringLiteral("quiz.htm"), project(QByteArray()));
    QCOMPARE(cli({QStringLiteral("export"), QStringLiteral("quiz.htm")}).exitCode, 1);
    QCOMPARE(read(QStringLiteral("quiz.htm")), project(QByteArray()));
}

void TestCli::exportWithoutTemplateWritesNothing()
{
    write(QStringLiteral("p.pvx"), project(QByteArray()));
    write(QStringLiteral("out.htm"), "alte Seite");
    const QString missing = path(QStringLiteral("fehlt.htm"));
    const Result r = cli({QStringLiteral("export"), QStringLiteral("p.pvx"), QStringLiteral("--template"), missing, QStringLiteral("-o"),
                          QStringLiteral("out.htm")});
    QCOMPARE(r.exitCode, 1);
    // The platform's reason, in Qt's German as the tool speaks it.
    QtTranslations::installGerman({QStringLiteral("qtbase")});
    QFile f(missing);
    QVERIFY(!f.open(QIODevice::ReadOnly));
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(missing) && err.contains(f.errorString()), r.err.constData());
    QCOMPARE(read(QStringLiteral("out.htm")), QByteArray("alte Seite"));
}

void TestCli::brokenProjectFails_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not XML") << QByteArray("Das ist kein XML.");
    QTest::newRow("Prog in other letter case") << QByteArray(project(QByteArray()).replace("<Prog>Pruvex</Prog>", "<Prog>pruvex</Prog>"));
    QTest::newRow("required flag missing") << project(QByteArray(), QByteArray(), "chkShowAdress");
    QTest::newRow("question of unknown kind") << project(QByteArray(), "      <forms>\n        <typ>TFoo</typ>\n      </forms>\n");
    QTest::newRow("cut off") << project(QByteArray()).left(300);
}

void TestCli::brokenProjectFails()
{
    QFETCH(QByteArray, content);
    const QString file = content.isNull() ? path(QStringLiteral("p.pvx")) : write(QStringLiteral("p.pvx"), content);

    Result r = cli({QStringLiteral("export"), file});
    QCOMPARE(r.exitCode, 1);
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.startsWith(kNotAProject + QLatin1Char('\n')) && err.contains(file), r.err.constData());
    QVERIFY(!QFile::exists(path(QStringLiteral("p.htm"))));

    r = cli({QStringLiteral("show"), file});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QVERIFY(QString::fromUtf8(r.err).startsWith(kNotAProject));
}

void TestCli::refusedInputs_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("content"); // of p.pvx
    QTest::addColumn<QString>("message");    // a part of standard error
    QTest::addColumn<QString>("unwritten");  // a file that must not appear

    QTest::newRow("show an endless device") << QStringList{"show", "/dev/zero"} << QByteArray()
                                            << QStringLiteral("/dev/zero (Die Datei ist größer als 32 MB.)") << QString();
    QTest::newRow("show, read error after opening")
        << QStringList{"show", "/proc/self/mem"} << QByteArray() << QStringLiteral("(Die Datei kann nicht gelesen werden: ") << QString();
    QTest::newRow("show a file nested too deep")
        << QStringList{"show", "p.pvx"} << project(QByteArray(), QByteArray("<a>").repeated(300000) + QByteArray("</a>").repeated(300000))
        << QStringLiteral("tiefer als 256 Ebenen") << QString();
    QTest::newRow("build from an endless device") << QStringList{"build", "/dev/zero", "-o", "neu.pvx"} << QByteArray()
                                                  << QStringLiteral("Die JSON-Daten sind größer als 32 MB.") << QStringLiteral("neu.pvx");
    // An encoding (which goes into the page as it stands) whose copies of a
    // later step's placeholder multiply a long introduction.
    QTest::newRow("export of chained placeholders")
        << QStringList{"export", "p.pvx"}
        << project("    <memoEinleitung>" + QByteArray(1 << 20, 'x') + "</memoEinleitung>\n"
                   "    <encoding>" + QByteArray("&lt;!-- EINLEITUNGTEXT --&gt;").repeated(70) + "</encoding>\n")
        << QStringLiteral("Die Seite würde länger als 32 Millionen Zeichen") << QStringLiteral("p.htm");
}

void TestCli::refusedInputs()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, unwritten);
    if (!content.isNull())
        write(QStringLiteral("p.pvx"), content);
    const Result r = cli(args);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    if (!unwritten.isEmpty())
        QVERIFY(!QFile::exists(path(unwritten)));
}

void TestCli::addressList_data()
{
    QTest::addColumn<QByteArray>("userList"); // null: the user has none yet
    QTest::addColumn<QByteArray>("address");  // cboFormMailer in the project
    QTest::addColumn<QString>("loaded");

    const QByteArray own = "<xml>\n  <formmailers>\n    <formmail>https://quiz.example.org/quiz.php</formmail>\n"
                           "    <formmail>https://zwei.example.org/quiz.php</formmail>\n  </formmailers>\n</xml>\n";
    QTest::newRow("seeded from the program's folder")
        << QByteArray() << QByteArray() << QStringLiteral("http://localhost:8080/quiz/v13/quiz.php");
    QTest::newRow("the user's first entry") << own << QByteArray() << QStringLiteral("https://quiz.example.org/quiz.php");
    QTest::newRow("an address in the project stays")
        << own << QByteArray("http://mein.example.org/quiz.php") << QStringLiteral("http://mein.example.org/quiz.php");
    QTest::newRow("an empty list leaves it empty") << QByteArray("<xml>\n  <formmailers/>\n</xml>\n") << QByteArray() << QString();
    QTest::newRow("a list nested 300000 deep is no list")
        << "<xml><formmailers>" + QByteArray("<formmail>").repeated(300000) + QByteArray("</formmail>").repeated(300000) +
               "</formmailers></xml>"
        << QByteArray() << QString();
}

void TestCli::addressList()
{
    QFETCH(QByteArray, userList);
    QFETCH(QByteArray, address);
    QFETCH(QString, loaded);
    const QString userFile = QStringLiteral("xdg/Pruvex/formmailers.xml");
    if (!userList.isNull())
        write(userFile, userList);
    write(QStringLiteral("p.pvx"), project("    <cboFormMailer>" + address + "</cboFormMailer>\n"));

    const Result r = cli({QStringLiteral("show"), QStringLiteral("p.pvx")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(parseObject(r.out).value(QStringLiteral("settings")).toObject().value(QStringLiteral("cboFormMailer")).toString(), loaded);
    // The user's list is seeded when missing and never replaced.
    QCOMPARE(read(userFile), userList.isNull() ? kSeedList : userList);
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("said"); // part of the message, where it matters
    QTest::newRow("no command") << QStringList() << QString();
    QTest::newRow("unknown command") << QStringList{"zeige", "p.pvx"} << QString();
    QTest::newRow("show without project") << QStringList{"show"} << QString();
    QTest::newRow("show with two projects") << QStringList{"show", "p.pvx", "q.pvx"} << QString();
    QTest::newRow("show with -o") << QStringList{"show", "p.pvx", "-o", "x.json"} << QString();
    QTest::newRow("build without -o") << QStringList{"build", "in.json"} << QString();
    QTest::newRow("build with --form-id") << QStringList{"build", "in.json", "-o", "p.pvx", "--form-id", "1"} << QString();
    QTest::newRow("export with a form id that is no number") << QStringList{"export", "p.pvx", "--form-id", "abc"} << QString();
    QTest::newRow("export with a negative form id") << QStringList{"export", "p.pvx", "--form-id", "-3"} << QString();
    QTest::newRow("unknown option") << QStringList{"export", "p.pvx", "--bogus"} << QString();
    // Qt's own message, in German.
    QTest::newRow("option without value") << QStringList{"export", "p.pvx", "-o"} << QStringLiteral("Nach '-o' fehlt der Wert.");
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, said);
    write(QStringLiteral("p.pvx"), project(QByteArray()));
    write(QStringLiteral("in.json"), "{}");
    const Result r = cli(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(QString::fromUtf8(r.err).contains(said), r.err.constData());
    QCOMPARE(r.out, QByteArray());
    QVERIFY(r.err.contains("pruvex-cli --help"));
    QVERIFY(!QFile::exists(path(QStringLiteral("p.htm"))));
    QCOMPARE(read(QStringLiteral("p.pvx")), project(QByteArray()));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
