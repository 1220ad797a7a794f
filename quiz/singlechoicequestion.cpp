#include "singlechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlMarkup;
using PageText::num;

void SingleChoiceQuestion::appendMarkup(QString &out, bool css, int number) const
{
    const QString c = css ? FieldClass : QString();
    const QString n = num(number);
    appendFrameStart(out);
    for (int j = 0; j < int(options.size()); ++j) {
        // The option text is the button's label: clicking it chooses the option.
        out += QStringLiteral("<label><input") + c + QStringLiteral(" type=\"radio\" name=\"Frage") + n + QStringLiteral("\" value=\"") + num(j) +
               QStringLiteral("\"> ") + htmlMarkup(options[size_t(j)].text) + QStringLiteral("</label><br>") + CRLF;
    }
    appendFrameEnd(out);
}

void SingleChoiceQuestion::appendCheckScript(QString &out, int number) const
{
    // Without options there is nothing to choose and nothing to check.
    if (options.empty())
        return;
    const QString field = QStringLiteral("document.PRUVEX.Frage") + num(number);
    const QString alert = alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(number) + QStringLiteral(" nicht ausgefüllt.\");"));
    // A single radio button is the element itself, without length.
    if (options.size() == 1) {
        out += QStringLiteral("  if (!") + field + QStringLiteral(".checked)") + CRLF;
        out += QStringLiteral("  {") + CRLF;
        out += alert;
        out += QStringLiteral("    return (false);") + CRLF;
        out += QStringLiteral("  }") + CRLF + CRLF;
        return;
    }
    out += QStringLiteral("var Option = false;") + CRLF;
    out += QStringLiteral("for (i = 0;  i < ") + field + QStringLiteral(".length;  i++)") + CRLF;
    out += QStringLiteral("  {") + CRLF;
    out += QStringLiteral("    if (") + field + QStringLiteral("[ i ].checked)") + CRLF;
    out += QStringLiteral("        Option = true;") + CRLF;
    out += QStringLiteral("  }") + CRLF;
    out += QStringLiteral("  if (!Option)") + CRLF;
    out += QStringLiteral("  {") + CRLF;
    out += alert;
    out += QStringLiteral("    return (false);") + CRLF;
    out += QStringLiteral("  }") + CRLF + CRLF;
}
