#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// "Antwort eingeben": enters or changes one answer text, for every kind of
// question. Created once at start-up and reused; callers run clear first.
class AnswerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnswerDialog(QWidget *parent = nullptr);

    void clear();
    QLineEdit *textEdit() const { return m_textEdit; }
    QCheckBox *rightCheck() const { return m_rightCheck; }

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_textEdit;
    QCheckBox *m_rightCheck;
};
