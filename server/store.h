#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <atomic>

struct Submission;

// Everything the server keeps, behind one class: the submissions, the issued
// captcha codes and the schema with its migrations. The SQL is written for
// every driver alike; only the identity column and the connection set-up
// differ by driver (see dialect()). Each thread gets its own connection, as
// QtSql requires.
class Store
{
public:
    struct Options
    {
        QString driver = QStringLiteral("QSQLITE"); // or "QPSQL"
        QString databaseName;                       // sqlite: the file
        QString host;
        int port = 0;
        QString user;
        QString password;
    };

    // One stored submission, as the results export reads it.
    struct Row
    {
        qint64 id = 0;
        QString time; // ISO 8601, UTC
        QString formId;
        QString subject;
        int right = 0;
        int scored = 0;
        QJsonArray questions; // {"type","text","answers","right"}
        QJsonObject address;
        QString mailState;
        QString mailDetail; // the mail server's answer, the refused recipients
    };

    enum class CaptchaCheck { Right, Wrong, Missing, Expired, Used };

    explicit Store(Options options);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Opens the database and brings its schema up to the newest version.
    bool open(QString *error);
    int schemaVersion();
    static int newestSchemaVersion();

    // Stores an accepted submission; mail_state starts as "none" for the
    // mail step to pick up.
    bool saveSubmission(const Submission &s, const QString &time, qint64 *id, QString *error);
    QList<Row> submissions(const QString &formId, QString *error);

    // Keeps code for the form id and the browser's token (its cookie) or,
    // for a browser that sends no cookie, its address.
    bool issueCaptcha(const QString &formId, const QString &token, const QString &address, const QString &code, qint64 now,
                      QString *error);
    // One try: the code issued for this form id and token (without a token:
    // for this form id and address) is used up, right or wrong.
    CaptchaCheck useCaptcha(const QString &formId, const QString &token, const QString &address, const QString &typed, qint64 now,
                            int lifetimeSeconds);

    // One post from address at nowMs counted for every server process on the
    // database; false (and not counted) when the address sent perMinute in
    // the last minute.
    bool countPost(const QString &address, qint64 nowMs, int perMinute);

    // The JSON of a submission's questions, as stored and exported.
    static QJsonArray questionsJson(const Submission &s);

    // This thread's connection (the mail queue works on the same tables).
    QSqlDatabase connection();

private:
    bool migrate(QString *error);
    QString dialect(const QString &sql) const;

    Options m_options;
    QString m_prefix;
    QMutex m_mutex;
    QStringList m_connections;
    std::atomic<int> m_issued{0};
};
