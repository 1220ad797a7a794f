// pruvex-server: the quiz script for pages made with Pruvex. It evaluates a
// sent quiz, shows the result, serves the captcha and keeps every
// submission; "results" writes the kept submissions as CSV or JSON.

#include "databasesettings.h"
#include "mailqueue.h"
#include "quizserver.h"
#include "resultsexport.h"
#include "serverconfig.h"
#include "store.h"
#include "submission.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QSettings>

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

namespace {

enum ExitCode { Ok = 0, Failure = 1, UsageError = 2 };

const char *const kUsage =
    "Aufruf:\n"
    "  pruvex-server [--config DATEI] [--listen HOST:PORT] [--base /PFAD/] [--data ORDNER]\n"
    "      Wertet Quiz-Seiten aus, bis SIGINT oder SIGTERM kommt. Die erste Zeile der\n"
    "      Ausgabe ist die Adresse von quiz.php (--listen 127.0.0.1:0 wählt einen freien Port).\n"
    "  pruvex-server results [--config DATEI] [--data ORDNER] [--form N] [--format csv|json]\n"
    "      Schreibt die gespeicherten Ergebnisse auf die Standardausgabe (Vorgabe: csv).\n";

int usage(const char *message = nullptr)
{
    if (message)
        std::fprintf(stderr, "pruvex-server: %s\n", message);
    std::fputs(kUsage, stderr);
    return UsageError;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "pruvex-server: %s\n", qPrintable(message));
    return Failure;
}

struct Arguments
{
    bool results = false;
    QString config, listen, base, data, form, format = QStringLiteral("csv");
};

// Parses argv exactly as documented; an unknown or incomplete option is a
// usage error.
bool parse(const QStringList &args, Arguments *a, QString *error)
{
    int i = 1;
    if (i < args.size() && args[i] == QLatin1String("results")) {
        a->results = true;
        ++i;
    }
    for (; i < args.size(); ++i) {
        const QString opt = args[i];
        QString *target = nullptr;
        if (opt == QLatin1String("--config"))
            target = &a->config;
        else if (opt == QLatin1String("--data"))
            target = &a->data;
        else if (!a->results && opt == QLatin1String("--listen"))
            target = &a->listen;
        else if (!a->results && opt == QLatin1String("--base"))
            target = &a->base;
        else if (a->results && opt == QLatin1String("--form"))
            target = &a->form;
        else if (a->results && opt == QLatin1String("--format"))
            target = &a->format;
        if (!target) {
            *error = QStringLiteral("unbekannte Angabe %1").arg(opt);
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 braucht einen Wert").arg(opt);
            return false;
        }
        *target = args[++i];
    }
    if (a->format != QLatin1String("csv") && a->format != QLatin1String("json")) {
        *error = QStringLiteral("--format ist csv oder json, nicht %1").arg(a->format);
        return false;
    }
    return true;
}

Store::Options storeOptions(const ServerConfig &config)
{
    Store::Options o;
    o.driver = config.qtDriver();
    const bool sqlite = o.driver == QLatin1String("QSQLITE");
    QString name = !config.databaseName.isEmpty() ? config.databaseName
                   : sqlite                       ? QStringLiteral("pruvex-server.sqlite")
                                                  : QStringLiteral("pruvex");
    o.databaseName = o.driver == QLatin1String("QSQLITE") ? QDir(config.dataFolder()).absoluteFilePath(name) : name;
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    // SIGINT and SIGTERM go to one thread that stops the server; every other
    // thread, started later, inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    Arguments a;
    QString error;
    if (!parse(args, &a, &error))
        return usage(qPrintable(error));

    // The captcha picture is drawn offscreen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (a.results)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QGuiApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pruvex"));

    ServerConfig config;
    if (!a.config.isEmpty() && !ServerConfig::read(a.config, &config, &error))
        return fail(error);
    if (!a.listen.isEmpty() && !config.setListen(a.listen))
        return usage("--listen braucht HOST:PORT");
    if (!a.base.isEmpty())
        config.basePath = ServerConfig::normaliseBasePath(a.base);
    if (!a.data.isEmpty())
        config.dataDir = QDir::current().absoluteFilePath(a.data);
    if (config.qtDriver() == QLatin1String("QSQLITE") && !QDir().mkpath(config.dataFolder()))
        return fail(QStringLiteral("Der Datenordner %1 lässt sich nicht anlegen.").arg(config.dataFolder()));

    // [mail] and the PostgreSQL connection of [database].
    Store::Options options = storeOptions(config);
    MailSettings mail;
    if (!a.config.isEmpty()) {
        QSettings ini(a.config, QSettings::IniFormat);
        if (!DatabaseSettings::read(ini, config.configDir, &options, &error))
            return fail(error);
        mail = MailSettings::read(ini, config.configDir, &error);
        if (!error.isEmpty())
            return fail(QStringLiteral("Konfiguration: ") + error);
    }
    Store store(options);
    if (!store.open(&error))
        return fail(error);

    if (a.results) {
        const QList<Store::Row> rows = store.submissions(a.form.trimmed(), &error);
        if (!error.isEmpty())
            return fail(error);
        const QByteArray out = a.format == QLatin1String("json") ? ResultsExport::json(rows) : ResultsExport::csv(rows);
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return std::fflush(stdout) == 0 ? Ok : Failure;
    }

    QuizServer server(config, store);
    // The submission is stored first; its mail goes out from the queue's
    // thread, so a slow mail server never holds up the result page.
    MailQueue mailQueue(store, mail);
    server.setMailState(MailQueue::describe(mail));
    server.setStoredHandler([&mailQueue](qint64 id, const Submission &s) { mailQueue.submit(id, s.formId, s.recipients); });
    if (server.bind(&error) < 0)
        return fail(error);
    mailQueue.start();
    std::printf("%s\n", qPrintable(server.quizAddress()));
    std::fflush(stdout);
    std::fprintf(stderr, "pruvex-server %s: Daten in %s; Ende mit Strg+C.\n", qPrintable(QuizServer::version()),
                 qPrintable(store.schemaVersion() ? config.dataFolder() : QString()));

    std::thread waiter([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    server.run();
    // run() also ends when the listening socket fails; wake the waiter then.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    mailQueue.stop();
    return Ok;
}
