#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// A small XML tree for the program's two XML files. Text that consists of
// whitespace only between elements is dropped, while an element without
// child elements keeps its text exactly, blanks and line breaks included.
struct XmlElement {
    QString name;
    QString text; // character data directly inside the element
    std::vector<XmlElement> children;

    // The first child of that name, or null.
    const XmlElement *child(const QString &childName) const;
    // The element's text; fails for an element that holds other elements.
    bool readText(QString *out) const;
};

// Parses a whole document into its document element.
bool parseXml(const QByteArray &data, XmlElement *root, QString *error = nullptr);
bool parseXmlFile(const QString &path, XmlElement *root, QString *error = nullptr);

// Writes elements one per line, indented by two spaces per level, with the
// reserved characters escaped and each CR LF of a value written as the
// literal characters CR CR LF, so that a parser delivers two LF for it.
class XmlWriter
{
public:
    void startElement(const QString &name);
    void endElement();
    void textElement(const QString &name, const QString &value);
    QByteArray toUtf8() const { return m_out.toUtf8(); }

private:
    void indent();
    QString m_out;
    std::vector<QString> m_open;
    std::vector<qsizetype> m_openEnd; // where each open element's content starts
};

// Writes data to path through QSaveFile: a failed write leaves an existing
// file as it was. On failure error holds the platform's text.
bool writeFileSafely(const QString &path, const QByteArray &data, QString *error);
