#include "modaltest.h"
#include "prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

// The real branch of the prompts: outside test mode a message box shows, and
// the button the user presses is the answer.
class TestPrompts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Prompts::setTestMode(false); }
    void cleanup() { QVERIFY_PROMPTS(); }

    void questionShowsItsButtons_data()
    {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << true << int(QMessageBox::Yes) << int(Prompts::Yes);
        QTest::newRow("no") << true << int(QMessageBox::No) << int(Prompts::No);
        QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << int(Prompts::Cancel);
        QTest::newRow("escape without cancel means no") << false << -1 << int(Prompts::No);
    }

    void questionShowsItsButtons()
    {
        QFETCH(bool, withCancel);
        QFETCH(int, press);
        QFETCH(int, answer);
        QMessageBox::StandardButtons buttons;
        QString text;
        auto run = ModalTest::whenShown<QMessageBox>([&](QMessageBox *box) {
            buttons = box->standardButtons();
            text = box->text();
            if (press < 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        const Prompts::Answer got = Prompts::question(nullptr, QStringLiteral("Speichern?"), QStringLiteral("Frage"), withCancel);
        QVERIFY_MODAL(run);
        QCOMPARE(int(got), answer);
        QCOMPARE(text, QStringLiteral("Frage"));
        QMessageBox::StandardButtons expected = QMessageBox::Yes | QMessageBox::No;
        if (withCancel)
            expected |= QMessageBox::Cancel;
        QCOMPARE(buttons, expected);
    }

    void messageHasOneButton()
    {
        QMessageBox::StandardButtons buttons;
        auto run = ModalTest::whenShown<QMessageBox>([&](QMessageBox *box) {
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        Prompts::message(nullptr, QStringLiteral("Pruvex"), QStringLiteral("Hinweis"), Prompts::Information);
        QVERIFY_MODAL(run);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
