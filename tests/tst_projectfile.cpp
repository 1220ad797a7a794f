// The project file: the exact bytes the writer produces, save and load round
// trips, the reading table with its defaults and required flags, the colour
// values set after a load, and loads that fail without touching the open quiz.

#include "projectfile.h"
#include "testkeys.h"
#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "settings.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kDataDir = QStringLiteral(PRUVEX_TEST_DATA_DIR);
const QString kBinDir = QStringLiteral(PRUVEX_BIN_DIR);

// Where a folder's permissions do not stop a write.
bool permissionsDoNotBite()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return true;
#endif
}

ColorValue rgb(int r, int g, int b)
{
    return ColorValue(r) | ColorValue(g) << 8 | ColorValue(b) << 16;
}

QString initialOf(const SettingDef &def)
{
    return QString::fromUtf8(def.initial);
}

// Builds a project file in the test. By default it holds every setting with
// a value that differs from the initial one (flags flipped, colour texts
// "1A2B3C", other texts "Datei <key>") and one question of each kind.
class ProjectXml
{
public:
    ProjectXml()
    {
        for (const SettingDef &def : Settings::all()) {
            const QString key = QString::fromLatin1(def.key);
            QString value;
            if (def.kind == SettingKind::Flag)
                value = initialOf(def) == QLatin1String("-1") ? QStringLiteral("0") : QStringLiteral("-1");
            else if (def.kind == SettingKind::Colour)
                value = QStringLiteral("1A2B3C");
            else
                value = QStringLiteral("Datei ") + key;
            m_settings.append({key, value});
        }
    }

    static QString fileValue(const QString &key)
    {
        const ProjectXml p;
        for (const auto &kv : p.m_settings)
            if (kv.first == key)
                return kv.second;
        return {};
    }

    // raw is the element's content as it stands in the file.
    ProjectXml &set(const QString &key, const QString &raw)
    {
        for (auto &kv : m_settings)
            if (kv.first == key)
                kv.second = raw;
        return *this;
    }
    ProjectXml &remove(const QString &key)
    {
        for (int i = 0; i < m_settings.size(); ++i)
            if (m_settings[i].first == key)
                m_settings.removeAt(i--);
        return *this;
    }
    // The whole ItemList element, or an empty text for none.
    ProjectXml &items(const QString &raw)
    {
        m_items = raw;
        return *this;
    }
    ProjectXml &info(const QString &raw)
    {
        m_info = raw;
        return *this;
    }
    // Elements of FileContent before the settings.
    ProjectXml &prepend(const QString &raw)
    {
        m_prepended = raw;
        return *this;
    }
    ProjectXml &root(const QString &name)
    {
        m_root = name;
        return *this;
    }

    QByteArray bytes() const
    {
        QString s = QLatin1Char('<') + m_root + QStringLiteral(">\n") + m_info + QStringLiteral("\n<FileContent>\n") + m_prepended;
        for (const auto &kv : m_settings)
            s += QStringLiteral("<%1>%2</%1>\n").arg(kv.first, kv.second);
        s += m_items + QStringLiteral("\n</FileContent>\n</") + m_root + QStringLiteral(">\n");
        return s.toUtf8();
    }

    static const QString validSimple;
    static const QString validMulti;
    static const QString validSingle;

private:
    QString m_root = QStringLiteral("xml");
    QString m_info = QStringLiteral("<FileInfo><Prog>Pruvex</Prog><Version>2</Version></FileInfo>");
    QString m_prepended;
    QList<QPair<QString, QString>> m_settings;
    QString m_items = QStringLiteral("<ItemList>\n") + validSimple + validMulti + validSingle + QStringLiteral("</ItemList>");
};

const QString ProjectXml::validSimple = QStringLiteral(
    "<forms><typ>TSimpleQuestion</typ><name>n1</name><beschriftung>b1</beschriftung><groesse>15</groesse><maxLaenge>100</maxLaenge>"
    "<pflicht>-1</pflicht><meldung>m1</meldung><tipp>t1</tipp><hinweis>h1</hinweis><bild>p1</bild>"
    "<answers><answer>a</answer><answer>b</answer></answers></forms>\n");
const QString ProjectXml::validMulti = QStringLiteral(
    "<forms><typ>TMultiQuestion</typ><name>n2</name><beschriftung>b2</beschriftung><pflicht>0</pflicht><meldung/><tipp/><hinweis/><bild/>"
    "<answers><answer><text>x</text><right>-1</right></answer><answer><text>y</text><right>0</right></answer></answers></forms>\n");
const QString ProjectXml::validSingle = QStringLiteral(
    "<forms><typ>TSingleQuestion</typ><name>n3</name><beschriftung>b3</beschriftung><pflicht>0</pflicht><meldung/><tipp/><hinweis/><bild/>"
    "<answers><answer><text>r</text><right>0</right></answer><answer><text>s</text><right>-1</right></answer></answers></forms>\n");

QString describe(const Question &q)
{
    QStringList parts = {q.typeName(), q.name, q.caption};
    if (q.kind() == QuestionKind::FreeText) {
        const auto &s = static_cast<const FreeTextQuestion &>(q);
        parts << s.fieldSize << s.maxLength;
    }
    parts << (q.required ? QStringLiteral("pflicht") : QStringLiteral("-")) << q.alertText << q.tipLink << q.hint
          << q.picture;
    if (q.kind() == QuestionKind::FreeText) {
        parts << QStringLiteral("[") + static_cast<const FreeTextQuestion &>(q).answers.join(QLatin1Char(',')) + QStringLiteral("]");
    } else {
        QStringList options;
        for (const AnswerOption &o : static_cast<const ChoiceQuestion &>(q).options)
            options << o.text + (o.right ? QStringLiteral("+") : QStringLiteral("-"));
        parts << QStringLiteral("[") + options.join(QLatin1Char(',')) + QStringLiteral("]");
    }
    return parts.join(QLatin1Char('|'));
}

// Everything a load may change, one line per item.
QStringList describe(const Quiz &quiz)
{
    QStringList out;
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        out << key + QLatin1Char('=') + quiz.text(settingKey(key));
    }
    for (const ColourPair &p : Colours::pairs())
        out << QString::fromLatin1(p.button) + QLatin1Char('=') + QString::number(quiz.color(QLatin1String(p.button)), 16);
    out << QStringLiteral("formMailers=") + quiz.formMailers().join(QLatin1Char(','));
    for (const auto &q : quiz.questions())
        out << describe(*q);
    return out;
}

