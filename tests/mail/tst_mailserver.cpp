// pruvex-server itself with mail and with PostgreSQL: the program started
// with a configuration file, forms posted over HTTP, mails read from a real
// SMTP server, and two server processes on one PostgreSQL database.

#include "handoff.h"
#include "postgres.h"
#include "serverfixtures.h"
#include "smtpsink.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <httplib.h>
#include <csignal>

using namespace ServerFixture;

namespace {

const std::string kForm = "application/x-www-form-urlencoded";

// One pruvex-server process on a free loopback port.
class ServerProcess
{
public:
    bool start(const QString &config, const QString &dataDir)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(PRUVEX_BIN_DIR "/pruvex-server"),
                        {QStringLiteral("--config"), config, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--data"), dataDir});
        if (!m_process.waitForStarted(10000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running && timer.elapsed() < 20000)
            m_process.waitForReadyRead(100);
        const QString address = QString::fromUtf8(m_process.readLine()).trimmed();
        port = QRegularExpression(QStringLiteral(":(\\d+)/")).match(address).captured(1).toInt();
        if (port <= 0)
            qWarning("pruvex-server: %s", m_process.readAllStandardError().constData());
        return port > 0;
    }
    // Stops with SIGTERM; returns what the server wrote to standard error.
    QByteArray stop()
    {
        if (m_process.state() == QProcess::Running) {
            ::kill(pid_t(m_process.processId()), SIGTERM);
            if (!m_process.waitForFinished(20000))
                m_process.kill();
        }
        m_log += m_process.readAllStandardError();
        return m_log;
    }
    ~ServerProcess() { stop(); }

    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(20, 0);
        return c;
    }

    int port = 0;

private:
    QProcess m_process;
    QByteArray m_log;
};

QByteArray results(const QString &config, const QString &dataDir)
{
    QProcess p;
    p.start(QStringLiteral(PRUVEX_BIN_DIR "/pruvex-server"), {QStringLiteral("results"), QStringLiteral("--config"), config,
                                                               QStringLiteral("--data"), dataDir, QStringLiteral("--format"),
                                                               QStringLiteral("json")});
    p.waitForFinished(20000);
    return p.readAllStandardOutput();
}

Fields quizForm(const QString &admin, int formId = 4711, bool captcha = false)
{
    const Fields page = hiddenFields(samplePage(QStringLiteral("http://127.0.0.1/quiz/v13/quiz.php"), captcha, formId));
    return with(page, {{QStringLiteral("admin"), Handoff::scrambledBase64(Handoff::encodeText(admin))},
                       {QStringLiteral("Frage1"), QStringLiteral("2")},
                       {QStringLiteral("Frage3_0"), u"München"_qs},
                       {QStringLiteral("LName"), QStringLiteral("Muster")},
                       {QStringLiteral("LEMAIL"), QStringLiteral("anna@familie.example")}});
}

httplib::Result post(httplib::Client &c, const Fields &fields, const httplib::Headers &headers = {})
{
    return c.Post("/quiz/v13/quiz.php", headers, formBody(fields).toStdString(), kForm.c_str());
}

QString mailStateOf(const QByteArray &json, int index)
{
    return QJsonDocument::fromJson(json).array().at(index).toObject().value(QStringLiteral("mail")).toObject().value(
        QStringLiteral("state")).toString();
}

} // namespace

class TestMailServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mailsTheResultSafely();
    void withoutAListNoMail();
    void hungThenDeadMailServer();
    void twoProcessesOnPostgres();
    void postLimitSharedOnPostgres();

private:
    QString writeConfig(const QString &text);
    QString mailSection(int port, const QString &extra = QString()) const;
    // [database] for a fresh database on the test PostgreSQL; empty, with
    // the reason in *database, when it cannot be made.
    QString postgresSection(const TestPostgres &pg, QString *database) const;

    QTemporaryDir m_dir;
    int m_configs = 0;
};

void TestMailServer::initTestCase()
{
    if (SmtpSink::python().isEmpty())
        QSKIP("python3-aiosmtpd is not installed");
}

