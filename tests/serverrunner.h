#pragma once

// A quiz server for tests: on 127.0.0.1 at a free port, with its own data
// folder and a clock the test moves, running on a thread of its own. With
// PRUVEX_TEST_POSTGRES set (CTest's run on the test PostgreSQL, see
// tests/mail/CMakeLists.txt) its store is a fresh PostgreSQL database.

#include "quizserver.h"
#include "serverconfig.h"
#include "store.h"
#include "mail/postgres.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <httplib.h>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class RunningServer
{
public:
    explicit RunningServer(const std::function<void(ServerConfig &)> &configure = {})
    {
        config.host = QStringLiteral("127.0.0.1");
        config.port = 0;
        config.dataDir = dir.path();
        if (configure)
            configure(config);
        Store::Options o;
        o.databaseName = dbFile();
        QString error;
        const QString postgres = qEnvironmentVariable("PRUVEX_TEST_POSTGRES");
        if (!postgres.isEmpty()) {
            const TestPostgres pg = TestPostgres::find(postgres);
            if (pg.port == 0)
                qFatal("PostgreSQL: %s", qPrintable(pg.absent));
            o.driver = QStringLiteral("QPSQL");
            o.host = QStringLiteral("127.0.0.1");
            o.port = pg.port;
            o.user = QStringLiteral("pruvex");
            o.password = testPostgresPassword(pg);
            o.databaseName = createTestDatabase(pg, &error);
            if (!error.isEmpty())
                qFatal("PostgreSQL: %s", qPrintable(error));
            config.databaseDriver = QStringLiteral("postgresql");
        }
        store = std::make_unique<Store>(o);
        if (!store->open(&error))
            qFatal("store: %s", qPrintable(error));
        server = std::make_unique<QuizServer>(config, *store);
        server->setClock([this] { return now.load(); });
        port = server->bind(&error);
        thread = std::thread([this] { server->run(); });
    }
    ~RunningServer()
    {
        server->stop();
        thread.join();
    }

    QString dbFile() const { return dir.filePath(QStringLiteral("pruvex-server.sqlite")); }
    httplib::Client client() const
    {
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(10, 0);
        return c;
    }
    int stored()
    {
        QString error;
        return int(store->submissions(QString(), &error).size());
    }
    // The newest captcha code issued, read from the database.
    QString lastCode(const QString &formId = QString())
    {
        QSqlQuery q(store->connection());
        q.prepare(formId.isEmpty() ? QStringLiteral("SELECT code FROM captchas ORDER BY id DESC LIMIT 1")
                                   : QStringLiteral("SELECT code FROM captchas WHERE form_id = ? ORDER BY id DESC LIMIT 1"));
        if (!formId.isEmpty())
            q.addBindValue(formId);
        return q.exec() && q.next() ? q.value(0).toString() : QString();
    }

    QTemporaryDir dir;
    ServerConfig config;
    std::unique_ptr<Store> store;
    std::unique_ptr<QuizServer> server;
    std::thread thread;
    std::atomic<qint64> now{1765400000}; // 2025-12-10T20:53:20Z
    int port = -1;
};

