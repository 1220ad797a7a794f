#include "mailmessage.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

// Encoded words stay under 76 characters with the header name before the
// first one: 39 bytes give 52 Base64 characters plus 12 of framing.
constexpr int maxBytesPerWord = 39;
constexpr int maxPlainLength = 66;
// The longest encoded word RFC 2047 allows (75 characters) holds 45 bytes.
constexpr int maxBytesPerName = 45;

bool isPlainAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

QByteArray header(const char *name, const QByteArray &value)
{
    return QByteArray(name) + ": " + value + "\r\n";
}

QString rfc5322Date(const QDateTime &time)
{
    const QDateTime utc = time.toUTC();
    return QLocale::c().toString(utc, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")) + QStringLiteral(" +0000");
}

} // namespace

bool MailMessage::isAddress(const QString &text)
{
    // Dot-atom local part and a domain of at least two DNS labels.
    static const QRegularExpression pattern(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)+$"));
    return text.size() <= 254 && pattern.match(text).hasMatch();
}

QString MailMessage::singleLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    bool blank = false;
    for (QChar c : text) {
        const bool isBlank = c.isSpace() || c.category() == QChar::Other_Control
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        if (isBlank) {
            blank = true;
            continue;
        }
        if (blank && !line.isEmpty())
            line += QLatin1Char(' ');
        blank = false;
        line += c;
    }
    return line;
}

QByteArray MailMessage::encodeHeaderValue(const QString &value)
{
    const QString line = singleLine(value);
    if (isPlainAscii(line) && line.size() <= maxPlainLength && !line.contains(QLatin1String("=?")))
        return line.toLatin1();
    return encodedWords(line);
}

QByteArray MailMessage::encodedWords(const QString &line)
{
    // Cut at whole characters, so that every word is valid UTF-8 by itself,
    // as RFC 2047 asks.
    QByteArray result;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!result.isEmpty())
            result += "\r\n ";
        result += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < line.size(); ++i) {
        const int length = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        const QByteArray bytes = line.mid(i, length).toUtf8();
        if (chunk.size() + bytes.size() > maxBytesPerWord)
            flush();
        chunk += bytes;
        i += length - 1;
    }
    flush();
    return result;
}

QByteArray MailMessage::encodeMailbox(const QString &name, const QString &address)
{
    const QString display = singleLine(name);
    if (display.isEmpty())
        return address.toLatin1();
    // A plain name with specials (",", "<", quotes) would need quoting; an
    // encoded word never does.
    static const QRegularExpression atoms(QStringLiteral("^[A-Za-z0-9!#$%&'*+/?^_`{|}~ -]+$"));
    if (display.size() <= maxPlainLength && atoms.match(display).hasMatch())
        return display.toLatin1() + " <" + address.toLatin1() + ">";
    // One encoded word at most: decoders differ on the blank between two
    // words in a name (Python's keeps it), and a name is a courtesy, the
    // mail's text holds it whole.
    QByteArray bytes;
    for (int i = 0; i < display.size(); ++i) {
        const int length = display.at(i).isHighSurrogate() && i + 1 < display.size() ? 2 : 1;
        const QByteArray next = display.mid(i, length).toUtf8();
        if (bytes.size() + next.size() > maxBytesPerName)
            break;
        bytes += next;
        i += length - 1;
    }
    return "=?UTF-8?B?" + bytes.toBase64() + "?= <" + address.toLatin1() + ">";
}

bool MailMessage::parseMailbox(const QString &text, QString *name, QString *address)
{
    const QString line = singleLine(text);
    static const QRegularExpression named(QStringLiteral("^(.*)<([^<>]*)>$"));
    const QRegularExpressionMatch match = named.match(line);
    QString n;
    QString a = line;
    if (match.hasMatch()) {
        n = match.captured(1).trimmed();
        if (n.size() >= 2 && n.startsWith(QLatin1Char('"')) && n.endsWith(QLatin1Char('"')))
            n = n.mid(1, n.size() - 2);
        a = match.captured(2).trimmed();
    }
    if (!isAddress(a))
        return false;
    *name = n;
    *address = a;
    return true;
}

QByteArray MailMessage::toBytes() const
{
    const QDateTime when = date.isValid() ? date : QDateTime::currentDateTimeUtc();
    QByteArray out;
    out += header("Date", rfc5322Date(when).toLatin1());
    out += header("From", encodeMailbox(fromName, fromAddress));
    QByteArrayList recipients;
    for (const QString &address : to) {
        if (isAddress(address))
            recipients += address.toLatin1();
    }
    out += header("To", recipients.join(",\r\n "));
    if (isAddress(replyToAddress))
        out += header("Reply-To", encodeMailbox(replyToName, replyToAddress));
    out += header("Subject", encodeHeaderValue(subject));
    const QString domain = fromAddress.section(QLatin1Char('@'), 1);
    const QString id = QString::number(when.toMSecsSinceEpoch(), 36) + QLatin1Char('.')
        + QString::number(QRandomGenerator::global()->generate64(), 36);
    out += header("Message-ID", ('<' + id + '@' + domain + '>').toLatin1());
    out += header("MIME-Version", "1.0");
    out += header("Content-Type", "text/plain; charset=UTF-8");
    out += header("Content-Transfer-Encoding", "base64");
    out += "\r\n";

    QString text = body;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray encoded = text.toUtf8().toBase64();
    for (int i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}
