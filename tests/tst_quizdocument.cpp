// The quiz document in memory: the settings table, the colour converter,
// the Quiz model (initial state, flags, colours and their cascade, taking
// over a loaded quiz), the question objects and the 8-bit code page.

#include "freetextquestion.h"
#include "testkeys.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "rgbtohtml.h"
#include "settings.h"
#include "textcodec.h"

#include <QSet>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kRequiredSuffix = QStringLiteral("/quiz/v13/quiz.php");

ColorValue rgb(int r, int g, int b)
{
    return ColorValue(r) | ColorValue(g) << 8 | ColorValue(b) << 16;
}

QStringList spiedKeys(const QSignalSpy &spy)
{
    QStringList keys;
    for (const QList<QVariant> &args : spy)
        keys << (args.at(0).canConvert<SettingKey>() && args.at(0).metaType() == QMetaType::fromType<SettingKey>()
                     ? Settings::keyName(args.at(0).value<SettingKey>())
                     : args.at(0).toString());
    return keys;
}

} // namespace

class TestQuizDocument : public QObject
{
    Q_OBJECT

private slots:
    // The settings table
    void settingsTableHasEveryKeyOnce();
    void settingKinds_data();
    void settingKinds();
    void flagsInitiallyOn();
    void numberRanges_data();
    void numberRanges();
    void itemLists();
    void parseFlag_data();
    void parseFlag();

    // The colour converter
    void freshConverterIsBlack();
    void setHtmlAccepted_data();
    void setHtmlAccepted();
    void setHtmlRejected_data();
    void setHtmlRejected();
    void setColor_data();
    void setColor();
    void colourTextCaseIsTheSameColour();

    // The Quiz model
    void initialTexts_data();
    void initialTexts();
    void initialFlagsAndExtSettings();
    void initialColourValues_data();
    void initialColourValues();
    void setTextSignalsRealChangesOnly();
    void setTextIgnoresFlags();
    void radioRule_data();
    void radioRule();
    void extSettingsMapToTheirKeys();
    void colourCascade_data();
    void colourCascade();
    void typingIntoAColourEditLeavesItsButton();
    void buttonWritesCanonicalTextOnRealChangeOnly();
    void colorsFromTextsSetsAllEightPairs();
    void takeFromSignalsChangedKeysOnly();
    void copySettingsFromLeavesQuestions();

    // Questions
    void createQuestionByClassName_data();
    void createQuestionByClassName();
    void newQuestionIsEmpty();
    void questionListOwnsAndMoves();

    // The 8-bit code page
    void codePage_data();
    void codePage();
    void latin1_data();
    void latin1();
    void pageBytes_data();
    void pageBytes();
};

// ---------------------------------------------------------------------------
// The settings table

void TestQuizDocument::settingsTableHasEveryKeyOnce()
{
    QCOMPARE(Settings::count(), 77);
    QCOMPARE(int(Settings::all().size()), 77);
    QSet<QString> keys;
    int ext = 0;
    for (int i = 0; i < Settings::count(); ++i) {
        const QString key = QString::fromLatin1(Settings::all()[size_t(i)].key);
        QVERIFY2(!keys.contains(key), qPrintable(key));
        keys.insert(key);
        QCOMPARE(Settings::keyOf(key), std::optional<SettingKey>(SettingKey(i)));
        QCOMPARE(&Settings::def(SettingKey(i)), &Settings::all()[size_t(i)]);
        QCOMPARE(Settings::all()[size_t(i)].id, SettingKey(i));
        if (Settings::all()[size_t(i)].store == SettingStore::Ext)
            ++ext;
    }
    QCOMPARE(ext, 9);
    // Keys are compared exactly.
    QVERIFY(!Settings::keyOf(QStringLiteral("edtformtitel")));
    QVERIFY(!Settings::keyOf(QStringLiteral("cboBGColor")));
    QVERIFY(!Settings::keyOf(QString()));
}

void TestQuizDocument::settingKinds_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("store");

    const int window = int(SettingStore::Window);
    const int ext = int(SettingStore::Ext);
    // Names that mislead.
    QTest::newRow("cboStandardButton") << "cboStandardButton" << int(SettingKind::Flag) << window;
    QTest::newRow("cboStandardFeld") << "cboStandardFeld" << int(SettingKind::Flag) << window;
    QTest::newRow("edtRahmenFormField") << "edtRahmenFormField" << int(SettingKind::Choice) << window;
    QTest::newRow("cboRahmenFormField") << "cboRahmenFormField" << int(SettingKind::Choice) << window;
    // One of each other kind.
    QTest::newRow("memoEinleitung") << "memoEinleitung" << int(SettingKind::Lines) << window;
    QTest::newRow("edtSizeFormField") << "edtSizeFormField" << int(SettingKind::Number) << window;
    QTest::newRow("edtHintergrundButton") << "edtHintergrundButton" << int(SettingKind::Colour) << window;
    QTest::newRow("edtTabWidth") << "edtTabWidth" << int(SettingKind::Text) << window;
    QTest::newRow("cboFormMailer") << "cboFormMailer" << int(SettingKind::Choice) << window;
    // The nine settings of ExtSettings.
    QTest::newRow("encoding") << "encoding" << int(SettingKind::List) << ext;
    QTest::newRow("IPErrorPage") << "IPErrorPage" << int(SettingKind::Text) << ext;
    QTest::newRow("FileErrorPage") << "FileErrorPage" << int(SettingKind::Text) << ext;
    QTest::newRow("CaptchaErrorPage") << "CaptchaErrorPage" << int(SettingKind::Text) << ext;
    QTest::newRow("ProjectSettings_author") << "ProjectSettings_author" << int(SettingKind::Text) << ext;
    QTest::newRow("ProjectSettings_comment") << "ProjectSettings_comment" << int(SettingKind::Lines) << ext;
    QTest::newRow("ProjectSettings_title") << "ProjectSettings_title" << int(SettingKind::Text) << ext;
    QTest::newRow("ProjectSettings_company") << "ProjectSettings_company" << int(SettingKind::Text) << ext;
    QTest::newRow("ProjectSettings_url") << "ProjectSettings_url" << int(SettingKind::Text) << ext;
}

