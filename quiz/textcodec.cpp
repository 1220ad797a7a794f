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
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && p[i + 1].isLowSurrogate())
            ++i;
        *out++ = c < 0x100 ? char(c) : '?';
    }
    bytes.truncate(out - bytes.constData());
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

bool inCodePage(char32_t c)
{
    // The characters of the 256 bytes, decoded once.
    static const QString held = [] {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        QString chars = fromCodePage(all);
        chars.remove(QChar(QChar::ReplacementCharacter));
        return chars;
    }();
    if (c < 0x80)
        return true;
    return c <= 0xFFFF && held.contains(QChar(char16_t(c)));
}

namespace {

enum class Context { Html, Script, Style };

// Whether the tag name at i (after "<" or "</") is name, followed by the end
// of the name.
bool tagNameAt(const QString &page, qsizetype i, QLatin1String name)
{
    if (QStringView(page).mid(i, name.size()).compare(name, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype after = i + name.size();
    if (after >= page.size())
        return true;
    const QChar c = page[after];
    return c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('/');
}

void appendEscape(QString &out, char32_t cp, Context context)
{
    switch (context) {
    case Context::Script: {
        const QString units = QString::fromUcs4(&cp, 1);
        for (const QChar u : units)
            out += QStringLiteral("\\u") + QStringLiteral("%1").arg(u.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        break;
    }
    case Context::Style:
        out += QLatin1Char('\\') + QString::number(uint(cp), 16).toUpper() + QLatin1Char(' ');
        break;
    case Context::Html:
        out += QStringLiteral("&#") + QString::number(uint(cp)) + QLatin1Char(';');
        break;
    }
}

} // namespace

QString withCodePageEscapes(const QString &page)
{
    bool lossless = true;
    for (const QChar c : page)
        if (c.unicode() >= 0x80 && !inCodePage(c.unicode())) {
            lossless = false;
            break;
        }
    if (lossless)
        return page;

    static const QLatin1String script("script"), style("style");
    QString out;
    out.reserve(page.size() + page.size() / 8);
    Context context = Context::Html;
    const qsizetype n = page.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = page[i];
        if (c == QLatin1Char('<')) {
            if (context == Context::Html) {
                if (QStringView(page).mid(i, 4) == QLatin1String("<!--")) {
                    // A comment: nothing in it is shown or run.
                    const qsizetype close = page.indexOf(QLatin1String("-->"), i + 4);
                    const qsizetype end = close < 0 ? n : close + 3;
                    for (; i < end; ++i) {
                        if (page[i].unicode() >= 0x80 && !inCodePage(page[i].unicode()))
                            appendEscape(out, page[i].unicode(), Context::Html);
                        else
                            out += page[i];
                    }
                    --i;
                    continue;
                }
                if (tagNameAt(page, i + 1, script))
                    context = Context::Script;
                else if (tagNameAt(page, i + 1, style))
                    context = Context::Style;
            } else if (i + 1 < n && page[i + 1] == QLatin1Char('/') &&
                       tagNameAt(page, i + 2, context == Context::Script ? script : style)) {
                context = Context::Html;
            }
        }
        char32_t cp = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && page[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, page[i + 1]);
            ++i;
        } else if (cp < 0x80 || inCodePage(cp)) {
            out += c;
            continue;
        }
        appendEscape(out, cp, context);
    }
    return out;
}

void appendUtf8(QByteArray &out, QStringView text)
{
    // Qt's encoder, into out; it writes U+FFFD for a lone surrogate where
    // QString::toUtf8() writes "?", so such a text is written here.
    const qsizetype at = out.size();
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    out.resize(at + encoder.requiredSpace(text.size()));
    char *end = encoder.appendToBuffer(out.data() + at, text);
    if (!encoder.hasError()) {
        out.truncate(end - out.constData());
        return;
    }
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    auto *begin = reinterpret_cast<uchar *>(out.data());
    uchar *o = begin + at;
    for (qsizetype i = 0; i < n;) {
        const char16_t c = p[i++];
        if (c < 0x80) {
            *o++ = uchar(c);
        } else if (c < 0x800) {
            *o++ = uchar(0xC0 | (c >> 6));
            *o++ = uchar(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(p[i])) {
            const char32_t cp = QChar::surrogateToUcs4(c, p[i++]);
            *o++ = uchar(0xF0 | (cp >> 18));
            *o++ = uchar(0x80 | ((cp >> 12) & 0x3F));
            *o++ = uchar(0x80 | ((cp >> 6) & 0x3F));
            *o++ = uchar(0x80 | (cp & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            *o++ = '?';
        } else {
            *o++ = uchar(0xE0 | (c >> 12));
            *o++ = uchar(0x80 | ((c >> 6) & 0x3F));
            *o++ = uchar(0x80 | (c & 0x3F));
        }
    }
    out.truncate(o - begin);
}

QByteArray toUtf8(QStringView text, QByteArray room)
{
    room.resize(0);
    appendUtf8(room, text);
    return room;
}

QByteArray pageBytes(const QString &page, const QString &encoding, QByteArray room)
{
    if (namesUtf8(encoding))
        return toUtf8(page, std::move(room));
    return toCodePage(withCodePageEscapes(page));
}

} // namespace TextCodec
