#pragma once

#include <QString>

// A colour value holds red in the lowest byte, green in the second and blue
// in the third (0x00BBGGRR).
using TColor = quint32;

// Converts between a colour text RRGGBB (without "#") and a colour value.
class TRgbToHtml
{
public:
    void SetColor(TColor color);
    // Stores the text and its value when it is six hexadecimal digits;
    // otherwise leaves both fields unchanged.
    void SetHtml(const QString &text);
    TColor GetColor() const { return RGBColor; }
    QString GetHtml() const { return HtmlColor; }

    QString HtmlColor = QStringLiteral("000000");
    TColor RGBColor = 0;
};

namespace Colours {
// The colour value of a text; black when the text is rejected.
TColor valueOf(const QString &text);
// The canonical, upper-case text of a value.
QString textOf(TColor color);
// From and to the red/green/blue triple of the toolkit.
TColor fromRgb(int red, int green, int blue);
int red(TColor c);
int green(TColor c);
int blue(TColor c);
} // namespace Colours
