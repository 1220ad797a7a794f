#include "../testfiles.h"
#include "modaltest.h"
#include "embeddedview.h"
#include "paths.h"
#include "pagesource.h"
#include "prompts.h"
#include "previewwindow.h"

#include "textcodec.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>

namespace {
const QString kOn = QStringLiteral("Auto-Vorschau - AKTIV");
const QString kOff = QStringLiteral("Auto-Vorschau - NICHT AKTIV");

// Stands for the main window: hands out a fixed page.
class FakeSource : public PageSource
{
public:
    bool generateHtml() override
    {
        ++calls;
        if (onGenerate)
            onGenerate();
        return succeeds;
    }
    const GeneratedPage &page() const override
    {
        m_page.text = text;
        m_page.bytes = TextCodec::pageBytes(text, encoding);
        return m_page;
    }

    QString text = QStringLiteral("<html><body>Quiz</body></html>\r\n");
    QString encoding = QStringLiteral("iso-8859-1");
    bool succeeds = true;
    int calls = 0;
    std::function<void()> onGenerate;

private:
    mutable GeneratedPage m_page;
};

} // namespace

class TestPreviewWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    QWidget m_main;
    FakeSource m_source;

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
        m_main.resize(668, 427);
        m_main.show();
    }

    void init() { m_source = FakeSource(); }
    void cleanup() { QVERIFY_PROMPTS(); }

    void switchingAndClosing()
    {
        PreviewWindow window(m_source, &m_main);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vorschau"));
        QCOMPARE(window.activeButton()->text(), kOn);
        QVERIFY(!window.timer()->isActive());
        QCOMPARE(window.timer()->interval(), 1000);

        window.open();
        QVERIFY(window.isVisible());
        QVERIFY(window.timer()->isActive());
        QCOMPARE(window.activeButton()->text(), kOn);
        QCOMPARE(m_source.calls, 0); // the first page comes with the first tick

        QTest::mouseClick(window.activeButton(), Qt::LeftButton);
        QVERIFY(!window.timer()->isActive());
        QCOMPARE(window.activeButton()->text(), kOff);
        QTest::mouseClick(window.activeButton(), Qt::LeftButton);
        QVERIFY(window.timer()->isActive());
        QCOMPARE(window.activeButton()->text(), kOn);

        // Closing while on stops the timer and keeps the caption.
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.timer()->isActive());
        QCOMPARE(window.activeButton()->text(), kOn);

        // Closed while off, opened again: on.
        window.open();
        window.toggleAutoPreview();
        window.close();
        QCOMPARE(window.activeButton()->text(), kOff);
        window.open();
        QVERIFY(window.timer()->isActive());
        QCOMPARE(window.activeButton()->text(), kOn);
        window.close();
    }

    void tickWritesPageInUserFolder_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("utf-8: umlaut in two bytes") << QStringLiteral("utf-8") << QStringLiteral("<p>Pr\u00fcfung</p>")
                                                    << QByteArray("<p>Pr\xc3\xbc"
                                                                  "fung</p>");
        QTest::newRow("UTF-8 in capitals: as declared") << QStringLiteral("UTF-8") << QStringLiteral("<p>Pr\u00fcfung</p>")
                                                        << QByteArray("<p>Pr\xc3\xbc"
                                                                      "fung</p>");
        QTest::newRow("iso-8859-1: code page") << QStringLiteral("iso-8859-1") << QStringLiteral("<p>Pr\u00fcfung</p>")
                                               << QByteArray("<p>Pr\xfc"
                                                             "fung</p>");
        QTest::newRow("CR LF unchanged") << QStringLiteral("utf-8") << QStringLiteral("<p>a</p>\r\n<p>b</p>\r\n")
                                         << QByteArray("<p>a</p>\r\n<p>b</p>\r\n");
    }

    void tickWritesPageInUserFolder()
    {
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        m_source.encoding = encoding;
        m_source.text = text;

        const QString programCopy = Paths::programFile(QStringLiteral("temp.htm"));
        const QFileInfo programBefore(programCopy);
        const QDateTime programStamp = programBefore.exists() ? programBefore.lastModified() : QDateTime();

        PreviewWindow window(m_source, &m_main);
        window.open();
        window.tick();

        const QString path = m_userDir.filePath(QStringLiteral("vorschau/temp.htm"));
        QCOMPARE(previewWindowFilePath(), path);
        QCOMPARE(TestFiles::readFile(path), bytes);
        // The window's page never collides with the tab's.
        QVERIFY(!QFile::exists(m_userDir.filePath(QStringLiteral("temp.htm"))));
        const QFileInfo programAfter(programCopy);
        QCOMPARE(programAfter.exists(), programBefore.exists());
        if (programAfter.exists())
            QCOMPARE(programAfter.lastModified(), programStamp);

        QTRY_COMPARE(window.view()->webView()->url(), QUrl::fromLocalFile(path));
        window.close();
    }

    void refreshReplacesOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("uses a symbolic link to tell deleting from overwriting");
#else
        // The old file is a link to another file: overwriting it would change
        // that file, deleting it first leaves that file alone.
        const QString target = m_userDir.filePath(QStringLiteral("elsewhere.htm"));
        const QString path = m_userDir.filePath(QStringLiteral("refresh/temp.htm"));
        QVERIFY(TestFiles::writeFile(target, "old page, longer than the new one"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::link(target, path));

        m_source.encoding = QStringLiteral("utf-8");
        m_source.text = QStringLiteral("new\r\n");
        // Events posted while the page is generated run during the pauses;
        // a refresh of the same view that arrives then is dropped.
        EmbeddedView view(EmbeddedView::Role::Preview);
        bool eventLoopRan = false;
        bool armed = true;
        m_source.onGenerate = [&] {
            if (!armed)
                return;
            armed = false;
            QTimer::singleShot(0, [&] {
                eventLoopRan = true;
                refreshPreview(m_source, view, path);
            });
        };
        refreshPreview(m_source, view, path);

        QVERIFY(eventLoopRan);
        QCOMPARE(m_source.calls, 1);
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(TestFiles::readFile(path), QByteArray("new\r\n"));
        QCOMPARE(TestFiles::readFile(target), QByteArray("old page, longer than the new one"));
        QTRY_COMPARE(view.webView()->url(), QUrl::fromLocalFile(path));
#endif
    }

    void failedGenerationWritesNothing()
    {
        const QString path = m_userDir.filePath(QStringLiteral("failed/temp.htm"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(TestFiles::writeFile(path, "last good page"));
        m_source.succeeds = false;

        EmbeddedView view(EmbeddedView::Role::Preview);
        refreshPreview(m_source, view, path);

        QCOMPARE(m_source.calls, 1);
        QCOMPARE(TestFiles::readFile(path), QByteArray("last good page"));
        QVERIFY(!view.hasDocument());
        QVERIFY(view.webView()->url().isEmpty());
    }
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"
