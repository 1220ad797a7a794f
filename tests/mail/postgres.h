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

    static TestPostgres find()
    {
        TestPostgres pg;
        const QString dir = QStringLiteral(PRUVEX_POSTGRES_DIR);
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
};
