#pragma once

#include <QString>

struct Submission;

// The German pages of the quiz server, complete HTML documents in UTF-8.
// They need no script and no file: the style is in the page, the chart is
// inline SVG.
namespace Pages {

// The evaluation: header, text, score, every question with its mark and,
// as the quiz asks, the answers and a chart.
QString result(const Submission &s);
// The page when the quiz shows no evaluation.
QString thanks(const Submission &s);
// An error page; backLink, when not empty, is offered as the way back.
QString error(const QString &title, const QString &message, const QString &backLink = QString());
// The answer to the link test "?action=checkurl".
QString checkUrl(const QString &version, bool captcha, const QString &mailState);
// What quiz.php is, for a visitor who opens it without a form.
QString info(const QString &quizAddress);

} // namespace Pages
