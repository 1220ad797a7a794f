#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The server's configuration: the INI file given by --config (QSettings),
// then the command-line options on top. Every value has a safe default, so
// the server runs without any file on 127.0.0.1:8080.
struct ServerConfig
{
    // [server]
    QString host = QStringLiteral("127.0.0.1");
    int port = 8080;
    QString basePath = QStringLiteral("/quiz/v13/");
    QString dataDir;                 // empty: the per-user data folder
    QStringList trustedProxies;      // peers whose X-Forwarded-For is believed
    int readTimeoutSeconds = 10;
    int writeTimeoutSeconds = 10;
    int threads = 8;

    // [database]
    QString databaseDriver = QStringLiteral("sqlite");
    QString databaseName;            // sqlite: file name in dataDir

    // [limits]
    int maxBodyKb = 256;
    int maxQuestions = 500;
    int maxFields = 10000;
    int postsPerMinute = 120;        // 0: no limit

    // [captcha]
    int captchaLifetimeSeconds = 20 * 60;

    // The folder of the config file; relative paths in it are taken from there.
    QString configDir;

    // Reads the file; a value that is no number or out of range gives a German
    // message naming the key in *error.
    static bool read(const QString &path, ServerConfig *config, QString *error);
    // Applies "HOST:PORT" (an IPv6 host in brackets); false when malformed.
    bool setListen(const QString &hostPort);
    // The base path with one slash before and after.
    static QString normaliseBasePath(const QString &path);

    // The data folder, made absolute; the database file lives there.
    QString dataFolder() const;
    // The Qt driver name for databaseDriver ("QSQLITE", "QPSQL").
    QString qtDriver() const;
};
