#pragma once

// The test PostgreSQL that CTest's fixture "postgres" started
// (tests/mail/postgres.sh): its port and password, or why there is none.

#include <QFile>
#include <QString>

struct TestPostgres
{
    int port = 0;
    QString passwordFile;
    QString absent;  // why there is no server

    // dir: the folder tests/mail/postgres.sh started it in.
    static TestPostgres find(const QString &dir)
    {
        TestPostgres pg;
        QFile absent(dir + QStringLiteral("/absent"));
        if (absent.open(QIODevice::ReadOnly)) {
            pg.absent = QString::fromUtf8(absent.readAll()).trimmed();
            return pg;
        }
        QFile port(dir + QStringLiteral("/port"));
        if (!port.open(QIODevice::ReadOnly)) {
            pg.absent = QStringLiteral("no test PostgreSQL running (run the test through ctest)");
            return pg;
        }
        pg.port = port.readAll().trimmed().toInt();
        pg.passwordFile = dir + QStringLiteral("/password");
        return pg;
    }
#ifdef PRUVEX_POSTGRES_DIR
    static TestPostgres find() { return find(QStringLiteral(PRUVEX_POSTGRES_DIR)); }
#endif
};

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

inline QString testPostgresPassword(const TestPostgres &pg)
{
    QFile pw(pg.passwordFile);
    pw.open(QIODevice::ReadOnly);
    return QString::fromUtf8(pw.readAll()).trimmed();
}

// A database of its own for one test case, on the test PostgreSQL.
inline QString createTestDatabase(const TestPostgres &pg, QString *error)
{
    const QString name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    const QString password = testPostgresPassword(pg);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pg-admin"));
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(pg.port);
        db.setDatabaseName(QStringLiteral("pruvex"));
        db.setUserName(QStringLiteral("pruvex"));
        db.setPassword(password);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("CREATE DATABASE ") + name))
                *error = q.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pg-admin"));
    return error->isEmpty() ? name : QString();
}

