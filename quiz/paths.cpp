#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString &overridePath()
{
    static QString path;
    return path;
}
} // namespace

namespace Paths {

QString userDataPath()
{
    if (!overridePath().isEmpty())
        return overridePath();
#ifdef Q_OS_WIN
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    return base + QStringLiteral("/Pruvex");
}

void setUserDataPath(const QString &path)
{
    overridePath() = path;
}

void ensureUserDataPath()
{
    QDir().mkpath(userDataPath());
}

QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString &name)
{
    return programDir() + QLatin1Char('/') + name;
}

QString userFile(const QString &name)
{
    return userDataPath() + QLatin1Char('/') + name;
}

} // namespace Paths
