#include "pagetext.h"

#include <iterator>

namespace PageText {

namespace {

// Writes the digits of n to the end of buf and returns where they start.
char16_t *digitsOf(qint64 n, char16_t (&buf)[24])
{
    char16_t *p = std::end(buf);
    // As unsigned, so that the smallest number has its digits too.
    quint64 u = n < 0 ? 0 - quint64(n) : quint64(n);
    do {
        *--p = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u);
    if (n < 0)
        *--p = u'-';
    return p;
}

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

// Builds the escaped form of a text run by run: the stretches between the
// characters that change are copied whole, and a text in which nothing
// changes is returned itself, without a copy.
class RunCopy
{
public:
    explicit RunCopy(const QString &text)
        : m_text(text)
    {
    }
    // Puts replacement in place of the characters from..to (exclusive).
    void replace(qsizetype from, qsizetype to, QStringView replacement)
    {
        if (m_out.isNull())
            m_out.reserve(m_text.size() + 16);
        m_out.append(m_text.constData() + m_start, from - m_start);
        m_out.append(replacement);
        m_start = to;
    }
    QString result()
    {
        if (m_out.isNull())
            return m_text;
        m_out.append(m_text.constData() + m_start, m_text.size() - m_start);
        return std::move(m_out);
    }

private:
    const QString &m_text;
    QString m_out;
    qsizetype m_start = 0;
};

} // namespace

QString num(qint64 n)
{
    char16_t buf[24];
    const char16_t *p = digitsOf(n, buf);
    return QString(reinterpret_cast<const QChar *>(p), std::end(buf) - p);
}

void appendNumber(QString &out, qint64 n)
{
    char16_t buf[24];
    const char16_t *p = digitsOf(n, buf);
    out.append(reinterpret_cast<const QChar *>(p), std::end(buf) - p);
}

QString htmlText(const QString &text)
{
    RunCopy out(text);
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = p[i].unicode();
        if (c == u'&' && startsReference(text, i))
            out.replace(i, i + 1, u"&amp;");
        else if (c == u'<' && startsTag(text, i))
            out.replace(i, i + 1, u"&lt;");
    }
    return out.result();
}

QString htmlAttribute(const QString &text)
{
    RunCopy out(text);
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = p[i].unicode();
        if (c == u'"')
            out.replace(i, i + 1, u"&quot;");
        else if (c == u'&' && startsReference(text, i))
            out.replace(i, i + 1, u"&amp;");
        else if (c == u'<' && i + 1 < text.size() && p[i + 1] == QLatin1Char('!'))
            out.replace(i, i + 1, u"&lt;");
    }
    return out.result();
}

QString htmlEscaped(const QString &text)
{
    RunCopy out(text);
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (p[i].unicode()) {
        case u'<':
            out.replace(i, i + 1, u"&lt;");
            break;
        case u'>':
            out.replace(i, i + 1, u"&gt;");
            break;
        case u'&':
            out.replace(i, i + 1, u"&amp;");
            break;
        case u'"':
            out.replace(i, i + 1, u"&quot;");
            break;
        default:
            break;
        }
    }
    return out.result();
}

QString htmlMarkup(const QString &text)
{
    const QString open = QStringLiteral("<!--");
    // Most texts hold no "<" at all; the search for one character is fast.
    if (!text.contains(QLatin1Char('<')))
        return text;
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
    RunCopy out(text);
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (p[i].unicode()) {
        case u'\\':
            out.replace(i, i + 1, u"\\\\");
            break;
        case u'"':
            out.replace(i, i + 1, u"\\\"");
            break;
        case u'\r':
            out.replace(i, i + 1, u"\\r");
            break;
        case u'\n':
            out.replace(i, i + 1, u"\\n");
            break;
        case 0x2028:
            out.replace(i, i + 1, u"\\u2028");
            break;
        case 0x2029:
            out.replace(i, i + 1, u"\\u2029");
            break;
        case u'/':
            // "</" would end the script element in the middle of the string,
            // and "<!" would let a placeholder of the template in.
            if (i > 0 && p[i - 1] == QLatin1Char('<'))
                out.replace(i, i + 1, u"\\/");
            break;
        case u'!':
            if (i > 0 && p[i - 1] == QLatin1Char('<'))
                out.replace(i, i + 1, u"\\!");
            break;
        default:
            break;
        }
    }
    return out.result();
}

} // namespace PageText