QString TestMailServer::writeConfig(const QString &text)
{
    const QString path = m_dir.filePath(QStringLiteral("server%1.ini").arg(++m_configs));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.toUtf8());
    return path;
}

QString TestMailServer::mailSection(int port, const QString &extra) const
{
    return QStringLiteral("[mail]\nhost=127.0.0.1\nport=%1\nsecurity=none\nfrom=Pruvex Quiz <quiz@schule.example>\n"
                          "allowed_recipients=lehrer@schule.example, @gymnasium.example\n%2")
        .arg(port)
        .arg(extra);
}

QString TestMailServer::postgresSection(const TestPostgres &pg, QString *database) const
{
    QString error;
    *database = createTestDatabase(pg, &error);
    if (!error.isEmpty()) {
        *database = error;
        return QString();
    }
    return QStringLiteral("[database]\ndriver=postgresql\nhost=127.0.0.1\nport=%1\nname=%2\nuser=pruvex\npassword_file=%3\n")
        .arg(pg.port)
        .arg(*database, pg.passwordFile);
}

// Allowed, refused and mixed recipients, and header injection through the
// subject, the names and LEMAIL, through the whole server.
void TestMailServer::mailsTheResultSafely()
{
    SmtpSink sink;
    QVERIFY(sink.start());
    QTemporaryDir data;
    const QString config = writeConfig(mailSection(sink.port()));
    ServerProcess server;
    QVERIFY(server.start(config, data.path()));
    httplib::Client c = server.client();

    const auto check = c.Get("/quiz/v13/quiz.php?action=checkurl");
    QVERIFY(check);
    QVERIFY(QString::fromStdString(check->body).contains(u"eingerichtet: Mails an die erlaubten Empfänger"_qs));

    const QString injection = QStringLiteral("\r\nBcc: opfer@evil.example\r\n");
    const Fields mixed = with(quizForm(QStringLiteral("lehrer@schule.example; spam@evil.example, 2@gymnasium.example")),
                              {{QStringLiteral("subject"), u"Erdkunde Ü"_qs + injection + QStringLiteral("Spam")},
                               {QStringLiteral("LName"), u"Müller"_qs + injection},
                               {QStringLiteral("LVorname"), u"Ännchen Ελένη"_qs}});
    QCOMPARE(post(c, mixed)->status, 200);
    const Fields refused = quizForm(QStringLiteral("spam@evil.example"), 4712);
    QCOMPARE(post(c, refused)->status, 200);
    const Fields badReplyTo = with(quizForm(QStringLiteral("lehrer@schule.example"), 4713),
                                   {{QStringLiteral("LEMAIL"), QStringLiteral("anna@familie.example") + injection}});
    QCOMPARE(post(c, badReplyTo)->status, 200);

    QVERIFY(sink.waitForMessages(2));
    QTest::qWait(500);
    const QList<QJsonObject> messages = sink.messages();
    QCOMPARE(messages.size(), 2);
    const QJsonObject first = messages.at(0);
    QCOMPARE(first.value("rcpt_tos").toArray(), (QJsonArray{"lehrer@schule.example", "2@gymnasium.example"}));
    QCOMPARE(first.value("defects").toArray(), QJsonArray());
    QCOMPARE(SmtpSink::headerNames(first), (QStringList{"Date", "From", "To", "Reply-To", "Subject", "Message-ID", "MIME-Version",
                                                        "Content-Type", "Content-Transfer-Encoding"}));
    QCOMPARE(SmtpSink::header(first, "Subject"), QStringList{u"Erdkunde Ü Bcc: opfer@evil.example Spam"_qs});
    QCOMPARE(SmtpSink::header(first, "From"), QStringList{"Pruvex Quiz <quiz@schule.example>"});
    QCOMPARE(SmtpSink::header(first, "Reply-To"),
             // The name is cut to one encoded word (45 bytes); the text has it whole.
             QStringList{u"\"Ännchen Ελένη Müller Bcc: opfer@evil.e\" <anna@familie.example>"_qs});
    const QString body = first.value("body").toString();
    QVERIFY2(body.contains(QLatin1String("Formular: 4711\n")), qPrintable(body));
    QVERIFY2(body.contains(u"Antwort: München\n"_qs), qPrintable(body));
    QVERIFY2(body.contains(u"Vorname: Ännchen Ελένη\nName: Müller Bcc: opfer@evil.example\n"_qs), qPrintable(body));
    const QJsonObject second = messages.at(1);
    QCOMPARE(second.value("rcpt_tos").toArray(), QJsonArray{"lehrer@schule.example"});
    QVERIFY2(SmtpSink::header(second, "Reply-To").isEmpty(), "LEMAIL with a line break is no address");
    QVERIFY(!SmtpSink::headerNames(second).contains(QLatin1String("Bcc"), Qt::CaseInsensitive));

    const QByteArray log = server.stop();
    QVERIFY2(log.contains(u"Formular 4711: Empfänger spam@evil.example ist nicht erlaubt"_qs.toUtf8()), log.constData());
    QVERIFY2(log.contains(u"Formular 4712: Empfänger spam@evil.example ist nicht erlaubt"_qs.toUtf8()), log.constData());
    const QByteArray json = results(config, data.path());
    QCOMPARE(mailStateOf(json, 0), QStringLiteral("sent"));
    QCOMPARE(mailStateOf(json, 1), QStringLiteral("refused"));
    QCOMPARE(mailStateOf(json, 2), QStringLiteral("sent"));
}

