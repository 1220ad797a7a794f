#include "store.h"

#include "captcha.h"
#include "submission.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

std::atomic<int> nextStoreId{0};
std::atomic<int> postsCounted{0};
std::atomic<int> nextThreadId{0};
thread_local const int threadId = nextThreadId++;

// The schema, one entry per version, oldest first; never change a released
// entry, add a new one. "%ID%" is the driver's auto-numbered key column.
struct Migration
{
    int version;
    const char *description;
    std::vector<const char *> statements;
};

const std::vector<Migration> &migrations()
{
    static const std::vector<Migration> list = {
        {1,
         "submissions and captcha codes",
         {
             "CREATE TABLE submissions ("
             " id %ID%,"
             " created_at VARCHAR(32) NOT NULL,"
             " form_id VARCHAR(16) NOT NULL,"
             " subject TEXT NOT NULL,"
             " right_count INTEGER NOT NULL,"
             " scored_count INTEGER NOT NULL,"
             " questions TEXT NOT NULL,"
             " address TEXT NOT NULL,"
             " recipients TEXT NOT NULL,"
             " mail_state VARCHAR(16) NOT NULL DEFAULT 'none',"
             " mail_detail TEXT NOT NULL DEFAULT '',"
             " mail_attempts INTEGER NOT NULL DEFAULT 0,"
             " mail_next_at VARCHAR(32))",
             "CREATE INDEX submissions_form ON submissions (form_id, id)",
             "CREATE INDEX submissions_mail ON submissions (mail_state, mail_next_at)",
             "CREATE TABLE captchas ("
             " id %ID%,"
             " form_id VARCHAR(16) NOT NULL,"
             " client_token VARCHAR(64) NOT NULL,"
             " client_addr VARCHAR(64) NOT NULL,"
             " code VARCHAR(16) NOT NULL,"
             " issued_at BIGINT NOT NULL,"
             " used INTEGER NOT NULL DEFAULT 0)",
             "CREATE INDEX captchas_token ON captchas (form_id, client_token, id)",
             "CREATE INDEX captchas_addr ON captchas (form_id, client_addr, id)",
             "CREATE INDEX captchas_issued ON captchas (issued_at)",
         }},
        {2,
         "posts per address and ten seconds, shared by the server processes",
         {
             "CREATE TABLE post_counts ("
             " address VARCHAR(64) NOT NULL,"
             " slot BIGINT NOT NULL,"
             " count INTEGER NOT NULL,"
             " PRIMARY KEY (address, slot))",
         }},
    };
    return list;
}

QString sqlError(const QSqlQuery &q)
{
    return q.lastError().text();
}

} // namespace

Store::Store(Options options)
    : m_options(std::move(options))
    , m_prefix(QStringLiteral("pruvex-store-%1-").arg(nextStoreId++))
{
}

Store::~Store()
{
    QMutexLocker lock(&m_mutex);
    for (const QString &name : std::as_const(m_connections))
        QSqlDatabase::removeDatabase(name);
}

QString Store::dialect(const QString &sql) const
{
    QString s = sql;
    if (m_options.driver == QLatin1String("QPSQL"))
        s.replace(QLatin1String("%ID%"), QLatin1String("BIGSERIAL PRIMARY KEY"));
    else
        s.replace(QLatin1String("%ID%"), QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"));
    return s;
}

QSqlDatabase Store::connection()
{
    const QString name = m_prefix + QString::number(threadId);
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, false);
    QSqlDatabase db = QSqlDatabase::addDatabase(m_options.driver, name);
    db.setDatabaseName(m_options.databaseName);
    if (!m_options.host.isEmpty())
        db.setHostName(m_options.host);
    if (m_options.port > 0)
        db.setPort(m_options.port);
    if (!m_options.user.isEmpty())
        db.setUserName(m_options.user);
    if (!m_options.password.isEmpty())
        db.setPassword(m_options.password);
    if (m_options.driver == QLatin1String("QSQLITE"))
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (db.open() && m_options.driver == QLatin1String("QSQLITE")) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    QMutexLocker lock(&m_mutex);
    m_connections << name;
    return db;
}

bool Store::open(QString *error)
{
    QSqlDatabase db = connection();
    if (!db.isOpen()) {
        *error = QStringLiteral("Die Datenbank %1 lässt sich nicht öffnen: %2").arg(m_options.databaseName, db.lastError().text());
        return false;
    }
    if (m_options.driver == QLatin1String("QSQLITE")) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next() ||
            q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
            *error = QStringLiteral("Die Datenbank %1 lässt sich nicht in den WAL-Modus schalten.").arg(m_options.databaseName);
            return false;
        }
    }
    return migrate(error);
}

