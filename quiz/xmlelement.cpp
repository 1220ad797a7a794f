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
#include <utility>

XmlElement::~XmlElement()
{
    // The lists of children are taken apart one level at a time, so that no
    // destructor runs deeper than one element, however deeply the file
    // nested them: each list gives up the lists of its elements before it
    // goes.
    if (children.empty())
        return;
    std::vector<std::vector<XmlElement>> pending;
    pending.push_back(std::move(children));
    while (!pending.empty()) {
        std::vector<XmlElement> level = std::move(pending.back());
        pending.pop_back();
        for (XmlElement &c : level)
            if (!c.children.empty())
                pending.push_back(std::move(c.children));
    }
}

const XmlElement *XmlElement::child(const QString &childName) const
{
    for (const XmlElement &c : children)
        if (c.name == childName)
            return &c;
    return nullptr;
}

XmlElement *XmlElement::child(const QString &childName)
{
    return const_cast<XmlElement *>(std::as_const(*this).child(childName));
}

bool XmlElement::readText(QString *out) const
{
    if (!children.empty())
        return false;
    *out = text;
    return true;
}

bool XmlElement::takeText(QString *out)
{
    if (!children.empty())
        return false;
    *out = std::exchange(text, QString());
    return true;
}

namespace {

// A document type declaration that declares entities: a "<!DOCTYPE" that a
// "<!ENTITY" follows. The program's files need none, and such a file is
// refused before it is parsed, whatever else is wrong with it.
bool declaresEntities(QByteArrayView text)
{
    const qsizetype d = text.indexOf("<!DOCTYPE");
    return d >= 0 && text.indexOf("<!ENTITY", d) >= 0;
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

// Whether an encoding declared after a byte-order mark names the mark's
// encoding. A file whose mark and declaration disagree says two things
// about its bytes and is refused, as Qt refuses it.
bool agreesWithMark(const QByteArray &name, QStringConverter::Encoding mark)
{
    if (name.isEmpty())
        return true;
    const std::optional<QStringConverter::Encoding> named = QStringConverter::encodingForName(name.constData());
    if (!named)
        return false;
    if (*named == mark)
        return true;
    // "UTF-16" and "UTF-32" leave the byte order to the mark.
    return (*named == QStringConverter::Utf16 && (mark == QStringConverter::Utf16LE || mark == QStringConverter::Utf16BE))
        || (*named == QStringConverter::Utf32 && (mark == QStringConverter::Utf32LE || mark == QStringConverter::Utf32BE));
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
        in.ok = declaredEncoding(data.mid(3), &name) && agreesWithMark(name, *bom);
        return in;
    }
    if (bom) {
        // The declaration is read after decoding, where it is plain text.
        QStringDecoder decoder(*bom);
        in.text = decoder(data);
        in.decoded = true;
        const qsizetype end = in.text.indexOf(u"?>");
        const QByteArray head = (end < 0 ? in.text : in.text.left(end + 2)).toUtf8();
        in.ok = !decoder.hasError() && declaredEncoding(head, &name) && agreesWithMark(name, *bom);
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
// modifier letters may follow. Characters beyond the first plane are none.
bool isNameStartChar(char32_t c)
{
    if (c < 0x80)
        return kAscii[c] & kNameStart;
    if (c > 0xFFFF)
        return false;
    switch (QChar::category(c)) {
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

bool isNameChar(char32_t c)
{
    if (c < 0x80)
        return kAscii[c] & kNameChar;
    if (isNameStartChar(c) || c == 0xB7)
        return true;
    if (c > 0xFFFF)
        return false;
    switch (QChar::category(c)) {
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

bool isSpace(uchar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the UTF-8 sequence at p (at most n bytes) and its code
// point; 0 when the bytes are no valid UTF-8 (overlong, a surrogate, beyond
// U+10FFFF, cut short).
int decodeUtf8(const uchar *p, qsizetype n, char32_t *cp)
{
    const uchar b = p[0];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    int len = 0;
    char32_t c = 0;
    uchar lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0;
        else if (b == 0xED)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (n < len || p[1] < lo || p[1] > hi)
        return 0;
    c = c << 6 | (p[1] & 0x3F);
    for (int k = 2; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (p[k] & 0x3F);
    }
    *cp = c;
    return len;
}

enum class TextCheck { Valid, Invalid, DeclaresEntities };

// In one pass over the document: whether it declares entities (a
// "<!DOCTYPE" that a "<!ENTITY" follows, which is refused before anything
// else), and whether it is valid UTF-8 of characters that XML allows: no
// control characters but tab and line breaks, no U+FFFE or U+FFFF.
TextCheck checkXmlText(QByteArrayView text)
{
    const auto *p = reinterpret_cast<const uchar *>(text.data());
    const qsizetype n = text.size();
    bool doctype = false;
    qsizetype i = 0;
    // A document that is not valid may still declare entities further on.
    auto invalid = [&] { return !doctype && declaresEntities(text.sliced(i)) ? TextCheck::DeclaresEntities : TextCheck::Invalid; };
    while ((i = indexOfControlNonAsciiOrBang(text, i)) >= 0) {
        if (p[i] == '<') {
            // Only the first document type is looked at: what follows it
            // is searched once.
            if (!doctype && text.sliced(i).startsWith("<!DOCTYPE")) {
                doctype = true;
                if (declaresEntities(text.sliced(i)))
                    return TextCheck::DeclaresEntities;
            }
            i += 2;
            continue;
        }
        if (p[i] < 0x20) {
            if (p[i] != '\t' && p[i] != '\n' && p[i] != '\r')
                return invalid();
            ++i;
            continue;
        }
        char32_t c = 0;
        const int len = decodeUtf8(p + i, n - i, &c);
        if (len == 0 || c == 0xFFFE || c == 0xFFFF)
            return invalid();
        i += len;
    }
    return TextCheck::Valid;
}

// Appends UTF-8 text, already checked, to out.
void appendUtf8(QString &out, const uchar *p, qsizetype len)
{
    if (len <= 0)
        return;
    // Not QString::fromUtf8(), which would drop a U+FEFF at the start.
    const qsizetype old = out.size();
    out.resize(old + len);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    const QChar *end = decoder.appendToBuffer(out.data() + old, QByteArrayView(p, len));
    out.truncate(end - out.constData());
}

// A reader for well-formed XML 1.0 with namespaces, just large enough for the
// program's files: it builds the tree of elements and their text, checks
// every rule of well-formedness that a file of the program could break, and
// ignores attributes beyond checking them. It works in one loop over the
// text, without recursion, and looks at most characters once.
class Parser
{
public:
    Parser(QByteArrayView text, QString *reason, const XmlChildStream *stream)
        : m_p(reinterpret_cast<const uchar *>(text.data()))
        , m_n(text.size())
        , m_reason(reason)
        , m_stream(stream)
    {
    }

    bool parse(XmlElement *root)
    {
        if (startsWith("<?xml") && m_i + 5 < m_n && (isSpace(m_p[m_i + 5]) || m_p[m_i + 5] == '?')) {
            if (!xmlDeclaration())
                return false;
        }
        // The prolog: comments, processing instructions, document types.
        for (;;) {
            skipSpace();
            if (m_i >= m_n)
                return false;
            if (startsWith("<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith("<?")) {
                if (!processingInstruction())
                    return false;
            } else if (startsWith("<!DOCTYPE")) {
                if (!doctypeDeclaration())
                    return false;
            } else if (at('<')) {
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
            if (startsWith("<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith("<!DOCTYPE")) {
                if (!doctypeDeclaration())
                    return false;
            } else if (startsWith("<?")) {
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
        QByteArrayView qualifiedName;
        // On the stream's path: the document element, or the first child
        // of the path's name in an element on the path.
        bool onPath;
        // The element whose children are handed over as they end.
        bool streams;
        // It has handed over a child, and so holds elements.
        bool handedOver = false;

        bool holdsElements() const { return handedOver || !element->children.empty(); }
    };
    struct Prefix {
        QByteArrayView name;
        size_t depth;
    };

    bool at(char c) const { return m_i < m_n && m_p[m_i] == c; }

    template<size_t N>
    bool startsWith(const char (&s)[N]) const
    {
        constexpr qsizetype len = qsizetype(N) - 1;
        if (m_n - m_i < len)
            return false;
        for (qsizetype k = 0; k < len; ++k)
            if (m_p[m_i + k] != uchar(s[k]))
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

    // The code point at i and its length in bytes (the text is valid UTF-8).
    int codePointAt(qsizetype i, char32_t *c) const
    {
        if (m_p[i] < 0x80) {
            *c = m_p[i];
            return 1;
        }
        return decodeUtf8(m_p + i, m_n - i, c);
    }

    bool startsName(qsizetype i) const
    {
        char32_t c = 0;
        return i < m_n && codePointAt(i, &c) > 0 && isNameStartChar(c);
    }

    // A name at the current place, or an empty view.
    QByteArrayView name()
    {
        const qsizetype from = m_i;
        char32_t c = 0;
        if (m_i >= m_n)
            return {};
        int len = codePointAt(m_i, &c);
        if (!isNameStartChar(c))
            return {};
        m_i += len;
        while (m_i < m_n) {
            if (m_p[m_i] < 0x80) {
                if (!(kAscii[m_p[m_i]] & kNameChar))
                    break;
                ++m_i;
                continue;
            }
            len = codePointAt(m_i, &c);
            if (!isNameChar(c))
                break;
            m_i += len;
        }
        return QByteArrayView(m_p + from, m_i - from);
    }

    // Moves past the next occurrence of end; false when there is none.
    template<size_t N>
    bool skipPast(const char (&end)[N], qsizetype *found = nullptr)
    {
        const qsizetype at = QByteArrayView(m_p, m_n).indexOf(QByteArrayView(end, qsizetype(N) - 1), m_i);
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
        if (!skipPast("--", &dashes))
            return false;
        return at('>') && (++m_i, true);
    }

    bool processingInstruction()
    {
        m_i += 2;
        const QByteArrayView target = name();
        const bool xml = target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' && (target[2] | 0x20) == 'l';
        if (target.isEmpty() || xml || target.contains(':'))
            return false;
        if (startsWith("?>")) {
            m_i += 2;
            return true;
        }
        return requireSpace() && skipPast("?>");
    }

    // A quoted value; its text between the quotes in value.
    bool quoted(QByteArrayView *value)
    {
        if (!at('"') && !at('\''))
            return false;
        const uchar quote = m_p[m_i++];
        const qsizetype from = m_i;
        while (m_i < m_n && m_p[m_i] != quote)
            ++m_i;
        if (m_i >= m_n)
            return false;
        *value = QByteArrayView(m_p + from, m_i - from);
        ++m_i;
        return true;
    }

    bool equalsSign()
    {
        skipSpace();
        if (!at('='))
            return false;
        ++m_i;
        skipSpace();
        return true;
    }

    bool xmlDeclaration()
    {
        m_i += 5;
        QByteArrayView value;
        if (!requireSpace() || !startsWith("version"))
            return false;
        m_i += 7;
        // Only XML 1.0 is read.
        if (!equalsSign() || !quoted(&value) || value != QByteArrayView("1.0"))
            return false;
        bool space = requireSpace();
        if (space && startsWith("encoding")) {
            m_i += 8;
            if (!equalsSign() || !quoted(&value) || value.isEmpty())
                return false;
            for (qsizetype k = 0; k < value.size(); ++k) {
                const uchar c = uchar(value[k]);
                const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                if (!letter && (k == 0 || !((c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-')))
                    return false;
            }
            space = requireSpace();
        }
        if (space && startsWith("standalone")) {
            m_i += 10;
            if (!equalsSign() || !quoted(&value) || (value != QByteArrayView("yes") && value != QByteArrayView("no")))
                return false;
            skipSpace();
        }
        if (!startsWith("?>"))
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
        QByteArrayView literal;
        if (space && startsWith("SYSTEM")) {
            m_i += 6;
            if (!requireSpace() || !quoted(&literal))
                return false;
            m_outsideDefinitions = true;
            skipSpace();
        } else if (space && startsWith("PUBLIC")) {
            m_i += 6;
            if (!requireSpace() || !quoted(&literal) || !requireSpace() || !quoted(&literal))
                return false;
            m_outsideDefinitions = true;
            skipSpace();
        }
        if (at('[')) {
            ++m_i;
            if (!internalSubset())
                return false;
            skipSpace();
        }
        if (!at('>'))
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
            if (at(']')) {
                ++m_i;
                return true;
            }
            if (startsWith("<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith("<?")) {
                if (!processingInstruction())
                    return false;
            } else if (startsWith("<!ELEMENT") || startsWith("<!ATTLIST") || startsWith("<!NOTATION")) {
                m_i += 2;
                while (m_i < m_n && m_p[m_i] != '>') {
                    QByteArrayView value;
                    if (at('"') || at('\'')) {
                        if (!quoted(&value))
                            return false;
                    } else if (at('<')) {
                        return false;
                    } else {
                        ++m_i;
                    }
                }
                if (m_i >= m_n)
                    return false;
                ++m_i;
            } else if (at('%')) {
                // A parameter entity can only be defined in the outside file.
                ++m_i;
                if (!m_outsideDefinitions || name().isEmpty() || !at(';'))
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
        if (at('#')) {
            ++m_i;
            const bool hex = at('x');
            if (hex)
                ++m_i;
            const qsizetype from = m_i;
            char32_t value = 0;
            while (m_i < m_n && m_p[m_i] != ';') {
                const uchar c = m_p[m_i];
                int digit = -1;
                if (c >= '0' && c <= '9')
                    digit = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    digit = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    digit = c - 'A' + 10;
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
        const QByteArrayView entity = name();
        if (entity.isEmpty() || !at(';'))
            return false;
        ++m_i;
        static const struct {
            const char *name;
            char c;
        } kPredefined[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto &e : kPredefined) {
            if (entity == QByteArrayView(e.name)) {
                if (out)
                    out->append(QLatin1Char(e.c));
                return true;
            }
        }
        // Declared in an outside file: loading without its text would lose
        // it silently. Without such a file the entity is simply undeclared.
        if (m_outsideDefinitions && inAttribute)
            return true;
        if (m_outsideDefinitions)
            return refuse(QStringLiteral("Die Datei verweist auf die Entität \"%1\", die nicht aufgelöst werden kann.").arg(QString::fromUtf8(entity)));
        return false;
    }

    // The namespace (UTF-8) a prefix stands for where the current tag
    // opens, or a null array when it is not declared.
    QByteArray namespaceOf(QByteArrayView prefix) const
    {
        if (prefix == QByteArrayView("xml"))
            return xmlNamespace();
        const auto it = m_declared.constFind(prefix);
        return it == m_declared.cend() || it->isEmpty() ? QByteArray() : it->back();
    }

    static QByteArray xmlNamespace() { return QByteArrayLiteral("http://www.w3.org/XML/1998/namespace"); }
    static QByteArray xmlnsNamespace() { return QByteArrayLiteral("http://www.w3.org/2000/xmlns/"); }

    // Splits a qualified name at its colon; false when it breaks the rules
    // of namespaces (an empty part, a second colon, an undeclared prefix).
    bool splitName(QByteArrayView qualified, QByteArrayView *local, QByteArray *ns) const
    {
        const qsizetype colon = qualified.indexOf(':');
        if (colon < 0) {
            *local = qualified;
            *ns = QByteArray();
            return true;
        }
        const QByteArrayView prefix = qualified.first(colon);
        *local = qualified.sliced(colon + 1);
        char32_t first = 0;
        if (prefix.isEmpty() || local->isEmpty() || local->contains(':') ||
            decodeUtf8(reinterpret_cast<const uchar *>(local->data()), local->size(), &first) == 0 || !isNameStartChar(first))
            return false;
        *ns = namespaceOf(prefix);
        return !ns->isNull();
    }

    // A namespace declaration's value as the attribute means it, in UTF-8:
    // references resolved, each blank and line break a space.
    static QByteArray normalisedValue(QByteArrayView raw)
    {
        QString out;
        Parser inner(raw, nullptr, nullptr);
        while (inner.m_i < inner.m_n) {
            const uchar c = inner.m_p[inner.m_i];
            if (c == '&') {
                if (!inner.reference(&out, true))
                    break;
            } else {
                qsizetype from = inner.m_i;
                while (inner.m_i < inner.m_n && inner.m_p[inner.m_i] != '&' && !isSpace(inner.m_p[inner.m_i]))
                    ++inner.m_i;
                if (inner.m_i > from) {
                    appendUtf8(out, inner.m_p + from, inner.m_i - from);
                    continue;
                }
                ++inner.m_i;
                if (c == '\r' && inner.at('\n'))
                    ++inner.m_i;
                out.append(QLatin1Char(' '));
            }
        }
        return out.toUtf8();
    }

    // Notes the prefix that attribute declares; false when the declaration
    // is not allowed.
    bool declareNamespace(QByteArrayView attribute, QByteArrayView raw, size_t depth)
    {
        const QByteArray uri = normalisedValue(raw);
        if (attribute == QByteArrayView("xmlns"))
            return uri != xmlNamespace() && uri != xmlnsNamespace();
        const QByteArrayView prefix = attribute.sliced(6);
        if (prefix.isEmpty() || prefix.contains(':') || uri.isEmpty() || prefix == QByteArrayView("xmlns") || uri == xmlnsNamespace())
            return false;
        if ((prefix == QByteArrayView("xml")) != (uri == xmlNamespace()))
            return false;
        m_prefixes.push_back({prefix, depth});
        m_declared[prefix].push_back(uri);
        return true;
    }

    // Element names repeat: each name is decoded and allocated once and
    // shared by the elements that bear it, found again through a small
    // table indexed by its length and its first and last byte.
    QString internedName(QByteArrayView n)
    {
        const size_t slot = (size_t(n.size()) * 31 + size_t(uchar(n.front())) * 7 + uchar(n.back())) % m_nameCache.size();
        CachedName &cached = m_nameCache[slot];
        if (QByteArrayView(cached.utf8) != n) {
            cached.utf8 = n.toByteArray();
            cached.name = QString::fromUtf8(n);
        }
        return cached.name;
    }

    // A start tag after "<": its element is opened below the current one
    // (or becomes the document element), unless it closes itself.
    bool startTag(XmlElement *doc)
    {
        if (m_open.size() >= size_t(XmlLimits::kMaxDepth))
            return refuse(QStringLiteral("Die Elemente der Datei sind tiefer als %1 Ebenen verschachtelt.").arg(XmlLimits::kMaxDepth));
        ++m_i;
        const QByteArrayView qualified = name();
        if (qualified.isEmpty())
            return false;
        const size_t depth = m_open.size() + 1;
        // Attributes are checked, and the namespace prefixes they declare noted.
        m_attributes.clear();
        bool selfClosing = false;
        for (;;) {
            const bool space = m_i < m_n && isSpace(m_p[m_i]);
            skipSpace();
            if (at('>')) {
                ++m_i;
                break;
            }
            if (startsWith("/>")) {
                m_i += 2;
                selfClosing = true;
                break;
            }
            if (!space)
                return false;
            const QByteArrayView attribute = name();
            QByteArrayView value;
            if (attribute.isEmpty() || !equalsSign() || !attributeValue(&value))
                return false;
            if (attribute == QByteArrayView("xmlns") || attribute.startsWith(QByteArrayView("xmlns:"))) {
                if (!declareNamespace(attribute, value, depth))
                    return false;
            } else {
                m_attributes.push_back(attribute);
            }
        }
        // No two attributes may have the same name, nor the same local name
        // in the same namespace.
        if (!m_attributes.empty()) {
            QSet<QByteArray> seen;
            for (const QByteArrayView attribute : m_attributes) {
                QByteArrayView local;
                QByteArray ns;
                if (!splitName(attribute, &local, &ns))
                    return false;
                const QByteArray key = ns.isNull() ? attribute.toByteArray() : ns + '\0' + local;
                if (seen.contains(key))
                    return false;
                seen.insert(key);
            }
        }
        QByteArrayView local;
        QByteArray ns;
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
        if (selfClosing) {
            closeScope(depth);
            handOver();
        } else {
            const bool onPath = isOnPath(*e);
            m_open.push_back({e, qualified, onPath, onPath && size_t(m_stream->path.size()) == m_open.size()});
        }
        return true;
    }

    // Whether the element just opened below the current one (or as the
    // document element) is on the stream's path.
    bool isOnPath(const XmlElement &e) const
    {
        if (!m_stream)
            return false;
        if (m_open.empty())
            return true;
        const size_t level = m_open.size();
        if (!m_open.back().onPath || level > size_t(m_stream->path.size()) || e.name != m_stream->path[qsizetype(level - 1)])
            return false;
        return std::as_const(*m_open.back().element).child(e.name) == &e;
    }

    // An element has ended: a child of the streamed element goes to the
    // stream and out of the tree.
    void handOver()
    {
        if (m_open.empty() || !m_open.back().streams)
            return;
        std::vector<XmlElement> &children = m_open.back().element->children;
        m_stream->take(children.back());
        children.pop_back();
        m_open.back().handedOver = true;
    }

    void closeScope(size_t depth)
    {
        while (!m_prefixes.empty() && m_prefixes.back().depth >= depth) {
            m_declared[m_prefixes.back().name].pop_back();
            m_prefixes.pop_back();
        }
    }

    // An attribute's value: no "<", and only references that resolve.
    bool attributeValue(QByteArrayView *value)
    {
        if (!at('"') && !at('\''))
            return false;
        const uchar quote = m_p[m_i++];
        const qsizetype from = m_i;
        while (m_i < m_n && m_p[m_i] != quote) {
            if (m_p[m_i] == '<')
                return false;
            if (m_p[m_i] == '&') {
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
        *value = QByteArrayView(m_p + from, m_i - from);
        ++m_i;
        return true;
    }

    bool endTag()
    {
        m_i += 2;
        const QByteArrayView qualified = name();
        skipSpace();
        if (qualified.isEmpty() || !at('>') || qualified != m_open.back().qualifiedName)
            return false;
        ++m_i;
        closeScope(m_open.size());
        m_open.pop_back();
        handOver();
        return true;
    }

    // Character data up to the next markup, CR LF and a lone CR read as LF.
    bool characters(Open &open)
    {
        XmlElement *e = open.element;
        // An element that holds elements keeps no text, so nothing needs to
        // be kept once it has one, nor in front of a start tag.
        bool keep = !open.holdsElements();
        while (m_i < m_n) {
            const qsizetype from = m_i;
            while (m_i < m_n && !(m_p[m_i] < 0x80 && (kAscii[m_p[m_i]] & kTextStop)))
                ++m_i;
            if (m_i + 1 < m_n && m_p[m_i] == '<' && startsName(m_i + 1))
                keep = false;
            if (keep)
                appendUtf8(e->text, m_p + from, m_i - from);
            if (m_i >= m_n)
                return true;
            switch (m_p[m_i]) {
            case '\r':
                ++m_i;
                if (at('\n'))
                    ++m_i;
                if (keep)
                    e->text.append(QLatin1Char('\n'));
                break;
            case ']':
                if (startsWith("]]>"))
                    return false;
                ++m_i;
                if (keep)
                    e->text.append(QLatin1Char(']'));
                break;
            case '&':
                if (!reference(keep ? &e->text : nullptr))
                    return false;
                break;
            default: // "<"
                return true;
            }
        }
        return true;
    }

    bool cdata(Open &open)
    {
        XmlElement *e = open.element;
        m_i += 9;
        qsizetype end = 0;
        const qsizetype from = m_i;
        if (!skipPast("]]>", &end))
            return false;
        if (open.holdsElements())
            return true;
        // Runs between CRs; CR LF and a lone CR read as LF.
        qsizetype run = from;
        for (qsizetype k = from; k < end; ++k) {
            if (m_p[k] != '\r')
                continue;
            appendUtf8(e->text, m_p + run, k - run);
            e->text.append(QLatin1Char('\n'));
            if (k + 1 < end && m_p[k + 1] == '\n')
                ++k;
            run = k + 1;
        }
        appendUtf8(e->text, m_p + run, end - run);
        return true;
    }

    // The document element and everything in it.
    bool content(XmlElement *doc)
    {
        if (!startTag(doc))
            return false;
        while (!m_open.empty()) {
            if (!characters(m_open.back()))
                return false;
            if (m_i >= m_n)
                return false;
            // At "<".
            if (m_i + 1 >= m_n)
                return false;
            const uchar next = m_p[m_i + 1];
            bool ok = false;
            if (next == '/')
                ok = endTag();
            else if (next == '!' && startsWith("<!--"))
                ok = comment();
            else if (next == '!' && startsWith("<![CDATA["))
                ok = cdata(m_open.back());
            else if (next == '!' && startsWith("<!DOCTYPE"))
                ok = doctypeDeclaration();
            else if (next == '?')
                ok = processingInstruction();
            else if (next != '!')
                ok = startTag(doc);
            if (!ok)
                return false;
        }
        return true;
    }

    const uchar *m_p;
    qsizetype m_n;
    qsizetype m_i = 0;
    QString *m_reason;
    const XmlChildStream *m_stream;
    // A document type that refers to declarations outside the file.
    bool m_outsideDefinitions = false;
    std::vector<Open> m_open;
    std::vector<Prefix> m_prefixes;
    // The names of the current start tag's attributes, namespace
    // declarations left out.
    std::vector<QByteArrayView> m_attributes;
    // The namespaces each prefix is bound to in the open elements, the
    // innermost last.
    QHash<QByteArrayView, QList<QByteArray>> m_declared;
    struct CachedName {
        QByteArray utf8;
        QString name;
    };
    std::array<CachedName, 512> m_nameCache;
};

} // namespace

namespace {
bool parseXmlStreaming(const QByteArray &data, XmlElement *root, QString *reason, const XmlChildStream *stream)
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
        // A file that declares entities is refused for them, whatever else
        // is wrong with it.
        const QString entitiesReason = QStringLiteral("Die Datei deklariert Entitäten; solche Dateien werden nicht gelesen.");
        if (!in.ok) {
            if (reason && (declaresEntities(data) || (in.decoded && declaresEntities(in.text.toUtf8()))))
                *reason = entitiesReason;
            return false;
        }
        // The reader reads UTF-8: the program's own files as they are, the
        // others after decoding.
        QByteArray decoded;
        QByteArrayView text = data;
        if (in.decoded) {
            decoded = in.text.toUtf8();
            text = decoded;
        }
        // The decoder has taken the mark off a decoded text already: a
        // U+FEFF at its start is a character.
        if (!in.decoded && text.startsWith("\xef\xbb\xbf"))
            text = text.sliced(3);
        switch (checkXmlText(text)) {
        case TextCheck::Valid:
            break;
        case TextCheck::Invalid:
            return false;
        case TextCheck::DeclaresEntities:
            if (reason)
                *reason = entitiesReason;
            return false;
        }
        return Parser(text, reason, stream).parse(root);
    } catch (const std::bad_alloc &) {
        if (reason)
            *reason = OutOfMemory::reading();
        return false;
    }
}
} // namespace

bool parseXml(const QByteArray &data, XmlElement *root, QString *reason)
{
    return parseXmlStreaming(data, root, reason, nullptr);
}

bool parseXml(const QByteArray &data, XmlElement *root, QString *reason, const XmlChildStream &stream)
{
    return parseXmlStreaming(data, root, reason, &stream);
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
