#include "databasesettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace DatabaseSettings {

bool read(QSettings &ini, const QString &baseDir, Store::Options *o, QString *error)
{
    ini.beginGroup(QStringLiteral("database"));
    const QString host = ini.value(QStringLiteral("host")).toString().trimmed();
    const QString port = ini.value(QStringLiteral("port")).toString().trimmed();
    const QString user = ini.value(QStringLiteral("user")).toString().trimmed();
    const QString passwordFile = ini.value(QStringLiteral("password_file")).toString().trimmed();
    ini.endGroup();
    if (o->driver != QLatin1String("QPSQL"))
        return true;
    o->host = host.isEmpty() ? QStringLiteral("127.0.0.1") : host;
    o->port = 5432;
    if (!port.isEmpty()) {
        bool ok = false;
        o->port = port.toInt(&ok);
        if (!ok || o->port < 1 || o->port > 65535) {
            *error = QStringLiteral("Konfiguration: database/port muss eine Zahl von 1 bis 65535 sein, nicht \"%1\".").arg(port);
            return false;
        }
    }
    o->user = user;
    if (!passwordFile.isEmpty()) {
        QFile file(QDir(baseDir).absoluteFilePath(passwordFile));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("Konfiguration: database/password_file %1 lässt sich nicht lesen (%2).")
                         .arg(file.fileName(), file.errorString());
            return false;
        }
        o->password = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    }
    return true;
}

} // namespace DatabaseSettings
