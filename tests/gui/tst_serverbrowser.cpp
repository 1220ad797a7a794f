// The sample quiz taken in a real browser (Qt WebEngine) against the quiz
// server: the page is exported with its address pointing at the server and
// served from a web server of its own on loopback, answered through the
// page, stopped once by its own check, sent, and its evaluation read.

#include "textcodec.h"
#include "serverfixtures.h"
#include "serverrunner.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

namespace {

// Records the page's alerts instead of showing them.
class RecordingPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList alerts;

protected:
    void javaScriptAlert(const QUrl &, const QString &msg) override { alerts << msg; }
};

// A web server that serves one quiz page, as a school's site would.
class PageHost
{
public:
    explicit PageHost(const QByteArray &page)
    {
        m_server.Get("/quiz.htm", [page](const httplib::Request &, httplib::Response &res) {
            res.set_content(page.toStdString(), "text/html; charset=utf-8");
        });
        port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~PageHost()
    {
        m_server.stop();
        m_thread.join();
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/quiz.htm").arg(port)); }
    int port = -1;

private:
    httplib::Server m_server;
    std::thread m_thread;
};

} // namespace

class TestServerBrowser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RunningServer> m_server;
    std::unique_ptr<QWebEngineView> m_view;
    RecordingPage *m_page = nullptr;

    // The sample quiz exported for the test server; its bytes as the file holds them.
    QByteArray exportedSample(bool captcha, int formId)
    {
        const QString page = ServerFixture::samplePage(m_server->server->quizAddress(), captcha, formId);
        return TextCodec::pageBytes(page, QStringLiteral("utf-8"));
    }

