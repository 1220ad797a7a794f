#pragma once

#include <QByteArray>
#include <QString>

// The system's 8-bit code page is windows-1252 on every platform.
namespace TextCodec {

// Encodes in windows-1252; a character the code page cannot hold becomes "?".
QByteArray toCodePage(const QString &text);
QString fromCodePage(const QByteArray &bytes);
// ISO-8859-1 bytes; a character outside it becomes "?".
QByteArray toLatin1(const QString &text);

// True when a page declaring this encoding is read as UTF-8 by a browser:
// "utf-8" in any letter case, blanks around it, and the other names browsers
// know for it ("utf8", "unicode-1-1-utf-8", ...).
bool namesUtf8(const QString &encoding);

// Whether the 8-bit code page holds the character.
bool inCodePage(char32_t c);
// The page with every character that the code page cannot hold written as
// the page's language writes it: "\\uXXXX" inside a script element, a CSS
// escape "\\X " inside a style element, "&#N;" everywhere else.
QString withCodePageEscapes(const QString &page);

// The bytes of an exported page, in the encoding it declares: UTF-8 without
// byte-order mark when encoding names UTF-8, otherwise the 8-bit code page,
// with the characters it cannot hold escaped (withCodePageEscapes), so that
// none is lost.
// room: a byte array whose memory the bytes may take over.
QByteArray pageBytes(const QString &page, const QString &encoding, QByteArray room = QByteArray());
// The UTF-8 bytes of text exactly as QString::toUtf8() gives them (a lone
// surrogate as "?"), written into room's memory when it has enough.
QByteArray toUtf8(QStringView text, QByteArray room = QByteArray());
// The same bytes, appended to out.
void appendUtf8(QByteArray &out, QStringView text);

} // namespace TextCodec
