#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class Quiz;

// "Erweiterte Formulareinstellungen": the error page of the captcha spam
// protection and the page's character encoding.
class AdvancedSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AdvancedSettingsDialog(QWidget *parent = nullptr);

    // Shows the dialog for one use with the quiz's values and writes them
    // back on OK; true when it was left with OK.
    static bool edit(QWidget *parent, Quiz &quiz);

    QLineEdit *m_captchaEdit;
    QComboBox *m_encodingCombo;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QToolButton *m_openCaptchaButton;
    QPushButton *m_okButton, *m_cancelButton;
};
