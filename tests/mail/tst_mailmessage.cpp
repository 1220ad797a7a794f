// Composing the result mail and choosing its recipients, without a server.

#include "mailmessage.h"
#include "mailrecipients.h"
#include "mailsettings.h"

#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

class TestMailMessage : public QObject
{
    Q_OBJECT

private slots:
    void headerValue_data();
    void headerValue();
    void headerValueNeverBreaksALine();
    void address_data();
    void address();
    void mailbox_data();
    void mailbox();
    void recipients_data();
    void recipients();
    void message();
    void settings_data();
    void settings();
};

void TestMailMessage::headerValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << "Quiz zur Erdkunde" << QByteArray("Quiz zur Erdkunde");
    QTest::newRow("blanks") << "  Quiz \t zur   Erdkunde " << QByteArray("Quiz zur Erdkunde");
    QTest::newRow("CR LF injection") << "Hallo\r\nBcc: opfer@example.org" << QByteArray("Hallo Bcc: opfer@example.org");
    QTest::newRow("bare LF") << "Hallo\nTo: x@example.org\n\nBody" << QByteArray("Hallo To: x@example.org Body");
    QTest::newRow("umlaut") << "Prüfung" << QByteArray("=?UTF-8?B?UHLDvGZ1bmc=?=");
    QTest::newRow("umlaut with CR LF")
        << u"Prüfung\r\nBcc: x@example.org"_qs << QByteArray("=?UTF-8?B?UHLDvGZ1bmcgQmNjOiB4QGV4YW1wbGUub3Jn?=");
    QTest::newRow("looks encoded") << "=?UTF-8?B?QmNj?=" << QByteArray("=?UTF-8?B?PT9VVEYtOD9CP1FtTmo/PQ==?=");
    // 13 three-byte characters: 39 bytes fill one word; the 14th starts the next.
    QTest::newRow("two words")
        << u"日本語日本語日本語日本語日本"_qs
        << QByteArray("=?UTF-8?B?5pel5pys6Kqe5pel5pys6Kqe5pel5pys6Kqe5pel5pys6Kqe5pel?=\r\n =?UTF-8?B?5pys?=");
    QTest::newRow("emoji not cut") << QString(19, QLatin1Char('a')) + u"😀b"_qs
                                   << QByteArray("=?UTF-8?B?YWFhYWFhYWFhYWFhYWFhYWFhYfCfmIBi?=");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestMailMessage::headerValue()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(MailMessage::encodeHeaderValue(value), expected);
}

// Whatever the value holds, the only line breaks are folds ("\r\n "), each
// line is short, and each encoded word decodes to valid UTF-8.
void TestMailMessage::headerValueNeverBreaksALine()
{
    QString hostile;
    for (int i = 0; i < 300; ++i)
        hostile += QChar(i % 7 == 0 ? u'\r' : (i % 5 == 0 ? u'\n' : char16_t(0x20 + i * 37 % 0x3000)));
    const QByteArray encoded = MailMessage::encodeHeaderValue(hostile);
    const QList<QByteArray> lines = encoded.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        if (i + 1 < lines.size()) {
            QVERIFY(line.endsWith('\r'));
            line.chop(1);
        }
        QVERIFY(!line.contains('\r'));
        if (i > 0)
            QVERIFY(line.startsWith(' '));
        QVERIFY2(line.size() <= 76 - 9, line.constData());
    }
}

void TestMailMessage::address_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "lehrer@schule.example" << true;
    QTest::newRow("dots and plus") << "a.b+quiz@mail.schule.example" << true;
    QTest::newRow("no domain dot") << "root@localhost" << false;
    QTest::newRow("two") << "a@b.example,c@d.example" << false;
    QTest::newRow("CR LF") << "a@b.example\r\nBcc: c@d.example" << false;
    QTest::newRow("blank") << "a b@c.example" << false;
    QTest::newRow("angle") << "<a@b.example>" << false;
    QTest::newRow("umlaut") << u"jürgen@schule.example"_qs << false;
    QTest::newRow("double dot") << "a..b@c.example" << false;
    QTest::newRow("empty") << "" << false;
}