// A quiz with changed settings, colours and two questions.
void prepare(Quiz &quiz)
{
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("Vorher"));
    quiz.setText(SettingKey::memoEinleitung, QStringLiteral("a\r\nb"));
    quiz.setFlag(SettingKey::rdBegin, true);
    quiz.setFlag(SettingKey::chkCaptcha, true);
    quiz.setFlag(SettingKey::cboStandardButton, false);
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    quiz.setText(SettingKey::edtHGColor, QStringLiteral("123456"));
    quiz.colorToButton(SettingKey::edtHGColor);
    quiz.setColor(QStringLiteral("cboButtonColor"), rgb(9, 8, 7));
    quiz.setFormMailers({QStringLiteral("http://erste/quiz.php"), QStringLiteral("http://zweite/quiz.php")});

    auto simple = std::make_unique<FreeTextQuestion>();
    simple->caption = QStringLiteral("alt 1");
    simple->answers << QStringLiteral("x");
    quiz.questions().append(std::move(simple));
    auto single = std::make_unique<SingleChoiceQuestion>();
    single->caption = QStringLiteral("alt 2");
    single->options.push_back({QStringLiteral("o"), true});
    quiz.questions().append(std::move(single));
}

// Loads data through a file, as the program does.
bool loadBytes(Quiz &quiz, const QByteArray &data)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quiz.pvx"));
    if (!TestFiles::writeFile(path, data))
        return false;
    return loadProjectFile(quiz, path);
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExactFile();
    void emptyListsAreEmptyElements();
    void readsEveryElementTheWriterWrites();
    void roundTripOfAllSettings();
    void roundTripOfValues_data();
    void roundTripOfValues();
    void controlCharactersStillGiveAReadableFile();
    void readingDefaults_data();
    void readingDefaults();
    void flagTexts_data();
    void flagTexts();
    void emptyFormMailer_data();
    void emptyFormMailer();
    void coloursAfterLoad_data();
    void coloursAfterLoad();
    void toleratedFiles_data();
    void toleratedFiles();
    void questionElements_data();
    void questionElements();
    void emptyItemListEmptiesTheQuestions();
    void loneSurrogatesAreWrittenAsQuestionMarks();
    void failedLoadChangesNothing_data();
    void failedLoadChangesNothing();
    void saveIntoMissingFolderFails();
    void saveOverUnreplaceableFileKeepsIt();
    void saveReplacesAnExistingFile();
    void shippedDefaultProjectLoads();
};

// ---------------------------------------------------------------------------

