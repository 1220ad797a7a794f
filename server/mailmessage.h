#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// A UTF-8 text mail, written as the bytes an SMTP server receives.
// Every header value is made one line and, unless it is short printable
// ASCII, encoded as RFC 2047 words, so that a CR or LF in a value taken from
// a form can never start a header of its own.
class MailMessage
{
public:
    QString fromAddress;
    QString fromName;
    QStringList to;          // plain addresses, checked with isAddress
    QString replyToAddress;  // empty for none
    QString replyToName;
    QString subject;
    QString body;            // line breaks as "\n" or "\r\n"
    QDateTime date;          // the current time when null

    // The whole message, CR LF line breaks, body in Base64.
    QByteArray toBytes() const;

    // One plain address "local@domain.tld": ASCII, no blanks, no comments,
    // no angle brackets, nothing a header could be split at.
    static bool isAddress(const QString &text);
    // A value on one line: every control character (CR, LF, tab ...) becomes
    // a blank, runs of blanks one, no blanks at the ends.
    static QString singleLine(const QString &text);
    // The header value as it is written after "Name: ": plain when it is
    // printable ASCII that cannot be mistaken for an encoded word, else
    // UTF-8 "B" encoded words, folded onto continuation lines.
    static QByteArray encodeHeaderValue(const QString &value);
    // "Name <address>" with the name encoded; the address alone without name.
    static QByteArray encodeMailbox(const QString &name, const QString &address);
    // Splits a configured sender "Name <address>" or "address".
    static bool parseMailbox(const QString &text, QString *name, QString *address);

private:
    static QByteArray encodedWords(const QString &line);
};
