#pragma once

#include "questiondialog.h"

// "Single Choice Frage": radio buttons, exactly one right.
class SingleChoiceQuestionDialog : public QuestionDialog
{
    Q_OBJECT
public:
    SingleChoiceQuestionDialog(AnswerDialog &answerDialog, QWidget *parent);

protected:
    bool checkInput() override;
};
