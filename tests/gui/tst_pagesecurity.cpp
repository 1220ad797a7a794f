// What a quiz's own scripts can do in the embedded browser: in the HTML text
// editor nothing, in the previews what the published page does, but no page
// reads a local file, reaches a server or leaves the view by itself.

#include "embeddedview.h"
#include "freetextquestion.h"
#include "htmleditordialog.h"
#include "mainwindow.h"
#include "modaltest.h"
#include "pagescript.h"
#include "pagesource.h"
#include "paths.h"
#include "previewwindow.h"
#include "prompts.h"
#include "quiz.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

namespace {
const QString kSecret = QStringLiteral("GEHEIM-4711");
const QString kHacked = QStringLiteral("GEHACKT");

// A server on loopback that counts who comes and answers every request with
// a small page, as a quiz server would.
class CountingServer : public QObject
{
public:
    CountingServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    if (socket->property("answered").toBool())
                        return;
                    socket->setProperty("answered", true);
                    paths << QString::fromLatin1(request.left(request.indexOf(' ', request.indexOf(' ') + 1)));
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<p id=\"auswertung\">Auswertung</p>");
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path); }
    void reset()
    {
        connections = 0;
        paths.clear();
    }

    int connections = 0;
    QStringList paths; // request lines, "GET /fetch"

private:
    QTcpServer m_server;
};

QString bodyText(EmbeddedView *view)
{
    return evalJs(view, QStringLiteral("document.body ? document.body.innerText + document.body.innerHTML : ''")).toString();
}

QString elementText(EmbeddedView *view, const QString &id)
{
    return evalJs(view, QStringLiteral("(function(){var e=document.getElementById('%1');return e?e.textContent:null;})()").arg(id)).toString();
}

int pictureWidth(EmbeddedView *view, const QString &id)
{
    return evalJs(view, QStringLiteral("(function(){var e=document.getElementById('%1');return e?e.naturalWidth:-1;})()").arg(id)).toInt();
}

// A real click of the user on the element that selector finds.
bool clickOn(EmbeddedView *view, const QString &selector)
{
    const QVariantList centre = evalJs(view, QStringLiteral("(function(){var e=document.querySelector('%1');if(!e)return null;"
                                                           "e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                                                           "return [r.left+r.width/2, r.top+r.height/2];})()")
                                                 .arg(selector))
                                      .toList();
    if (centre.size() != 2)
        return false;
    QTest::qWait(100);
    QWidget *target = view->webView()->focusProxy();
    if (!target)
        return false;
    const QPoint at(qRound(centre.at(0).toDouble()), qRound(centre.at(1).toDouble()));
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    return true;
}

bool openedInBrowser(const QString &address)
{
    for (const Prompts::Asked &a : Prompts::asked()) {
        if (a.kind == QLatin1String("openUrl") && (address.isEmpty() || a.text == address))
            return true;
    }
    return false;
}

QByteArray pngBytes()
{
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}
} // namespace

