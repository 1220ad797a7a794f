// The dialogs keep what the user made: no text is cut or altered on its way
// through a dialog, no list is lost to a habitual "Ja", a failed check shows
// the field it names, "Löschen" never leaves a row selected that the user did
// not choose, the page is written in the encoding it declares, and typed
// addresses open as web addresses.

#include "../testfiles.h"
#include "mainwindowfixture.h"
#include "modaltest.h"

#include "advancedsettingsdialog.h"
#include "answerdialog.h"
#include "embeddedview.h"
#include "formmailerlinkdialog.h"
#include "formmailermanager.h"
#include "formmailers.h"
#include "htmleditordialog.h"
#include "mainwindow.h"
#include "paths.h"
#include "projectpropertiesdialog.h"
#include "prompts.h"
#include "questiondialog.h"
#include "quiz.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

namespace {

// A text of exactly n characters, umlauts and markup characters included.
QString longText(int n, const QString &pattern = QStringLiteral("Größe <b>&amp;</b> \"x\" "))
{
    QString t;
    while (t.size() < n)
        t += pattern;
    return t.left(n);
}

// The 42,007-character caption: a paragraph whose closing tag is last.
QString longCaption()
{
    return QStringLiteral("<p>") + longText(42000) + QStringLiteral("</p>");
}

// The 44,022-character picture address.
QString longPicture()
{
    const QString prefix = QStringLiteral("data:image/png;base64,");
    return prefix + longText(44022 - int(prefix.size()), QStringLiteral("iVBORw0KGgoAAAANSUhEUgAA+/="));
}

QStringList answerTexts(const QTableWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->rowCount(); ++i)
        texts << list->item(i, 0)->text();
    return texts;
}

const QByteArray kThreeEntries = "<xml>\n"
                                 "  <formmailers>\n"
                                 "    <formmail>http://a.example/quiz.php</formmail>\n"
                                 "    <formmail>http://b.example/quiz.php</formmail>\n"
                                 "    <formmail>http://c.example/quiz.php</formmail>\n"
                                 "  </formmailers>\n"
                                 "</xml>\n";

} // namespace

