#include "mailrecipients.h"

#include "mailmessage.h"

#include <QRegularExpression>

namespace {

QStringList entries(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

} // namespace

MailRecipients::MailRecipients(const QString &allowed)
{
    for (const QString &entry : entries(allowed)) {
        const QString lower = entry.toLower();
        if (lower.startsWith(QLatin1Char('@'))) {
            if (MailMessage::isAddress(QStringLiteral("x") + lower))
                m_domains.insert(lower.mid(1));
        } else if (MailMessage::isAddress(lower)) {
            m_addresses.insert(lower);
        }
    }
}

bool MailRecipients::allows(const QString &address) const
{
    if (!MailMessage::isAddress(address))
        return false;
    const QString lower = address.toLower();
    return m_addresses.contains(lower) || m_domains.contains(lower.section(QLatin1Char('@'), 1));
}

MailRecipients::Split MailRecipients::split(const QString &adminText) const
{
    Split result;
    QSet<QString> seen;
    for (const QString &entry : entries(adminText)) {
        const QString lower = entry.toLower();
        if (seen.contains(lower))
            continue;
        seen.insert(lower);
        if (!allows(entry))
            result.refused += entry;
        else if (result.allowed.size() >= maxPerSubmission)
            result.refused += entry + QStringLiteral(" (mehr als 5 Empfänger)");
        else
            result.allowed += entry;
    }
    return result;
}
