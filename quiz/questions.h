#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// One answer option of a choice question.
struct TQuestionList {
    QString strQuestion;
    bool bRight = false;

    bool operator==(const TQuestionList &o) const { return strQuestion == o.strQuestion && bRight == o.bRight; }
};

enum class QuestionKind { Simple, Multi, Single };

// A question of the quiz. Each kind writes its own table rows and its own
// input check into the page.
class TQuestion
{
public:
    virtual ~TQuestion() = default;

    // The question's table rows; bCSS gives the inputs the class "field",
    // iCount is the question's number counted from 1.
    virtual QString GenCode(bool bCSS, int iCount) const = 0;
    // The JavaScript check that the question was answered; i counts from 1.
    virtual QString GenScript(int i) const = 0;

    virtual QuestionKind kind() const = 0;
    // "TSimpleQuestion", "TMultiQuestion" or "TSingleQuestion".
    QString className() const;
    // The number of text fields or answer options.
    virtual int answerCount() const = 0;
    virtual std::unique_ptr<TQuestion> clone() const = 0;

    QString strName;
    QString strBeschriftung;
    QString strErklaerung;
    QString strLinkTipp;
    QString strBild;
    bool bPflicht = false;
    QString strMeldung;

protected:
    // The frame that every kind writes around its answer lines.
    QString genFrame(const QString &answerLines) const;
    // The alert of the check: the custom text, or the kind's standard text.
    QString alertLine(const QString &standardText) const;
};

class TSimpleQuestion : public TQuestion
{
public:
    QString GenCode(bool bCSS, int iCount) const override;
    QString GenScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::Simple; }
    int answerCount() const override { return arAnswers.size(); }
    std::unique_ptr<TQuestion> clone() const override { return std::make_unique<TSimpleQuestion>(*this); }

    QStringList arAnswers;
    QString strGroesse;
    QString strMaxLaenge;
};

// Shared by the two choice kinds.
class TChoiceQuestion : public TQuestion
{
public:
    int answerCount() const override { return int(arQuestions.size()); }
    std::vector<TQuestionList> arQuestions;
};

class TMultiQuestion : public TChoiceQuestion
{
public:
    QString GenCode(bool bCSS, int iCount) const override;
    QString GenScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::Multi; }
    std::unique_ptr<TQuestion> clone() const override { return std::make_unique<TMultiQuestion>(*this); }
};

class TSingleQuestion : public TChoiceQuestion
{
public:
    QString GenCode(bool bCSS, int iCount) const override;
    QString GenScript(int i) const override;
    QuestionKind kind() const override { return QuestionKind::Single; }
    std::unique_ptr<TQuestion> clone() const override { return std::make_unique<TSingleQuestion>(*this); }
};

// Creates an empty question of the kind named by its class name, or null.
std::unique_ptr<TQuestion> createQuestion(const QString &className);
std::unique_ptr<TQuestion> createQuestion(QuestionKind kind);

// The quiz's ordered list of questions; it owns them.
class QuestionList
{
public:
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    TQuestion *at(int i) const { return m_items[size_t(i)].get(); }
    void append(std::unique_ptr<TQuestion> q) { m_items.push_back(std::move(q)); }
    void removeAt(int i) { m_items.erase(m_items.begin() + i); }
    void swap(int i, int j) { std::swap(m_items[size_t(i)], m_items[size_t(j)]); }
    void clear() { m_items.clear(); }
    void swapWith(QuestionList &other) { m_items.swap(other.m_items); }
    QuestionList cloned() const;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<TQuestion>> m_items;
};