void TestMailMessage::address()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(MailMessage::isAddress(text), valid);
}

void TestMailMessage::mailbox_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no name") << "" << QByteArray("a@b.example");
    QTest::newRow("plain") << "Anna Schmidt" << QByteArray("Anna Schmidt <a@b.example>");
    QTest::newRow("specials") << "Schmidt, Anna <x@y.example>"
                              << QByteArray("=?UTF-8?B?U2NobWlkdCwgQW5uYSA8eEB5LmV4YW1wbGU+?= <a@b.example>");
    QTest::newRow("CR LF") << "Anna\r\nBcc: x@y.example"
                           << QByteArray("=?UTF-8?B?QW5uYSBCY2M6IHhAeS5leGFtcGxl?= <a@b.example>");
}

void TestMailMessage::mailbox()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, expected);
    QCOMPARE(MailMessage::encodeMailbox(name, QStringLiteral("a@b.example")), expected);
}

void TestMailMessage::recipients_data()
{
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("admin");
    QTest::addColumn<QStringList>("mailed");
    QTest::addColumn<QStringList>("refused");
    const QString list = QStringLiteral("lehrer@schule.example, @gymnasium.example");
    QTest::newRow("exact") << list << "lehrer@schule.example" << QStringList{"lehrer@schule.example"} << QStringList{};
    QTest::newRow("case") << list << "Lehrer@Schule.Example" << QStringList{"Lehrer@Schule.Example"} << QStringList{};
    QTest::newRow("domain") << list << "a@gymnasium.example;b@gymnasium.example"
                            << QStringList{"a@gymnasium.example", "b@gymnasium.example"} << QStringList{};
    QTest::newRow("subdomain is not the domain")
        << list << "a@x.gymnasium.example" << QStringList{} << QStringList{"a@x.gymnasium.example"};
    QTest::newRow("other address of the exact one's domain")
        << list << "chef@schule.example" << QStringList{} << QStringList{"chef@schule.example"};
    QTest::newRow("mixed") << list << "spam@evil.example, lehrer@schule.example ;junk"
                           << QStringList{"lehrer@schule.example"} << QStringList{"spam@evil.example", "junk"};
    QTest::newRow("twice") << list << "lehrer@schule.example,LEHRER@schule.example"
                           << QStringList{"lehrer@schule.example"} << QStringList{};
    QTest::newRow("six") << list << "1@gymnasium.example,2@gymnasium.example,3@gymnasium.example,"
                                    "4@gymnasium.example,5@gymnasium.example,6@gymnasium.example"
                         << QStringList{"1@gymnasium.example", "2@gymnasium.example", "3@gymnasium.example",
                                        "4@gymnasium.example", "5@gymnasium.example"}
                         << QStringList{u"6@gymnasium.example (mehr als 5 Empfänger)"_qs};
    QTest::newRow("no list") << "" << "lehrer@schule.example" << QStringList{}
                             << QStringList{"lehrer@schule.example"};
    QTest::newRow("empty admin") << list << "" << QStringList{} << QStringList{};
}

void TestMailMessage::recipients()
{
    QFETCH(QString, allowed);
    QFETCH(QString, admin);
    QFETCH(QStringList, mailed);
    QFETCH(QStringList, refused);
    const MailRecipients::Split split = MailRecipients(allowed).split(admin);
    QCOMPARE(split.allowed, mailed);
    QCOMPARE(split.refused, refused);
}

