#pragma once

#include "choicequestion.h"

// A question answered by choosing one radio button.
class SingleChoiceQuestion : public ChoiceQuestion
{
public:
    void appendMarkup(QString &out, bool css, int number) const override;
    void appendCheckScript(QString &out, int number) const override;
    QuestionKind kind() const override { return QuestionKind::SingleChoice; }
    std::unique_ptr<Question> clone() const override { return std::make_unique<SingleChoiceQuestion>(*this); }
};

