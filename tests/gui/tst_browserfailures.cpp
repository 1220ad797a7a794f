// When the embedded browser is slow it is waited for, visibly; when it really
// fails, the user is told in German what happened.

#include "embeddedview.h"
#include "htmleditordialog.h"
#include "modaltest.h"
#include "pagescript.h"
#include "paths.h"
#include "prompts.h"
#include "updatewindow.h"

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

#include <csignal>
#include <sys/types.h>

namespace {
// The renderer process of a view, which the tests stop, resume or kill as a
// loaded machine or a crash would.
qint64 rendererOf(EmbeddedView &view)
{
    const qint64 pid = view.webView()->page()->renderProcessPid();
    return pid > 0 && pid != QCoreApplication::applicationPid() ? pid : 0;
}

QProgressDialog *busyWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<QProgressDialog *>(w); d && d->isVisible() && d->objectName() == QLatin1String("pruvexBusy"))
            return d;
    }
    return nullptr;
}
} // namespace

class TestBrowserFailures : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
    }

    void init() { Prompts::clearAsked(); }
    void cleanup() { EmbeddedView::setWaitTimes(500, 120000); }

    void slowEngineIsWaitedFor_data()
    {
        QTest::addColumn<int>("giveUpMs");
        QTest::addColumn<bool>("userCancels");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("error");
        // Longer than the few seconds a script call was once given.
        QTest::newRow("slow: waited for") << 120000 << false << true << QString();
        QTest::newRow("no answer at all") << 1500 << false << false
                                          << QStringLiteral("Der eingebettete Browser hat nach einer Sekunde nicht geantwortet.");
        QTest::newRow("the user gives up") << 120000 << true << false << QString();
    }

    void slowEngineIsWaitedFor()
    {
        QFETCH(int, giveUpMs);
        QFETCH(bool, userCancels);
        QFETCH(bool, answered);
        QFETCH(QString, error);
        EmbeddedView::setWaitTimes(200, giveUpMs);

        QWidget owner;
        owner.resize(400, 300);
        auto *view = new EmbeddedView(EmbeddedView::Role::TextEditor, &owner);
        view->resize(400, 300);
        owner.show();
        QVERIFY(view->writeDocument(QStringLiteral("<p>Langsam</p>")));
        const qint64 pid = rendererOf(*view);
        if (!pid)
            QSKIP("the engine runs without a renderer process of its own");

        // While the renderer is stopped the busy window stands over the
        // window, with a busy cursor, and the user may give up.
        QString busyText;
        bool busyCursor = false;
        QTimer watch;
        watch.setInterval(20);
        connect(&watch, &QTimer::timeout, [&] {
            if (QProgressDialog *busy = busyWindow()) {
                busyText = busy->labelText();
                busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
                if (userCancels)
                    QTest::mouseClick(busy->findChild<QPushButton *>(), Qt::LeftButton);
            }
        });
        watch.start();
        ::kill(pid_t(pid), SIGSTOP);
        QTimer::singleShot(answered ? 6000 : giveUpMs + 3000, [pid] { ::kill(pid_t(pid), SIGCONT); });

        bool ok = false;
        const QString body = view->bodyInnerHtml(&ok);
        watch.stop();
        ::kill(pid_t(pid), SIGCONT);

        QCOMPARE(ok, answered);
        if (answered)
            QCOMPARE(body, QStringLiteral("<p>Langsam</p>"));
        QCOMPARE(view->errorText(), error);
        QCOMPARE(view->userCancelled(), userCancels);
        QCOMPARE(busyText, QStringLiteral("Der eingebettete Browser arbeitet noch …"));
        QVERIFY(busyCursor);
        QVERIFY(!busyWindow());
        QVERIFY(!QApplication::overrideCursor());
    }

    void crashedEngineIsNamedAndTheFieldKept()
    {
        QString text = QStringLiteral("<p>Bleibt</p>");
        auto run = ModalTest::whenShown<HtmlEditorDialog>([](HtmlEditorDialog *e) {
            const qint64 pid = rendererOf(*e->view());
            QVERIFY(pid);
            ::kill(pid_t(pid), SIGKILL);
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            e->findChild<QAction *>(QStringLiteral("actExit"))->trigger();
        });
        QVERIFY(!HtmlEditorDialog::editText(nullptr, &text));
        QVERIFY_MODAL(run);
        QCOMPARE(text, QStringLiteral("<p>Bleibt</p>"));
        QCOMPARE(Prompts::asked().last().kind, QStringLiteral("message"));
        QCOMPARE(Prompts::asked().last().text,
                 QStringLiteral("Der HTML-Editor kann nicht verwendet werden. Der eingebettete Browser ist abgestürzt oder wurde beendet. "
                                "Der Text bleibt unverändert."));
    }

    void updateWindowWithoutServerSaysWhy()
    {
        // A port on this machine where nobody listens.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();

        UpdateWindow window;
        window.setAddress(QStringLiteral("http://127.0.0.1:%1/versions/pruvexcheck.php?major=1&minor=3&bugfix=0").arg(port));
        QString shown;
        auto run = ModalTest::whenShown<UpdateWindow>([&shown](UpdateWindow *w) {
            EmbeddedView *view = w->m_previewView();
            QTRY_VERIFY_WITH_TIMEOUT(evalJs(view, QStringLiteral("document.getElementById('grund') !== null")).toBool(), 10000);
            shown = evalJs(view, QStringLiteral("document.body.innerText")).toString();
            w->accept();
        });
        window.exec();
        QVERIFY_MODAL(run);
        QVERIFY2(shown.contains(QLatin1String("Die Seite konnte nicht geladen werden.")), qPrintable(shown));
        QVERIFY2(shown.contains(QLatin1String("Der Server 127.0.0.1 hat die Verbindung abgelehnt.")), qPrintable(shown));
    }
};

QTEST_MAIN(TestBrowserFailures)
#include "tst_browserfailures.moc"
