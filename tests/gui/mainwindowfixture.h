#pragma once

#include "mainwindow.h"
#include "modaltest.h"
#include "prompts.h"

#include <QString>
#include <memory>

// The real main window of a GUI test: opened as at a start without a file,
// and closed without saving at the test's end.
namespace MainWindowFixture {

inline std::unique_ptr<MainWindow> open()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    window->startUp(QString(), false);
    Prompts::clearAsked();
    return window;
}

// Closes the window (No to the save question) and returns what went wrong
// with the test's own prompts and dialogs.
inline QStringList close(std::unique_ptr<MainWindow> &window)
{
    const QStringList problems = ModalTest::takePromptProblems();
    Prompts::setNextAnswer(QVariant::fromValue(Prompts::No));
    window->close();
    window.reset();
    Prompts::resetTestState();
    return problems;
}

} // namespace MainWindowFixture
