#include "questionlist.h"

QuestionList QuestionList::cloned() const
{
    QuestionList copy;
    for (const auto &q : m_items)
        copy.append(q->clone());
    return copy;
}
