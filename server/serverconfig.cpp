#include "serverconfig.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

bool readInt(QSettings &ini, const char *key, int min, int max, int *value, QString *error)
{
    const QVariant v = ini.value(QLatin1String(key));
    if (!v.isValid())
        return true;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!ok || n < min || n > max) {
        *error = QStringLiteral("Konfiguration: %1 muss eine ganze Zahl von %2 bis %3 sein, nicht \"%4\".")
                     .arg(QLatin1String(key))
                     .arg(min)
                     .arg(max)
                     .arg(v.toString());
        return false;
    }
    *value = n;
    return true;
}

QString readText(QSettings &ini, const char *key, const QString &fallback)
{
    const QVariant v = ini.value(QLatin1String(key));
    if (!v.isValid())
        return fallback;
    // QSettings splits a value with commas into a list.
    return v.toStringList().join(QLatin1Char(',')).trimmed();
}

} // namespace

bool ServerConfig::read(const QString &path, ServerConfig *c, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("Konfiguration %1 nicht gefunden.").arg(path);
        return false;
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        *error = QStringLiteral("Konfiguration %1 ist keine gültige INI-Datei.").arg(path);
        return false;
    }
    c->configDir = QFileInfo(path).absolutePath();
    const QString listen = readText(ini, "server/listen", QString());
    if (!listen.isEmpty() && !c->setListen(listen)) {
        *error = QStringLiteral("Konfiguration: server/listen muss HOST:PORT sein, nicht \"%1\".").arg(listen);
        return false;
    }
    c->basePath = normaliseBasePath(readText(ini, "server/base", c->basePath));
    const QString data = readText(ini, "server/data", QString());
    if (!data.isEmpty())
        c->dataDir = QDir(c->configDir).absoluteFilePath(data);
    const QString proxies = readText(ini, "server/trusted_proxies", QString());
    c->trustedProxies.clear();
    for (const QString &p : proxies.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty())
            c->trustedProxies << p.trimmed();
    c->databaseDriver = readText(ini, "database/driver", c->databaseDriver).toLower();
    c->databaseName = readText(ini, "database/name", c->databaseName);
    if (c->qtDriver().isEmpty()) {
        *error = QStringLiteral("Konfiguration: database/driver muss sqlite oder postgresql sein, nicht \"%1\".").arg(c->databaseDriver);
        return false;
    }
    return readInt(ini, "server/read_timeout", 1, 3600, &c->readTimeoutSeconds, error) &&
           readInt(ini, "server/write_timeout", 1, 3600, &c->writeTimeoutSeconds, error) &&
           readInt(ini, "server/threads", 1, 256, &c->threads, error) &&
           readInt(ini, "limits/max_body_kb", 1, 1024 * 1024, &c->maxBodyKb, error) &&
           readInt(ini, "limits/max_questions", 1, 100000, &c->maxQuestions, error) &&
           readInt(ini, "limits/max_fields", 1, 10000000, &c->maxFields, error) &&
           readInt(ini, "limits/posts_per_minute", 0, 1000000000, &c->postsPerMinute, error) &&
           readInt(ini, "captcha/lifetime_seconds", 1, 7 * 24 * 3600, &c->captchaLifetimeSeconds, error);
}

bool ServerConfig::setListen(const QString &hostPort)
{
    const int colon = hostPort.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString h = hostPort.left(colon);
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    bool ok = false;
    const int p = hostPort.mid(colon + 1).toInt(&ok);
    if (!ok || p < 0 || p > 65535 || h.isEmpty())
        return false;
    host = h;
    port = p;
    return true;
}

QString ServerConfig::normaliseBasePath(const QString &path)
{
    QString p = path.trimmed();
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}

QString ServerConfig::dataFolder() const
{
    if (!dataDir.isEmpty())
        return QDir(dataDir).absolutePath();
    return QDir(Paths::userDataPath()).absoluteFilePath(QStringLiteral("server"));
}

QString ServerConfig::qtDriver() const
{
    if (databaseDriver == QLatin1String("sqlite"))
        return QStringLiteral("QSQLITE");
    if (databaseDriver == QLatin1String("postgresql"))
        return QStringLiteral("QPSQL");
    return {};
}
