// The program's own XML reader against Qt's QXmlStreamReader on any input:
// both accept the same documents and give the same tree of elements, names
// and texts. Inputs outside the program's reader's rules (a document type
// that declares entities, a file over the size limit, elements nested deeper
// than the limit) are left out; leewayOf names where the two may differ.

#include "fuzzsupport.h"
#include "xmlelement.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

#include <vector>

namespace {

enum class Outcome { Accepted, Rejected, OutOfScope };

// The tree as the program's reader builds it, read with Qt's reader: an
// element that holds elements keeps no text.
Outcome readWithQt(const QByteArray &data, XmlElement *root)
{
    QXmlStreamReader reader(data);
    std::vector<XmlElement *> stack;
    XmlElement doc;
    bool haveRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return Outcome::OutOfScope;
            break;
        case QXmlStreamReader::StartElement: {
            if (stack.size() >= size_t(XmlLimits::kMaxDepth))
                return Outcome::OutOfScope;
            XmlElement e;
            e.name = reader.name().toString();
            if (stack.empty()) {
                doc = std::move(e);
                haveRoot = true;
                stack.push_back(&doc);
            } else {
                stack.back()->text.clear();
                stack.back()->children.push_back(std::move(e));
                stack.push_back(&stack.back()->children.back());
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            stack.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!stack.empty() && stack.back()->children.empty())
                stack.back()->text += reader.text();
            break;
        case QXmlStreamReader::EntityReference:
            return Outcome::Rejected;
        default:
            break;
        }
    }
    if (reader.hasError() || !haveRoot)
        return Outcome::Rejected;
    *root = std::move(doc);
    return Outcome::Accepted;
}

// Where the two readers may rightly disagree, in the decoded text:
// - Names outside ASCII follow the Unicode categories in the program's reader
//   and older tables in Qt's, which differ on characters that Unicode added
//   since. No file of the program has such a name, so a character outside
//   ASCII inside a tag allows any verdict.
// - Qt lets a control character through right after the target of a
//   processing instruction, and ignores a character cut off at the very end
//   of the file; the program's reader refuses every character that XML does
//   not allow, wherever it stands, and every byte that is no UTF-8.
// - Qt checks the grammar of a document type declaration its own way (it
//   takes "$" as its name, refuses "<" in its system literal, checks the
//   declarations of an internal subset, which the program's reader passes
//   over: it needs none). A document with a document type allows any
//   verdict; the tests of the reader cover the ones that matter.
// - Qt takes characters such as "$", "@" or "`" in the names of attributes
//   and the targets of processing instructions; the program's reader holds
//   them to the rules of names, so it may refuse a document with attributes
//   or instructions that Qt reads.
struct Leeway {
    bool nonAsciiInTag = false;
    bool forbiddenCharacter = false;
    bool doctype = false;
    bool attributesOrInstructions = false;
};

Leeway leewayOf(const QByteArray &bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes, u'<');
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes);
    Leeway leeway;
    leeway.forbiddenCharacter = decoder.hasError();
    leeway.doctype = text.contains(QLatin1String("<!DOCTYPE"));
    for (qsizetype at = text.indexOf(QLatin1String("<?")); at >= 0; at = text.indexOf(QLatin1String("<?"), at + 2)) {
        const QStringView after = QStringView(text).mid(at + 2);
        if (!(after.startsWith(QLatin1String("xml")) && after.size() > 3 && after[3].isSpace()))
            leeway.attributesOrInstructions = true;
    }
    bool inTag = false;
    char16_t quote = 0;
    char16_t previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A comment or a CDATA section is no tag, whatever quotes it holds.
        if (!inTag && text[i] == u'<') {
            const QStringView rest = QStringView(text).mid(i);
            const QLatin1String end = rest.startsWith(QLatin1String("<!--"))        ? QLatin1String("-->")
                                      : rest.startsWith(QLatin1String("<![CDATA[")) ? QLatin1String("]]>")
                                                                                     : QLatin1String();
            if (!end.isEmpty()) {
                const qsizetype close = text.indexOf(end, i + 4);
                if (close < 0)
                    break;
                i = close + end.size() - 1;
                previous = u'>';
                continue;
            }
        }
        const char16_t c = text[i].unicode();
        if (inTag && quote == 0 && (previous == u' ' || previous == u'\t' || previous == u'\n' || previous == u'\r') &&
            c != u'/' && c != u'>' && c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            leeway.attributesOrInstructions = true;
        previous = c;
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            leeway.forbiddenCharacter = true;
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == u'<') {
            inTag = true;
        } else if (c == u'>') {
            inTag = false;
        } else if (inTag && (c == u'"' || c == u'\'')) {
            quote = c;
        } else if (inTag && c >= 0x80) {
            leeway.nonAsciiInTag = true;
        }
    }
    return leeway;
}

// Whether two trees are the same, without recursion.
bool sameTree(const XmlElement &a, const XmlElement &b)
{
    std::vector<std::pair<const XmlElement *, const XmlElement *>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x->name != y->name || x->children.size() != y->children.size())
            return false;
        if (x->children.empty() && x->text != y->text)
            return false;
        for (size_t i = 0; i < x->children.size(); ++i)
            pending.push_back({&x->children[i], &y->children[i]});
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    if (bytes.contains("<!DOCTYPE") && bytes.contains("<!ENTITY"))
        return 0;
    XmlElement ours, qts;
    QString reason;
    const bool accepted = parseXml(bytes, &ours, &reason);
    const Outcome outcome = readWithQt(bytes, &qts);
    if (outcome == Outcome::OutOfScope || reason.contains(QLatin1String("Ebenen")))
        return 0;
    if (accepted != (outcome == Outcome::Accepted)) {
        const Leeway leeway = leewayOf(bytes);
        const bool stricter = !accepted && (leeway.forbiddenCharacter || leeway.attributesOrInstructions);
        if (!leeway.nonAsciiInTag && !leeway.doctype && !stricter)
            FuzzSupport::fail(accepted ? "a document that Qt refuses is read" : "a document that Qt reads is refused");
    }
    if (accepted && outcome == Outcome::Accepted && !sameTree(ours, qts))
        FuzzSupport::fail("the tree differs from Qt's");
    return 0;
}
