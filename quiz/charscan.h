#pragma once

#include <QByteArrayView>
#include <QStringView>

// Searches for the few characters that matter in long texts (the page, the
// project file), eight or sixteen at a time where the processor allows it.

// The first index at or after from of a line break that is not CR LF: a CR
// that no LF follows, or an LF that no CR precedes; -1 when there is none.
qsizetype indexOfLoneBreak(QStringView text, qsizetype from);

// The first index at or after from of a byte below 0x20 or above 0x7F, or
// of a "<" followed by "!" (a comment, a CDATA section or a declaration
// starts there), or -1: the rest of an XML document needs no closer look
// before it is parsed.
qsizetype indexOfControlNonAsciiOrBang(QByteArrayView text, qsizetype from);

// The first index at or after from at which text holds c (neither CR nor
// LF) or a line break that is not CR LF, or -1: two searches in one pass.
qsizetype indexOfCharOrLoneBreak(QStringView text, qsizetype from, char16_t c);

// The first index at or after from at which text holds a, b or c, or a
// character above U+00FF; -1 when there is none.
qsizetype indexOfAnyOrNonLatin1(QStringView text, qsizetype from, char16_t a, char16_t b, char16_t c);
