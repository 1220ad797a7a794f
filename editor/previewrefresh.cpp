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

    QByteArray bytes;
    if (source.generateHtmlQuietly()) {
        // Taken now: the source may change while the event loop runs below.
        bytes = source.page().bytes;
    } else if (!source.failureText().isEmpty()) {
        bytes = (QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><p>") + source.failureText().toHtmlEscaped() +
                 QStringLiteral("</p></body></html>\r\n"))
                    .toUtf8();
    } else {
        done();
        return;
    }

    if (QFileInfo::exists(filePath))
        QFile::remove(filePath);
    pause(kPauseMs);

    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QFile file(filePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
    }
    pause(kPauseMs);

    done();
    if (guard)
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
