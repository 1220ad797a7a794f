// pruvex-cli: the quiz document and the page generator for scripts and batch
// work. It loads and generates exactly as the editor does, so a page it
// exports is the page the editor's "HTML Export" writes.

#include "formmailers.h"
#include "version.h"
#include "generatedpage.h"
#include "jsonio.h"
#include "paths.h"
#include "projectfile.h"
#include "qttranslations.h"
#include "quiz.h"
#include "xmlelement.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstdio>
#include <new>

namespace {

enum ExitCode { Ok = 0, Failure = 1, UsageError = 2 };

const char *const kUsage = "Aufruf: pruvex-cli BEFEHL ...\n"
                           "\n"
                           "Befehle:\n"
                           "  export PROJEKT [-o SEITE] [--template DATEI] [--form-id N]\n"
                           "      Schreibt die Quiz-Seite des Projekts, wie \"HTML Export\" sie schreibt.\n"
                           "      -o SEITE          Zieldatei (Vorgabe: PROJEKT mit der Endung .htm)\n"
                           "      --template DATEI  Seitenvorlage statt template.htm im Programmordner\n"
                           "      --form-id N       Formular-ID N statt einer Zufallszahl, für\n"
                           "                        reproduzierbare Seiten\n"
                           "  show PROJEKT\n"
                           "      Gibt das Projekt als JSON-Objekt auf der Standardausgabe aus.\n"
                           "  build JSON -o PROJEKT\n"
                           "      Schreibt eine Projektdatei aus JSON in der Form, die show ausgibt\n"
                           "      (\"-\" liest die Standardeingabe). Nicht genannte Einstellungen behalten\n"
                           "      die Werte eines neuen Quiz; \"questions\" ersetzt die Fragenliste.\n"
                           "\n"
                           "Optionen:\n"
                           "  -h, --help     Diese Hilfe anzeigen\n"
                           "  -v, --version  Version anzeigen\n"
                           "\n"
                           "Rückgabewert: 0 bei Erfolg, 1 bei einem Fehler, 2 bei falschem Aufruf.\n";

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeErr(const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int usageError(const QString &text)
{
    writeErr(QStringLiteral("pruvex-cli: ") + text);
    writeErr(QStringLiteral("Hilfe: pruvex-cli --help"));
    return UsageError;
}

// Loads a project as the editor does at a start with that file.
bool loadProject(Quiz &quiz, const QString &path)
{
    QString reason;
    if (openProject(quiz, path, &reason))
        return true;
    writeErr(ProjectFile::notAProjectMessage());
    writeErr(reason.isEmpty() ? path : path + QStringLiteral(" (") + reason + QLatin1Char(')'));
    return false;
}

int runExport(const QString &project, const QCommandLineParser &parser)
{
    QString page = parser.isSet(QStringLiteral("o")) ? parser.value(QStringLiteral("o")) : QString();
    if (page.isEmpty()) {
        const QFileInfo fi(project);
        page = fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".htm");
    }
    int formId = -1;
    if (parser.isSet(QStringLiteral("form-id"))) {
        bool ok = false;
        const QString n = parser.value(QStringLiteral("form-id"));
        formId = n.toInt(&ok);
        if (!ok || formId < 0 || n.startsWith(QLatin1Char('+')))
            return usageError(QStringLiteral("--form-id erwartet eine ganze Zahl ab 0, nicht \"%1\".").arg(n));
    }
    // A project named *.htm must not be replaced by its own page.
    if (QFileInfo(page).absoluteFilePath() == QFileInfo(project).absoluteFilePath()) {
        writeErr(QStringLiteral("Die Seite würde die Projektdatei überschreiben: ") + project);
        return Failure;
    }

    Quiz quiz;
    if (!loadProject(quiz, project))
        return Failure;

    PageOptions options;
    if (parser.isSet(QStringLiteral("template")))
        options.templatePath = parser.value(QStringLiteral("template"));
    if (formId >= 0)
        options.formIdSource = [formId] { return formId; };
    GeneratedPage html;
    QString error;
    PageGenerator::Failure failure = PageGenerator::Failure::None;
    if (!generatePage(quiz, &html, &error, options, &failure)) {
        if (failure == PageGenerator::Failure::Template)
            error = QStringLiteral("Die Seitenvorlage kann nicht gelesen werden: ") + error;
        writeErr(error);
        return Failure;
    }
    if (!exportPage(html, page, &error)) {
        writeErr(QStringLiteral("Die Seite kann nicht geschrieben werden: ") + page + QStringLiteral(": ") + error);
        return Failure;
    }
    return Ok;
}

int runShow(const QString &project)
{
    Quiz quiz;
    if (!loadProject(quiz, project))
        return Failure;
    writeOut(formatJson(quizToJson(quiz)));
    return Ok;
}

// Reads the JSON, at most as much as a project file may hold.
bool readJson(QFile &in, const QString &jsonPath, QByteArray *data)
{
    switch (readAtMost(in, XmlLimits::kMaxFileBytes, data)) {
    case ReadResult::Ok:
        return true;
    case ReadResult::TooLarge:
        writeErr(QStringLiteral("%1: Die JSON-Daten sind größer als %2 MB.").arg(jsonPath).arg(XmlLimits::kMaxFileBytes / (1024 * 1024)));
        return false;
    case ReadResult::Failed:
        break;
    }
    writeErr(QStringLiteral("Die Datei kann nicht gelesen werden: ") + jsonPath + QStringLiteral(": ") + in.errorString());
    return false;
}

int runBuild(const QString &jsonPath, const QString &project)
{
    QByteArray data;
    if (jsonPath == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            writeErr(QStringLiteral("Die Standardeingabe kann nicht gelesen werden: ") + in.errorString());
            return Failure;
        }
        if (!readJson(in, jsonPath, &data))
            return Failure;
    } else {
        QFile in(jsonPath);
        if (!in.open(QIODevice::ReadOnly)) {
            writeErr(QStringLiteral("Die Datei kann nicht gelesen werden: ") + jsonPath + QStringLiteral(": ") + in.errorString());
            return Failure;
        }
        if (!readJson(in, jsonPath, &data))
            return Failure;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    if (doc.isNull()) {
        writeErr(
            QStringLiteral("%1: kein gültiges JSON (Zeichen %2: %3)").arg(jsonPath).arg(parseError.offset).arg(parseError.errorString()));
        return Failure;
    }
    if (!doc.isObject()) {
        writeErr(jsonPath + QStringLiteral(": ein JSON-Objekt wird erwartet"));
        return Failure;
    }

    // A new quiz, as New makes it: the initial values, then the default project.
    Quiz quiz;
    QString reason;
    if (!newQuiz(quiz, &reason)) {
        writeErr(QStringLiteral("Warnung: ") + ProjectFile::notAProjectMessage());
        writeErr(Paths::programFile(QStringLiteral("default.pvx")));
    }

    QString error;
    if (!applyJson(quiz, doc.object(), &error)) {
        writeErr(jsonPath + QStringLiteral(":\n") + error);
        return Failure;
    }
    if (!saveProjectFile(quiz, project, &error)) {
        writeErr(QStringLiteral("Die Projektdatei kann nicht geschrieben werden: ") + project + QStringLiteral(": ") + error);
        return Failure;
    }
    return Ok;
}

} // namespace