int Store::newestSchemaVersion()
{
    return migrations().back().version;
}

int Store::schemaVersion()
{
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM schema_migrations")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

bool Store::migrate(QString *error)
{
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    if (!db.tables().contains(QStringLiteral("schema_migrations")) &&
        !q.exec(QStringLiteral("CREATE TABLE schema_migrations (version INTEGER PRIMARY KEY, description TEXT NOT NULL,"
                               " applied_at VARCHAR(32) NOT NULL)"))) {
        // Another process may have made it at the same moment.
        if (!db.tables().contains(QStringLiteral("schema_migrations"))) {
            *error = QStringLiteral("Das Datenbankschema lässt sich nicht anlegen: %1").arg(sqlError(q));
            return false;
        }
    }
    const int current = schemaVersion();
    for (const Migration &m : migrations()) {
        if (m.version <= current)
            continue;
        if (!db.transaction()) {
            *error = QStringLiteral("Datenbank: %1").arg(db.lastError().text());
            return false;
        }
        bool ok = true;
        QSqlQuery step(db);
        for (const char *statement : m.statements)
            if (!step.exec(dialect(QString::fromLatin1(statement)))) {
                ok = false;
                break;
            }
        if (ok) {
            step.prepare(QStringLiteral("INSERT INTO schema_migrations (version, description, applied_at) VALUES (?, ?, ?)"));
            step.addBindValue(m.version);
            step.addBindValue(QString::fromLatin1(m.description));
            step.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
            ok = step.exec();
        }
        if (!ok) {
            const QString why = sqlError(step);
            db.rollback();
            *error = QStringLiteral("Die Datenbank lässt sich nicht auf Version %1 bringen: %2").arg(m.version).arg(why);
            return false;
        }
        if (!db.commit()) {
            *error = QStringLiteral("Datenbank: %1").arg(db.lastError().text());
            return false;
        }
    }
    return true;
}

QJsonArray Store::questionsJson(const Submission &s)
{
    QJsonArray questions;
    for (const QuestionResult &q : s.questions) {
        QJsonObject o;
        o.insert(QStringLiteral("type"), q.type);
        o.insert(QStringLiteral("text"), q.text);
        o.insert(QStringLiteral("answers"), QJsonArray::fromStringList(q.answers));
        o.insert(QStringLiteral("right"), q.right ? QJsonValue(*q.right) : QJsonValue(QJsonValue::Null));
        questions.append(o);
    }
    return questions;
}

bool Store::saveSubmission(const Submission &s, const QString &time, qint64 *id, QString *error)
{
    QJsonObject address;
    for (const auto &[name, value] : s.address)
        address.insert(name, value);
    QSqlQuery q(connection());
    q.prepare(QStringLiteral("INSERT INTO submissions (created_at, form_id, subject, right_count, scored_count, questions, address,"
                             " recipients) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(time);
    q.addBindValue(s.formId);
    q.addBindValue(s.subject);
    q.addBindValue(s.right);
    q.addBindValue(s.scored);
    q.addBindValue(QString::fromUtf8(QJsonDocument(questionsJson(s)).toJson(QJsonDocument::Compact)));
    q.addBindValue(QString::fromUtf8(QJsonDocument(address).toJson(QJsonDocument::Compact)));
    q.addBindValue(s.recipients);
    if (!q.exec()) {
        *error = sqlError(q);
        return false;
    }
    if (id)
        *id = q.lastInsertId().toLongLong();
    return true;
}

QList<Store::Row> Store::submissions(const QString &formId, QString *error)
{
    QList<Row> rows;
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT id, created_at, form_id, subject, right_count, scored_count, questions, address, mail_state,"
                                 " mail_detail FROM submissions");
    if (!formId.isEmpty())
        sql += QStringLiteral(" WHERE form_id = ?");
    sql += QStringLiteral(" ORDER BY id");
    q.prepare(sql);
    if (!formId.isEmpty())
        q.addBindValue(formId);
    if (!q.exec()) {
        *error = sqlError(q);
        return rows;
    }
    while (q.next()) {
        Row r;
        r.id = q.value(0).toLongLong();
        r.time = q.value(1).toString();
        r.formId = q.value(2).toString();
        r.subject = q.value(3).toString();
        r.right = q.value(4).toInt();
        r.scored = q.value(5).toInt();
        r.questions = QJsonDocument::fromJson(q.value(6).toString().toUtf8()).array();
        r.address = QJsonDocument::fromJson(q.value(7).toString().toUtf8()).object();
        r.mailState = q.value(8).toString();
        r.mailDetail = q.value(9).toString();
        rows << r;
    }
    return rows;
}

bool Store::issueCaptcha(const QString &formId, const QString &token, const QString &address, const QString &code, qint64 now,
                         QString *error)
{
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    // Now and then, codes long past their time go.
    if (++m_issued % 200 == 1) {
        q.prepare(QStringLiteral("DELETE FROM captchas WHERE issued_at < ?"));
        q.addBindValue(now - 7 * 24 * 3600);
        q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO captchas (form_id, client_token, client_addr, code, issued_at) VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(formId);
    q.addBindValue(token);
    q.addBindValue(address);
    q.addBindValue(code);
    q.addBindValue(now);
    if (!q.exec()) {
        *error = sqlError(q);
        return false;
    }
    return true;
}

Store::CaptchaCheck Store::useCaptcha(const QString &formId, const QString &token, const QString &address, const QString &typed,
                                      qint64 now, int lifetimeSeconds)
{
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // With a cookie: the newest code of this browser for the form (a new
    // picture replaces the one before). Without: the codes that browsers
    // at this address were given for the form, newest first.
    if (!token.isEmpty()) {
        q.prepare(QStringLiteral("SELECT id, code, issued_at, used FROM captchas WHERE form_id = ? AND client_token = ?"
                                 " ORDER BY id DESC LIMIT 1"));
        q.addBindValue(formId);
        q.addBindValue(token);
    } else {
        q.prepare(QStringLiteral("SELECT id, code, issued_at, used FROM captchas WHERE form_id = ? AND client_addr = ?"
                                 " AND issued_at >= ? ORDER BY id DESC LIMIT 50"));
        q.addBindValue(formId);
        q.addBindValue(address);
        q.addBindValue(now - lifetimeSeconds);
    }
    if (!q.exec())
        return CaptchaCheck::Missing;
    struct Candidate
    {
        qint64 id;
        QString code;
        qint64 issued;
        bool used;
    };
    std::vector<Candidate> candidates;
    while (q.next())
        candidates.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toInt() != 0});
    q.finish();
    if (candidates.empty())
        return CaptchaCheck::Missing;
    const Candidate *chosen = &candidates.front();
    for (const Candidate &c : candidates)
        if (Captcha::matches(typed, c.code) && !c.used) {
            chosen = &c;
            break;
        }
    // Used up in one statement, so that of two tries at once only one wins.
    QSqlQuery use(db);
    use.prepare(QStringLiteral("UPDATE captchas SET used = 1 WHERE id = ? AND used = 0"));
    use.addBindValue(chosen->id);
    if (!use.exec() || use.numRowsAffected() != 1)
        return CaptchaCheck::Used;
    if (chosen->issued + lifetimeSeconds < now)
        return CaptchaCheck::Expired;
    if (typed.trimmed().isEmpty())
        return CaptchaCheck::Missing;
    return Captcha::matches(typed, chosen->code) ? CaptchaCheck::Right : CaptchaCheck::Wrong;
}

bool Store::countPost(const QString &address, qint64 nowMs, int perMinute)
{
    // A minute in six slots of ten seconds, as RateLimiter counts it.
    const qint64 slot = nowMs / 10000;
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    if (++postsCounted % 1000 == 1) {
        q.prepare(QStringLiteral("DELETE FROM post_counts WHERE slot <= ?"));
        q.addBindValue(slot - 6);
        q.exec();
    }
    q.prepare(QStringLiteral("SELECT COALESCE(SUM(count), 0) FROM post_counts WHERE address = ? AND slot > ?"));
    q.addBindValue(address);
    q.addBindValue(slot - 6);
    if (q.exec() && q.next() && q.value(0).toLongLong() >= perMinute)
        return false;
    q.finish();
    q.prepare(QStringLiteral("INSERT INTO post_counts (address, slot, count) VALUES (?, ?, 1)"
                             " ON CONFLICT (address, slot) DO UPDATE SET count = post_counts.count + 1"));
    q.addBindValue(address);
    q.addBindValue(slot);
    q.exec();
    return true;
}
