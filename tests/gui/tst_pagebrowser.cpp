// The exported quiz page in a real browser (Qt WebEngine): hostile texts in
// every place keep the page whole, show as typed, the checks stop the send
// while something required is empty, and the quiz script receives every
// text back as typed. The form posts to a small capture server on
// 127.0.0.1, which also serves the captcha picture.

#include "generatedpage.h"
#include "../generatorfixtures.h"
#include "handoff.h"
#include "pagegenerator.h"
#include "projectfile.h"
#include "settings.h"
#include "textcodec.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>

using namespace Fixture;

namespace {

// A web server with a quiz script on loopback: serves the exported pages,
// keeps the body of every POST and answers the captcha address with a
// picture of 150 x 50 pixels.
class CaptureServer : public QObject
{
public:
    CaptureServer()
    {
        QImage image(150, 50, QImage::Format_RGB32);
        image.fill(Qt::white);
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path); }

    QList<QByteArray> posts;
    // The files served by name, as a web server serves them: no charset in
    // the header, so that the page's own declaration counts.
    QHash<QByteArray, QByteArray> files;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        const qsizetype headerEnd = request.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QByteArray header = request.left(headerEnd);
        qsizetype length = 0;
        for (const QByteArray &line : header.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (request.size() < headerEnd + 4 + length)
            return;
        QByteArray type = "text/html; charset=utf-8";
        QByteArray body = "<!DOCTYPE html><title>Auswertung</title><p>angekommen</p>";
        if (header.startsWith("POST")) {
            posts << request.mid(headerEnd + 4, length);
        } else if (header.contains("captcha_img.php")) {
            type = "image/png";
            body = m_png;
        } else {
            const QByteArray path = header.mid(header.indexOf(' ') + 2).split(' ').value(0);
            type = "text/html";
            body = files.value(path);
        }
        m_pending.remove(socket);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_png;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// Keeps the alerts and the script errors instead of showing them.
class RecordingPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList alerts;
    QStringList errors;

protected:
    void javaScriptAlert(const QUrl &, const QString &message) override { alerts << message; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line, const QString &source) override
    {
        if (level == ErrorMessageLevel)
            errors << QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message);
    }
};

// A text as a JavaScript expression.
QString jsValue(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array) + QStringLiteral("[0]");
}

// The posted form: each name with its values, decoded from the page's
// encoding. An 8-bit page sends a character outside its code page as "&#N;".
QMultiMap<QString, QString> formFields(const QByteArray &body, bool utf8)
{
    QMultiMap<QString, QString> fields;
    for (const QByteArray &pair : body.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        auto decode = [utf8](QByteArray bytes) {
            bytes.replace('+', ' ');
            bytes = QByteArray::fromPercentEncoding(bytes);
            if (utf8)
                return QString::fromUtf8(bytes);
            return Handoff::decodeText(QStringDecoder("windows-1252").decode(bytes));
        };
        fields.insert(decode(pair.left(eq)), decode(pair.mid(eq + 1)));
    }
    return fields;
}

// The items of a scrambled right-answer field, each "name|text" as
// "name=text", decoded.
QStringList rightAnswers(const QString &value)
{
    QStringList out;
    for (const QString &item : Handoff::splitItems(Handoff::unscrambleBase64(value).value_or(QStringLiteral("(no Base64)")))) {
        const qsizetype bar = item.indexOf(QChar(Handoff::itemSeparator));
        out << (bar < 0 ? Handoff::decodeText(item) : item.left(bar) + QLatin1Char('=') + Handoff::decodeText(item.mid(bar + 1)));
    }
    return out;
}

QString base64Text(const QString &value)
{
    return Handoff::decodeText(Handoff::fromBase64(value).value_or(QStringLiteral("(no Base64)")));
}

