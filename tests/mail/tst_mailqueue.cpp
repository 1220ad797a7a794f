// The mail queue on SQLite and on PostgreSQL, sending into aiosmtpd: who is
// mailed, what is recorded on the submission, retries, and two queues on one
// database taking each mail once.

#include "mailqueue.h"
#include "mailreport.h"
#include "postgres.h"
#include "smtpsink.h"
#include "store.h"
#include "submission.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

class TestMailQueue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportText();
    void recipients_data();
    void recipients();
    void refusingServer_data();
    void refusingServer();
    void downThenUp_data();
    void downThenUp();
    void givesUpAfterItsTime_data();
    void givesUpAfterItsTime();
    void twoQueuesTakeEachMailOnce_data();
    void twoQueuesTakeEachMailOnce();

private:
    void addDrivers();
    std::unique_ptr<Store> openStore();
    Store::Options options();
    MailSettings settings(int port) const;
    qint64 store(Store &store, const QString &recipients, const QString &formId = QStringLiteral("4711"));
    struct State {
        QString state, detail, next;
        int attempts = 0;
    };
    State state(Store &store, qint64 id);

    QTemporaryDir m_dir;
    TestPostgres m_pg;
    QString m_pgDatabase;
};

void TestMailQueue::initTestCase()
{
    if (SmtpSink::python().isEmpty())
        QSKIP("python3-aiosmtpd is not installed");
    m_pg = TestPostgres::find();
}

void TestMailQueue::addDrivers()
{
    QTest::addColumn<QString>("driver");
    QTest::newRow("sqlite") << "QSQLITE";
    QTest::newRow("postgresql") << "QPSQL";
}

Store::Options TestMailQueue::options()
{
    QFETCH(QString, driver);
    Store::Options o;
    o.driver = driver;
    if (driver == QLatin1String("QSQLITE")) {
        o.databaseName = m_dir.filePath(QStringLiteral("%1.sqlite").arg(QTest::currentDataTag()) + QTest::currentTestFunction());
    } else {
        o.host = QStringLiteral("127.0.0.1");
        o.port = m_pg.port;
        o.user = QStringLiteral("pruvex");
        o.password = testPostgresPassword(m_pg);
        o.databaseName = m_pgDatabase;
    }
    return o;
}

std::unique_ptr<Store> TestMailQueue::openStore()
{
    auto s = std::make_unique<Store>(options());
    QString error;
    if (!s->open(&error))
        qWarning("%s", qPrintable(error));
    return s;
}

MailSettings TestMailQueue::settings(int port) const
{
    MailSettings s = SmtpSink::settingsFor(port);
    s.allowedRecipients = QStringLiteral("lehrer@schule.example,@gymnasium.example");
    s.retryFirstSeconds = 1;
    return s;
}

qint64 TestMailQueue::store(Store &st, const QString &recipients, const QString &formId)
{
    Submission s;
    s.formId = formId;
    s.subject = QStringLiteral("Erdkunde");
    s.recipients = recipients;
    s.address = {{QStringLiteral("LName"), QStringLiteral("Schmidt")}, {QStringLiteral("LEMAIL"), QStringLiteral("anna@familie.example")}};
    QuestionResult q;
    q.type = QStringLiteral("TSimpleQuestion");
    q.text = QStringLiteral("Hauptstadt?");
    q.answers = {QStringLiteral("Berlin")};
    q.right = true;
    s.questions = {q};
    s.right = s.scored = 1;
    qint64 id = 0;
    QString error;
    if (!st.saveSubmission(s, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), &id, &error))
        qWarning("%s", qPrintable(error));
    return id;
}

TestMailQueue::State TestMailQueue::state(Store &st, qint64 id)
{
    QSqlQuery q(st.connection());
    q.prepare(QStringLiteral("SELECT mail_state, mail_detail, mail_next_at, mail_attempts FROM submissions WHERE id = ?"));
    q.addBindValue(id);
    State s;
    if (q.exec() && q.next())
        s = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()};
    return s;
}

