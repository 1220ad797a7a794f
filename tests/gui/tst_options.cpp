#include "../testfiles.h"
#include "modaltest.h"
#include "../testkeys.h"
#include "formmailers.h"
#include "pagegenerator.h"
#include "paths.h"
#include "projectfile.h"
#include "prompts.h"
#include "quiz.h"
#include "advancedsettingsdialog.h"
#include "formmailermanager.h"
#include "formmailerlinkdialog.h"
#include "projectpropertiesdialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// The list as the program writes it, with two entries.
const QByteArray kTwoEntries = "<xml>\n"
                               "  <formmailers>\n"
                               "    <formmail>http://localhost:8080/quiz/v13/quiz.php</formmail>\n"
                               "    <formmail>http://schule.example/quiz.php</formmail>\n"
                               "  </formmailers>\n"
                               "</xml>\n";

// Closes the address dialog by the way named.
void closeAddressDialog(FormMailerLinkDialog *d, const QString &way)
{
    if (way == QLatin1String("Enter"))
        QTest::keyClick(child<QLineEdit>(d, "edtFormmailLink"), Qt::Key_Return);
    else if (way == QLatin1String("OK"))
        child<QPushButton>(d, "btOK")->click();
    else if (way == QLatin1String("Abbrechen"))
        child<QPushButton>(d, "btCancel")->click();
    else if (way == QLatin1String("Escape"))
        QTest::keyClick(d, Qt::Key_Escape);
    else
        d->close();
}

