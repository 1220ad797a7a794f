#include "singlechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlMarkup;
using PageText::num;

QString SingleChoiceQuestion::markup(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < int(options.size()); ++j) {
        // The option text is the button's label: clicking it chooses the option.
        lines += QStringLiteral("<label><input") + c + QStringLiteral(" type=\"radio\" name=\"Frage") + num(iCount) +
                 QStringLiteral("\" value=\"") + num(j) + QStringLiteral("\"> ") + htmlMarkup(options[size_t(j)].text) +
                 QStringLiteral("</label><br>") + CRLF;
    }
    return genFrame(lines);
}

QString SingleChoiceQuestion::checkScript(int i) const
{
    const QString field = QStringLiteral("document.PRUVEX.Frage") + num(i);
    const QString alert = alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht ausgefüllt.\");"));
    QString s;
    // Without options there is nothing to choose and nothing to check.
    if (options.empty())
        return s;
    // A single radio button is the element itself, without length.
    if (options.size() == 1) {
        s += QStringLiteral("  if (!") + field + QStringLiteral(".checked)") + CRLF;
        s += QStringLiteral("  {") + CRLF;
        s += alert;
        s += QStringLiteral("    return (false);") + CRLF;
        s += QStringLiteral("  }") + CRLF + CRLF;
        return s;
    }
    s += QStringLiteral("var Option = false;") + CRLF;
    s += QStringLiteral("for (i = 0;  i < ") + field + QStringLiteral(".length;  i++)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += QStringLiteral("    if (") + field + QStringLiteral("[ i ].checked)") + CRLF;
    s += QStringLiteral("        Option = true;") + CRLF;
    s += QStringLiteral("  }") + CRLF;
    s += QStringLiteral("  if (!Option)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += alert;
    s += QStringLiteral("    return (false);") + CRLF;
    s += QStringLiteral("  }") + CRLF + CRLF;
    return s;
}