void TestMailMessage::message()
{
    MailMessage m;
    m.fromAddress = QStringLiteral("quiz@schule.example");
    m.fromName = QStringLiteral("Pruvex Quiz");
    m.to = {QStringLiteral("lehrer@schule.example"), QStringLiteral("x@y.example\r\nBcc: z@w.example")};
    m.replyToAddress = QStringLiteral("anna@familie.example");
    m.replyToName = QStringLiteral("Anna Schmidt");
    m.subject = QStringLiteral("Quiz");
    m.body = QStringLiteral("Zeile 1\nZeile 2\r\n");
    m.date = QDateTime(QDate(2026, 12, 11), QTime(10, 44, 36), QTimeZone::utc());
    const QByteArray bytes = m.toBytes();
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    QVERIFY(end > 0);
    QByteArray headers = bytes.left(end + 2);
    // The Message-ID is random; everything else is fixed.
    headers.replace(QRegularExpression(QStringLiteral("Message-ID: <[^>]*>")).match(QString::fromLatin1(headers)).captured(0).toLatin1(),
                    "Message-ID: <ID>");
    QCOMPARE(headers, QByteArray("Date: Fri, 11 Dec 2026 10:44:36 +0000\r\n"
                                 "From: Pruvex Quiz <quiz@schule.example>\r\n"
                                 "To: lehrer@schule.example\r\n"
                                 "Reply-To: Anna Schmidt <anna@familie.example>\r\n"
                                 "Subject: Quiz\r\n"
                                 "Message-ID: <ID>\r\n"
                                 "MIME-Version: 1.0\r\n"
                                 "Content-Type: text/plain; charset=UTF-8\r\n"
                                 "Content-Transfer-Encoding: base64\r\n"));
    QCOMPARE(QByteArray::fromBase64(bytes.mid(end + 4)), QByteArray("Zeile 1\r\nZeile 2\r\n"));
}

void TestMailMessage::settings_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("allowed");
    QTest::newRow("defaults") << "" << "" << 25 << "";
    QTest::newRow("full") << "[mail]\nhost=smtp.schule.example\nsecurity=starttls\nuser=quiz\npassword_file=pw\n"
                             "from=Quiz <quiz@schule.example>\nallowed_recipients=a@schule.example, @gym.example\n"
                          << "" << 587 << "a@schule.example,@gym.example";
    QTest::newRow("comma in the sender's name") << "[mail]\nhost=h.example\nfrom=Schule, Quiz <q@h.example>\n" << "" << 25 << "";
    QTest::newRow("tls port") << "[mail]\nhost=h.example\nsecurity=tls\nfrom=q@h.example\n" << "" << 465 << "";
    QTest::newRow("own port") << "[mail]\nhost=h.example\nport=2525\nfrom=q@h.example\n" << "" << 2525 << "";
    QTest::newRow("bad security") << "[mail]\nsecurity=ssl\n"
                                  << "[mail] security: \"none\", \"starttls\" oder \"tls\" erwartet, nicht \"ssl\"" << 25 << "";
    QTest::newRow("bad port") << "[mail]\nport=99999\n" << "[mail] port: eine Zahl von 1 bis 65535 erwartet, nicht \"99999\""
                              << 25 << "";
    QTest::newRow("no from") << "[mail]\nhost=h.example\n"
                             << "[mail] from: ohne Absenderadresse kann keine Mail verschickt werden" << 25 << "";
    QTest::newRow("bad from") << "[mail]\nhost=h.example\nfrom=quiz\n"
                              << u"[mail] from: \"quiz\" ist keine gültige Mailadresse"_qs << 25 << "";
}

void TestMailMessage::settings()
{
    QFETCH(QString, ini);
    QFETCH(QString, error);
    QFETCH(int, port);
    QFETCH(QString, allowed);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("server.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ini.toUtf8());
    file.close();
    QFile pw(dir.filePath(QStringLiteral("pw")));
    QVERIFY(pw.open(QIODevice::WriteOnly));
    pw.write("geheim Wort\n");
    pw.close();
    QSettings settings(file.fileName(), QSettings::IniFormat);
    QString message;
    const MailSettings s = MailSettings::read(settings, dir.path(), &message);
    QCOMPARE(message, error);
    QCOMPARE(s.port, port);
    QCOMPARE(s.allowedRecipients, allowed);
    if (ini.contains(QLatin1String("password_file")))
        QCOMPARE(s.password, QStringLiteral("geheim Wort"));
}

QTEST_GUILESS_MAIN(TestMailMessage)
#include "tst_mailmessage.moc"
