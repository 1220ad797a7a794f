#pragma once

#include "question.h"

#include <QStringList>

// A question answered by typing into one or more text fields.
class FreeTextQuestion : public Question
{
public:
    QString markup(bool bCSS, int iCount) const override;
    QString checkScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::FreeText; }
    int answerCount() const override { return answers.size(); }
    std::unique_ptr<Question> clone() const override { return std::make_unique<FreeTextQuestion>(*this); }

    QStringList answers;
    QString fieldSize;
    QString maxLength;
};

