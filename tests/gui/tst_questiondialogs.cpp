#include "pagegenerator.h"
#include "mainwindowfixture.h"
#include "modaltest.h"
#include "mainwindow.h"
#include "paths.h"
#include "prompts.h"
#include "quiz.h"
#include "answerdialog.h"
#include "freetextquestiondialog.h"
#include "multiplechoicequestiondialog.h"
#include "singlechoicequestiondialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

class TestQuestionDialogs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    std::unique_ptr<MainWindow> m_window;
    MainWindow &window() { return *m_window; }
    QTableWidget *questionList() { return m_window->findChild<QTableWidget *>(QStringLiteral("itemList")); }
    QList<Prompts::Asked> asked() { return Prompts::asked(); }

    // Fills an answer dialog and confirms it.
    static void answer(AnswerDialog *d, const QString &text, bool right)
    {
        d->textEdit()->setText(text);
        d->rightCheck()->setChecked(right);
        child<QPushButton>(d, "OK")->click();
    }

    // Adds a question through its dialog: caption, answers, then OK.
    void addQuestion(QuestionKind kind, const QString &caption, const QList<QPair<QString, bool>> &answers, bool required = false)
    {
        ModalTest::whenShown<QuestionDialog>([caption, answers, required](QuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(caption);
            child<QCheckBox>(d, "chkPflicht")->setChecked(required);
            fillAnswers(d, answers, 0);
        });
        window().newQuestion(kind);
    }

    static void fillAnswers(QuestionDialog *d, QList<QPair<QString, bool>> answers, int)
    {
        if (answers.isEmpty()) {
            child<QPushButton>(d, "btOk")->click();
            return;
        }
        const auto first = answers.takeFirst();
        ModalTest::whenShown<AnswerDialog>([d, first, answers](AnswerDialog *a) {
            answer(a, first.first, first.second);
            QTimer::singleShot(0, d, [d, answers] { fillAnswers(d, answers, 0); });
        });
        QTimer::singleShot(0, d, [d] { child<QPushButton>(d, "sbNew")->click(); });
    }

    void selectRow(int row) { questionList()->selectRow(row); }
    QStringList captions()
    {
        QStringList c;
        for (int i = 0; i < questionList()->rowCount(); ++i)
            c << questionList()->item(i, 0)->text();
        return c;
    }

