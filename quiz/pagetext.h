#pragma once

#include <QString>

// Small pieces that every question kind writes into the page, and the
// escaping of texts for the place where they land. Each escaping changes
// only what would not stand for itself there, so that an ordinary text keeps
// every byte.
namespace PageText {

inline const QString CRLF = QStringLiteral("\r\n");
// The attribute that gives an input the style class "field".
inline const QString FieldClass = QStringLiteral(" class=\"field\" ");

// The decimal text of n, as QString::number writes it, and the same
// appended to out; both without the general number formatting.
QString num(qint64 n);
void appendNumber(QString &out, qint64 n);

// Plain text as element content: "&" that would start a character
// reference becomes "&amp;", "<" that would start a tag or a comment "&lt;".
QString htmlText(const QString &text);
// Plain text as the value of a double-quoted attribute: '"' becomes
// "&quot;", "&" as in htmlText, and "<!" becomes "&lt;!" so that no
// placeholder of the template is taken from it.
QString htmlAttribute(const QString &text);
// Every "<", ">", "&" and '"' as its entity, as QString::toHtmlEscaped does,
// without a copy of a text that holds none of them.
QString htmlEscaped(const QString &text);
// A text the user edits as HTML stays markup; only a "<!--" that no "-->"
// closes within the text is written as "&lt;!--", so that it shows instead
// of hiding the rest of the page.
QString htmlMarkup(const QString &text);
// The plain text of HTML markup for an attribute such as alt: tags left
// out, line breaks as blanks, '"' as "&quot;"; character references stay.
QString markupAsAttribute(const QString &markup);
// Any text as the content of a double-quoted JavaScript string literal:
// backslash, '"', CR, LF, U+2028 and U+2029 escaped, "</" as "<\/" and
// "<!" as "<\!".
QString jsString(const QString &text);

} // namespace PageText
