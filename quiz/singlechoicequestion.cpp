#include "singlechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::num;

QString SingleChoiceQuestion::markup(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < int(options.size()); ++j) {
        lines += QStringLiteral("<input") + c + QStringLiteral(" type=\"radio\" name=\"Frage") + num(iCount) +
                 QStringLiteral("\" value=\"") + num(j) + QStringLiteral("\"> ") + options[size_t(j)].text +
                 QStringLiteral("<br>") + CRLF;
    }
    return genFrame(lines);
}

QString SingleChoiceQuestion::checkScript(int i) const
{
    const QString field = QStringLiteral("document.PRUVEX.Frage") + num(i);
    QString s;
    s += QStringLiteral("var Option = false;") + CRLF;
    s += QStringLiteral("for (i = 0;  i < ") + field + QStringLiteral(".length;  i++)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += QStringLiteral("    if (") + field + QStringLiteral("[ i ].checked)") + CRLF;
    s += QStringLiteral("        Option = true;") + CRLF;
    s += QStringLiteral("  }") + CRLF;
    s += QStringLiteral("  if (!Option)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht ausgefüllt.\");"));
    s += QStringLiteral("    return (false);") + CRLF;
    s += QStringLiteral("  }") + CRLF + CRLF;
    return s;
}

