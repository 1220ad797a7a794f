#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// A small XML tree for the program's two XML files. An element without
// child elements keeps its text exactly, blanks and line breaks included; an
// element that holds elements keeps no text.
struct XmlElement {
    QString name;
    QString text; // character data of an element without children
    std::vector<XmlElement> children;

    XmlElement() = default;
    XmlElement(XmlElement &&) = default;
    XmlElement &operator=(XmlElement &&) = default;
    // A copy would recurse as deep as the tree; nothing needs one.
    XmlElement(const XmlElement &) = delete;
    XmlElement &operator=(const XmlElement &) = delete;
    // Frees the tree without recursion, however deep it is.
    ~XmlElement();

    // The first child of that name, or null.
    const XmlElement *child(const QString &childName) const;
    XmlElement *child(const QString &childName);
    // The element's text; fails for an element that holds other elements.
    bool readText(QString *out) const;
    // The same, but the text moves to out and the element keeps none.
    bool takeText(QString *out);
};

// Bounds that no file of this program comes near and that every hostile file
// meets: the file's size and the depth of its elements.
namespace XmlLimits {
constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
constexpr int kMaxDepth = 256;
} // namespace XmlLimits

// Parses a whole document into its document element. A document type
// declaration that declares entities is refused, as is a reference to an
// entity that cannot be resolved, a file beyond the limits above and a file
// that does not fit into memory: reason then holds a German explanation.
// For a file that is simply not well-formed XML reason stays empty.
bool parseXml(const QByteArray &data, XmlElement *root, QString *reason = nullptr);

// The children of one element handed over as each one ends, instead of being
// kept in the tree: a long list is then read in the memory of one of its
// items, while that is still in the cache. The element is the one reached
// from the document element by its first child named path[0], that one's
// first child named path[1], and so on; an empty path names the document
// element. take may empty the child it is given. It sees the children that
// the whole tree would hold, in their order, but of a document that is
// refused further on it may have seen some already.
struct XmlChildStream {
    QStringList path;
    std::function<void(XmlElement &child)> take;
};
bool parseXml(const QByteArray &data, XmlElement *root, QString *reason, const XmlChildStream &stream);
class QIODevice;
enum class ReadResult { Ok, TooLarge, Failed };
// Reads what device holds, up to limit bytes; TooLarge when it holds more,
// Failed on a read error (the device's errorString() tells why).
ReadResult readAtMost(QIODevice &device, qint64 limit, QByteArray *data);
// Reads a file of at most XmlLimits::kMaxFileBytes; reason holds why not.
bool readXmlFile(const QString &path, QByteArray *data, QString *reason = nullptr);
bool parseXmlFile(const QString &path, XmlElement *root, QString *reason = nullptr);