void TestQuizDocument::settingKinds()
{
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(int, store);
    const SettingDef *def = &Settings::def(settingKey(key));
    QCOMPARE(int(def->kind), kind);
    QCOMPARE(int(def->store), store);
}

void TestQuizDocument::flagsInitiallyOn()
{
    QSet<QString> on;
    int flags = 0;
    for (const SettingDef &def : Settings::all()) {
        if (def.kind != SettingKind::Flag)
            continue;
        ++flags;
        const QString initial = QString::fromLatin1(def.initial);
        QVERIFY2(initial == QLatin1String("-1") || initial == QLatin1String("0"), def.key);
        if (initial == QLatin1String("-1"))
            on.insert(QString::fromLatin1(def.key));
    }
    QCOMPARE(flags, 25);
    const QSet<QString> expected = {QStringLiteral("rdEnd"), QStringLiteral("chkShowAuswertung"), QStringLiteral("chkShowPicDiagramm"),
                                    QStringLiteral("cboStandardButton"), QStringLiteral("cboStandardFeld")};
    QCOMPARE(on, expected);
}

void TestQuizDocument::numberRanges_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("hasRange");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");

    QTest::newRow("edtSizeHeader") << "edtSizeHeader" << true << 0 << 50;
    QTest::newRow("edtSizeForm") << "edtSizeForm" << true << 0 << 50;
    QTest::newRow("edtStaerkeButton") << "edtStaerkeButton" << false << 0 << 0;
    QTest::newRow("edtStaerkeFormField") << "edtStaerkeFormField" << false << 0 << 0;
    QTest::newRow("edtSizeFormField") << "edtSizeFormField" << false << 0 << 0;
}

void TestQuizDocument::numberRanges()
{
    QFETCH(QString, key);
    QFETCH(bool, hasRange);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    const SettingDef *def = &Settings::def(settingKey(key));
    QCOMPARE(def->kind, SettingKind::Number);
    QCOMPARE(def->hasRange, hasRange);
    if (hasRange) {
        QCOMPARE(def->minimum, minimum);
        QCOMPARE(def->maximum, maximum);
    }
}

void TestQuizDocument::itemLists()
{
    QCOMPARE(Settings::items(ItemList::Fonts),
             QStringList({"Arial,Helvetica,Geneva", "Verdana,Arial,Geneva", "Comic Sans MS,Sans Serif,Geneva", "Times New Roman,Serif",
                          "Trebuchet MS,Verdana,Geneva"}));
    QCOMPARE(Settings::items(ItemList::BorderStyles),
             QStringList({"dotted", "dashed", "solid", "groove", "double", "rigde", "inset", "outset"}));
    QCOMPARE(Settings::items(ItemList::Units), QStringList({"px", "pc", "in", "cm", "mm", "em", "ex"}));
    QCOMPARE(Settings::items(ItemList::Encodings), QStringList({"iso-8859-1", "utf-8"}));
    QCOMPARE(Settings::def(SettingKey::edtRahmenFormField).items, ItemList::BorderStyles);
    QCOMPARE(Settings::def(SettingKey::cboSchriftFormEinheit).items, ItemList::Units);
    QCOMPARE(Settings::def(SettingKey::cboFontFormField).items, ItemList::Fonts);
}

void TestQuizDocument::parseFlag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isFlag");
    QTest::addColumn<bool>("on");

    QTest::newRow("-1") << "-1" << true << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("1") << "1" << true << true;
    QTest::newRow("42") << "42" << true << true;
    QTest::newRow("00") << "00" << true << false;
    QTest::newRow("+0") << "+0" << true << false;
    QTest::newRow("-0") << "-0" << true << false;
    QTest::newRow("true") << "true" << true << true;
    QTest::newRow("TRUE") << "TRUE" << true << true;
    QTest::newRow("True") << "True" << true << true;
    QTest::newRow("False") << "False" << true << false;
    QTest::newRow("fALSE") << "fALSE" << true << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("abc") << "abc" << false << false;
    QTest::newRow("leading blank") << " 1" << false << false;
    QTest::newRow("trailing blank") << "1 " << false << false;
    QTest::newRow("sign only") << "-" << false << false;
    QTest::newRow("decimal point") << "1.0" << false << false;
    QTest::newRow("yes") << "yes" << false << false;
    QTest::newRow("true with blank") << "true " << false << false;
}

