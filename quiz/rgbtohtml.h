#pragma once

#include <QString>

// A colour value holds red in the lowest byte, green in the second and blue
// in the third (0x00BBGGRR).
using ColorValue = quint32;

// Converts between a colour text RRGGBB (without "#") and a colour value.
class RgbToHtml
{
public:
    void setColor(ColorValue color);
    // Stores the text and its value when it is six hexadecimal digits;
    // otherwise leaves both fields unchanged.
    void setText(const QString &text);
    ColorValue color() const { return m_color; }
    QString text() const { return m_text; }

    QString m_text = QStringLiteral("000000");
    ColorValue m_color = 0;
};

namespace Colours {
// The colour value of a text; black when the text is rejected.
ColorValue valueOf(const QString &text);
// The canonical, upper-case text of a value.
QString textOf(ColorValue color);
// From and to the red/green/blue triple of the toolkit.
ColorValue fromRgb(int red, int green, int blue);
int red(ColorValue c);
int green(ColorValue c);
int blue(ColorValue c);
} // namespace Colours
