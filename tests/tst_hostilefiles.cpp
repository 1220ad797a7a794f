// Damaged and hostile input: files beyond the reader's limits, entity
// declarations, unresolved entities, read errors, a page that chained
// placeholders would multiply, memory that runs out, and a disk whose sync
// fails. Each must end in an error, never in a crash, a stall or a save that
// did not happen.

#include "generatedpage.h"
#include "formmailers.h"
#include "pagegenerator.h"
#include "projectfile.h"
#include "questionlist.h"
#include "quiz.h"
#include "savefile.h"
#include "testfiles.h"
#include "xmlelement.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#ifdef Q_OS_LINUX
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// A small valid project, with text for the title.
QByteArray project(const QByteArray &title, const QByteArray &prolog = QByteArray(), const QByteArray &items = QByteArray())
{
    QByteArray flags;
    for (const char *key : {"chkShowAdress", "chkName", "chkVorname", "chkStrasse", "chkPLZ", "chkOrt", "chkLand", "chkEmail", "chkForName",
                            "chkForVorname", "chkForStr", "chkForPlz", "chkForOrt", "chkForLand", "chkForEmail", "rdBegin", "rdEnd",
                            "chkShowAuswertung"})
        flags += QByteArray("<") + key + ">0</" + key + ">";
    return prolog + "<xml><FileInfo><Prog>Pruvex</Prog></FileInfo><FileContent><edtFormTitel>" + title + "</edtFormTitel>" + flags +
           "<ItemList>" + items + "</ItemList></FileContent></xml>";
}

// The file in UTF-16 with its byte-order mark.
QByteArray utf16(const QByteArray &utf8)
{
    const QString text = QString::fromUtf8(utf8);
    return QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QByteArray nested(int depth)
{
    return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
}

int failingSync(int)
{
    errno = EIO;
    return -1;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void refusedProjects_data();
    void refusedProjects();
    void acceptedProjects_data();
    void acceptedProjects();
    void deepTreeIsFreed();
    void unreadableFiles_data();
    void unreadableFiles();
    void chainedPlaceholdersAreStopped();
    void failedSyncKeepsTheOldFile_data();
    void failedSyncKeepsTheOldFile();
    void outOfMemoryIsAnError_data();
    void outOfMemoryIsAnError();
};

void TestHostileFiles::refusedProjects_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason"); // a part of the reason given

    QTest::newRow("nested 300000 deep") << project("x", QByteArray(), nested(300000)) << QStringLiteral("tiefer als 256 Ebenen");
    // xml, FileContent and ItemList make three levels.
    QTest::newRow("one past the depth limit") << project("x", QByteArray(), nested(256 - 2)) << QStringLiteral("tiefer als 256 Ebenen");

    QByteArray laughs = "<!DOCTYPE xml [<!ENTITY l0 \"ha\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" + ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    laughs += "]>";
    const QString entities = QStringLiteral("deklariert Entitäten");
    QTest::newRow("billion laughs") << project("&l9;", laughs) << entities;
    QTest::newRow("one entity many times")
        << project(QByteArray("&e;").repeated(100000), "<!DOCTYPE xml [<!ENTITY e \"abcdefghijklmnopqrstuvwxyz\">]>") << entities;
    QTest::newRow("parameter entities repeated")
        << project("x", "<!DOCTYPE xml [<!ENTITY % p \"<!ENTITY q 'x'>\">" + QByteArray("%p;").repeated(1000) + "]>") << entities;
    QTest::newRow("external entity") << project("&f;", "<!DOCTYPE xml [<!ENTITY f SYSTEM \"file:///etc/passwd\">]>") << entities;
    // Hidden from a search of the bytes by the encoding.
    QTest::newRow("entities in UTF-16") << utf16(project("&e;", "<!DOCTYPE xml [<!ENTITY e \"x\">]>")) << entities;
    QTest::newRow("entities behind a UTF-8 mark that declares UTF-16")
        << "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + project("&e;", "<!DOCTYPE xml [<!ENTITY e \"x\">]>") << entities;
    // Refused for the entities even where a byte that is not allowed, or a
    // comment, comes first.
    QTest::newRow("entities after a control character")
        << project("x\x01y") + "<!DOCTYPE xml [<!ENTITY e \"x\">]>" << entities;
    QTest::newRow("entities after invalid UTF-8") << project("x\xff") + "<!DOCTYPE xml [<!ENTITY e \"x\">]>" << entities;
    QTest::newRow("document type named in a comment")
        << project("x", "<!-- <!DOCTYPE --><!-- <!ENTITY -->") << entities;
    QTest::newRow("unresolved entity") << project("Quiz &extern;", "<!DOCTYPE xml SYSTEM \"pruvex.dtd\">")
                                       << QStringLiteral("Entität \"extern\"");
    QTest::newRow("larger than 32 MB") << project(QByteArray(33 * 1024 * 1024, 'a')) << QStringLiteral("größer als 32 MB");
}

