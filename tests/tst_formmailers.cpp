// The per-user list of quiz-script addresses "formmailers.xml": the per-user
// folder, seeding it from the program's folder, the two readings of the file
// and the file the manager writes.

#include "formmailers.h"
#include "paths.h"
#include "settings.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kBinDir = QStringLiteral(PRUVEX_BIN_DIR);

} // namespace

class TestFormMailers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void userDataPathFollowsXdgDataHome();
    void seedCopiesOnlyWhenMissing();
    void seedNeverOverwrites();
    void shippedListHoldsTheInitialAddress();
    void readings_data();
    void readings();
    void missingFileGivesEmptyLists();
    void saveWritesTheFileFormat();
    void saveRoundTrip_data();
    void saveRoundTrip();
    void saveIntoMissingFolderFails();
};

void TestFormMailers::cleanup()
{
    Paths::setUserDataPath(QString());
}

void TestFormMailers::userDataPathFollowsXdgDataHome()
{
    QTemporaryDir home;
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    const QString path = Paths::userDataPath();
    QVERIFY(!QDir(path).exists());
    Paths::ensureUserDataPath();
    const bool created = QDir(path).exists();
    qputenv("XDG_DATA_HOME", old);

    QCOMPARE(path, home.path() + QStringLiteral("/Pruvex"));
    QVERIFY(created);
    QCOMPARE(FormMailers::fileName(), QStringLiteral("formmailers.xml"));

    // A test points it elsewhere.
    QTemporaryDir other;
    Paths::setUserDataPath(other.path());
    QCOMPARE(Paths::userDataPath(), other.path());
    QCOMPARE(FormMailers::userFilePath(), other.path() + QStringLiteral("/formmailers.xml"));
}

void TestFormMailers::seedCopiesOnlyWhenMissing()
{
    QTemporaryDir dir;
    // The per-user folder does not exist yet.
    const QString userDir = dir.filePath(QStringLiteral("Pruvex"));
    Paths::setUserDataPath(userDir);
    QCOMPARE(Paths::programFile(QStringLiteral("formmailers.xml")), kBinDir + QStringLiteral("/formmailers.xml"));

    FormMailers::seedUserFile();
    const QString userFile = userDir + QStringLiteral("/formmailers.xml");
    QVERIFY(QFile::exists(userFile));
    QCOMPARE(TestFiles::readFile(userFile), TestFiles::readFile(kBinDir + QStringLiteral("/formmailers.xml")));
    QVERIFY(QFile::permissions(userFile) & QFile::WriteOwner);
}

void TestFormMailers::seedNeverOverwrites()
{
    QTemporaryDir dir;
    Paths::setUserDataPath(dir.path());
    const QString userFile = dir.filePath(QStringLiteral("formmailers.xml"));
    const QByteArray own("<xml><formmailers><formmail>http://meins/quiz.php</formmail></formmailers></xml>");
    QVERIFY(TestFiles::writeFile(userFile, own));
    FormMailers::seedUserFile();
    QCOMPARE(TestFiles::readFile(userFile), own);

    // Not even an empty or broken file of the user's.
    QVERIFY(TestFiles::writeFile(userFile, QByteArray()));
    FormMailers::seedUserFile();
    QCOMPARE(TestFiles::readFile(userFile), QByteArray());
}

void TestFormMailers::shippedListHoldsTheInitialAddress()
{
    const QString shipped = kBinDir + QStringLiteral("/formmailers.xml");
    const QStringList expected = {Settings::initialFormMailer()};
    QCOMPARE(FormMailers::readDropDownEntries(shipped), expected);
    QCOMPARE(FormMailers::readManagerEntries(shipped), expected);
}

