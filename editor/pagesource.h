#pragma once

#include "generatedpage.h"

#include <QString>

class EmbeddedView;

// What a preview needs of the window that holds the quiz.
class PageSource
{
public:
    virtual ~PageSource() = default;
    // Generates the page into the HTML tab; false when that failed (the
    // source has reported the error itself).
    virtual bool generateHtml() = 0;
    // The same for a preview, which reports nothing: a preview refreshes
    // itself every second and must not raise a message each time.
    virtual bool generateHtmlQuietly() { return generateHtml(); }
    // The page last generated: the text of the HTML tab and its bytes.
    virtual const GeneratedPage &page() const = 0;
    // After a failed generation: a message that a preview shows in place of
    // the page (a page that would be too large, say); empty when the preview
    // is to keep what it shows.
    virtual QString failureText() const { return {}; }
};

// Generates the page, writes it to filePath in the quiz's encoding and lets
// the view show it as that file's page (from the text it has, without reading
// the file back). The old file is deleted first and the view is told to show
// it only after short pauses, during which the event loop runs.
// A refresh of a view that is still refreshing is dropped. Write errors are
// ignored: the view then shows whatever it shows for a missing file.
void refreshPreview(PageSource &source, EmbeddedView &view, const QString &filePath);

// The page file of the tab "Vorschau" and of the preview window; both lie in
// the per-user data folder and never share a file.
QString previewTabFilePath();
QString previewWindowFilePath();
