#pragma once

#include <QHash>
class Store;
#include <QString>
#include <mutex>

// At most a number of requests a minute from one address: a window of one
// minute that slides in steps of ten seconds.
class RateLimiter
{
public:
    // shared: count in the database instead, so that several server
    // processes on one database (PostgreSQL) share the limit.
    explicit RateLimiter(int perMinute, Store *shared = nullptr)
        : m_perMinute(perMinute)
        , m_shared(shared)
    {
    }

    // Counts a request from address at nowMs; false when it is over the limit.
    bool allow(const QString &address, qint64 nowMs);

private:
    static constexpr int kSlots = 6;
    struct Window
    {
        qint64 slotStart[kSlots] = {};
        int count[kSlots] = {};
    };
    int m_perMinute;
    Store *m_shared;
    std::mutex m_mutex;
    QHash<QString, Window> m_windows;
    qint64 m_lastSweep = 0;
};
