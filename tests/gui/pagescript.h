#pragma once

#include "embeddedview.h"

#include <QElapsedTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <memory>
#include <optional>

// Runs a script in the page of a view, in the program's own script world
// (which sees the document even where the page's scripts are off), and
// returns its value; an invalid QVariant when no answer came in 10 s.
inline QVariant evalJs(EmbeddedView *view, const QString &script)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    view->webView()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [result](const QVariant &v) { *result = v; });
    QElapsedTimer clock;
    clock.start();
    while (!result->has_value() && clock.elapsed() < 10000)
        QTest::qWait(10);
    return result->value_or(QVariant());
}
