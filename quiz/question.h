#pragma once

#include <QString>
#include <memory>

// One answer option of a choice question.
struct AnswerOption {
    QString text;
    bool right = false;

    bool operator==(const AnswerOption &o) const { return text == o.text && right == o.right; }
};

enum class QuestionKind { FreeText, MultipleChoice, SingleChoice };

// A question of the quiz. Each kind writes its own table rows and its own
// input check into the page.
class Question
{
public:
    virtual ~Question() = default;

    // Appends the question's table rows to out; css gives the inputs the
    // class "field", number is the question's number counted from 1.
    virtual void appendMarkup(QString &out, bool css, int number) const = 0;
    // Appends the JavaScript check that the question was answered.
    virtual void appendCheckScript(QString &out, int number) const = 0;
    // The same two as texts of their own.
    QString markup(bool css, int number) const;
    QString checkScript(int number) const;

    virtual QuestionKind kind() const = 0;
    // "TSimpleQuestion", "TMultiQuestion" or "TSingleQuestion".
    QString typeName() const;
    // The number of text fields or answer options.
    virtual int answerCount() const = 0;
    virtual std::unique_ptr<Question> clone() const = 0;

    QString name;
    QString caption;
    QString hint;
    QString tipLink;
    QString picture;
    bool required = false;
    QString alertText;

protected:
    // The frame that every kind writes around its answer lines, in two
    // parts: the picture and the question text before them (a caption id
    // makes the text the name of inputs that refer to it), the tip link and
    // the rule after them.
    void appendFrameStart(QString &out, const QString &captionId = QString()) const;
    void appendFrameEnd(QString &out) const;
    // The alert of the check: the custom text, or the kind's standard text.
    QString alertLine(const QString &standardText) const;
};

// Creates an empty question of the kind named by its class name, or null.
std::unique_ptr<Question> createQuestion(const QString &typeName);
std::unique_ptr<Question> createQuestion(QuestionKind kind);