void TestProjectFile::writesTheExactFile()
{
    Quiz quiz;
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("Fragen & <Antworten>"));
    quiz.setText(SettingKey::memoEinleitung, QStringLiteral("Zeile 1\r\nZeile 2"));
    quiz.setFlag(SettingKey::rdBegin, true);
    quiz.setFlag(SettingKey::chkCaptcha, true);
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    quiz.setText(SettingKey::ProjectSettings_url, QStringLiteral("http://example.org/?a=1&b=2"));

    auto simple = std::make_unique<FreeTextQuestion>();
    simple->name = QStringLiteral("F1");
    simple->caption = QStringLiteral("Hauptstadt von <b>Frankreich</b>?");
    simple->fieldSize = QStringLiteral("15");
    simple->maxLength = QStringLiteral("100");
    simple->required = true;
    simple->tipLink = QStringLiteral("http://tipp.example/");
    simple->answers << QStringLiteral("Paris") << QStringLiteral("paris");
    quiz.questions().append(std::move(simple));

    auto multi = std::make_unique<MultipleChoiceQuestion>();
    multi->name = QStringLiteral("F2");
    multi->caption = QStringLiteral("Welche sind Primzahlen?");
    multi->alertText = QString::fromUtf8("Bitte wählen");
    multi->picture = QStringLiteral("bild.png");
    multi->options = {{QStringLiteral("2"), true}, {QStringLiteral("4"), false}};
    quiz.questions().append(std::move(multi));

    auto single = std::make_unique<SingleChoiceQuestion>();
    single->caption = QString::fromUtf8("Größte Zahl?\r\nBitte eine wählen.");
    single->required = true;
    single->hint = QStringLiteral("Tipp: \"drei\"");
    single->options = {{QStringLiteral("1"), false}, {QStringLiteral("3"), true}};
    quiz.questions().append(std::move(single));

    const QByteArray expected = "<xml>\n"
                                "  <FileInfo>\n"
                                "    <Prog>Pruvex</Prog>\n"
                                "    <Version>2</Version>\n"
                                "  </FileInfo>\n"
                                "  <FileContent>\n"
                                "    <edtFormTitel>Fragen &amp; &lt;Antworten&gt;</edtFormTitel>\n"
                                "    <cboFontHeader>Arial,Helvetica,Geneva</cboFontHeader>\n"
                                "    <edtSizeHeader>12</edtSizeHeader>\n"
                                "    <cboFontForm>Arial,Helvetica,Geneva</cboFontForm>\n"
                                "    <edtSizeForm>10</edtSizeForm>\n"
                                "    <memoEinleitung>Zeile 1\r\r\nZeile 2</memoEinleitung>\n"
                                "    <memoTextEnde/>\n"
                                "    <edtBGPicture/>\n"
                                "    <edtHGColor>C0C0C0</edtHGColor>\n"
                                "    <edtHeaderColor>000000</edtHeaderColor>\n"
                                "    <edtTextColor>000080</edtTextColor>\n"
                                "    <edtTabColor>FFFFFF</edtTabColor>\n"
                                "    <IPErrorPage/>\n"
                                "    <FileErrorPage/>\n"
                                "    <CaptchaErrorPage/>\n"
                                "    <encoding>utf-8</encoding>\n"
                                "    <ProjectSettings_author/>\n"
                                "    <ProjectSettings_comment/>\n"
                                "    <ProjectSettings_title/>\n"
                                "    <ProjectSettings_company/>\n"
                                "    <ProjectSettings_url>http://example.org/?a=1&amp;b=2</ProjectSettings_url>\n"
                                "    <chkShowAdress>0</chkShowAdress>\n"
                                "    <chkName>0</chkName>\n"
                                "    <chkVorname>0</chkVorname>\n"
                                "    <chkStrasse>0</chkStrasse>\n"
                                "    <chkPLZ>0</chkPLZ>\n"
                                "    <chkOrt>0</chkOrt>\n"
                                "    <chkLand>0</chkLand>\n"
                                "    <chkEmail>0</chkEmail>\n"
                                "    <chkForName>0</chkForName>\n"
                                "    <chkForVorname>0</chkForVorname>\n"
                                "    <chkForStr>0</chkForStr>\n"
                                "    <chkForPlz>0</chkForPlz>\n"
                                "    <chkForOrt>0</chkForOrt>\n"
                                "    <chkForLand>0</chkForLand>\n"
                                "    <chkForEmail>0</chkForEmail>\n"
                                "    <rdBegin>-1</rdBegin>\n"
                                "    <rdEnd>0</rdEnd>\n"
                                "    <edtLName>Ihr Name:</edtLName>\n"
                                "    <edtLVorname>Ihr Vorname:</edtLVorname>\n"
                                "    <edtLStr>Straße:</edtLStr>\n"
                                "    <edtLPLZ>PLZ:</edtLPLZ>\n"
                                "    <edtLOrt>Ort:</edtLOrt>\n"
                                "    <edtLLand>Land:</edtLLand>\n"
                                "    <edtLEmail>E-Mail-Adresse:</edtLEmail>\n"
                                "    <edtHeader>Bitte geben Sie hier Ihre Daten ein:</edtHeader>\n"
                                "    <edtEMail/>\n"
                                "    <edtBetreff>Online Quiz</edtBetreff>\n"
                                "    <edtTabWidth>500</edtTabWidth>\n"
                                "    <chkShowAuswertung>-1</chkShowAuswertung>\n"
                                "    <chkShowUserAnswers>0</chkShowUserAnswers>\n"
                                "    <chkShowUserCorrectAnswers>0</chkShowUserCorrectAnswers>\n"
                                "    <edtAuswertungHeader>Auswertung Quiz</edtAuswertungHeader>\n"
                                "    <memoAuswertung>Vielen Dank für die Teilnahme an unserem Quiz.</memoAuswertung>\n"
                                "    <cboFormMailer>http://localhost:8080/quiz/v13/quiz.php</cboFormMailer>\n"
                                "    <chkShowPicDiagramm>-1</chkShowPicDiagramm>\n"
                                "    <chkCaptcha>-1</chkCaptcha>\n"
                                "    <edtCaptchaText1>Spam-Schutz</edtCaptchaText1>\n"
                                "    <cboStandardButton>-1</cboStandardButton>\n"
                                "    <edtHintergrundButton>a0a0a4</edtHintergrundButton>\n"
                                "    <edtFarbeButton>000000</edtFarbeButton>\n"
                                "    <cboRahmenButton>solid</cboRahmenButton>\n"
                                "    <edtStaerkeButton>1</edtStaerkeButton>\n"
                                "    <cboStaerkeRahmen>px</cboStaerkeRahmen>\n"
                                "    <edtSendenButton>Absenden</edtSendenButton>\n"
                                "    <edtCancelButton>Zurücksetzen</edtCancelButton>\n"
                                "    <edtPrint>Drucken</edtPrint>\n"
                                "    <chkPrintButton>0</chkPrintButton>\n"
                                "    <cboStandardFeld>-1</cboStandardFeld>\n"
                                "    <edtHGFormField>a0a0a4</edtHGFormField>\n"
                                "    <edtColorFormField>000000</edtColorFormField>\n"
                                "    <edtRahmenFormField>solid</edtRahmenFormField>\n"
                                "    <edtStaerkeFormField>1</edtStaerkeFormField>\n"
                                "    <cboRahmenFormField>px</cboRahmenFormField>\n"
                                "    <cboFontFormField>Arial,Helvetica,Geneva</cboFontFormField>\n"
                                "    <edtSizeFormField>12</edtSizeFormField>\n"
                                "    <cboSchriftFormEinheit>px</cboSchriftFormEinheit>\n"
                                "    <ItemList>\n"
                                "      <forms>\n"
                                "        <typ>TSimpleQuestion</typ>\n"
                                "        <name>F1</name>\n"
                                "        <beschriftung>Hauptstadt von &lt;b&gt;Frankreich&lt;/b&gt;?</beschriftung>\n"
                                "        <groesse>15</groesse>\n"
                                "        <maxLaenge>100</maxLaenge>\n"
                                "        <pflicht>-1</pflicht>\n"
                                "        <meldung/>\n"
                                "        <tipp>http://tipp.example/</tipp>\n"
                                "        <hinweis/>\n"
                                "        <bild/>\n"
                                "        <answers>\n"
                                "          <answer>Paris</answer>\n"
                                "          <answer>paris</answer>\n"
                                "        </answers>\n"
                                "      </forms>\n"
                                "      <forms>\n"
                                "        <typ>TMultiQuestion</typ>\n"
                                "        <name>F2</name>\n"
                                "        <beschriftung>Welche sind Primzahlen?</beschriftung>\n"
                                "        <pflicht>0</pflicht>\n"
                                "        <meldung>Bitte wählen</meldung>\n"
                                "        <tipp/>\n"
                                "        <hinweis/>\n"
                                "        <bild>bild.png</bild>\n"
                                "        <answers>\n"
                                "          <answer>\n"
                                "            <text>2</text>\n"
                                "            <right>-1</right>\n"
                                "          </answer>\n"
                                "          <answer>\n"
                                "            <text>4</text>\n"
                                "            <right>0</right>\n"
                                "          </answer>\n"
                                "        </answers>\n"
                                "      </forms>\n"
                                "      <forms>\n"
                                "        <typ>TSingleQuestion</typ>\n"
                                "        <name/>\n"
                                "        <beschriftung>Größte Zahl?\r\r\nBitte eine wählen.</beschriftung>\n"
                                "        <pflicht>-1</pflicht>\n"
                                "        <meldung/>\n"
                                "        <tipp/>\n"
                                "        <hinweis>Tipp: \"drei\"</hinweis>\n"
                                "        <bild/>\n"
                                "        <answers>\n"
                                "          <answer>\n"
                                "            <text>1</text>\n"
                                "            <right>0</right>\n"
                                "          </answer>\n"
                                "          <answer>\n"
                                "            <text>3</text>\n"
                                "            <right>-1</right>\n"
                                "          </answer>\n"
                                "        </answers>\n"
                                "      </forms>\n"
                                "    </ItemList>\n"
                                "  </FileContent>\n"
                                "</xml>\n";

    QCOMPARE(ProjectFile::toBytes(quiz), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quiz.pvx"));
    QString error;
    QVERIFY(saveProjectFile(quiz, path, &error));
    QCOMPARE(TestFiles::readFile(path), expected);

    // And it reads back as it was.
    Quiz loaded;
    QVERIFY(loadProjectFile(loaded, path));
    QCOMPARE(describe(loaded), describe(quiz));
}

