#include "rgbtohtml.h"

namespace {
int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
} // namespace

void TRgbToHtml::SetColor(TColor color)
{
    RGBColor = color;
    HtmlColor = QStringLiteral("%1%2%3")
                    .arg(color & 0xFF, 2, 16, QLatin1Char('0'))
                    .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                    .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
                    .toUpper();
}

void TRgbToHtml::SetHtml(const QString &text)
{
    if (text.size() != 6)
        return;
    int parts[3];
    for (int p = 0; p < 3; ++p) {
        const int hi = hexDigit(text[2 * p]);
        const int lo = hexDigit(text[2 * p + 1]);
        if (hi < 0 || lo < 0)
            return;
        parts[p] = hi * 16 + lo;
    }
    RGBColor = TColor(parts[0]) + TColor(parts[1]) * 256 + TColor(parts[2]) * 65536;
    HtmlColor = text;
}

namespace Colours {

TColor valueOf(const QString &text)
{
    TRgbToHtml c;
    c.SetHtml(text);
    return c.GetColor();
}

QString textOf(TColor color)
{
    TRgbToHtml c;
    c.SetColor(color);
    return c.GetHtml();
}

TColor fromRgb(int r, int g, int b)
{
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}
int red(TColor c)
{
    return int(c & 0xFF);
}
int green(TColor c)
{
    return int((c >> 8) & 0xFF);
}
int blue(TColor c)
{
    return int((c >> 16) & 0xFF);
}

} // namespace Colours
