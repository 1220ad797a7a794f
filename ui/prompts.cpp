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
    QStringList problems;
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
}

void Prompts::resetTestState()
{
    state().asked.clear();
    state().answers.clear();
    state().problems.clear();
}

QStringList Prompts::testProblems()
{
    QStringList problems = state().problems;
    if (!state().answers.isEmpty())
        problems << QStringLiteral("%1 prepared answer(s) were never asked for").arg(state().answers.size());
    return problems;
}
int Prompts::pendingAnswers()
{
    return state().answers.size();
}

QVariant Prompts::takeAnswer(const Asked &asked, const QVariant &fallback, bool required)
{
    const QString what = asked.kind + QStringLiteral(" \"") + asked.title + QStringLiteral("\" (") + asked.text + QLatin1Char(')');
    if (state().answers.isEmpty()) {
        if (required)
            state().problems << QStringLiteral("unexpected ") + what;
        return fallback;
    }
    const QVariant answer = state().answers.dequeue();
    if (answer.metaType() != fallback.metaType())
        state().problems << QStringLiteral("%1 got an answer of the wrong kind (%2)").arg(what, QString::fromLatin1(answer.typeName()));
    else if (asked.kind == QLatin1String("message") && answer.value<Answer>() != Ok)
        state().problems << what + QStringLiteral(" can only be answered with OK");
    return answer.metaType() == fallback.metaType() ? answer : fallback;
}

void Prompts::record(const Asked &a)
{
    state().asked.append(a);
}

void Prompts::message(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    if (testMode()) {
        const Asked a{QStringLiteral("message"), title, text, {}};
        record(a);
        // A box with one button needs no prepared answer.
        takeAnswer(a, QVariant::fromValue(Ok), false);
        return;
    }
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

Prompts::Answer Prompts::question(QWidget *parent, const QString &title, const QString &text, bool withCancel, Icon icon)
{
    if (testMode()) {
        const Asked a{QStringLiteral("question"), title, text, {}};
        record(a);
        const Answer answer = takeAnswer(a, QVariant::fromValue(withCancel ? Cancel : No), true).value<Answer>();
        if (answer == Ok || (answer == Cancel && !withCancel))
            state().problems << QStringLiteral("question \"%1\" has no such button").arg(text);
        return answer;
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
        const Asked a{QStringLiteral("save"), title, filter, proposed};
        record(a);
        return takeAnswer(a, QString(), true).toString();
    }
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}

QString Prompts::openFileName(QWidget *parent, const QString &title, const QString &proposed, const QString &filter)
{
    if (testMode()) {
        const Asked a{QStringLiteral("open"), title, filter, proposed};
        record(a);
        return takeAnswer(a, QString(), true).toString();
    }
    return QFileDialog::getOpenFileName(parent, title, proposed, filter);
}

QColor Prompts::color(QWidget *parent, const QColor &initial)
{
    if (testMode()) {
        const Asked a{QStringLiteral("color"), {}, initial.name(), {}};
        record(a);
        return takeAnswer(a, QColor(), true).value<QColor>();
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