void TestHostileFiles::refusedProjects()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);

    Quiz quiz;
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("vorher"));
    QString why;
    QVERIFY(!ProjectFile::fromBytes(quiz, data, &why));
    QVERIFY2(why.contains(reason), qPrintable(why));
    QCOMPARE(quiz.text(SettingKey::edtFormTitel), QStringLiteral("vorher"));

    // The address list reader refuses the same file without a word.
    QCOMPARE(FormMailers::dropDownEntries(data), QStringList());
}

// What the reader must still take: other encodings, a document type
// declaration without entities, nesting up to the limit.
void TestHostileFiles::acceptedProjects_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("title");

    const QString umlauts = QString::fromUtf8("Grüße");
    QTest::newRow("ISO-8859-1 declared") << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + project("Gr\xfc\xdf" "e") << umlauts;
    QTest::newRow("UTF-16 with byte-order mark") << utf16(project(umlauts.toUtf8())) << umlauts;
    QTest::newRow("UTF-8 declared, with byte-order mark") << "\xef\xbb\xbf<?xml version='1.0' encoding = 'utf-8'?>" + project("a") << "a";
    QTest::newRow("document type without entities") << project("a &amp; &#13;", "<!DOCTYPE xml>") << "a & \r";
    // xml and FileContent make two levels; the nesting stands in an element
    // the reader does not look at.
    QTest::newRow("nested up to the limit") << project("a").replace("<ItemList>", nested(256 - 2) + "<ItemList>") << "a";
}

void TestHostileFiles::acceptedProjects()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, title);
    Quiz quiz;
    QString why;
    QVERIFY2(ProjectFile::fromBytes(quiz, data, &why), qPrintable(why));
    QCOMPARE(quiz.text(SettingKey::edtFormTitel), title);
}

// A tree deeper than any stack, as a program could build it: freeing it
// must not recurse.
void TestHostileFiles::deepTreeIsFreed()
{
    auto root = std::make_unique<XmlElement>();
    XmlElement *e = root.get();
    for (int i = 0; i < 1000000; ++i) {
        e->children.emplace_back();
        e = &e->children.back();
        e->name = QStringLiteral("a");
    }
    root.reset();
    QVERIFY(!root);
}

void TestHostileFiles::unreadableFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
#ifdef Q_OS_LINUX
    QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("größer als 32 MB");
    // Opens, then fails with EIO at the first read.
    QTest::newRow("read error after opening") << QStringLiteral("/proc/self/mem")
                                              << QStringLiteral("Die Datei kann nicht gelesen werden: ");
#endif
    QTest::newRow("no such file") << QStringLiteral("/nonexistent/quiz.pvx") << QString();
}

void TestHostileFiles::unreadableFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    Quiz quiz;
    QString why;
    QVERIFY(!loadProjectFile(quiz, path, &why));
    QVERIFY2(why.contains(reason) && !why.isEmpty(), qPrintable(why));
    QCOMPARE(FormMailers::readDropDownEntries(path), QStringList());
}

// Settings that go into the page as they stand (colours, fonts, sizes) and
// each hold many copies of the next step's placeholder would make a page of
// 12^7 copies: the generation stops with a message, and stops soon (a
// stalled generation would reach the test's time-out).
void TestHostileFiles::chainedPlaceholdersAreStopped()
{
    const struct {
        SettingKey key;
        const char *next;
    } chain[] = {
        {SettingKey::edtHGColor, "TABLECOLOR"},       {SettingKey::edtTabColor, "TEXTCOLOR"},
        {SettingKey::edtTextColor, "HEADINGCOLOR"},   {SettingKey::edtHeaderColor, "HEADINGFONT"},
        {SettingKey::cboFontHeader, "HEADINGFONTSIZE"}, {SettingKey::edtSizeHeader, "NORMALFONT"},
        {SettingKey::cboFontForm, "NORMALFONTSIZE"},
    };
    Quiz quiz;
    for (const auto &link : chain)
        quiz.setText(link.key, QStringLiteral("<!-- %1 -->").arg(QLatin1String(link.next)).repeated(12));
    QTemporaryDir dir;
    const QString templ = dir.filePath(QStringLiteral("template.htm"));
    QVERIFY(TestFiles::writeFile(templ, "<p><!-- BGCOLOR --></p>\n"));

    PageGenerator generator(quiz);
    generator.setTemplatePath(templ);
    QString page = QStringLiteral("vorige Seite");
    QString error;
    QVERIFY(!generator.generate(&page, &error));
    QCOMPARE(generator.failure(), PageGenerator::Failure::TooLarge);
    QCOMPARE(page, QStringLiteral("vorige Seite"));
    QVERIFY2(error.startsWith(QStringLiteral("Die Seite würde länger als 32 Millionen Zeichen")), qPrintable(error));

    // Two copies each stay below the limit: the page is built, with every copy.
    for (const auto &link : chain)
        quiz.setText(link.key, QStringLiteral("<!-- %1 -->").arg(QLatin1String(link.next)).repeated(2));
    quiz.setText(SettingKey::edtSizeForm, QStringLiteral("x"));
    QVERIFY2(generator.generate(&page, &error), qPrintable(error));
    QCOMPARE(page, QStringLiteral("<p>") + QString(1 << 7, QLatin1Char('x')) + QStringLiteral("</p>\r\n"));
}