// What the HTML parser makes of a text in an attribute or element: CR LF
// and lone CR become LF.
QString parsed(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// document.title strips and collapses ASCII white space.
QString asTitle(const QString &text)
{
    static const QRegularExpression space(QStringLiteral("[\\t\\n\\f\\r ]+"));
    return QString(text).replace(space, QStringLiteral(" ")).trimmed();
}

} // namespace

class TestPageBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hostileTexts_data();
    void hostileTexts();
    void checksOfWhatIsNotThere();
    void failingScriptStopsTheSend();
    void phoneLayout();
    void accessibility_data();
    void accessibility();

private:
    // Generates, exports in the quiz's encoding and loads the page.
    bool load(const Quiz &quiz, int width = 1000);
    QVariant js(const QString &script);
    // Clicks the send button; returns the alerts it raised.
    QStringList send();
    void setCaptchaAddress(Quiz &quiz) const;

    QTemporaryDir m_dir;
    CaptureServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    std::unique_ptr<QWebEngineView> m_view;
    RecordingPage *m_page = nullptr;
    int m_loads = 0;
};

void TestPageBrowser::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.listen());
    m_profile = new QWebEngineProfile(this); // off the record: nothing kept
}

void TestPageBrowser::cleanupTestCase()
{
    m_view.reset();
}

void TestPageBrowser::setCaptchaAddress(Quiz &quiz) const
{
    quiz.setText(SettingKey::cboFormMailer, m_server.url(QStringLiteral("quiz.php")));
}

bool TestPageBrowser::load(const Quiz &quiz, int width)
{
    PageOptions options;
    options.templatePath = QStringLiteral(PRUVEX_BIN_DIR "/template.htm");
    GeneratedPage page;
    QString error;
    if (!generatePage(quiz, &page, &error, options))
        return false;
    const QString name = QStringLiteral("quiz%1.htm").arg(++m_loads);
    const QString path = m_dir.filePath(name);
    if (!exportPage(page, path, &error))
        return false;
    QFile exported(path);
    if (!exported.open(QIODevice::ReadOnly))
        return false;
    m_server.files.insert(name.toLatin1(), exported.readAll());

    m_view = std::make_unique<QWebEngineView>();
    m_page = new RecordingPage(m_profile, m_view.get());
    m_view->setPage(m_page);
    m_view->resize(width, 900);
    m_view->show();
    QSignalSpy loaded(m_page, &QWebEnginePage::loadFinished);
    m_page->load(QUrl(m_server.url(name)));
    if (!loaded.wait(20000) || !loaded.first().first().toBool())
        return false;
    // Pictures loaded, layout done.
    QElapsedTimer timer;
    timer.start();
    while (!js(QStringLiteral("document.readyState == 'complete'")).toBool())
        if (timer.elapsed() > 10000)
            return false;
    return true;
}

