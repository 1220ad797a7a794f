#pragma once

#include <QAbstractSpinBox>

// A number field with up and down arrows. It holds its value as text, so a
// project may bring any text ("abc"); typing takes only digits, signs and the
// decimal separator. With a range the arrows stay inside it and a typed value
// outside it moves to the nearer bound when the field loses the focus.
class NumberEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit NumberEdit(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    bool hasRange() const { return m_hasRange; }
    QString text() const;
    void setText(const QString &text);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    void textEdited(const QString &text);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void clampToRange();
    bool m_hasRange = false;
    int m_min = 0;
    int m_max = 0;
};