void TestQuizDocument::parseFlag()
{
    QFETCH(QString, text);
    QFETCH(bool, isFlag);
    QFETCH(bool, on);
    // A value that is no flag must not touch the output.
    bool value = !on;
    const bool before = value;
    QCOMPARE(Settings::parseFlag(text, &value), isFlag);
    QCOMPARE(value, isFlag ? on : before);
}

// ---------------------------------------------------------------------------
// The colour converter

void TestQuizDocument::freshConverterIsBlack()
{
    RgbToHtml c;
    QCOMPARE(c.color(), ColorValue(0));
    QCOMPARE(c.text(), QStringLiteral("000000"));
}

void TestQuizDocument::setHtmlAccepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ColorValue>("value");

    QTest::newRow("mixed case kept") << "1a2B3c" << rgb(0x1A, 0x2B, 0x3C);
    QTest::newRow("upper") << "FF8040" << rgb(0xFF, 0x80, 0x40);
    QTest::newRow("lower") << "ff8040" << rgb(0xFF, 0x80, 0x40);
    QTest::newRow("black") << "000000" << ColorValue(0);
    QTest::newRow("white") << "ffffff" << ColorValue(0xFFFFFF);
    QTest::newRow("navy is blue") << "000080" << ColorValue(0x800000);
}

void TestQuizDocument::setHtmlAccepted()
{
    QFETCH(QString, text);
    QFETCH(ColorValue, value);
    RgbToHtml c;
    c.setColor(rgb(1, 2, 3));
    c.setText(text);
    QCOMPARE(c.color(), value);
    QCOMPARE(c.text(), text);
}

void TestQuizDocument::setHtmlRejected_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("five characters") << "12345";
    QTest::newRow("seven characters") << "1234567";
    QTest::newRow("GG0000") << "GG0000";
    QTest::newRow("blank inside") << "12 456";
    QTest::newRow("leading hash") << "#12345";
    QTest::newRow("with hash") << "#123456";
    QTest::newRow("sign") << "-12345";
    QTest::newRow("fullwidth digits") << QString::fromUtf8("１２３４５６");
    QTest::newRow("umlaut") << QString::fromUtf8("ä12345");
}

void TestQuizDocument::setHtmlRejected()
{
    QFETCH(QString, text);
    RgbToHtml c;
    c.setText(QStringLiteral("a0B0c0"));
    c.setText(text);
    QCOMPARE(c.color(), rgb(0xA0, 0xB0, 0xC0));
    QCOMPARE(c.text(), QStringLiteral("a0B0c0"));

    // The value of a rejected text is black.
    QCOMPARE(Colours::valueOf(text), ColorValue(0));
}

void TestQuizDocument::setColor_data()
{
    QTest::addColumn<ColorValue>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("red 00 green 80 blue FF") << rgb(0x00, 0x80, 0xFF) << "0080FF";
    QTest::newRow("byte order") << rgb(0x0C, 0x0B, 0x0A) << "0C0B0A";
    QTest::newRow("black") << ColorValue(0) << "000000";
    QTest::newRow("white") << ColorValue(0xFFFFFF) << "FFFFFF";
    QTest::newRow("upper-case digits") << rgb(0xab, 0xcd, 0xef) << "ABCDEF";
}

void TestQuizDocument::setColor()
{
    QFETCH(ColorValue, value);
    QFETCH(QString, text);
    RgbToHtml c;
    c.setColor(value);
    QCOMPARE(c.color(), value);
    QCOMPARE(c.text(), text);
    QCOMPARE(Colours::textOf(value), text);
}

void TestQuizDocument::colourTextCaseIsTheSameColour()
{
    QCOMPARE(Colours::valueOf(QStringLiteral("c0c0c0")), Colours::valueOf(QStringLiteral("C0C0C0")));
    QCOMPARE(Colours::textOf(Colours::valueOf(QStringLiteral("c0c0c0"))), QStringLiteral("C0C0C0"));
    QCOMPARE(Colours::fromRgb(0x12, 0x34, 0x56), rgb(0x12, 0x34, 0x56));
    const ColorValue c = rgb(0x12, 0x34, 0x56);
    QCOMPARE(Colours::red(c), 0x12);
    QCOMPARE(Colours::green(c), 0x34);
    QCOMPARE(Colours::blue(c), 0x56);
}

// ---------------------------------------------------------------------------
// The Quiz model