QVariant TestPageBrowser::js(const QString &script)
{
    QVariant result;
    bool done = false;
    m_page->runJavaScript(script, [&](const QVariant &v) {
        result = v;
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return result;
}

QStringList TestPageBrowser::send()
{
    const qsizetype before = m_page->alerts.size();
    const qsizetype posts = m_server.posts.size();
    js(QStringLiteral("document.querySelector('input[type=submit]').click(); true"));
    QElapsedTimer timer;
    timer.start();
    while (m_page->alerts.size() == before && m_server.posts.size() == posts && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return m_page->alerts.mid(before);
}

// Each text goes into every place at once: the plain texts of the settings,
// the HTML texts, the alert, the options, the right answers, the address and
// captcha captions and the evaluation texts.
void TestPageBrowser::hostileTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("literalAsMarkup"); // shown as typed also where it is HTML
    QTest::addColumn<QString>("encoding");

    const struct {
        const char *name;
        QString text;
        bool literalAsMarkup;
    } texts[] = {
        {"quotes", QStringLiteral("Sag \"Ja\" oder 'nein'"), true},
        {"trailing backslash", QStringLiteral("C:\\Quiz\\"), true},
        {"escape in the text", QStringLiteral("Tab\\t und \\u0041"), true},
        {"line break", QStringLiteral("Zeile 1\r\nZeile 2"), false},
        {"end of the script", QStringLiteral("</script><script>alert(1)</script>"), false},
        {"end of the title", QStringLiteral("</title>Rest"), false},
        {"lone comment", QStringLiteral("Quiz <!-- Teil 1"), true},
        {"placeholder", QStringLiteral("<!-- FORMID -->"), false},
        {"Polish", QStringLiteral("\u0141\u00f3d\u017a"), true},
        {"quotes, dash, euro", QStringLiteral("\u201eJa\u201c \u2013 5 \u20ac"), true},
        {"Greek", QStringLiteral("\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"), true},
        {"outside the BMP", QStringLiteral("Quiz \U0001F600"), true},
        {"separators", QStringLiteral("C# | x"), true},
        {"references", QStringLiteral("&#65; &amp; &copy"), false},
        {"line and paragraph separator", QStringLiteral("a\u2028b\u2029c"), true},
    };
    for (const char *encoding : {"utf-8", "iso-8859-1"})
        for (const auto &t : texts)
            QTest::addRow("%s, %s", t.name, encoding) << t.text << t.literalAsMarkup << QString::fromLatin1(encoding);
}

void TestPageBrowser::hostileTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, literalAsMarkup);
    QFETCH(QString, encoding);

    Quiz quiz;
    setCaptchaAddress(quiz);
    for (const SettingKey key : {SettingKey::edtFormTitel, SettingKey::edtSendenButton, SettingKey::edtCancelButton, SettingKey::edtPrint,
                                 SettingKey::edtBetreff, SettingKey::edtAuswertungHeader, SettingKey::edtHeader, SettingKey::edtLName,
                                 SettingKey::edtCaptchaText1, SettingKey::memoEinleitung, SettingKey::memoTextEnde, SettingKey::memoAuswertung,
                                 SettingKey::edtEMail, SettingKey::CaptchaErrorPage})
        quiz.setText(key, text);
    apply(quiz, {{"encoding", encoding},
                 {"chkPrintButton", true},
                 {"chkCaptcha", true},
                 {"chkShowAdress", true},
                 {"chkName", true},
                 {"chkForName", true},
                 {"chkEmail", true},
                 {"chkForLand", true}});
    addQuestions(quiz, {with(required(single(text, {{text, true}, {QStringLiteral("zwei"), false}})), [&](Question &q) { q.alertText = text; }),
                        required(simple(text, {text, QStringLiteral("C#")})),
                        required(multi(text, {{text, true}, {QStringLiteral("<b>fett</b> Option"), false}})),
                        required(single(QStringLiteral("Einverstanden?"), {{QStringLiteral("Ich stimme zu"), true}})),
                        required(multi(QStringLiteral("Ohne Optionen"), {})), required(single(QStringLiteral("Auch ohne"), {}))});
    QVERIFY(load(quiz));
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QLatin1Char('\n'))));
    QVERIFY(js(QStringLiteral("typeof chkFormular == 'function'")).toBool());

    // The page is whole: the last hidden field stands in the form.
    QVERIFY(js(QStringLiteral("document.PRUVEX.FA_USER_2_1 != null && document.PRUVEX.captcha_input != null")).toBool());
    // Plain texts show as typed.
    const QVariantMap shown = js(QStringLiteral(
                                     "({title: document.title, h1: document.querySelector('h1').textContent,"
                                     " description: document.querySelector('meta[name=description]').content,"
                                     " send: document.querySelector('input[type=submit]').value,"
                                     " reset: document.querySelector('input[type=reset]').value,"
                                     " print: document.PRUVEX.print.value,"
                                     " subject: document.PRUVEX.subject.value, header: document.PRUVEX.auswertung_header.value,"
                                     " addressHeader: document.querySelector('label[for=LName]').closest('table').closest('td')"
                                     ".querySelector('b').textContent,"
                                     " label: document.querySelector('label[for=LName]').textContent,"
                                     " captcha: document.querySelector('label[for=captcha_input]').textContent,"
                                     " caption: document.querySelector('td.link > b').textContent,"
                                     " option: document.querySelector('input[name=Frage1][value=\"0\"]').parentElement.textContent,"
                                     " intro: document.querySelector('div.intro').textContent,"
                                     " end: document.querySelector('div.textende').textContent})"))
                                 .toMap();
    QCOMPARE(shown.value("title").toString(), asTitle(text));
    for (const char *place : {"h1", "description", "send", "reset", "print", "subject", "header", "addressHeader", "label", "captcha"})
        QVERIFY2(shown.value(place).toString() == parsed(text), qPrintable(QStringLiteral("%1: %2").arg(place, shown.value(place).toString())));
    if (literalAsMarkup) {
        QCOMPARE(shown.value("caption").toString(), text);
        QCOMPARE(shown.value("option").toString(), QStringLiteral(" ") + text);
        QCOMPARE(shown.value("intro").toString(), text);
        QCOMPARE(shown.value("end").toString(), text);
    }

    // Nothing answered: the first check alerts the typed text and stops
    // (the browser shows a CR LF in an alert as LF).
    const qsizetype postsBefore = m_server.posts.size();
    QCOMPARE(send(), QStringList{parsed(text)});
    // Clicking an option's text chooses it.
    js(QStringLiteral("document.querySelector('input[name=Frage1][value=\"0\"]').parentElement.click(); true"));
    QVERIFY(js(QStringLiteral("document.querySelector('input[name=Frage1][value=\"0\"]').checked")).toBool());
    QCOMPARE(send(), QStringList{QStringLiteral("Sie haben Frage 2 nicht vollst\u00e4ndig ausgef\u00fcllt.")});
    js(QStringLiteral("document.PRUVEX.Frage2_0.value = %1; document.PRUVEX.Frage2_1.value = 'C#'; true").arg(jsValue(text)));
    QCOMPARE(send(), QStringList{QStringLiteral("Sie haben Frage 3 nicht ausgef\u00fcllt.")});
    js(QStringLiteral("document.querySelector('input[name=Frage3_0]').parentElement.click(); true"));
    // One radio button alone is checked too.
    QCOMPARE(send(), QStringList{QStringLiteral("Sie haben Frage 4 nicht ausgef\u00fcllt.")});
    js(QStringLiteral("document.PRUVEX.Frage4.click(); true"));
    // Questions without options have nothing to check; the address follows.
    QCOMPARE(send(), QStringList{QStringLiteral("Bitte das Feld Name ausf\u00fcllen.")});
    QCOMPARE(m_server.posts.size(), postsBefore);
    js(QStringLiteral("document.PRUVEX.LName.value = %1; document.PRUVEX.captcha_input.value = 'abcde'; true").arg(jsValue(text)));
    QCOMPARE(send(), QStringList{});
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posts.size(), postsBefore + 1, 10000);

    // What arrived decodes to the typed texts.
    const auto fields = formFields(m_server.posts.last(), encoding == QLatin1String("utf-8"));
    // An 8-bit form sends a typed "&#N;" as it stands, like the browser's
    // own references: those fields cannot tell the two apart.
    const bool plainFieldsExact = encoding == QLatin1String("utf-8") || !text.contains(QLatin1String("&#"));
    if (plainFieldsExact) {
        // A text field holds one line: the browser drops line breaks typed into it.
        const QString oneLine = QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        for (const char *name : {"subject", "auswertung_header", "beschrFrage0", "Frage2_0", "LName"}) {
            const bool typed = name == QByteArray("Frage2_0") || name == QByteArray("LName");
            QVERIFY2(fields.value(QLatin1String(name)) == (typed ? oneLine : text),
                     qPrintable(QStringLiteral("%1: %2").arg(name, fields.value(name))));
        }
    }
    QCOMPARE(fields.value("Frage1"), QStringLiteral("0"));
    QCOMPARE(fields.value("Frage2_1"), QStringLiteral("C#"));
    QCOMPARE(fields.value("Frage3_0"), QStringLiteral("set"));
    QCOMPARE(fields.value("Frage4"), QStringLiteral("0"));
    QCOMPARE(fields.value("captcha_input"), QStringLiteral("abcde"));
    QCOMPARE(Handoff::decodeText(Handoff::unscrambleBase64(fields.value("admin")).value_or(QString())), text);
    QCOMPARE(base64Text(fields.value("auswertung_text")).replace(Handoff::lineBreakMarker(), QStringLiteral("\r\n")), text);
    QCOMPARE(base64Text(fields.value("settings_error_captcha")), text);
    QCOMPARE(rightAnswers(fields.value("FA0")), QStringList{QStringLiteral("0=") + text});
    QCOMPARE(rightAnswers(fields.value("FA1")), (QStringList{text, QStringLiteral("C#")}));
    QCOMPARE(rightAnswers(fields.value("FA2")), QStringList{QStringLiteral("Frage3_0=") + text});
    QCOMPARE(base64Text(fields.value("FA_USER_0_0")), text);
    QCOMPARE(base64Text(fields.value("FA_USER_2_1")), QStringLiteral("<b>fett</b> Option"));
    QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QLatin1Char('\n'))));
}

