#include "multiplechoicequestiondialog.h"

#include <QLineEdit>

MultipleChoiceQuestionDialog::MultipleChoiceQuestionDialog(AnswerDialog &answerDialog, QWidget *parent)
    : QuestionDialog(QuestionKind::MultipleChoice, QStringLiteral("Multiple Choice Frage"), QSize(537, 324), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmCheckQuestion"));
}

bool MultipleChoiceQuestionDialog::checkInput()
{
    if (!QuestionDialog::checkInput())
        return false;
    if (countRightAnswers() == 0) {
        fail(QStringLiteral("Mindestens eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein."), nullptr);
        return false;
    }
    return true;
}
