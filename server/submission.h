#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

class FormBody;

// One question of a sent quiz, as read from the hand-off, with its mark.
struct QuestionResult
{
    QString type;              // "TSimpleQuestion", "TMultiQuestion", "TSingleQuestion"
    QString text;              // the question text as sent (teacher's markup)
    QStringList answers;       // the participant's: typed texts, or the chosen options' texts
    QStringList rightAnswers;  // the expected texts, or the right options' texts
    std::optional<bool> right; // empty: not scored
};

// A sent quiz: the evaluation settings, the questions, the address fields.
struct Submission
{
    QString formId;
    QString subject;
    QString header;          // auswertung_header
    QString evaluationText;  // auswertung_text, line breaks as CR LF
    QString recipients;      // admin, unscrambled
    QString captchaErrorPage;
    bool showResult = false; // settings
    bool captcha = false;    // settingsc
    bool showUserAnswers = false;
    bool showCorrectAnswers = false;
    bool showDiagram = false;
    bool hasCaptchaInput = false;
    QString captchaInput;
    QList<QPair<QString, QString>> address; // input name, text; only the fields sent
    QList<QuestionResult> questions;
    int right = 0;
    int scored = 0;

    // Percentage of right among scored questions, rounded; 0 when none is scored.
    int percent() const { return scored ? (right * 200 + scored) / (2 * scored) : 0; }
};

// Reading the hand-off the page generator writes.
namespace SubmissionReader {

enum class Outcome { Ok, NotPruvex, Inconsistent, TooManyQuestions };

struct Result
{
    Outcome outcome = Outcome::Ok;
    QString message; // German, for the error page
    Submission submission;
};

// Reads and scores the form. maxQuestions bounds questioncount.
Result read(const FormBody &form, int maxQuestions);

} // namespace SubmissionReader

// The scoring rules, one per kind.
namespace Scoring {

// Free text: the typed answers equal the expected ones as a set, each
// expected answer matched once, without surrounding blanks, runs of blanks
// as one, upper and lower case alike. No expected answers: not scored.
std::optional<bool> freeText(const QStringList &typed, const QStringList &expected);
// Multiple choice: the ticked boxes are exactly the right ones.
bool multipleChoice(const QList<int> &ticked, const QList<int> &right);
// Single choice: the chosen option is a right one; with no right option,
// right when none is chosen. chosen is -1 for none.
bool singleChoice(int chosen, const QList<int> &right);

} // namespace Scoring