// Required questions without options and address checks for fields that are
// not on the page stop nothing.
void TestPageBrowser::checksOfWhatIsNotThere()
{
    for (const QVariantMap &address : {QVariantMap{{"chkShowAdress", false}}, QVariantMap{{"chkShowAdress", true}, {"rdEnd", false}}}) {
        Quiz quiz;
        setCaptchaAddress(quiz);
        apply(quiz, address);
        apply(quiz, {{"chkName", true}, {"chkForName", true}});
        addQuestions(quiz, {required(multi(QStringLiteral("Ohne Optionen"), {})), required(single(QStringLiteral("Auch ohne"), {}))});
        QVERIFY(load(quiz));
        const qsizetype before = m_server.posts.size();
        QCOMPARE(send(), QStringList{});
        QTRY_COMPARE_WITH_TIMEOUT(m_server.posts.size(), before + 1, 10000);
        QVERIFY2(m_page->errors.isEmpty(), qPrintable(m_page->errors.join(QLatin1Char('\n'))));
    }
}

// A check that throws, or none at all, keeps the form from being sent.
void TestPageBrowser::failingScriptStopsTheSend()
{
    Quiz quiz;
    setCaptchaAddress(quiz);
    QVERIFY(load(quiz));
    const qsizetype before = m_server.posts.size();
    for (const char *broken : {"chkFormular = function() { throw new Error('kaputt'); }; true", "window.chkFormular = undefined; true"}) {
        js(QString::fromLatin1(broken));
        send();
        QTest::qWait(300);
        QCOMPARE(m_server.posts.size(), before);
    }
}

