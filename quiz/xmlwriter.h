#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Writes elements one per line, indented by two spaces per level, with the
// reserved characters escaped and each CR LF of a value written as the
// literal characters CR CR LF, so that a parser delivers two LF for it; a
// lone CR is written as "&#13;", which a parser delivers as CR.
class XmlWriter
{
public:
    void startElement(const QString &name);
    void endElement();
    void textElement(const QString &name, const QString &value);
    QByteArray toUtf8() const { return m_out; }

private:
    void indent();
    // Appends an element name; names are ASCII, which is copied as it is.
    void appendName(const QString &name);
    // The document in UTF-8 as it is written, so that it is not held a
    // second time in UTF-16.
    QByteArray m_out;
    std::vector<QString> m_open;
    std::vector<qsizetype> m_openEnd; // where each open element's content starts
};

