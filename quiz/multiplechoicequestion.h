#pragma once

#include "choicequestion.h"

#include <QStringList>

// A question answered by ticking check boxes.
class MultipleChoiceQuestion : public ChoiceQuestion
{
public:
    QString markup(bool bCSS, int iCount) const override;
    QString checkScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::MultipleChoice; }
    std::unique_ptr<Question> clone() const override { return std::make_unique<MultipleChoiceQuestion>(*this); }
};

