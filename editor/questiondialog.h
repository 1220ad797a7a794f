#pragma once

#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class AnswerDialog;

// The shared layout and behaviour of the three question dialogs. Each is
// created once at start-up and reused: callers run clear, then
// loadQuestion for an existing question, show it modally, and on OK call
// saveQuestion.
class QuestionDialog : public QDialog
{
    Q_OBJECT

public:
    // Edits a text in the HTML text editor; true when the text was taken over.
    using HtmlEditor = std::function<bool(QWidget *parent, QString *text)>;

    void clear();
    void loadQuestion(const Question &question);
    void saveQuestion(Question &question) const;
    QuestionKind kind() const { return m_kind; }

    void setHtmlEditor(HtmlEditor editor) { m_htmlEditor = std::move(editor); }

    // The answer list buttons.
    void newAnswer();
    void editAnswer();
    void deleteAnswer();

    void accept() override;

protected:
    QuestionDialog(QuestionKind kind, const QString &caption, QSize clientSize, AnswerDialog &answerDialog, QWidget *parent);
    void showEvent(QShowEvent *event) override;

    bool isChoice() const { return m_kind != QuestionKind::FreeText; }
    int countRightAnswers() const;
    // The checks on OK; the first failing one shows its message.
    virtual bool checkInput();
    void fail(const QString &message, QWidget *focus);

    QLineEdit *m_captionEdit = nullptr;
    QLineEdit *m_sizeEdit = nullptr;
    QLineEdit *m_lengthEdit = nullptr;
    QTableWidget *m_answerList = nullptr;

private:
    void editAnswerAt(int row);
    void appendRow(const QString &text, bool right);

    const QuestionKind m_kind;
    AnswerDialog &m_answerDialog;
    HtmlEditor m_htmlEditor;
    QTabWidget *m_tabs = nullptr;
    QCheckBox *m_requiredCheck = nullptr;
    QLineEdit *m_alertEdit = nullptr;
    QLineEdit *m_tipLinkEdit = nullptr;
    QLineEdit *m_pictureEdit = nullptr;
    QPlainTextEdit *m_hintEdit = nullptr;
    // The hint as loaded and as the plain-text widget shows it: the widget
    // turns a non-breaking space into a blank, so a hint it still shows
    // unchanged is written back as it was loaded.
    struct {
        QString original;
        QString shown;
    } m_hint;
};
