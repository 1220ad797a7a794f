#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>

class QWebEngineView;

// The embedded browser of the previews, the HTML text editor and the update
// window: a thin adapter over QWebEngineView with the few operations these
// windows need. WebEngine answers every script call asynchronously; the
// operations that return a value (and writeDocument, which must be done
// before the next call sees the document) wait for the answer in a local
// event loop with a time limit, so the window keeps painting and the caller
// has the value before it goes on.
class EmbeddedView : public QWidget
{
    Q_OBJECT

public:
    // Asks for the address of a new link; false when the user cancelled.
    using LinkPrompt = std::function<bool(QWidget *parent, QString *address)>;

    explicit EmbeddedView(QWidget *parent = nullptr);
    ~EmbeddedView() override;

    // Loads a local file path, "about:blank" or a web address and returns at
    // once; nobody waits for the load.
    void navigate(const QString &pathOrUrl);
    // True once something has been navigated to or written.
    bool hasDocument() const { return m_hasDocument; }
    // The document then holds and shows exactly this HTML text. Relative
    // addresses in it are taken from the per-user data folder. Waits until
    // the document is loaded; false when loading failed or took too long.
    bool writeDocument(const QString &html);
    // Switches the document's editing mode; false when the document refused.
    // A document without a caret gets one at the start of its body.
    bool setDesignMode(bool on);
    // Runs an editing command on the selection or caret. "CreateLink" with
    // showUi asks for the address first (see setLinkPrompt); a declined
    // prompt changes nothing and counts as done. "ForeColor" takes a colour as
    // RRGGBB without "#". False when the document refused the command.
    bool execCommand(const QString &command, bool showUi = false, const QVariant &value = QVariant());
    // The document's value for a command, such as "FontSize"; an invalid
    // QVariant when there is no document or no answer came.
    QVariant queryCommandValue(const QString &command);
    // The body's innerHTML as the browser writes it.
    QString bodyInnerHtml(bool *ok = nullptr);

    // Names the view and the browser inside it for assistive technology.
    void setAccessibleName(const QString &name);
    // Replaces the prompt that asks for a link address (tests, other
    // platforms). The default is a small input dialog; in the test mode of
    // Prompts it answers "cancelled" without showing anything.
    void setLinkPrompt(const LinkPrompt &prompt) { m_linkPrompt = prompt; }

    QWebEngineView *webView() const { return m_view; }

signals:
    // A navigation or a written document has finished loading.
    void loadFinished(bool ok);

private:
    bool loadAndWait(const std::function<void()> &startLoad, const std::function<bool(const QUrl &)> &isOurs);
    bool runScript(const QString &script, QVariant *result, int timeoutMs);
    static QString jsString(const QString &text);

    QWebEngineView *m_view = nullptr;
    bool m_hasDocument = false;
    LinkPrompt m_linkPrompt;
};
