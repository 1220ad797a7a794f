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

void XmlWriter::indent() { m_out += QString(int(m_open.size()) * 2, QLatin1Char(' ')); }

void XmlWriter::startElement(const QString &name)
{
    indent();
    m_out += QLatin1Char('<') + name + QStringLiteral(">\n");
    m_open.push_back(name);
}

void XmlWriter::endElement()
{
    const QString name = m_open.back();
    m_open.pop_back();
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
    m_out.reserve(m_out.size() + value.size() + name.size() + 4);
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
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
            m_out += c;
            if (i + 1 < value.size() && value[i + 1] == QLatin1Char('\n'))
                m_out += c;
            break;
        default:
            // Control characters other than tab and line breaks cannot stand
            // in an XML 1.0 document at all: a file holding one could never
            // be read again, so they are left out.
            if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
                break;
            if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
                break;
            m_out += c;
        }
    }
    m_out += QStringLiteral("</") + name + QStringLiteral(">\n");
}

bool writeFileSafely(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    if (f.write(data) != data.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}