void TestQuizDocument::initialTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("edtFormTitel") << "edtFormTitel"
                                  << "Online Quiz";
    QTest::newRow("edtSizeHeader") << "edtSizeHeader"
                                   << "12";
    QTest::newRow("edtSizeForm") << "edtSizeForm"
                                 << "10";
    QTest::newRow("edtTabWidth") << "edtTabWidth"
                                 << "500";
    QTest::newRow("memoEinleitung") << "memoEinleitung"
                                    << "Willkommen zu unserem Online Quiz";
    QTest::newRow("memoTextEnde") << "memoTextEnde"
                                  << "";
    QTest::newRow("edtLStr") << "edtLStr" << QString::fromUtf8("Straße:");
    QTest::newRow("edtHeader") << "edtHeader"
                               << "Bitte geben Sie hier Ihre Daten ein:";
    QTest::newRow("edtEMail") << "edtEMail"
                              << "";
    QTest::newRow("edtBetreff") << "edtBetreff"
                                << "Online Quiz";
    QTest::newRow("memoAuswertung") << "memoAuswertung" << QString::fromUtf8("Vielen Dank für die Teilnahme an unserem Quiz.");
    QTest::newRow("edtCaptchaText1") << "edtCaptchaText1"
                                     << "Spam-Schutz";
    QTest::newRow("edtCancelButton") << "edtCancelButton" << QString::fromUtf8("Zurücksetzen");
    QTest::newRow("edtSizeFormField") << "edtSizeFormField"
                                      << "12";
    QTest::newRow("cboRahmenButton") << "cboRahmenButton"
                                     << "solid";
    QTest::newRow("cboSchriftFormEinheit") << "cboSchriftFormEinheit"
                                           << "px";
    // Colour texts in the case of the table, not rewritten by the buttons.
    QTest::newRow("edtHGColor") << "edtHGColor"
                                << "C0C0C0";
    QTest::newRow("edtTextColor") << "edtTextColor"
                                  << "000080";
    QTest::newRow("edtHintergrundButton") << "edtHintergrundButton"
                                          << "a0a0a4";
    QTest::newRow("edtHGFormField") << "edtHGFormField"
                                    << "a0a0a4";
    // A flag reads as its file text.
    QTest::newRow("rdEnd") << "rdEnd"
                           << "-1";
    QTest::newRow("rdBegin") << "rdBegin"
                             << "0";
}

void TestQuizDocument::initialTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    Quiz quiz;
    QCOMPARE(quiz.text(settingKey(key)), value);
}

void TestQuizDocument::initialFlagsAndExtSettings()
{
    Quiz quiz;
    QVERIFY(quiz.flag(SettingKey::rdEnd));
    QVERIFY(!quiz.flag(SettingKey::rdBegin));
    QVERIFY(quiz.flag(SettingKey::chkShowAuswertung));
    QVERIFY(quiz.flag(SettingKey::chkShowPicDiagramm));
    QVERIFY(quiz.flag(SettingKey::cboStandardButton));
    QVERIFY(quiz.flag(SettingKey::cboStandardFeld));
    QVERIFY(!quiz.flag(SettingKey::chkShowAdress));
    QVERIFY(!quiz.flag(SettingKey::chkShowUserCorrectAnswers));
    QVERIFY(!quiz.flag(SettingKey::chkCaptcha));
    QVERIFY(!quiz.flag(SettingKey::chkPrintButton));

    const QString mailer = quiz.text(SettingKey::cboFormMailer);
    QVERIFY2(mailer.startsWith(QLatin1String("http://")) && mailer.endsWith(kRequiredSuffix), qPrintable(mailer));

    const ExtSettings ext = quiz.extSettings();
    for (const QString &v :
         {ext.encoding, ext.projectProperties.author, ext.projectProperties.comment, ext.projectProperties.title, ext.projectProperties.company,
          ext.projectProperties.url, ext.errorPages.IPErrorPage, ext.errorPages.FileErrorPage, ext.errorPages.CaptchaErrorPage})
        QVERIFY2(v.isEmpty(), qPrintable(v));
    QVERIFY(quiz.questions().isEmpty());
}

void TestQuizDocument::initialColourValues_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<ColorValue>("value");

    QTest::newRow("cboBGColor silver") << "cboBGColor" << rgb(0xC0, 0xC0, 0xC0);
    QTest::newRow("cboHeadingColor black") << "cboHeadingColor" << ColorValue(0);
    QTest::newRow("cboTextColor navy") << "cboTextColor" << rgb(0, 0, 0x80);
    QTest::newRow("cboTabColor white") << "cboTabColor" << rgb(0xFF, 0xFF, 0xFF);
    QTest::newRow("cboColorHGButton grey") << "cboColorHGButton" << rgb(0xA0, 0xA0, 0xA4);
    QTest::newRow("cboButtonColor black") << "cboButtonColor" << ColorValue(0);
    QTest::newRow("cboHGFormField grey") << "cboHGFormField" << rgb(0xA0, 0xA0, 0xA4);
    QTest::newRow("cboColorFormField black") << "cboColorFormField" << ColorValue(0);
}

void TestQuizDocument::initialColourValues()
{
    QFETCH(QString, button);
    QFETCH(ColorValue, value);
    Quiz quiz;
    QCOMPARE(quiz.color(button), value);
}

void TestQuizDocument::setTextSignalsRealChangesOnly()
{
    Quiz quiz;
    QSignalSpy spy(&quiz, &Quiz::settingChanged);
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("Online Quiz"));
    QCOMPARE(spy.count(), 0);
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("  "));
    QCOMPARE(spiedKeys(spy), QStringList{"edtFormTitel"});
    // Text is kept exactly, blanks, line breaks and markup included.
    QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("  "));
    const QString markup = QStringLiteral("<p style=\"x\">a\r\nb</p>");
    quiz.setText(SettingKey::memoTextEnde, markup);
    QCOMPARE(quiz.text(SettingKey::memoTextEnde), markup);
    // A number field holds any text a file brings.
    quiz.setText(SettingKey::edtSizeHeader, QStringLiteral("abc"));
    QCOMPARE(quiz.text(SettingKey::edtSizeHeader), QStringLiteral("abc"));
}

