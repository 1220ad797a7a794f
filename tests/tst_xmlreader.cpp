// The XML reader on small documents: what it reads (the tree of element
// names and texts) and what it refuses as not well-formed. The verdicts
// are those of XML 1.0 with namespaces; where Qt's QXmlStreamReader is
// laxer, the fuzz harness fuzz_xmlreader names the difference.

#include "xmlelement.h"

#include <QtTest>

namespace {

// The tree as one line: name, then "text" of an element without children,
// or (child,child) of one with children.
QString summary(const XmlElement &e)
{
    QString out = e.name;
    if (e.children.empty()) {
        if (!e.text.isEmpty())
            out += QLatin1Char('"') + e.text + QLatin1Char('"');
        return out;
    }
    out += QLatin1Char('(');
    for (size_t i = 0; i < e.children.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += summary(e.children[i]);
    }
    return out + QLatin1Char(')');
}

} // namespace

class TestXmlReader : public QObject
{
    Q_OBJECT

private slots:
    void documents_data();
    void documents();
    void streamedChildren_data();
    void streamedChildren();
};

void TestXmlReader::documents_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("tree"); // empty: refused

    const QString refused;
    // What is read.
    QTest::newRow("empty element") << QByteArray("<a/>") << QStringLiteral("a");
    QTest::newRow("text") << QByteArray("<a>x y</a>") << QStringLiteral("a\"x y\"");
    QTest::newRow("line breaks read as LF") << QByteArray("<a>1\r2\r\r\n3\n</a>") << QStringLiteral("a\"1\n2\n\n3\n\"");
    QTest::newRow("character references") << QByteArray("<a>&#13;&#10;&#9;&#x41;&#228;&#x1F600;</a>")
                                          << QStringLiteral("a\"\r\n\tA\u00e4\U0001F600\"");
    QTest::newRow("predefined entities") << QByteArray("<a>&lt;&gt;&amp;&quot;&apos;</a>") << QStringLiteral("a\"<>&\"'\"");
    QTest::newRow("CDATA") << QByteArray("<a><![CDATA[<&>\r\n]]]]></a>") << QStringLiteral("a\"<&>\n]]\"");
    QTest::newRow("UTF-8 text and name") << QByteArray("<Gr\xc3\xb6\xc3\x9f" "e>\xc3\xa4\xe2\x82\xac</Gr\xc3\xb6\xc3\x9f" "e>")
                                         << QStringLiteral("Gr\u00f6\u00dfe\"\u00e4\u20ac\"");
    QTest::newRow("U+FEFF at the start of a text") << QByteArray("<a>\xef\xbb\xbfx</a>") << QStringLiteral("a\"\ufeffx\"");
    QTest::newRow("mixed content keeps no text") << QByteArray("<a>t<b>1</b>u<c/>v</a>") << QStringLiteral("a(b\"1\",c)");
    QTest::newRow("comment inside text") << QByteArray("<a>x <!-- c --> y</a>") << QStringLiteral("a\"x  y\"");
    QTest::newRow("a lone ] is text") << QByteArray("<a>]]</a>") << QStringLiteral("a\"]]\"");
    QTest::newRow("declaration, byte-order mark, prolog and epilog")
        << QByteArray("\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\" standalone='yes' ?>\r\n<!-- c --><?pi x?><a/><!--d--><?p?> \r\n")
        << QStringLiteral("a");
    QTest::newRow("instruction that only starts like the declaration") << QByteArray("<?xml-stylesheet href=\"s\"?><a/>") << QStringLiteral("a");
    QTest::newRow("document types without entities") << QByteArray("<!DOCTYPE a><!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA \">\">]><a/>")
                                                     << QStringLiteral("a");
    QTest::newRow("attributes") << QByteArray("<a x=\"1\"  y='&lt;2&gt;' xml:lang=\"de\"/>") << QStringLiteral("a");
    QTest::newRow("UTF-16 with its mark") << QByteArray("\xff\xfe<\0a\0>\0\xe4\0<\0/\0a\0>\0", 18) << QStringLiteral("a\"\u00e4\"");
    QTest::newRow("namespaces give the local name") << QByteArray("<p:a xmlns:p=\"u\"><p:b xmlns:q=\"v\" q:x=\"1\" p:x=\"2\"/></p:a>")
                                                    << QStringLiteral("a(b)");
    QTest::newRow("space before the end of a tag") << QByteArray("<a >x</a >") << QStringLiteral("a\"x\"");

    // What is refused.
    for (const char *broken : {"", " ", "<", "<a", "<a>", "<a></b>", "<a/><b/>", "x<a/>", "<a/>x", "<a>x</ a>", "<a/ >", "<1a/>"})
        QTest::addRow("not a document: %s", broken) << QByteArray(broken) << refused;
    QTest::newRow("XML 1.1") << QByteArray("<?xml version=\"1.1\"?><a/>") << refused;
    QTest::newRow("declaration out of order") << QByteArray("<?xml version=\"1.0\" standalone=\"yes\" encoding=\"UTF-8\"?><a/>") << refused;
    QTest::newRow("declaration inside") << QByteArray("<a><?xml version=\"1.0\"?></a>") << refused;
    QTest::newRow("]]> in text") << QByteArray("<a>]]></a>") << refused;
    QTest::newRow("-- in a comment") << QByteArray("<a><!-- a -- b --></a>") << refused;
    QTest::newRow("comment ending in -") << QByteArray("<!-- a ---><a/>") << refused;
    QTest::newRow("unclosed CDATA") << QByteArray("<a><![CDATA[x</a>") << refused;
    QTest::newRow("control character") << QByteArray("<a>\x01</a>") << refused;
    QTest::newRow("reference to NUL") << QByteArray("<a>&#0;</a>") << refused;
    QTest::newRow("reference to U+FFFE") << QByteArray("<a>&#xFFFE;</a>") << refused;
    QTest::newRow("reference beyond Unicode") << QByteArray("<a>&#x110000;</a>") << refused;
    QTest::newRow("U+FFFF as UTF-8") << QByteArray("<a>\xef\xbf\xbf</a>") << refused;
    QTest::newRow("surrogate as UTF-8") << QByteArray("<a>\xed\xa0\x80</a>") << refused;
    QTest::newRow("overlong UTF-8") << QByteArray("<a>\xc0\xaf</a>") << refused;
    QTest::newRow("cut UTF-8") << QByteArray("<a>\xc3</a>") << refused;
    QTest::newRow("undeclared entity") << QByteArray("<a>&bogus;</a>") << refused;
    QTest::newRow("reference without ;") << QByteArray("<a>&amp</a>") << refused;
    QTest::newRow("attribute twice") << QByteArray("<a x=\"1\" x=\"2\"/>") << refused;
    QTest::newRow("attribute twice in one namespace") << QByteArray("<a xmlns:p=\"u\" xmlns:q=\"u\" p:x=\"1\" q:x=\"2\"/>") << refused;
    QTest::newRow("attributes without blank") << QByteArray("<a x=\"1\"y=\"2\"/>") << refused;
    QTest::newRow("< in an attribute") << QByteArray("<a x=\"<\"/>") << refused;
    QTest::newRow("undeclared prefix") << QByteArray("<p:a/>") << refused;
    QTest::newRow("two colons") << QByteArray("<a:b:c xmlns:a=\"u\"/>") << refused;
    QTest::newRow("empty namespace") << QByteArray("<p:a xmlns:p=\"\"/>") << refused;
    QTest::newRow("xml bound elsewhere") << QByteArray("<a xmlns:xml=\"u\"/>") << refused;
    QTest::newRow("prefix out of scope") << QByteArray("<a><p:b xmlns:p=\"u\"/><p:c/></a>") << refused;
    QTest::newRow("parameter entity without outside file") << QByteArray("<!DOCTYPE a [%pe;]><a/>") << refused;
    QTest::newRow("instruction named xml") << QByteArray("<a/><?XML x?>") << refused;
    // Only the first U+FEFF is the byte-order mark; a second one is text
    // before the document element.
    QTest::newRow("second byte-order mark") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf<a/>") << refused;
    QTest::newRow("second byte-order mark in UTF-16") << QByteArray("\xff\xfe\xff\xfe<\0a\0/\0>\0", 12) << refused;

    // A byte-order mark and a declared encoding must name one encoding.
    auto utf16le = [](const char *latin1) {
        QByteArray out("\xff\xfe");
        for (const char *c = latin1; *c; ++c)
            out.append(*c).append('\0');
        return out;
    };
    auto declared = [](const char *encoding) {
        return QByteArray("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?><a>x</a>";
    };
    const QString read = QStringLiteral("a\"x\"");
    const QByteArray utf8Mark("\xef\xbb\xbf");
    QTest::newRow("UTF-8 mark, declared utf8") << utf8Mark + declared("utf8") << read;
    QTest::newRow("UTF-16 mark, declared UTF-16") << utf16le(declared("UTF-16")) << read;
    QTest::newRow("UTF-16LE mark, declared utf-16le") << utf16le(declared("utf-16le")) << read;
    for (const char *other : {"UTF-6", "ISO-8859-1", "US-ASCII", "UTF-16"})
        QTest::addRow("UTF-8 mark, declared %s", other) << utf8Mark + declared(other) << refused;
    for (const char *other : {"UTF-6", "UTF-8", "ISO-8859-1", "UTF-16BE"})
        QTest::addRow("UTF-16LE mark, declared %s", other) << utf16le(declared(other)) << refused;
}

