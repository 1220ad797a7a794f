#pragma once

#include "questiondialog.h"

// "Multiple Choice Frage": check boxes, at least one right.
class MultipleChoiceQuestionDialog : public QuestionDialog
{
    Q_OBJECT
public:
    MultipleChoiceQuestionDialog(AnswerDialog &answerDialog, QWidget *parent);

protected:
    bool checkInput() override;
};