private slots:
    void initTestCase()
    {
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
    }

    void init() { m_window = MainWindowFixture::open(); }

    void cleanup()
    {
        const QStringList problems = MainWindowFixture::close(m_window);
        QVERIFY_PROMPTS_EMPTY(problems);
    }

    void addOneOfEachKind()
    {
        addQuestion(QuestionKind::FreeText, QStringLiteral("Hauptstadt?"), {{QStringLiteral("Paris"), false}});
        addQuestion(QuestionKind::MultipleChoice, QStringLiteral("Flüsse?"), {{QStringLiteral("Rhein"), true}, {QStringLiteral("Alpen"), false}}, true);
        addQuestion(QuestionKind::SingleChoice, QStringLiteral("Berg?"), {{QStringLiteral("Zugspitze"), true}});
        QCOMPARE(questionList()->rowCount(), 3);
        QCOMPARE(questionList()->item(0, 1)->text(), QStringLiteral("Einfache Frage"));
        QCOMPARE(questionList()->item(1, 1)->text(), QStringLiteral("Multible Choice Frage"));
        QCOMPARE(questionList()->item(2, 1)->text(), QStringLiteral("Single Choice Frage"));
        const auto &list = window().quiz().questions();
        auto *simple = static_cast<FreeTextQuestion *>(list.at(0));
        QCOMPARE(simple->answers, QStringList{QStringLiteral("Paris")});
        QCOMPARE(simple->fieldSize, QStringLiteral("15"));
        QCOMPARE(simple->maxLength, QStringLiteral("100"));
        auto *multi = static_cast<MultipleChoiceQuestion *>(list.at(1));
        QCOMPARE(int(multi->options.size()), 2);
        QVERIFY(multi->options[0].right);
        QVERIFY(!multi->options[1].right);

        // The page that "HTML Export" writes carries the new questions.
        QVERIFY(window().generateHtml());
        const QString page = window().pageText();
        QVERIFY(page.contains(QStringLiteral("<input name=\"Frage1_0\" size=\"15\" maxlength=\"100\" type=\"text\" aria-labelledby=\"Frage1_text\"><br>")));
        QVERIFY(page.contains(QStringLiteral("<label><input type=\"checkbox\" name=\"Frage2_1\" value=\"set\"> Alpen</label><br>")));
        QVERIFY(page.contains(QStringLiteral("<label><input type=\"radio\" name=\"Frage3\" value=\"0\"> Zugspitze</label><br>")));
        // Only the required question is checked, under its number.
        QVERIFY(page.contains(QStringLiteral("if (document.PRUVEX.Frage2_0.checked == false && document.PRUVEX.Frage2_1.checked == false)")));
        QVERIFY(!page.contains(QStringLiteral("Frage1_0.value == \"\"")));
    }

    void cancelLeavesTheListAlone()
    {
        addQuestion(QuestionKind::FreeText, QStringLiteral("Eins"), {});
        selectRow(0);
        ModalTest::whenShown<QuestionDialog>([](QuestionDialog *d) { child<QPushButton>(d, "Button1")->click(); });
        window().newQuestion(QuestionKind::MultipleChoice);
        QCOMPARE(questionList()->rowCount(), 1);
        QVERIFY(questionList()->selectedItems().isEmpty());
    }

    void editChangesCaptionInPlace()
    {
        addQuestion(QuestionKind::FreeText, QStringLiteral("Alt"), {});
        addQuestion(QuestionKind::FreeText, QStringLiteral("Zwei"), {});
        Question *object = window().quiz().questions().at(0);
        selectRow(0);
        ModalTest::whenShown<QuestionDialog>([](QuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(QStringLiteral("Neu"));
            child<QPushButton>(d, "btOk")->click();
        });
        window().editQuestion();
        QCOMPARE(captions(), (QStringList{QStringLiteral("Neu"), QStringLiteral("Zwei")}));
        QCOMPARE(window().quiz().questions().at(0), object);
        QVERIFY(questionList()->selectedItems().isEmpty());

        // Cancel leaves the question untouched.
        selectRow(0);
        ModalTest::whenShown<QuestionDialog>([](QuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(QStringLiteral("Verworfen"));
            child<QPushButton>(d, "Button1")->click();
        });
        window().editQuestion();
        QCOMPARE(object->caption, QStringLiteral("Neu"));
    }

    void commandsWithoutSelectionDoNothing()
    {
        addQuestion(QuestionKind::FreeText, QStringLiteral("Eins"), {});
        Prompts::clearAsked();
        window().editQuestion();
        window().deleteQuestion();
        window().moveQuestionUp();
        window().moveQuestionDown();
        QVERIFY(asked().isEmpty());
        QCOMPARE(captions(), QStringList{QStringLiteral("Eins")});
    }

    void deleteAsks()
    {
        for (const char *c : {"A", "B", "C"})
            addQuestion(QuestionKind::FreeText, QLatin1String(c), {});
        selectRow(1);
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        window().deleteQuestion();
        QCOMPARE(asked().last().text, QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"));
        QCOMPARE(captions(), (QStringList{"A", "B", "C"}));
        QVERIFY(questionList()->selectedItems().isEmpty());
        selectRow(1);
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
        window().deleteQuestion();
        QCOMPARE(captions(), (QStringList{"A", "C"}));
        // The third question is question 2 in the next page.
        QVERIFY(window().generateHtml());
        QVERIFY(window().pageText().contains(QStringLiteral("name=\"beschrFrage1\" value=\"C\"")));
    }

    void moveUpAndDown()
    {
        for (const char *c : {"A", "B", "C"})
            addQuestion(QuestionKind::FreeText, QLatin1String(c), {});
        selectRow(2);
        window().moveQuestionUp();
        QCOMPARE(captions(), (QStringList{"A", "C", "B"}));
        QCOMPARE(window().selectedQuestion(), 1);
        window().moveQuestionDown();
        QCOMPARE(captions(), (QStringList{"A", "B", "C"}));
        QCOMPARE(window().selectedQuestion(), 2);
        // At the ends nothing moves and the selection stays.
        window().moveQuestionDown();
        QCOMPARE(window().selectedQuestion(), 2);
        selectRow(0);
        window().moveQuestionUp();
        QCOMPARE(captions(), (QStringList{"A", "B", "C"}));
        QCOMPARE(window().selectedQuestion(), 0);
    }

    void checksOnOk_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("rights"); // one letter per row: j = right, n = not
        QTest::addColumn<QString>("message");
        const QString emptyCaption = QStringLiteral("Bitte geben Sie etwas im Feld \"Beschriftung\" ein.");
        QTest::newRow("free text, empty caption") << int(QuestionKind::FreeText) << ""
                                                  << "" << emptyCaption;
        QTest::newRow("multi, empty caption first") << int(QuestionKind::MultipleChoice) << ""
                                                    << "" << emptyCaption;
        QTest::newRow("multi, no right answer") << int(QuestionKind::MultipleChoice) << "F"
                                                << "nn"
                                                << "Mindestens eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein.";
        QTest::newRow("single, empty caption") << int(QuestionKind::SingleChoice) << ""
                                               << "j"
                                               << "Bitte geben Sie etwas im Feld \"Name\" ein.";
        QTest::newRow("single, no right answer") << int(QuestionKind::SingleChoice) << "F"
                                                 << ""
                                                 << "Eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein.";
        QTest::newRow("single, two right answers") << int(QuestionKind::SingleChoice) << "F"
                                                   << "jj"
                                                   << "Mehr als eine Antwort wurde als richtig gekennzeichnet.\r\n"
                                                      "Nur eine richtige Antwort bei Single Choice Fragen möglich.";
    }

    void checksOnOk()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, rights);
        QFETCH(QString, message);
        QuestionDialog *d = window().questionDialog(QuestionKind(kind));
        d->clear();
        // The rows come through loadQuestion, as an edit brings them.
        std::unique_ptr<Question> q = createQuestion(QuestionKind(kind));
        q->caption = caption;
        if (auto *choice = dynamic_cast<ChoiceQuestion *>(q.get()))
            for (QChar r : rights)
                choice->options.push_back({QStringLiteral("Option"), r == QLatin1Char('j')});
        d->loadQuestion(*q);
        d->show();
        d->accept();
        QVERIFY(d->isVisible()); // stays open
        QCOMPARE(asked().size(), 1);
        QCOMPARE(asked().first().text, message);
        if (message.contains(QStringLiteral("im Feld")))
            QCOMPARE(d->focusWidget(), d->findChild<QWidget *>(QStringLiteral("edtBeschriftung")));
        d->reject();
    }

    void loadThenOkWritesBackTheSameValues()
    {
        FreeTextQuestion q;
        q.name = QStringLiteral("intern");
        q.caption = QStringLiteral("<b>Frage</b>");
        q.fieldSize = QStringLiteral("abc");
        q.maxLength = QStringLiteral("7");
        q.required = true;
        q.alertText = QStringLiteral("Bitte!");
        q.tipLink = QStringLiteral("http://tipp");
        q.picture = QStringLiteral("bild.png");
        q.hint = QStringLiteral("Zeile 1\r\nZeile 2");
        q.answers = QStringList{QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("b")};
        QuestionDialog *d = window().questionDialog(QuestionKind::FreeText);
        d->clear();
        d->loadQuestion(q);
        FreeTextQuestion back;
        back.name = QStringLiteral("intern");
        d->saveQuestion(back);
        QCOMPARE(back.caption, q.caption);
        QCOMPARE(back.fieldSize, q.fieldSize);
        QCOMPARE(back.maxLength, q.maxLength);
        QCOMPARE(back.required, q.required);
        QCOMPARE(back.alertText, q.alertText);
        QCOMPARE(back.tipLink, q.tipLink);
        QCOMPARE(back.picture, q.picture);
        QCOMPARE(back.hint, q.hint); // the hidden hint travels too
        QCOMPARE(back.answers, q.answers);
        QVERIFY(d->findChild<QPlainTextEdit *>(QStringLiteral("memoHinweis"))->isHidden());

        MultipleChoiceQuestion m;
        m.options = {{QStringLiteral("x"), true}, {QStringLiteral("y"), false}};
        QuestionDialog *md = window().questionDialog(QuestionKind::MultipleChoice);
        md->clear();
        md->loadQuestion(m);
        MultipleChoiceQuestion mback;
        md->saveQuestion(mback);
        QVERIFY(mback.options == m.options);
        auto *list = md->findChild<QTableWidget *>(QStringLiteral("lstAnswers"));
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("ja"));
        QCOMPARE(list->item(1, 1)->text(), QStringLiteral("nein"));
    }

    void newQuestionStartsEmpty()
    {
        QuestionDialog *d = window().questionDialog(QuestionKind::FreeText);
        FreeTextQuestion q;
        q.picture = QStringLiteral("alt.png");
        q.caption = QStringLiteral("alt");
        q.answers << QStringLiteral("x");
        d->loadQuestion(q);
        ModalTest::whenShown<QuestionDialog>([](QuestionDialog *dlg) {
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtBild"))->text(), QString());
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtBeschriftung"))->text(), QString());
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtGroesse"))->text(), QStringLiteral("15"));
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtLaenge"))->text(), QStringLiteral("100"));
            QCOMPARE(dlg->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->rowCount(), 0);
            QCOMPARE(dlg->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->currentIndex(), 0);
            child<QPushButton>(dlg, "Button1")->click();
        });
        d->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        window().newQuestion(QuestionKind::FreeText);
    }

    // "Bearbeiten" and "Löschen" act on the selected answer only: with the
    // selection cleared (the current row stays), nothing opens or goes.
    void answerCommandsWithoutSelection()
    {
        QuestionDialog *multi = window().questionDialog(QuestionKind::MultipleChoice);
        multi->clear();
        MultipleChoiceQuestion m;
        m.options = {{QStringLiteral("a"), true}, {QStringLiteral("b"), false}};
        multi->loadQuestion(m);
        auto *list = multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"));
        list->setCurrentCell(1, 0);
        list->clearSelection();
        auto none = ModalTest::neverShown<AnswerDialog>();
        child<QPushButton>(multi, "sbEdit")->click();
        QTRY_VERIFY(none->timedOut || none->ran);
        QVERIFY_MODAL(none);
        QCOMPARE(list->rowCount(), 2);
    }

    void answerDialog()
    {
        AnswerDialog *a = window().answerDialog();
        // An empty answer is refused by the answer dialog itself.
        a->clear();
        a->show();
        a->accept();
        QVERIFY(a->isVisible());
        QCOMPARE(asked().last().text, QStringLiteral("Bitte geben Sie eine Antwort ein."));
        QCOMPARE(a->focusWidget(), a->textEdit());
        a->reject();

        // rightCheck: hidden for free text, shown for choices, also after a free-text use.
        QuestionDialog *simple = window().questionDialog(QuestionKind::FreeText);
        simple->clear();
        bool hiddenForSimple = false;
        ModalTest::whenShown<AnswerDialog>([&hiddenForSimple](AnswerDialog *d) {
            hiddenForSimple = d->rightCheck()->isHidden();
            answer(d, QStringLiteral("x"), false);
        });
        simple->newAnswer();
        QVERIFY(hiddenForSimple);
        QuestionDialog *multi = window().questionDialog(QuestionKind::MultipleChoice);
        multi->clear();
        MultipleChoiceQuestion m;
        m.options = {{QStringLiteral("y"), true}};
        multi->loadQuestion(m);
        multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->selectRow(0);
        bool shownChecked = false;
        ModalTest::whenShown<AnswerDialog>([&shownChecked](AnswerDialog *d) {
            shownChecked = !d->rightCheck()->isHidden() && d->rightCheck()->isChecked() && d->textEdit()->text() == QLatin1String("y");
            d->rightCheck()->setChecked(false);
            child<QPushButton>(d, "Button1")->click(); // Cancel keeps the row
        });
        multi->editAnswer();
        QVERIFY(shownChecked);
        QCOMPARE(multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->item(0, 1)->text(), QStringLiteral("ja"));
        // Delete without a question.
        multi->deleteAnswer();
        QCOMPARE(multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->rowCount(), 0);
    }
};

QTEST_MAIN(TestQuestionDialogs)
#include "tst_questiondialogs.moc"
