#include "xmlelement.h"
#include "outofmemory.h"

#include <QFile>
#include <QHash>
#include <QStringConverter>
#include <QXmlStreamReader>

#include <new>
#include <algorithm>
#include <optional>

XmlElement::~XmlElement()
{
    // Children are taken apart one level at a time, so that no destructor
    // runs deeper than one element, however deeply the file nested them.
    if (children.empty())
        return;
    std::vector<XmlElement> pending;
    auto takeInner = [&pending](std::vector<XmlElement> &list) {
        for (XmlElement &c : list)
            if (!c.children.empty())
                pending.push_back(std::move(c));
        list.clear(); // now only elements without children
    };
    takeInner(children);
    while (!pending.empty()) {
        XmlElement e = std::move(pending.back());
        pending.pop_back();
        takeInner(e.children);
    }
}

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


// A document type declaration that declares entities: refused before the
// parser sees it, since the parser expands parameter entities in it at once.
template<typename Text, typename Needle>
bool declaresEntities(const Text &text, Needle doctype, Needle entity)
{
    const qsizetype d = text.indexOf(doctype);
    return d >= 0 && text.indexOf(entity, d) >= 0;
}

// The encoding named in the XML declaration at the start of data, or an
// empty name when there is none; false when the declaration cannot be read.
bool declaredEncoding(const QByteArray &data, QByteArray *name)
{
    name->clear();
    if (!data.startsWith("<?xml"))
        return true;
    const qsizetype end = data.indexOf("?>");
    if (end < 0)
        return false;
    const QByteArray decl = data.left(end);
    qsizetype i = decl.indexOf("encoding");
    if (i < 0)
        return true;
    i += 8;
    auto skipBlanks = [&] {
        while (i < decl.size() && (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n'))
            ++i;
    };
    skipBlanks();
    if (i >= decl.size() || decl[i] != '=')
        return false;
    ++i;
    skipBlanks();
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return false;
    const char quote = decl[i++];
    const qsizetype close = decl.indexOf(quote, i);
    if (close < 0)
        return false;
    *name = decl.mid(i, close - i);
    return true;
}

// What the parser reads: UTF-8 files, the program's own, as they are; any
// other encoding decoded here, so that the check for entity declarations
// sees exactly the text that the parser will see.
struct Input {
    bool ok = true;
    bool decoded = false;
    QString text;
};

Input prepareInput(const QByteArray &data)
{
    Input in;
    std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(data, u'<');
    QByteArray name;
    if (bom && *bom == QStringConverter::Utf8) {
        // The mark decides; a declaration that says otherwise must not make
        // the parser read the bytes differently from the check.
        if (declaredEncoding(data.mid(3), &name) && (name.isEmpty() || name.compare("UTF-8", Qt::CaseInsensitive) == 0))
            return in;
    }
    if (bom) {
        QStringDecoder decoder(*bom);
        in.text = decoder(data);
        in.decoded = true;
        in.ok = !decoder.hasError();
        return in;
    }
    if (!declaredEncoding(data, &name)) {
        in.ok = false;
        return in;
    }
    if (name.isEmpty() || name.compare("UTF-8", Qt::CaseInsensitive) == 0)
        return in;
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) {
        in.ok = false;
        return in;
    }
    in.text = decoder(data);
    in.decoded = true;
    in.ok = !decoder.hasError();
    return in;
}

bool parseWith(QXmlStreamReader &reader, XmlElement *root, QString *reason)
{
    std::vector<XmlElement *> stack;
    XmlElement doc;
    bool haveRoot = false;
    // Element names repeat: each distinct name is allocated once and shared.
    QHash<QStringView, QString> names;
    auto nameOf = [&names](QStringView n) {
        const auto it = names.constFind(n);
        if (it != names.cend())
            return *it;
        QString s = n.toString();
        if (names.size() < 4096)
            names.insert(QStringView(s), s);
        return s;
    };
    auto refuse = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return refuse(QStringLiteral("Die Datei deklariert Entitäten; solche Dateien werden nicht gelesen."));
            break;
        case QXmlStreamReader::StartElement: {
            if (stack.size() >= size_t(XmlLimits::kMaxDepth))
                return refuse(QStringLiteral("Die Elemente der Datei sind tiefer als %1 Ebenen verschachtelt.").arg(XmlLimits::kMaxDepth));
            XmlElement e;
            e.name = nameOf(reader.name());
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
        case QXmlStreamReader::EndElement: {
            XmlElement *e = stack.back();
            if (!e->children.empty() && isWhitespaceOnly(e->text))
                e->text.clear();
            stack.pop_back();
            break;
        }
        case QXmlStreamReader::Characters:
            // Layout between child elements is not kept: an element that
            // holds elements has no text to read.
            if (!stack.empty() && !(reader.isWhitespace() && !stack.back()->children.empty()))
                stack.back()->text += reader.text();
            break;
        case QXmlStreamReader::EntityReference:
            // Left unresolved by the parser (declared in an outside file):
            // loading without its text would lose it silently.
            return refuse(QStringLiteral("Die Datei verweist auf die Entität \"%1\", die nicht aufgelöst werden kann.")
                              .arg(reader.name().toString()));
        default:
            break;
        }
    }
    if (reader.hasError() || !haveRoot)
        return false;
    *root = std::move(doc);
    return true;
}

} // namespace