// QTRY_VERIFY would call processOne once more after it succeeded.
static bool processWithin(MailQueue &queue, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!queue.processOne()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

#define NEEDS_DRIVER()                                                                                                 \
    do {                                                                                                               \
        QFETCH(QString, driver);                                                                                       \
        if (driver == QLatin1String("QPSQL")) {                                                                        \
            if (m_pg.port == 0)                                                                                        \
                QSKIP(qPrintable(m_pg.absent));                                                                        \
            QString error;                                                                                             \
            m_pgDatabase = createTestDatabase(m_pg, &error);                                                           \
            QVERIFY2(error.isEmpty(), qPrintable(error));                                                              \
        }                                                                                                              \
    } while (0)

void TestMailQueue::reportText()
{
    MailReport::Input in;
    in.formId = QStringLiteral("4711");
    in.time = QStringLiteral("2026-12-11T10:44:36Z");
    in.subject = QStringLiteral("Erdkunde");
    in.right = 1;
    in.scored = 2;
    in.questions = QJsonArray{
        QJsonObject{{"type", "TSimpleQuestion"}, {"text", "Die <b>Hauptstadt</b><br>von&nbsp;Frankreich &amp; &#8364;?"},
                    {"answers", QJsonArray{"Paris"}}, {"right", true}},
        QJsonObject{{"type", "TMultiQuestion"}, {"text", "Flüsse"}, {"answers", QJsonArray{"Rhein", "Nil"}}, {"right", false}},
        QJsonObject{{"type", "TSimpleQuestion"}, {"text", "Meinung"}, {"answers", QJsonArray{}}, {"right", QJsonValue()}},
    };
    in.address = QJsonObject{{"LName", "Schmidt"}, {"LVorname", "Anna"}, {"LEMAIL", "anna@familie.example"}};
    QCOMPARE(MailReport::text(in), QStringLiteral("Ergebnis des Quiz \"Erdkunde\"\n"
                                                  "Formular: 4711\n"
                                                  "Eingang: 11.12.2026 10:44:36 UTC\n"
                                                  "Ergebnis: 1 von 2 Fragen richtig (50 %)\n"
                                                  "\n"
                                                  "1. Die Hauptstadt\n"
                                                  "   von Frankreich & €?\n"
                                                  "   Antwort: Paris\n"
                                                  "   Bewertung: richtig\n"
                                                  "\n"
                                                  "2. Flüsse\n"
                                                  "   Antwort: Rhein | Nil\n"
                                                  "   Bewertung: falsch\n"
                                                  "\n"
                                                  "3. Meinung\n"
                                                  "   Antwort: (keine)\n"
                                                  "   Bewertung: nicht bewertet\n"
                                                  "\n"
                                                  "Adresse:\n"
                                                  "Vorname: Anna\n"
                                                  "Name: Schmidt\n"
                                                  "E-Mail: anna@familie.example\n"));
    const MailMessage m = MailReport::message(in, QString(), QStringLiteral("quiz@schule.example"), {"lehrer@schule.example"});
    QCOMPARE(m.replyToAddress, QStringLiteral("anna@familie.example"));
    QCOMPARE(m.replyToName, QStringLiteral("Anna Schmidt"));
    in.address.insert("LEMAIL", "anna@familie.example, bcc@evil.example");
    QVERIFY(MailReport::message(in, QString(), QStringLiteral("quiz@schule.example"), {}).replyToAddress.isEmpty());
}

void TestMailQueue::recipients_data()
{
    addDrivers();
}

// Allowed, refused and mixed recipients: who gets the mail and what the
// submission records.
void TestMailQueue::recipients()
{
    NEEDS_DRIVER();
    SmtpSink sink;
    QVERIFY(sink.start());
    auto st = openStore();
    MailQueue queue(*st, settings(sink.port()));
    const qint64 allowed = store(*st, "lehrer@schule.example");
    const qint64 refused = store(*st, "spam@evil.example; other@evil.example");
    const qint64 mixed = store(*st, "a@gymnasium.example, spam@evil.example");
    const qint64 nobody = store(*st, "");
    queue.submit(allowed, "4711", "lehrer@schule.example");
    QTest::ignoreMessage(QtWarningMsg, "Formular 4711: Empfänger spam@evil.example ist nicht erlaubt und bekommt keine Mail");
    QTest::ignoreMessage(QtWarningMsg, "Formular 4711: Empfänger other@evil.example ist nicht erlaubt und bekommt keine Mail");
    queue.submit(refused, "4711", "spam@evil.example; other@evil.example");
    QTest::ignoreMessage(QtWarningMsg, "Formular 4711: Empfänger spam@evil.example ist nicht erlaubt und bekommt keine Mail");
    queue.submit(mixed, "4711", "a@gymnasium.example, spam@evil.example");
    queue.submit(nobody, "4711", "");
    QCOMPARE(state(*st, refused).state, QStringLiteral("refused"));
    QCOMPARE(state(*st, refused).detail, QStringLiteral("nicht erlaubt: spam@evil.example, other@evil.example"));
    QCOMPARE(state(*st, nobody).state, QStringLiteral("none"));
    QCOMPARE(state(*st, allowed).state, QStringLiteral("queued"));

    while (queue.processOne()) {
    }
    QVERIFY(sink.waitForMessages(2));
    const QList<QJsonObject> messages = sink.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).value("rcpt_tos").toArray(), QJsonArray{"lehrer@schule.example"});
    QCOMPARE(messages.at(1).value("rcpt_tos").toArray(), QJsonArray{"a@gymnasium.example"});
    QCOMPARE(SmtpSink::header(messages.at(1), "To"), QStringList{"a@gymnasium.example"});
    QCOMPARE(SmtpSink::header(messages.at(1), "Reply-To"), QStringList{"Schmidt <anna@familie.example>"});
    QVERIFY(messages.at(1).value("body").toString().contains(QLatin1String("1. Hauptstadt?\n   Antwort: Berlin\n")));
    QCOMPARE(state(*st, allowed).state, QStringLiteral("sent"));
    QCOMPARE(state(*st, allowed).attempts, 1);
    QCOMPARE(state(*st, mixed).state, QStringLiteral("sent"));
    QVERIFY2(state(*st, mixed).detail.endsWith(QLatin1String("; nicht erlaubt: spam@evil.example")), qPrintable(state(*st, mixed).detail));
    QCOMPARE(state(*st, refused).state, QStringLiteral("refused"));
}

