// Sending through libcurl into a real SMTP server (aiosmtpd) on loopback.

#include "mailmessage.h"
#include "mailsender.h"
#include "smtpsink.h"

#include <QJsonArray>
#include <QTest>

class TestMailSender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void arrivesIntact();
    void answers_data();
    void answers();
    void login();
    void encryption_data();
    void encryption();

private:
    MailMessage hostileMessage() const;
};

void TestMailSender::initTestCase()
{
    if (SmtpSink::python().isEmpty())
        QSKIP("python3-aiosmtpd is not installed");
}

// Every text a form controls, with a line break that tries to start a header.
MailMessage TestMailSender::hostileMessage() const
{
    MailMessage m;
    m.fromAddress = QStringLiteral("quiz@schule.example");
    m.to = {QStringLiteral("lehrer@schule.example")};
    m.replyToAddress = QStringLiteral("anna@familie.example");
    m.replyToName = u"Ännchen Müller\r\nBcc: opfer@evil.example"_qs;
    m.subject = u"Quiz über Европа 😀\r\nBcc: opfer@evil.example\r\n\r\nSpam"_qs;
    m.body = u"Ergebnis: 3 von 5 (60 %)\nÄ Ö Ü ß – Ελληνικά 中文\n.\nSchluss"_qs;
    return m;
}

void TestMailSender::arrivesIntact()
{
    SmtpSink sink;
    QVERIFY(sink.start());
    const MailSender::Result result =
        MailSender(SmtpSink::settingsFor(sink.port())).send({QStringLiteral("lehrer@schule.example")}, hostileMessage().toBytes());
    QCOMPARE(int(result.outcome), int(MailSender::Outcome::Sent));
    QVERIFY(result.answer.startsWith(QLatin1String("250")));
    QVERIFY(sink.waitForMessages(1));
    const QJsonObject m = sink.messages().at(0);
    QCOMPARE(m.value("rcpt_tos").toArray(), QJsonArray{"lehrer@schule.example"});
    QCOMPARE(m.value("mail_from").toString(), QStringLiteral("quiz@schule.example"));
    QCOMPARE(m.value("defects").toArray(), QJsonArray());
    QCOMPARE(SmtpSink::header(m, "Subject"),
             QStringList{u"Quiz über Европа 😀 Bcc: opfer@evil.example Spam"_qs});
    QCOMPARE(SmtpSink::header(m, "Reply-To"),
             QStringList{u"\"Ännchen Müller Bcc: opfer@evil.example\" <anna@familie.example>"_qs});
    QCOMPARE(SmtpSink::headerNames(m),
             (QStringList{"Date", "From", "To", "Reply-To", "Subject", "Message-ID", "MIME-Version", "Content-Type",
                          "Content-Transfer-Encoding"}));
    QCOMPARE(m.value("body").toString(),
             u"Ergebnis: 3 von 5 (60 %)\nÄ Ö Ü ß – Ελληνικά 中文\n.\nSchluss"_qs);
}

void TestMailSender::answers_data()
{
    QTest::addColumn<QStringList>("sinkArguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("answer");
    QTest::newRow("refused") << QStringList{"--answer", "554 5.7.1 Nachricht abgelehnt"}
                             << int(MailSender::Outcome::Permanent) << "554 5.7.1 Nachricht abgelehnt";
    QTest::newRow("try later") << QStringList{"--answer", "451 4.3.0 Bitte spaeter"}
                               << int(MailSender::Outcome::Temporary) << "451 4.3.0 Bitte spaeter";
    QTest::newRow("down") << QStringList{} << int(MailSender::Outcome::Temporary) << "";
}

void TestMailSender::answers()
{
    QFETCH(QStringList, sinkArguments);
    QFETCH(int, outcome);
    QFETCH(QString, answer);
    SmtpSink sink;
    QVERIFY(sink.start(sinkArguments));
    const int port = sink.port();
    if (sinkArguments.isEmpty())
        sink.stop();
    const MailSender::Result result = MailSender(SmtpSink::settingsFor(port)).send({QStringLiteral("lehrer@schule.example")},
                                                                         hostileMessage().toBytes());
    QCOMPARE(int(result.outcome), outcome);
    if (answer.isEmpty())
        QVERIFY2(!result.answer.isEmpty(), "the reason of a failed connection is kept");
    else
        QCOMPARE(result.answer, answer);
    QCOMPARE(sink.messages().size(), 0);
}

void TestMailSender::login()
{
    SmtpSink sink;
    QVERIFY(sink.start({"--user", "quiz", "--password", "geheim"}));
    MailSettings s = SmtpSink::settingsFor(sink.port());
    s.user = QStringLiteral("quiz");
    s.password = QStringLiteral("falsch");
    const MailSender::Result denied = MailSender(s).send({"lehrer@schule.example"}, hostileMessage().toBytes());
    QVERIFY2(denied.outcome == MailSender::Outcome::Permanent, qPrintable(denied.answer));
    s.password = QStringLiteral("geheim");
    QCOMPARE(int(MailSender(s).send({"lehrer@schule.example"}, hostileMessage().toBytes()).outcome),
             int(MailSender::Outcome::Sent));
    QVERIFY(sink.waitForMessages(1));
    QCOMPARE(sink.messages().at(0).value("authenticated").toBool(), true);
}

void TestMailSender::encryption_data()
{
    QTest::addColumn<QStringList>("sinkArguments");
    QTest::addColumn<int>("security");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<bool>("sent");
    using S = MailSettings::Security;
    QTest::newRow("starttls") << QStringList{"--starttls"} << int(S::StartTls) << true << true;
    QTest::newRow("smtps") << QStringList{"--tls"} << int(S::Tls) << true << true;
    // Never plain text when STARTTLS was asked for and the server lacks it.
    QTest::newRow("starttls, server without") << QStringList{} << int(S::StartTls) << true << false;
    QTest::newRow("starttls, unknown certificate") << QStringList{"--starttls"} << int(S::StartTls) << false << false;
    QTest::newRow("smtps, unknown certificate") << QStringList{"--tls"} << int(S::Tls) << false << false;
}

void TestMailSender::encryption()
{
    QFETCH(QStringList, sinkArguments);
    QFETCH(int, security);
    QFETCH(bool, trusted);
    QFETCH(bool, sent);
    SmtpSink sink;
    QVERIFY(sink.start(sinkArguments));
    MailSettings s = SmtpSink::settingsFor(sink.port());
    s.security = MailSettings::Security(security);
    if (trusted && !sinkArguments.isEmpty())
        s.caFile = sink.certificate();
    const MailSender::Result result = MailSender(s).send({"lehrer@schule.example"}, hostileMessage().toBytes());
    QCOMPARE(result.outcome == MailSender::Outcome::Sent, sent);
    if (sent) {
        QVERIFY(sink.waitForMessages(1));
        QCOMPARE(sink.messages().at(0).value("tls").toBool(), true);
    } else {
        QVERIFY2(!result.answer.isEmpty(), "the reason is kept");
        QCOMPARE(sink.messages().size(), 0);
    }
}

QTEST_GUILESS_MAIN(TestMailSender)
#include "tst_mailsender.moc"
