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

QString &programDirOverride()
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
    // The roaming application-data folder. AppDataLocation would append the
    // application's name, which differs between pruvex and pruvex-cli, and
    // the generic locations are the local, not the roaming, folder.
    QString base = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    if (base.isEmpty()) {
        base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        for (const QString &name : {QCoreApplication::applicationName(), QCoreApplication::organizationName()})
            if (!name.isEmpty() && base.endsWith(QLatin1Char('/') + name))
                base.chop(name.size() + 1);
    }
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
    return programDirOverride().isEmpty() ? QCoreApplication::applicationDirPath() : programDirOverride();
}

void setProgramDir(const QString &path)
{
    programDirOverride() = path;
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
