#include "mailqueue.h"

#include "mailrecipients.h"
#include "mailreport.h"
#include "store.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// How long a process may take for one send before another one may take
// the mail over; well above libcurl's time-out.
constexpr qint64 leaseMs = 5 * 60 * 1000;
constexpr qint64 maxPauseMs = 60 * 60 * 1000;
constexpr int pollMs = 1000;

// mail_next_at: ISO 8601 UTC with milliseconds, so that text order is time order.
QString stamp(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

// mail_detail is NOT NULL; a null QString would be bound as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString refusedNote(const QStringList &refused)
{
    return refused.isEmpty() ? QString() : QStringLiteral("nicht erlaubt: ") + refused.join(QLatin1String(", "));
}

QString joinDetail(const QString &answer, const QString &note)
{
    if (note.isEmpty())
        return answer;
    return answer.isEmpty() ? note : answer + QStringLiteral("; ") + note;
}

} // namespace

MailQueue::MailQueue(Store &store, const MailSettings &settings)
    : m_store(store)
    , m_settings(settings)
    , m_sender(settings)
{
}

MailQueue::~MailQueue()
{
    stop();
}

QString MailQueue::describe(const MailSettings &s)
{
    if (s.host.isEmpty())
        return QStringLiteral("nicht eingerichtet: es wird keine Mail verschickt");
    if (s.allowedRecipients.trimmed().isEmpty())
        return QStringLiteral("aus: keine erlaubten Empfänger eingetragen (allowed_recipients), es wird keine Mail verschickt");
    return QStringLiteral("eingerichtet: Mails an die erlaubten Empfänger");
}

void MailQueue::submit(qint64 id, const QString &formId, const QString &recipients)
{
    if (!m_settings.sendsMail())
        return;
    const MailRecipients::Split split = MailRecipients(m_settings.allowedRecipients).split(recipients);
    if (split.allowed.isEmpty() && split.refused.isEmpty())
        return;
    for (const QString &r : split.refused)
        qWarning("Formular %s: Empfänger %s ist nicht erlaubt und bekommt keine Mail", qUtf8Printable(formId),
                 qUtf8Printable(r.left(200)));
    QSqlQuery q(m_store.connection());
    q.prepare(QStringLiteral("UPDATE submissions SET mail_state = ?, mail_detail = ?, mail_next_at = ? WHERE id = ?"));
    q.addBindValue(split.allowed.isEmpty() ? QStringLiteral("refused") : QStringLiteral("queued"));
    q.addBindValue(notNull(refusedNote(split.refused)));
    q.addBindValue(split.allowed.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(stamp(QDateTime::currentMSecsSinceEpoch())));
    q.addBindValue(id);
    if (!q.exec()) {
        qWarning("Formular %s: der Mailauftrag lässt sich nicht speichern: %s", qUtf8Printable(formId),
                 qUtf8Printable(q.lastError().text()));
        return;
    }
    if (!split.allowed.isEmpty()) {
        std::lock_guard lock(m_mutex);
        m_pending = true;
        m_wake.notify_one();
    }
}

void MailQueue::start()
{
    if (!m_settings.sendsMail() || m_thread.joinable())
        return;
    m_stopping = false;
    m_thread = std::thread([this] { run(); });
}

void MailQueue::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_wake.notify_one();
    }
    if (m_thread.joinable())
        m_thread.join();
}

void MailQueue::run()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (m_stopping)
                break;
            // Other processes queue mails too: look again every second.
            m_wake.wait_for(lock, std::chrono::milliseconds(pollMs), [this] { return m_stopping || m_pending; });
            if (m_stopping)
                break;
            m_pending = false;
        }
        while (processOne()) {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                break;
        }
    }
}