void TestQuizDocument::setTextIgnoresFlags()
{
    Quiz quiz;
    QSignalSpy spy(&quiz, &Quiz::settingChanged);
    quiz.setText(SettingKey::rdEnd, QStringLiteral("0"));
    QVERIFY(quiz.flag(SettingKey::rdEnd));
    quiz.setFlag(SettingKey::edtFormTitel, true);
    QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("Online Quiz"));
    QCOMPARE(spy.count(), 0);
}

void TestQuizDocument::radioRule_data()
{
    QTest::addColumn<bool>("beginBefore");
    QTest::addColumn<bool>("endBefore");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("beginAfter");
    QTest::addColumn<bool>("endAfter");
    QTest::addColumn<QStringList>("signalled");

    QTest::newRow("rdBegin on turns rdEnd off") << false << true << "rdBegin" << true << true << false << QStringList{"rdBegin", "rdEnd"};
    QTest::newRow("rdEnd on turns rdBegin off") << true << false << "rdEnd" << true << false << true << QStringList{"rdEnd", "rdBegin"};
    QTest::newRow("rdEnd on again changes nothing") << false << true << "rdEnd" << true << false << true << QStringList{};
    QTest::newRow("rdEnd off leaves rdBegin off") << false << true << "rdEnd" << false << false << false << QStringList{"rdEnd"};
    QTest::newRow("rdBegin off leaves rdEnd off") << true << false << "rdBegin" << false << false << false << QStringList{"rdBegin"};
    QTest::newRow("rdBegin on from both off") << false << false << "rdBegin" << true << true << false << QStringList{"rdBegin"};
    QTest::newRow("another flag leaves both") << false << true << "chkShowAdress" << true << false << true << QStringList{"chkShowAdress"};
}

void TestQuizDocument::radioRule()
{
    QFETCH(bool, beginBefore);
    QFETCH(bool, endBefore);
    QFETCH(QString, key);
    QFETCH(bool, on);
    QFETCH(bool, beginAfter);
    QFETCH(bool, endAfter);
    QFETCH(QStringList, signalled);

    Quiz quiz;
    // Reach the state before: both off is possible only by turning one off.
    if (beginBefore)
        quiz.setFlag(SettingKey::rdBegin, true);
    if (!endBefore)
        quiz.setFlag(SettingKey::rdEnd, false);
    QCOMPARE(quiz.flag(SettingKey::rdBegin), beginBefore);
    QCOMPARE(quiz.flag(SettingKey::rdEnd), endBefore);

    QSignalSpy spy(&quiz, &Quiz::settingChanged);
    quiz.setFlag(settingKey(key), on);
    QCOMPARE(quiz.flag(SettingKey::rdBegin), beginAfter);
    QCOMPARE(quiz.flag(SettingKey::rdEnd), endAfter);
    QCOMPARE(spiedKeys(spy), signalled);
}

void TestQuizDocument::extSettingsMapToTheirKeys()
{
    Quiz quiz;
    ExtSettings e;
    e.encoding = QStringLiteral("utf-8");
    e.projectProperties.author = QStringLiteral("A");
    e.projectProperties.comment = QStringLiteral("C\r\nC");
    e.projectProperties.title = QStringLiteral("T");
    e.projectProperties.company = QStringLiteral("F");
    e.projectProperties.url = QStringLiteral("U");
    e.errorPages.IPErrorPage = QStringLiteral("IP");
    e.errorPages.FileErrorPage = QStringLiteral("FILE");
    e.errorPages.CaptchaErrorPage = QStringLiteral("CAPTCHA");
    quiz.setExtSettings(e);

    const QList<QPair<QString, QString>> expected = {
        {"encoding", "utf-8"},          {"ProjectSettings_author", "A"},  {"ProjectSettings_comment", "C\r\nC"},
        {"ProjectSettings_title", "T"}, {"ProjectSettings_company", "F"}, {"ProjectSettings_url", "U"},
        {"IPErrorPage", "IP"},          {"FileErrorPage", "FILE"},        {"CaptchaErrorPage", "CAPTCHA"},
    };
    for (const auto &kv : expected)
        QCOMPARE(quiz.text(settingKey(kv.first)), kv.second);

    const ExtSettings back = quiz.extSettings();
    QCOMPARE(back.encoding, e.encoding);
    QCOMPARE(back.projectProperties.author, e.projectProperties.author);
    QCOMPARE(back.projectProperties.comment, e.projectProperties.comment);
    QCOMPARE(back.projectProperties.title, e.projectProperties.title);
    QCOMPARE(back.projectProperties.company, e.projectProperties.company);
    QCOMPARE(back.projectProperties.url, e.projectProperties.url);
    QCOMPARE(back.errorPages.IPErrorPage, e.errorPages.IPErrorPage);
    QCOMPARE(back.errorPages.FileErrorPage, e.errorPages.FileErrorPage);
    QCOMPARE(back.errorPages.CaptchaErrorPage, e.errorPages.CaptchaErrorPage);
}

