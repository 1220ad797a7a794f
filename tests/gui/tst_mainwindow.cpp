#include "../testfiles.h"
#include "mainwindowfixture.h"
#include "modaltest.h"
#include "../testkeys.h"
#include "colorbutton.h"
#include "linebreaks.h"
#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "singlechoicequestion.h"
#include "pagegenerator.h"
#include "mainwindow.h"
#include "numberedit.h"
#include "paths.h"
#include "projectfile.h"
#include "prompts.h"
#include "quiz.h"
#include "settings.h"
#include "formmailerlinkdialog.h"
#include "formmailermanager.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
const QString kNotAProject = QStringLiteral("Die Datei scheint keine Pruvex Datei zu sein.");
const QString kSaveQuestion = QStringLiteral("Soll die aktuelle Datei gespeichert werden?");

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    QTemporaryDir m_work;
    std::unique_ptr<MainWindow> m_window;

    MainWindow &window() { return *m_window; }
    template <typename T> T *control(const char *name)
    {
        T *c = m_window->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QString work(const QString &name) const { return m_work.filePath(name); }

    // A project file with a few settings changed and one question of each kind.
    QString makeProject(const QString &name)
    {
        Quiz q;
        q.setText(SettingKey::edtFormTitel, QStringLiteral("Erdkunde"));
        q.setText(SettingKey::memoEinleitung, QStringLiteral("Zeile 1\r\nZeile 2"));
        q.setText(SettingKey::edtSizeHeader, QStringLiteral("abc"));
        q.setText(SettingKey::cboFontHeader, QStringLiteral("Georgia,Serif"));
        q.setFlag(SettingKey::chkShowAdress, true);
        q.setFlag(SettingKey::cboStandardButton, false);
        q.setFlag(SettingKey::rdBegin, true);
        q.setText(SettingKey::edtHintergrundButton, QStringLiteral("ff8040"));
        auto simple = std::make_unique<FreeTextQuestion>();
        simple->caption = QStringLiteral("Hauptstadt von Frankreich?");
        simple->answers << QStringLiteral("Paris");
        q.questions().append(std::move(simple));
        auto multi = std::make_unique<MultipleChoiceQuestion>();
        multi->caption = QStringLiteral("Flüsse in Deutschland?");
        multi->options.push_back({QStringLiteral("Rhein"), true});
        q.questions().append(std::move(multi));
        auto single = std::make_unique<SingleChoiceQuestion>();
        single->caption = QStringLiteral("Höchster Berg?");
        single->options.push_back({QStringLiteral("Zugspitze"), true});
        q.questions().append(std::move(single));
        const QString path = work(name);
        QString error;
        if (!saveProjectFile(q, path, &error))
            qFatal("cannot write fixture: %s", qPrintable(error));
        return path;
    }

    QList<Prompts::Asked> asked() { return Prompts::asked(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
    }

    void init() { m_window = MainWindowFixture::open(); }

    void cleanup()
    {
        const QStringList problems = MainWindowFixture::close(m_window);
        QVERIFY_PROMPTS_EMPTY(problems);
    }

    void startWithoutFile()
    {
        QCOMPARE(window().windowTitle(), QStringLiteral("Pruvex 1.4"));
        QCOMPARE(window().statusText(), QStringLiteral("unbenannt.pvx"));
        QVERIFY(!window().m_saved);
        QVERIFY(window().m_savePath.isEmpty());
        QCOMPARE(control<QTabWidget>("PageControl1")->currentWidget()->objectName(), QStringLiteral("ts2"));
        QCOMPARE(control<QLineEdit>("edtFormTitel")->text(), QStringLiteral("Online Quiz"));
        QVERIFY(control<QRadioButton>("rdEnd")->isChecked());
        QCOMPARE(control<QTableWidget>("itemList")->rowCount(), 0);
        // The per-user address list was seeded and fills the drop-down.
        QVERIFY(QFile::exists(m_userDir.filePath(QStringLiteral("formmailers.xml"))));
        auto *mailer = control<QComboBox>("cboFormMailer");
        QCOMPARE(mailer->count(), 1);
        QCOMPARE(mailer->currentText(), QStringLiteral("http://localhost:8080/quiz/v13/quiz.php"));
    }

    void startWithFile()
    {
        const QString path = makeProject(QStringLiteral("start.pvx"));
        MainWindow w;
        w.startUp(path, false);
        QVERIFY(w.m_saved);
        QCOMPARE(w.m_savePath, QFileInfo(path).absoluteFilePath());
        QCOMPARE(w.statusText(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(w.findChild<QTableWidget *>(QStringLiteral("itemList"))->rowCount(), 3);
        // The loaded settings are in their controls.
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("edtFormTitel"))->text(), QStringLiteral("Erdkunde"));
        QCOMPARE(w.findChild<QPlainTextEdit *>(QStringLiteral("memoEinleitung"))->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
        QCOMPARE(w.findChild<NumberEdit *>(QStringLiteral("edtSizeHeader"))->text(), QStringLiteral("abc"));
        QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("cboFontHeader"))->currentText(), QStringLiteral("Georgia,Serif"));
        QVERIFY(w.findChild<QRadioButton *>(QStringLiteral("rdBegin"))->isChecked());
        QVERIFY(!w.findChild<QRadioButton *>(QStringLiteral("rdEnd"))->isChecked());
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("edtHintergrundButton"))->text(), QStringLiteral("FF8040"));
        QCOMPARE(w.findChild<ColorButton *>(QStringLiteral("cboColorHGButton"))->color(), QColor(0xFF, 0x80, 0x40));
        // Save writes to that path without asking.
        Prompts::clearAsked();
        QVERIFY(w.saveFile());
        QVERIFY(asked().isEmpty());
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        QVERIFY(w.close());
    }

    void startWithBrokenFile()
    {
        const QString path = work(QStringLiteral("broken.pvx"));
        QVERIFY(TestFiles::writeFile(path, "<xml><FileInfo><Prog>Pruvex</Prog></FileInfo><FileContent>"));
        MainWindow w;
        Prompts::clearAsked();
        w.startUp(path, false);
        QCOMPARE(asked().size(), 1);
        QCOMPARE(asked().first().text, kNotAProject);
        QVERIFY(!w.m_saved);
        QCOMPARE(w.statusText(), QStringLiteral("unbenannt.pvx"));
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        QVERIFY(w.close());
    }

    // A per-user address list nested deeper than any stack: the window
    // starts with an empty list instead of crashing.
    void startWithHostileAddressList()
    {
        const QString list = m_userDir.filePath(QStringLiteral("formmailers.xml"));
        QVERIFY(QFile::exists(list)); // seeded by init()
        const QByteArray old = TestFiles::readFile(list);
        QVERIFY(TestFiles::writeFile(list, "<xml><formmailers>" + QByteArray("<formmail>").repeated(300000) +
                                               QByteArray("</formmail>").repeated(300000) + "</formmailers></xml>"));
        MainWindow w;
        w.startUp(QString(), false);
        const int entries = w.findChild<QComboBox *>(QStringLiteral("cboFormMailer"))->count();
        QVERIFY(TestFiles::writeFile(list, old));
        QCOMPARE(entries, 0);
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        QVERIFY(w.close());
    }

    void editsReachTheQuiz()
    {
        auto *title = control<QLineEdit>("edtFormTitel");
        title->setFocus();
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Mein Quiz"));
        QCOMPARE(window().quiz().text(SettingKey::edtFormTitel), QStringLiteral("Mein Quiz"));

        auto *memo = control<QPlainTextEdit>("memoTextEnde");
        memo->setPlainText(QStringLiteral("a\nb"));
        QCOMPARE(window().quiz().text(SettingKey::memoTextEnde), QStringLiteral("a\r\nb"));

        auto *font = control<QComboBox>("cboFontForm");
        font->setEditText(QStringLiteral("Georgia,Serif"));
        QCOMPARE(window().quiz().text(SettingKey::cboFontForm), QStringLiteral("Georgia,Serif"));

        control<QCheckBox>("chkCaptcha")->click();
        QVERIFY(window().quiz().flag(SettingKey::chkCaptcha));
        control<QRadioButton>("rdBegin")->click();
        QVERIFY(window().quiz().flag(SettingKey::rdBegin));
        QVERIFY(!window().quiz().flag(SettingKey::rdEnd));
        QVERIFY(!control<QRadioButton>("rdEnd")->isChecked());

        // The quiz may hold both positions off; the radio buttons follow.
        window().quiz().setFlag(SettingKey::rdBegin, false);
        QVERIFY(!control<QRadioButton>("rdBegin")->isChecked());
        QVERIFY(!control<QRadioButton>("rdEnd")->isChecked());
    }

    void visibilityRules_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<bool>("visibleWhenChecked");
        QTest::newRow("address group") << "chkShowAdress" << QStringList{"gbAdressFields"} << true;
        QTest::newRow("name panel") << "chkName" << QStringList{"pnlName"} << true;
        QTest::newRow("email panel") << "chkEmail" << QStringList{"pnlEmail"} << true;
        QTest::newRow("evaluation") << "chkShowAuswertung" << QStringList{"chkShowUserAnswers", "chkShowUserCorrectAnswers"} << true;
        QTest::newRow("print") << "chkPrintButton" << QStringList{"edtPrint"} << true;
        QTest::newRow("button design") << "cboStandardButton" << QStringList{"pButtonDesign"} << false;
        QTest::newRow("field design") << "cboStandardFeld" << QStringList{"pCSSFormularfeld"} << false;
    }

    void visibilityRules()
    {
        QFETCH(QString, check);
        QFETCH(QStringList, controls);
        QFETCH(bool, visibleWhenChecked);
        // Show every page so that isVisibleTo speaks of the rule alone.
        auto *box = window().findChild<QCheckBox *>(check);
        QVERIFY(box);
        for (bool on : {true, false, true}) {
            if (box->isChecked() != on)
                box->click(); // the user's click
            for (const QString &name : controls) {
                QWidget *w = window().findChild<QWidget *>(name);
                QVERIFY(w);
                QCOMPARE(!w->isHidden(), on == visibleWhenChecked);
            }
        }
        // A load sets the flag the same way, and hidden values are kept.
        window().quiz().setFlag(settingKey(check), !visibleWhenChecked);
        for (const QString &name : controls)
            QVERIFY(window().findChild<QWidget *>(name)->isHidden());
    }

    void numberFieldClamps()
    {
        tabs()->setCurrentIndex(2); // Design
        auto *size = control<NumberEdit>("edtSizeHeader");
        size->setFocus();
        QApplication::processEvents();
        size->selectAll();
        QTest::keyClicks(size, QStringLiteral("7x0"));
        QCOMPARE(size->text(), QStringLiteral("70")); // letters are not taken
        control<QLineEdit>("edtFormTitel")->setFocus();
        QApplication::processEvents();
        QCOMPARE(size->text(), QStringLiteral("50"));
        QCOMPARE(window().quiz().text(SettingKey::edtSizeHeader), QStringLiteral("50"));
        size->stepBy(3);
        QCOMPARE(size->text(), QStringLiteral("50"));
        size->stepBy(-60);
        QCOMPARE(size->text(), QStringLiteral("0"));
        // Without a range any number stays.
        auto *fieldSize = control<NumberEdit>("edtSizeFormField");
        fieldSize->setText(QStringLiteral("200"));
        fieldSize->stepBy(1);
        QCOMPARE(window().quiz().text(SettingKey::edtSizeFormField), QStringLiteral("201"));
    }

    void colourCascade_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QColor>("buttonBefore");
        QTest::addColumn<QColor>("buttonAfter");
        QTest::addColumn<QString>("textAfter");
        QTest::newRow("other colour") << "edtHGColor"
                                      << "cboBGColor"
                                      << "ff0000" << QColor(0xC0, 0xC0, 0xC0) << QColor(0xFF, 0, 0) << "FF0000";
        QTest::newRow("same colour other case") << "edtHGColor"
                                                << "cboBGColor"
                                                << "c0c0c0" << QColor(0xC0, 0xC0, 0xC0) << QColor(0xC0, 0xC0, 0xC0) << "c0c0c0";
        QTest::newRow("rejected, button not black") << "edtTextColor"
                                                    << "cboTextColor"
                                                    << "xyz" << QColor(0, 0, 0x80) << QColor(0, 0, 0) << "000000";
        QTest::newRow("rejected, button black") << "edtHeaderColor"
                                                << "cboHeadingColor"
                                                << "xyz" << QColor(0, 0, 0) << QColor(0, 0, 0) << "xyz";
    }

    void colourCascade()
    {
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QColor, buttonBefore);
        QFETCH(QColor, buttonAfter);
        QFETCH(QString, textAfter);
        tabs()->setCurrentIndex(2);
        auto *e = window().findChild<QLineEdit *>(edit);
        auto *b = window().findChild<ColorButton *>(button);
        QCOMPARE(b->color(), buttonBefore);
        e->setFocus();
        QApplication::processEvents();
        e->selectAll();
        QTest::keyClicks(e, typed);
        QCOMPARE(b->color(), buttonBefore); // nothing happens while typing
        QTest::keyClick(e, Qt::Key_Tab);
        QApplication::processEvents();
        QCOMPARE(b->color(), buttonAfter);
        QCOMPARE(e->text(), textAfter);
        QCOMPARE(window().quiz().text(settingKey(edit)), textAfter);
    }

    void cssColoursFollowOnlyPicksAndLoads()
    {
        tabs()->setCurrentIndex(3);
        control<QCheckBox>("cboStandardButton")->click();
        auto *e = control<QLineEdit>("edtFarbeButton");
        auto *b = control<ColorButton>("cboButtonColor");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("00ff00"));
        QTest::keyClick(e, Qt::Key_Tab);
        QCOMPARE(b->color(), QColor(0, 0, 0));
        QCOMPARE(window().quiz().text(SettingKey::edtFarbeButton), QStringLiteral("00ff00"));
        // A pick overwrites the typed text with upper-case digits.
        b->setColor(QColor(0x12, 0xab, 0xEF));
        QCOMPARE(e->text(), QStringLiteral("12ABEF"));
    }

    void designColourNotTakenWhileEditing()
    {
        // Typing a colour and exporting from the menu without leaving the
        // edit: the style block keeps the old colour, the placeholder and
        // the project file take the new text.
        tabs()->setCurrentIndex(2);
        auto *e = control<QLineEdit>("edtTabColor");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("00FF00"));
        QVERIFY(window().generateHtml());
        const QString page = window().pageText();
        QVERIFY(page.contains(QStringLiteral(".tableback { background-color:#FFFFFF}")));
        QCOMPARE(window().quiz().text(SettingKey::edtTabColor), QStringLiteral("00FF00"));
    }

    void switchingTabsTakesTheDesignColourOver()
    {
        // The focus leaves the edit before the page is built.
        tabs()->setCurrentIndex(2);
        auto *e = control<QLineEdit>("edtTabColor");
        e->setFocus();
        QApplication::processEvents();
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("00ff00"));
        tabs()->setCurrentIndex(5);
        QVERIFY(window().pageText().contains(QStringLiteral(".tableback { background-color:#00FF00}")));
        QCOMPARE(e->text(), QStringLiteral("00FF00"));
    }

    // The Design colour is taken over when its edit loses the focus, except
    // when a popup (a menu opened over it) or another window takes it.
    void designColourFocusReasons_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("takenOver");
        QTest::newRow("tab key") << int(Qt::TabFocusReason) << true;
        QTest::newRow("mouse") << int(Qt::MouseFocusReason) << true;
        QTest::newRow("menu popup") << int(Qt::PopupFocusReason) << false;
        QTest::newRow("other window") << int(Qt::ActiveWindowFocusReason) << false;
    }

    void designColourFocusReasons()
    {
        QFETCH(int, reason);
        QFETCH(bool, takenOver);
        tabs()->setCurrentIndex(2);
        auto *e = control<QLineEdit>("edtTabColor");
        e->setText(QStringLiteral("00ff00"));
        window().quiz().setText(SettingKey::edtTabColor, QStringLiteral("00ff00"));
        QFocusEvent out(QEvent::FocusOut, Qt::FocusReason(reason));
        QApplication::sendEvent(e, &out);
        QCOMPARE(control<ColorButton>("cboTabColor")->color() == QColor(0, 0xFF, 0), takenOver);
        QCOMPARE(window().quiz().text(SettingKey::edtTabColor), takenOver ? QStringLiteral("00FF00") : QStringLiteral("00ff00"));
    }

    // A write that fails: Save with its dialog leaves the file state as it
    // was; Save as already shows the chosen path. Both report the error.
    void failedSaveFileState_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("save with its dialog") << false;
        QTest::newRow("save as") << true;
    }

    void failedSaveFileState()
    {
        QFETCH(bool, saveAs);
        const QString path = work(QStringLiteral("fehlt/quiz.pvx"));
        Prompts::setNextAnswer(path);
        QVERIFY(!(saveAs ? window().saveFileAs() : window().saveFile()));
        QCOMPARE(asked().size(), 2);
        QCOMPARE(asked().at(0).kind, QStringLiteral("save"));
        QCOMPARE(asked().at(1).kind, QStringLiteral("message"));
        QCOMPARE(asked().at(1).title, QStringLiteral("Fehler"));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(window().m_saved, saveAs);
        QCOMPARE(window().m_savePath, saveAs ? path : QString());
        QCOMPARE(window().statusText(), saveAs ? path : QStringLiteral("unbenannt.pvx"));
    }

    void htmlTabShowsTheGeneratedPage()
    {
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Tab-Test"));
        auto *memo = control<QPlainTextEdit>("memoHtml");
        memo->setPlainText(QStringLiteral("von Hand"));
        control<QTabWidget>("PageControl1")->setCurrentIndex(5);
        PageGenerator g(window().quiz());
        QString page;
        g.setFormIdSource([] { return 0; });
        QVERIFY(g.generate(&page));
        const auto stripId = [](QString s) {
            return s.replace(QRegularExpression(QStringLiteral("\\?id=\\d+|value=\"\\d{1,7}\"")), QString());
        };
        QCOMPARE(stripId(window().pageText()), stripId(LineBreaks::toCrLf(page)));
        // The tab shows that page (a plain-text widget holds LF).
        QCOMPARE(memo->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")), window().pageText());
        QVERIFY(window().pageText().contains(QStringLiteral("Tab-Test")));
        // Ctrl+A (also with Shift) selects the whole text.
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo->textCursor().selectedText().size(), memo->toPlainText().size());
    }

    void exportInBothEncodings_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("umlaut");
        QTest::newRow("utf-8") << "utf-8" << QByteArray("\xC3\xA4");
        QTest::newRow("UTF-8 in capitals") << "UTF-8" << QByteArray("\xC3\xA4");
        QTest::newRow("iso-8859-1") << "iso-8859-1" << QByteArray("\xE4");
    }

    void exportInBothEncodings()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, umlaut);
        window().quiz().setText(SettingKey::encoding, encoding);
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Quiz \u00e4"));
        const QString path = work(QStringLiteral("export.htm"));
        Prompts::setNextAnswer(path);
        window().exportHtml();
        QCOMPARE(asked().size(), 1);
        QCOMPARE(asked().first().kind, QStringLiteral("save"));
        QCOMPARE(asked().first().proposed, QStringLiteral("quiz.htm"));
        QCOMPARE(asked().first().text, QStringLiteral("HTML Datei (*.htm)"));
        const QByteArray bytes = TestFiles::readFile(path);
        QVERIFY(bytes.contains(QByteArray("Quiz ") + umlaut));
        QVERIFY(!bytes.contains("\r\r"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        // The dialog proposes the last name next time; cancel writes nothing.
        QFile::remove(path);
        Prompts::clearAsked();
        Prompts::setNextAnswer(QString());
        window().exportHtml();
        QCOMPARE(asked().first().proposed, path);
        QVERIFY(!QFile::exists(path));
    }

    void exportReportsMissingTemplateBeforeItsDialog()
    {
        // A program folder without the template.
        QTemporaryDir empty;
        Paths::setProgramDir(empty.path());
        window().exportHtml();
        // The previews report nothing, however often they refresh.
        window().showPreviewTab();
        window().previewWindow()->tick();
        Paths::setProgramDir(QString());
        QCOMPARE(asked().size(), 1);
        QCOMPARE(asked().first().kind, QStringLiteral("message"));
        QVERIFY(asked().first().text.contains(QStringLiteral("template.htm")));
    }

    void copyToClipboard()
    {
        window().copyHtml();
        const QString text = QApplication::clipboard()->text();
        QVERIFY(text.contains(QStringLiteral("<form")));
        QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
        QCOMPARE(asked().size(), 1);
        QCOMPARE(asked().first().title, QStringLiteral("Quelltext kopiert"));
        QCOMPARE(asked().first().text, QStringLiteral("Quelltext wurde in die Zwischenablage kopiert."));
    }

    void saveSaveAsLoadNew()
    {
        // Save on an untitled quiz asks; the dialog proposes quiz.pvx first.
        const QString first = work(QStringLiteral("erste.pvx"));
        Prompts::setNextAnswer(first);
        QVERIFY(window().saveFile());
        QCOMPARE(asked().first().proposed, QStringLiteral("quiz.pvx"));
        QCOMPARE(asked().first().text, QStringLiteral("Pruvex Datei (*.pvx);;Alle Dateien (*.*)"));
        QVERIFY(window().m_saved);
        QCOMPARE(window().statusText(), first);
        QVERIFY(QFile::exists(first));

        // Save again writes without asking.
        Prompts::clearAsked();
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Zweiter Stand"));
        QVERIFY(window().saveFile());
        QVERIFY(asked().isEmpty());
        QVERIFY(TestFiles::readFile(first).contains("Zweiter Stand"));

        // Save as always asks.
        const QString second = work(QStringLiteral("zweite.pvx"));
        Prompts::setNextAnswer(second);
        QVERIFY(window().saveFileAs());
        QCOMPARE(window().m_savePath, second);

        // Load: save question (No), then the file.
        const QString project = makeProject(QStringLiteral("laden.pvx"));
        Prompts::clearAsked();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        Prompts::setNextAnswer(project);
        QVERIFY(window().openFile());
        QCOMPARE(asked().at(0).text, kSaveQuestion);
        QCOMPARE(asked().at(0).title, QStringLiteral("Speichern?"));
        QCOMPARE(asked().at(1).kind, QStringLiteral("open"));
        QCOMPARE(window().statusText(), project);
        QCOMPARE(control<QTableWidget>("itemList")->rowCount(), 3);
        QCOMPARE(control<QTableWidget>("itemList")->item(1, 1)->text(), QStringLiteral("Multible Choice Frage"));

        // The save dialog still proposes its own last name, not the loaded one.
        Prompts::clearAsked();
        Prompts::setNextAnswer(QString());
        window().saveFileAs();
        QCOMPARE(asked().first().proposed, second);

        // New: the default project, untitled.
        Prompts::clearAsked();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        QVERIFY(window().newFile());
        QVERIFY(!window().m_saved);
        QCOMPARE(window().m_savePath, QStringLiteral("unbenannt.pvx"));
        QCOMPARE(window().statusText(), QStringLiteral("unbenannt.pvx"));
        QCOMPARE(control<QLineEdit>("edtFormTitel")->text(), QStringLiteral("Online Quiz"));
        QCOMPARE(window().quiz().questions().count(), 0);
        QCOMPARE(control<QTableWidget>("itemList")->rowCount(), 0);
    }

    void saveQuestionBranches_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("dialogAnswer"); // "" = cancel, "-" = no dialog expected
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("new, cancel") << "new" << int(Prompts::Cancel) << "-" << false;
        QTest::newRow("new, no") << "new" << int(Prompts::No) << "-" << true;
        QTest::newRow("new, yes, saved") << "new" << int(Prompts::Yes) << "ja.pvx" << true;
        QTest::newRow("new, yes, dialog cancelled") << "new" << int(Prompts::Yes) << "" << false;
        QTest::newRow("load, cancel") << "load" << int(Prompts::Cancel) << "-" << false;
        QTest::newRow("load, yes, dialog cancelled") << "load" << int(Prompts::Yes) << "" << false;
        QTest::newRow("close, cancel") << "close" << int(Prompts::Cancel) << "-" << false;
        QTest::newRow("close, no") << "close" << int(Prompts::No) << "-" << true;
        QTest::newRow("close, yes, saved") << "close" << int(Prompts::Yes) << "zu.pvx" << true;
        QTest::newRow("close, yes, dialog cancelled") << "close" << int(Prompts::Yes) << "" << false;
        QTest::newRow("close, yes, write fails") << "close" << int(Prompts::Yes) << "kein/ordner/zu.pvx" << false;
    }

    void saveQuestionBranches()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, dialogAnswer);
        QFETCH(bool, goesOn);
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Meine Arbeit"));
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::Answer(answer)));
        if (dialogAnswer != QLatin1String("-"))
            Prompts::setNextAnswer(dialogAnswer.isEmpty() ? QString() : work(dialogAnswer));
        const QString loadTarget = makeProject(QStringLiteral("ziel.pvx"));
        // The open dialog comes only when the save question lets the command go on.
        if (command == QLatin1String("load") && goesOn)
            Prompts::setNextAnswer(loadTarget);

        bool wentOn = false;
        if (command == QLatin1String("new")) {
            wentOn = window().newFile();
            QCOMPARE(window().quiz().text(SettingKey::edtFormTitel) == QLatin1String("Online Quiz"), goesOn);
        } else if (command == QLatin1String("load")) {
            wentOn = window().openFile();
        } else {
            wentOn = window().close();
            QCOMPARE(window().isVisible(), !goesOn);
        }
        QCOMPARE(wentOn, goesOn);
        QCOMPARE(asked().first().text, kSaveQuestion);
        if (answer == Prompts::Yes && !dialogAnswer.isEmpty() && goesOn)
            QVERIFY(TestFiles::readFile(work(dialogAnswer)).contains("Meine Arbeit"));
        if (!goesOn)
            QCOMPARE(window().quiz().text(SettingKey::edtFormTitel), QStringLiteral("Meine Arbeit"));
        if (command == QLatin1String("close") && goesOn) {
            // Reopen a window for cleanup.
            m_window = std::make_unique<MainWindow>();
        }
    }

    void failedLoadKeepsTheCurrentFile()
    {
        const QString first = work(QStringLiteral("aktuell.pvx"));
        Prompts::setNextAnswer(first);
        QVERIFY(window().saveFile());
        const QString broken = work(QStringLiteral("kaputt.pvx"));
        QVERIFY(TestFiles::writeFile(
            broken, "<xml><FileInfo><Prog>Pruvex</Prog></FileInfo><FileContent><edtFormTitel>X</edtFormTitel></FileContent></xml>"));
        Prompts::clearAsked();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        Prompts::setNextAnswer(broken);
        QVERIFY(!window().openFile());
        QCOMPARE(asked().last().text, kNotAProject);
        QCOMPARE(window().m_savePath, first);
        QCOMPARE(window().statusText(), first);
        QVERIFY(window().m_saved);
        QCOMPARE(window().quiz().text(SettingKey::edtFormTitel), QStringLiteral("Online Quiz"));

        // A path that does not exist does nothing at all.
        Prompts::clearAsked();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        Prompts::setNextAnswer(work(QStringLiteral("gibt-es-nicht.pvx")));
        QVERIFY(!window().openFile());
        QCOMPARE(asked().size(), 2);
    }

    void previewTabWritesTheUserFile()
    {
        window().quiz().setText(SettingKey::encoding, QStringLiteral("utf-8"));
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Vorschau \u00fc"));
        control<QTabWidget>("PageControl1")->setCurrentIndex(6);
        const QString path = m_userDir.filePath(QStringLiteral("temp.htm"));
        QTRY_VERIFY(QFile::exists(path));
        QVERIFY(TestFiles::readFile(path).contains("Vorschau \xC3\xBC"));
        QCOMPARE(control<QPlainTextEdit>("memoHtml")->toPlainText().contains(QStringLiteral("Vorschau \u00fc")), true);
    }

    // A title that multiplies itself through the placeholders: the HTML tab
    // shows the message at once, the memo keeps its page, and the preview
    // tab shows the message instead of a page.
    void pageTooLargeIsShown()
    {
        window().quiz().setText(SettingKey::memoEinleitung, QString(1 << 20, QLatin1Char('x')));
        // The background colour goes into the page as it stands.
        window().quiz().setText(SettingKey::edtHGColor, QStringLiteral("<!-- EINLEITUNGTEXT -->").repeated(70));
        auto *memo = control<QPlainTextEdit>("memoHtml");
        memo->setPlainText(QStringLiteral("vorige Seite"));
        Prompts::clearAsked();
        control<QTabWidget>("PageControl1")->setCurrentIndex(5);
        QCOMPARE(asked().size(), 1);
        QVERIFY2(asked().first().text.startsWith(QStringLiteral("Die Seite würde länger als 32 Millionen Zeichen")),
                 qPrintable(asked().first().text));
        QCOMPARE(memo->toPlainText(), QStringLiteral("vorige Seite"));

        control<QTabWidget>("PageControl1")->setCurrentIndex(6);
        const QString path = m_userDir.filePath(QStringLiteral("temp.htm"));
        QTRY_VERIFY(TestFiles::readFile(path).contains("Die Seite w\xC3\xBCrde l\xC3\xA4nger"));
        QCOMPARE(asked().size(), 1);
    }

    void addressManagerRefillsTheDropDown()
    {
        // The manager is opened from the menu; a new address saved with Yes
        // shows in the drop-down at once, and the quiz keeps its address.
        window().quiz().setText(SettingKey::cboFormMailer, QStringLiteral("http://eigene.example/quiz.php"));
        ModalTest::whenShown<FormMailerManager>([](FormMailerManager *manager) {
            ModalTest::whenShown<FormMailerLinkDialog>([](FormMailerLinkDialog *d) {
                auto *edit = d->findChild<QLineEdit *>(QStringLiteral("edtFormmailLink"));
                edit->setText(QStringLiteral("http://neu.example/quiz.php"));
                QTest::keyClick(edit, Qt::Key_Return);
            });
            manager->findChild<QAction *>(QStringLiteral("actNew"))->trigger();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            manager->findChild<QAction *>(QStringLiteral("actExit"))->trigger();
        });
        window().findChild<QAction *>(QStringLiteral("FormmailerLinksverwalten1"))->trigger();
        auto *combo = control<QComboBox>("cboFormMailer");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(1), QStringLiteral("http://neu.example/quiz.php"));
        QCOMPARE(combo->currentText(), QStringLiteral("http://eigene.example/quiz.php"));
        QCOMPARE(window().quiz().text(SettingKey::cboFormMailer), QStringLiteral("http://eigene.example/quiz.php"));
        QFile::remove(m_userDir.filePath(QStringLiteral("formmailers.xml"))); // the next start seeds it anew
    }

    void linkTestAndHelp()
    {
        window().quiz().setText(SettingKey::cboFormMailer, QStringLiteral("http://example.org/quiz.php?x=1"));
        control<QToolButton>("btGOCaptcha")->click();
        QCOMPARE(asked().last().kind, QStringLiteral("openUrl"));
        QCOMPARE(asked().last().text, QStringLiteral("http://example.org/quiz.php?x=1?action=checkurl"));
        window().showHelp();
        QVERIFY(asked().last().text.endsWith(QStringLiteral("pruvex-hilfe.html")));
    }

private:
    QTabWidget *tabs() { return control<QTabWidget>("PageControl1"); }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
