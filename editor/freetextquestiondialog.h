#pragma once

#include "questiondialog.h"

// "Einfache Frage": the free-text question.
class FreeTextQuestionDialog : public QuestionDialog
{
    Q_OBJECT
public:
    FreeTextQuestionDialog(AnswerDialog &answerDialog, QWidget *parent);
};