bool MailQueue::processOne()
{
    QSqlDatabase db = m_store.connection();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool postgres = db.driverName() == QLatin1String("QPSQL");
    const QString select = QStringLiteral(
        "SELECT id, form_id, created_at, subject, right_count, scored_count, questions, address, recipients,"
        " mail_attempts, mail_state, mail_next_at FROM submissions"
        " WHERE mail_state IN ('queued', 'sending') AND mail_next_at <= ? ORDER BY mail_next_at LIMIT 1");

    // Take the mail: on PostgreSQL the row lock makes the others skip it;
    // on SQLite the update succeeds only for the process that still finds
    // it as it was read.
    if (postgres && !db.transaction())
        return false;
    QSqlQuery q(db);
    q.prepare(postgres ? select + QStringLiteral(" FOR UPDATE SKIP LOCKED") : select);
    q.addBindValue(stamp(now));
    if (!q.exec() || !q.next()) {
        q.finish();
        if (postgres)
            db.rollback();
        return false;
    }
    const qint64 id = q.value(0).toLongLong();
    MailReport::Input input;
    input.formId = q.value(1).toString();
    input.time = q.value(2).toString();
    input.subject = q.value(3).toString();
    input.right = q.value(4).toInt();
    input.scored = q.value(5).toInt();
    input.questions = QJsonDocument::fromJson(q.value(6).toString().toUtf8()).array();
    input.address = QJsonDocument::fromJson(q.value(7).toString().toUtf8()).object();
    const QString recipients = q.value(8).toString();
    const int attempts = q.value(9).toInt() + 1;
    const QString wasState = q.value(10).toString();
    const QString wasNext = q.value(11).toString();
    q.finish();

    QSqlQuery take(db);
    take.prepare(QStringLiteral("UPDATE submissions SET mail_state = 'sending', mail_next_at = ?, mail_attempts = ?"
                                " WHERE id = ? AND mail_state = ? AND mail_next_at = ?"));
    take.addBindValue(stamp(now + leaseMs));
    take.addBindValue(attempts);
    take.addBindValue(id);
    take.addBindValue(wasState);
    take.addBindValue(wasNext);
    const bool taken = take.exec() && take.numRowsAffected() == 1;
    if (postgres && !(taken ? db.commit() : db.rollback()))
        return false;
    if (!taken)
        return true; // another process was faster; look for the next one

    // The allow-list is applied again: it may have changed since the form came.
    const MailRecipients::Split split = MailRecipients(m_settings.allowedRecipients).split(recipients);
    QString state;
    QString detail;
    QVariant next(QMetaType::fromType<QString>());
    if (split.allowed.isEmpty()) {
        state = QStringLiteral("refused");
        detail = refusedNote(split.refused);
    } else {
        const MailMessage message = MailReport::message(input, m_settings.fromName, m_settings.fromAddress, split.allowed);
        const MailSender::Result result = m_sender.send(split.allowed, message.toBytes());
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        const qint64 pause = qMin<qint64>(maxPauseMs, qint64(m_settings.retryFirstSeconds) * 1000 << qMin(attempts - 1, 20));
        QDateTime created = QDateTime::fromString(input.time, Qt::ISODateWithMs);
        const qint64 giveUpAt = (created.isValid() ? created.toMSecsSinceEpoch() : now) + qint64(m_settings.retryForSeconds) * 1000;
        if (result.outcome == MailSender::Outcome::Sent) {
            state = QStringLiteral("sent");
            detail = joinDetail(result.answer, refusedNote(split.refused));
        } else if (result.outcome == MailSender::Outcome::Permanent || after + pause > giveUpAt) {
            state = QStringLiteral("failed");
            detail = joinDetail(result.answer, refusedNote(split.refused));
            qWarning("Formular %s: Mail nach %d Versuch(en) nicht zugestellt: %s", qUtf8Printable(input.formId), attempts,
                     qUtf8Printable(result.answer));
        } else {
            state = QStringLiteral("queued");
            detail = joinDetail(result.answer, refusedNote(split.refused));
            next = stamp(after + pause);
        }
    }
    QSqlQuery done(db);
    done.prepare(QStringLiteral("UPDATE submissions SET mail_state = ?, mail_detail = ?, mail_next_at = ? WHERE id = ?"));
    done.addBindValue(state);
    done.addBindValue(notNull(detail.left(1000)));
    done.addBindValue(next);
    done.addBindValue(id);
    if (!done.exec())
        qWarning("Formular %s: der Mailstatus lässt sich nicht speichern: %s", qUtf8Printable(input.formId),
                 qUtf8Printable(done.lastError().text()));
    return true;
}
