#include "xmlwriter.h"

#include "textcodec.h"

void XmlWriter::indent()
{
    m_out.resize(m_out.size() + qsizetype(m_open.size()) * 2, ' ');
}

void XmlWriter::appendName(const QString &name)
{
    const qsizetype at = m_out.size();
    m_out.resize(at + name.size());
    char *o = m_out.data() + at;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            m_out.truncate(at);
            TextCodec::appendUtf8(m_out, name);
            return;
        }
        *o++ = char(c.unicode());
    }
}

void XmlWriter::startElement(const QString &name)
{
    indent();
    m_out += '<';
    appendName(name);
    m_out += ">\n";
    m_open.push_back(name);
    m_openEnd.push_back(m_out.size());
}

void XmlWriter::endElement()
{
    const QString name = m_open.back();
    const qsizetype contentStart = m_openEnd.back();
    m_open.pop_back();
    m_openEnd.pop_back();
    if (m_out.size() == contentStart) {
        // An element without children is written empty, like an empty value.
        m_out.chop(2);
        m_out += "/>\n";
        return;
    }
    indent();
    m_out += "</";
    appendName(name);
    m_out += ">\n";
}

void XmlWriter::textElement(const QString &name, const QString &value)
{
    indent();
    m_out += '<';
    appendName(name);
    if (value.isEmpty()) {
        m_out += "/>\n";
        return;
    }
    m_out += '>';
    // Copies stretches between the characters that need a change. No
    // stretch ends inside a surrogate pair, since every change is at an
    // ASCII character.
    const QChar *p = value.constData();
    const int n = value.size();
    int start = 0;
    auto flush = [&](int end) { TextCodec::appendUtf8(m_out, QStringView(p + start, end - start)); };
    for (int i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c >= 0x20 && c != '&' && c != '<' && c != '>' && c != 0xFFFE && c != 0xFFFF)
            continue;
        if (c == '\t' || c == '\n')
            continue;
        flush(i);
        start = i + 1;
        switch (c) {
        case '&':
            m_out += "&amp;";
            break;
        case '<':
            m_out += "&lt;";
            break;
        case '>':
            m_out += "&gt;";
            break;
        case '\r':
            // CR LF becomes CR CR LF; a parser turns it into two LF. A lone
            // CR would come back as LF, so it goes as a character reference,
            // which a parser delivers unchanged.
            if (i + 1 < n && p[i + 1] == QLatin1Char('\n'))
                m_out += "\r\r";
            else
                m_out += "&#13;";
            break;
        default:
            // Control characters other than tab and line breaks cannot stand
            // in an XML 1.0 document at all: a file holding one could never
            // be read again, so they are left out.
            break;
        }
    }
    flush(n);
    m_out += "</";
    appendName(name);
    m_out += ">\n";
}