void TestXmlReader::documents()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, tree);
    XmlElement root;
    const bool read = parseXml(document, &root);
    if (tree.isEmpty()) {
        QVERIFY2(!read, qPrintable(summary(root)));
        return;
    }
    QVERIFY(read);
    QCOMPARE(summary(root), tree);
}

void TestXmlReader::streamedChildren_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("handedOver");
    QTest::addColumn<QString>("tree"); // empty: refused

    const QStringList none;
    QTest::newRow("first element of its name at each step")
        << QByteArray("<r><a><l><x>1</x><y/></l><l><z/></l></a><a><l><w/></l></a></r>") << QStringList{"a", "l"}
        << QStringList{"x\"1\"", "y"} << QStringLiteral("r(a(l,l(z)),a(l(w)))");
    QTest::newRow("the document element's children") << QByteArray("<r><a/><b>1</b></r>") << QStringList() << QStringList{"a", "b\"1\""}
                                                     << QStringLiteral("r");
    QTest::newRow("path not in the document") << QByteArray("<r><b><l/></b></r>") << QStringList{"a", "l"} << none << QStringLiteral("r(b(l))");
    QTest::newRow("text around the children is not kept")
        << QByteArray("<r><l>t<x/>u<![CDATA[v]]></l></r>") << QStringList{"l"} << QStringList{"x"} << QStringLiteral("r(l)");
    QTest::newRow("an element without children keeps its text")
        << QByteArray("<r><l> t </l></r>") << QStringList{"l"} << none << QStringLiteral("r(l\" t \")");
    QTest::newRow("a child of the path's name is handed over whole")
        << QByteArray("<r><l><l><x/></l></l></r>") << QStringList{"l"} << QStringList{"l(x)"} << QStringLiteral("r(l)");
    QTest::newRow("a document refused after its children")
        << QByteArray("<r><l><x/><y/></l><z></r>") << QStringList{"l"} << QStringList{"x", "y"} << QString();
}

void TestXmlReader::streamedChildren()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, path);
    QFETCH(QStringList, handedOver);
    QFETCH(QString, tree);
    QStringList seen;
    const XmlChildStream stream{path, [&](XmlElement &child) { seen << summary(child); }};
    XmlElement root;
    const bool read = parseXml(document, &root, nullptr, stream);
    QCOMPARE(seen, handedOver);
    QCOMPARE(read, !tree.isEmpty());
    if (read)
        QCOMPARE(summary(root), tree);
}

QTEST_GUILESS_MAIN(TestXmlReader)
#include "tst_xmlreader.moc"
