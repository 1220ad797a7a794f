#pragma once

#include "choicequestion.h"

#include <QStringList>

// A question answered by ticking check boxes.
class MultipleChoiceQuestion : public ChoiceQuestion
{
public:
    void appendMarkup(QString &out, bool css, int number) const override;
    void appendCheckScript(QString &out, int number) const override;
    QuestionKind kind() const override { return QuestionKind::MultipleChoice; }
    std::unique_ptr<Question> clone() const override { return std::make_unique<MultipleChoiceQuestion>(*this); }
};

