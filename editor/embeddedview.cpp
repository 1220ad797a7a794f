#include "embeddedview.h"

#include "paths.h"
#include "prompts.h"
#include "textcodec.h"

#include <QApplication>
#include <QChildEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <memory>

namespace {
// A written document is loaded by a renderer process that may first have to
// start; a script answers within milliseconds once it runs. Under load either
// may take far longer, which is no failure: after a moment a busy window
// shows, and only an engine that has not answered for minutes counts as gone.
int busyAfterMs = 500;
int giveUpAfterMs = 120000;
// The longest data address WebEngine loads, with room for its prefix.
constexpr int kDataUrlLimit = 2 * 1024 * 1024 - 64;
// A page may send the user elsewhere only this soon after a click or key.
constexpr int kUserActionMs = 3000;

QUrl documentBaseUrl()
{
    return QUrl::fromLocalFile(Paths::userDataPath() + QLatin1Char('/'));
}

bool defaultLinkPrompt(QWidget *parent, QString *address)
{
    if (Prompts::testMode())
        return false;
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QStringLiteral("Hyperlink einfügen"), QStringLiteral("Adresse:"), QLineEdit::Normal,
                                               QStringLiteral("http://"), &ok);
    if (!ok)
        return false;
    *address = text;
    return true;
}

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// A quiz server on this machine, where a preview's form may post.
bool isLoopback(const QUrl &url)
{
    if (!isWebAddress(url))
        return false;
    const QString host = url.host();
    return host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

// Web and mail addresses go to the user's own programs; anything else a page
// names (local files, program schemes) is dropped rather than handed to the
// desktop, which might run it.
void openInUsersBrowser(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!isWebAddress(url) && scheme != QLatin1String("mailto"))
        return;
    // Not from inside the engine's callback.
    QTimer::singleShot(0, qApp, [url] { Prompts::openUrl(url); });
}

QString secondsText(int ms)
{
    const int s = qMax(1, ms / 1000);
    return s == 1 ? QStringLiteral("einer Sekunde") : QStringLiteral("%1 Sekunden").arg(s);
}

// Blocks the requests a role never needs, below the content policy: the text
// editor loads nothing but inline data, and no preview script talks to a
// server or pulls in a local script or style sheet.
class RequestGuard : public QWebEngineUrlRequestInterceptor
{
public:
    RequestGuard(EmbeddedView::Role role, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , m_role(role)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QString scheme = info.requestUrl().scheme().toLower();
        const auto type = info.resourceType();
        if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            return; // the navigation hook decides
        switch (m_role) {
        case EmbeddedView::Role::TextEditor:
            if (scheme != QLatin1String("data") && scheme != QLatin1String("blob"))
                info.block(true);
            break;
        case EmbeddedView::Role::Preview:
            switch (type) {
            case QWebEngineUrlRequestInfo::ResourceTypeXhr:
            case QWebEngineUrlRequestInfo::ResourceTypePing:
            case QWebEngineUrlRequestInfo::ResourceTypeCspReport:
            case QWebEngineUrlRequestInfo::ResourceTypeWebSocket:
            case QWebEngineUrlRequestInfo::ResourceTypeWorker:
            case QWebEngineUrlRequestInfo::ResourceTypeSharedWorker:
            case QWebEngineUrlRequestInfo::ResourceTypeServiceWorker:
            case QWebEngineUrlRequestInfo::ResourceTypePrefetch:
            case QWebEngineUrlRequestInfo::ResourceTypeObject:
            case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
                info.block(true);
                break;
            case QWebEngineUrlRequestInfo::ResourceTypeImage:
            case QWebEngineUrlRequestInfo::ResourceTypeMedia:
            case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
            case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
                break;
            default:
                if (scheme == QLatin1String("file"))
                    info.block(true);
            }
            break;
        case EmbeddedView::Role::WebPage:
            if (scheme == QLatin1String("file"))
                info.block(true);
            break;
        }
    }

private:
    EmbeddedView::Role m_role;
};