// A quiz without questions has an empty ItemList, a question without answer
// entries an empty answers element: nothing between the tags, since the
// reader keeps blanks and line breaks inside an element as its value.
void TestProjectFile::emptyListsAreEmptyElements()
{
    Quiz quiz;
    const QByteArray noQuestions = "    <cboSchriftFormEinheit>px</cboSchriftFormEinheit>\n"
                                   "    <ItemList/>\n"
                                   "  </FileContent>\n"
                                   "</xml>\n";
    QByteArray bytes = ProjectFile::toBytes(quiz);
    QCOMPARE(bytes.right(noQuestions.size()), noQuestions);

    quiz.questions().append(createQuestion(QuestionKind::FreeText));
    const QByteArray noAnswers = "        <hinweis/>\n"
                                 "        <bild/>\n"
                                 "        <answers/>\n"
                                 "      </forms>\n"
                                 "    </ItemList>\n"
                                 "  </FileContent>\n"
                                 "</xml>\n";
    bytes = ProjectFile::toBytes(quiz);
    QCOMPARE(bytes.right(noAnswers.size()), noAnswers);
}

void TestProjectFile::readsEveryElementTheWriterWrites()
{
    Quiz quiz;
    QVERIFY(ProjectFile::fromBytes(quiz, ProjectXml().bytes()));
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        QCOMPARE(quiz.text(settingKey(key)), ProjectXml::fileValue(key));
    }
    QCOMPARE(quiz.questions().count(), 3);
    QCOMPARE(describe(*quiz.questions().at(0)), QStringLiteral("TSimpleQuestion|n1|b1|15|100|pflicht|m1|t1|h1|p1|[a,b]"));
    QCOMPARE(describe(*quiz.questions().at(1)), QStringLiteral("TMultiQuestion|n2|b2|-|||||[x+,y-]"));
    QCOMPARE(describe(*quiz.questions().at(2)), QStringLiteral("TSingleQuestion|n3|b3|-|||||[r-,s+]"));
}

void TestProjectFile::roundTripOfAllSettings()
{
    Quiz quiz;
    int i = 0;
    for (const SettingDef &def : Settings::all()) {
        const QString key = QString::fromLatin1(def.key);
        if (def.kind == SettingKind::Flag)
            quiz.setFlag(settingKey(key), initialOf(def) != QLatin1String("-1"));
        else if (def.kind == SettingKind::Colour)
            quiz.setText(settingKey(key), Colours::textOf(rgb(i, i, 0x10)));
        else
            quiz.setText(settingKey(key), QString::fromUtf8("Wert %1 für\r\n%2 ").arg(i).arg(key));
        ++i;
    }
    quiz.colorsFromTexts();

    const QByteArray first = ProjectFile::toBytes(quiz);
    Quiz loaded;
    QVERIFY(ProjectFile::fromBytes(loaded, first));
    QCOMPARE(describe(loaded), describe(quiz));
    // A second cycle writes the same file.
    QCOMPARE(ProjectFile::toBytes(loaded), first);
}

// A value stored in a setting, in question texts and in answers comes back
// exactly as it was saved.
void TestProjectFile::roundTripOfValues_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("two lines") << QStringLiteral("Zeile 1\r\nZeile 2");
    QTest::newRow("three line breaks in a row") << QStringLiteral("a\r\n\r\n\r\nb");
    QTest::newRow("ends with a line break") << QStringLiteral("a\r\n");
    QTest::newRow("blanks only") << QStringLiteral("  ");
    QTest::newRow("line break only") << QStringLiteral("\r\n");
    QTest::newRow("two line breaks only") << QStringLiteral("\r\n\r\n");
    QTest::newRow("blank and line break") << QStringLiteral(" \r\n ");
    QTest::newRow("tab") << QStringLiteral("\t");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  a  ");
    QTest::newRow("umlauts and euro") << QString::fromUtf8("Grüße, ÄÖÜ ß €");
    QTest::newRow("markup with quotes") << QStringLiteral("<span style=\"color:#FF0000\">rot</span> & 'x' > y");
    QTest::newRow("entities as text") << QStringLiteral("&amp; &#65; &lt;");
    QTest::newRow("CDATA end") << QStringLiteral("]]>");
    QTest::newRow("outside the BMP") << QString::fromUtf8("😀 中");
    QTest::newRow("empty") << QString();
    QTest::newRow("lone CRs") << QStringLiteral("eins\rzwei\r\rdrei\r");
    QTest::newRow("CR before a line break") << QStringLiteral("a\r\r\nb");
}

void TestProjectFile::roundTripOfValues()
{
    QFETCH(QString, value);
    Quiz quiz;
    quiz.setText(SettingKey::memoEinleitung, value);
    quiz.setText(SettingKey::edtFormTitel, value);
    quiz.setText(SettingKey::ProjectSettings_comment, value);
    quiz.setText(SettingKey::cboFormMailer, QStringLiteral("http://x/quiz.php"));

    auto simple = std::make_unique<FreeTextQuestion>();
    simple->caption = value;
    simple->hint = value;
    simple->fieldSize = value;
    simple->answers << value << QStringLiteral("b");
    quiz.questions().append(std::move(simple));
    auto multi = std::make_unique<MultipleChoiceQuestion>();
    multi->name = value;
    multi->alertText = value;
    multi->tipLink = value;
    multi->picture = value;
    multi->options = {{value, true}, {QStringLiteral("n"), false}};
    quiz.questions().append(std::move(multi));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wert.pvx"));
    QVERIFY(saveProjectFile(quiz, path));
    Quiz loaded;
    QVERIFY(loadProjectFile(loaded, path));
    QCOMPARE(loaded.text(SettingKey::memoEinleitung), value);
    QCOMPARE(describe(loaded), describe(quiz));

    // A second cycle keeps the text.
    QVERIFY(saveProjectFile(loaded, path));
    Quiz again;
    QVERIFY(loadProjectFile(again, path));
    QCOMPARE(describe(again), describe(quiz));
}

// A pasted control character cannot stand in an XML file; the file must
// still load, with the character left out.
void TestProjectFile::controlCharactersStillGiveAReadableFile()
{
    Quiz quiz;
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("a\x0B"
                                                                "b\x01"
                                                                "c"));
    auto q = std::make_unique<FreeTextQuestion>();
    q->caption = QStringLiteral("x\x1Fy");
    q->answers << QStringLiteral("\x0C");
    quiz.questions().append(std::move(q));

    Quiz loaded;
    QVERIFY(ProjectFile::fromBytes(loaded, ProjectFile::toBytes(quiz)));
    QCOMPARE(loaded.text(SettingKey::edtFormTitel), QStringLiteral("abc"));
    QCOMPARE(loaded.questions().count(), 1);
    const auto *back = static_cast<const FreeTextQuestion *>(loaded.questions().at(0));
    QCOMPARE(back->caption, QStringLiteral("xy"));
    QCOMPARE(back->answers, QStringList{QString()});
}

