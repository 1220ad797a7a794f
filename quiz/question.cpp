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

QString Question::genFrame(const QString &answerLines, const QString &captionId) const
{
    QString s;
    // The picture is described by its question.
    if (!picture.isEmpty())
        s += QStringLiteral("<tr><td><img src=\"") + htmlAttribute(picture) + QStringLiteral("\" border=\"0\" alt=\"") +
             markupAsAttribute(caption) + QStringLiteral("\"></td></tr>") + CRLF;
    s += QStringLiteral("<tr>") + CRLF;
    const QString id = captionId.isEmpty() ? QString() : QStringLiteral(" id=\"") + captionId + QLatin1Char('"');
    s += QStringLiteral("<td class=\"link\"><b") + id + QLatin1Char('>') + htmlMarkup(caption) + QStringLiteral("</b><br>") + CRLF;
    s += answerLines;
    if (!tipLink.isEmpty())
        s += QStringLiteral("<a href=\"") + htmlAttribute(tipLink) + QStringLiteral("\" class=\"tip\" target=\"_blank\">Tipp</a><br>") +
             CRLF;
    s += QStringLiteral("<hr height=\"1\" width=\"100%\">") + CRLF;
    s += QStringLiteral("\t</td>") + CRLF;
    s += QStringLiteral("</tr>") + CRLF;
    return s;
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

