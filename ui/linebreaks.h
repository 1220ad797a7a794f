#pragma once

#include <QString>

// The quiz holds line breaks as CR LF; plain-text widgets hold LF.
namespace LineBreaks {

inline QString toWidget(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
inline QString fromWidget(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace LineBreaks
