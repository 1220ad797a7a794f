#include "embeddedview.h"
#include "modaltest.h"
#include "mainwindow.h"
#include "paths.h"
#include "prompts.h"
#include "quiz.h"
#include "htmleditordialog.h"
#include "freetextquestiondialog.h"
#include "multiplechoicequestiondialog.h"
#include "singlechoicequestiondialog.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {
// Runs fn once the HTML editor is up as the modal window.
void whenEditorShown(std::function<void(HtmlEditorDialog *)> fn)
{
    ModalTest::whenShown<HtmlEditorDialog>(std::move(fn));
}

QAction *action(HtmlEditorDialog *e, const char *name)
{
    return e->findChild<QAction *>(QLatin1String(name));
}
} // namespace

class TestHtmlEdit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;

private slots:
    void initTestCase()
    {
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
    }

    void init() { Prompts::clearAsked(); }
    void cleanup() { QVERIFY_PROMPTS(); }

    void boldRoundTrip()
    {
        QString text = QStringLiteral("Hallo Welt");
        whenEditorShown([](HtmlEditorDialog *e) {
            QVERIFY(e->view()->execCommand(QStringLiteral("SelectAll")));
            action(e, "actBold")->trigger();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        QVERIFY(HtmlEditorDialog::editText(nullptr, &text));
        QCOMPARE(text, QStringLiteral("<b>Hallo Welt</b>"));
        QCOMPARE(Prompts::asked().last().text, QStringLiteral("Soll die Eingabe übernommen werden?"));
    }

    void noOnClosingKeepsTheField()
    {
        QString text = QStringLiteral("<i>bleibt</i>");
        whenEditorShown([](HtmlEditorDialog *e) {
            e->view()->execCommand(QStringLiteral("SelectAll"));
            action(e, "actBold")->trigger();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
            e->close(); // the close box asks the same
        });
        QVERIFY(!HtmlEditorDialog::editText(nullptr, &text));
        QCOMPARE(text, QStringLiteral("<i>bleibt</i>"));
        QCOMPARE(Prompts::asked().last().text, QStringLiteral("Soll die Eingabe übernommen werden?"));
    }

    void newAsksFirst()
    {
        QString text = QStringLiteral("Inhalt");
        QString afterNo;
        whenEditorShown([&afterNo](HtmlEditorDialog *e) {
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
            e->clearText();
            afterNo = e->html();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            e->clearText();
            // Still editable after "Neu".
            e->view()->execCommand(QStringLiteral("SelectAll"));
            e->view()->execCommand(QStringLiteral("InsertText"), false, QStringLiteral("neu"));
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        QVERIFY(HtmlEditorDialog::editText(nullptr, &text));
        QCOMPARE(afterNo, QStringLiteral("Inhalt"));
        QCOMPARE(Prompts::asked().at(0).text, QStringLiteral("Wollen Sie die bestehende Eingabe löschen?"));
        QCOMPARE(text, QStringLiteral("neu"));
    }

    void wholeDocumentComesBackAsBody()
    {
        QString text = QStringLiteral("<html><head><title>T</title></head><body><p>Nur der Body</p></body></html>");
        whenEditorShown([](HtmlEditorDialog *e) {
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        QVERIFY(HtmlEditorDialog::editText(nullptr, &text));
        QCOMPARE(text, QStringLiteral("<p>Nur der Body</p>"));
    }

    void fontSizeAndColour()
    {
        QString text = QStringLiteral("Text");
        QVariant before, after;
        whenEditorShown([&before, &after](HtmlEditorDialog *e) {
            e->view()->execCommand(QStringLiteral("SelectAll"));
            before = e->view()->queryCommandValue(QStringLiteral("FontSize"));
            e->increaseFontSize();
            after = e->view()->queryCommandValue(QStringLiteral("FontSize"));
            Prompts::setNextAnswer(QColor(255, 0, 0));
            e->chooseFontColor();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        QVERIFY(HtmlEditorDialog::editText(nullptr, &text));
        QCOMPARE(after.toInt(), before.toInt() + 1);
        QVERIFY2(text.contains(QStringLiteral("color=\"#ff0000\"")) || text.contains(QStringLiteral("rgb(255, 0, 0)")), qPrintable(text));
    }

    void memoButtonAndQuestionCaption()
    {
        MainWindow w;
        w.startUp(QString(), false);
        Prompts::clearAsked();
        w.quiz().setText(SettingKey::memoEinleitung, QStringLiteral("Willkommen"));
        whenEditorShown([](HtmlEditorDialog *e) {
            e->view()->execCommand(QStringLiteral("SelectAll"));
            action(e, "actBold")->trigger();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        w.findChild<QPushButton *>(QStringLiteral("btHtmlEinleitungstext"))->click();
        QCOMPARE(w.quiz().text(SettingKey::memoEinleitung), QStringLiteral("<b>Willkommen</b>"));

        // A caption formatted in the editor keeps its markup through the page:
        // the hidden field carries it escaped, the question rows unchanged.
        QuestionDialog *d = w.questionDialog(QuestionKind::FreeText);
        d->clear();
        d->findChild<QLineEdit *>(QStringLiteral("edtBeschriftung"))->setText(QStringLiteral("Farbe"));
        whenEditorShown([](HtmlEditorDialog *e) {
            e->view()->execCommand(QStringLiteral("SelectAll"));
            Prompts::setNextAnswer(QColor(0, 0x80, 0));
            e->chooseFontColor();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            action(e, "actExit")->trigger();
        });
        d->findChild<QPushButton *>(QStringLiteral("btHtml"))->click();
        const QString caption = d->findChild<QLineEdit *>(QStringLiteral("edtBeschriftung"))->text();
        QVERIFY2(caption.contains(QLatin1Char('"')), qPrintable(caption));
        auto q = std::make_unique<FreeTextQuestion>();
        d->saveQuestion(*q);
        w.quiz().questions().append(std::move(q));
        QVERIFY(w.generateHtml());
        const QString page = w.pageText();
        QVERIFY(page.contains(QStringLiteral("<td class=\"link\"><b>") + caption + QStringLiteral("</b><br>")));
        QVERIFY(page.contains(QStringLiteral("name=\"beschrFrage0\" value=\"") + caption.toHtmlEscaped() + QStringLiteral("\">")));
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        w.close();
    }
};

QTEST_MAIN(TestHtmlEdit)
#include "tst_htmledit.moc"
