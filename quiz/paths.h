#pragma once

#include <QString>

namespace Paths {

// The per-user data folder: $XDG_DATA_HOME/Pruvex on Linux, the roaming
// %APPDATA%\Pruvex on Windows. Tests point it elsewhere with setUserDataPath.
QString userDataPath();
void setUserDataPath(const QString &path);
// Creates the per-user data folder when it is missing; failures are ignored.
void ensureUserDataPath();

// The folder of the program's executable, which holds the data files.
QString programDir();
// Tests point the program's folder elsewhere, so that they never change the
// data files beside the program; an empty path goes back to the real one.
void setProgramDir(const QString &path);
// A data file beside the program.
QString programFile(const QString &name);
QString userFile(const QString &name);

} // namespace Paths