void TestMailServer::withoutAListNoMail()
{
    SmtpSink sink;
    QVERIFY(sink.start());
    QTemporaryDir data;
    const QString config = writeConfig(QStringLiteral("[mail]\nhost=127.0.0.1\nport=%1\nfrom=quiz@schule.example\n").arg(sink.port()));
    ServerProcess server;
    QVERIFY(server.start(config, data.path()));
    httplib::Client c = server.client();
    const auto check = c.Get("/quiz/v13/quiz.php?action=checkurl");
    QVERIFY(QString::fromStdString(check->body).contains(u"keine erlaubten Empfänger eingetragen"_qs));
    QCOMPARE(post(c, quizForm(QStringLiteral("lehrer@schule.example")))->status, 200);
    QTest::qWait(1500);
    QCOMPARE(sink.messages().size(), 0);
    server.stop();
    QCOMPARE(mailStateOf(results(config, data.path()), 0), QStringLiteral("none"));
}

// A mail server that takes the connection and never answers, then none at
// all, then a working one on the same port: the result page comes at once
// every time, and the mail goes out once the server is there.
void TestMailServer::hungThenDeadMailServer()
{
    SmtpSink hung;
    QVERIFY(hung.start({"--silent"}));
    const int port = hung.port();
    QTemporaryDir data;
    const QString config = writeConfig(mailSection(port, QStringLiteral("retry_first_seconds=1\n")));
    ServerProcess server;
    QVERIFY(server.start(config, data.path()));
    httplib::Client c = server.client();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(post(c, quizForm(QStringLiteral("lehrer@schule.example")))->status, 200);
    QCOMPARE(post(c, quizForm(QStringLiteral("lehrer@schule.example"), 4712))->status, 200);
    // The mail's time-out is 30 s; the pages must not wait for it.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QTest::qWait(500);
    hung.stop();
    QTest::qWait(1500);
    SmtpSink sink;
    QVERIFY(sink.start({"--port", QString::number(port)}));
    QVERIFY(sink.waitForMessages(2, 30000));
    QTest::qWait(1500);
    QCOMPARE(sink.messages().size(), 2);
    server.stop();
    const QByteArray json = results(config, data.path());
    QCOMPARE(mailStateOf(json, 0), QStringLiteral("sent"));
    QCOMPARE(mailStateOf(json, 1), QStringLiteral("sent"));
}

// section: [database] for a fresh database; skips without PostgreSQL.
#define NEEDS_POSTGRES(pg, section, database)                                                                          \
    if (pg.port == 0)                                                                                                  \
        QSKIP(qPrintable(pg.absent));                                                                                  \
    const QString section = postgresSection(pg, &database);                                                            \
    QVERIFY2(!section.isEmpty(), qPrintable(database))