int run(int argc, char *argv[]);

int main(int argc, char *argv[])
{
    // A load, a generation and a save catch this themselves; this is for
    // what remains (the JSON of show and build), so that the tool reports
    // and fails instead of aborting.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc &) {
        writeErr(QStringLiteral("Der Arbeitsspeicher reicht nicht aus."));
        return Failure;
    }
}

int run(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QtTranslations::installGerman({QStringLiteral("qtbase")});
    QCoreApplication::setApplicationName(QStringLiteral("pruvex-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRUVEX_VERSION));

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Diese Hilfe anzeigen"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Version anzeigen"));
    const QCommandLineOption output(QStringLiteral("o"), QStringLiteral("Zieldatei"), QStringLiteral("DATEI"));
    const QCommandLineOption templ(QStringLiteral("template"), QStringLiteral("Seitenvorlage"), QStringLiteral("DATEI"));
    const QCommandLineOption formId(QStringLiteral("form-id"), QStringLiteral("Formular-ID"), QStringLiteral("N"));
    parser.addOptions({help, version, output, templ, formId});

    if (!parser.parse(QCoreApplication::arguments())) {
        if (!parser.unknownOptionNames().isEmpty())
            return usageError(QStringLiteral("Unbekannte Option: ") + parser.unknownOptionNames().first());
        return usageError(QStringLiteral("Fehler in der Befehlszeile: ") + parser.errorText());
    }
    if (parser.isSet(help)) {
        writeOut(kUsage);
        return Ok;
    }
    if (parser.isSet(version)) {
        writeOut("pruvex-cli " PRUVEX_VERSION "\n");
        return Ok;
    }

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(QStringLiteral("Kein Befehl angegeben."));
    const QString command = args.first();

    // Options that a command does not take are a usage error, not ignored.
    auto onlyOptions = [&parser](const QStringList &allowed) -> QString {
        for (const QString &name : parser.optionNames())
            if (!allowed.contains(name))
                return name;
        return QString();
    };
    auto optionText = [](const QString &name) { return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name; };

    if (command == QLatin1String("export")) {
        if (args.size() != 2)
            return usageError(QStringLiteral("export erwartet genau eine Projektdatei."));
        const QString bad = onlyOptions({QStringLiteral("o"), QStringLiteral("template"), QStringLiteral("form-id")});
        if (!bad.isEmpty())
            return usageError(QStringLiteral("export kennt die Option %1 nicht.").arg(optionText(bad)));
        return runExport(args.at(1), parser);
    }
    if (command == QLatin1String("show")) {
        if (args.size() != 2)
            return usageError(QStringLiteral("show erwartet genau eine Projektdatei."));
        const QString bad = onlyOptions({});
        if (!bad.isEmpty())
            return usageError(QStringLiteral("show kennt die Option %1 nicht.").arg(optionText(bad)));
        return runShow(args.at(1));
    }
    if (command == QLatin1String("build")) {
        if (args.size() != 2)
            return usageError(QStringLiteral("build erwartet genau eine JSON-Datei."));
        const QString bad = onlyOptions({QStringLiteral("o")});
        if (!bad.isEmpty())
            return usageError(QStringLiteral("build kennt die Option %1 nicht.").arg(optionText(bad)));
        if (!parser.isSet(output) || parser.value(output).isEmpty())
            return usageError(QStringLiteral("build braucht -o PROJEKT."));
        return runBuild(args.at(1), parser.value(output));
    }
    return usageError(QStringLiteral("Unbekannter Befehl: ") + command);
}