// On a 390 px phone the captcha picture keeps its size, and the question
// heading style leaves a bold word in an option alone.
void TestPageBrowser::phoneLayout()
{
    Quiz quiz;
    QVERIFY(loadProjectFile(quiz, QStringLiteral(PRUVEX_BIN_DIR "/beispiel.pvx")));
    setCaptchaAddress(quiz);
    auto *choice = dynamic_cast<ChoiceQuestion *>(quiz.questions().at(0));
    QVERIFY(choice);
    choice->options[0].text = QStringLiteral("<b>Donau</b>");
    QVERIFY(load(quiz, 390));
    QTRY_VERIFY_WITH_TIMEOUT(js(QStringLiteral("document.querySelector('img.captcha').naturalWidth")).toInt() == 150, 10000);
    QCOMPARE(js(QStringLiteral("document.querySelector('img.captcha').width")).toInt(), 150);
    QCOMPARE(js(QStringLiteral("getComputedStyle(document.querySelector('td.link > b')).display")).toString(), QStringLiteral("inline-block"));
    QCOMPARE(js(QStringLiteral("getComputedStyle(document.querySelector('label > b')).display")).toString(), QStringLiteral("inline"));
}

void TestPageBrowser::accessibility_data()
{
    QTest::addColumn<bool>("sample");
    QTest::newRow("sample quiz") << true;
    QTest::newRow("every kind, address block and captcha") << false;
}