// The four rows of the cascade, on a Design pair and on a CSS pair.
void TestQuizDocument::colourCascade_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button");
    QTest::addColumn<ColorValue>("buttonBefore");
    QTest::addColumn<QString>("editText");
    QTest::addColumn<ColorValue>("buttonAfter");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<bool>("colourSignal");

    const ColorValue silver = rgb(0xC0, 0xC0, 0xC0);
    const ColorValue navy = rgb(0, 0, 0x80);
    QTest::newRow("valid, other colour") << "edtHGColor"
                                         << "cboBGColor" << silver << "ff0000" << rgb(0xFF, 0, 0) << "FF0000" << true;
    QTest::newRow("valid, same colour in other case") << "edtHGColor"
                                                      << "cboBGColor" << silver << "c0c0c0" << silver << "c0c0c0" << false;
    QTest::newRow("rejected, button not black") << "edtTextColor"
                                                << "cboTextColor" << navy << "xyz" << ColorValue(0) << "000000" << true;
    QTest::newRow("rejected, button black") << "edtHeaderColor"
                                            << "cboHeadingColor" << ColorValue(0) << "xyz" << ColorValue(0) << "xyz" << false;
    QTest::newRow("empty, button not black") << "edtTabColor"
                                             << "cboTabColor" << rgb(0xFF, 0xFF, 0xFF) << "" << ColorValue(0) << "000000" << true;
    QTest::newRow("CSS pair, valid") << "edtHintergrundButton"
                                     << "cboColorHGButton" << rgb(0xA0, 0xA0, 0xA4) << "ff8040" << rgb(0xFF, 0x80, 0x40) << "FF8040"
                                     << true;
    QTest::newRow("CSS pair, same colour") << "edtHGFormField"
                                           << "cboHGFormField" << rgb(0xA0, 0xA0, 0xA4) << "A0a0A4" << rgb(0xA0, 0xA0, 0xA4) << "A0a0A4"
                                           << false;
    QTest::newRow("CSS pair, rejected, not black")
        << "edtHGFormField"
        << "cboHGFormField" << rgb(0xA0, 0xA0, 0xA4) << "1234567" << ColorValue(0) << "000000" << true;
    QTest::newRow("CSS pair, rejected, black") << "edtColorFormField"
                                               << "cboColorFormField" << ColorValue(0) << "#00ff0" << ColorValue(0) << "#00ff0" << false;
}

void TestQuizDocument::colourCascade()
{
    QFETCH(QString, edit);
    QFETCH(QString, button);
    QFETCH(ColorValue, buttonBefore);
    QFETCH(QString, editText);
    QFETCH(ColorValue, buttonAfter);
    QFETCH(QString, textAfter);
    QFETCH(bool, colourSignal);

    Quiz quiz;
    QCOMPARE(quiz.color(button), buttonBefore);
    quiz.setText(settingKey(edit), editText);
    QSignalSpy colours(&quiz, &Quiz::colorChanged);
    QSignalSpy settings(&quiz, &Quiz::settingChanged);
    quiz.colorToButton(settingKey(edit));
    QCOMPARE(quiz.color(button), buttonAfter);
    QCOMPARE(quiz.text(settingKey(edit)), textAfter);
    QCOMPARE(colours.count(), colourSignal ? 1 : 0);
    if (colourSignal)
        QCOMPARE(colours.at(0).at(0).toString(), button);
    QCOMPARE(spiedKeys(settings), textAfter == editText ? QStringList() : QStringList{edit});
}

void TestQuizDocument::typingIntoAColourEditLeavesItsButton()
{
    Quiz quiz;
    quiz.setText(SettingKey::edtFarbeButton, QStringLiteral("ff0000"));
    quiz.setText(SettingKey::edtHGColor, QStringLiteral("00ff00"));
    QCOMPARE(quiz.color(QStringLiteral("cboButtonColor")), ColorValue(0));
    QCOMPARE(quiz.color(QStringLiteral("cboBGColor")), rgb(0xC0, 0xC0, 0xC0));
}

void TestQuizDocument::buttonWritesCanonicalTextOnRealChangeOnly()
{
    Quiz quiz;
    quiz.setText(SettingKey::edtFarbeButton, QStringLiteral("typed"));
    quiz.setColor(QStringLiteral("cboButtonColor"), rgb(0x12, 0xAB, 0xCD));
    QCOMPARE(quiz.text(SettingKey::edtFarbeButton), QStringLiteral("12ABCD"));
    QCOMPARE(quiz.color(QStringLiteral("cboButtonColor")), rgb(0x12, 0xAB, 0xCD));

    // Setting the colour it already has is no change: the edit keeps its text.
    quiz.setText(SettingKey::edtFarbeButton, QStringLiteral("typed"));
    QSignalSpy spy(&quiz, &Quiz::colorChanged);
    quiz.setColor(QStringLiteral("cboButtonColor"), rgb(0x12, 0xAB, 0xCD));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(quiz.text(SettingKey::edtFarbeButton), QStringLiteral("typed"));

    // Only the button's own edit follows.
    QCOMPARE(quiz.text(SettingKey::edtColorFormField), QStringLiteral("000000"));
}

void TestQuizDocument::colorsFromTextsSetsAllEightPairs()
{
    Quiz quiz;
    const QStringList edits = {"edtHGColor",           "edtHeaderColor", "edtTextColor",   "edtTabColor",
                               "edtHintergrundButton", "edtFarbeButton", "edtHGFormField", "edtColorFormField"};
    const QStringList buttons = {"cboBGColor",       "cboHeadingColor", "cboTextColor",   "cboTabColor",
                                 "cboColorHGButton", "cboButtonColor",  "cboHGFormField", "cboColorFormField"};
    for (int i = 0; i < edits.size(); ++i)
        quiz.setText(settingKey(edits[i]), Colours::textOf(rgb(i + 1, 0, i + 1)));
    QSignalSpy spy(&quiz, &Quiz::colorChanged);
    quiz.colorsFromTexts();
    QCOMPARE(spiedKeys(spy), buttons);
    for (int i = 0; i < edits.size(); ++i)
        QCOMPARE(quiz.color(buttons[i]), rgb(i + 1, 0, i + 1));
}

