#pragma once

#include "mailmessage.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The result mail of one stored submission: the quiz's subject, the score,
// each question with the participant's answers and its mark, the address
// fields; Reply-To is the participant's LEMAIL when it is one valid address.
namespace MailReport {

struct Input
{
    QString formId;
    QString time;      // ISO 8601, UTC
    QString subject;
    int right = 0;
    int scored = 0;
    QJsonArray questions;  // {"type","text","answers","right"}
    QJsonObject address;   // input name -> text
};

// The plain text of the mail, line breaks "\n".
QString text(const Input &input);
// The message to the given recipients, from the configured sender.
MailMessage message(const Input &input, const QString &fromName, const QString &fromAddress, const QStringList &to);
// A question text as plain text: tags gone, <br>, <p> and <li> as line
// breaks, character references decoded.
QString plainText(const QString &html);

} // namespace MailReport