void TestHostileFiles::failedSyncKeepsTheOldFile_data()
{
    using Writer = std::function<bool(const QString &, QString *)>;
    QTest::addColumn<Writer>("write");
    QTest::newRow("project") << Writer([](const QString &path, QString *error) { return saveProjectFile(Quiz(), path, error); });
    QTest::newRow("page") << Writer([](const QString &path, QString *error) {
        GeneratedPage page;
        page.text = QStringLiteral("<html></html>\r\n");
        page.bytes = page.text.toUtf8();
        return exportPage(page, path, error);
    });
    QTest::newRow("address list") << Writer([](const QString &path, QString *error) {
        return FormMailers::save(path, {QStringLiteral("http://neu/quiz.php")}, error);
    });
}

// The data did not reach the disk: the old file stays, the error says why.
void TestHostileFiles::failedSyncKeepsTheOldFile()
{
    using Writer = std::function<bool(const QString &, QString *)>;
    QFETCH(Writer, write);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("datei"));
    const QByteArray old = "alter Inhalt\n";
    QVERIFY(TestFiles::writeFile(path, old));

    SaveFile::setSyncFunction(failingSync);
    QString error;
    const bool written = write(path, &error);
    SaveFile::setSyncFunction(nullptr);

    QVERIFY(!written);
    QVERIFY2(error.contains(QString::fromLocal8Bit(std::strerror(EIO))), qPrintable(error));
    QCOMPARE(TestFiles::readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"datei"});

    // With a working sync the same write goes through.
    QVERIFY2(write(path, &error), qPrintable(error));
    QVERIFY(TestFiles::readFile(path) != old);
}

void TestHostileFiles::outOfMemoryIsAnError_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("generate") << QStringLiteral("generate");
    QTest::newRow("load") << QStringLiteral("load");
    QTest::newRow("save") << QStringLiteral("save");
}

namespace {

// One step under a tight limit of the address space. It runs in a process of
// its own: memory that earlier cases freed stays mapped in the test's
// process and would give the step room. 0 when the step ended with the
// message and changed nothing.
int outOfMemoryStep(const QString &step)
{
#ifdef Q_OS_LINUX
    auto broken = [](const char *what, const QString &detail = QString()) {
        std::fprintf(stderr, "%s %s\n", what, qPrintable(detail));
        return 1;
    };
    const QString big(15 * 1024 * 1024, QLatin1Char('a')); // 30 MB in memory, 60 MB in the page
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gross.pvx"));
    const QByteArray data = project(big.toLatin1());
    const QString templ = dir.filePath(QStringLiteral("template.htm"));
    if (!TestFiles::writeFile(templ, "<!-- TITLE --><!-- FORMTITLE -->\n"))
        return broken("no template");
    Quiz quiz;
    quiz.setText(SettingKey::edtFormTitel, step == QLatin1String("load") ? QStringLiteral("vorher") : big);
    PageGenerator generator(quiz);
    generator.setTemplatePath(templ);
    QString page;

    // Room for a few megabytes more than the process holds now.
    malloc_trim(0);
    long pages = 0;
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            return broken("no statm");
        pages = statm.readAll().split(' ').first().toLong();
    }
    struct rlimit saved;
    if (getrlimit(RLIMIT_AS, &saved) != 0)
        return broken("no limit");
    struct rlimit tight = saved;
    tight.rlim_cur = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + 4 * 1024 * 1024;
    if (setrlimit(RLIMIT_AS, &tight) != 0)
        return broken("limit not set");
    bool ok = true;
    QString error;
    if (step == QLatin1String("load"))
        ok = ProjectFile::fromBytes(quiz, data, &error);
    else if (step == QLatin1String("save"))
        ok = saveProjectFile(quiz, path, &error);
    else
        ok = generator.generate(&page, &error);
    setrlimit(RLIMIT_AS, &saved);

    if (ok)
        return broken("the step succeeded");
    if (!error.startsWith(QStringLiteral("Der Arbeitsspeicher reicht nicht aus")))
        return broken("wrong message:", error);
    if (step == QLatin1String("load") && quiz.text(SettingKey::edtFormTitel) != QStringLiteral("vorher"))
        return broken("the quiz changed");
    if (step == QLatin1String("save") && QFile::exists(path))
        return broken("a file was written");
    if (step == QLatin1String("generate") && generator.failure() != PageGenerator::Failure::OutOfMemory)
        return broken("wrong failure");
    return 0;
#else
    Q_UNUSED(step);
    return 0;
#endif
}

} // namespace

// An allocation that fails (here: under a limit of the address space) ends
// the step with a message; it does not abort the program.
void TestHostileFiles::outOfMemoryIsAnError()
{
#ifdef Q_OS_LINUX
    QFETCH(QString, step);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--out-of-memory-step"), step});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAllStandardError() + child.readAllStandardOutput();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
#else
    QSKIP("needs a limit of the address space");
#endif
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--out-of-memory-step") == 0)
        return outOfMemoryStep(QString::fromLatin1(argv[2]));
    QCoreApplication app(argc, argv);
    TestHostileFiles test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostilefiles.moc"
