#include "mailsettings.h"

#include "mailmessage.h"

#include <QDir>
#include <QFile>
#include <QSettings>

MailSettings MailSettings::read(QSettings &ini, const QString &baseDir, QString *error)
{
    MailSettings s;
    ini.beginGroup(QStringLiteral("mail"));
    // QSettings splits an unquoted value at commas into a list; every value
    // is taken whole.
    auto text = [&ini](const char *key, const QString &fallback = QString()) {
        const QVariant v = ini.value(QLatin1String(key), fallback);
        return v.typeId() == QMetaType::QString ? v.toString() : v.toStringList().join(QLatin1Char(','));
    };
    s.host = text("host").trimmed();
    const QString security = text("security", QStringLiteral("none")).trimmed().toLower();
    const QString port = text("port").trimmed();
    s.user = text("user");
    const QString passwordFile = text("password_file").trimmed();
    const QString from = text("from");
    s.allowedRecipients = text("allowed_recipients");
    const QString caFile = text("ca_file").trimmed();
    if (!caFile.isEmpty())
        s.caFile = QDir(baseDir).absoluteFilePath(caFile);
    const int retry = ini.value(QStringLiteral("retry_first_seconds"), s.retryFirstSeconds).toInt();
    if (retry > 0)
        s.retryFirstSeconds = retry;
    ini.endGroup();

    auto fail = [&](const QString &message) {
        if (error && error->isEmpty())
            *error = message;
    };
    if (security == QLatin1String("none"))
        s.security = Security::None;
    else if (security == QLatin1String("starttls"))
        s.security = Security::StartTls;
    else if (security == QLatin1String("tls"))
        s.security = Security::Tls;
    else
        fail(QStringLiteral("[mail] security: \"none\", \"starttls\" oder \"tls\" erwartet, nicht \"%1\"").arg(security));
    s.port = s.security == Security::Tls ? 465 : (s.security == Security::StartTls ? 587 : 25);
    if (!port.isEmpty()) {
        bool ok = false;
        const int p = port.toInt(&ok);
        if (!ok || p < 1 || p > 65535)
            fail(QStringLiteral("[mail] port: eine Zahl von 1 bis 65535 erwartet, nicht \"%1\"").arg(port));
        else
            s.port = p;
    }
    if (!passwordFile.isEmpty()) {
        QFile file(QDir(baseDir).absoluteFilePath(passwordFile));
        if (!file.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("[mail] password_file: %1 kann nicht gelesen werden (%2)")
                     .arg(file.fileName(), file.errorString()));
        } else {
            // The first line; a trailing line break is not part of the password.
            s.password = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
        }
    }
    if (!s.host.isEmpty()) {
        if (from.trimmed().isEmpty())
            fail(QStringLiteral("[mail] from: ohne Absenderadresse kann keine Mail verschickt werden"));
        else if (!MailMessage::parseMailbox(from, &s.fromName, &s.fromAddress))
            fail(QStringLiteral("[mail] from: \"%1\" ist keine gültige Mailadresse").arg(from));
    }
    return s;
}
