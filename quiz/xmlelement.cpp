#include "xmlelement.h"

#include <QFile>
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

