#include "multiplechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlMarkup;
using PageText::num;

void MultipleChoiceQuestion::appendMarkup(QString &out, bool css, int number) const
{
    const QString c = css ? FieldClass : QString();
    const QString n = num(number);
    appendFrameStart(out);
    for (int j = 0; j < int(options.size()); ++j) {
        // The option text is the box's label: clicking it ticks the box.
        out += QStringLiteral("<label><input") + c + QStringLiteral(" type=\"checkbox\" name=\"Frage") + n + QLatin1Char('_') + num(j) +
               QStringLiteral("\" value=\"set\"> ") + htmlMarkup(options[size_t(j)].text) + QStringLiteral("</label><br>") + CRLF;
    }
    appendFrameEnd(out);
}

void MultipleChoiceQuestion::appendCheckScript(QString &out, int number) const
{
    // Without options there is nothing to tick and nothing to check.
    if (options.empty())
        return;
    const QString n = num(number);
    out += QStringLiteral("if (");
    for (int j = 0; j < int(options.size()); ++j) {
        if (j > 0)
            out += QStringLiteral(" && ");
        out += QStringLiteral("document.PRUVEX.Frage") + n + QLatin1Char('_') + num(j) + QStringLiteral(".checked == false");
    }
    out += QStringLiteral(")") + CRLF;
    out += QStringLiteral("    {") + CRLF;
    out += alertLine(QStringLiteral("alert(\"Sie haben Frage ") + n + QStringLiteral(" nicht ausgefüllt.\");"));
    out += QStringLiteral("     document.PRUVEX.Frage") + n + QStringLiteral("_0.focus();") + CRLF;
    out += QStringLiteral("     return false;") + CRLF;
    out += QStringLiteral("    }") + CRLF + CRLF;
}
