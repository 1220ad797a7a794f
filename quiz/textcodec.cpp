#include "textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace TextCodec {

QByteArray toCodePage(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    QByteArray bytes = encoder.encode(text);
    // ICU holds back a high surrogate at the very end, waiting for its pair.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        bytes += '?';
    // ICU writes the control character 0x1A for a character it cannot map,
    // one byte per code point. Put "?" there, as the platform would.
    int b = 0;
    for (int i = 0; i < text.size() && b < bytes.size(); ++i, ++b) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        if (bytes[b] == '\x1a' && c.unicode() != 0x1A)
            bytes[b] = '?';
    }
    return bytes;
}

QString fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QByteArray toLatin1(const QString &text)
{
    // One byte per character: a surrogate pair is one character outside
    // ISO-8859-1 and becomes a single "?".
    QByteArray bytes;
    bytes.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes += c.unicode() < 0x100 ? char(c.unicode()) : '?';
    }
    return bytes;
}

bool namesUtf8(const QString &encoding)
{
    // The labels of UTF-8 in the WHATWG encoding standard, which browsers
    // compare without letter case and surrounding whitespace.
    static const QStringList labels{QStringLiteral("utf-8"),         QStringLiteral("utf8"),          QStringLiteral("unicode-1-1-utf-8"),
                                    QStringLiteral("unicode11utf8"), QStringLiteral("unicode20utf8"), QStringLiteral("x-unicode20utf8")};
    return labels.contains(encoding.trimmed(), Qt::CaseInsensitive);
}

QByteArray pageBytes(const QString &page, const QString &encoding)
{
    if (namesUtf8(encoding))
        return page.toUtf8();
    return toCodePage(page);
}

} // namespace TextCodec