// Two server processes on one PostgreSQL database: the captcha picture from
// one and the form to the other; mails queued by both, each sent once.
void TestMailServer::twoProcessesOnPostgres()
{
    const TestPostgres pg = TestPostgres::find();
    QString database;
    NEEDS_POSTGRES(pg, section, database);
    SmtpSink sink;
    QVERIFY(sink.start());
    const QString config = writeConfig(section + mailSection(sink.port()));
    QTemporaryDir dataA, dataB;
    ServerProcess a, b;
    QVERIFY(a.start(config, dataA.path()));
    QVERIFY(b.start(config, dataB.path()));
    httplib::Client ca = a.client();
    httplib::Client cb = b.client();

    // The picture from A ...
    const auto picture = ca.Get("/quiz/v13/captcha_img.php?id=5150");
    QVERIFY(picture);
    QCOMPARE(picture->status, 200);
    const std::string setCookie = picture->get_header_value("Set-Cookie");
    const std::string cookie = setCookie.substr(0, setCookie.find(';'));
    QVERIFY(!cookie.empty());
    QString code;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("peek"));
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(pg.port);
        db.setDatabaseName(database);
        db.setUserName(QStringLiteral("pruvex"));
        db.setPassword(testPostgresPassword(pg));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT code FROM captchas WHERE form_id = '5150' ORDER BY id DESC LIMIT 1")) && q.next());
        code = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    // ... the form to B.
    const Fields withCaptcha = with(quizForm(QStringLiteral("lehrer@schule.example"), 5150, true),
                                    {{QStringLiteral("captcha_input"), code.toLower()}});
    const auto sent = post(cb, withCaptcha, {{"Cookie", cookie}});
    QVERIFY(sent);
    QCOMPARE(sent->status, 200);
    // Used up for A as well.
    QCOMPARE(post(ca, withCaptcha, {{"Cookie", cookie}})->status, 403);

    constexpr int perServer = 10;
    for (int i = 0; i < perServer; ++i) {
        QCOMPARE(post(ca, quizForm(QStringLiteral("lehrer@schule.example"), 6000 + i))->status, 200);
        QCOMPARE(post(cb, quizForm(QStringLiteral("lehrer@schule.example"), 7000 + i))->status, 200);
    }
    QVERIFY(sink.waitForMessages(2 * perServer + 1, 30000));
    QTest::qWait(2500);
    QStringList forms;
    for (const QJsonObject &m : sink.messages())
        forms << m.value("body").toString().section(QLatin1String("Formular: "), 1).section(QLatin1Char('\n'), 0, 0);
    forms.sort();
    QStringList expected{QStringLiteral("5150")};
    for (int i = 0; i < perServer; ++i)
        expected << QString::number(6000 + i) << QString::number(7000 + i);
    expected.sort();
    QCOMPARE(forms, expected);
    a.stop();
    b.stop();
    const QJsonArray rows = QJsonDocument::fromJson(results(config, dataA.path())).array();
    QCOMPARE(rows.size(), 2 * perServer + 1);
    for (const QJsonValue &r : rows)
        QCOMPARE(r.toObject().value("mail").toObject().value("state").toString(), QStringLiteral("sent"));
}

// The posts of one address are counted for both processes together.
void TestMailServer::postLimitSharedOnPostgres()
{
    const TestPostgres pg = TestPostgres::find();
    QString database;
    NEEDS_POSTGRES(pg, section, database);
    const QString config = writeConfig(section + QStringLiteral("[limits]\nposts_per_minute=4\n"));
    QTemporaryDir dataA, dataB;
    ServerProcess a, b;
    QVERIFY(a.start(config, dataA.path()));
    QVERIFY(b.start(config, dataB.path()));
    httplib::Client ca = a.client();
    httplib::Client cb = b.client();
    const Fields form = quizForm(QString());
    QCOMPARE(post(ca, form)->status, 200);
    QCOMPARE(post(cb, form)->status, 200);
    QCOMPARE(ca.Get("/quiz/v13/captcha_img.php?id=1")->status, 200);
    QCOMPARE(post(cb, form)->status, 200);
    QCOMPARE(post(ca, form)->status, 429);
    QCOMPARE(post(cb, form)->status, 429);
}

QTEST_GUILESS_MAIN(TestMailServer)
#include "tst_mailserver.moc"
