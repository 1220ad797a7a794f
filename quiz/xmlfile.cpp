#include "xmlfile.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

const XmlElement *XmlElement::child(const QString &childName) const
{
    for (const XmlElement &c : children)
        if (c.name == childName)
            return &c;
    return nullptr;
}

bool XmlElement::readText(QString *out) const
{
    if (!children.empty())
        return false;
    *out = text;
    return true;
}

namespace {
bool isWhitespaceOnly(const QString &s)
{
    for (QChar c : s)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            return false;
    return true;
}

// Drops whitespace-only text of elements that hold elements.
void dropLayoutText(XmlElement &e)
{
    if (!e.children.empty() && isWhitespaceOnly(e.text))
        e.text.clear();
    for (XmlElement &c : e.children)
        dropLayoutText(c);
}
} // namespace

bool parseXml(const QByteArray &data, XmlElement *root, QString *error)
{
    QXmlStreamReader reader(data);
    std::vector<XmlElement *> stack;
    XmlElement doc;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            XmlElement e;
            e.name = reader.name().toString();
            if (stack.empty()) {
                doc = std::move(e);
                haveRoot = true;
                stack.push_back(&doc);
            } else {
                stack.back()->children.push_back(std::move(e));
                stack.push_back(&stack.back()->children.back());
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            stack.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!stack.empty())
                stack.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError() || !haveRoot) {
        if (error)
            *error = reader.hasError() ? reader.errorString() : QStringLiteral("no document element");
        return false;
    }
    dropLayoutText(doc);
    *root = std::move(doc);
    return true;
}

bool parseXmlFile(const QString &path, XmlElement *root, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return parseXml(f.readAll(), root, error);
}

void XmlWriter::indent()
{
    m_out += QString(int(m_open.size()) * 2, QLatin1Char(' '));
}

void XmlWriter::startElement(const QString &name)
{
    indent();
    m_out += QLatin1Char('<') + name + QStringLiteral(">\n");
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
        m_out += QStringLiteral("/>\n");
        return;
    }
    indent();
    m_out += QStringLiteral("</") + name + QStringLiteral(">\n");
}

void XmlWriter::textElement(const QString &name, const QString &value)
{
    indent();
    if (value.isEmpty()) {
        m_out += QLatin1Char('<') + name + QStringLiteral("/>\n");
        return;
    }
    m_out += QLatin1Char('<') + name + QLatin1Char('>');
    // Copies stretches between the characters that need a change.
    const QChar *p = value.constData();
    const int n = value.size();
    int start = 0;
    auto flush = [&](int end) { m_out.append(p + start, end - start); };
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
            m_out += QStringLiteral("&amp;");
            break;
        case '<':
            m_out += QStringLiteral("&lt;");
            break;
        case '>':
            m_out += QStringLiteral("&gt;");
            break;
        case '\r':
            // CR LF becomes CR CR LF; a parser turns it into two LF.
            m_out += QLatin1Char('\r');
            if (i + 1 < n && p[i + 1] == QLatin1Char('\n'))
                m_out += QLatin1Char('\r');
            break;
        default:
            // Control characters other than tab and line breaks cannot stand
            // in an XML 1.0 document at all: a file holding one could never
            // be read again, so they are left out.
            break;
        }
    }
    flush(n);
    m_out += QStringLiteral("</") + name + QStringLiteral(">\n");
}

bool writeFileSafely(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile f(path);
    // Unbuffered, so that a full disk shows in write() itself: commit() does
    // not report a failed flush of its buffer.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = f.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            if (error)
                *error = f.errorString();
            f.cancelWriting();
            return false;
        }
        written += n;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}
