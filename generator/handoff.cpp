#include "handoff.h"

#include "charscan.h"
#include "textcodec.h"

namespace Handoff {

namespace {
const QString CRLF = QStringLiteral("\r\n");

// Appends "&#N;" for code point cp.
void appendReference(QString &out, char32_t cp)
{
    out += QStringLiteral("&#") + QString::number(uint(cp)) + QLatin1Char(';');
}

QString encode(const QString &text, bool item)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    QString out;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        if (out.isNull())
            out.reserve(n + 16);
        out.append(p + start, end - start);
    };
    // Only "&", the separators of an item and what lies outside Latin-1 can
    // change; the stretches between them are skipped whole.
    const char16_t list = item ? listSeparator : u'&';
    const char16_t inner = item ? itemSeparator : u'&';
    for (qsizetype i = 0; (i = indexOfAnyOrNonLatin1(text, i, u'&', list, inner)) >= 0; ++i) {
        const char16_t c = p[i].unicode();
        if (c < 0x100) {
            const bool literalRef = c == u'&' && i + 1 < n && p[i + 1] == QLatin1Char('#');
            const bool separator = item && (c == listSeparator || c == itemSeparator);
            // An item's last "&" would stand before the next separator "#"
            // and read as the start of a reference.
            const bool lastAmpersand = item && c == u'&' && i + 1 == n;
            if (!literalRef && !separator && !lastAmpersand)
                continue;
            flush(i);
            appendReference(out, c);
            start = i + 1;
            continue;
        }
        flush(i);
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && p[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, p[i + 1].unicode());
            ++i;
        }
        appendReference(out, cp);
        start = i + 1;
    }
    if (out.isNull())
        return text;
    out.append(p + start, n - start);
    return out;
}
} // namespace

QString scramble(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        c = QChar(ushort(c.unicode() ^ scrambleKey));
    return s;
}

QString base64(const QString &text)
{
    QString out;
    appendBase64(out, text);
    return out;
}

void appendBase64(QString &out, QStringView text, bool scrambled)
{
    // Written straight into out, from the Latin-1 byte of each character
    // (a surrogate pair is one character outside Latin-1: one "?").
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char16_t key = scrambled ? scrambleKey : 0;
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    // Room for one byte per character; a surrogate pair, one byte for two,
    // leaves some of it, which is cut off at the end.
    const qsizetype start = out.size();
    out.resize(start + (n + 2) / 3 * 4);
    QChar *o = out.data() + start;
    uint group = 0;
    int held = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = char16_t(p[i] ^ key);
        uchar b = '?';
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(char16_t(p[i + 1] ^ key)))
            ++i;
        else if (c < 0x100)
            b = uchar(c);
        group = group << 8 | b;
        if (++held == 3) {
            o[0] = QLatin1Char(kAlphabet[group >> 18]);
            o[1] = QLatin1Char(kAlphabet[(group >> 12) & 63]);
            o[2] = QLatin1Char(kAlphabet[(group >> 6) & 63]);
            o[3] = QLatin1Char(kAlphabet[group & 63]);
            o += 4;
            group = 0;
            held = 0;
        }
    }
    if (held > 0) {
        group <<= 8 * (3 - held);
        o[0] = QLatin1Char(kAlphabet[group >> 18]);
        o[1] = QLatin1Char(kAlphabet[(group >> 12) & 63]);
        o[2] = held == 2 ? QLatin1Char(kAlphabet[(group >> 6) & 63]) : QLatin1Char('=');
        o[3] = QLatin1Char('=');
        o += 4;
    }
    out.truncate(o - out.constData());
}

std::optional<QString> fromBase64(const QString &value)
{
    const QByteArray in = value.toLatin1();
    const auto result = QByteArray::fromBase64Encoding(in, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return QString::fromLatin1(*result);
}

QString encodeText(const QString &text)
{
    return encode(text, false);
}

QString encodeItem(const QString &text)
{
    return encode(text, true);
}

QString decodeText(const QString &text)
{
    const qsizetype n = text.size();
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i + 3 < n; ++i) {
        if (text[i] != QLatin1Char('&') || text[i + 1] != QLatin1Char('#'))
            continue;
        qsizetype j = i + 2;
        char32_t cp = 0;
        while (j < n && j - i <= 9 && text[j].isDigit() && text[j].unicode() < 0x80) {
            cp = cp * 10 + char32_t(text[j].unicode() - u'0');
            ++j;
        }
        if (j == i + 2 || j >= n || text[j] != QLatin1Char(';') || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            continue;
        out += QStringView(text).mid(start, i - start);
        const char32_t ucs[1] = {cp};
        out += QString::fromUcs4(ucs, 1);
        start = j + 1;
        i = j;
    }
    if (start == 0)
        return text;
    out += QStringView(text).mid(start);
    return out;
}

QString joinItems(const QStringList &items)
{
    QString out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i)
            out += QChar(listSeparator);
        out += encodeItem(items[i]);
    }
    return out;
}

QStringList splitItems(const QString &joined)
{
    // The "#" of a reference "&#N;" follows its "&"; every other "#" joins.
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i < joined.size(); ++i) {
        if (joined[i] == QChar(listSeparator) && (i == 0 || joined[i - 1] != QLatin1Char('&'))) {
            items << joined.mid(start, i - start);
            start = i + 1;
        }
    }
    items << joined.mid(start);
    return items;
}

QString scrambledBase64(const QString &text)
{
    QString out;
    appendBase64(out, text, true);
    return out;
}

std::optional<QString> unscrambleBase64(const QString &value)
{
    const auto latin1 = fromBase64(value);
    if (!latin1)
        return std::nullopt;
    return scramble(*latin1);
}

QString scrambledFlag(bool on)
{
    return scramble(on ? QStringLiteral("true") : QStringLiteral("false"));
}

std::optional<bool> unscrambleFlag(const QString &scrambled)
{
    const QString plain = scramble(scrambled);
    if (plain == QLatin1String("true"))
        return true;
    if (plain == QLatin1String("false"))
        return false;
    return std::nullopt;
}

QString hiddenField(const QString &name, const QString &value)
{
    QString out;
    appendHiddenField(out, name, value);
    return out;
}

void appendHiddenField(QString &out, QStringView name, QStringView value)
{
    out += u"  <input type=\"hidden\" name=\"" + name + u"\" value=\"" + value + u"\">\r\n";
}

} // namespace Handoff
