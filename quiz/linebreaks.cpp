#include "linebreaks.h"

namespace LineBreaks {

QString toCrLf(const QString &text)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == QLatin1Char('\r')) {
            if (i + 1 < n && p[i + 1] == QLatin1Char('\n')) {
                ++i;
                continue;
            }
        } else if (p[i] != QLatin1Char('\n')) {
            continue;
        }
        // A lone CR at i, or an LF at i that follows no CR.
        if (out.isNull())
            out.reserve(n + n / 32 + 2);
        out.append(p + start, i - start);
        out += QLatin1String("\r\n");
        start = i + 1;
    }
    if (out.isNull())
        return text;
    out.append(p + start, n - start);
    return out;
}

QString toWidget(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace LineBreaks
