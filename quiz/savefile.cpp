#include "savefile.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// A full sync, not fdatasync(): commit() syncs once more, and that second
// sync then finds nothing left to write.
int platformSync(int fd)
{
#if defined(Q_OS_WIN)
    return _commit(fd);
#else
    return fsync(fd);
#endif
}

SaveFile::SyncFunction g_sync = platformSync;

} // namespace

void SaveFile::setSyncFunction(SyncFunction sync)
{
    g_sync = sync ? sync : platformSync;
}

bool writeFileSafely(const QString &path, const QByteArray &data, QString *error)
{
    QSaveFile f(path);
    // Unbuffered, so that a full disk shows in write() itself: commit() does
    // not report a failed flush of its buffer.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = f.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            if (error)
                *error = f.errorString();
            f.cancelWriting();
            return false;
        }
        written += n;
    }
    // commit() syncs too but ignores a failure, and then replaces the old
    // file with one whose data may never have reached the disk.
    if (g_sync(f.handle()) != 0) {
        const int code = errno;
        if (error)
            *error = QStringLiteral("Die Daten konnten nicht auf den Datenträger geschrieben werden: ") +
                     QString::fromLocal8Bit(std::strerror(code));
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}