// A lone surrogate (from a paste, or "\ud800" in the JSON of build) is
// written as "?", as QString::toUtf8() writes it, and a pair as its
// character, also where an escaped character stands next to them.
void TestProjectFile::loneSurrogatesAreWrittenAsQuestionMarks()
{
    Quiz quiz;
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("a") + QChar(0xD800) + QStringLiteral("&") + QChar(0xDC00) +
                                               QString::fromUtf8("\xf0\x9f\x98\x80<") + QChar(0xD83D));
    const QByteArray bytes = ProjectFile::toBytes(quiz);
    QVERIFY2(bytes.contains("<edtFormTitel>a?&amp;?\xf0\x9f\x98\x80&lt;?</edtFormTitel>"), bytes.left(400).constData());
}

// The file holds the required flags only. Before the load the quiz holds the
// initial values, or every flag flipped.
void TestProjectFile::readingDefaults_data()
{
    QTest::addColumn<bool>("flipped");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QList<std::tuple<QString, QString, QString>> rows = {
        // key, after a load into the initial quiz, after a load into the flipped one
        {"chkShowUserAnswers", "0", "0"},
        {"chkShowUserCorrectAnswers", "-1", "-1"},
        {"chkShowPicDiagramm", "-1", "-1"},
        {"chkCaptcha", "0", "0"},
        {"cboStandardButton", "-1", "0"},
        {"chkPrintButton", "0", "-1"},
        {"cboStandardFeld", "-1", "0"},
        {"edtCaptchaText1", "Spam-Schutz", "Spam-Schutz"},
        {"encoding", "iso-8859-1", "iso-8859-1"},
        {"ProjectSettings_url", "http://", "http://"},
        {"ProjectSettings_author", "", ""},
        {"IPErrorPage", "", ""},
        {"edtFormTitel", "", ""},
        {"memoEinleitung", "", ""},
        {"edtTabWidth", "", ""},
        {"edtSendenButton", "", ""},
        {"edtSizeHeader", "", ""},
        {"cboFontFormField", "", ""},
        // A missing colour text is empty, which gives black; the edit shows
        // "000000" where the button was not black before.
        {"edtHGColor", "000000", "000000"},
        {"edtHeaderColor", "", ""},
        {"edtHintergrundButton", "000000", "000000"},
        {"edtColorFormField", "", ""},
        // An empty address takes the list's first entry.
        {"cboFormMailer", "http://erste/quiz.php", "http://erste/quiz.php"},
        // The required flags as the file holds them.
        {"chkShowAdress", "-1", "-1"},
        {"chkVorname", "0", "0"},
        {"rdBegin", "-1", "-1"},
        {"rdEnd", "0", "0"},
        {"chkShowAuswertung", "0", "0"},
    };
    for (const auto &row : rows) {
        QTest::addRow("%s, initial", qPrintable(std::get<0>(row))) << false << std::get<0>(row) << std::get<1>(row);
        QTest::addRow("%s, flipped", qPrintable(std::get<0>(row))) << true << std::get<0>(row) << std::get<2>(row);
    }
}

void TestProjectFile::readingDefaults()
{
    QFETCH(bool, flipped);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    Quiz quiz;
    quiz.setFormMailers({QStringLiteral("http://erste/quiz.php"), QStringLiteral("http://zweite/quiz.php")});
    quiz.setText(SettingKey::edtCaptchaText1, QStringLiteral("vorher"));
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    quiz.setText(SettingKey::ProjectSettings_url, QStringLiteral("ftp://vorher"));
    quiz.setText(SettingKey::ProjectSettings_author, QStringLiteral("vorher"));
    if (flipped) {
        for (const SettingDef &def : Settings::all())
            if (def.kind == SettingKind::Flag)
                quiz.setFlag(def.id, initialOf(def) != QLatin1String("-1"));
    }

    QVERIFY(loadProjectFile(quiz, kDataDir + QStringLiteral("/required-flags-only.pvx")));
    QCOMPARE(quiz.text(settingKey(key)), expected);
}

void TestProjectFile::flagTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("raw"); // element content; a null text leaves the element out
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("after");

    const QString missing;
    // Required flags.
    QTest::newRow("required 1") << "chkName"
                                << "1" << false << true << true;
    QTest::newRow("required true") << "chkName"
                                   << "true" << false << true << true;
    QTest::newRow("required TRUE") << "chkName"
                                   << "TRUE" << false << true << true;
    QTest::newRow("required -1") << "chkName"
                                 << "-1" << false << true << true;
    QTest::newRow("required 7") << "chkForEmail"
                                << "7" << false << true << true;
    QTest::newRow("required False") << "chkName"
                                    << "False" << true << true << false;
    QTest::newRow("required 0") << "chkName"
                                << "0" << true << true << false;
    QTest::newRow("required empty") << "chkName"
                                    << "" << false << false << false;
    QTest::newRow("required abc") << "rdEnd"
                                  << "abc" << true << false << true;
    QTest::newRow("required holding an element") << "chkShowAdress"
                                                 << "<b>1</b>" << false << false << false;
    QTest::newRow("required missing") << "chkForPlz" << missing << false << false << false;
    QTest::newRow("chkShowAuswertung missing") << "chkShowAuswertung" << missing << true << false << true;
    QTest::newRow("chkShowAuswertung yes") << "chkShowAuswertung"
                                           << "yes" << true << false << true;
    // Flags with a reader's default.
    QTest::newRow("chkShowUserAnswers TRUE") << "chkShowUserAnswers"
                                             << "TRUE" << false << true << true;
    QTest::newRow("chkShowUserAnswers abc") << "chkShowUserAnswers"
                                            << "abc" << true << true << false;
    QTest::newRow("chkShowUserAnswers empty") << "chkShowUserAnswers"
                                              << "" << true << true << false;
    QTest::newRow("chkShowUserCorrectAnswers abc") << "chkShowUserCorrectAnswers"
                                                   << "abc" << false << true << true;
    QTest::newRow("chkShowUserCorrectAnswers 0") << "chkShowUserCorrectAnswers"
                                                 << "0" << true << true << false;
    QTest::newRow("chkShowPicDiagramm False") << "chkShowPicDiagramm"
                                              << "False" << true << true << false;
    QTest::newRow("chkShowPicDiagramm missing") << "chkShowPicDiagramm" << missing << false << true << true;
    // chkCaptcha: off when missing, a failure when present but not a flag.
    QTest::newRow("chkCaptcha 1") << "chkCaptcha"
                                  << "1" << false << true << true;
    QTest::newRow("chkCaptcha missing") << "chkCaptcha" << missing << true << true << false;
    QTest::newRow("chkCaptcha empty") << "chkCaptcha"
                                      << "" << false << false << false;
    QTest::newRow("chkCaptcha blanks") << "chkCaptcha"
                                       << "  " << false << false << false;
    QTest::newRow("chkCaptcha abc") << "chkCaptcha"
                                    << "abc" << false << false << false;
    // Flags that keep their value.
    QTest::newRow("cboStandardButton 0") << "cboStandardButton"
                                         << "0" << true << true << false;
    QTest::newRow("cboStandardButton abc, on") << "cboStandardButton"
                                               << "abc" << true << true << true;
    QTest::newRow("cboStandardButton abc, off") << "cboStandardButton"
                                                << "abc" << false << true << false;
    QTest::newRow("cboStandardButton missing, on") << "cboStandardButton" << missing << true << true << true;
    QTest::newRow("chkPrintButton true") << "chkPrintButton"
                                         << "true" << false << true << true;
    QTest::newRow("chkPrintButton empty, on") << "chkPrintButton"
                                              << "" << true << true << true;
    QTest::newRow("cboStandardFeld missing, off") << "cboStandardFeld" << missing << false << true << false;
}

