#pragma once

#include <QString>

// Line breaks: the quiz and every text the program builds use CR LF;
// plain-text widgets hold LF. This is the one place that converts them.
namespace LineBreaks {

// Every line break (CR LF, a lone CR, a lone LF) as CR LF. Copies whole
// stretches of text; returns text itself when nothing changes.
QString toCrLf(const QString &text);

// For a plain-text widget: CR LF as LF.
QString toWidget(QString text);
// From a plain-text widget: each line break as CR LF.
inline QString fromWidget(const QString &text)
{
    return toCrLf(text);
}

} // namespace LineBreaks
