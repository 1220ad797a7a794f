#pragma once

#include "settings.h"

#include <QDialog>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class Quiz;

// "Formulareigenschaften": the descriptive project properties. The fields
// take the quiz's values when the dialog is created; OK writes them back,
// Cancel and the close box change nothing.
class ProjectPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProjectPropertiesDialog(Quiz &quiz, QWidget *parent = nullptr);

    // Shows the dialog modally for one use; true when it was left with OK.
    static bool edit(QWidget *parent, Quiz &quiz);

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // One field and the setting it edits. A field whose text is still what it
    // showed at first writes back the setting's own text, so that OK without
    // a change stores exactly the same values (the comment field turns a lone
    // CR into a line break).
    struct Field {
        QWidget *control;
        SettingKey key;
        QString original;
        QString shown;
    };
    QString fieldText(const Field &field) const;

    Quiz &m_quiz;
    QLineEdit *m_titleEdit, *m_authorEdit, *m_companyEdit, *m_urlEdit;
    QPlainTextEdit *m_commentEdit;
    QToolButton *m_openUrlButton;
    QPushButton *m_cancelButton, *m_okButton;
    std::vector<Field> m_fields; // in the order of writing back
};
