#include "ratelimiter.h"

#include "store.h"

bool RateLimiter::allow(const QString &address, qint64 nowMs)
{
    if (m_perMinute <= 0)
        return true;
    if (m_shared)
        return m_shared->countPost(address, nowMs, m_perMinute);
    const qint64 slotMs = 60000 / kSlots;
    const qint64 slot = nowMs / slotMs;
    std::lock_guard<std::mutex> lock(m_mutex);
    // Addresses silent for a minute are forgotten, so the table stays small.
    if (nowMs - m_lastSweep > 60000) {
        for (auto it = m_windows.begin(); it != m_windows.end();) {
            qint64 newest = 0;
            for (qint64 s : it->slotStart)
                newest = qMax(newest, s);
            it = newest + kSlots <= slot ? m_windows.erase(it) : std::next(it);
        }
        m_lastSweep = nowMs;
    }
    Window &w = m_windows[address];
    int total = 0;
    for (int i = 0; i < kSlots; ++i)
        if (w.slotStart[i] > slot - kSlots)
            total += w.count[i];
    if (total >= m_perMinute)
        return false;
    const int i = int(slot % kSlots);
    if (w.slotStart[i] != slot) {
        w.slotStart[i] = slot;
        w.count[i] = 0;
    }
    ++w.count[i];
    return true;
}