class TestDialogInput : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    std::unique_ptr<MainWindow> m_window;
    MainWindow &window() { return *m_window; }

    Question *addQuestion(std::unique_ptr<Question> q)
    {
        Question *p = q.get();
        window().quiz().questions().append(std::move(q));
        window().refreshItemList();
        return p;
    }
    void selectQuestion(int row) { child<QTableWidget>(m_window.get(), "itemList")->selectRow(row); }
    static QList<Prompts::Asked> asked() { return Prompts::asked(); }
    static QStringList askedTexts(const QString &kind)
    {
        QStringList texts;
        for (const Prompts::Asked &a : Prompts::asked())
            if (a.kind == kind)
                texts << a.text;
        return texts;
    }
    static void answerNext(Prompts::Answer a) { Prompts::setNextAnswer(QVariant::fromValue(a)); }

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

    // ---- The question dialogs and the answer dialog ----

    // OK without a change writes back every character: texts beyond the line
    // edit's default limit of 32,767 characters, also when an answer passes
    // through the answer dialog, and the hidden hint with its non-breaking
    // spaces and a lone CR.
    void okWithoutChangeKeepsEveryCharacter_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("free text") << int(QuestionKind::FreeText);
        QTest::newRow("multiple choice") << int(QuestionKind::MultipleChoice);
        QTest::newRow("single choice") << int(QuestionKind::SingleChoice);
    }
    void okWithoutChangeKeepsEveryCharacter()
    {
        QFETCH(int, kind);
        const QString longAnswer = longText(40000);
        std::unique_ptr<Question> q = createQuestion(QuestionKind(kind));
        q->caption = longCaption();
        q->picture = longPicture();
        q->alertText = longText(33000);
        q->tipLink = QStringLiteral("http://tipp.example/?q=") + longText(33000);
        q->hint = QString::fromUtf8("Hinweis\u00A0mit\u00A0geschütztem Leerzeichen\r\nZeile\rzwei\u00A0");
        q->required = true;
        if (auto *simple = dynamic_cast<FreeTextQuestion *>(q.get())) {
            simple->fieldSize = longText(32768, QStringLiteral("1"));
            simple->maxLength = longText(40000, QStringLiteral("9"));
            simple->answers = {longAnswer, QString::fromUtf8("a\u00A0b")};
        } else {
            static_cast<ChoiceQuestion *>(q.get())->options = {{longAnswer, true}, {QString::fromUtf8("a\u00A0b"), false}};
        }
        QCOMPARE(q->caption.size(), 42007);
        QCOMPARE(q->picture.size(), 44022);
        const QList<QString> before{q->caption, q->picture, q->alertText, q->tipLink, q->hint};
        const QStringList answersBefore{longAnswer, QString::fromUtf8("a\u00A0b")};
        Question *object = addQuestion(std::move(q));

        selectQuestion(0);
        auto run = ModalTest::whenShown<QuestionDialog>([](QuestionDialog *d) {
            auto *list = child<QTableWidget>(d, "lstAnswers");
            list->selectRow(0);
            // The long answer goes through the answer dialog and back.
            auto answerRun = ModalTest::whenShown<AnswerDialog>([](AnswerDialog *a) { child<QPushButton>(a, "OK")->click(); });
            child<QPushButton>(d, "sbEdit")->click();
            QVERIFY_MODAL(answerRun);
            child<QPushButton>(d, "btOk")->click();
        });
        window().editQuestion();
        QVERIFY_MODAL(run);

        QCOMPARE(object->caption.size(), 42007);
        QVERIFY(object->caption.endsWith(QStringLiteral("</p>")));
        QCOMPARE(object->picture.size(), 44022);
        const QList<QString> after{object->caption, object->picture, object->alertText, object->tipLink, object->hint};
        for (int i = 0; i < after.size(); ++i)
            QVERIFY2(after[i] == before[i], qPrintable(QStringLiteral("field %1 changed").arg(i)));
        QVERIFY(object->required);
        if (auto *simple = dynamic_cast<FreeTextQuestion *>(object)) {
            QCOMPARE(simple->fieldSize, longText(32768, QStringLiteral("1")));
            QCOMPARE(simple->maxLength, longText(40000, QStringLiteral("9")));
            QCOMPARE(simple->answers, answersBefore);
        } else {
            const auto &options = static_cast<ChoiceQuestion *>(object)->options;
            QCOMPARE(int(options.size()), 2);
            QCOMPARE(options[0].text, answersBefore[0]);
            QVERIFY(options[0].right);
            QCOMPARE(options[1].text, answersBefore[1]);
        }
    }

    // What the user types or pastes beyond 32,767 characters stays, in a new
    // question and a new answer alike.
    void typedTextsAreNotCut()
    {
        const QString caption = longCaption();
        const QString answer = longText(36000);
        auto run = ModalTest::whenShown<QuestionDialog>([&](QuestionDialog *d) {
            auto *edit = child<QLineEdit>(d, "edtBeschriftung");
            edit->insert(caption);
            auto answerRun = ModalTest::whenShown<AnswerDialog>([&](AnswerDialog *a) {
                a->textEdit()->insert(answer);
                a->rightCheck()->setChecked(true);
                child<QPushButton>(a, "OK")->click();
            });
            child<QPushButton>(d, "sbNew")->click();
            QVERIFY_MODAL(answerRun);
            child<QPushButton>(d, "btOk")->click();
        });
        window().newQuestion(QuestionKind::MultipleChoice);
        QVERIFY_MODAL(run);
        QCOMPARE(window().quiz().questions().count(), 1);
        auto *q = static_cast<ChoiceQuestion *>(window().quiz().questions().at(0));
        QCOMPARE(q->caption, caption);
        QCOMPARE(int(q->options.size()), 1);
        QCOMPARE(q->options[0].text, answer);
    }

    // The HTML editor's result reaches the caption whole.
    void htmlEditorResultIsNotCut()
    {
        const QString caption = longCaption();
        auto run = ModalTest::whenShown<QuestionDialog>([&](QuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(QStringLiteral("kurz"));
            auto editorRun = ModalTest::whenShown<HtmlEditorDialog>([&](HtmlEditorDialog *e) {
                QVERIFY(e->setHtml(caption));
                QVERIFY(e->view()->setDesignMode(true));
                answerNext(Prompts::Yes);
                child<QAction>(e, "actExit")->trigger();
            });
            child<QPushButton>(d, "btHtml")->click();
            QVERIFY_MODAL(editorRun);
            QCOMPARE(child<QLineEdit>(d, "edtBeschriftung")->text().size(), caption.size());
            child<QPushButton>(d, "btOk")->click();
        });
        window().newQuestion(QuestionKind::FreeText);
        QVERIFY_MODAL(run);
        QCOMPARE(window().quiz().questions().count(), 1);
        const QString back = window().quiz().questions().at(0)->caption;
        QCOMPARE(back.size(), 42007);
        QVERIFY(back.endsWith(QStringLiteral("</p>")));
    }

    // The dialog opens with the focus in "Beschriftung", which is wide enough
    // for markup; a failed check brings the field's tab to the front.
    void focusOnTheVisibleField_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const QString caption = QStringLiteral("Bitte geben Sie etwas im Feld \"Beschriftung\" ein.");
        QTest::newRow("free text") << int(QuestionKind::FreeText) << caption;
        QTest::newRow("multiple choice") << int(QuestionKind::MultipleChoice) << caption;
        QTest::newRow("single choice") << int(QuestionKind::SingleChoice) << QStringLiteral("Bitte geben Sie etwas im Feld \"Name\" ein.");
    }
    void focusOnTheVisibleField()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        QWidget *focusAtStart = nullptr;
        int captionWidth = 0;
        int tabAfterCheck = -1;
        QWidget *focusAfterCheck = nullptr;
        bool stayedOpen = false;
        QWidget *captionEdit = nullptr;
        auto run = ModalTest::whenShown<QuestionDialog>([&](QuestionDialog *d) {
            captionEdit = child<QLineEdit>(d, "edtBeschriftung");
            focusAtStart = d->focusWidget();
            captionWidth = captionEdit->width();
            auto *tabs = child<QTabWidget>(d, "PageControl1");
            tabs->setCurrentIndex(1);
            child<QPushButton>(d, "btOk")->click();
            stayedOpen = d->isVisible();
            tabAfterCheck = tabs->currentIndex();
            focusAfterCheck = d->focusWidget();
            child<QPushButton>(d, "Button1")->click();
        });
        window().newQuestion(QuestionKind(kind));
        QVERIFY_MODAL(run);
        QCOMPARE(focusAtStart, captionEdit);
        QVERIFY2(captionWidth >= 350, qPrintable(QString::number(captionWidth)));
        QVERIFY(stayedOpen);
        QCOMPARE(askedTexts(QStringLiteral("message")), QStringList{message});
        QCOMPARE(tabAfterCheck, 0);
        QCOMPARE(focusAfterCheck, captionEdit);
        QVERIFY(window().quiz().questions().isEmpty());
    }

    // Every label has a mnemonic, no two controls on a tab share a letter, the
    // texts stay as they were, and screen readers hear them without "&".
    void labelsHaveMnemonics_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("free text") << int(QuestionKind::FreeText);
        QTest::newRow("multiple choice") << int(QuestionKind::MultipleChoice);
        QTest::newRow("single choice") << int(QuestionKind::SingleChoice);
    }
    void labelsHaveMnemonics()
    {
        QFETCH(int, kind);
        const bool choice = QuestionKind(kind) != QuestionKind::FreeText;
        QMap<QString, QString> expected{{"edtBeschriftung", "Beschriftung"},
                                        {"lstAnswers", choice ? "Antwortmöglichkeiten:" : "Antworten:"},
                                        {"edtLinkTip", "Linktipp:"},
                                        {"edtBild", "Bild-URL:"}};
        if (!choice) {
            expected.insert(QStringLiteral("edtGroesse"), QStringLiteral("Größe"));
            expected.insert(QStringLiteral("edtLaenge"), QStringLiteral("max. Länge"));
        }
        QStringList problems;
        auto run = ModalTest::whenShown<QuestionDialog>([&](QuestionDialog *d) {
            auto *tabs = child<QTabWidget>(d, "PageControl1");
            for (int t = 0; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                QMap<QChar, QString> letters;
                auto take = [&](const QString &text) {
                    const int amp = int(text.indexOf(QLatin1Char('&')));
                    if (amp < 0 || amp + 1 >= text.size()) {
                        problems << QStringLiteral("no mnemonic: ") + text;
                        return;
                    }
                    const QChar letter = text.at(amp + 1).toLower();
                    if (letters.contains(letter))
                        problems << QStringLiteral("%1 and %2 share Alt+%3").arg(letters.value(letter), text, letter);
                    letters.insert(letter, text);
                };
                for (QLabel *l : tabs->widget(t)->findChildren<QLabel *>()) {
                    if (!l->buddy() || !l->isVisible() || !expected.contains(l->buddy()->objectName()))
                        continue;
                    take(l->text());
                    if (QString(l->text()).remove(QLatin1Char('&')) != expected.value(l->buddy()->objectName()))
                        problems << QStringLiteral("text changed: ") + l->text();
                    if (l->buddy()->accessibleName().contains(QLatin1Char('&')))
                        problems << QStringLiteral("accessible name with &: ") + l->buddy()->accessibleName();
                    expected.remove(l->buddy()->objectName());
                }
                for (QAbstractButton *b : tabs->widget(t)->findChildren<QAbstractButton *>()) {
                    if (b->isVisible() && b->text() != QLatin1String("..."))
                        take(b->text());
                }
            }
            tabs->setCurrentIndex(0);
            child<QPushButton>(d, "Button1")->click();
        });
        window().newQuestion(QuestionKind(kind));
        QVERIFY_MODAL(run);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
        QVERIFY2(expected.isEmpty(), qPrintable(QStringList(expected.keys()).join(QStringLiteral(", "))));
    }

    // ---- "Löschen" ----

    // After a deletion no row is selected, so a second click deletes nothing
    // the user did not choose.
    void deleteLeavesNothingSelected()
    {
        auto q = std::make_unique<MultipleChoiceQuestion>();
        q->caption = QStringLiteral("Flüsse?");
        q->options = {{QStringLiteral("Rhein"), true}, {QStringLiteral("Alpen"), false}, {QStringLiteral("Donau"), true}};
        auto *object = static_cast<MultipleChoiceQuestion *>(addQuestion(std::move(q)));
        selectQuestion(0);
        QStringList afterFirst, afterSecond;
        bool selectedAfterDelete = true;
        auto run = ModalTest::whenShown<QuestionDialog>([&](QuestionDialog *d) {
            auto *list = child<QTableWidget>(d, "lstAnswers");
            list->selectRow(1);
            child<QPushButton>(d, "sbDelete")->click();
            afterFirst = answerTexts(list);
            selectedAfterDelete = !list->selectedItems().isEmpty();
            child<QPushButton>(d, "sbDelete")->click();
            afterSecond = answerTexts(list);
            child<QPushButton>(d, "btOk")->click();
        });
        window().editQuestion();
        QVERIFY_MODAL(run);
        QCOMPARE(afterFirst, (QStringList{"Rhein", "Donau"}));
        QVERIFY(!selectedAfterDelete);
        QCOMPARE(afterSecond, afterFirst);
        QCOMPARE(int(object->options.size()), 2);
        QCOMPARE(object->options[1].text, QStringLiteral("Donau"));

        // The same in the address manager, down to the file it writes.
        const QString path = FormMailers::userFilePath();
        QVERIFY(TestFiles::writeFile(path, kThreeEntries));
        bool managerSelected = true;
        auto managerRun = ModalTest::whenShown<FormMailerManager>([&](FormMailerManager *w) {
            auto *list = child<QTableWidget>(w, "lstLinks");
            list->selectRow(0);
            child<QAction>(w, "actDelete")->trigger();
            managerSelected = !list->selectionModel()->selectedRows().isEmpty();
            child<QAction>(w, "actDelete")->trigger();
            answerNext(Prompts::Yes);
            child<QAction>(w, "actExit")->trigger();
        });
        FormMailerManager::manage(&window());
        QVERIFY_MODAL(managerRun);
        QVERIFY(!managerSelected);
        QCOMPARE(FormMailers::readManagerEntries(path), (QStringList{"http://b.example/quiz.php", "http://c.example/quiz.php"}));
    }

    // ---- The address list ----

    // A list that could not be read is said so and never replaced unasked;
    // a list that was read asks "Änderungen speichern?" on every close.
    void unreadableAddressList_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<bool>("addRow");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question"); // empty: none asked
        QTest::addColumn<bool>("reported");
        QTest::addColumn<QStringList>("fileAfter"); // empty: the file as it was

        const QByteArray notXml = "Adressen: http://a.example/quiz.php";
        const QByteArray foreign = "<xml><links><link>http://a.example/quiz.php</link></links></xml>";
        const QByteArray markup = "<xml><formmailers><formmail>http://a.example/quiz.php</formmail>"
                                  "<formmail><b>x</b></formmail><formmail>http://c.example/quiz.php</formmail></formmailers></xml>";
        const QString save = QStringLiteral("Änderungen speichern?");
        const QString replace = QStringLiteral("konnte nicht gelesen werden");
        const QString added = QStringLiteral("http://neu.example/quiz.php");
        const QStringList none;

        QTest::newRow("not XML, unchanged, closes unasked") << notXml << false << -1 << QString() << true << none;
        QTest::newRow("foreign tree, unchanged") << foreign << false << -1 << QString() << true << none;
        QTest::newRow("entry with markup, unchanged") << markup << false << -1 << QString() << true << none;
        QTest::newRow("not XML, changed, No") << notXml << true << int(Prompts::No) << replace << true << none;
        QTest::newRow("entry with markup, changed, Cancel then No") << markup << true << int(Prompts::Cancel) << replace << true << none;
        QTest::newRow("not XML, changed, Yes replaces") << notXml << true << int(Prompts::Yes) << replace << true << QStringList{added};
        QTest::newRow("missing, unchanged, Yes") << QByteArray() << false << int(Prompts::Yes) << save << false << QStringList{};
        QTest::newRow("read, unchanged, still asked") << kThreeEntries << false << int(Prompts::No) << save << false << none;
    }
    void unreadableAddressList()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, addRow);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, reported);
        QFETCH(QStringList, fileAfter);
        const QString path = FormMailers::userFilePath();
        QFile::remove(path);
        if (!content.isNull())
            QVERIFY(TestFiles::writeFile(path, content));

        bool stayedOpenOnCancel = false;
        auto run = ModalTest::whenShown<FormMailerManager>([&](FormMailerManager *w) {
            if (addRow) {
                auto linkRun = ModalTest::whenShown<FormMailerLinkDialog>([](FormMailerLinkDialog *d) {
                    d->setLink(QStringLiteral("http://neu.example/quiz.php"));
                    child<QPushButton>(d, "btOK")->click();
                });
                child<QAction>(w, "actNew")->trigger();
                QVERIFY_MODAL(linkRun);
            }
            if (answer == int(Prompts::Cancel)) {
                answerNext(Prompts::Cancel);
                child<QAction>(w, "actExit")->trigger();
                stayedOpenOnCancel = w->isVisible();
                answerNext(Prompts::No);
            } else if (answer >= 0) {
                answerNext(Prompts::Answer(answer));
            }
            // A question nobody expected has no prepared answer: the test
            // reports it at its end.
            child<QAction>(w, "actExit")->trigger();
            QTRY_VERIFY(!w->isVisible());
        });
        FormMailerManager::manage(&window());
        QVERIFY_MODAL(run);

        const QStringList questions = askedTexts(QStringLiteral("question"));
        if (question.isEmpty()) {
            QVERIFY2(questions.isEmpty(), qPrintable(questions.join(QLatin1Char('|'))));
        } else {
            QVERIFY(!questions.isEmpty());
            for (const QString &q : questions)
                QVERIFY2(q.contains(question), qPrintable(q));
        }
        if (answer == int(Prompts::Cancel))
            QVERIFY(stayedOpenOnCancel);
        const QStringList messages = askedTexts(QStringLiteral("message"));
        QCOMPARE(messages.size(), reported ? 1 : 0);
        if (reported)
            QVERIFY2(messages.first().startsWith(QStringLiteral("Die Liste der Formmailer-Links \"")), qPrintable(messages.first()));

        if (content.isNull() && answer == int(Prompts::Yes))
            QCOMPARE(TestFiles::readFile(path), QByteArray("<xml>\n  <formmailers/>\n</xml>\n"));
        else if (fileAfter.isEmpty())
            QCOMPARE(TestFiles::readFile(path), content);
        else
            QCOMPARE(FormMailers::readManagerEntries(path), fileAfter);
    }

    // ---- Encoding ----

    // The page is written in what it declares: every spelling of UTF-8 gives
    // UTF-8 bytes; the advanced settings show "utf-8" for it and, left
    // unchanged, keep the spelling.
    void pageIsWrittenInItsDeclaredEncoding_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("pick"); // item chosen in the dialog, -1: none
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<bool>("utf8");

        QTest::newRow("utf-8") << "utf-8" << -1 << "utf-8"
                               << "utf-8" << true;
        QTest::newRow("UTF-8 in capitals") << "UTF-8" << -1 << "utf-8"
                                           << "UTF-8" << true;
        QTest::newRow("blanks and mixed case") << " Utf-8 " << -1 << "utf-8"
                                               << " Utf-8 " << true;
        QTest::newRow("utf8") << "utf8" << -1 << "utf-8"
                              << "utf8" << true;
        QTest::newRow("iso-8859-1") << "iso-8859-1" << -1 << "iso-8859-1"
                                    << "iso-8859-1" << false;
        QTest::newRow("windows-1252 kept") << "windows-1252" << -1 << "iso-8859-1"
                                           << "windows-1252" << false;
        QTest::newRow("UTF-8, iso-8859-1 chosen") << "UTF-8" << 0 << "utf-8"
                                                  << "iso-8859-1" << false;
        QTest::newRow("windows-1252, utf-8 chosen") << "windows-1252" << 1 << "iso-8859-1"
                                                    << "utf-8" << true;
    }
    void pageIsWrittenInItsDeclaredEncoding()
    {
        QFETCH(QString, stored);
        QFETCH(int, pick);
        QFETCH(QString, shown);
        QFETCH(QString, storedAfter);
        QFETCH(bool, utf8);
        window().quiz().setText(SettingKey::encoding, stored);
        window().quiz().setText(SettingKey::edtFormTitel, QStringLiteral("Prüfung"));

        QString shownInDialog;
        auto run = ModalTest::whenShown<AdvancedSettingsDialog>([&](AdvancedSettingsDialog *d) {
            auto *combo = child<QComboBox>(d, "cboEncoding");
            shownInDialog = combo->currentText();
            if (pick >= 0)
                combo->setCurrentIndex(pick);
            child<QPushButton>(d, "Button1")->click();
        });
        child<QAction>(m_window.get(), "ErweiterteEinstellungen1")->trigger();
        QVERIFY_MODAL(run);
        QCOMPARE(shownInDialog, shown);
        QCOMPARE(window().quiz().text(SettingKey::encoding), storedAfter);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("quiz.htm"));
        Prompts::setNextAnswer(path);
        window().exportHtml();
        const QByteArray bytes = TestFiles::readFile(path);
        QVERIFY(bytes.contains(QByteArray("<meta charset=\"") + storedAfter.toLatin1() + "\">"));
        QCOMPARE(bytes.contains("Pr\xC3\xBC" "fung"), utf8);
        QCOMPARE(bytes.contains("Pr\xFC" "fung"), !utf8);
    }

    // ---- Opening typed addresses ----

    // The link test opens a web address: "http://" is proposed for an address
    // without a scheme, and nothing reaches the opener as a file name or an
    // option.
    void linkTestOpensAWebAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // to the proposal, -1: none expected
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::addColumn<bool>("refused"); // a message says it is no web address

        const QString check = QStringLiteral("?action=checkurl");
        QTest::newRow("http") << "http://localhost:8080/quiz/v13/quiz.php" << -1 << "http://localhost:8080/quiz/v13/quiz.php" + check
                              << false;
        QTest::newRow("https, blanks around") << "  https://a.example/quiz.php  " << -1 << "https://a.example/quiz.php" + check << false;
        QTest::newRow("with a query") << "http://a.example/quiz.php?kurs=7" << -1 << "http://a.example/quiz.php?kurs=7" + check << false;
        QTest::newRow("no scheme, Yes") << "www.beispiel.de/quiz.php" << int(Prompts::Yes) << "http://www.beispiel.de/quiz.php" + check
                                        << false;
        QTest::newRow("no scheme, No") << "www.beispiel.de/quiz.php" << int(Prompts::No) << "" << false;
        QTest::newRow("host and port") << "localhost:8080/quiz.php" << int(Prompts::Yes) << "http://localhost:8080/quiz.php" + check
                                       << false;
        QTest::newRow("an option") << "--help" << -1 << "" << true;
        QTest::newRow("an option with a blank") << "-a www.beispiel.de" << -1 << "" << true;
        QTest::newRow("a file path") << "/home/lehrer/quiz.php" << -1 << "" << true;
        QTest::newRow("a file address") << "file:///etc/passwd" << -1 << "" << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << -1 << "" << true;
        QTest::newRow("empty") << "" << -1 << "" << true;
    }
    void linkTestOpensAWebAddress()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, opened);
        QFETCH(bool, refused);
        if (answer >= 0)
            answerNext(Prompts::Answer(answer));
        auto run = ModalTest::whenShown<FormMailerLinkDialog>([&](FormMailerLinkDialog *d) {
            d->setLink(typed);
            child<QToolButton>(d, "btCheckFormmail")->click();
            QVERIFY(d->isVisible());
            QCOMPARE(d->link(), typed);
            child<QPushButton>(d, "btCancel")->click();
        });
        FormMailerLinkDialog dialog(&window());
        dialog.exec();
        QVERIFY_MODAL(run);

        const QStringList urls = askedTexts(QStringLiteral("openUrl"));
        QCOMPARE(urls, opened.isEmpty() ? QStringList() : QStringList{opened});
        for (const QString &u : urls)
            QVERIFY(u.startsWith(QLatin1String("http://")) || u.startsWith(QLatin1String("https://")));
        const QStringList questions = askedTexts(QStringLiteral("question"));
        QCOMPARE(questions.size(), answer >= 0 ? 1 : 0);
        if (answer >= 0)
            QVERIFY2(questions.first().contains(QStringLiteral("http://") + typed.trimmed()), qPrintable(questions.first()));
        QCOMPARE(askedTexts(QStringLiteral("message")).size(), refused ? 1 : 0);
    }

    // Every button that opens a typed address follows the same rule.
    void everyAddressButtonOpensAWebAddress()
    {
        const QString typed = QStringLiteral("www.beispiel.de/seite.html");
        for (int i = 0; i < 3; ++i)
            answerNext(Prompts::Yes);

        auto projectRun = ModalTest::whenShown<ProjectPropertiesDialog>([&](ProjectPropertiesDialog *d) {
            child<QLineEdit>(d, "edtURL")->setText(typed);
            child<QToolButton>(d, "btGOIP")->click();
            child<QPushButton>(d, "btCancel")->click();
        });
        child<QAction>(m_window.get(), "Eigenschaften1")->trigger();
        QVERIFY_MODAL(projectRun);
        auto advancedRun = ModalTest::whenShown<AdvancedSettingsDialog>([&](AdvancedSettingsDialog *d) {
            child<QLineEdit>(d, "edtCaptcha")->setText(typed);
            child<QToolButton>(d, "btGOCaptcha")->click();
            child<QPushButton>(d, "btCancel")->click();
        });
        child<QAction>(m_window.get(), "ErweiterteEinstellungen1")->trigger();
        QVERIFY_MODAL(advancedRun);
        // The link test beside the quiz-script address in the main window.
        window().quiz().setText(SettingKey::cboFormMailer, typed);
        child<QToolButton>(m_window.get(), "btGOCaptcha")->click();

        QCOMPARE(askedTexts(QStringLiteral("question")).size(), 3);
        QCOMPARE(askedTexts(QStringLiteral("openUrl")), (QStringList{"http://www.beispiel.de/seite.html", "http://www.beispiel.de/seite.html",
                                                                     "http://www.beispiel.de/seite.html?action=checkurl"}));
    }

    // ---- The HTML editor ----

    // Escape, pressed in the text, leads to the closing question as the close
    // box does.
    void escapeInTheHtmlEditorAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes takes the text") << int(Prompts::Yes);
        QTest::newRow("No keeps the field") << int(Prompts::No);
    }
    void escapeInTheHtmlEditorAsks()
    {
        QFETCH(int, answer);
        QString text = QStringLiteral("<p>Hallo</p>");
        auto run = ModalTest::whenShown<HtmlEditorDialog>([&](HtmlEditorDialog *e) {
            QVERIFY(e->view()->execCommand(QStringLiteral("SelectAll")));
            QVERIFY(e->view()->execCommand(QStringLiteral("Bold")));
            answerNext(Prompts::Answer(answer));
            QWidget *target = e->view()->webView()->focusProxy();
            QVERIFY(target);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
            QTRY_VERIFY_WITH_TIMEOUT(!e->isVisible(), 5000);
        });
        const bool taken = HtmlEditorDialog::editText(&window(), &text);
        QVERIFY_MODAL(run);
        QCOMPARE(askedTexts(QStringLiteral("question")), QStringList{QStringLiteral("Soll die Eingabe übernommen werden?")});
        QCOMPARE(taken, answer == int(Prompts::Yes));
        QCOMPARE(text, taken ? QStringLiteral("<p><b>Hallo</b></p>") : QStringLiteral("<p>Hallo</p>"));
    }

    // The hyperlink prompt has room for a long address and keeps it whole.
    void hyperlinkPromptKeepsLongAddresses()
    {
        const QString address = QStringLiteral("http://www.beispiel.de/?q=") + longText(40000, QStringLiteral("abc"));
        int width = 0;
        QString label;
        auto run = ModalTest::whenShown<QInputDialog>([&](QInputDialog *d) {
            auto *edit = d->findChild<QLineEdit *>();
            QVERIFY(edit);
            width = edit->width();
            if (auto *l = d->findChild<QLabel *>())
                label = l->text();
            QCOMPARE(edit->text(), QStringLiteral("http://"));
            edit->selectAll();
            edit->insert(address);
            d->accept();
        });
        QString result;
        QVERIFY(HtmlEditorDialog::askLinkAddress(&window(), &result));
        QVERIFY_MODAL(run);
        QVERIFY2(width >= 400, qPrintable(QString::number(width)));
        QCOMPARE(label, QStringLiteral("&Adresse:"));
        QCOMPARE(result, address);
    }
};

QTEST_MAIN(TestDialogInput)
#include "tst_dialoginput.moc"
