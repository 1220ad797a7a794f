#include "embeddedview.h"

#include "paths.h"
#include "prompts.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

namespace {
// A written document is loaded by a renderer process that may first have to
// start; a script answers within milliseconds once it runs.
constexpr int kLoadTimeoutMs = 10000;
constexpr int kScriptTimeoutMs = 5000;
// The longest data address WebEngine loads, with room for its prefix.
constexpr int kDataUrlLimit = 2 * 1024 * 1024 - 64;

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
} // namespace

EmbeddedView::EmbeddedView(QWidget *parent)
    : QWidget(parent)
    , m_view(new QWebEngineView(this))
    , m_linkPrompt(defaultLinkPrompt)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    // Cut, copy and paste of the HTML text editor act through the page.
    QWebEngineSettings *settings = m_view->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, true);

    connect(m_view, &QWebEngineView::loadFinished, this, &EmbeddedView::loadFinished);
}

EmbeddedView::~EmbeddedView() = default;

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
    m_view->load(url);
}

bool EmbeddedView::writeDocument(const QString &html)
{
    m_hasDocument = true;
    const QByteArray utf8 = html.toUtf8();

    // setHtml carries the text in a data address, which WebEngine refuses
    // beyond 2 MB (percent-encoded). Such a load starts with the data
    // address and finishes under the base address.
    const QUrl base = documentBaseUrl();
    if (utf8.toPercentEncoding().size() < kDataUrlLimit) {
        return loadAndWait([&] { m_view->setHtml(html, base); },
                           [base](const QUrl &url) { return url.scheme() == QLatin1String("data") || url == base; });
    }

    // A longer text goes through a file beside the base address; the byte
    // order mark tells the browser its encoding and is not part of the text.
    QDir().mkpath(Paths::userDataPath());
    QTemporaryFile file(Paths::userDataPath() + QStringLiteral("/dokument-XXXXXX.htm"));
    if (!file.open() || file.write("\xEF\xBB\xBF") != 3 || file.write(utf8) != utf8.size() || !file.flush())
        return false;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file.fileName()).absoluteFilePath());
    return loadAndWait([&] { m_view->load(url); }, [url](const QUrl &loaded) { return loaded == url; });
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
    QEventLoop loop;
    QPointer<QEventLoop> loopGuard(&loop);
    const QMetaObject::Connection conn =
        connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [wait, loopGuard, isOurs](const QWebEngineLoadingInfo &info) {
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
            if (loopGuard)
                loopGuard->quit();
        });

    QPointer<EmbeddedView> self(this);
    startLoad();
    if (!wait->done) {
        QTimer::singleShot(kLoadTimeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!self)
        return false;
    disconnect(conn);
    return wait->done && wait->ok;
}

bool EmbeddedView::runScript(const QString &script, QVariant *result, int timeoutMs)
{
    struct Reply {
        bool done = false;
        QVariant value;
    };
    auto reply = std::make_shared<Reply>();
    QEventLoop loop;
    QPointer<QEventLoop> loopGuard(&loop);
    QPointer<EmbeddedView> self(this);
    m_view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [reply, loopGuard](const QVariant &value) {
        reply->done = true;
        reply->value = value;
        if (loopGuard)
            loopGuard->quit();
    });
    if (!reply->done) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!self || !reply->done)
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
    if (!runScript(script.arg(mode), &result, kScriptTimeoutMs))
        return false;
    return result.toString() == mode;
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
    if (!runScript(script, &result, kScriptTimeoutMs))
        return false;
    return result.toBool();
}

QVariant EmbeddedView::queryCommandValue(const QString &command)
{
    if (!m_hasDocument)
        return {};
    QVariant result;
    if (!runScript(QStringLiteral("document.queryCommandValue(%1)").arg(jsString(command)), &result, kScriptTimeoutMs))
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
    if (!runScript(QStringLiteral("document.body ? document.body.innerHTML : null"), &result, kScriptTimeoutMs))
        return {};
    if (result.typeId() != QMetaType::QString)
        return {};
    if (ok)
        *ok = true;
    return result.toString();
}

void EmbeddedView::setAccessibleName(const QString &name)
{
    QWidget::setAccessibleName(name);
    m_view->setAccessibleName(name);
}
