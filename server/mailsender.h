#pragma once

#include "mailsettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Hands one message to the configured SMTP server through libcurl: plain,
// STARTTLS (required, never silently plain) or SMTPS, with a login when a
// user is configured. Blocks until the server answered or timed out, so it
// runs on the mail queue's thread, never while a request waits.
class MailSender
{
public:
    enum class Outcome {
        Sent,
        Temporary,  // no connection, a time-out or a 4xx answer: try again later
        Permanent,  // a 5xx answer: the server will not take this mail
    };
    struct Result {
        Outcome outcome = Outcome::Temporary;
        QString answer;  // the server's last answer, or libcurl's error
    };

    explicit MailSender(const MailSettings &settings);

    Result send(const QStringList &recipients, const QByteArray &message) const;

private:
    MailSettings m_settings;
};
