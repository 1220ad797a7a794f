#pragma once

#include "question.h"

#include <QStringList>

// A question answered by typing into one or more text fields.
class FreeTextQuestion : public Question
{
public:
    void appendMarkup(QString &out, bool css, int number) const override;
    void appendCheckScript(QString &out, int number) const override;
    QuestionKind kind() const override { return QuestionKind::FreeText; }
    int answerCount() const override { return answers.size(); }
    std::unique_ptr<Question> clone() const override { return std::make_unique<FreeTextQuestion>(*this); }

    QStringList answers;
    QString fieldSize;
    QString maxLength;
};

