#pragma once

#include <QHash>
#include <QString>
#include <mutex>

// At most a number of requests a minute from one address: a window of one
// minute that slides in steps of ten seconds.
class RateLimiter
{
public:
    explicit RateLimiter(int perMinute)
        : m_perMinute(perMinute)
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
    std::mutex m_mutex;
    QHash<QString, Window> m_windows;
    qint64 m_lastSweep = 0;
};
