#pragma once

#include <QString>

// Makes texts from a sent form safe for the result page.
namespace HtmlFilter {

// Plain text: every character that means something in HTML escaped.
QString escape(const QString &text);
// A question text, which the teacher may have written with a little markup:
// b, i, u, strong, em, br, p, ul, ol, li, span and font with a colour, a with
// an http, https or mailto address and img with an http or https source stay;
// every other tag and every other attribute is dropped, text is escaped,
// and tags left open are closed.
QString questionText(const QString &html);

} // namespace HtmlFilter
