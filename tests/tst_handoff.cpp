// The text rule of the hand-off: every text the quiz script receives comes
// back unchanged, Latin-1 text keeps its bytes, and joined answers split
// unambiguously. Also read back from the hidden fields the generator writes.

#include "generatorfixtures.h"
#include "handoff.h"
#include "pagegenerator.h"

#include <QRegularExpression>
#include <QtTest>

using namespace Fixture;

class TestHandoff : public QObject
{
    Q_OBJECT

private slots:
    void textRule_data();
    void textRule();
    void joinedItems_data();
    void joinedItems();
    void decodeLeavesOtherText_data();
    void decodeLeavesOtherText();
    void generatedFields();
};

// The table of examples for the quiz script: text, its encoded form, and the
// Base64 of the scrambled encoded form (worked out by hand: each byte XOR
// 0x17, then Base64).
void TestHandoff::textRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("scrambledBase64");

    QTest::newRow("Latin-1 unchanged") << QStringLiteral("M\u00fcnchen") << QStringLiteral("M\u00fcnchen") << QStringLiteral("Wut5dH9yeQ==");
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("Polish") << QStringLiteral("\u0141\u00f3d\u017a") << QStringLiteral("&#321;\u00f3d&#378;")
                            << QStringLiteral("MTQkJSYs5HMxNCQgLyw=");
    QTest::newRow("quotes, dash and euro") << QStringLiteral("\u201eJa\u201c \u2013 5 \u20ac")
                                           << QStringLiteral("&#8222;Ja&#8220; &#8211; 5 &#8364;") << QStringLiteral("MTQvJSUlLF12MTQvJSUnLDcxNC8lJiYsNyI3MTQvJCEjLA==");
    QTest::newRow("Greek") << QStringLiteral("\u03a9mega") << QStringLiteral("&#937;mega") << QStringLiteral("MTQuJCAsenJwdg==");
    QTest::newRow("outside the BMP") << QStringLiteral("a\U0001F600") << QStringLiteral("a&#128512;")
                                     << QStringLiteral("djE0JiUvIiYlLA==");
    QTest::newRow("a literal &# is escaped") << QStringLiteral("&#65; bleibt") << QStringLiteral("&#38;#65; bleibt")
                                            << QStringLiteral("MTQkLyw0ISIsN3V7cn51Yw==");
    QTest::newRow("& alone and # alone stay") << QStringLiteral("A & B #1") << QStringLiteral("A & B #1") << QStringLiteral("VjcxN1U3NCY=");
}

void TestHandoff::textRule()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QFETCH(QString, scrambledBase64);
    QCOMPARE(Handoff::encodeText(text), encoded);
    QCOMPARE(Handoff::decodeText(encoded), text);
    QCOMPARE(Handoff::scrambledBase64(encoded), scrambledBase64);
    QCOMPARE(Handoff::unscrambleBase64(scrambledBase64), std::optional<QString>(encoded));
    QCOMPARE(Handoff::fromBase64(Handoff::base64(encoded)), std::optional<QString>(encoded));
}

void TestHandoff::joinedItems_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("joined");

    QTest::newRow("German answers as before") << QStringList{QStringLiteral("Berlin"), QStringLiteral("Bonn")}
                                              << QStringLiteral("Berlin#Bonn");
    QTest::newRow("# and | inside answers") << QStringList{QStringLiteral("C#"), QStringLiteral("x|y"), QStringLiteral("x")}
                                            << QStringLiteral("C&#35;#x&#124;y#x");
    QTest::newRow("outside Latin-1 and a literal &#")
        << QStringList{QStringLiteral("\u0141\u00f3d\u017a"), QStringLiteral("&#35;")}
        << QStringLiteral("&#321;\u00f3d&#378;#&#38;&#35;35;");
    QTest::newRow("& at the end of an item") << QStringList{QStringLiteral("A&"), QStringLiteral("65;")} << QStringLiteral("A&#38;#65;");
    QTest::newRow("one empty item") << QStringList{QString()} << QString();
}

void TestHandoff::joinedItems()
{
    QFETCH(QStringList, items);
    QFETCH(QString, joined);
    QCOMPARE(Handoff::joinItems(items), joined);
    // Split first, then decode each item.
    QStringList back;
    for (const QString &item : Handoff::splitItems(joined))
        back << Handoff::decodeText(item);
    QCOMPARE(back, items);
}