class TestPageSecurity : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    QTemporaryDir m_files; // the user's own files: a secret and a picture
    CountingServer m_server;

    QString secretPath() const { return m_files.filePath(QStringLiteral("geheim.txt")); }
    QString picturePath() const { return m_files.filePath(QStringLiteral("bild.png")); }

    // A text that tries everything a hostile quiz could: read a local file
    // (by fetch, XMLHttpRequest and a frame), change the text, reach a server
    // (fetch, beacon, web socket), open a window, move the view elsewhere
    // (script, refresh, a sent form).
    QString hostileText() const
    {
        const QString secret = QUrl::fromLocalFile(secretPath()).toString();
        return QStringLiteral(
                   "<p id=\"ziel\">Original</p><p id=\"beute\"></p>"
                   "<p><a id=\"verweis\" href=\"%2\">Verweis</a></p>"
                   "<img id=\"lokal\" src=\"%3\"><img id=\"fehlt\" src=\"fehlt.png\" onerror=\"document.getElementById('ziel').textContent='%4 onerror'\">"
                   "<iframe id=\"rahmen\" src=\"%1\"></iframe>"
                   "<script>"
                   "document.title = 'Skript lief';"
                   "function keep(t) { document.getElementById('beute').textContent += ' BEUTE:' + t; }"
                   "fetch('%1').then(function (r) { return r.text(); }).then(keep, function () {});"
                   "try { var x = new XMLHttpRequest(); x.open('GET', '%1', false); x.send(); if (x.responseText) keep(x.responseText); } catch (e) {}"
                   "fetch('%6').then(function () { keep('fetch'); }, function () {});"
                   "try { navigator.sendBeacon('%7', 'x'); } catch (e) {}"
                   "try { new WebSocket('%8'); } catch (e) {}"
                   "window.open('%9');"
                   "setTimeout(function () { try { keep(document.getElementById('rahmen').contentDocument.body.innerText); } catch (e) {} }, 300);"
                   "setTimeout(function () { location.href = '%10'; }, 400);"
                   "setTimeout(function () { var f = document.createElement('form'); f.method = 'post'; f.action = '%5';"
                   "  document.body.appendChild(f); f.submit(); }, 500);"
                   "</script>"
                   "<meta http-equiv=\"refresh\" content=\"1; url=%11\">")
            .arg(secret, m_server.url(QStringLiteral("verweis")), picturePath(), kHacked, m_server.url(QStringLiteral("formular")),
                 m_server.url(QStringLiteral("fetch")), m_server.url(QStringLiteral("beacon")),
                 m_server.url(QStringLiteral("socket")).replace(QLatin1String("http:"), QLatin1String("ws:")),
                 m_server.url(QStringLiteral("fenster")))
            .arg(m_server.url(QStringLiteral("weg")), m_server.url(QStringLiteral("refresh")));
    }

    // Gives the hostile scripts their time, then checks that they achieved
    // nothing: no server was reached, nothing went to the user's browser, the
    // view shows what it showed, and nothing was read into it.
    void verifyNothingHappened(EmbeddedView *view, const QUrl &shown)
    {
        QTest::qWait(1500);
        QVERIFY2(m_server.connections == 0, qPrintable(m_server.paths.join(QStringLiteral(", "))));
        QVERIFY(!openedInBrowser(QString()));
        QCOMPARE(view->webView()->url(), shown);
        QCOMPARE(elementText(view, QStringLiteral("beute")), QString());
        QVERIFY(!bodyText(view).contains(kSecret));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid());
        QVERIFY(m_files.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
        QFile secret(secretPath());
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write(kSecret.toUtf8());
        secret.close();
        QFile picture(picturePath());
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write(pngBytes());
        picture.close();
        QVERIFY(m_server.listen());
    }

    void init()
    {
        Prompts::clearAsked();
        m_server.reset();
    }

    void htmlEditorRunsNothingOfTheText()
    {
        const QString inlinePicture =
            QStringLiteral("<img id=\"eingebettet\" src=\"data:image/png;base64,%1\">").arg(QString::fromLatin1(pngBytes().toBase64()));
        QString text = hostileText() + inlinePicture;
        const QString original = text;
        auto run = ModalTest::whenShown<HtmlEditorDialog>([this](HtmlEditorDialog *e) {
            EmbeddedView *view = e->view();
            const QUrl shown = view->webView()->url();
            verifyNothingHappened(view, shown);
            // Not one script of the text ran, nor an event handler.
            QCOMPARE(elementText(view, QStringLiteral("ziel")), QStringLiteral("Original"));
            QVERIFY(view->webView()->title() != QLatin1String("Skript lief"));
            // Pictures only inline: the local one is not even read.
            QVERIFY(pictureWidth(view, QStringLiteral("eingebettet")) > 0);
            QCOMPARE(pictureWidth(view, QStringLiteral("lokal")), 0);
            // A click on the link only places the caret.
            QVERIFY(clickOn(view, QStringLiteral("#verweis")));
            QTest::qWait(500);
            QCOMPARE(view->webView()->url(), shown);
            QVERIFY(!openedInBrowser(QString()));
            // The editor's own commands still work.
            QVERIFY(view->execCommand(QStringLiteral("SelectAll")));
            e->findChild<QAction *>(QStringLiteral("actBold"))->trigger();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            e->findChild<QAction *>(QStringLiteral("actExit"))->trigger();
        });
        const bool taken = HtmlEditorDialog::editText(nullptr, &text);
        QVERIFY_MODAL(run);
        QVERIFY(taken);
        QVERIFY(text != original);
        QVERIFY(text.contains(QLatin1String("<b>")));
        QVERIFY(text.contains(QLatin1String("Original")));
        QVERIFY(!text.contains(QLatin1String("Content-Security-Policy")));
        QCOMPARE(m_server.connections, 0);
    }

    void previewsRunThePageButKeepItIn_data()
    {
        QTest::addColumn<bool>("window");
        QTest::newRow("tab \"Vorschau\"") << false;
        QTest::newRow("preview window") << true;
    }

    void previewsRunThePageButKeepItIn()
    {
        QFETCH(bool, window);
        MainWindow main;
        main.show();
        main.startUp(QString(), false);
        Prompts::clearAsked();
        Quiz &quiz = main.quiz();
        quiz.setText(SettingKey::memoEinleitung, hostileText());
        quiz.setText(SettingKey::cboFormMailer, m_server.url(QStringLiteral("quiz.php")));
        auto question = std::make_unique<FreeTextQuestion>();
        question->caption = QStringLiteral("Hauptstadt?");
        question->answers << QStringLiteral("Paris");
        question->required = true;
        question->picture = picturePath();
        quiz.questions().append(std::move(question));

        EmbeddedView *view = nullptr;
        QString pageFile;
        if (window) {
            main.findChild<QAction *>(QStringLiteral("actPreviewWindows"))->trigger();
            PreviewWindow *preview = main.previewWindow();
            QVERIFY(preview && preview->isVisible());
            preview->toggleAutoPreview(); // one page, no reload under the test's hands
            preview->tick();
            view = preview->view();
            pageFile = previewWindowFilePath();
        } else {
            auto *tabs = main.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
            QWidget *tab = main.findChild<QWidget *>(QStringLiteral("tsVorschau"));
            QVERIFY(tabs && tab);
            tabs->setCurrentWidget(tab);
            view = tab->findChild<EmbeddedView *>();
            pageFile = previewTabFilePath();
        }
        QVERIFY(view);
        const QUrl shown = QUrl::fromLocalFile(pageFile);
        QTRY_COMPARE_WITH_TIMEOUT(view->webView()->title(), QStringLiteral("Skript lief"), 10000); // the page's scripts run
        verifyNothingHappened(view, shown);
        // Pictures by local path show, as on the published page.
        QCOMPARE(pictureWidth(view, QStringLiteral("lokal")), 20);

        // A link the user clicks opens in the user's browser.
        QVERIFY(clickOn(view, QStringLiteral("#verweis")));
        QTRY_VERIFY(openedInBrowser(m_server.url(QStringLiteral("verweis"))));
        QTest::qWait(300);
        QCOMPARE(view->webView()->url(), shown);
        QCOMPARE(m_server.connections, 0);

        // The page's own check: the required question is empty.
        Prompts::clearAsked();
        QVERIFY(clickOn(view, QStringLiteral("input[type=submit]")));
        QTRY_VERIFY(!Prompts::asked().isEmpty());
        QCOMPARE(Prompts::asked().first().kind, QStringLiteral("message"));
        QCOMPARE(Prompts::asked().first().text, QStringLiteral("Sie haben Frage 1 nicht vollständig ausgefüllt."));
        QCOMPARE(view->webView()->url(), shown);

        // Answered, the form goes to the quiz server on this machine, and its
        // answer shows in the preview.
        evalJs(view, QStringLiteral("document.getElementsByName('Frage1_0')[0].value = 'Paris'"));
        QVERIFY(clickOn(view, QStringLiteral("input[type=submit]")));
        QTRY_COMPARE_WITH_TIMEOUT(view->webView()->url(), QUrl(m_server.url(QStringLiteral("quiz.php"))), 10000);
        QTRY_COMPARE(m_server.paths.value(0), QStringLiteral("POST /quiz.php"));
        for (const QString &request : m_server.paths.mid(1))
            QCOMPARE(request, QStringLiteral("GET /favicon.ico")); // the answer page's own
        QTRY_VERIFY(bodyText(view).contains(QLatin1String("Auswertung")));

        if (main.previewWindow())
            main.previewWindow()->close();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        main.close();
    }

    void formToAnotherServerGoesToTheBrowser()
    {
        // The published page posts to the quiz script on the web; the preview
        // hands that address to the user's browser and stays as it is.
        EmbeddedView view(EmbeddedView::Role::Preview);
        view.resize(500, 300);
        view.show();
        const QString page = m_userDir.filePath(QStringLiteral("fremd.htm"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><p>Original</p><form action=\"https://quiz.example.org/quiz.php\" method=\"get\">"
                   "<input name=\"a\" value=\"1\"><input type=\"submit\" value=\"Senden\"></form></body></html>");
        file.close();
        view.navigate(page);
        QTRY_VERIFY(bodyText(&view).contains(QLatin1String("Original")));
        QVERIFY(clickOn(&view, QStringLiteral("input[type=submit]")));
        QTRY_VERIFY(openedInBrowser(QStringLiteral("https://quiz.example.org/quiz.php?a=1")));
        QCOMPARE(view.webView()->url(), QUrl::fromLocalFile(page));
    }
};

QTEST_MAIN(TestPageSecurity)
#include "tst_pagesecurity.moc"
