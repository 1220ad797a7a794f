#pragma once

#include "question.h"

#include <vector>

// Shared by the two choice kinds.
class ChoiceQuestion : public Question
{
public:
    int answerCount() const override { return int(options.size()); }
    std::vector<AnswerOption> options;
};

