#include "pages.h"

#include "htmlfilter.h"
#include "submission.h"

#include <QStringList>

using HtmlFilter::escape;

namespace Pages {

namespace {

const char *const kStyle = R"(
  body { margin: 0; padding: 24px 12px; font-family: "DejaVu Sans", Verdana, Arial, sans-serif;
         line-height: 1.5; color: #1e1e1e; background: #f3f4f6; }
  main { max-width: 46em; margin: 0 auto; background: #fff; padding: 20px 28px 28px;
         border-radius: 10px; box-shadow: 0 2px 12px rgba(0, 0, 0, .12); }
  h1 { font-size: 1.5em; margin: 0 0 .6em; padding-bottom: .4em; border-bottom: 2px solid #2b5797; }
  h2 { font-size: 1.2em; margin: 1em 0 .4em; }
  p.score { font-size: 1.15em; font-weight: bold; }
  figure { margin: 1em 0; }
  figure svg { max-width: 100%; height: auto; }
  figcaption { font-size: .9em; color: #444; }
  ol.questions { padding-left: 1.4em; }
  ol.questions > li { margin: 0 0 1em; padding: .6em .8em; border-left: 5px solid #999; background: #fafafa;
                      break-inside: avoid; }
  ol.questions > li.right { border-left-color: #2e7d32; }
  ol.questions > li.wrong { border-left-color: #c62828; }
  .mark { font-weight: bold; margin: .3em 0; }
  li.right .mark { color: #2e7d32; }
  li.wrong .mark { color: #c62828; }
  .qtext img { max-width: 100%; height: auto; }
  dl { margin: .3em 0 0; }
  dt { font-weight: bold; font-size: .9em; }
  dd { margin: 0 0 .3em 1em; overflow-wrap: anywhere; }
  table.facts td { padding: 2px 12px 2px 0; vertical-align: top; }
  p.hint { font-size: .9em; color: #444; }
  @media (max-width: 600px) { body { padding: 0; } main { border-radius: 0; padding: 14px 14px 20px; } }
  @media print { body { background: #fff; padding: 0; } main { box-shadow: none; max-width: none; padding: 0; }
                 p.hint { display: none; } }
)";

QString document(const QString &title, const QString &body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                          "<meta name=\"robots\" content=\"noindex\">\n<title>") +
           escape(title) + QStringLiteral("</title>\n<style>") + QLatin1String(kStyle) + QStringLiteral("</style>\n</head>\n<body>\n<main>\n") +
           body + QStringLiteral("</main>\n</body>\n</html>\n");
}

// A plain text with its line breaks as <br>.
QString paragraphText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return escape(t).replace(QLatin1Char('\n'), QLatin1String("<br>\n"));
}

QString title(const Submission &s)
{
    return s.subject.trimmed().isEmpty() ? QStringLiteral("Quiz") : s.subject;
}

QString answerList(const QStringList &answers)
{
    QStringList shown;
    for (const QString &a : answers)
        shown << (a.trimmed().isEmpty() ? QStringLiteral("<i>(leer)</i>") : escape(a));
    return shown.isEmpty() ? QStringLiteral("<i>(keine)</i>") : shown.join(QLatin1String("<br>"));
}

QString chart(int right, int wrong)
{
    const int total = right + wrong;
    const int width = 400;
    const int rightWidth = total ? right * width / total : 0;
    const QString alt = QStringLiteral("%1 richtig, %2 falsch").arg(right).arg(wrong);
    QString s;
    s += QStringLiteral("<figure>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 56\" width=\"%1\" height=\"56\" role=\"img\" "
                        "aria-labelledby=\"chart-title\">\n<title id=\"chart-title\">Diagramm: %2</title>\n")
             .arg(width)
             .arg(alt);
    s += QStringLiteral("<rect x=\"0\" y=\"0\" width=\"%1\" height=\"32\" fill=\"#2e7d32\"/>\n").arg(rightWidth);
    s += QStringLiteral("<rect x=\"%1\" y=\"0\" width=\"%2\" height=\"32\" fill=\"#c62828\"/>\n").arg(rightWidth).arg(width - rightWidth);
    s += QStringLiteral("<text x=\"0\" y=\"50\" font-size=\"14\" fill=\"#1e1e1e\">richtig: %1</text>\n").arg(right);
    s += QStringLiteral("<text x=\"%1\" y=\"50\" font-size=\"14\" fill=\"#1e1e1e\" text-anchor=\"end\">falsch: %2</text>\n").arg(width).arg(wrong);
    s += QStringLiteral("</svg>\n<figcaption>%1</figcaption>\n</figure>\n").arg(alt);
    return s;
}

QString backHint()
{
    return QStringLiteral("<p class=\"hint\">Mit der Zurück-Taste des Browsers kommen Sie zum ausgefüllten Quiz zurück.</p>\n");
}

} // namespace

QString result(const Submission &s)
{
    QString b;
    b += QStringLiteral("<h1>") + escape(title(s)) + QStringLiteral("</h1>\n");
    if (!s.header.trimmed().isEmpty())
        b += QStringLiteral("<h2>") + escape(s.header) + QStringLiteral("</h2>\n");
    if (!s.evaluationText.trimmed().isEmpty())
        b += QStringLiteral("<p>") + paragraphText(s.evaluationText.trimmed()) + QStringLiteral("</p>\n");
    if (s.scored > 0)
        b += QStringLiteral("<p class=\"score\">Sie haben %1 von %2 Fragen richtig beantwortet (%3 %).</p>\n")
                 .arg(s.right)
                 .arg(s.scored)
                 .arg(s.percent());
    else
        b += QStringLiteral("<p class=\"score\">Keine der Fragen wird bewertet.</p>\n");
    if (s.showDiagram && s.scored > 0)
        b += chart(s.right, s.scored - s.right);
    b += QStringLiteral("<ol class=\"questions\">\n");
    for (const QuestionResult &q : s.questions) {
        const QString cls = !q.right ? QStringLiteral("unscored") : *q.right ? QStringLiteral("right") : QStringLiteral("wrong");
        const QString mark = !q.right ? QStringLiteral("– nicht bewertet") : *q.right ? QStringLiteral("✓ richtig") : QStringLiteral("✗ falsch");
        b += QStringLiteral("<li class=\"%1\">\n<div class=\"qtext\">%2</div>\n<p class=\"mark\">%3</p>\n")
                 .arg(cls, HtmlFilter::questionText(q.text), mark);
        if (s.showUserAnswers || s.showCorrectAnswers) {
            b += QStringLiteral("<dl>\n");
            if (s.showUserAnswers)
                b += QStringLiteral("<dt>Ihre Antwort</dt><dd>") + answerList(q.answers) + QStringLiteral("</dd>\n");
            if (s.showCorrectAnswers && q.right)
                b += QStringLiteral("<dt>Richtige Antwort</dt><dd>") + answerList(q.rightAnswers) + QStringLiteral("</dd>\n");
            b += QStringLiteral("</dl>\n");
        }
        b += QStringLiteral("</li>\n");
    }
    b += QStringLiteral("</ol>\n");
    b += backHint();
    return document(title(s), b);
}

QString thanks(const Submission &s)
{
    QString b;
    b += QStringLiteral("<h1>") + escape(title(s)) + QStringLiteral("</h1>\n");
    b += QStringLiteral("<p>Vielen Dank! Ihre Antworten sind angekommen.</p>\n");
    b += backHint();
    return document(title(s), b);
}

QString error(const QString &heading, const QString &message, const QString &backLink)
{
    QString b;
    b += QStringLiteral("<h1>") + escape(heading) + QStringLiteral("</h1>\n");
    b += QStringLiteral("<p>") + paragraphText(message.trimmed()) + QStringLiteral("</p>\n");
    if (!backLink.isEmpty())
        b += QStringLiteral("<p><a href=\"%1\">Zurück zum Quiz</a></p>\n").arg(escape(backLink));
    else
        b += QStringLiteral("<p>Mit der Zurück-Taste des Browsers kommen Sie zum Quiz zurück.</p>\n");
    return document(heading, b);
}

QString checkUrl(const QString &version, bool captcha, const QString &mailState)
{
    QString b;
    b += QStringLiteral("<h1>Das Quiz-Skript antwortet</h1>\n");
    b += QStringLiteral("<p>Diese Adresse ist ein Pruvex-Quiz-Skript. Quiz-Seiten, die hierher senden, werden ausgewertet.</p>\n");
    b += QStringLiteral("<table class=\"facts\">\n");
    b += QStringLiteral("<tr><td>Version</td><td>pruvex-server %1</td></tr>\n").arg(escape(version));
    b += QStringLiteral("<tr><td>Captcha</td><td>%1</td></tr>\n")
             .arg(captcha ? QStringLiteral("eingerichtet") : QStringLiteral("nicht eingerichtet"));
    b += QStringLiteral("<tr><td>Ergebnis-Mail</td><td>%1</td></tr>\n").arg(escape(mailState));
    b += QStringLiteral("</table>\n");
    return document(QStringLiteral("Quiz-Skript"), b);
}

QString info(const QString &quizAddress)
{
    QString b;
    b += QStringLiteral("<h1>Pruvex-Quiz-Skript</h1>\n");
    b += QStringLiteral("<p>An diese Adresse senden mit Pruvex erstellte Quiz-Seiten ihre Antworten; hier werden sie ausgewertet "
                        "und gespeichert. Tragen Sie in Pruvex als Formmailer ein:</p>\n<p><code>%1</code></p>\n"
                        "<p>Den Test der Adresse zeigt <code>%1?action=checkurl</code>.</p>\n")
             .arg(escape(quizAddress));
    return document(QStringLiteral("Pruvex-Quiz-Skript"), b);
}

} // namespace Pages
