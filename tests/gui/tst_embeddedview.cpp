#include "embeddedview.h"
#include "modaltest.h"
#include "paths.h"
#include "prompts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestEmbeddedView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    // One view for the whole run: each case writes over what the one
    // before left, as the HTML text editor does.
    std::unique_ptr<EmbeddedView> m_view;

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
        m_view = std::make_unique<EmbeddedView>(EmbeddedView::Role::TextEditor);
        m_view->resize(400, 300);
        m_view->show();
    }
    void cleanup() { QVERIFY_PROMPTS(); }

    void cleanupTestCase() { m_view.reset(); }

    void withoutDocument()
    {
        EmbeddedView fresh(EmbeddedView::Role::TextEditor);
        QVERIFY(!fresh.hasDocument());
        bool ok = true;
        QCOMPARE(fresh.bodyInnerHtml(&ok), QString());
        QVERIFY(!ok);
        QVERIFY(!fresh.setDesignMode(true));
        QVERIFY(!fresh.queryCommandValue(QStringLiteral("FontSize")).isValid());

        fresh.navigate(QStringLiteral("about:blank"));
        QVERIFY(fresh.hasDocument());
    }

    void writeAndReadBack_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("body");
        QTest::newRow("fragment") << QStringLiteral("<p>Hallo <b>Welt</b></p>") << QStringLiteral("<p>Hallo <b>Welt</b></p>");
        QTest::newRow("whole document: its body only")
            << QStringLiteral("<html><head><title>T</title><style>p{color:red}</style></head><body><p>Text</p></body></html>")
            << QStringLiteral("<p>Text</p>");
        QTest::newRow("umlauts, quotes and markup") << QStringLiteral("<span style=\"color: red\">Gr\u00fc\u00dfe &amp; \"Zitat\"</span>")
                                                    << QStringLiteral("<span style=\"color: red\">Gr\u00fc\u00dfe &amp; \"Zitat\"</span>");
        QTest::newRow("line breaks in the source")
            << QStringLiteral("<p>eins</p>\r\n<p>zwei</p>") << QStringLiteral("<p>eins</p>\n<p>zwei</p>");
        QTest::newRow("empty") << QString() << QString();
        // Longer than WebEngine takes inline: goes another way, same result.
        const QString longText = QStringLiteral("<p>%1</p>").arg(QString(700000, QChar(0xfc)));
        QTest::newRow("longer than 2 MB encoded") << longText << longText;
    }

    void writeAndReadBack()
    {
        QFETCH(QString, html);
        QFETCH(QString, body);
        QVERIFY(m_view->writeDocument(html));
        bool ok = false;
        const QString actual = m_view->bodyInnerHtml(&ok);
        QVERIFY(ok);
        if (body.size() > 1000)
            QVERIFY2(actual == body, qPrintable(QStringLiteral("%1 characters back of %2").arg(actual.size()).arg(body.size())));
        else
            QCOMPARE(actual, body);
        // Nothing is left behind in the per-user folder.
        QCOMPARE(QDir(m_userDir.path()).entryList(QDir::Files), QStringList());
    }

    void editingCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("showUi");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Bold") << QStringLiteral("Bold") << false << QVariant() << QStringLiteral("<b>Quiz</b>");
        QTest::newRow("ForeColor as RRGGBB") << QStringLiteral("ForeColor") << false << QVariant(QStringLiteral("FF0000"))
                                             << QStringLiteral("<font color=\"#ff0000\">Quiz</font>");
        QTest::newRow("FontSize") << QStringLiteral("FontSize") << true << QVariant(5) << QStringLiteral("<font size=\"5\">Quiz</font>");
        QTest::newRow("CreateLink asks for the address")
            << QStringLiteral("CreateLink") << true << QVariant() << QStringLiteral("<a href=\"http://example.org/\">Quiz</a>");
    }

    void editingCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, showUi);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);

        m_view->setLinkPrompt([](QWidget *, QString *address) {
            *address = QStringLiteral("http://example.org/");
            return true;
        });
        QVERIFY(m_view->writeDocument(QStringLiteral("<p>Quiz</p>")));
        QVERIFY(m_view->setDesignMode(true));
        QVERIFY(m_view->execCommand(QStringLiteral("SelectAll")));
        QVERIFY(m_view->execCommand(command, showUi, value));
        QCOMPARE(m_view->bodyInnerHtml(), QStringLiteral("<p>%1</p>").arg(expected));
    }

    void cancelledLinkChangesNothing()
    {
        m_view->setLinkPrompt([](QWidget *, QString *) { return false; });
        QVERIFY(m_view->writeDocument(QStringLiteral("<p>Quiz</p>")));
        QVERIFY(m_view->setDesignMode(true));
        QVERIFY(m_view->execCommand(QStringLiteral("SelectAll")));
        QVERIFY(m_view->execCommand(QStringLiteral("CreateLink"), true));
        QCOMPARE(m_view->bodyInnerHtml(), QStringLiteral("<p>Quiz</p>"));
    }

    void freshDocumentTakesCommandsAtCaret()
    {
        // No click into the text yet: the caret stands at the start.
        QVERIFY(m_view->writeDocument(QStringLiteral("<p>Quiz</p>")));
        QVERIFY(m_view->setDesignMode(true));
        bool ok = false;
        const int size = m_view->queryCommandValue(QStringLiteral("FontSize")).toString().toInt(&ok);
        QVERIFY(ok);
        QVERIFY(m_view->execCommand(QStringLiteral("JustifyCenter")));
        QCOMPARE(m_view->bodyInnerHtml(), QStringLiteral("<p style=\"text-align: center;\">Quiz</p>"));

        QVERIFY(m_view->execCommand(QStringLiteral("SelectAll")));
        QVERIFY(m_view->execCommand(QStringLiteral("FontSize"), true, size + 1));
        QCOMPARE(m_view->queryCommandValue(QStringLiteral("FontSize")).toString().toInt(), size + 1);
    }
};

QTEST_MAIN(TestEmbeddedView)
#include "tst_embeddedview.moc"
