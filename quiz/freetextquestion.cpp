#include "freetextquestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlAttribute;
using PageText::num;

QString FreeTextQuestion::markup(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    // Every field is named by the question text.
    const QString captionId = QStringLiteral("Frage") + num(iCount) + QStringLiteral("_text");
    QString lines;
    for (int j = 0; j < answers.size(); ++j) {
        lines += QStringLiteral("<input") + c + QStringLiteral(" name=\"Frage") + num(iCount) + QLatin1Char('_') + num(j) +
                 QStringLiteral("\" size=\"") + htmlAttribute(fieldSize) + QStringLiteral("\" maxlength=\"") + htmlAttribute(maxLength) +
                 QStringLiteral("\" type=\"text\" aria-labelledby=\"") + captionId + QStringLiteral("\"><br>") + CRLF;
    }
    return genFrame(lines, answers.isEmpty() ? QString() : captionId);
}

QString FreeTextQuestion::checkScript(int i) const
{
    QString s;
    const QString standard = QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht vollständig ausgefüllt.\");");
    for (int j = 0; j < answers.size(); ++j) {
        const QString field = QStringLiteral("document.PRUVEX.Frage") + num(i) + QLatin1Char('_') + num(j);
        s += QStringLiteral("if(") + field + QStringLiteral(".value == \"\")  {") + CRLF;
        s += alertLine(standard);
        s += field + QStringLiteral(".focus();") + CRLF;
        s += QStringLiteral("return false;") + CRLF;
        s += QStringLiteral("}") + CRLF + CRLF;
    }
    return s;
}

