#include "savefile.h"

#include <QSaveFile>

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
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}