// The page of a window that a page opened: its first address goes to the
// user's browser, and the page itself is dropped.
class WindowCatcher : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame && !m_done) {
            m_done = true;
            openInUsersBrowser(url);
            deleteLater();
        }
        return false;
    }

private:
    bool m_done = false;
};
} // namespace

// The page behind every view: it decides which navigations the view follows.
class GuardedPage : public QWebEnginePage
{
public:
    explicit GuardedPage(EmbeddedView *owner)
        : QWebEnginePage(owner)
        , m_owner(owner)
    {
    }

    QUrl documentUrl;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        const EmbeddedView::Role role = m_owner->m_role;
        // The program's own loads: navigate and writeDocument.
        if (type == NavigationTypeTyped)
            return true;
        // Frames a page embeds; the content policy keeps them to web pages.
        if (!isMainFrame)
            return role != EmbeddedView::Role::TextEditor && isWebAddress(url);
        // The text editor never leaves its text.
        if (role == EmbeddedView::Role::TextEditor)
            return false;
        // Only pages this view has shown are in its history.
        if (type == NavigationTypeReload || type == NavigationTypeBackForward)
            return true;
        // A jump to an anchor of the page itself.
        if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == documentUrl.adjusted(QUrl::RemoveFragment))
            return true;
        // A page that moves on by itself goes nowhere.
        if (!m_owner->userJustActed())
            return false;
        // The quiz page sent to a quiz server on this machine, and where that
        // server sends the answer.
        if (role == EmbeddedView::Role::Preview && isLoopback(url) && (type == NavigationTypeFormSubmitted || type == NavigationTypeRedirect))
            return true;
        openInUsersBrowser(url);
        return false;
    }

    QWebEnginePage *createWindow(WebWindowType) override
    {
        if (m_owner->m_role == EmbeddedView::Role::TextEditor || !m_owner->userJustActed())
            return nullptr;
        return new WindowCatcher(this);
    }

    void javaScriptAlert(const QUrl &, const QString &msg) override
    {
        // The page's input check speaks through the program's own message box.
        const QString title = m_owner->window()->windowTitle();
        Prompts::message(m_owner->window(), title.isEmpty() ? QStringLiteral("Pruvex") : title, msg, Prompts::Warning);
    }

private:
    EmbeddedView *m_owner;
};

EmbeddedView::EmbeddedView(Role role, QWidget *parent)
    : QWidget(parent)
    , m_role(role)
    , m_view(new QWebEngineView(this))
    , m_linkPrompt(defaultLinkPrompt)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    auto *page = new GuardedPage(this);
    page->setUrlRequestInterceptor(new RequestGuard(role, page));
    m_view->setPage(page);

    QWebEngineSettings *settings = m_view->settings();
    // Only a preview, a local page, loads other local files and web
    // addresses at all: the quiz's pictures by path or address, and the
    // page's form sent to its quiz server. Its content policy and the request
    // guard keep out everything else (no script or style file, no frame from
    // the disk, no request from a script).
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, role == Role::Preview);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, role == Role::Preview);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    // A file dropped on a view would replace what it shows.
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    // The view says in German what went wrong (see showLoadFailure).
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, role != Role::WebPage);
    // The text's own scripts never run in the editor. The editor's commands
    // still do: they run in the program's own script world, which this
    // setting does not touch.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, role != Role::TextEditor);
    // Cut, copy and paste of the HTML text editor act through the page.
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, role == Role::TextEditor);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, role == Role::TextEditor);

    // Camera, microphone, position and notifications: never.
    connect(page, &QWebEnginePage::featurePermissionRequested, page, [page](const QUrl &origin, QWebEnginePage::Feature feature) {
        page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        m_rendererGone = true;
        if (m_waitLoop)
            m_waitLoop->quit();
    });
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (m_role == Role::WebPage && info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
            showLoadFailure(info.url(), info.errorDomain(), info.errorCode());
    });
    m_view->installEventFilter(this);
    connect(m_view, &QWebEngineView::loadFinished, this, &EmbeddedView::loadFinished);
}

EmbeddedView::~EmbeddedView() = default;

