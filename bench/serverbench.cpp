// pruvex-server-bench: a load run against a live quiz server on loopback.
// Several clients post the sample quiz as browsers do; it reports the
// evaluations per second, the 50th and 99th percentile latency and the
// server's memory as the submissions pile up.
//
//   pruvex-server-bench [--count N] [--clients C] [--address URL [--pid PID]] [--config FILE] [--processes P]
//
// Without --address it starts pruvex-server (beside itself) with a fresh
// data folder, the per-minute limit off, and stops it at the end; with
// --processes P it starts P of them on the same configuration (which then
// names a shared PostgreSQL database) and the clients take turns among them.
// bench/server-scaling.sh runs SQLite and PostgreSQL side by side.

#include "serverfixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <httplib.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The sample quiz's form as a browser sends it, some answers right.
std::string sampleBody(const QString &address)
{
    using namespace ServerFixture;
    const QString page = samplePage(address, false);
    if (page.isEmpty())
        return {};
    const Fields answers = {{QStringLiteral("Frage1"), QStringLiteral("2")},         {QStringLiteral("Frage2_0"), QStringLiteral("set")},
                            {QStringLiteral("Frage3_0"), QStringLiteral("München")}, {QStringLiteral("Frage4"), QStringLiteral("1")},
                            {QStringLiteral("Frage6_0"), QStringLiteral("Nordsee")}, {QStringLiteral("Frage6_1"), QStringLiteral("Ostsee")},
                            {QStringLiteral("LName"), QStringLiteral("Muster")},     {QStringLiteral("LEMAIL"), QStringLiteral("muster@example.org")}};
    return formBody(hiddenFields(page) + answers).toStdString();
}

// The resident memory of a process in MB, from /proc.
double residentMb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

int usage()
{
    std::fputs("Aufruf: pruvex-server-bench [--count N] [--clients C] [--address URL [--pid PID]] [--config DATEI] [--processes P]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int count = 100000, clients = 4, processes = 1;
    qint64 pid = 0;
    QString address, config;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size())
            return usage();
        const QString v = args[++i];
        if (args[i - 1] == QLatin1String("--count"))
            count = v.toInt();
        else if (args[i - 1] == QLatin1String("--clients"))
            clients = v.toInt();
        else if (args[i - 1] == QLatin1String("--address"))
            address = v;
        else if (args[i - 1] == QLatin1String("--pid"))
            pid = v.toLongLong();
        else if (args[i - 1] == QLatin1String("--config"))
            config = v;
        else if (args[i - 1] == QLatin1String("--processes"))
            processes = v.toInt();
        else
            return usage();
    }
    if (count <= 0 || clients <= 0 || processes <= 0 || (processes > 1 && !address.isEmpty()))
        return usage();

    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> servers;
    std::vector<qint64> pids;
    QStringList addresses;
    if (!address.isEmpty()) {
        addresses << address;
        pids.push_back(pid);
    } else {
        if (config.isEmpty()) {
            config = dir.filePath(QStringLiteral("bench.ini"));
            QFile f(config);
            if (!f.open(QIODevice::WriteOnly))
                return 1;
            f.write("[limits]\nposts_per_minute=0\n[server]\nthreads=8\n");
        }
        for (int p = 0; p < processes; ++p) {
            auto &server = *servers.emplace_back(std::make_unique<QProcess>());
            server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/pruvex-server"),
                         {QStringLiteral("--config"), config, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                          QStringLiteral("--data"), dir.filePath(QStringLiteral("data%1").arg(p))});
            if (!server.waitForStarted() || !server.waitForReadyRead(10000)) {
                std::fputs("pruvex-server-bench: pruvex-server startet nicht\n", stderr);
                return 1;
            }
            addresses << QString::fromUtf8(server.readLine()).trimmed();
            pids.push_back(server.processId());
        }
    }
    std::vector<QUrl> urls;
    for (const QString &a : std::as_const(addresses))
        urls.emplace_back(a);
    const std::string path = urls.front().path().toStdString();
    const std::string body = sampleBody(addresses.front());
    if (body.empty() || urls.front().port() <= 0)
        return usage();

    std::printf("pruvex-server-bench: %d Einsendungen, %d Clients, %s, Formular %zu Bytes\n", count, clients,
                qPrintable(addresses.join(QLatin1String(", "))), body.size());
    std::atomic<int> next{0}, failed{0};
    std::vector<std::vector<float>> latencies{size_t(clients)};
    std::vector<std::pair<int, double>> memory;
    std::mutex memoryMutex;
    const int step = std::max(1, count / 10);
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            const QUrl &url = urls[size_t(c) % urls.size()];
            httplib::Client client(url.host().toStdString(), url.port());
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_read_timeout(30, 0);
            auto &mine = latencies[size_t(c)];
            mine.reserve(size_t(count / clients + 1));
            for (int n = next++; n < count; n = next++) {
                const auto t0 = std::chrono::steady_clock::now();
                const auto r = client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
                const auto t1 = std::chrono::steady_clock::now();
                if (!r || r->status != 200)
                    ++failed;
                mine.push_back(std::chrono::duration<float, std::milli>(t1 - t0).count());
                if ((n + 1) % step == 0) {
                    // The largest of the server processes.
                    double mb = -1;
                    for (qint64 p : pids)
                        if (p > 0)
                            mb = std::max(mb, residentMb(p));
                    std::lock_guard<std::mutex> lock(memoryMutex);
                    if (mb >= 0)
                        memory.emplace_back(n + 1, mb);
                }
            }
        });
    for (auto &t : threads)
        t.join();
    const double seconds = wall.nsecsElapsed() / 1e9;

    std::vector<float> all;
    for (const auto &l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    auto percentile = [&all](double p) { return all.empty() ? 0.0 : double(all[std::min(all.size() - 1, size_t(p * all.size()))]); };
    std::printf("Auswertungen/s: %.0f  (%d in %.1f s, %d fehlgeschlagen)\n", count / seconds, count, seconds, failed.load());
    std::printf("Latenz p50: %.2f ms  p99: %.2f ms  max: %.2f ms\n", percentile(0.50), percentile(0.99), double(all.back()));
    std::sort(memory.begin(), memory.end());
    if (!memory.empty()) {
        std::printf("Speicher des Servers (RSS) nach Einsendungen:");
        for (const auto &[n, mb] : memory)
            std::printf("  %d: %.1f MB", n, mb);
        std::printf("\n");
    }
    for (const auto &server : servers)
        if (server->state() != QProcess::NotRunning) {
            ::kill(pid_t(server->processId()), SIGTERM);
            server->waitForFinished(10000);
        }
    return failed.load() == 0 ? 0 : 1;
}
