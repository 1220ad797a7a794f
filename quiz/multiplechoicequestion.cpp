#include "multiplechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlMarkup;
using PageText::num;

QString MultipleChoiceQuestion::markup(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < int(options.size()); ++j) {
        // The option text is the box's label: clicking it ticks the box.
        lines += QStringLiteral("<label><input") + c + QStringLiteral(" type=\"checkbox\" name=\"Frage") + num(iCount) + QLatin1Char('_') +
                 num(j) + QStringLiteral("\" value=\"set\"> ") + htmlMarkup(options[size_t(j)].text) + QStringLiteral("</label><br>") + CRLF;
    }
    return genFrame(lines);
}

QString MultipleChoiceQuestion::checkScript(int i) const
{
    // Without options there is nothing to tick and nothing to check.
    if (options.empty())
        return {};
    QStringList conditions;
    for (int j = 0; j < int(options.size()); ++j)
        conditions << QStringLiteral("document.PRUVEX.Frage") + num(i) + QLatin1Char('_') + num(j) + QStringLiteral(".checked == false");
    QString s;
    s += QStringLiteral("if (") + conditions.join(QStringLiteral(" && ")) + QStringLiteral(")") + CRLF;
    s += QStringLiteral("    {") + CRLF;
    s += alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht ausgefüllt.\");"));
    s += QStringLiteral("     document.PRUVEX.Frage") + num(i) + QStringLiteral("_0.focus();") + CRLF;
    s += QStringLiteral("     return false;") + CRLF;
    s += QStringLiteral("    }") + CRLF + CRLF;
    return s;
}

