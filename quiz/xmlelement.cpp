#include "xmlelement.h"
#include "outofmemory.h"

#include "charscan.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringConverter>

#include <new>
#include <algorithm>
#include <array>
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
    // "<?xml-stylesheet" and the like are instructions, not the declaration.
    if (!data.startsWith("<?xml") || data.size() < 6 || !(data[5] == ' ' || data[5] == '\t' || data[5] == '\r' || data[5] == '\n'))
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

// Character classes of the ASCII range for names and for the end of a run
// of character data.
enum : uchar { kNameStart = 1, kNameChar = 2, kTextStop = 4 };

constexpr std::array<uchar, 128> asciiClasses()
{
    std::array<uchar, 128> t{};
    for (int c = 'a'; c <= 'z'; ++c)
        t[size_t(c)] = kNameStart | kNameChar;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[size_t(c)] = kNameStart | kNameChar;
    for (int c = '0'; c <= '9'; ++c)
        t[size_t(c)] = kNameChar;
    t[size_t('_')] = kNameStart | kNameChar;
    t[size_t(':')] = kNameStart | kNameChar;
    t[size_t('-')] = kNameChar;
    t[size_t('.')] = kNameChar;
    t[size_t('<')] = kTextStop;
    t[size_t('&')] = kTextStop;
    t[size_t(']')] = kTextStop;
    t[size_t('\r')] = kTextStop;
    return t;
}
constexpr std::array<uchar, 128> kAscii = asciiClasses();

// Name characters outside ASCII by their Unicode category, as the first
// edition of XML derived them: letters start a name, and digits, marks and
// modifier letters may follow.
bool isNameStartChar(char16_t c)
{
    if (c < 0x80)
        return kAscii[c] & kNameStart;
    switch (QChar::category(char32_t(c))) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Other:
    case QChar::Number_Letter:
        return true;
    default:
        return false;
    }
}

bool isNameChar(char16_t c)
{
    if (c < 0x80)
        return kAscii[c] & kNameChar;
    if (isNameStartChar(c) || c == 0xB7)
        return true;
    switch (QChar::category(char32_t(c))) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Letter_Modifier:
        return true;
    default:
        return false;
    }
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Every character of the document must be one that XML allows: no control
// characters but tab and line breaks, no lone surrogate, no U+FFFE or U+FFFF.
bool allXmlChars(QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while ((i = indexOfControlOrHigh(text, i)) >= 0) {
        const char16_t c = p[i];
        if (c < 0x20) {
            if (c != u'\t' && c != u'\n' && c != u'\r')
                return false;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= n || !QChar::isLowSurrogate(p[i + 1]))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
        ++i;
    }
    return true;
}

// A reader for well-formed XML 1.0 with namespaces, just large enough for the
// program's files: it builds the tree of elements and their text, checks
// every rule of well-formedness that a file of the program could break, and
// ignores attributes beyond checking them. It works in one loop over the
// text, without recursion, and looks at most characters once.
class Parser
{
public:
    Parser(QStringView text, QString *reason)
        : m_p(text.utf16())
        , m_n(text.size())
        , m_reason(reason)
    {
    }