void TestFormMailers::readings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("dropDown");
    QTest::addColumn<QStringList>("manager");

    QTest::newRow("own format") << QByteArray("<xml>\n  <formmailers>\n    <formmail>http://a/quiz.php</formmail>\n"
                                              "    <formmail>http://b/quiz.php?x=1&amp;y=2</formmail>\n  </formmailers>\n</xml>\n")
                                << QStringList{"http://a/quiz.php", "http://b/quiz.php?x=1&y=2"}
                                << QStringList{"http://a/quiz.php", "http://b/quiz.php?x=1&y=2"};
    QTest::newRow("foreign first child") << QByteArray("<xml><links><link>http://a</link><link>http://b</link></links></xml>")
                                         << QStringList{"http://a", "http://b"} << QStringList{};
    QTest::newRow("foreign first child, formmailers second")
        << QByteArray("<xml><links><link>http://a</link></links><formmailers><formmail>http://b</formmail></formmailers></xml>")
        << QStringList{"http://a"} << QStringList{"http://b"};
    QTest::newRow("two formmailers: the first")
        << QByteArray("<xml><formmailers><f>1</f></formmailers><formmailers><f>2</f></formmailers></xml>") << QStringList{"1"}
        << QStringList{"1"};
    QTest::newRow("entries of any name, empty and repeated")
        << QByteArray("<liste><formmailers><adresse>http://a</adresse><formmail/><formmail>http://a</formmail></formmailers></liste>")
        << QStringList{"http://a", "", "http://a"} << QStringList{"http://a", "", "http://a"};
    QTest::newRow("blanks and umlauts kept") << QByteArray(
                                                    "<xml><formmailers><formmail>  </formmail><formmail>http://bücher.de/q</formmail>"
                                                    "</formmailers></xml>")
                                             << QStringList{"  ", QString::fromUtf8("http://bücher.de/q")}
                                             << QStringList{"  ", QString::fromUtf8("http://bücher.de/q")};
    QTest::newRow("stops at an entry holding elements")
        << QByteArray("<xml><formmailers><formmail>1</formmail><formmail><b>2</b></formmail><formmail>3</formmail></formmailers></xml>")
        << QStringList{"1"} << QStringList{"1"};
    QTest::newRow("no entries") << QByteArray("<xml><formmailers/></xml>") << QStringList{} << QStringList{};
    QTest::newRow("root without children") << QByteArray("<xml/>") << QStringList{} << QStringList{};
    QTest::newRow("not XML") << QByteArray("http://a/quiz.php") << QStringList{} << QStringList{};
    QTest::newRow("broken XML") << QByteArray("<xml><formmailers><formmail>http://a</formmail>") << QStringList{} << QStringList{};
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF<xml><formmailers><formmail>http://a</formmail></formmailers></xml>")
                                     << QStringList{"http://a"} << QStringList{"http://a"};

    // Hostile lists give no entries instead of crashing every start.
    const QByteArray deep = "<xml><formmailers>" + QByteArray("<formmail>").repeated(300000) +
                            QByteArray("</formmail>").repeated(300000) + "</formmailers></xml>";
    QTest::newRow("nested 300000 deep") << deep << QStringList{} << QStringList{};
    QTest::newRow("entity declarations") << QByteArray("<!DOCTYPE xml [<!ENTITY a \"aaaaaaaaaa\">]><xml><formmailers><formmail>&a;&a;"
                                                       "</formmail></formmailers></xml>")
                                         << QStringList{} << QStringList{};
    QTest::newRow("larger than the limit") << QByteArray("<xml><formmailers><formmail>") + QByteArray(33 * 1024 * 1024, 'a') +
                                                  "</formmail></formmailers></xml>"
                                           << QStringList{} << QStringList{};
}

void TestFormMailers::readings()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, dropDown);
    QFETCH(QStringList, manager);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formmailers.xml"));
    QVERIFY(TestFiles::writeFile(path, file));
    QCOMPARE(FormMailers::readDropDownEntries(path), dropDown);
    QCOMPARE(FormMailers::readManagerEntries(path), manager);
}

void TestFormMailers::missingFileGivesEmptyLists()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formmailers.xml"));
    QCOMPARE(FormMailers::readDropDownEntries(path), QStringList());
    QCOMPARE(FormMailers::readManagerEntries(path), QStringList());
}

void TestFormMailers::saveWritesTheFileFormat()
{
    const QStringList entries = {"http://localhost:8080/quiz/v13/quiz.php", "", "http://a/quiz.php?x=1&y=<2>",
                                 QString::fromUtf8("http://bücher.de/quiz.php")};
    const QByteArray expected = "<xml>\n"
                                "  <formmailers>\n"
                                "    <formmail>http://localhost:8080/quiz/v13/quiz.php</formmail>\n"
                                "    <formmail/>\n"
                                "    <formmail>http://a/quiz.php?x=1&amp;y=&lt;2&gt;</formmail>\n"
                                "    <formmail>http://bücher.de/quiz.php</formmail>\n"
                                "  </formmailers>\n"
                                "</xml>\n";
    QCOMPARE(FormMailers::toBytes(entries), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formmailers.xml"));
    QVERIFY(TestFiles::writeFile(path, "alt"));
    QString error;
    QVERIFY(FormMailers::save(path, entries, &error));
    QCOMPARE(TestFiles::readFile(path), expected);

    // A list without entries is an empty element.
    QCOMPARE(FormMailers::toBytes({}), QByteArray("<xml>\n  <formmailers/>\n</xml>\n"));
}

void TestFormMailers::saveRoundTrip_data()
{
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("none") << QStringList();
    QTest::newRow("one") << QStringList{"http://a/quiz.php"};
    QTest::newRow("empty, blank and repeated") << QStringList{"", "  ", "http://a", "http://a"};
    QTest::newRow("lone CR") << QStringList{"http://a\r", "\rb\r\r"};
}

void TestFormMailers::saveRoundTrip()
{
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formmailers.xml"));
    QString error;
    QVERIFY(FormMailers::save(path, entries, &error));
    QCOMPARE(FormMailers::readManagerEntries(path), entries);
    QCOMPARE(FormMailers::readDropDownEntries(path), entries);
}

void TestFormMailers::saveIntoMissingFolderFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt/formmailers.xml"));
    QString error;
    QVERIFY(!FormMailers::save(path, {QStringLiteral("http://a")}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestFormMailers)
#include "tst_formmailers.moc"
