#pragma once

#include "choicequestion.h"

// A question answered by choosing one radio button.
class SingleChoiceQuestion : public ChoiceQuestion
{
public:
    QString markup(bool bCSS, int iCount) const override;
    QString checkScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::SingleChoice; }
    std::unique_ptr<Question> clone() const override { return std::make_unique<SingleChoiceQuestion>(*this); }
};