void TestProjectFile::flagTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, raw);
    QFETCH(bool, before);
    QFETCH(bool, loads);
    QFETCH(bool, after);

    ProjectXml file;
    if (raw.isNull())
        file.remove(key);
    else
        file.set(key, raw);
    Quiz quiz;
    quiz.setFlag(settingKey(key), before);
    QCOMPARE(loadBytes(quiz, file.bytes()), loads);
    QCOMPARE(quiz.flag(settingKey(key)), after);
    if (loads)
        QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("Datei edtFormTitel"));
    else
        QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("Online Quiz"));
}

void TestProjectFile::emptyFormMailer_data()
{
    QTest::addColumn<QString>("raw"); // null: element left out
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("expected");

    const QStringList two = {"http://erste/quiz.php", "http://zweite/quiz.php"};
    QTest::newRow("empty, list of two") << "" << two << "http://erste/quiz.php";
    QTest::newRow("missing, list of two") << QString() << two << "http://erste/quiz.php";
    QTest::newRow("empty, empty list") << "" << QStringList() << "";
    QTest::newRow("empty, list with an empty first entry") << "" << QStringList{"", "http://b"} << "";
    QTest::newRow("own address kept") << "http://eigene/quiz.php" << two << "http://eigene/quiz.php";
    QTest::newRow("blanks are not empty") << "  " << two << "  ";
}

void TestProjectFile::emptyFormMailer()
{
    QFETCH(QString, raw);
    QFETCH(QStringList, list);
    QFETCH(QString, expected);

    ProjectXml file;
    if (raw.isNull())
        file.remove(QStringLiteral("cboFormMailer"));
    else
        file.set(QStringLiteral("cboFormMailer"), raw);
    Quiz quiz;
    quiz.setFormMailers(list);
    QVERIFY(ProjectFile::fromBytes(quiz, file.bytes()));
    QCOMPARE(quiz.text(SettingKey::cboFormMailer), expected);
    QCOMPARE(quiz.formMailers(), list);
}

// Loaded into a quiz with the initial colours; the other colour texts of the
// file are "1A2B3C".
void TestProjectFile::coloursAfterLoad_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("raw"); // null: element left out
    QTest::addColumn<QString>("button");
    QTest::addColumn<ColorValue>("colour");
    QTest::addColumn<QString>("text");

    QTest::newRow("CSS pair, lower case") << "edtHintergrundButton"
                                          << "ff8040"
                                          << "cboColorHGButton" << rgb(0xFF, 0x80, 0x40) << "FF8040";
    QTest::newRow("CSS pair, rejected, button grey") << "edtHintergrundButton"
                                                     << "zzz"
                                                     << "cboColorHGButton" << ColorValue(0) << "000000";
    QTest::newRow("CSS pair, rejected, button black") << "edtFarbeButton"
                                                      << "zzz"
                                                      << "cboButtonColor" << ColorValue(0) << "zzz";
    QTest::newRow("field colour") << "edtColorFormField"
                                  << "00ff00"
                                  << "cboColorFormField" << rgb(0, 0xFF, 0) << "00FF00";
    QTest::newRow("field background, same colour") << "edtHGFormField"
                                                   << "A0a0a4"
                                                   << "cboHGFormField" << rgb(0xA0, 0xA0, 0xA4) << "A0a0a4";
    QTest::newRow("Design pair, same colour") << "edtHGColor"
                                              << "c0c0c0"
                                              << "cboBGColor" << rgb(0xC0, 0xC0, 0xC0) << "c0c0c0";
    QTest::newRow("Design pair, other colour") << "edtTextColor"
                                               << "ff0000"
                                               << "cboTextColor" << rgb(0xFF, 0, 0) << "FF0000";
    QTest::newRow("Design pair, missing, button white") << "edtTabColor" << QString() << "cboTabColor" << ColorValue(0) << "000000";
    QTest::newRow("Design pair, empty, button black") << "edtHeaderColor"
                                                      << ""
                                                      << "cboHeadingColor" << ColorValue(0) << "";
    QTest::newRow("unchanged file text") << "edtTabColor"
                                         << "1A2B3C"
                                         << "cboTabColor" << rgb(0x1A, 0x2B, 0x3C) << "1A2B3C";
}

void TestProjectFile::coloursAfterLoad()
{
    QFETCH(QString, edit);
    QFETCH(QString, raw);
    QFETCH(QString, button);
    QFETCH(ColorValue, colour);
    QFETCH(QString, text);

    ProjectXml file;
    if (raw.isNull())
        file.remove(edit);
    else
        file.set(edit, raw);
    Quiz quiz;
    QVERIFY(ProjectFile::fromBytes(quiz, file.bytes()));
    QCOMPARE(quiz.color(button), colour);
    QCOMPARE(quiz.text(settingKey(edit)), text);
    // Every pair agrees after a load.
    for (const ColourPair &p : Colours::pairs()) {
        if (p.edit == settingKey(edit))
            continue;
        QCOMPARE(quiz.color(QLatin1String(p.button)), rgb(0x1A, 0x2B, 0x3C));
        QCOMPARE(quiz.text(settingKey(p.edit)), QStringLiteral("1A2B3C"));
    }
}

