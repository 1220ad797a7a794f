#pragma once

#include <QString>

class QSettings;

// Section [mail] of the server's configuration. Without a host no mail is
// sent; without allowed_recipients neither (see MailRecipients).
struct MailSettings
{
    enum class Security { None, StartTls, Tls };

    QString host;
    int port = 25;
    Security security = Security::None;
    QString user;
    QString password;         // read from password_file, never from the file itself
    QString fromName;
    QString fromAddress;
    QString allowedRecipients;
    QString caFile;           // ca_file: certificates to trust instead of the system's
    // The pause before the first retry; each further one doubles, up to an
    // hour, for a day after the submission.
    int retryFirstSeconds = 60;
    int retryForSeconds = 24 * 3600;
    int timeoutSeconds = 30;

    bool sendsMail() const { return !host.isEmpty() && !allowedRecipients.trimmed().isEmpty(); }

    // Reads [mail]; a broken entry gives a German message in *error.
    // baseDir resolves a relative password_file.
    static MailSettings read(QSettings &ini, const QString &baseDir, QString *error);
};
