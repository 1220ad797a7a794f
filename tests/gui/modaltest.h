#pragma once

#include "prompts.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

// Drives a modal dialog that the code under test opens with exec(): the
// handler runs once the dialog of type T shows. Every wait has a deadline,
// so a failing check inside a handler, or a dialog that never comes, fails
// the test instead of hanging it: whatever modal window is still open then
// is closed, and the returned record says what went wrong.
// The control of that type and object name inside a window; a test whose
// control is missing stops at once.
template <typename T>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

namespace ModalTest {

struct Run {
    bool ran = false;        // the handler was called
    bool timedOut = false;   // the dialog did not show before the deadline
    bool shouldShow = true;  // false: the dialog must not show at all
    QString problem() const
    {
        if (!shouldShow)
            return ran ? QStringLiteral("a dialog showed that must not") : QString();
        if (timedOut)
            return QStringLiteral("the expected dialog did not show");
        if (!ran)
            return QStringLiteral("the dialog handler did not run");
        return {};
    }
    bool ok() const { return problem().isEmpty(); }
};

// Closes every modal window that is still open; used when a handler failed.
inline void closeModals()
{
    for (int i = 0; i < 10; ++i) {
        QWidget *w = QApplication::activeModalWidget();
        if (!w)
            return;
        // done(), not reject(): a dialog whose reject() asks a question
        // would otherwise stay open.
        if (auto *d = qobject_cast<QDialog *>(w))
            d->done(QDialog::Rejected);
        else
            w->close();
        QCoreApplication::processEvents();
    }
}

// Every handler of the running test, so that its end can check they all ran.
inline std::vector<std::shared_ptr<Run>> &pendingRuns()
{
    static std::vector<std::shared_ptr<Run>> runs;
    return runs;
}

template <typename T>
std::shared_ptr<Run> whenShown(std::function<void(T *)> handler, int deadlineMs = 10000)
{
    auto run = std::make_shared<Run>();
    pendingRuns().push_back(run);
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, handler, run, clock, deadlineMs] {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if (d && d->isVisible()) {
            timer->stop();
            timer->deleteLater();
            run->ran = true;
            handler(d);
            // A handler that failed a check returns early and leaves the
            // dialog open; close it so that exec() returns.
            if (QTest::currentTestFailed())
                QTimer::singleShot(0, [] { closeModals(); });
            return;
        }
        if (clock->elapsed() > deadlineMs) {
            timer->stop();
            timer->deleteLater();
            run->timedOut = true;
            closeModals();
        }
    });
    timer->start();
    return run;
}

// Expects that no dialog of type T shows within deadlineMs; one that does is
// closed, and the test fails at its end.
template <typename T>
std::shared_ptr<Run> neverShown(int deadlineMs = 500)
{
    auto run = whenShown<T>([](T *d) { d->reject(); }, deadlineMs);
    run->shouldShow = false;
    return run;
}

} // namespace ModalTest

// Checks that a modal handler ran and closed its dialog.
#define QVERIFY_MODAL(run) QVERIFY2((run)->ok(), qPrintable((run)->problem()))

namespace ModalTest {
// What went wrong with the prompts so far (see Prompts::testProblems),
// and the dialog handlers that did not run. Both are reset for what follows.
inline QStringList takePromptProblems()
{
    QStringList problems = Prompts::testProblems();
    Prompts::resetTestState();
    for (const auto &run : pendingRuns())
        if (!run->ok())
            problems << run->problem();
    pendingRuns().clear();
    return problems;
}
} // namespace ModalTest

// Checks that every prompt of the test had its prepared answer, of the right
// kind, and that none is left over; then forgets them for the next test.
#define QVERIFY_PROMPTS_EMPTY(problems) QVERIFY2((problems).isEmpty(), qPrintable((problems).join(QStringLiteral("; "))))
#define QVERIFY_PROMPTS()                                                                                                                  \
    do {                                                                                                                                   \
        const QStringList problems_ = ModalTest::takePromptProblems();                                                                    \
        QVERIFY_PROMPTS_EMPTY(problems_);                                                                                                  \
    } while (false)