bool parseXml(const QByteArray &data, XmlElement *root, QString *reason)
{
    if (reason)
        reason->clear();
    try {
        if (data.size() > XmlLimits::kMaxFileBytes) {
            if (reason)
                *reason = QStringLiteral("Die Datei ist größer als %1 MB.").arg(XmlLimits::kMaxFileBytes / (1024 * 1024));
            return false;
        }
        const Input in = prepareInput(data);
        if (!in.ok)
            return false;
        const bool entities = in.decoded ? declaresEntities(in.text, QLatin1String("<!DOCTYPE"), QLatin1String("<!ENTITY"))
                                         : declaresEntities(data, "<!DOCTYPE", "<!ENTITY");
        if (entities) {
            if (reason)
                *reason = QStringLiteral("Die Datei deklariert Entitäten; solche Dateien werden nicht gelesen.");
            return false;
        }
        if (in.decoded) {
            QXmlStreamReader reader(in.text);
            return parseWith(reader, root, reason);
        }
        QXmlStreamReader reader(data);
        return parseWith(reader, root, reason);
    } catch (const std::bad_alloc &) {
        if (reason)
            *reason = OutOfMemory::reading();
        return false;
    }
}

ReadResult readAtMost(QIODevice &device, qint64 limit, QByteArray *data)
{
    // In pieces up to one byte past the limit: a device that gives no size
    // (a pipe, /dev/zero) is bounded all the same.
    QByteArray out;
    if (!device.isSequential())
        out.reserve(qsizetype(std::min(device.size() - device.pos(), limit) + 1));
    constexpr qint64 kChunk = 1 << 20;
    for (;;) {
        const qint64 room = limit + 1 - out.size();
        if (room <= 0)
            return ReadResult::TooLarge;
        const qsizetype old = out.size();
        out.resize(old + qsizetype(std::min(kChunk, room)));
        const qint64 n = device.read(out.data() + old, out.size() - old);
        if (n < 0)
            return ReadResult::Failed;
        out.resize(old + qsizetype(n));
        if (n == 0)
            break;
    }
    *data = std::move(out);
    return ReadResult::Ok;
}

bool readXmlFile(const QString &path, QByteArray *data, QString *reason)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = f.errorString();
        return false;
    }
    try {
        switch (readAtMost(f, XmlLimits::kMaxFileBytes, data)) {
        case ReadResult::Ok:
            return true;
        case ReadResult::TooLarge:
            if (reason)
                *reason = QStringLiteral("Die Datei ist größer als %1 MB.").arg(XmlLimits::kMaxFileBytes / (1024 * 1024));
            return false;
        case ReadResult::Failed:
            if (reason)
                *reason = QStringLiteral("Die Datei kann nicht gelesen werden: ") + f.errorString();
            return false;
        }
    } catch (const std::bad_alloc &) {
        if (reason)
            *reason = OutOfMemory::reading();
    }
    return false;
}

bool parseXmlFile(const QString &path, XmlElement *root, QString *reason)
{
    QByteArray data;
    return readXmlFile(path, &data, reason) && parseXml(data, root, reason);
}
