#pragma once

#include <QString>

// Small pieces that every question kind writes into the page.
namespace PageText {

inline const QString CRLF = QStringLiteral("\r\n");
// The attribute that gives an input the style class "field".
inline const QString FieldClass = QStringLiteral(" class=\"field\" ");

inline QString num(int n)
{
    return QString::number(n);
}

} // namespace PageText
