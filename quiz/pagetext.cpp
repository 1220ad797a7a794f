#include "pagetext.h"

namespace PageText {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// An "&" at i that the browser may read as the start of a character
// reference: a letter, a digit or "#" follows.
bool startsReference(const QString &text, qsizetype i)
{
    if (i + 1 >= text.size())
        return false;
    const QChar next = text[i + 1];
    return isAsciiLetter(next) || isAsciiDigit(next) || next == QLatin1Char('#');
}

// A "<" at i that opens a tag, an end tag, a comment or a declaration.
bool startsTag(const QString &text, qsizetype i)
{
    if (i + 1 >= text.size())
        return false;
    const QChar next = text[i + 1];
    return isAsciiLetter(next) || next == QLatin1Char('/') || next == QLatin1Char('!') || next == QLatin1Char('?');
}

} // namespace

QString htmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('&') && startsReference(text, i))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<') && startsTag(text, i))
            out += QStringLiteral("&lt;");
        else
            out += c;
    }
    return out;
}

QString htmlAttribute(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            out += QStringLiteral("&quot;");
        else if (c == QLatin1Char('&') && startsReference(text, i))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<') && i + 1 < text.size() && text[i + 1] == QLatin1Char('!'))
            out += QStringLiteral("&lt;");
        else
            out += c;
    }
    return out;
}

QString htmlMarkup(const QString &text)
{
    const QString open = QStringLiteral("<!--");
    qsizetype at = text.indexOf(open);
    while (at >= 0) {
        // "<!-->" and "<!--->" are whole comments; otherwise "-->" or "--!>" closes.
        qsizetype end = text.indexOf(QStringLiteral("-->"), at + 2);
        if (end >= 0)
            end += 3;
        const qsizetype bang = text.indexOf(QStringLiteral("--!>"), at + 4);
        if (bang >= 0 && (end < 0 || bang + 4 < end))
            end = bang + 4;
        if (end < 0) {
            // Nothing closes from here on, so every "<!--" left would open a comment.
            QString rest = text.mid(at);
            rest.replace(open, QStringLiteral("&lt;!--"));
            return text.left(at) + rest;
        }
        at = text.indexOf(open, end);
    }
    return text;
}

QString markupAsAttribute(const QString &markup)
{
    QString out;
    out.reserve(markup.size());
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const QChar c = markup[i];
        if (c == QLatin1Char('<') && startsTag(markup, i)) {
            const qsizetype close = markup.indexOf(QLatin1Char('>'), i);
            if (close < 0)
                break;
            i = close;
        } else if (c == QLatin1Char('"')) {
            out += QStringLiteral("&quot;");
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!out.endsWith(QLatin1Char(' ')))
                out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

QString jsString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case 0x2028:
            out += QStringLiteral("\\u2028");
            break;
        case 0x2029:
            out += QStringLiteral("\\u2029");
            break;
        case u'/':
        case u'!':
            // "</" would end the script element in the middle of the string,
            // and "<!" would let a placeholder of the template in.
            if (i > 0 && text[i - 1] == QLatin1Char('<'))
                out += QLatin1Char('\\');
            out += c;
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace PageText
