#pragma once

#include "pagegenerator.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class Quiz;

// The quiz page as every consumer takes it: the text with CR LF line breaks
// (the HTML tab, the clipboard) and its bytes in the quiz's encoding (the
// exported file, the previews). The editor, the previews, pruvex-cli and the
// benchmark all make it here, so every one of them gets the same page.
struct GeneratedPage {
    QString text;
    QByteArray bytes;
    int formId = 0;
    // The memory of the page before, which the next generatePage() into
    // this object writes its page into.
    QString roomForText;
    QByteArray roomForBytes;
    // The memory of the long fragments made before the page.
    std::vector<QString> roomForParts;
};

struct PageOptions {
    // The template file; empty: "template.htm" beside the program.
    QString templatePath;
    // Draws the form id from here instead of the random generator.
    std::function<int()> formIdSource;
};

// Generates the page of quiz. On failure (a template that cannot be read, a
// page that would be too large, not enough memory) returns false with the
// reason in error and, when asked, the kind of failure; page stays as it was.
bool generatePage(const Quiz &quiz, GeneratedPage *page, QString *error, const PageOptions &options = {},
                  PageGenerator::Failure *failure = nullptr);

// Writes the page's bytes to path through a safe write: when it fails the
// old file stays as it was and error holds the reason.
bool exportPage(const GeneratedPage &page, const QString &path, QString *error);