void EmbeddedView::setWaitTimes(int busyAfter, int giveUpAfter)
{
    busyAfterMs = busyAfter;
    giveUpAfterMs = giveUpAfter;
}

QString EmbeddedView::contentSecurityPolicy(Role role)
{
    switch (role) {
    case Role::TextEditor:
        // No script, no frame, no form; pictures and fonts only inline.
        return QStringLiteral("default-src 'none'; img-src data:; font-src data:; media-src data:; style-src 'unsafe-inline'; "
                              "form-action 'none'; base-uri 'none'");
    case Role::Preview:
        // The page's own inline scripts run, but no script file, no request
        // from a script and no plug-in; pictures load by local path or
        // address, as on the published page; frames, sounds, videos, fonts
        // and style sheets only from the web.
        return QStringLiteral("default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline' http: https:; "
                              "img-src file: data: http: https:; media-src data: http: https:; font-src data: http: https:; "
                              "frame-src http: https:; connect-src 'none'; object-src 'none'; worker-src 'none'; base-uri 'none'");
    case Role::WebPage:
        break;
    }
    return {};
}

QString EmbeddedView::withPolicy(const QString &html, Role role)
{
    const QString policy = contentSecurityPolicy(role);
    if (policy.isEmpty())
        return html;
    // Before anything that could run or load, after a document type line,
    // which must stay first. A policy in a later meta element of the text can
    // only narrow this one.
    const QString meta = QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" content=\"%1\">").arg(policy);
    static const QRegularExpression doctype(QStringLiteral("^\\s*<!doctype[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = doctype.match(html);
    const qsizetype at = m.hasMatch() ? m.capturedEnd() : 0;
    return html.left(at) + meta + html.mid(at);
}

bool EmbeddedView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The browser draws into a child widget that gets the user's input.
        if (watched == m_view) {
            if (auto *child = static_cast<QChildEvent *>(event)->child(); child && child->isWidgetType())
                child->installEventFilter(this);
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
        m_lastUserInput.start();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool EmbeddedView::userJustActed() const
{
    return m_lastUserInput.isValid() && m_lastUserInput.elapsed() < kUserActionMs;
}

void EmbeddedView::navigate(const QString &pathOrUrl)
{
    QUrl url;
    if (pathOrUrl == QLatin1String("about:blank"))
        url = QUrl(pathOrUrl);
    else if (QDir::isAbsolutePath(pathOrUrl) || QFileInfo::exists(pathOrUrl))
        url = QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath());
    else
        url = QUrl::fromUserInput(pathOrUrl);
    m_hasDocument = true;
    if (m_role == Role::Preview && url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
        showPreview(url.toLocalFile());
        return;
    }
    m_rendererGone = false;
    static_cast<GuardedPage *>(m_view->page())->documentUrl = url;
    m_view->load(url);
}

void EmbeddedView::showPreview(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    // As a browser reads a file: by its byte order mark or the charset it
    // declares; a page in an 8-bit charset is read as windows-1252, as
    // browsers read "iso-8859-1" too.
    QString text;
    const std::optional<QStringConverter::Encoding> declared = QStringConverter::encodingForHtml(bytes);
    if (declared && *declared != QStringConverter::Latin1 && *declared != QStringConverter::System)
        text = QStringDecoder(*declared).decode(bytes);
    else
        text = TextCodec::fromCodePage(bytes);
    showPreviewPage(text, filePath);
}

void EmbeddedView::showPreviewPage(const QString &text, const QString &filePath)
{
    if (m_role != Role::Preview) {
        navigate(filePath);
        return;
    }
    const QFileInfo info(filePath);
    startWrite(withPolicy(text, Role::Preview), QUrl::fromLocalFile(info.absoluteFilePath()),
               info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral("-ansicht.htm")));
}

