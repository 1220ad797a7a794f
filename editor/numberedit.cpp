#include "numberedit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <climits>

NumberEdit::NumberEdit(QWidget *parent)
    : QAbstractSpinBox(parent)
{
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumberEdit::textEdited);
}

void NumberEdit::setRange(int minimum, int maximum)
{
    m_hasRange = true;
    m_min = minimum;
    m_max = maximum;
}

QString NumberEdit::text() const
{
    return lineEdit()->text();
}

void NumberEdit::setText(const QString &text)
{
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

QValidator::State NumberEdit::validate(QString &, int &) const
{
    // Any text may stand in the field; keys are filtered as they are typed.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled NumberEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    if (!m_hasRange)
        return StepUpEnabled | StepDownEnabled;
    bool ok = false;
    const int v = text().toInt(&ok);
    StepEnabled e = StepNone;
    if (!ok || v < m_max)
        e |= StepUpEnabled;
    if (!ok || v > m_min)
        e |= StepDownEnabled;
    return e;
}

void NumberEdit::stepBy(int steps)
{
    bool ok = false;
    long long v = text().toInt(&ok);
    if (!ok)
        v = 0;
    v += steps;
    if (m_hasRange)
        v = std::clamp<long long>(v, m_min, m_max);
    v = std::clamp<long long>(v, INT_MIN, INT_MAX);
    const QString t = QString::number(v);
    if (t != text()) {
        lineEdit()->setText(t);
        emit textEdited(t);
    }
    selectAll();
}

void NumberEdit::keyPressEvent(QKeyEvent *event)
{
    const QString t = event->text();
    if (!t.isEmpty() && t[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = t[0];
        const QString decimal = QLocale().decimalPoint();
        const bool allowed = c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || QString(c) == decimal;
        if (!allowed) {
            event->ignore();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent *event)
{
    clampToRange();
    QAbstractSpinBox::focusOutEvent(event);
}

void NumberEdit::clampToRange()
{
    if (!m_hasRange)
        return;
    bool ok = false;
    const long long v = text().toLongLong(&ok);
    if (!ok)
        return;
    const long long c = std::clamp<long long>(v, m_min, m_max);
    if (c != v) {
        const QString t = QString::number(c);
        lineEdit()->setText(t);
        emit textEdited(t);
    }
}