    bool parse(XmlElement *root)
    {
        if (startsWith(u"<?xml") && m_i + 5 < m_n && (isSpace(m_p[m_i + 5]) || m_p[m_i + 5] == u'?')) {
            if (!xmlDeclaration())
                return false;
        }
        // The prolog: comments, processing instructions, document types.
        for (;;) {
            skipSpace();
            if (m_i >= m_n)
                return false;
            if (startsWith(u"<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith(u"<?")) {
                if (!processingInstruction())
                    return false;
            } else if (startsWith(u"<!DOCTYPE")) {
                if (!doctypeDeclaration())
                    return false;
            } else if (at(u'<')) {
                break;
            } else {
                return false;
            }
        }
        XmlElement doc;
        if (!content(&doc))
            return false;
        // After the document element: comments, instructions and blanks.
        for (;;) {
            skipSpace();
            if (m_i >= m_n)
                break;
            if (startsWith(u"<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith(u"<!DOCTYPE")) {
                if (!doctypeDeclaration())
                    return false;
            } else if (startsWith(u"<?")) {
                if (!processingInstruction())
                    return false;
            } else {
                return false;
            }
        }
        *root = std::move(doc);
        return true;
    }

private:
    struct Open {
        XmlElement *element;
        QStringView qualifiedName;
    };
    struct Prefix {
        QStringView name;
        size_t depth;
    };

    bool at(char16_t c) const { return m_i < m_n && m_p[m_i] == c; }

    template<size_t N>
    bool startsWith(const char16_t (&s)[N]) const
    {
        constexpr qsizetype len = qsizetype(N) - 1;
        if (m_n - m_i < len)
            return false;
        for (qsizetype k = 0; k < len; ++k)
            if (m_p[m_i + k] != s[k])
                return false;
        return true;
    }

    void skipSpace()
    {
        while (m_i < m_n && isSpace(m_p[m_i]))
            ++m_i;
    }

    bool requireSpace()
    {
        if (m_i >= m_n || !isSpace(m_p[m_i]))
            return false;
        skipSpace();
        return true;
    }

    // A name at the current place, or an empty view.
    QStringView name()
    {
        const qsizetype from = m_i;
        if (m_i >= m_n || !isNameStartChar(m_p[m_i]))
            return {};
        ++m_i;
        while (m_i < m_n && isNameChar(m_p[m_i]))
            ++m_i;
        return QStringView(m_p + from, m_i - from);
    }

    // Moves past the next occurrence of end; false when there is none.
    template<size_t N>
    bool skipPast(const char16_t (&end)[N], qsizetype *found = nullptr)
    {
        const qsizetype at = QStringView(m_p, m_n).indexOf(QStringView(end, qsizetype(N) - 1), m_i);
        if (at < 0)
            return false;
        if (found)
            *found = at;
        m_i = at + qsizetype(N) - 1;
        return true;
    }

    bool comment()
    {
        m_i += 4;
        qsizetype dashes = 0;
        // "--" may only close the comment.
        if (!skipPast(u"--", &dashes))
            return false;
        return at(u'>') && (++m_i, true);
    }

    bool processingInstruction()
    {
        m_i += 2;
        const QStringView target = name();
        if (target.isEmpty() || target.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0 || target.contains(QLatin1Char(':')))
            return false;
        if (startsWith(u"?>")) {
            m_i += 2;
            return true;
        }
        return requireSpace() && skipPast(u"?>");
    }

    // A quoted value; its text between the quotes in value.
    bool quoted(QStringView *value)
    {
        if (!at(u'"') && !at(u'\''))
            return false;
        const char16_t quote = m_p[m_i++];
        const qsizetype from = m_i;
        while (m_i < m_n && m_p[m_i] != quote)
            ++m_i;
        if (m_i >= m_n)
            return false;
        *value = QStringView(m_p + from, m_i - from);
        ++m_i;
        return true;
    }

    bool equalsSign()
    {
        skipSpace();
        if (!at(u'='))
            return false;
        ++m_i;
        skipSpace();
        return true;
    }

    bool xmlDeclaration()
    {
        m_i += 5;
        QStringView value;
        if (!requireSpace() || !startsWith(u"version"))
            return false;
        m_i += 7;
        // Only XML 1.0 is read.
        if (!equalsSign() || !quoted(&value) || value != QLatin1String("1.0"))
            return false;
        bool space = requireSpace();
        if (space && startsWith(u"encoding")) {
            m_i += 8;
            if (!equalsSign() || !quoted(&value) || value.isEmpty())
                return false;
            for (qsizetype k = 0; k < value.size(); ++k) {
                const char16_t c = value[k].unicode();
                const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
                if (!letter && (k == 0 || !((c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-')))
                    return false;
            }
            space = requireSpace();
        }
        if (space && startsWith(u"standalone")) {
            m_i += 10;
            if (!equalsSign() || !quoted(&value) || (value != QLatin1String("yes") && value != QLatin1String("no")))
                return false;
            skipSpace();
        }
        if (!startsWith(u"?>"))
            return false;
        m_i += 2;
        return true;
    }

    bool doctypeDeclaration()
    {
        m_i += 9;
        if (!requireSpace() || name().isEmpty())
            return false;
        const bool space = requireSpace();
        QStringView literal;
        if (space && startsWith(u"SYSTEM")) {
            m_i += 6;
            if (!requireSpace() || !quoted(&literal))
                return false;
            m_outsideDefinitions = true;
            skipSpace();
        } else if (space && startsWith(u"PUBLIC")) {
            m_i += 6;
            if (!requireSpace() || !quoted(&literal) || !requireSpace() || !quoted(&literal))
                return false;
            m_outsideDefinitions = true;
            skipSpace();
        }
        if (at(u'[')) {
            ++m_i;
            if (!internalSubset())
                return false;
            skipSpace();
        }
        if (!at(u'>'))
            return false;
        ++m_i;
        return true;
    }

    // The declarations between "[" and "]": element, attribute list and
    // notation declarations are passed over whole, with their quoted values.
    // Entity declarations never get here.
    bool internalSubset()
    {
        for (;;) {
            skipSpace();
            if (m_i >= m_n)
                return false;
            if (at(u']')) {
                ++m_i;
                return true;
            }
            if (startsWith(u"<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith(u"<?")) {
                if (!processingInstruction())
                    return false;
            } else if (startsWith(u"<!ELEMENT") || startsWith(u"<!ATTLIST") || startsWith(u"<!NOTATION")) {
                m_i += 2;
                while (m_i < m_n && m_p[m_i] != u'>') {
                    QStringView value;
                    if (at(u'"') || at(u'\'')) {
                        if (!quoted(&value))
                            return false;
                    } else if (at(u'<')) {
                        return false;
                    } else {
                        ++m_i;
                    }
                }
                if (m_i >= m_n)
                    return false;
                ++m_i;
            } else if (at(u'%')) {
                // A parameter entity can only be defined in the outside file.
                ++m_i;
                if (!m_outsideDefinitions || name().isEmpty() || !at(u';'))
                    return false;
                ++m_i;
            } else {
                return false;
            }
        }
    }

    bool refuse(const QString &text)
    {
        if (m_reason)
            *m_reason = text;
        return false;
    }

    // A reference after "&": the character it stands for goes to out (when
    // given). A named entity other than the five of XML cannot be resolved.
    bool reference(QString *out, bool inAttribute = false)
    {
        ++m_i;
        if (at(u'#')) {
            ++m_i;
            const bool hex = at(u'x');
            if (hex)
                ++m_i;
            const qsizetype from = m_i;
            char32_t value = 0;
            while (m_i < m_n && m_p[m_i] != u';') {
                const char16_t c = m_p[m_i];
                int digit = -1;
                if (c >= u'0' && c <= u'9')
                    digit = c - u'0';
                else if (hex && c >= u'a' && c <= u'f')
                    digit = c - u'a' + 10;
                else if (hex && c >= u'A' && c <= u'F')
                    digit = c - u'A' + 10;
                if (digit < 0)
                    return false;
                value = value * (hex ? 16 : 10) + char32_t(digit);
                if (value > 0x10FFFF)
                    return false;
                ++m_i;
            }
            if (m_i == from || m_i >= m_n || !isXmlChar(value))
                return false;
            ++m_i;
            if (out) {
                if (QChar::requiresSurrogates(value)) {
                    out->append(QChar(QChar::highSurrogate(value)));
                    out->append(QChar(QChar::lowSurrogate(value)));
                } else {
                    out->append(QChar(char16_t(value)));
                }
            }
            return true;
        }
        const QStringView entity = name();
        if (entity.isEmpty() || !at(u';'))
            return false;
        ++m_i;
        static const struct {
            const char16_t *name;
            char16_t c;
        } kPredefined[] = {{u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}, {u"apos", u'\''}};
        for (const auto &e : kPredefined) {
            if (entity == QStringView(e.name)) {
                if (out)
                    out->append(QChar(e.c));
                return true;
            }
        }
        // Declared in an outside file: loading without its text would lose
        // it silently. Without such a file the entity is simply undeclared.
        if (m_outsideDefinitions && inAttribute)
            return true;
        if (m_outsideDefinitions)
            return refuse(QStringLiteral("Die Datei verweist auf die Entität \"%1\", die nicht aufgelöst werden kann.").arg(entity.toString()));
        return false;
    }

    // The namespace a prefix stands for where the current tag opens, or a
    // null text when it is not declared.
    QString namespaceOf(QStringView prefix) const
    {
        if (prefix == QLatin1String("xml"))
            return xmlNamespace();
        const auto it = m_declared.constFind(prefix);
        return it == m_declared.cend() || it->isEmpty() ? QString() : it->back();
    }

    static QString xmlNamespace() { return QStringLiteral("http://www.w3.org/XML/1998/namespace"); }
    static QString xmlnsNamespace() { return QStringLiteral("http://www.w3.org/2000/xmlns/"); }

    // Splits a qualified name at its colon; false when it breaks the rules
    // of namespaces (an empty part, a second colon, an undeclared prefix).
    bool splitName(QStringView qualified, QStringView *local, QString *ns) const
    {
        const qsizetype colon = qualified.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            *local = qualified;
            ns->clear();
            return true;
        }
        const QStringView prefix = qualified.left(colon);
        *local = qualified.mid(colon + 1);
        if (prefix.isEmpty() || local->isEmpty() || local->contains(QLatin1Char(':')) || !isNameStartChar(local->front().unicode()))
            return false;
        *ns = namespaceOf(prefix);
        return !ns->isNull();
    }

    // A namespace declaration's value as the attribute means it: references
    // resolved, each blank and line break a space.
    static QString normalisedValue(QStringView raw)
    {
        QString out;
        Parser inner(raw, nullptr);
        while (inner.m_i < inner.m_n) {
            const char16_t c = inner.m_p[inner.m_i];
            if (c == u'&') {
                if (!inner.reference(&out, true))
                    break;
            } else {
                ++inner.m_i;
                if (c == u'\r' && inner.at(u'\n'))
                    ++inner.m_i;
                out.append(isSpace(c) ? QChar(u' ') : QChar(c));
            }
        }
        return out;
    }

    // Notes the prefix that attribute declares; false when the declaration
    // is not allowed.
    bool declareNamespace(QStringView attribute, QStringView raw, size_t depth)
    {
        const QString uri = normalisedValue(raw);
        if (attribute == QLatin1String("xmlns"))
            return uri != xmlNamespace() && uri != xmlnsNamespace();
        const QStringView prefix = attribute.mid(6);
        if (prefix.isEmpty() || prefix.contains(QLatin1Char(':')) || uri.isEmpty() || prefix == QLatin1String("xmlns") ||
            uri == xmlnsNamespace())
            return false;
        if ((prefix == QLatin1String("xml")) != (uri == xmlNamespace()))
            return false;
        m_prefixes.push_back({prefix, depth});
        m_declared[prefix].push_back(uri);
        return true;
    }

    // Element names repeat: each name is allocated once and shared by the
    // elements that bear it, found again through a small table indexed by
    // its length and its first and last character.
    QString internedName(QStringView n)
    {
        const size_t slot = (size_t(n.size()) * 31 + size_t(n.front().unicode()) * 7 + n.back().unicode()) % m_nameCache.size();
        QString &cached = m_nameCache[slot];
        if (QStringView(cached) != n)
            cached = n.toString();
        return cached;
    }

    // A start tag after "<": its element is opened below the current one
    // (or becomes the document element), unless it closes itself.
    bool startTag(XmlElement *doc)
    {
        if (m_open.size() >= size_t(XmlLimits::kMaxDepth))
            return refuse(QStringLiteral("Die Elemente der Datei sind tiefer als %1 Ebenen verschachtelt.").arg(XmlLimits::kMaxDepth));
        ++m_i;
        const QStringView qualified = name();
        if (qualified.isEmpty())
            return false;
        const size_t depth = m_open.size() + 1;
        // Attributes are checked, and the namespace prefixes they declare noted.
        m_attributes.clear();
        bool selfClosing = false;
        for (;;) {
            const bool space = m_i < m_n && isSpace(m_p[m_i]);
            skipSpace();
            if (at(u'>')) {
                ++m_i;
                break;
            }
            if (startsWith(u"/>")) {
                m_i += 2;
                selfClosing = true;
                break;
            }
            if (!space)
                return false;
            const QStringView attribute = name();
            QStringView value;
            if (attribute.isEmpty() || !equalsSign() || !attributeValue(&value))
                return false;
            if (attribute == QLatin1String("xmlns") || attribute.startsWith(QLatin1String("xmlns:"))) {
                if (!declareNamespace(attribute, value, depth))
                    return false;
            } else {
                m_attributes.push_back(attribute);
            }
        }
        // No two attributes may have the same name, nor the same local name
        // in the same namespace.
        if (!m_attributes.empty()) {
            QSet<QString> seen;
            for (const QStringView attribute : m_attributes) {
                QStringView local;
                QString ns;
                if (!splitName(attribute, &local, &ns))
                    return false;
                const QString key = ns.isNull() ? attribute.toString() : ns + QChar(0) + local;
                if (seen.contains(key))
                    return false;
                seen.insert(key);
            }
        }
        QStringView local;
        QString ns;
        if (!splitName(qualified, &local, &ns))
            return false;

        XmlElement *e = nullptr;
        if (m_open.empty()) {
            e = doc;
        } else {
            XmlElement *parent = m_open.back().element;
            // An element that holds elements keeps no text.
            parent->text.clear();
            parent->children.emplace_back();
            e = &parent->children.back();
        }
        e->name = internedName(local);
        if (selfClosing)
            closeScope(depth);
        else
            m_open.push_back({e, qualified});
        return true;
    }

    void closeScope(size_t depth)
    {
        while (!m_prefixes.empty() && m_prefixes.back().depth >= depth) {
            m_declared[m_prefixes.back().name].pop_back();
            m_prefixes.pop_back();
        }
    }

    // An attribute's value: no "<", and only references that resolve.
    bool attributeValue(QStringView *value)
    {
        if (!at(u'"') && !at(u'\''))
            return false;
        const char16_t quote = m_p[m_i++];
        const qsizetype from = m_i;
        while (m_i < m_n && m_p[m_i] != quote) {
            if (m_p[m_i] == u'<')
                return false;
            if (m_p[m_i] == u'&') {
                // An entity defined outside stays unresolved here, which
                // loses nothing: attribute values are not read.
                if (!reference(nullptr, true))
                    return false;
            } else {
                ++m_i;
            }
        }
        if (m_i >= m_n)
            return false;
        *value = QStringView(m_p + from, m_i - from);
        ++m_i;
        return true;
    }

    bool endTag()
    {
        m_i += 2;
        const QStringView qualified = name();
        skipSpace();
        if (qualified.isEmpty() || !at(u'>') || qualified != m_open.back().qualifiedName)
            return false;
        ++m_i;
        closeScope(m_open.size());
        m_open.pop_back();
        return true;
    }

    // Character data up to the next markup, CR LF and a lone CR read as LF.
    bool characters(XmlElement *e)
    {
        // An element that holds elements keeps no text, so nothing needs to
        // be kept once it has one, nor in front of a start tag.
        bool keep = e->children.empty();
        while (m_i < m_n) {
            const qsizetype from = m_i;
            while (m_i < m_n && !(m_p[m_i] < 0x80 && (kAscii[m_p[m_i]] & kTextStop)))
                ++m_i;
            if (m_i + 1 < m_n && m_p[m_i] == u'<' && isNameStartChar(m_p[m_i + 1]))
                keep = false;
            if (keep)
                e->text.append(reinterpret_cast<const QChar *>(m_p + from), m_i - from);
            if (m_i >= m_n)
                return true;
            switch (m_p[m_i]) {
            case u'\r':
                ++m_i;
                if (at(u'\n'))
                    ++m_i;
                if (keep)
                    e->text.append(QLatin1Char('\n'));
                break;
            case u']':
                if (startsWith(u"]]>"))
                    return false;
                ++m_i;
                if (keep)
                    e->text.append(QLatin1Char(']'));
                break;
            case u'&':
                if (!reference(keep ? &e->text : nullptr))
                    return false;
                break;
            default: // "<"
                return true;
            }
        }
        return true;
    }

    bool allSpace(qsizetype from, qsizetype to) const
    {
        for (qsizetype k = from; k < to; ++k)
            if (!isSpace(m_p[k]))
                return false;
        return true;
    }

    bool cdata(XmlElement *e)
    {
        m_i += 9;
        qsizetype end = 0;
        const qsizetype from = m_i;
        if (!skipPast(u"]]>", &end))
            return false;
        if (!e->children.empty())
            return true;
        for (qsizetype k = from; k < end; ++k) {
            if (m_p[k] == u'\r') {
                e->text.append(QLatin1Char('\n'));
                if (k + 1 < end && m_p[k + 1] == u'\n')
                    ++k;
            } else {
                e->text.append(QChar(m_p[k]));
            }
        }
        return true;
    }

    // The document element and everything in it.
    bool content(XmlElement *doc)
    {
        if (!startTag(doc))
            return false;
        while (!m_open.empty()) {
            XmlElement *e = m_open.back().element;
            if (!characters(e))
                return false;
            if (m_i >= m_n)
                return false;
            // At "<".
            if (m_i + 1 >= m_n)
                return false;
            const char16_t next = m_p[m_i + 1];
            bool ok = false;
            if (next == u'/')
                ok = endTag();
            else if (next == u'!' && startsWith(u"<!--"))
                ok = comment();
            else if (next == u'!' && startsWith(u"<![CDATA["))
                ok = cdata(e);
            else if (next == u'!' && startsWith(u"<!DOCTYPE"))
                ok = doctypeDeclaration();
            else if (next == u'?')
                ok = processingInstruction();
            else if (next != u'!')
                ok = startTag(doc);
            if (!ok)
                return false;
        }
        return true;
    }

    const char16_t *m_p;
    qsizetype m_n;
    qsizetype m_i = 0;
    QString *m_reason;
    // A document type that refers to declarations outside the file.
    bool m_outsideDefinitions = false;
    std::vector<Open> m_open;
    std::vector<Prefix> m_prefixes;
    // The names of the current start tag's attributes, namespace
    // declarations left out.
    std::vector<QStringView> m_attributes;
    // The namespaces each prefix is bound to in the open elements, the
    // innermost last.
    QHash<QStringView, QStringList> m_declared;
    std::array<QString, 512> m_nameCache;
};

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
        QString text = in.text;
        if (!in.decoded) {
            QStringDecoder utf8(QStringConverter::Utf8);
            text = utf8(data);
            if (utf8.hasError())
                return false;
        }
        if (!allXmlChars(text))
            return false;
        return Parser(text, reason).parse(root);
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