QUrl EmbeddedView::startWrite(const QString &html, const QUrl &baseUrl, const QString &longTextFile)
{
    m_hasDocument = true;
    m_rendererGone = false;
    static_cast<GuardedPage *>(m_view->page())->documentUrl = baseUrl;
    const QByteArray utf8 = html.toUtf8();

    // setHtml carries the text in a data address, which WebEngine refuses
    // beyond 2 MB (percent-encoded). Such a load starts with the data
    // address and finishes under the base address.
    if (utf8.toPercentEncoding().size() < kDataUrlLimit) {
        m_view->setHtml(html, baseUrl);
        return baseUrl;
    }

    // A longer text goes through a file; the byte order mark tells the
    // browser its encoding and is not part of the text.
    QSaveFile file(longTextFile);
    if (!file.open(QIODevice::WriteOnly) || file.write("\xEF\xBB\xBF") != 3 || file.write(utf8) != utf8.size() || !file.commit())
        return {};
    const QUrl url = QUrl::fromLocalFile(QFileInfo(longTextFile).absoluteFilePath());
    static_cast<GuardedPage *>(m_view->page())->documentUrl = url;
    m_view->load(url);
    return url;
}

bool EmbeddedView::writeDocument(const QString &html)
{
    const QString text = withPolicy(html, m_role);
    const QUrl base = documentBaseUrl();
    // A long text's file lies beside the base address, for as long as it loads.
    QDir().mkpath(Paths::userDataPath());
    QTemporaryFile scratch(Paths::userDataPath() + QStringLiteral("/dokument-XXXXXX.htm"));
    QString scratchPath;
    if (scratch.open()) {
        scratchPath = scratch.fileName();
        scratch.close();
    }
    QUrl loading;
    const bool ok = loadAndWait([&] { loading = startWrite(text, base, scratchPath); },
                                [&loading](const QUrl &url) { return url.scheme() == QLatin1String("data") || url == loading; });
    if (!ok && m_errorText.isEmpty() && !m_userCancelled)
        m_errorText = QStringLiteral("Der eingebettete Browser konnte den Text nicht laden.");
    return ok;
}

bool EmbeddedView::waitFor(const std::function<bool()> &done, const QString &busyText)
{
    m_errorText.clear();
    m_userCancelled = false;
    QPointer<EmbeddedView> self(this);
    QPointer<QEventLoop> outerLoop = m_waitLoop;
    QElapsedTimer clock;
    clock.start();
    // Owned by the window it stands over, which might go while we wait.
    QPointer<QProgressDialog> busy;
    bool busyShown = false;

    bool ok = true;
    while (!done()) {
        if (m_rendererGone) {
            m_errorText = QStringLiteral("Der eingebettete Browser ist abgestürzt oder wurde beendet.");
            ok = false;
            break;
        }
        // Cancelled by its button, or closed or dismissed with Escape.
        if (busyShown && (!busy || busy->wasCanceled() || !busy->isVisible())) {
            m_userCancelled = true;
            ok = false;
            break;
        }
        const qint64 elapsed = clock.elapsed();
        if (elapsed >= giveUpAfterMs) {
            m_errorText = QStringLiteral("Der eingebettete Browser hat nach %1 nicht geantwortet.").arg(secondsText(giveUpAfterMs));
            ok = false;
            break;
        }
        if (!busyShown && elapsed >= busyAfterMs) {
            // The engine is slow, not broken: say so, and let the user stop.
            QWidget *owner = window()->isVisible() ? window() : window()->parentWidget();
            busy = new QProgressDialog(busyText, QStringLiteral("Abbrechen"), 0, 0, owner);
            busy->setObjectName(QStringLiteral("pruvexBusy"));
            busy->setWindowTitle(QStringLiteral("Bitte warten"));
            busy->setAccessibleName(busyText);
            busy->setWindowModality(Qt::ApplicationModal);
            busy->setMinimumDuration(0);
            busy->setAutoClose(false);
            busy->setAutoReset(false);
            const auto wake = [this] {
                if (m_waitLoop)
                    m_waitLoop->quit();
            };
            connect(busy.data(), &QProgressDialog::canceled, this, wake);
            connect(busy.data(), &QDialog::rejected, this, wake);
            busy->show();
            busyShown = true;
            QApplication::setOverrideCursor(Qt::BusyCursor);
        }
        QEventLoop loop;
        m_waitLoop = &loop;
        const qint64 next = (busyShown ? giveUpAfterMs : qMin(busyAfterMs, giveUpAfterMs)) - elapsed;
        QTimer::singleShot(int(qMax<qint64>(1, next)), &loop, &QEventLoop::quit);
        loop.exec();
        if (!self)
            break;
        m_waitLoop = outerLoop;
    }
    if (busyShown)
        QApplication::restoreOverrideCursor();
    delete busy.data();
    return self && ok;
}

