#pragma once

#include "mailsender.h"
#include "mailsettings.h"

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

class Store;

// The result mails, kept in the database beside their submissions
// (mail_state, mail_detail, mail_attempts, mail_next_at), so that a mail
// failure never loses a submission and every server process on the same
// database can send what another one queued, each mail exactly once.
//
// States: "none" (no mail set up, or the form names nobody), "refused" (the
// form names only recipients the configuration does not allow), "queued"
// (due at mail_next_at), "sending" (taken by a process until mail_next_at;
// a process that died is relieved after that), "sent", "failed" (the server
// refused it, or it could not be delivered for a day).
class MailQueue
{
public:
    MailQueue(Store &store, const MailSettings &settings);
    ~MailQueue();

    // After a submission was stored: records which of the form's recipients
    // are mailed, logs the refused ones with the form id, and wakes the
    // sending thread. Never waits for the mail server.
    void submit(qint64 id, const QString &formId, const QString &recipients);

    // The background loop that sends due mails and retries failed ones.
    void start();
    void stop();

    // Takes one due mail, sends it and records the outcome; false when none
    // was due. The loop calls it; so can a test.
    bool processOne();

    // The state line of the checkurl page (nothing secret).
    static QString describe(const MailSettings &settings);

private:
    void run();

    Store &m_store;
    MailSettings m_settings;
    MailSender m_sender;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    bool m_pending = false;
};
