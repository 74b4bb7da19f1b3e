#include "platform/database/BusyWait.h"

#include "platform/runtime/WaitWindow.h"

#include <algorithm>
#include <sqlite3.h>

namespace {
int g_limitMs = 0;
} // namespace

void BusyWait::SetTimeoutLimit(int ms) {
    g_limitMs = std::max(ms, 0);
}

void BusyWait::Install(sqlite3* db, const QString& path, int seconds) {
    m_path = path;
    SetTimeout(seconds);
    Forget();
    sqlite3_busy_handler(db, &BusyWait::handler, this);
}

void BusyWait::SetTimeout(int seconds) {
    m_seconds = std::max(seconds, 0);
}

qint64 BusyWait::Limited(qint64 ms) {
    return g_limitMs > 0 ? std::min<qint64>(ms, g_limitMs) : ms;
}

int BusyWait::timeoutMs() const {
    return int(Limited(qint64(m_seconds) * 1000));
}

bool BusyWait::TakeStopped() {
    return std::exchange(m_stopped, false);
}

void BusyWait::Forget() {
    m_waited = false;
    m_stopped = false;
    m_again.invalidate();
}

bool BusyWait::turn(const QElapsedTimer& clock, int ms) {
    const qint64 waited = clock.elapsed();
    if (waited >= timeoutMs()) {
        // A box that tells of the time-out must not find the window still up.
        if (!WaitWindow::Waiting()) WaitWindow::End();
        return false;
    }
    m_waiting = true;
    const bool weiter = WaitWindow::Pause(
        waited, std::min<qint64>(ms, timeoutMs() - waited),
        [path = m_path] { return WaitWindow::DatabaseText(path); });
    m_waiting = false;
    if (!weiter) m_stopped = true;
    return weiter;
}

int BusyWait::handler(void* self, int count) {
    auto* wait = static_cast<BusyWait*>(self);
    if (count == 0) {
        wait->m_clock.start();
        if (!wait->m_again.isValid()) wait->m_again.start();
        wait->m_stopped = false;
        wait->m_waited = true;
    }
    // Short turns at first: a store of another run holds the lock for a
    // moment only.
    return wait->turn(wait->m_clock, count < 20 ? 2 : 20) ? 1 : 0;
}

bool BusyWait::Again(int ms) {
    if (!m_again.isValid()) m_again.start();
    m_waited = true;
    return turn(m_again, ms);
}
