#pragma once

// A real SMTP server for a test: tests/mail/smtpsink.py (aiosmtpd) on a free
// loopback port, stopped when the object goes. Each accepted message is
// read back as the script stored it, decoded by Python's mail parser.

#include "mailsettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

class SmtpSink
{
public:
    // Debian's python3 brings aiosmtpd; another python3 first in PATH may not.
    static QString python()
    {
        for (const QString &p : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
            QProcess probe;
            probe.start(p, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
            if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                return p;
        }
        return QString();
    }

    // extra: e.g. {"--answer", "554 5.7.1 Nein"}, {"--port", "2525"}.
    bool start(const QStringList &extra = {})
    {
        stop();
        const QString py = python();
        if (py.isEmpty())
            return false;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(py, QStringList{QStringLiteral(PRUVEX_SMTP_SINK), m_dir.path()} + extra);
        if (!m_process.waitForStarted(10000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!m_process.canReadLine() && timer.elapsed() < 15000)
            m_process.waitForReadyRead(200);
        m_port = m_process.readLine().trimmed().toInt();
        return m_port > 0;
    }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    ~SmtpSink() { stop(); }

    int port() const { return m_port; }
    // The sink's own certificate, with --starttls or --tls.
    QString certificate() const { return m_dir.filePath(QStringLiteral("cert.pem")); }

    // A loopback port on which nothing listens (a mail server that is down):
    // the sink's, after it stopped.
    int unusedPort()
    {
        if (!start())
            return 0;
        const int p = m_port;
        stop();
        return p;
    }

    // Plain SMTP to a sink on port, from quiz@schule.example.
    static MailSettings settingsFor(int port)
    {
        MailSettings s;
        s.host = QStringLiteral("127.0.0.1");
        s.port = port;
        s.fromAddress = QStringLiteral("quiz@schule.example");
        s.fromName = QStringLiteral("Pruvex Quiz");
        s.timeoutSeconds = 10;
        return s;
    }

    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> list;
        const QStringList files = QDir(m_dir.path()).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        QMap<int, QJsonObject> byNumber;
        for (const QString &f : files) {
            QFile file(m_dir.filePath(f));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
            // The body with "\n" line breaks, as the tests write it.
            o.insert(QStringLiteral("body"), o.value(QStringLiteral("body")).toString().replace(QLatin1String("\r\n"), QLatin1String("\n")));
            byNumber.insert(f.section(QLatin1Char('.'), 0, 0).toInt(), o);
        }
        for (const QJsonObject &o : byNumber)
            list += o;
        return list;
    }

    bool waitForMessages(int count, int ms = 15000) const
    {
        QElapsedTimer timer;
        timer.start();
        while (messages().size() < count && timer.elapsed() < ms)
            QThread::msleep(50);
        return messages().size() >= count;
    }

    // The header values of one message by name, as Python decoded them.
    static QStringList header(const QJsonObject &message, const QString &name)
    {
        QStringList values;
        for (const QJsonValue &h : message.value(QStringLiteral("headers")).toArray()) {
            const QJsonArray pair = h.toArray();
            if (pair.at(0).toString().compare(name, Qt::CaseInsensitive) == 0)
                values += pair.at(1).toString();
        }
        return values;
    }

    static QStringList headerNames(const QJsonObject &message)
    {
        QStringList names;
        for (const QJsonValue &h : message.value(QStringLiteral("headers")).toArray())
            names += h.toArray().at(0).toString();
        return names;
    }

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    int m_port = 0;
};
