#pragma once

#include <QByteArray>
#include <QString>

// Writes data to path through QSaveFile: a failed write leaves an existing
// file as it was. On failure error holds the platform's text.
bool writeFileSafely(const QString &path, const QByteArray &data, QString *error);
