#pragma once

#include <QByteArray>
#include <QString>

// Writes data to path through QSaveFile: a failed write leaves an existing
// file as it was. On failure error holds the platform's text.
bool writeFileSafely(const QString &path, const QByteArray &data, QString *error);

namespace SaveFile {
// The call that forces the written data onto the disk before the new file
// replaces the old one: fsync(), _commit() on Windows. It returns 0 on success and
// otherwise sets errno. Tests put one in its place that fails; null restores
// the platform's.
using SyncFunction = int (*)(int fd);
void setSyncFunction(SyncFunction sync);
} // namespace SaveFile
