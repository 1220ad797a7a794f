#include "prompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>

namespace {
struct TestState {
    bool on = false;
    QQueue<QVariant> answers;
    QList<Prompts::Asked> asked;
};
TestState &state()
{
    static TestState s;
    return s;
}

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Information:
        return QMessageBox::Information;
    case Prompts::Question:
        return QMessageBox::Question;
    case Prompts::Warning:
        return QMessageBox::Warning;
    case Prompts::Critical:
        return QMessageBox::Critical;
    case Prompts::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void Prompts::setTestMode(bool on)
{
    state().on = on;
}
bool Prompts::testMode()
{
    return state().on;
}
void Prompts::setNextAnswer(const QVariant &answer)
{
    state().answers.enqueue(answer);
}
QList<Prompts::Asked> Prompts::asked()
{
    return state().asked;
}
void Prompts::clearAsked()
{
    state().asked.clear();
    state().answers.clear();
}
int Prompts::pendingAnswers()
{
    return state().answers.size();
}

QVariant Prompts::takeAnswer(const QVariant &fallback)
{
    return state().answers.isEmpty() ? fallback : state().answers.dequeue();
}

void Prompts::record(const Asked &a)
{
    state().asked.append(a);
}

void Prompts::message(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    if (testMode()) {
        record({QStringLiteral("message"), title, text, {}});
        takeAnswer(QVariant::fromValue(Ok));
        return;
    }
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

Prompts::Answer Prompts::question(QWidget *parent, const QString &title, const QString &text, bool withCancel, Icon icon)
{
    if (testMode()) {
        record({QStringLiteral("question"), title, text, {}});
        return takeAnswer(QVariant::fromValue(withCancel ? Cancel : No)).value<Answer>();
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), title, text, buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return withCancel ? Cancel : No;
    }
}

QString Prompts::saveFileName(QWidget *parent, const QString &title, const QString &proposed, const QString &filter)
{
    if (testMode()) {
        record({QStringLiteral("save"), title, filter, proposed});
        return takeAnswer(QString()).toString();
    }
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}

QString Prompts::openFileName(QWidget *parent, const QString &title, const QString &proposed, const QString &filter)
{
    if (testMode()) {
        record({QStringLiteral("open"), title, filter, proposed});
        return takeAnswer(QString()).toString();
    }
    return QFileDialog::getOpenFileName(parent, title, proposed, filter);
}

QColor Prompts::color(QWidget *parent, const QColor &initial)
{
    if (testMode()) {
        record({QStringLiteral("color"), {}, initial.name(), {}});
        return takeAnswer(QColor()).value<QColor>();
    }
    return QColorDialog::getColor(initial, parent);
}

void Prompts::openUrl(const QUrl &url)
{
    if (testMode()) {
        record({QStringLiteral("openUrl"), {}, url.toString(), {}});
        return;
    }
    QDesktopServices::openUrl(url);
}