void TestMailQueue::refusingServer_data()
{
    addDrivers();
}

void TestMailQueue::refusingServer()
{
    NEEDS_DRIVER();
    SmtpSink sink;
    QVERIFY(sink.start({"--answer", "554 5.7.1 Keine Mails von Quizzen"}));
    auto st = openStore();
    MailQueue queue(*st, settings(sink.port()));
    const qint64 id = store(*st, "lehrer@schule.example");
    queue.submit(id, "4711", "lehrer@schule.example");
    QTest::ignoreMessage(QtWarningMsg, "Formular 4711: Mail nach 1 Versuch(en) nicht zugestellt: 554 5.7.1 Keine Mails von Quizzen");
    QVERIFY(queue.processOne());
    QCOMPARE(state(*st, id).state, QStringLiteral("failed"));
    QCOMPARE(state(*st, id).detail, QStringLiteral("554 5.7.1 Keine Mails von Quizzen"));
    QVERIFY(!queue.processOne());
}

void TestMailQueue::downThenUp_data()
{
    addDrivers();
}

// A dead mail server: the mail waits with growing pauses and goes out once
// the server is back, by the background loop.
void TestMailQueue::downThenUp()
{
    NEEDS_DRIVER();
    SmtpSink sink;
    const int port = sink.unusedPort();
    QVERIFY(port > 0);
    auto st = openStore();
    MailQueue queue(*st, settings(port));
    const qint64 id = store(*st, "lehrer@schule.example");
    queue.submit(id, "4711", "lehrer@schule.example");

    const auto pauseAfter = [&] {
        const State s = state(*st, id);
        return QDateTime::currentDateTimeUtc().msecsTo(QDateTime::fromString(s.next, Qt::ISODateWithMs));
    };
    QVERIFY(queue.processOne());
    QCOMPARE(state(*st, id).state, QStringLiteral("queued"));
    QVERIFY2(!state(*st, id).detail.isEmpty(), "the reason is recorded");
    const qint64 first = pauseAfter();
    QVERIFY2(first > 500 && first <= 1000, qPrintable(QString::number(first)));
    QVERIFY2(!queue.processOne(), "not due before its pause");
    QVERIFY(processWithin(queue, 3000));
    const qint64 second = pauseAfter();
    QVERIFY2(second > 1500 && second <= 2000, qPrintable(QString::number(second)));
    QCOMPARE(state(*st, id).attempts, 2);

    QVERIFY(sink.start({"--port", QString::number(port)}));
    queue.start();
    QVERIFY(sink.waitForMessages(1, 10000));
    QTRY_COMPARE_WITH_TIMEOUT(state(*st, id).state, QStringLiteral("sent"), 5000);
    queue.stop();
    QCOMPARE(state(*st, id).attempts, 3);
    QCOMPARE(sink.messages().size(), 1);
}

