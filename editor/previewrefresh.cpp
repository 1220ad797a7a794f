#include "pagesource.h"

#include "embeddedview.h"
#include "paths.h"
#include "textcodec.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QTimer>

namespace {
// The pause between deleting, writing and loading the file.
constexpr int kPauseMs = 20;

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QSet<const EmbeddedView *> &busyViews()
{
    static QSet<const EmbeddedView *> views;
    return views;
}
} // namespace

void refreshPreview(PageSource &source, EmbeddedView &view, const QString &filePath)
{
    if (busyViews().contains(&view))
        return;
    busyViews().insert(&view);
    QPointer<EmbeddedView> guard(&view);
    const auto done = [&view] { busyViews().remove(&view); };

    // Taken now: the source may change while the event loop runs below.
    QString text;
    QByteArray bytes;
    if (source.generateHtmlQuietly()) {
        text = source.page().text;
        bytes = source.page().bytes;
    } else if (!source.failureText().isEmpty()) {
        text = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><p>") + source.failureText().toHtmlEscaped() +
               QStringLiteral("</p></body></html>\r\n");
        bytes = text.toUtf8();
    } else {
        done();
        return;
    }

    if (QFileInfo::exists(filePath))
        QFile::remove(filePath);
    pause(kPauseMs);

    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QFile file(filePath);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    file.close();
    pause(kPauseMs);

    done();
    if (!guard)
        return;
    // The view shows the page just written without reading the file back;
    // a file that could not be written is navigated to, and the view shows
    // what it shows for a missing file.
    if (written)
        view.showPreviewPage(text, filePath);
    else
        view.navigate(filePath);
}

QString previewTabFilePath()
{
    return Paths::userFile(QStringLiteral("temp.htm"));
}

QString previewWindowFilePath()
{
    return Paths::userDataPath() + QStringLiteral("/vorschau/temp.htm");
}