void TestHandoff::decodeLeavesOtherText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no number") << QStringLiteral("&#;");
    QTest::newRow("no semicolon") << QStringLiteral("&#65 x");
    QTest::newRow("hexadecimal") << QStringLiteral("&#x41;");
    QTest::newRow("beyond Unicode") << QStringLiteral("&#1114112;");
    QTest::newRow("a surrogate") << QStringLiteral("&#55296;");
    QTest::newRow("named") << QStringLiteral("&amp;");
}

void TestHandoff::decodeLeavesOtherText()
{
    QFETCH(QString, text);
    QCOMPARE(Handoff::decodeText(text), text);
}

// Every hand-off field of a generated page, read back as the quiz script
// reads it, gives the texts as typed.
void TestHandoff::generatedFields()
{
    const QString lodz = QStringLiteral("\u0141\u00f3d\u017a");
    const QString yes = QStringLiteral("\u201eJa\u201c \u2013 5 \u20ac");
    Quiz quiz;
    quiz.setText(SettingKey::edtEMail, QStringLiteral("\u0142ukasz@example.org"));
    quiz.setText(SettingKey::memoAuswertung, QStringLiteral("Danke, ") + lodz + QStringLiteral("!\r\n&#1; & #br"));
    quiz.setText(SettingKey::CaptchaErrorPage, QStringLiteral("http://localhost/\u0444.htm"));
    addQuestions(quiz, {simple(QStringLiteral("F"), {lodz, QStringLiteral("C#"), QStringLiteral("x")}),
                        multi(QStringLiteral("M"), {{yes, true}, {QStringLiteral("a|b"), false}, {QStringLiteral("#"), true}}),
                        single(QStringLiteral("S"), {{QStringLiteral("no"), false}, {QStringLiteral("1|") + lodz, true}})});
    PageGenerator gen(quiz);
    gen.setTemplatePath(QStringLiteral(PRUVEX_BIN_DIR "/template.htm"));
    QString page;
    QVERIFY(gen.generate(&page));

    QMultiMap<QString, QString> fields;
    const QRegularExpression hidden(QStringLiteral("<input type=\"hidden\" name=\"([^\"]+)\" value=\"([^\"]*)\">"));
    for (auto it = hidden.globalMatch(page); it.hasNext();) {
        const auto m = it.next();
        fields.insert(m.captured(1), m.captured(2));
    }
    auto scrambled = [&](const QString &name) { return Handoff::unscrambleBase64(fields.value(name)).value_or(QStringLiteral("(none)")); };
    auto plain = [&](const QString &name) { return Handoff::decodeText(Handoff::fromBase64(fields.value(name)).value_or(QString())); };
    auto items = [](const QString &joined) {
        QStringList out;
        for (const QString &item : Handoff::splitItems(joined)) {
            const qsizetype bar = item.indexOf(QChar(Handoff::itemSeparator));
            out << (bar < 0 ? Handoff::decodeText(item) : item.left(bar) + QLatin1Char('=') + Handoff::decodeText(item.mid(bar + 1)));
        }
        return out;
    };

    QCOMPARE(Handoff::decodeText(scrambled(QStringLiteral("admin"))), QStringLiteral("\u0142ukasz@example.org"));
    QCOMPARE(plain(QStringLiteral("auswertung_text")).replace(Handoff::lineBreakMarker(), QStringLiteral("\r\n")),
             quiz.text(SettingKey::memoAuswertung));
    QCOMPARE(plain(QStringLiteral("settings_error_captcha")), QStringLiteral("http://localhost/\u0444.htm"));
    QCOMPARE(items(scrambled(QStringLiteral("FA0"))), (QStringList{lodz, QStringLiteral("C#"), QStringLiteral("x")}));
    QCOMPARE(items(scrambled(QStringLiteral("FA1"))), (QStringList{QStringLiteral("Frage2_0=") + yes, QStringLiteral("Frage2_2=#")}));
    QCOMPARE(items(scrambled(QStringLiteral("FA2"))), (QStringList{QStringLiteral("1=1|") + lodz}));
    QCOMPARE(plain(QStringLiteral("FA_USER_1_0")), yes);
    QCOMPARE(plain(QStringLiteral("FA_USER_1_1")), QStringLiteral("a|b"));
    QCOMPARE(plain(QStringLiteral("FA_USER_2_1")), QStringLiteral("1|") + lodz);
    QCOMPARE(Handoff::unscrambleFlag(fields.value(QStringLiteral("settings"))), std::optional<bool>(true));
    QCOMPARE(scrambled(QStringLiteral("settingsc")), QStringLiteral("false"));
}

QTEST_GUILESS_MAIN(TestHandoff)
#include "tst_handoff.moc"
