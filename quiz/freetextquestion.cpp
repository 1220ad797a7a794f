#include "freetextquestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::FieldClass;
using PageText::htmlAttribute;
using PageText::num;

void FreeTextQuestion::appendMarkup(QString &out, bool css, int number) const
{
    const QString c = css ? FieldClass : QString();
    const QString n = num(number);
    // Every field is named by the question text.
    const QString captionId = QStringLiteral("Frage") + n + QStringLiteral("_text");
    appendFrameStart(out, answers.isEmpty() ? QString() : captionId);
    const QString size = htmlAttribute(fieldSize);
    const QString length = htmlAttribute(maxLength);
    for (int j = 0; j < answers.size(); ++j) {
        out += QStringLiteral("<input") + c + QStringLiteral(" name=\"Frage") + n + QLatin1Char('_') + num(j) + QStringLiteral("\" size=\"") + size +
               QStringLiteral("\" maxlength=\"") + length + QStringLiteral("\" type=\"text\" aria-labelledby=\"") + captionId +
               QStringLiteral("\"><br>") + CRLF;
    }
    appendFrameEnd(out);
}

void FreeTextQuestion::appendCheckScript(QString &out, int number) const
{
    const QString n = num(number);
    const QString alert = alertLine(QStringLiteral("alert(\"Sie haben Frage ") + n + QStringLiteral(" nicht vollständig ausgefüllt.\");"));
    for (int j = 0; j < answers.size(); ++j) {
        const QString field = QStringLiteral("document.PRUVEX.Frage") + n + QLatin1Char('_') + num(j);
        out += QStringLiteral("if(") + field + QStringLiteral(".value == \"\")  {") + CRLF;
        out += alert;
        out += field + QStringLiteral(".focus();") + CRLF;
        out += QStringLiteral("return false;") + CRLF;
        out += QStringLiteral("}") + CRLF + CRLF;
    }
}
