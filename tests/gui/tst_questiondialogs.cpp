#include "export.h"
#include "genhtml.h"
#include "mainFrm.h"
#include "paths.h"
#include "prompts.h"
#include "quiz.h"
#include "uInputAnswer.h"
#include "uQuestionDialogs.h"

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

// Runs fn as soon as a modal dialog of type T is shown; several may be queued.
template <typename T> void whenShown(std::function<void(T *)> fn)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *d = qobject_cast<T *>(w);
            if (d && d->isVisible() && QApplication::activeModalWidget() == d) {
                timer->stop();
                timer->deleteLater();
                fn(d);
                return;
            }
        }
    });
    timer->start();
}

class TestQuestionDialogs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;
    std::unique_ptr<TfrmMain> m_window;
    TfrmMain &window() { return *m_window; }
    QTableWidget *itemList() { return m_window->findChild<QTableWidget *>(QStringLiteral("itemList")); }
    QList<Prompts::Asked> asked() { return Prompts::asked(); }

    template <typename T> static T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }

    // Fills an answer dialog and confirms it.
    static void answer(TfrmAntwort *d, const QString &text, bool right)
    {
        d->edtAntwort()->setText(text);
        d->chkRight()->setChecked(right);
        child<QPushButton>(d, "OK")->click();
    }

    // Adds a question through its dialog: caption, answers, then OK.
    void addQuestion(QuestionKind kind, const QString &caption, const QList<QPair<QString, bool>> &answers, bool required = false)
    {
        whenShown<TfrmQuestionDialog>([caption, answers, required](TfrmQuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(caption);
            child<QCheckBox>(d, "chkPflicht")->setChecked(required);
            fillAnswers(d, answers, 0);
        });
        window().newQuestion(kind);
    }

    static void fillAnswers(TfrmQuestionDialog *d, QList<QPair<QString, bool>> answers, int)
    {
        if (answers.isEmpty()) {
            child<QPushButton>(d, "btOk")->click();
            return;
        }
        const auto first = answers.takeFirst();
        whenShown<TfrmAntwort>([d, first, answers](TfrmAntwort *a) {
            answer(a, first.first, first.second);
            QTimer::singleShot(0, d, [d, answers] { fillAnswers(d, answers, 0); });
        });
        QTimer::singleShot(0, d, [d] { child<QPushButton>(d, "sbNew")->click(); });
    }

    void selectRow(int row) { itemList()->selectRow(row); }
    QStringList captions()
    {
        QStringList c;
        for (int i = 0; i < itemList()->rowCount(); ++i)
            c << itemList()->item(i, 0)->text();
        return c;
    }

