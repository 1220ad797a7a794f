#include "singlechoicequestiondialog.h"

#include <QLineEdit>

SingleChoiceQuestionDialog::SingleChoiceQuestionDialog(AnswerDialog &answerDialog, QWidget *parent)
    : QuestionDialog(QuestionKind::SingleChoice, QStringLiteral("Single Choice Frage"), QSize(521, 329), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmSingleQuestion"));
}

bool SingleChoiceQuestionDialog::checkInput()
{
    if (m_captionEdit->text().isEmpty()) {
        fail(QStringLiteral("Bitte geben Sie etwas im Feld \"Name\" ein."), m_captionEdit);
        return false;
    }
    const int right = countRightAnswers();
    if (right == 0) {
        fail(QStringLiteral("Eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein."), nullptr);
        return false;
    }
    if (right > 1) {
        fail(QStringLiteral(
                 "Mehr als eine Antwort wurde als richtig gekennzeichnet.\r\nNur eine richtige Antwort bei Single Choice Fragen möglich."),
             nullptr);
        return false;
    }
    return true;
}
