#include "question.h"

#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "singlechoicequestion.h"

#include "pagetext.h"

using PageText::CRLF;
using PageText::htmlAttribute;
using PageText::htmlMarkup;
using PageText::jsString;
using PageText::markupAsAttribute;

QString Question::typeName() const
{
    switch (kind()) {
    case QuestionKind::FreeText:
        return QStringLiteral("TSimpleQuestion");
    case QuestionKind::MultipleChoice:
        return QStringLiteral("TMultiQuestion");
    case QuestionKind::SingleChoice:
        return QStringLiteral("TSingleQuestion");
    }
    return {};
}

QString Question::markup(bool css, int number) const
{
    QString out;
    appendMarkup(out, css, number);
    return out;
}

QString Question::checkScript(int number) const
{
    QString out;
    appendCheckScript(out, number);
    return out;
}

void Question::appendFrameStart(QString &out, const QString &captionId) const
{
    // The picture is described by its question.
    if (!picture.isEmpty())
        out += QStringLiteral("<tr><td><img src=\"") + htmlAttribute(picture) + QStringLiteral("\" border=\"0\" alt=\"") +
               markupAsAttribute(caption) + QStringLiteral("\"></td></tr>") + CRLF;
    out += QStringLiteral("<tr>") + CRLF;
    out += QStringLiteral("<td class=\"link\"><b");
    if (!captionId.isEmpty())
        out += QStringLiteral(" id=\"") + captionId + QLatin1Char('"');
    out += QLatin1Char('>') + htmlMarkup(caption) + QStringLiteral("</b><br>") + CRLF;
}

void Question::appendFrameEnd(QString &out) const
{
    if (!tipLink.isEmpty())
        out += QStringLiteral("<a href=\"") + htmlAttribute(tipLink) + QStringLiteral("\" class=\"tip\" target=\"_blank\">Tipp</a><br>") +
               CRLF;
    out += QStringLiteral("<hr height=\"1\" width=\"100%\">") + CRLF;
    out += QStringLiteral("\t</td>") + CRLF;
    out += QStringLiteral("</tr>") + CRLF;
}

QString Question::alertLine(const QString &standardText) const
{
    if (!alertText.isEmpty())
        return QStringLiteral("alert(\"") + jsString(alertText) + QStringLiteral("\");") + CRLF;
    return standardText + CRLF;
}

std::unique_ptr<Question> createQuestion(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::FreeText:
        return std::make_unique<FreeTextQuestion>();
    case QuestionKind::MultipleChoice:
        return std::make_unique<MultipleChoiceQuestion>();
    case QuestionKind::SingleChoice:
        return std::make_unique<SingleChoiceQuestion>();
    }
    return nullptr;
}

std::unique_ptr<Question> createQuestion(const QString &typeName)
{
    if (typeName == QLatin1String("TSimpleQuestion"))
        return createQuestion(QuestionKind::FreeText);
    if (typeName == QLatin1String("TMultiQuestion"))
        return createQuestion(QuestionKind::MultipleChoice);
    if (typeName == QLatin1String("TSingleQuestion"))
        return createQuestion(QuestionKind::SingleChoice);
    return nullptr;
}