void TestQuizDocument::takeFromSignalsChangedKeysOnly()
{
    Quiz quiz;
    auto kept = std::make_unique<FreeTextQuestion>();
    kept->caption = QStringLiteral("alt");
    quiz.questions().append(std::move(kept));

    Quiz loaded;
    loaded.setText(SettingKey::edtFormTitel, QStringLiteral("Neu"));
    loaded.setFlag(SettingKey::rdBegin, true);
    loaded.setText(SettingKey::edtTabColor, QStringLiteral("00ff00"));
    loaded.colorToButton(SettingKey::edtTabColor);
    loaded.setFormMailers({QStringLiteral("http://a/quiz.php")});
    auto q = std::make_unique<MultipleChoiceQuestion>();
    Question *question = q.get();
    loaded.questions().append(std::move(q));

    QSignalSpy settings(&quiz, &Quiz::settingChanged);
    QSignalSpy colours(&quiz, &Quiz::colorChanged);
    QSignalSpy questions(&quiz, &Quiz::questionsChanged);
    QSignalSpy mailers(&quiz, &Quiz::formMailersChanged);
    quiz.takeFrom(loaded);

    QStringList keys = spiedKeys(settings);
    keys.sort();
    QCOMPARE(keys, QStringList({"edtFormTitel", "edtTabColor", "rdBegin", "rdEnd"}));
    QCOMPARE(spiedKeys(colours), QStringList{"cboTabColor"});
    QCOMPARE(questions.count(), 1);
    QCOMPARE(mailers.count(), 1);

    QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("Neu"));
    QVERIFY(quiz.flag(SettingKey::rdBegin));
    QVERIFY(!quiz.flag(SettingKey::rdEnd));
    QCOMPARE(quiz.text(SettingKey::edtTabColor), QStringLiteral("00FF00"));
    QCOMPARE(quiz.color(QStringLiteral("cboTabColor")), rgb(0, 0xFF, 0));
    QCOMPARE(quiz.formMailers(), QStringList{"http://a/quiz.php"});
    QCOMPARE(quiz.questions().count(), 1);
    QCOMPARE(quiz.questions().at(0), question);
    QVERIFY(loaded.questions().isEmpty());
}

void TestQuizDocument::copySettingsFromLeavesQuestions()
{
    Quiz source;
    source.setText(SettingKey::memoTextEnde, QStringLiteral("Ende"));
    source.setFlag(SettingKey::chkCaptcha, true);
    source.setColor(QStringLiteral("cboHGFormField"), rgb(1, 2, 3));
    source.setFormMailers({QStringLiteral("x"), QStringLiteral("y")});
    source.questions().append(std::make_unique<SingleChoiceQuestion>());

    Quiz copy;
    copy.copySettingsFrom(source);
    QCOMPARE(copy.text(SettingKey::memoTextEnde), QStringLiteral("Ende"));
    QVERIFY(copy.flag(SettingKey::chkCaptcha));
    QCOMPARE(copy.color(QStringLiteral("cboHGFormField")), rgb(1, 2, 3));
    QCOMPARE(copy.text(SettingKey::edtHGFormField), QStringLiteral("010203"));
    QCOMPARE(copy.formMailers(), QStringList({"x", "y"}));
    QVERIFY(copy.questions().isEmpty());
    QCOMPARE(source.questions().count(), 1);
}

// ---------------------------------------------------------------------------
// Questions

void TestQuizDocument::createQuestionByClassName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("created");
    QTest::addColumn<int>("kind");

    QTest::newRow("TSimpleQuestion") << "TSimpleQuestion" << true << int(QuestionKind::FreeText);
    QTest::newRow("TMultiQuestion") << "TMultiQuestion" << true << int(QuestionKind::MultipleChoice);
    QTest::newRow("TSingleQuestion") << "TSingleQuestion" << true << int(QuestionKind::SingleChoice);
    QTest::newRow("letter case counts") << "tsimplequestion" << false << 0;
    QTest::newRow("base class") << "TQuestion" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("trailing blank") << "TSingleQuestion " << false << 0;
}

void TestQuizDocument::createQuestionByClassName()
{
    QFETCH(QString, name);
    QFETCH(bool, created);
    QFETCH(int, kind);
    const std::unique_ptr<Question> q = createQuestion(name);
    QCOMPARE(bool(q), created);
    if (created) {
        QCOMPARE(int(q->kind()), kind);
        QCOMPARE(q->typeName(), name);
    }
}