bool EmbeddedView::loadAndWait(const std::function<void()> &startLoad, const std::function<bool(const QUrl &)> &isOurs)
{
    // Loads that the new one cuts short report under their own address and
    // are not waited for.
    struct Wait {
        bool started = false;
        bool done = false;
        bool ok = false;
    };
    auto wait = std::make_shared<Wait>();
    QPointer<EmbeddedView> self(this);
    const QMetaObject::Connection conn =
        connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [this, wait, isOurs](const QWebEngineLoadingInfo &info) {
            if (wait->done || !isOurs(info.url()))
                return;
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                wait->started = true;
                return;
            }
            if (!wait->started)
                return;
            wait->done = true;
            wait->ok = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
            if (m_waitLoop)
                m_waitLoop->quit();
        });

    startLoad();
    const bool finished = waitFor([wait] { return wait->done; }, QStringLiteral("Der Text wird in den eingebetteten Browser geladen …"));
    if (!self)
        return false;
    disconnect(conn);
    return finished && wait->ok;
}

bool EmbeddedView::runScript(const QString &script, QVariant *result)
{
    struct Reply {
        bool done = false;
        QVariant value;
    };
    auto reply = std::make_shared<Reply>();
    QPointer<EmbeddedView> self(this);
    m_view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [reply, self](const QVariant &value) {
        reply->done = true;
        reply->value = value;
        if (self && self->m_waitLoop)
            self->m_waitLoop->quit();
    });
    if (!waitFor([reply] { return reply->done; }, QStringLiteral("Der eingebettete Browser arbeitet noch …")))
        return false;
    if (result)
        *result = reply->value;
    return true;
}