// Files that differ from what the writer writes but load all the same.
void TestProjectFile::toleratedFiles_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("title");

    const QString title = QStringLiteral("Datei edtFormTitel");
    QTest::newRow("as built") << ProjectXml().bytes() << title;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") + ProjectXml().bytes() << title;
    QTest::newRow("XML declaration") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + ProjectXml().bytes() << title;
    QTest::newRow("other root name") << ProjectXml().root(QStringLiteral("Projekt")).bytes() << title;
    QTest::newRow("no Version") << ProjectXml().info(QStringLiteral("<FileInfo><Prog>Pruvex</Prog></FileInfo>")).bytes() << title;
    QTest::newRow("other Version")
        << ProjectXml().info(QStringLiteral("<FileInfo><Version>9</Version><Prog>Pruvex</Prog></FileInfo>")).bytes() << title;
    QTest::newRow("FileInfo after FileContent")
        << QByteArray(ProjectXml().info(QString()).bytes()).replace("</xml>", "<FileInfo><Prog>Pruvex</Prog></FileInfo></xml>") << title;
    QTest::newRow("first of two elements wins")
        << ProjectXml().set(QStringLiteral("edtFormTitel"), QStringLiteral("erster</edtFormTitel><edtFormTitel>zweiter")).bytes()
        << "erster";
    QTest::newRow("unknown elements ignored")
        << ProjectXml().prepend(QStringLiteral("<Unbekannt>y</Unbekannt><edtformtitel>z</edtformtitel>")).bytes() << title;
    QTest::newRow("comment inside a value")
        << ProjectXml().set(QStringLiteral("edtFormTitel"), QStringLiteral("Datei <!-- Notiz -->edtFormTitel")).bytes() << title;
    QTest::newRow("CDATA value") << ProjectXml().set(QStringLiteral("edtFormTitel"), QStringLiteral("<![CDATA[a <b> & c]]>")).bytes()
                                 << "a <b> & c";
    QTest::newRow("character references") << ProjectXml().set(QStringLiteral("edtFormTitel"), QStringLiteral("&#228;&#x20AC;")).bytes()
                                          << QString::fromUtf8("ä€");
    QTest::newRow("no layout at all") << QByteArray(ProjectXml().bytes()).replace('\n', QByteArray()) << title;
    QTest::newRow("CR LF layout") << QByteArray(ProjectXml().bytes()).replace("\n", "\r\n") << title;
}

void TestProjectFile::toleratedFiles()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, title);
    Quiz quiz;
    QVERIFY(loadBytes(quiz, data));
    QCOMPARE(quiz.text(SettingKey::edtFormTitel), title);
    QCOMPARE(quiz.text(SettingKey::memoTextEnde), QStringLiteral("Datei memoTextEnde"));
    QCOMPARE(quiz.questions().count(), 3);
}

void TestProjectFile::questionElements_data()
{
    QTest::addColumn<QString>("forms");
    QTest::addColumn<QString>("expected");

    const QString common = QStringLiteral("<name>n</name><beschriftung>b</beschriftung><pflicht>0</pflicht><meldung>m</meldung>"
                                          "<tipp>t</tipp><hinweis>h</hinweis><bild>p</bild>");
    QTest::newRow("groesse in a choice question ignored")
        << "<forms><typ>TSingleQuestion</typ>" + common + "<groesse>15</groesse><maxLaenge>x</maxLaenge><answers/></forms>"
        << "TSingleQuestion|n|b|-|m|t|h|p|[]";
    QTest::newRow("forms of another name, children in another order")
        << "<frage><answers><answer>x</answer></answers><maxLaenge>100</maxLaenge>" + common +
               "<groesse>abc</groesse><typ>TSimpleQuestion</typ></frage>"
        << "TSimpleQuestion|n|b|abc|100|-|m|t|h|p|[x]";
    QTest::newRow("answers of any name") << "<forms><typ>TSimpleQuestion</typ>" + common +
                                                "<groesse/><maxLaenge/><answers><a>1</a><b/><answer>  </answer></answers></forms>"
                                         << "TSimpleQuestion|n|b|||-|m|t|h|p|[1,,  ]";
    QTest::newRow("pflicht TRUE, right 1 and false")
        << "<forms><typ>TMultiQuestion</typ>" + QString(common).replace("<pflicht>0</pflicht>", "<pflicht>TRUE</pflicht>") +
               "<answers><x><right>1</right><text>eins</text></x><y><text>zwei</text><right>false</right></y></answers></forms>"
        << "TMultiQuestion|n|b|pflicht|m|t|h|p|[eins+,zwei-]";
    QTest::newRow("unknown children ignored")
        << "<forms><typ>TSingleQuestion</typ><extra>e</extra>" + common +
               "<answers><answer><text>a</text><right>-1</right><farbe>rot</farbe></answer></answers></forms>"
        << "TSingleQuestion|n|b|-|m|t|h|p|[a+]";
    QTest::newRow("line breaks in question texts")
        << "<forms><typ>TSingleQuestion</typ>" + QString(common).replace("<hinweis>h</hinweis>", "<hinweis>h1\r\r\nh2</hinweis>") +
               "<answers><answer><text>a\r\r\nb</text><right>-1</right></answer></answers></forms>"
        << "TSingleQuestion|n|b|-|m|t|h1\r\nh2|p|[a\r\nb+]";
}

void TestProjectFile::questionElements()
{
    QFETCH(QString, forms);
    QFETCH(QString, expected);
    Quiz quiz;
    QVERIFY(loadBytes(quiz, ProjectXml().items(QStringLiteral("<ItemList>") + forms + QStringLiteral("</ItemList>")).bytes()));
    QCOMPARE(quiz.questions().count(), 1);
    QCOMPARE(describe(*quiz.questions().at(0)), expected);
}

void TestProjectFile::emptyItemListEmptiesTheQuestions()
{
    for (const QString &items : {QStringLiteral("<ItemList/>"), QStringLiteral("<ItemList>\n  \n</ItemList>")}) {
        Quiz quiz;
        prepare(quiz);
        QSignalSpy spy(&quiz, &Quiz::questionsChanged);
        QVERIFY(loadBytes(quiz, ProjectXml().items(items).bytes()));
        QVERIFY(quiz.questions().isEmpty());
        QCOMPARE(spy.count(), 1);
    }
}

