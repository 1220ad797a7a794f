#pragma once

#include "store.h"

class QSettings;

// The connection of section [database] beyond the driver and the name,
// for PostgreSQL: host, port, user and password_file (the password is read
// from that file, never written into the configuration).
namespace DatabaseSettings {

// Fills host, port, user and password of *options from [database]; a broken
// entry gives a German message in *error. baseDir resolves a relative
// password_file.
bool read(QSettings &ini, const QString &baseDir, Store::Options *options, QString *error);

} // namespace DatabaseSettings