private slots:
    void initTestCase()
    {
        Paths::setUserDataPath(m_userDir.path());
        Prompts::setTestMode(true);
    }

    void init()
    {
        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        m_window->startUp(QString(), false);
        Prompts::clearAsked();
    }

    void cleanup()
    {
        Prompts::clearAsked();
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        m_window->close();
        m_window.reset();
    }

    void addOneOfEachKind()
    {
        addQuestion(QuestionKind::Simple, QStringLiteral("Hauptstadt?"), {{QStringLiteral("Paris"), false}});
        addQuestion(QuestionKind::Multi, QStringLiteral("Flüsse?"), {{QStringLiteral("Rhein"), true}, {QStringLiteral("Alpen"), false}}, true);
        addQuestion(QuestionKind::Single, QStringLiteral("Berg?"), {{QStringLiteral("Zugspitze"), true}});
        QCOMPARE(itemList()->rowCount(), 3);
        QCOMPARE(itemList()->item(0, 1)->text(), QStringLiteral("Einfache Frage"));
        QCOMPARE(itemList()->item(1, 1)->text(), QStringLiteral("Multible Choice Frage"));
        QCOMPARE(itemList()->item(2, 1)->text(), QStringLiteral("Single Choice Frage"));
        const auto &list = window().quiz().ListField();
        auto *simple = static_cast<TSimpleQuestion *>(list.at(0));
        QCOMPARE(simple->arAnswers, QStringList{QStringLiteral("Paris")});
        QCOMPARE(simple->strGroesse, QStringLiteral("15"));
        QCOMPARE(simple->strMaxLaenge, QStringLiteral("100"));
        auto *multi = static_cast<TMultiQuestion *>(list.at(1));
        QCOMPARE(int(multi->arQuestions.size()), 2);
        QVERIFY(multi->arQuestions[0].bRight);
        QVERIFY(!multi->arQuestions[1].bRight);

        // The page that "HTML Export" writes carries the new questions.
        QVERIFY(window().GenerateHTML());
        const QString page = window().pageText();
        QVERIFY(page.contains(QStringLiteral("<input name=\"Frage1_0\" size=\"15\" maxlength=\"100\" type=\"text\"><br>")));
        QVERIFY(page.contains(QStringLiteral("<input type=\"checkbox\" name=\"Frage2_1\" value=\"set\"> Alpen<br>")));
        QVERIFY(page.contains(QStringLiteral("<input type=\"radio\" name=\"Frage3\" value=\"0\"> Zugspitze<br>")));
        // Only the required question is checked, under its number.
        QVERIFY(page.contains(QStringLiteral("if (document.PRUVEX.Frage2_0.checked == false && document.PRUVEX.Frage2_1.checked == false)")));
        QVERIFY(!page.contains(QStringLiteral("Frage1_0.value == \"\"")));
    }

    void cancelLeavesTheListAlone()
    {
        addQuestion(QuestionKind::Simple, QStringLiteral("Eins"), {});
        selectRow(0);
        whenShown<TfrmQuestionDialog>([](TfrmQuestionDialog *d) { child<QPushButton>(d, "Button1")->click(); });
        window().newQuestion(QuestionKind::Multi);
        QCOMPARE(itemList()->rowCount(), 1);
        QVERIFY(itemList()->selectedItems().isEmpty());
    }

    void editChangesCaptionInPlace()
    {
        addQuestion(QuestionKind::Simple, QStringLiteral("Alt"), {});
        addQuestion(QuestionKind::Simple, QStringLiteral("Zwei"), {});
        TQuestion *object = window().quiz().ListField().at(0);
        selectRow(0);
        whenShown<TfrmQuestionDialog>([](TfrmQuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(QStringLiteral("Neu"));
            child<QPushButton>(d, "btOk")->click();
        });
        window().sbEditFieldClick();
        QCOMPARE(captions(), (QStringList{QStringLiteral("Neu"), QStringLiteral("Zwei")}));
        QCOMPARE(window().quiz().ListField().at(0), object);
        QVERIFY(itemList()->selectedItems().isEmpty());

        // Cancel leaves the question untouched.
        selectRow(0);
        whenShown<TfrmQuestionDialog>([](TfrmQuestionDialog *d) {
            child<QLineEdit>(d, "edtBeschriftung")->setText(QStringLiteral("Verworfen"));
            child<QPushButton>(d, "Button1")->click();
        });
        window().sbEditFieldClick();
        QCOMPARE(object->strBeschriftung, QStringLiteral("Neu"));
    }

    void commandsWithoutSelectionDoNothing()
    {
        addQuestion(QuestionKind::Simple, QStringLiteral("Eins"), {});
        Prompts::clearAsked();
        window().sbEditFieldClick();
        window().sbDelFieldClick();
        window().sbUpClick();
        window().sbDownClick();
        QVERIFY(asked().isEmpty());
        QCOMPARE(captions(), QStringList{QStringLiteral("Eins")});
    }

    void deleteAsks()
    {
        for (const char *c : {"A", "B", "C"})
            addQuestion(QuestionKind::Simple, QLatin1String(c), {});
        selectRow(1);
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
        window().sbDelFieldClick();
        QCOMPARE(asked().last().text, QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"));
        QCOMPARE(captions(), (QStringList{"A", "B", "C"}));
        QVERIFY(itemList()->selectedItems().isEmpty());
        selectRow(1);
        Prompts::setNextAnswer(QVariant::fromValue(Prompts::Yes));
        window().sbDelFieldClick();
        QCOMPARE(captions(), (QStringList{"A", "C"}));
        // The third question is question 2 in the next page.
        QVERIFY(window().GenerateHTML());
        QVERIFY(window().pageText().contains(QStringLiteral("name=\"beschrFrage1\" value=\"C\"")));
    }

    void moveUpAndDown()
    {
        for (const char *c : {"A", "B", "C"})
            addQuestion(QuestionKind::Simple, QLatin1String(c), {});
        selectRow(2);
        window().sbUpClick();
        QCOMPARE(captions(), (QStringList{"A", "C", "B"}));
        QCOMPARE(window().selectedQuestion(), 1);
        window().sbDownClick();
        QCOMPARE(captions(), (QStringList{"A", "B", "C"}));
        QCOMPARE(window().selectedQuestion(), 2);
        // At the ends nothing moves and the selection stays.
        window().sbDownClick();
        QCOMPARE(window().selectedQuestion(), 2);
        selectRow(0);
        window().sbUpClick();
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
        QTest::newRow("free text, empty caption") << int(QuestionKind::Simple) << ""
                                                  << "" << emptyCaption;
        QTest::newRow("multi, empty caption first") << int(QuestionKind::Multi) << ""
                                                    << "" << emptyCaption;
        QTest::newRow("multi, no right answer") << int(QuestionKind::Multi) << "F"
                                                << "nn"
                                                << "Mindestens eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein.";
        QTest::newRow("single, empty caption") << int(QuestionKind::Single) << ""
                                               << "j"
                                               << "Bitte geben Sie etwas im Feld \"Name\" ein.";
        QTest::newRow("single, no right answer") << int(QuestionKind::Single) << "F"
                                                 << ""
                                                 << "Eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein.";
        QTest::newRow("single, two right answers") << int(QuestionKind::Single) << "F"
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
        TfrmQuestionDialog *d = window().questionDialog(QuestionKind(kind));
        d->ClearAll();
        // The rows come through LoadFromObject, as an edit brings them.
        std::unique_ptr<TQuestion> q = createQuestion(QuestionKind(kind));
        q->strBeschriftung = caption;
        if (auto *choice = dynamic_cast<TChoiceQuestion *>(q.get()))
            for (QChar r : rights)
                choice->arQuestions.push_back({QStringLiteral("Option"), r == QLatin1Char('j')});
        d->LoadFromObject(*q);
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
        TSimpleQuestion q;
        q.strName = QStringLiteral("intern");
        q.strBeschriftung = QStringLiteral("<b>Frage</b>");
        q.strGroesse = QStringLiteral("abc");
        q.strMaxLaenge = QStringLiteral("7");
        q.bPflicht = true;
        q.strMeldung = QStringLiteral("Bitte!");
        q.strLinkTipp = QStringLiteral("http://tipp");
        q.strBild = QStringLiteral("bild.png");
        q.strErklaerung = QStringLiteral("Zeile 1\r\nZeile 2");
        q.arAnswers = QStringList{QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("b")};
        TfrmQuestionDialog *d = window().questionDialog(QuestionKind::Simple);
        d->ClearAll();
        d->LoadFromObject(q);
        TSimpleQuestion back;
        back.strName = QStringLiteral("intern");
        d->SaveToObject(back);
        QCOMPARE(back.strBeschriftung, q.strBeschriftung);
        QCOMPARE(back.strGroesse, q.strGroesse);
        QCOMPARE(back.strMaxLaenge, q.strMaxLaenge);
        QCOMPARE(back.bPflicht, q.bPflicht);
        QCOMPARE(back.strMeldung, q.strMeldung);
        QCOMPARE(back.strLinkTipp, q.strLinkTipp);
        QCOMPARE(back.strBild, q.strBild);
        QCOMPARE(back.strErklaerung, q.strErklaerung); // the hidden hint travels too
        QCOMPARE(back.arAnswers, q.arAnswers);
        QVERIFY(d->findChild<QPlainTextEdit *>(QStringLiteral("memoHinweis"))->isHidden());

        TMultiQuestion m;
        m.arQuestions = {{QStringLiteral("x"), true}, {QStringLiteral("y"), false}};
        TfrmQuestionDialog *md = window().questionDialog(QuestionKind::Multi);
        md->ClearAll();
        md->LoadFromObject(m);
        TMultiQuestion mback;
        md->SaveToObject(mback);
        QVERIFY(mback.arQuestions == m.arQuestions);
        auto *list = md->findChild<QTableWidget *>(QStringLiteral("lstAnswers"));
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("ja"));
        QCOMPARE(list->item(1, 1)->text(), QStringLiteral("nein"));
    }

    void newQuestionStartsEmpty()
    {
        TfrmQuestionDialog *d = window().questionDialog(QuestionKind::Simple);
        TSimpleQuestion q;
        q.strBild = QStringLiteral("alt.png");
        q.strBeschriftung = QStringLiteral("alt");
        q.arAnswers << QStringLiteral("x");
        d->LoadFromObject(q);
        whenShown<TfrmQuestionDialog>([](TfrmQuestionDialog *dlg) {
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtBild"))->text(), QString());
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtBeschriftung"))->text(), QString());
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtGroesse"))->text(), QStringLiteral("15"));
            QCOMPARE(dlg->findChild<QLineEdit *>(QStringLiteral("edtLaenge"))->text(), QStringLiteral("100"));
            QCOMPARE(dlg->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->rowCount(), 0);
            QCOMPARE(dlg->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->currentIndex(), 0);
            child<QPushButton>(dlg, "Button1")->click();
        });
        d->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        window().newQuestion(QuestionKind::Simple);
    }

    void answerDialog()
    {
        TfrmAntwort *a = window().answerDialog();
        // An empty answer is refused by the answer dialog itself.
        a->Clear();
        a->show();
        a->accept();
        QVERIFY(a->isVisible());
        QCOMPARE(asked().last().text, QStringLiteral("Bitte geben Sie eine Antwort ein."));
        QCOMPARE(a->focusWidget(), a->edtAntwort());
        a->reject();

        // chkRight: hidden for free text, shown for choices, also after a free-text use.
        TfrmQuestionDialog *simple = window().questionDialog(QuestionKind::Simple);
        simple->ClearAll();
        bool hiddenForSimple = false;
        whenShown<TfrmAntwort>([&hiddenForSimple](TfrmAntwort *d) {
            hiddenForSimple = d->chkRight()->isHidden();
            answer(d, QStringLiteral("x"), false);
        });
        simple->sbNewClick();
        QVERIFY(hiddenForSimple);
        TfrmQuestionDialog *multi = window().questionDialog(QuestionKind::Multi);
        multi->ClearAll();
        TMultiQuestion m;
        m.arQuestions = {{QStringLiteral("y"), true}};
        multi->LoadFromObject(m);
        multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->selectRow(0);
        bool shownChecked = false;
        whenShown<TfrmAntwort>([&shownChecked](TfrmAntwort *d) {
            shownChecked = !d->chkRight()->isHidden() && d->chkRight()->isChecked() && d->edtAntwort()->text() == QLatin1String("y");
            d->chkRight()->setChecked(false);
            child<QPushButton>(d, "Button1")->click(); // Cancel keeps the row
        });
        multi->sbEditClick();
        QVERIFY(shownChecked);
        QCOMPARE(multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->item(0, 1)->text(), QStringLiteral("ja"));
        // Delete without a question.
        multi->sbDeleteClick();
        QCOMPARE(multi->findChild<QTableWidget *>(QStringLiteral("lstAnswers"))->rowCount(), 0);
    }
};

QTEST_MAIN(TestQuestionDialogs)
#include "tst_questiondialogs.moc"