void TestMailQueue::givesUpAfterItsTime_data()
{
    addDrivers();
}

void TestMailQueue::givesUpAfterItsTime()
{
    NEEDS_DRIVER();
    const int port = SmtpSink().unusedPort();
    QVERIFY(port > 0);
    auto st = openStore();
    MailSettings s = settings(port);
    s.retryForSeconds = 2;  // a day in production
    MailQueue queue(*st, s);
    const qint64 id = store(*st, "lehrer@schule.example");
    queue.submit(id, "4711", "lehrer@schule.example");
    QVERIFY(queue.processOne());
    QCOMPARE(state(*st, id).state, QStringLiteral("queued"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Formular 4711: Mail nach 2 Versuch\\(en\\) nicht zugestellt: "));
    QVERIFY(processWithin(queue, 3000));
    QCOMPARE(state(*st, id).state, QStringLiteral("failed"));
}

void TestMailQueue::twoQueuesTakeEachMailOnce_data()
{
    addDrivers();
}

// Two stores with their own connections stand for two server processes.
void TestMailQueue::twoQueuesTakeEachMailOnce()
{
    NEEDS_DRIVER();
    SmtpSink sink;
    QVERIFY(sink.start());
    auto a = openStore();
    auto b = openStore();
    MailQueue qa(*a, settings(sink.port()));
    MailQueue qb(*b, settings(sink.port()));
    constexpr int count = 30;
    QList<qint64> ids;
    for (int i = 0; i < count; ++i) {
        Store &st = i % 2 ? *a : *b;
        ids << store(st, "lehrer@schule.example", QString::number(1000 + i));
        (i % 2 ? qa : qb).submit(ids.last(), QString::number(1000 + i), "lehrer@schule.example");
    }
    std::atomic<int> sentByA{0}, sentByB{0};
    std::thread ta([&] { while (qa.processOne()) ++sentByA; });
    std::thread tb([&] { while (qb.processOne()) ++sentByB; });
    ta.join();
    tb.join();
    QVERIFY(sink.waitForMessages(count));
    QTest::qWait(300);
    QStringList forms;
    for (const QJsonObject &m : sink.messages()) {
        const QString body = m.value("body").toString();
        forms << body.section(QLatin1String("Formular: "), 1).section(QLatin1Char('\n'), 0, 0);
    }
    forms.sort();
    QStringList expected;
    for (int i = 0; i < count; ++i)
        expected << QString::number(1000 + i);
    QCOMPARE(forms, expected);
    for (qint64 id : ids)
        QCOMPARE(state(*a, id).state, QStringLiteral("sent"));
    qInfo("mails taken by the first queue: %d, by the second: %d", int(sentByA), int(sentByB));
}

QTEST_GUILESS_MAIN(TestMailQueue)
#include "tst_mailqueue.moc"
