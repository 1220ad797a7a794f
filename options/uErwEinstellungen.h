#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class Quiz;

// "Erweiterte Formulareinstellungen": the error page of the captcha spam
// protection and the page's character encoding.
class TfrmErwEinstellungen : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmErwEinstellungen(QWidget *parent = nullptr);

    // Shows the dialog for one use with the quiz's values and writes them
    // back on OK; true when it was left with OK.
    static bool edit(QWidget *parent, Quiz &quiz);

    QLineEdit *edtCaptcha;
    QComboBox *cboEncoding;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QToolButton *btGOCaptcha;
    QPushButton *Button1, *btCancel;
};