void TestProjectFile::failedLoadChangesNothing_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("path"); // a fixture, or a path that is no file; used when data is null

    const QString simple = ProjectXml::validSimple;
    const QString multi = ProjectXml::validMulti;
    auto withSecond = [](const QString &bad) {
        return ProjectXml().items(QStringLiteral("<ItemList>") + ProjectXml::validSimple + bad + QStringLiteral("</ItemList>")).bytes();
    };
    const QByteArray whole = ProjectXml().bytes();

    QTest::newRow("not XML") << QByteArray("Das ist keine Pruvex Datei.") << QString();
    QTest::newRow("empty file") << QByteArray("") << QString();
    QTest::newRow("cut off") << whole.left(whole.size() / 2) << QString();
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("/nonexistent/quiz.pvx");
    QTest::newRow("a folder") << QByteArray() << kDataDir;
    QTest::newRow("no FileContent") << QByteArray("<xml><FileInfo><Prog>Pruvex</Prog><Version>2</Version></FileInfo></xml>") << QString();
    QTest::newRow("FileContent deeper down")
        << QByteArray(whole).replace("<FileContent>", "<Daten><FileContent>").replace("</FileContent>", "</FileContent></Daten>")
        << QString();
    QTest::newRow("no FileInfo") << ProjectXml().info(QString()).bytes() << QString();
    QTest::newRow("no Prog") << ProjectXml().info(QStringLiteral("<FileInfo><Version>2</Version></FileInfo>")).bytes() << QString();
    QTest::newRow("Prog pruvex") << ProjectXml().info(QStringLiteral("<FileInfo><Prog>pruvex</Prog></FileInfo>")).bytes() << QString();
    QTest::newRow("Prog with a blank") << ProjectXml().info(QStringLiteral("<FileInfo><Prog>Pruvex </Prog></FileInfo>")).bytes()
                                       << QString();
    QTest::newRow("Prog of another program") << ProjectXml().info(QStringLiteral("<FileInfo><Prog>Quizmaker</Prog></FileInfo>")).bytes()
                                             << QString();
    QTest::newRow("missing chkShowAdress") << QByteArray() << kDataDir + QStringLiteral("/missing-chkShowAdress.pvx");
    QTest::newRow("rdEnd empty") << ProjectXml().set(QStringLiteral("rdEnd"), QString()).bytes() << QString();
    QTest::newRow("chkShowAuswertung not a flag") << ProjectXml().set(QStringLiteral("chkShowAuswertung"), "ja").bytes() << QString();
    QTest::newRow("chkCaptcha present but empty") << ProjectXml().set(QStringLiteral("chkCaptcha"), QString()).bytes() << QString();
    QTest::newRow("no ItemList") << ProjectXml().items(QString()).bytes() << QString();
    QTest::newRow("question without beschriftung")
        << withSecond(QString(multi).replace("<beschriftung>b2</beschriftung>", "")) << QString();
    QTest::newRow("question without bild") << withSecond(QString(multi).replace("<bild/>", "")) << QString();
    QTest::newRow("free-text question without groesse") << withSecond(QString(simple).replace("<groesse>15</groesse>", "")) << QString();
    QTest::newRow("question without answers") << withSecond(QString(multi).replace(QRegularExpression("<answers>.*</answers>"), ""))
                                              << QString();
    QTest::newRow("pflicht not a flag") << withSecond(QString(multi).replace("<pflicht>0</pflicht>", "<pflicht>ja</pflicht>")) << QString();
    QTest::newRow("pflicht empty") << withSecond(QString(multi).replace("<pflicht>0</pflicht>", "<pflicht/>")) << QString();
    QTest::newRow("right missing") << withSecond(QString(multi).replace("<right>0</right>", "")) << QString();
    QTest::newRow("right not a flag") << withSecond(QString(multi).replace("<right>0</right>", "<right>falsch</right>")) << QString();
    QTest::newRow("option text missing") << withSecond(QString(multi).replace("<text>y</text>", "")) << QString();
    QTest::newRow("free-text answer holding an element")
        << withSecond(QString(simple).replace("<answer>b</answer>", "<answer><b>b</b></answer>")) << QString();
    QTest::newRow("beschriftung holding an element")
        << withSecond(QString(multi).replace("<beschriftung>b2</beschriftung>", "<beschriftung><b>b2</b></beschriftung>")) << QString();
    QTest::newRow("typ missing") << withSecond(QString(multi).replace("<typ>TMultiQuestion</typ>", "")) << QString();
    QTest::newRow("unknown typ") << withSecond(QString(multi).replace("TMultiQuestion", "TFreeQuestion")) << QString();
    QTest::newRow("typ in other case") << withSecond(QString(multi).replace("TMultiQuestion", "tmultiquestion")) << QString();
}

void TestProjectFile::failedLoadChangesNothing()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, path);

    Quiz quiz;
    prepare(quiz);
    const QStringList before = describe(quiz);
    const Question *firstQuestion = quiz.questions().at(0);
    QSignalSpy settings(&quiz, &Quiz::settingChanged);
    QSignalSpy colours(&quiz, &Quiz::colorChanged);
    QSignalSpy questions(&quiz, &Quiz::questionsChanged);

    if (data.isNull())
        QVERIFY(!loadProjectFile(quiz, path));
    else
        QVERIFY(!loadBytes(quiz, data));

    QCOMPARE(describe(quiz), before);
    QCOMPARE(quiz.questions().at(0), firstQuestion);
    QCOMPARE(settings.count(), 0);
    QCOMPARE(colours.count(), 0);
    QCOMPARE(questions.count(), 0);
    QCOMPARE(ProjectFile::notAProjectMessage(), QStringLiteral("Die Datei scheint keine Pruvex Datei zu sein."));
}

void TestProjectFile::saveIntoMissingFolderFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt/quiz.pvx"));
    Quiz quiz;
    QString error;
    QVERIFY(!saveProjectFile(quiz, path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestProjectFile::saveOverUnreplaceableFileKeepsIt()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("schreibgeschuetzt"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/quiz.pvx");
    const QByteArray old("<xml>alt</xml>\n");
    QVERIFY(TestFiles::writeFile(path, old));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

    Quiz quiz;
    QString error;
    const bool saved = saveProjectFile(quiz, path, &error);
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (saved && permissionsDoNotBite())
        QSKIP("the folder's permissions do not stop the write here (running as root)");

    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestFiles::readFile(path), old);
    QCOMPARE(entries, QStringList{"quiz.pvx"});
}

void TestProjectFile::saveReplacesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quiz.pvx"));
    QVERIFY(TestFiles::writeFile(path, QByteArray(100000, 'x')));
    Quiz quiz;
    QString error;
    QVERIFY(saveProjectFile(quiz, path, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(TestFiles::readFile(path), ProjectFile::toBytes(quiz));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quiz.pvx"});
}

void TestProjectFile::shippedDefaultProjectLoads()
{
    Quiz initial;
    Quiz quiz;
    QVERIFY(loadProjectFile(quiz, kBinDir + QStringLiteral("/default.pvx")));
    QVERIFY(quiz.questions().isEmpty());
    for (const SettingDef &def : Settings::all()) {
        if (def.store != SettingStore::Window)
            continue;
        QCOMPARE(quiz.text(def.id), initial.text(def.id));
    }
    for (const ColourPair &p : Colours::pairs())
        QCOMPARE(quiz.color(QLatin1String(p.button)), initial.color(QLatin1String(p.button)));
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