// Types text into the address dialog, replacing its text, and closes it.
void typeAddress(const QString &text, const QString &way = QStringLiteral("Enter"))
{
    ModalTest::whenShown<FormMailerLinkDialog>([text, way](FormMailerLinkDialog *d) {
        QLineEdit *edit = child<QLineEdit>(d, "edtFormmailLink");
        edit->selectAll();
        QTest::keyClicks(edit, text);
        closeAddressDialog(d, way);
    });
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    QTemporaryDir m_dir;
    QWidget m_main;

    QString listPath() const { return m_dir.filePath(QStringLiteral("formmailers.xml")); }

    std::unique_ptr<FormMailerManager> openManager(const QString &path)
    {
        auto w = std::make_unique<FormMailerManager>(&m_main, path);
        w->show();
        return w;
    }
    static QTableWidget *m_linkList(QWidget *w) { return child<QTableWidget>(w, "lstLinks"); }
    static void trigger(QWidget *w, const char *action) { child<QAction>(w, action)->trigger(); }
    static void closeManager(QWidget *w, const QString &way)
    {
        if (way == QLatin1String("Verlassen"))
            trigger(w, "actExit");
        else if (way == QLatin1String("Escape"))
            QTest::keyClick(w, Qt::Key_Escape);
        else
            w->close();
    }
    static void closeDialog(QDialog *d, const QString &way)
    {
        if (way == QLatin1String("Escape"))
            QTest::keyClick(d, Qt::Key_Escape);
        else if (way == QLatin1String("close box"))
            d->close();
        else
            child<QPushButton>(d, way.toLatin1().constData())->click();
    }
    static Prompts::Asked lastAsked()
    {
        const QList<Prompts::Asked> a = Prompts::asked();
        return a.isEmpty() ? Prompts::Asked() : a.last();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_userDir.isValid() && m_dir.isValid());
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
        m_main.resize(668, 427);
    }
    void init()
    {
        Prompts::clearAsked();
        QFile::remove(listPath());
    }
    void cleanup() { QVERIFY_PROMPTS(); }

    // ---- The manager window ----

    void managerReadsTheList_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("dropDown");

        QTest::newRow("own file") << kTwoEntries << QStringList{"http://localhost:8080/quiz/v13/quiz.php", "http://schule.example/quiz.php"}
                                  << QStringList{"http://localhost:8080/quiz/v13/quiz.php", "http://schule.example/quiz.php"};
        QTest::newRow("missing") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("not XML") << QByteArray("Adressen: http://a") << QStringList() << QStringList();
        QTest::newRow("other first child") << QByteArray("<xml><links><link>http://a</link></links></xml>") << QStringList()
                                           << QStringList{"http://a"};
    }
    void managerReadsTheList()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, dropDown);
        if (!content.isNull())
            QVERIFY(TestFiles::writeFile(listPath(), content));

        auto w = openManager(listPath());
        QCOMPARE(w->links(), rows);
        QCOMPARE(m_linkList(w.get())->columnCount(), 1);
        QCOMPARE(m_linkList(w.get())->horizontalHeaderItem(0)->text(), QStringLiteral("Link zum Formmailer"));
        QCOMPARE(FormMailers::readDropDownEntries(listPath()), dropDown);
        QVERIFY(Prompts::asked().isEmpty());
    }

    void addEditDelete()
    {
        QVERIFY(TestFiles::writeFile(listPath(), kTwoEntries));
        auto w = openManager(listPath());
        QTableWidget *list = m_linkList(w.get());

        // New: the dialog starts with "http://", Enter appends its text.
        QString initial;
        ModalTest::whenShown<FormMailerLinkDialog>([&initial](FormMailerLinkDialog *d) {
            QLineEdit *edit = child<QLineEdit>(d, "edtFormmailLink");
            initial = edit->text();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("http://neu.example/quiz.php?id=1"));
            closeAddressDialog(d, QStringLiteral("Enter"));
        });
        trigger(w.get(), "actNew");
        QCOMPARE(initial, QStringLiteral("http://"));
        QCOMPARE(w->links(), (QStringList{"http://localhost:8080/quiz/v13/quiz.php", "http://schule.example/quiz.php",
                                          "http://neu.example/quiz.php?id=1"}));

        // Edit with no selection does nothing; with one it offers the row's text.
        list->clearSelection();
        trigger(w.get(), "actEdit");
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        list->selectRow(1);
        QString offered;
        ModalTest::whenShown<FormMailerLinkDialog>([&offered](FormMailerLinkDialog *d) {
            offered = d->link();
            QLineEdit *edit = child<QLineEdit>(d, "edtFormmailLink");
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("http://gymnasium.example/quiz.php"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        trigger(w.get(), "actEdit");
        QCOMPARE(offered, QStringLiteral("http://schule.example/quiz.php"));
        QCOMPARE(list->item(1, 0)->text(), QStringLiteral("http://gymnasium.example/quiz.php"));

        // A double click on a row edits it too.
        typeAddress(QStringLiteral("http://doppelt.example/quiz.php"));
        const QRect cell = list->visualItemRect(list->item(2, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(list->item(2, 0)->text(), QStringLiteral("http://doppelt.example/quiz.php"));

        // Delete with no selection does nothing; with one it removes that row, unasked.
        list->clearSelection();
        trigger(w.get(), "actDelete");
        QCOMPARE(list->rowCount(), 3);
        list->selectRow(0);
        trigger(w.get(), "actDelete");
        QCOMPARE(w->links(), (QStringList{"http://gymnasium.example/quiz.php", "http://doppelt.example/quiz.php"}));
        QVERIFY(Prompts::asked().isEmpty());
        QCOMPARE(TestFiles::readFile(listPath()), kTwoEntries);
    }

    void addressDialogCloses_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("taken");

        QTest::newRow("Enter") << "Enter" << true;
        QTest::newRow("OK") << "OK" << true;
        QTest::newRow("Abbrechen") << "Abbrechen" << false;
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("close box") << "close box" << false;
    }
    void addressDialogCloses()
    {
        QFETCH(QString, way);
        QFETCH(bool, taken);
        QVERIFY(TestFiles::writeFile(listPath(), kTwoEntries));
        auto w = openManager(listPath());

        m_linkList(w.get())->selectRow(0);
        typeAddress(QStringLiteral("http://geaendert.example/"), way);
        trigger(w.get(), "actEdit");
        typeAddress(QStringLiteral("http://neu.example/"), way);
        trigger(w.get(), "actNew");

        const QStringList before{"http://localhost:8080/quiz/v13/quiz.php", "http://schule.example/quiz.php"};
        const QStringList after{"http://geaendert.example/", "http://schule.example/quiz.php", "http://neu.example/"};
        QCOMPARE(w->links(), taken ? after : before);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<QByteArray>("file");

        const QByteArray saved = "<xml>\n"
                                 "  <formmailers>\n"
                                 "    <formmail>http://localhost:8080/quiz/v13/quiz.php</formmail>\n"
                                 "    <formmail>http://schule.example/quiz.php</formmail>\n"
                                 "    <formmail>http://neu.example/quiz.php?a=1&amp;b=2</formmail>\n"
                                 "  </formmailers>\n"
                                 "</xml>\n";
        QTest::newRow("Verlassen, Yes") << "Verlassen" << int(Prompts::Yes) << false << saved;
        QTest::newRow("close box, Yes") << "close box" << int(Prompts::Yes) << false << saved;
        QTest::newRow("close box, No") << "close box" << int(Prompts::No) << false << kTwoEntries;
        QTest::newRow("Escape, No") << "Escape" << int(Prompts::No) << false << kTwoEntries;
        QTest::newRow("Escape, Cancel") << "Escape" << int(Prompts::Cancel) << true << kTwoEntries;
        QTest::newRow("Verlassen, Cancel") << "Verlassen" << int(Prompts::Cancel) << true << kTwoEntries;
    }
    void closing()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        QFETCH(bool, staysOpen);
        QFETCH(QByteArray, file);
        QVERIFY(TestFiles::writeFile(listPath(), kTwoEntries));
        auto w = openManager(listPath());
        typeAddress(QStringLiteral("http://neu.example/quiz.php?a=1&b=2"));
        trigger(w.get(), "actNew");

        Prompts::setNextAnswer(QVariant::fromValue(Prompts::Answer(answer)));
        closeManager(w.get(), way);

        QCOMPARE(Prompts::asked().size(), 1);
        QCOMPARE(lastAsked().kind, QStringLiteral("question"));
        QCOMPARE(lastAsked().title, QStringLiteral("Bestätigen"));
        QCOMPARE(lastAsked().text, QStringLiteral("Änderungen speichern?"));
        QCOMPARE(w->isVisible(), staysOpen);
        QCOMPARE(TestFiles::readFile(listPath()), file);
        QCOMPARE(w->links().size(), 3);
    }

    // The entry point the main window calls: modal, on the per-user file,
    // and the question also when nothing was changed.
    void manageWorksOnTheUserFile()
    {
        QVERIFY(TestFiles::writeFile(FormMailers::userFilePath(), kTwoEntries));
        QStringList shown;
        ModalTest::whenShown<FormMailerManager>([&shown](FormMailerManager *w) {
            shown = w->links();
            Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
            trigger(w, "actExit");
        });
        FormMailerManager::manage(&m_main);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(lastAsked().text, QStringLiteral("Änderungen speichern?"));
        QCOMPARE(TestFiles::readFile(FormMailers::userFilePath()), kTwoEntries);
        QVERIFY(m_main.findChildren<FormMailerManager *>().isEmpty());
    }

    void unwritableFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("folder missing") << "folder missing";
        QTest::newRow("a folder in its place") << "folder in its place";
        QTest::newRow("folder read-only") << "folder read-only";
    }
    void unwritableFile()
    {
        QFETCH(QString, obstacle);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("formmailers.xml"));
        QByteArray before = "(unreadable)";
        if (obstacle == QLatin1String("folder missing")) {
            path = dir.filePath(QStringLiteral("fehlt/formmailers.xml"));
        } else if (obstacle == QLatin1String("folder in its place")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("formmailers.xml")));
        } else {
            if (geteuid() == 0)
                QSKIP("root writes into read-only folders");
            QVERIFY(TestFiles::writeFile(path, kTwoEntries));
            before = kTwoEntries;
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        auto w = openManager(path);
        typeAddress(QStringLiteral("http://neu.example/"));
        trigger(w.get(), "actNew");
        const QStringList rows = w->links();

        Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
        trigger(w.get(), "actExit");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // A folder in the file's place cannot be read either: that is said
        // first, and the closing question asks whether to replace it.
        QCOMPARE(Prompts::asked().size(), obstacle == QLatin1String("folder in its place") ? 3 : 2);
        QCOMPARE(lastAsked().kind, QStringLiteral("message"));
        QCOMPARE(lastAsked().title, QStringLiteral("Fehler"));
        QVERIFY2(!lastAsked().text.isEmpty(), "the platform's error text");
        QVERIFY(w->isVisible());
        QCOMPARE(w->links(), rows);
        QCOMPARE(TestFiles::readFile(path), before);

        // No still closes it.
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        trigger(w.get(), "actExit");
        QVERIFY(!w->isVisible());
    }

    void linkTest_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");

        QTest::newRow("plain") << "http://localhost:8080/quiz/v13/quiz.php"
                               << "http://localhost:8080/quiz/v13/quiz.php?action=checkurl";
        QTest::newRow("with a query") << "http://a.example/quiz.php?kurs=7"
                                      << "http://a.example/quiz.php?kurs=7?action=checkurl";
    }
    void linkTest()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        FormMailerLinkDialog d(&m_main);
        d.setLink(address);
        d.show();
        auto *button = child<QToolButton>(&d, "btCheckFormmail");
        QCOMPARE(button->toolTip(), QStringLiteral("Link testen"));
        button->click();
        QCOMPARE(Prompts::asked().size(), 1);
        QCOMPARE(lastAsked().kind, QStringLiteral("openUrl"));
        QCOMPARE(lastAsked().text, opened);
        QVERIFY(d.isVisible());
        QCOMPARE(d.link(), address);
    }

    // ---- Project properties ----

    void projectSettingsOkWritesInOrder()
    {
        Quiz quiz;
        quiz.setText(SettingKey::ProjectSettings_title, QStringLiteral("Alt"));
        quiz.setText(SettingKey::ProjectSettings_url, QStringLiteral("http://"));
        quiz.setText(SettingKey::ProjectSettings_comment, QStringLiteral("Zeile 1\r\nZeile 2"));
        QSignalSpy changed(&quiz, &Quiz::settingChanged);

        QStringList shown;
        ModalTest::whenShown<ProjectPropertiesDialog>([&shown](ProjectPropertiesDialog *d) {
            shown << child<QLineEdit>(d, "edtTitle")->text() << child<QLineEdit>(d, "edtURL")->text()
                  << child<QPlainTextEdit>(d, "edtComment")->toPlainText();
            child<QLineEdit>(d, "edtTitle")->setText(QStringLiteral("Erdkunde"));
            child<QLineEdit>(d, "edtAuthor")->setText(QStringLiteral("K. Weber"));
            child<QLineEdit>(d, "edtCompany")->setText(QStringLiteral("Gymnasium Süd"));
            child<QLineEdit>(d, "edtURL")->setText(QStringLiteral("http://gym.example/"));
            child<QPlainTextEdit>(d, "edtComment")->setPlainText(QStringLiteral("Klasse 7\nZweiter Teil"));
            // Enter in a one-line field confirms, as OK does.
            QTest::keyClick(child<QLineEdit>(d, "edtAuthor"), Qt::Key_Return);
        });
        QVERIFY(ProjectPropertiesDialog::edit(&m_main, quiz));

        QCOMPARE(shown, (QStringList{"Alt", "http://", "Zeile 1\nZeile 2"}));
        QStringList keys;
        for (const QList<QVariant> &args : changed)
            keys << Settings::keyName(args.at(0).value<SettingKey>());
        QCOMPARE(keys, (QStringList{"ProjectSettings_title", "ProjectSettings_author", "ProjectSettings_url", "ProjectSettings_company",
                                    "ProjectSettings_comment"}));
        const ExtSettings ext = quiz.extSettings();
        QCOMPARE(ext.projectProperties.title, QStringLiteral("Erdkunde"));
        QCOMPARE(ext.projectProperties.author, QStringLiteral("K. Weber"));
        QCOMPARE(ext.projectProperties.company, QStringLiteral("Gymnasium Süd"));
        QCOMPARE(ext.projectProperties.url, QStringLiteral("http://gym.example/"));
        QCOMPARE(ext.projectProperties.comment, QStringLiteral("Klasse 7\r\nZweiter Teil"));
    }

    void dialogsLeftWithoutOk_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Abbrechen") << "btCancel";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Escape") << "Escape";
    }
    void dialogsLeftWithoutOk()
    {
        QFETCH(QString, way);
        Quiz quiz;
        quiz.setText(SettingKey::encoding, QStringLiteral("iso-8859-1"));
        QSignalSpy changed(&quiz, &Quiz::settingChanged);

        ModalTest::whenShown<ProjectPropertiesDialog>([way](ProjectPropertiesDialog *d) {
            for (const char *name : {"edtTitle", "edtAuthor", "edtCompany", "edtURL"})
                child<QLineEdit>(d, name)->setText(QStringLiteral("geändert"));
            child<QPlainTextEdit>(d, "edtComment")->setPlainText(QStringLiteral("geändert"));
            closeDialog(d, way);
        });
        QVERIFY(!ProjectPropertiesDialog::edit(&m_main, quiz));

        ModalTest::whenShown<AdvancedSettingsDialog>([way](AdvancedSettingsDialog *d) {
            child<QLineEdit>(d, "edtCaptcha")->setText(QStringLiteral("http://fehler.example/"));
            child<QComboBox>(d, "cboEncoding")->setCurrentIndex(1);
            closeDialog(d, way);
        });
        QVERIFY(!AdvancedSettingsDialog::edit(&m_main, quiz));
        QCOMPARE(changed.count(), 0);
    }

    // OK without a change stores the same values again, also texts that a
    // widget does not show unchanged.
    void okWithoutChangeKeepsTheValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "http://a.example/";
        QTest::newRow("empty") << "";
        QTest::newRow("CR LF and an empty line") << "eins\r\n\r\nzwei";
        QTest::newRow("lone CR and LF") << "eins\rzwei\nd";
        QTest::newRow("trailing line break") << "eins\r\n";
    }
    void okWithoutChangeKeepsTheValues()
    {
        QFETCH(QString, value);
        Quiz quiz;
        const QStringList keys{"ProjectSettings_title",   "ProjectSettings_author",  "ProjectSettings_url",
                               "ProjectSettings_company", "ProjectSettings_comment", "CaptchaErrorPage"};
        for (const QString &key : keys)
            quiz.setText(settingKey(key), value);
        quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
        QSignalSpy changed(&quiz, &Quiz::settingChanged);

        ModalTest::whenShown<ProjectPropertiesDialog>([](ProjectPropertiesDialog *d) { child<QPushButton>(d, "btOK")->click(); });
        QVERIFY(ProjectPropertiesDialog::edit(&m_main, quiz));
        ModalTest::whenShown<AdvancedSettingsDialog>(
            [](AdvancedSettingsDialog *d) { QTest::keyClick(child<QLineEdit>(d, "edtCaptcha"), Qt::Key_Return); });
        QVERIFY(AdvancedSettingsDialog::edit(&m_main, quiz));

        QCOMPARE(changed.count(), 0);
        for (const QString &key : keys)
            QCOMPARE(quiz.text(settingKey(key)), value);
        QCOMPARE(quiz.text(SettingKey::encoding), QStringLiteral("utf-8"));
    }

    // ---- Advanced settings ----

    void advancedSettings_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed"); // null: the field is left alone
        QTest::addColumn<QString>("captcha");

        const QString page = QStringLiteral("http://www.ihre-domain.de/fehler.html");
        QTest::newRow("utf-8") << "utf-8"
                               << "utf-8" << QString() << page;
        QTest::newRow("iso-8859-1") << "iso-8859-1"
                                    << "iso-8859-1" << QString() << page;
        QTest::newRow("UTF-8 shows utf-8") << "UTF-8"
                                           << "utf-8" << QString() << page;
        QTest::newRow("unknown") << "windows-1252"
                                 << "iso-8859-1" << QString() << page;
        QTest::newRow("empty") << ""
                               << "iso-8859-1" << QString() << page;
        QTest::newRow("captcha typed") << "utf-8"
                                       << "utf-8"
                                       << "http://neu.example/fehler.htm?x=1"
                                       << "http://neu.example/fehler.htm?x=1";
        QTest::newRow("captcha emptied") << "utf-8"
                                         << "utf-8"
                                         << ""
                                         << "";
    }
    void advancedSettings()
    {
        QFETCH(QString, encoding);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, captcha);
        Quiz quiz;
        quiz.setText(SettingKey::encoding, encoding);
        quiz.setText(SettingKey::CaptchaErrorPage, QStringLiteral("http://www.ihre-domain.de/fehler.html"));

        QString selected, captchaShown;
        QStringList items;
        ModalTest::whenShown<AdvancedSettingsDialog>([&](AdvancedSettingsDialog *d) {
            auto *combo = child<QComboBox>(d, "cboEncoding");
            selected = combo->currentText();
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QVERIFY(!combo->isEditable());
            QLineEdit *edit = child<QLineEdit>(d, "edtCaptcha");
            captchaShown = edit->text();
            if (!typed.isNull()) {
                edit->selectAll();
                QTest::keyClicks(edit, typed);
                if (typed.isEmpty())
                    QTest::keyClick(edit, Qt::Key_Delete);
            }
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(AdvancedSettingsDialog::edit(&m_main, quiz));

        QCOMPARE(items, (QStringList{"iso-8859-1", "utf-8"}));
        QCOMPARE(selected, shown);
        QCOMPARE(captchaShown, QStringLiteral("http://www.ihre-domain.de/fehler.html"));
        // The choice was left alone: the encoding stays as it was written.
        QCOMPARE(quiz.text(SettingKey::encoding), encoding);
        QCOMPARE(quiz.text(SettingKey::CaptchaErrorPage), captcha);
    }

    // The buttons beside the address fields open the text as typed.
    void openButtons_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("address") << "http://www.ihre-domain.de/fehler.html";
        QTest::newRow("with a query") << "http://gym.example/?seite=2";
    }
    void openButtons()
    {
        QFETCH(QString, typed);
        Quiz quiz;
        ModalTest::whenShown<ProjectPropertiesDialog>([typed](ProjectPropertiesDialog *d) {
            child<QLineEdit>(d, "edtURL")->setText(typed);
            child<QToolButton>(d, "btGOIP")->click();
            QVERIFY(d->isVisible());
            d->reject();
        });
        ProjectPropertiesDialog::edit(&m_main, quiz);
        ModalTest::whenShown<AdvancedSettingsDialog>([typed](AdvancedSettingsDialog *d) {
            child<QLineEdit>(d, "edtCaptcha")->setText(typed);
            child<QToolButton>(d, "btGOCaptcha")->click();
            QVERIFY(d->isVisible());
            d->reject();
        });
        AdvancedSettingsDialog::edit(&m_main, quiz);

        const QList<Prompts::Asked> asked = Prompts::asked();
        QCOMPARE(asked.size(), 2);
        for (const Prompts::Asked &a : asked) {
            QCOMPARE(a.kind, QStringLiteral("openUrl"));
            QCOMPARE(a.text, typed);
        }
    }

    // What the dialogs set is stored with the project, and the captcha error
    // page and the encoding reach the page.
    void settingsReachProjectFileAndPage()
    {
        Quiz quiz;
        ModalTest::whenShown<ProjectPropertiesDialog>([](ProjectPropertiesDialog *d) {
            child<QLineEdit>(d, "edtTitle")->setText(QStringLiteral("Erdkunde"));
            child<QLineEdit>(d, "edtAuthor")->setText(QStringLiteral("K. Weber"));
            child<QLineEdit>(d, "edtCompany")->setText(QStringLiteral("Gymnasium"));
            child<QLineEdit>(d, "edtURL")->setText(QStringLiteral("http://gym.example/"));
            child<QPlainTextEdit>(d, "edtComment")->setPlainText(QStringLiteral("Klasse 7"));
            child<QPushButton>(d, "btOK")->click();
        });
        QVERIFY(ProjectPropertiesDialog::edit(&m_main, quiz));
        ModalTest::whenShown<AdvancedSettingsDialog>([](AdvancedSettingsDialog *d) {
            child<QLineEdit>(d, "edtCaptcha")->setText(QStringLiteral("http://www.ihre-domain.de/fehler.html"));
            child<QComboBox>(d, "cboEncoding")->setCurrentIndex(1);
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(AdvancedSettingsDialog::edit(&m_main, quiz));

        const QByteArray project = ProjectFile::toBytes(quiz);
        for (const char *element :
             {"<CaptchaErrorPage>http://www.ihre-domain.de/fehler.html</CaptchaErrorPage>\n", "<encoding>utf-8</encoding>\n",
              "<ProjectSettings_author>K. Weber</ProjectSettings_author>\n",
              "<ProjectSettings_comment>Klasse 7</ProjectSettings_comment>\n", "<ProjectSettings_title>Erdkunde</ProjectSettings_title>\n",
              "<ProjectSettings_company>Gymnasium</ProjectSettings_company>\n",
              "<ProjectSettings_url>http://gym.example/</ProjectSettings_url>\n"})
            QVERIFY2(project.contains(element), element);

        PageGenerator generator(quiz);
        generator.setTemplatePath(QStringLiteral(PRUVEX_BIN_DIR "/template.htm"));
        QString page, error;
        QVERIFY2(generator.generate(&page, &error), qPrintable(error));
        QVERIFY(page.contains(QStringLiteral("  <input type=\"hidden\" name=\"settings_error_captcha\" "
                                             "value=\"aHR0cDovL3d3dy5paHJlLWRvbWFpbi5kZS9mZWhsZXIuaHRtbA==\">\r\n")));
        QVERIFY(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QVERIFY(page.contains(QStringLiteral("<input type=\"hidden\" name=\"encoding\" value=\"utf-8\">")));
        QVERIFY(!page.contains(QStringLiteral("Erdkunde")));
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
