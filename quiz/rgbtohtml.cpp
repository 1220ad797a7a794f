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

void RgbToHtml::setColor(ColorValue color)
{
    m_color = color;
    m_text = QStringLiteral("%1%2%3")
                    .arg(color & 0xFF, 2, 16, QLatin1Char('0'))
                    .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                    .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
                    .toUpper();
}

void RgbToHtml::setText(const QString &text)
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
    m_color = ColorValue(parts[0]) + ColorValue(parts[1]) * 256 + ColorValue(parts[2]) * 65536;
    m_text = text;
}

namespace Colours {

ColorValue valueOf(const QString &text)
{
    RgbToHtml c;
    c.setText(text);
    return c.color();
}

QString textOf(ColorValue color)
{
    RgbToHtml c;
    c.setColor(color);
    return c.text();
}

ColorValue fromRgb(int r, int g, int b)
{
    return ColorValue(r & 0xFF) | ColorValue(g & 0xFF) << 8 | ColorValue(b & 0xFF) << 16;
}
int red(ColorValue c)
{
    return int(c & 0xFF);
}
int green(ColorValue c)
{
    return int((c >> 8) & 0xFF);
}
int blue(ColorValue c)
{
    return int((c >> 16) & 0xFF);
}

} // namespace Colours