void TestQuizDocument::newQuestionIsEmpty()
{
    for (QuestionKind kind : {QuestionKind::FreeText, QuestionKind::MultipleChoice, QuestionKind::SingleChoice}) {
        const std::unique_ptr<Question> q = createQuestion(kind);
        QVERIFY(q);
        QVERIFY(q->name.isEmpty() && q->caption.isEmpty() && q->hint.isEmpty() && q->tipLink.isEmpty() &&
                q->picture.isEmpty() && q->alertText.isEmpty());
        QVERIFY(!q->required);
        QCOMPARE(q->answerCount(), 0);
        if (kind == QuestionKind::FreeText) {
            const auto *s = static_cast<const FreeTextQuestion *>(q.get());
            QVERIFY(s->fieldSize.isEmpty() && s->maxLength.isEmpty());
        }
    }
    // The kinds are apart: no kind is a special case of another.
    const std::unique_ptr<Question> single = createQuestion(QuestionKind::SingleChoice);
    QVERIFY(!dynamic_cast<MultipleChoiceQuestion *>(single.get()));
    QVERIFY(!dynamic_cast<FreeTextQuestion *>(single.get()));
}

void TestQuizDocument::questionListOwnsAndMoves()
{
    QuestionList list;
    for (const char *name : {"eins", "zwei", "drei"}) {
        auto q = std::make_unique<MultipleChoiceQuestion>();
        q->name = QString::fromLatin1(name);
        q->options.push_back({QStringLiteral("a"), true});
        list.append(std::move(q));
    }
    Question *first = list.at(0);
    Question *third = list.at(2);
    list.swap(0, 2);
    QCOMPARE(list.at(0), third);
    QCOMPARE(list.at(2), first);
    list.removeAt(1);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(0)->name, QStringLiteral("drei"));
    QCOMPARE(list.at(1)->name, QStringLiteral("eins"));

    // A clone is deep: changing it leaves the original.
    QuestionList copy = list.cloned();
    QCOMPARE(copy.count(), 2);
    QVERIFY(copy.at(0) != list.at(0));
    static_cast<MultipleChoiceQuestion *>(copy.at(0))->options[0].text = QStringLiteral("geändert");
    copy.at(0)->name = QStringLiteral("x");
    QCOMPARE(static_cast<MultipleChoiceQuestion *>(list.at(0))->options[0].text, QStringLiteral("a"));
    QCOMPARE(list.at(0)->name, QStringLiteral("drei"));
    QCOMPARE(copy.at(0)->kind(), QuestionKind::MultipleChoice);
}

// ---------------------------------------------------------------------------
// The 8-bit code page

void TestQuizDocument::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII") << "Quiz <b>" << QByteArray("Quiz <b>");
    QTest::newRow("euro sign") << QString::fromUtf8("€") << QByteArray("\x80");
    QTest::newRow("umlauts") << QString::fromUtf8("äöüßÄ") << QByteArray("\xE4\xF6\xFC\xDF\xC4");
    QTest::newRow("typographic quotes") << QString::fromUtf8("„x“") << QByteArray("\x84x\x93");
    QTest::newRow("CJK character") << QString::fromUtf8("a中b") << QByteArray("a?b");
    QTest::newRow("emoji is one character") << QString::fromUtf8("a😀b") << QByteArray("a?b");
    QTest::newRow("emoji then CJK then euro") << QString::fromUtf8("😀中€") << QByteArray("??\x80");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("x") << QByteArray("?x");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) + QStringLiteral("x") << QByteArray("?x");
    QTest::newRow("CR LF") << "a\r\nb" << QByteArray("a\r\nb");
}

void TestQuizDocument::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::toCodePage(text), bytes);
}

void TestQuizDocument::latin1_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("umlaut") << QString::fromUtf8("Grüße") << QByteArray("Gr\xFC\xDF\x65");
    QTest::newRow("euro sign") << QString::fromUtf8("5 €") << QByteArray("5 ?");
    QTest::newRow("CJK character") << QString::fromUtf8("中") << QByteArray("?");
    // One character, one byte: a surrogate pair gives one "?".
    QTest::newRow("emoji is one character") << QString::fromUtf8("a😀b") << QByteArray("a?b");
}

void TestQuizDocument::latin1()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::toLatin1(text), bytes);
}

void TestQuizDocument::pageBytes_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray utf8("\xC3\xA4\xE2\x82\xAC");
    const QByteArray codePage("\xE4\x80");
    // The page is written in what it declares, and browsers read every
    // spelling of UTF-8 as UTF-8.
    QTest::newRow("utf-8") << "utf-8" << utf8;
    QTest::newRow("UTF-8 in capitals") << "UTF-8" << utf8;
    QTest::newRow("blanks around") << " Utf-8\t" << utf8;
    QTest::newRow("utf8") << "utf8" << utf8;
    QTest::newRow("unicode-1-1-utf-8") << "unicode-1-1-utf-8" << utf8;
    QTest::newRow("utf-8 inside a longer name") << "utf-8x" << codePage;
    QTest::newRow("utf-16") << "utf-16" << codePage;
    QTest::newRow("iso-8859-1") << "iso-8859-1" << codePage;
    QTest::newRow("empty") << "" << codePage;
}

void TestQuizDocument::pageBytes()
{
    QFETCH(QString, encoding);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::pageBytes(QString::fromUtf8("ä€"), encoding), bytes);
    QCOMPARE(TextCodec::fromCodePage(QByteArray("\xE4\x80")), QString::fromUtf8("ä€"));
}

QTEST_GUILESS_MAIN(TestQuizDocument)
#include "tst_quizdocument.moc"
