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