// axe-core finds no unlabelled input, no picture without alt text and no
// content outside a landmark. scripts/test.sh installs it with npm; without
// it the check is skipped.
void TestPageBrowser::accessibility()
{
    QFETCH(bool, sample);
    QString axePath = qEnvironmentVariable("PRUVEX_AXE_JS");
    if (axePath.isEmpty())
        axePath = QStringLiteral(PRUVEX_BIN_DIR "/../axe/node_modules/axe-core/axe.min.js");
    QFile axeFile(axePath);
    if (!axeFile.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("axe-core is not installed (%1); scripts/test.sh installs it with npm").arg(axePath)));
    const QString axe = QString::fromUtf8(axeFile.readAll());

    Quiz quiz;
    if (sample) {
        QVERIFY(loadProjectFile(quiz, QStringLiteral(PRUVEX_BIN_DIR "/beispiel.pvx")));
    } else {
        apply(quiz, {{"chkCaptcha", true}, {"chkPrintButton", true}, {"chkShowAdress", true}, {"rdBegin", true}, {"rdEnd", false}});
        for (const AddressField &field : Settings::addressFields())
            quiz.setFlag(field.shown, true);
        addQuestions(quiz, {with(required(simple(QStringLiteral("Hauptstadt <i>Frankreichs</i>?"), {QStringLiteral("Paris"), QStringLiteral("x")})),
                                 [](Question &q) { q.picture = QStringLiteral("data:image/gif;base64,R0lGODlhAQABAAAAACw="); }),
                            multi(QStringLiteral("Farben?"), {{QStringLiteral("Rot"), true}, {QStringLiteral("<b>Blau</b>"), false}}),
                            single(QStringLiteral("Sicher?"), {{QStringLiteral("ja"), true}, {QStringLiteral("nein"), false}}),
                            single(QStringLiteral("Einverstanden?"), {{QStringLiteral("Ich stimme zu"), true}})});
    }
    setCaptchaAddress(quiz);
    QVERIFY(load(quiz));
    js(axe + QStringLiteral("\n;window.axeResult = null;"
                            "axe.run(document).then(r => { window.axeResult = JSON.stringify(r.violations.map("
                            "v => ({id: v.id, nodes: v.nodes.map(n => n.html)}))); },"
                            " e => { window.axeResult = JSON.stringify([{id: 'axe failed: ' + e, nodes: []}]); }); true"));
    QString result;
    QTRY_VERIFY_WITH_TIMEOUT(!(result = js(QStringLiteral("window.axeResult")).toString()).isEmpty(), 30000);
    QStringList found;
    QStringList others;
    for (const QJsonValue &v : QJsonDocument::fromJson(result.toUtf8()).array()) {
        const QString id = v[QStringLiteral("id")].toString();
        QStringList nodes;
        for (const QJsonValue &n : v[QStringLiteral("nodes")].toArray())
            nodes << n.toString();
        const QString line = id + QStringLiteral(": ") + nodes.join(QStringLiteral(" | "));
        if (id == QLatin1String("label") || id == QLatin1String("image-alt") || id == QLatin1String("region") ||
            id.startsWith(QLatin1String("landmark")) || id.startsWith(QLatin1String("axe failed")))
            found << line;
        else
            others << line;
    }
    if (!others.isEmpty())
        qInfo().noquote() << "other findings of axe-core:\n" << others.join(QLatin1Char('\n'));
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestPageBrowser)
#include "tst_pagebrowser.moc"
