#pragma once

// How an engine handle waits for a lock that another connection holds (a
// run of the program, another program): the engine calls its busy handler
// again and again until the lock is free or the handler gives up. This one
// gives up after the time-out, shows the wait after a second (WaitWindow:
// what it waits for, with Cancel; the program's events run meanwhile), and
// gives up at once when the user cancels or the session ends. The engine
// then reports the lock as busy, and the caller asks Stopped() whether it
// was the user, not the time-out.
//
// While the wait lets events run, the engine is inside a call on this
// handle: the handle must not be used until it returns (the owner refuses
// every use while Waiting()).

#include <QElapsedTimer>
#include <QString>

struct sqlite3;

class BusyWait {
public:
    BusyWait() = default;
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    // Becomes the busy handler of `db` (the file at `path`), waiting up to
    // `seconds`.
    void Install(sqlite3* db, const QString& path, int seconds);
    void SetTimeout(int seconds);

    // The engine waits inside this handler and lets events run.
    bool Waiting() const { return m_waiting; }
    // The last wait was stopped by the user or the session's end; reading it
    // clears it.
    bool TakeStopped();
    // The handler waited since the last Forget (the lock was held by another).
    bool Waited() const { return m_waited; }
    void Forget();

    // One turn of a wait of the caller's own, for a call that it tries again
    // itself after the engine reported the lock busy: false when it is to
    // give up, after the time-out or when stopped (see TakeStopped). The
    // time-out counts from the first wait after Forget, the engine's or
    // the caller's.
    bool Again(int ms = 50);

    // For tests: every wait gives up after at most `ms` milliseconds (0: the
    // time-out alone counts).
    static void SetTimeoutLimit(int ms);
    // A time-out of `ms` milliseconds as every wait keeps it (shortened by
    // that limit), for a wait of the program's own for another holder.
    static qint64 Limited(qint64 ms);

private:
    static int handler(void* self, int count);
    int timeoutMs() const;
    bool turn(const QElapsedTimer& clock, int ms);

    QString m_path;
    int m_seconds = 30;
    QElapsedTimer m_clock; // the engine's current wait
    QElapsedTimer m_again; // the caller's own wait, from its first turn
    bool m_waiting = false;
    bool m_waited = false;
    bool m_stopped = false;
};
