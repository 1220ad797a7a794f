#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The addresses a result may be mailed to. The form names its recipients
// (the hidden field "admin"), but anybody can post a form, so only those
// the server's configuration allows are mailed: an exact address or every
// address of a domain ("@schule.example"). Without a list nothing is allowed.
class MailRecipients
{
public:
    static constexpr int maxPerSubmission = 5;

    // allowed: the configuration's list, entries separated by commas (or
    // semicolons, or blanks).
    explicit MailRecipients(const QString &allowed = QString());

    bool isEmpty() const { return m_addresses.isEmpty() && m_domains.isEmpty(); }
    bool allows(const QString &address) const;

    struct Split {
        QStringList allowed;  // at most maxPerSubmission, each once
        QStringList refused;  // as written in the form, with why
    };
    // The form's recipient text: addresses separated by commas or semicolons.
    Split split(const QString &adminText) const;

private:
    QSet<QString> m_addresses;  // lower case
    QSet<QString> m_domains;    // lower case, without "@"
};
