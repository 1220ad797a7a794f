#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// "Antwort eingeben": enters or changes one answer text, for every kind of
// question. Created once at start-up and reused; callers run Clear first.
class TfrmAntwort : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAntwort(QWidget *parent = nullptr);

    void Clear();
    QLineEdit *edtAntwort() const { return m_edtAntwort; }
    QCheckBox *chkRight() const { return m_chkRight; }

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_edtAntwort;
    QCheckBox *m_chkRight;
};
