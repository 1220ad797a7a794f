#include "linebreaks.h"

#include "charscan.h"

namespace LineBreaks {

QString toCrLf(const QString &text)
{
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    QString out;
    qsizetype start = 0;
    qsizetype i = 0;
    while ((i = indexOfLoneBreak(text, i)) >= 0) {
        if (out.isNull())
            out.reserve(n + n / 32 + 2);
        out.append(p + start, i - start);
        out += QLatin1String("\r\n");
        start = ++i;
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
