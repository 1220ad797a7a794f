#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>

class QWebEngineView;

// The embedded browser of the previews, the HTML text editor and the update
// window: a thin adapter over QWebEngineView with the few operations these
// windows need, and the one place that decides what a shown page may do.
//
// WebEngine answers every script call asynchronously; the operations that
// return a value (and writeDocument, which must be done before the next call
// sees the document) wait for the answer in a local event loop. A slow engine
// is waited for, with a busy window after a moment in which the user may
// give up; a real failure ends the wait and errorText() says what happened.
class EmbeddedView : public QWidget
{
    Q_OBJECT

public:
    // What the view shows, and so what its page is allowed to do.
    enum class Role {
        // The HTML text editor: the text's own scripts never run, the text
        // loads nothing (pictures only as data: addresses), and the view never
        // leaves it; a clicked link just places the caret.
        TextEditor,
        // The previews of the quiz page: the page's scripts run as on the web,
        // but they read no local file and reach no server; pictures load by
        // local path or address. A link the user clicks or a form the user
        // sends opens in the user's browser; a form sent to a quiz server on
        // this machine stays in the preview.
        Preview,
        // A page from the maker's web server (update check): links the user
        // clicks open in the user's browser; when the page cannot be loaded
        // the view says why in German.
        WebPage,
    };

    // Asks for the address of a new link; false when the user cancelled.
    using LinkPrompt = std::function<bool(QWidget *parent, QString *address)>;

    explicit EmbeddedView(Role role, QWidget *parent = nullptr);
    // Without a role a view is as strict as the text editor's.
    explicit EmbeddedView(QWidget *parent = nullptr)
        : EmbeddedView(Role::TextEditor, parent)
    {
    }
    ~EmbeddedView() override;

    Role role() const { return m_role; }

    // Loads a local file path, "about:blank" or a web address and returns at
    // once; nobody waits for the load.
    void navigate(const QString &pathOrUrl);
    // A preview's page whose file the caller has just written: shown from the
    // text (with the preview's content policy) under the file's address, so
    // that relative addresses find what lies beside the file. Other views
    // navigate to the file.
    void showPreviewPage(const QString &text, const QString &filePath);
    // True once something has been navigated to or written.
    bool hasDocument() const { return m_hasDocument; }
    // The document then holds and shows exactly this HTML text. Relative
    // addresses in it are taken from the per-user data folder. Waits until
    // the document is loaded; false when loading failed.
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

    // Why the last operation that waited failed, in German; empty when it
    // succeeded or when the user gave up waiting (see userCancelled).
    QString errorText() const { return m_errorText; }
    bool userCancelled() const { return m_userCancelled; }

    // Names the view and the browser inside it for assistive technology.
    void setAccessibleName(const QString &name);
    // Replaces the prompt that asks for a link address (tests, other
    // platforms). The default is a small input dialog; in the test mode of
    // Prompts it answers "cancelled" without showing anything.
    void setLinkPrompt(const LinkPrompt &prompt) { m_linkPrompt = prompt; }

    QWebEngineView *webView() const { return m_view; }

    // The content security policy every document of the role carries
    // (empty for a page from a web server, which brings its own).
    static QString contentSecurityPolicy(Role role);
    // html with the role's policy as the first element of its head.
    static QString withPolicy(const QString &html, Role role);

    // How long a wait lasts before the busy window shows, and before the
    // engine counts as not answering at all (tests shorten these).
    static void setWaitTimes(int busyAfterMs, int giveUpAfterMs);

signals:
    // A navigation or a written document has finished loading.
    void loadFinished(bool ok);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class GuardedPage;

    // Starts loading html as the document, under baseUrl; a text too long to
    // hand over inline goes through longTextFile. Returns the address under
    // which the load reports, empty when it could not start.
    QUrl startWrite(const QString &html, const QUrl &baseUrl, const QString &longTextFile);
    bool loadAndWait(const std::function<void()> &startLoad, const std::function<bool(const QUrl &)> &isOurs);
    bool runScript(const QString &script, QVariant *result);
    // Runs the local event loop until *done is set by a signal handler, the
    // renderer dies, the user gives up or the engine does not answer at all.
    bool waitFor(const std::function<bool()> &done, const QString &busyText);
    // Shows a page file of a preview: read and decoded as a browser reads it.
    void showPreview(const QString &filePath);
    void showLoadFailure(const QUrl &url, int domain, int code);
    // True while the user has just clicked or pressed a key in the view: only
    // then may the page send the user to another page.
    bool userJustActed() const;
    static QString jsString(const QString &text);

    Role m_role;
    QWebEngineView *m_view = nullptr;
    bool m_hasDocument = false;
    bool m_rendererGone = false;
    bool m_userCancelled = false;
    QString m_errorText;
    QElapsedTimer m_lastUserInput;
    // The local event loop of the wait in progress, which answers end.
    QPointer<QEventLoop> m_waitLoop;
    LinkPrompt m_linkPrompt;
};
