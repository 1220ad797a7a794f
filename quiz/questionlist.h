#pragma once

#include "question.h"

#include <memory>
#include <vector>

// The quiz's ordered list of questions; it owns them.
class QuestionList
{
public:
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    Question *at(int i) const { return m_items[size_t(i)].get(); }
    void append(std::unique_ptr<Question> q) { m_items.push_back(std::move(q)); }
    void removeAt(int i) { m_items.erase(m_items.begin() + i); }
    void swap(int i, int j) { std::swap(m_items[size_t(i)], m_items[size_t(j)]); }
    void clear() { m_items.clear(); }
    void swapWith(QuestionList &other) { m_items.swap(other.m_items); }
    QuestionList cloned() const;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<Question>> m_items;
};
