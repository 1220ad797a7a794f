#include "htmlfilter.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

namespace HtmlFilter {

QString escape(const QString &text)
{
    QString out = text.toHtmlEscaped();
    out.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return out;
}

namespace {

// The character references the filter reads inside attribute values.
QString decodeReferences(const QString &s)
{
    static const QRegularExpression ref(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|amp|lt|gt|quot|apos);?"));
    QString out;
    qsizetype last = 0;
    auto it = ref.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(s).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        char32_t cp = 0;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            cp = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            cp = name.mid(1).toUInt();
        else
            cp = name == QLatin1String("amp") ? U'&' : name == QLatin1String("lt") ? U'<' : name == QLatin1String("gt") ? U'>'
                 : name == QLatin1String("quot")                                                      ? U'"'
                                                                                                       : U'\'';
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = 0xFFFD;
        out += QString::fromUcs4(&cp, 1);
        last = m.capturedEnd();
    }
    out += QStringView(s).mid(last);
    return out;
}

bool isSafeUrl(const QString &value, bool allowMailto)
{
    const QString v = value.trimmed().toLower();
    return v.startsWith(QLatin1String("http://")) || v.startsWith(QLatin1String("https://")) ||
           (allowMailto && v.startsWith(QLatin1String("mailto:")));
}

bool isSafeColour(const QString &value)
{
    static const QRegularExpression colour(QStringLiteral("^(#[0-9a-fA-F]{3}|#[0-9a-fA-F]{6}|[a-zA-Z]{1,20})$"));
    return colour.match(value.trimmed()).hasMatch();
}

// The colour of a style attribute that holds only "color: X".
QString styleColour(const QString &style)
{
    static const QRegularExpression re(QStringLiteral("^\\s*color\\s*:\\s*([^;]*?)\\s*;?\\s*$"), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(style);
    return m.hasMatch() && isSafeColour(m.captured(1)) ? m.captured(1) : QString();
}

// The attributes of a tag's inside, names in lower case, values decoded.
QHash<QString, QString> attributes(const QString &s)
{
    static const QRegularExpression attr(
        QStringLiteral("([^\\s\"'>/=]+)(?:\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'=<>`]+)))?"));
    QHash<QString, QString> out;
    auto it = attr.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString name = m.captured(1).toLower();
        if (out.contains(name))
            continue;
        QString value = m.captured(2);
        if (value.isNull())
            value = m.captured(3);
        if (value.isNull())
            value = m.captured(4);
        out.insert(name, decodeReferences(value));
    }
    return out;
}

// Text between tags: references that are well formed stay, everything else
// is escaped.
QString text(QStringView s)
{
    static const QRegularExpression ref(QStringLiteral("^&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z][a-zA-Z0-9]{1,31});"));
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('&')) {
            const auto m = ref.match(s.mid(i, 40).toString());
            if (m.hasMatch()) {
                out += m.captured(0);
                i += m.capturedLength() - 1;
            } else {
                out += QLatin1String("&amp;");
            }
        } else if (c == QLatin1Char('<')) {
            out += QLatin1String("&lt;");
        } else if (c == QLatin1Char('>')) {
            out += QLatin1String("&gt;");
        } else if (c == QLatin1Char('"')) {
            out += QLatin1String("&quot;");
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString questionText(const QString &html)
{
    static const QStringList plainTags = {QStringLiteral("b"),  QStringLiteral("i"),  QStringLiteral("u"),     QStringLiteral("strong"),
                                          QStringLiteral("em"), QStringLiteral("p"),  QStringLiteral("ul"),    QStringLiteral("ol"),
                                          QStringLiteral("li"), QStringLiteral("span"), QStringLiteral("font"), QStringLiteral("a")};
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)((?:[^>\"']|\"[^\"]*\"|'[^']*')*)>"));
    static const QRegularExpression comment(QStringLiteral("<!--.*?(-->|$)"), QRegularExpression::DotMatchesEverythingOption);
    const QString source = QString(html).remove(comment);

    QString out;
    QStringList open;
    qsizetype last = 0;
    auto it = tag.globalMatch(source);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text(QStringView(source).mid(last, m.capturedStart() - last));
        last = m.capturedEnd();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == QLatin1String("br")) {
            if (!closing)
                out += QLatin1String("<br>");
            continue;
        }
        if (name == QLatin1String("img")) {
            const auto attrs = attributes(m.captured(3));
            const QString src = attrs.value(QStringLiteral("src"));
            if (!closing && isSafeUrl(src, false))
                out += QStringLiteral("<img src=\"%1\" alt=\"\">").arg(escape(src.trimmed()));
            continue;
        }
        if (!plainTags.contains(name))
            continue;
        if (closing) {
            const qsizetype at = open.lastIndexOf(name);
            if (at < 0)
                continue;
            while (open.size() > at)
                out += QStringLiteral("</%1>").arg(open.takeLast());
            continue;
        }
        QString attrText;
        const auto attrs = attributes(m.captured(3));
        if (name == QLatin1String("font")) {
            const QString colour = attrs.value(QStringLiteral("color"));
            if (isSafeColour(colour))
                attrText = QStringLiteral(" color=\"%1\"").arg(escape(colour.trimmed()));
        } else if (name == QLatin1String("span")) {
            const QString colour = styleColour(attrs.value(QStringLiteral("style")));
            if (!colour.isEmpty())
                attrText = QStringLiteral(" style=\"color: %1\"").arg(escape(colour.trimmed()));
        } else if (name == QLatin1String("a")) {
            const QString href = attrs.value(QStringLiteral("href"));
            if (isSafeUrl(href, true))
                attrText = QStringLiteral(" href=\"%1\" rel=\"noopener noreferrer\"").arg(escape(href.trimmed()));
        }
        out += QStringLiteral("<%1%2>").arg(name, attrText);
        open << name;
    }
    out += text(QStringView(source).mid(last));
    while (!open.isEmpty())
        out += QStringLiteral("</%1>").arg(open.takeLast());
    return out;
}

} // namespace HtmlFilter