    QVariant js(const QString &script)
    {
        QVariant result;
        bool done = false;
        m_page->runJavaScript(script, [&](const QVariant &v) {
            result = v;
            done = true;
        });
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!done)
            qWarning("no answer to %s", qPrintable(script.left(80)));
        return result;
    }

    bool load(const QUrl &url)
    {
        QSignalSpy loaded(m_page, &QWebEnginePage::loadFinished);
        m_page->load(url);
        return loaded.wait(20000) && loaded.first().first().toBool();
    }

    // Clicks the send button and waits for the page that comes back.
    bool send()
    {
        QSignalSpy loaded(m_page, &QWebEnginePage::loadFinished);
        js(QStringLiteral("document.querySelector('input[type=submit]').click(); true"));
        return loaded.wait(20000) && loaded.first().first().toBool();
    }

    // Some answers right, some wrong; question 3 (required) left empty.
    void answerAllButQuestion3()
    {
        js(QStringLiteral("var f = document.PRUVEX;"
                          "f.Frage1[2].checked = true;"             // Rhein: right
                          "f.Frage2_0.checked = true; f.Frage2_2.checked = true;" // Hamburg missing: wrong
                          "f.Frage4[0].checked = true;"             // Watzmann: wrong
                          "f.Frage6_0.value = 'Ostsee'; f.Frage6_1.value = ' nordsee ';" // right
                          "f.LName.value = 'Muster'; f.LEMAIL.value = 'a@example.org'; true"));
    }

    void checkEvaluation()
    {
        QVERIFY2(m_page->url().path().endsWith(QLatin1String("/quiz/v13/quiz.php")), qPrintable(m_page->url().toString()));
        const QString text = js(QStringLiteral("document.body.innerText")).toString();
        QVERIFY2(text.contains(QStringLiteral("Sie haben 3 von 6 Fragen richtig beantwortet (50 %).")), qPrintable(text));
        QCOMPARE(js(QStringLiteral("Array.from(document.querySelectorAll('ol.questions > li')).map(li => li.className).join(',')")).toString(),
                 QStringLiteral("right,wrong,right,wrong,wrong,right"));
        QCOMPARE(js(QStringLiteral("document.querySelector('svg title').textContent")).toString(), QStringLiteral("Diagramm: 3 richtig, 3 falsch"));
        QCOMPARE(js(QStringLiteral("document.title")).toString(), QStringLiteral("Quiz zur Erdkunde"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_server = std::make_unique<RunningServer>();
        QVERIFY(m_server->port > 0);
        m_view = std::make_unique<QWebEngineView>();
        m_page = new RecordingPage(m_view.get());
        m_view->setPage(m_page);
        m_view->resize(900, 700);
        m_view->show();
    }

    void cleanupTestCase()
    {
        m_view.reset();
        m_server.reset();
    }

    void takeTheSampleQuiz()
    {
        PageHost host(exportedSample(false, 4711));
        QVERIFY(load(host.url()));
        QCOMPARE(js(QStringLiteral("document.title")).toString(), QStringLiteral("Quiz zur Erdkunde"));
        answerAllButQuestion3();

        // The page's own check stops the send: nothing reaches the server.
        js(QStringLiteral("document.querySelector('input[type=submit]').click(); true"));
        QTRY_COMPARE_WITH_TIMEOUT(m_page->alerts, QStringList{QStringLiteral("Sie haben Frage 3 nicht vollständig ausgefüllt.")}, 10000);
        QTest::qWait(300);
        QCOMPARE(m_page->url(), host.url());
        QCOMPARE(m_server->stored(), 0);

        js(QStringLiteral("document.PRUVEX.Frage3_0.value = 'münchen'; true"));
        QVERIFY(send());
        checkEvaluation();
        QCOMPARE(m_server->stored(), 1);

        // Back returns to the quiz as it was filled in.
        // (The browser may take it from its back-forward cache without a new load.)
        QVERIFY(m_page->history()->canGoBack());
        m_page->history()->back();
        QTRY_COMPARE_WITH_TIMEOUT(m_page->url(), host.url(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(js(QStringLiteral("document.PRUVEX.Frage3_0.value")).toString(), QStringLiteral("münchen"), 5000);
        QCOMPARE(js(QStringLiteral("document.PRUVEX.Frage1[2].checked")).toBool(), true);
        QCOMPARE(m_server->stored(), 1);
    }

    void takeItWithTheCaptcha()
    {
        PageHost host(exportedSample(true, 4712));
        QVERIFY(load(host.url()));
        // The picture came from the server, which keeps its code.
        QTRY_VERIFY_WITH_TIMEOUT(js(QStringLiteral("document.querySelector('img[src*=\"captcha_img.php\"]').naturalWidth")).toInt() == 180, 10000);
        const QString code = m_server->lastCode(QStringLiteral("4712"));
        QCOMPARE(code.size(), 5);
        answerAllButQuestion3();
        js(QStringLiteral("document.PRUVEX.Frage3_0.value = 'München'; document.PRUVEX.captcha_input.value = '%1'; true").arg(code.toLower()));
        QVERIFY(send());
        checkEvaluation();
        QCOMPARE(m_server->stored(), 2);
    }

    // As a teacher does it: pruvex-cli exports the page, which is opened
    // from its file; picture and form then go to another site than the
    // page's, and the code is matched all the same.
    void takeTheExportedFileWithTheCaptcha()
    {
        const QString cli = QStringLiteral(PRUVEX_BIN_DIR "/pruvex-cli");
        QProcess show;
        show.start(cli, {QStringLiteral("show"), QStringLiteral(PRUVEX_BIN_DIR "/beispiel.pvx")});
        QVERIFY(show.waitForFinished(20000));
        QJsonObject project = QJsonDocument::fromJson(show.readAllStandardOutput()).object();
        QJsonObject settings = project.value(QStringLiteral("settings")).toObject();
        QVERIFY(settings.value(QStringLiteral("chkCaptcha")).toBool());
        settings.insert(QStringLiteral("cboFormMailer"), m_server->server->quizAddress());
        project.insert(QStringLiteral("settings"), settings);
        const QString pvx = m_dir.filePath(QStringLiteral("erdkunde.pvx"));
        const QString htm = m_dir.filePath(QStringLiteral("erdkunde.htm"));
        QProcess build;
        build.start(cli, {QStringLiteral("build"), QStringLiteral("-"), QStringLiteral("-o"), pvx});
        build.write(QJsonDocument(project).toJson());
        build.closeWriteChannel();
        QVERIFY(build.waitForFinished(20000));
        QCOMPARE(build.exitCode(), 0);
        QCOMPARE(QProcess::execute(cli, {QStringLiteral("export"), pvx, QStringLiteral("-o"), htm, QStringLiteral("--form-id"), QStringLiteral("4713")}), 0);

        // A browser shows a local page's web pictures; WebEngine only when told.
        m_page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        QVERIFY(load(QUrl::fromLocalFile(htm)));
        QTRY_VERIFY_WITH_TIMEOUT(js(QStringLiteral("document.querySelector('img[src*=\"captcha_img.php\"]').naturalWidth")).toInt() == 180, 10000);
        const QString code = m_server->lastCode(QStringLiteral("4713"));
        QCOMPARE(code.size(), 5);
        answerAllButQuestion3();
        js(QStringLiteral("document.PRUVEX.Frage3_0.value = 'München'; document.PRUVEX.captcha_input.value = '%1'; true").arg(code));
        QVERIFY(send());
        checkEvaluation();
        QCOMPARE(m_server->stored(), 3);
    }
};

QTEST_MAIN(TestServerBrowser)
#include "tst_serverbrowser.moc"
