#pragma once

#include "questions.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class TfrmAntwort;

// The shared layout and behaviour of the three question dialogs. Each is
// created once at start-up and reused: callers run ClearAll, then
// LoadFromObject for an existing question, show it modally, and on OK call
// SaveToObject.
class TfrmQuestionDialog : public QDialog
{
    Q_OBJECT

public:
    // Edits a text in the HTML text editor; true when the text was taken over.
    using HtmlEditor = std::function<bool(QWidget *parent, QString *text)>;

    void ClearAll();
    void LoadFromObject(const TQuestion &question);
    void SaveToObject(TQuestion &question) const;
    virtual QuestionKind kind() const = 0;

    void setHtmlEditor(HtmlEditor editor) { m_htmlEditor = std::move(editor); }

    // The answer list buttons.
    void sbNewClick();
    void sbEditClick();
    void sbDeleteClick();

    void accept() override;

protected:
    TfrmQuestionDialog(const QString &caption, QSize clientSize, TfrmAntwort &answerDialog, QWidget *parent);
    void showEvent(QShowEvent *event) override;

    bool isChoice() const { return kind() != QuestionKind::Simple; }
    int countRightAnswers() const;
    // The checks on OK; the first failing one shows its message.
    virtual bool checkInput();
    void fail(const QString &message, QWidget *focus);

    QLineEdit *edtBeschriftung = nullptr;
    QLineEdit *edtGroesse = nullptr;
    QLineEdit *edtLaenge = nullptr;
    QTableWidget *lstAnswers = nullptr;

private:
    void editAnswer(int row);
    void appendRow(const QString &text, bool right);

    TfrmAntwort &m_answerDialog;
    HtmlEditor m_htmlEditor;
    QTabWidget *PageControl1 = nullptr;
    QCheckBox *chkPflicht = nullptr;
    QLineEdit *edtMeldung = nullptr;
    QLineEdit *edtLinkTip = nullptr;
    QLineEdit *edtBild = nullptr;
    QPlainTextEdit *memoHinweis = nullptr;
};

// "Einfache Frage": the free-text question.
class TfrmEinzField : public TfrmQuestionDialog
{
    Q_OBJECT
public:
    TfrmEinzField(TfrmAntwort &answerDialog, QWidget *parent);
    QuestionKind kind() const override { return QuestionKind::Simple; }
};

// "Multiple Choice Frage": check boxes, at least one right.
class TfrmCheckQuestion : public TfrmQuestionDialog
{
    Q_OBJECT
public:
    TfrmCheckQuestion(TfrmAntwort &answerDialog, QWidget *parent);
    QuestionKind kind() const override { return QuestionKind::Multi; }

protected:
    bool checkInput() override;
};

// "Single Choice Frage": radio buttons, exactly one right.
class TfrmSingleQuestion : public TfrmQuestionDialog
{
    Q_OBJECT
public:
    TfrmSingleQuestion(TfrmAntwort &answerDialog, QWidget *parent);
    QuestionKind kind() const override { return QuestionKind::Single; }

protected:
    bool checkInput() override;
};