QString EmbeddedView::jsString(const QString &text)
{
    // A JSON string is a valid JavaScript string literal.
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

bool EmbeddedView::setDesignMode(bool on)
{
    if (!m_hasDocument)
        return false;
    // A freshly written document has no caret, and without one every editing
    // command is refused; the caret starts at the beginning of the body.
    static const QString script = QStringLiteral("document.designMode = '%1';"
                                                 "(function () {"
                                                 "  var s = window.getSelection();"
                                                 "  if (document.designMode === 'on' && document.body && s && s.rangeCount === 0) {"
                                                 "    var r = document.createRange();"
                                                 "    r.setStart(document.body, 0);"
                                                 "    r.collapse(true);"
                                                 "    s.addRange(r);"
                                                 "  }"
                                                 "})();"
                                                 "document.designMode");
    const QString mode = on ? QStringLiteral("on") : QStringLiteral("off");
    QVariant result;
    if (!runScript(script.arg(mode), &result))
        return false;
    if (result.toString() != mode) {
        m_errorText = QStringLiteral("Der eingebettete Browser hat den Bearbeitungsmodus abgelehnt.");
        return false;
    }
    return true;
}

bool EmbeddedView::execCommand(const QString &command, bool showUi, const QVariant &value)
{
    if (!m_hasDocument)
        return false;

    // Scripts may not use the clipboard on their own; the page's actions do.
    static const QList<QPair<QString, QWebEnginePage::WebAction>> clipboardActions = {
        {QStringLiteral("cut"), QWebEnginePage::Cut},
        {QStringLiteral("copy"), QWebEnginePage::Copy},
        {QStringLiteral("paste"), QWebEnginePage::Paste},
    };
    for (const auto &action : clipboardActions) {
        if (command.compare(action.first, Qt::CaseInsensitive) == 0) {
            m_view->page()->triggerAction(action.second);
            return true;
        }
    }

    QString argument = value.isValid() ? value.toString() : QString();
    // The browser has no dialog of its own for a link address.
    if (command.compare(QLatin1String("CreateLink"), Qt::CaseInsensitive) == 0 && showUi && argument.isEmpty()) {
        // Declining the prompt is no failure: the document stays as it is.
        if (!m_linkPrompt || !m_linkPrompt(this, &argument))
            return true;
    }
    // The browser reads a colour as CSS, where RRGGBB needs its "#".
    static const QRegularExpression hexColour(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    if (command.compare(QLatin1String("ForeColor"), Qt::CaseInsensitive) == 0 && hexColour.match(argument).hasMatch())
        argument.prepend(QLatin1Char('#'));

    const QString script = QStringLiteral("document.execCommand(%1, %2, %3)")
                               .arg(jsString(command), showUi ? QStringLiteral("true") : QStringLiteral("false"),
                                    value.isValid() || !argument.isEmpty() ? jsString(argument) : QStringLiteral("null"));
    QVariant result;
    if (!runScript(script, &result))
        return false;
    return result.toBool();
}

QVariant EmbeddedView::queryCommandValue(const QString &command)
{
    if (!m_hasDocument)
        return {};
    QVariant result;
    if (!runScript(QStringLiteral("document.queryCommandValue(%1)").arg(jsString(command)), &result))
        return {};
    return result;
}

QString EmbeddedView::bodyInnerHtml(bool *ok)
{
    if (ok)
        *ok = false;
    if (!m_hasDocument)
        return {};
    QVariant result;
    if (!runScript(QStringLiteral("document.body ? document.body.innerHTML : null"), &result))
        return {};
    if (result.typeId() != QMetaType::QString) {
        m_errorText = QStringLiteral("Das Dokument im eingebetteten Browser hat keinen Inhalt.");
        return {};
    }
    if (ok)
        *ok = true;
    return result.toString();
}

void EmbeddedView::showLoadFailure(const QUrl &url, int domain, int code)
{
    // The server's own error page (an HTTP status) says more than we could.
    if (domain == QWebEngineLoadingInfo::HttpErrorDomain || domain == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return;
    const QString host = url.host().toHtmlEscaped();
    QString reason;
    switch (code) {
    case -106: // INTERNET_DISCONNECTED
        reason = QStringLiteral("Dieser Rechner ist nicht mit dem Internet verbunden.");
        break;
    case -105: // NAME_NOT_RESOLVED
    case -137: // NAME_RESOLUTION_FAILED
        reason = QStringLiteral("Der Server %1 wurde nicht gefunden. Vermutlich besteht keine Verbindung zum Internet.").arg(host);
        break;
    case -102: // CONNECTION_REFUSED
        reason = QStringLiteral("Der Server %1 hat die Verbindung abgelehnt.").arg(host);
        break;
    case -7:   // TIMED_OUT
    case -118: // CONNECTION_TIMED_OUT
        reason = QStringLiteral("Der Server %1 hat nicht rechtzeitig geantwortet.").arg(host);
        break;
    default:
        if (domain == QWebEngineLoadingInfo::CertificateErrorDomain)
            reason = QStringLiteral("Die Verbindung zum Server %1 ist nicht sicher: Sein Zertifikat ist ungültig.").arg(host);
        else
            reason = QStringLiteral("Die Verbindung zum Server %1 ist fehlgeschlagen (Fehler %2).").arg(host).arg(code);
    }
    static_cast<GuardedPage *>(m_view->page())->documentUrl = QUrl();
    m_view->setHtml(QStringLiteral("<!DOCTYPE html><html lang=\"de\"><head><meta charset=\"utf-8\"><title>Seite nicht geladen</title></head>"
                                   "<body style=\"font-family: sans-serif; margin: 1em\"><h3>Die Seite konnte nicht geladen werden.</h3>"
                                   "<p id=\"grund\">%1</p><p>Prüfen Sie die Internetverbindung und versuchen Sie es später noch einmal.</p>"
                                   "</body></html>")
                        .arg(reason));
}

void EmbeddedView::setAccessibleName(const QString &name)
{
    QWidget::setAccessibleName(name);
    m_view->setAccessibleName(name);
}
