#pragma once

// Waits for another holder of a file: another run of the program or another
// program. A wait that lasts longer than about a second shows a small window
// (object name "frmWARTEN", application-modal) that says what it waits for,
// with a Cancel button ("Abbrechen"); the program's events keep running
// meanwhile. Cancel, or the end of the session (StopAll), stops the wait.
//
// Two kinds of wait use it: a loop of one's own that tries something again
// and again (Wait below), and the database engine's busy handler, which is
// called again and again while the engine waits for a lock and cannot say
// when the wait has ended; its window goes when it is no longer called
// (once the program's events run again) or with End().
//
// While a wait lets events run, the code that waits is still on the stack,
// perhaps inside a database engine call. A wait that begins meanwhile (an
// event handler that waits itself) waits without events and without a
// window, so that nothing enters the waiting code a second time.

#include <QElapsedTimer>
#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace WaitWindow {

// After how long a wait shows its window, in milliseconds.
inline constexpr int kShowAfterMs = 1000;

// One turn of a wait that began `waitedMs` ago: lets about `ms` milliseconds
// pass, with events running and the window shown once the wait has lasted
// kShowAfterMs (its text asked from `text`, again while it shows). False
// when the wait is to stop: Cancel was pressed or the session ends; the
// window is gone then.
bool Pause(qint64 waitedMs, int ms, const std::function<QString()>& text);
// The wait has ended: its window goes.
void End();

// Whether a wait lets events run right now (the caller runs inside it).
bool Waiting();
// The window of the wait, while it shows; null otherwise.
QWidget* Window();

// Stops every wait that lets events run now, as Cancel does, and calls
// `then` from the event loop once the waiting code has returned to it
// (unless `context` is gone by then). False when no wait runs: nothing is
// done and `then` not called.
bool StopAll(QObject* context, std::function<void()> then);

// The text of a wait for a database file: what the installed describer says
// about its holder, or else that another run or program holds it.
QString DatabaseText(const QString& path);
// The describer: the program knows what its other runs do with a file (an
// empty text: nothing known). Null removes it.
void SetDescriber(std::function<QString(const QString& path)> describer);

// While one lives, the program is starting: no command was given yet, so a
// wait for a database says that the start waits.
class Starting {
public:
    Starting();
    ~Starting();
    Starting(const Starting&) = delete;
    Starting& operator=(const Starting&) = delete;
};
// Whether the program is starting.
bool IsStarting();

// A wait of one's own: a loop that tries again until it succeeds, with the
// window after a second; the window goes with the object.
class Wait {
public:
    explicit Wait(std::function<QString()> text);
    ~Wait();
    Wait(const Wait&) = delete;
    Wait& operator=(const Wait&) = delete;

    // One turn of about `ms` milliseconds; false when the wait is to stop.
    bool Pause(int ms);
    qint64 Elapsed() const { return m_clock.elapsed(); }

private:
    std::function<QString()> m_text;
    QElapsedTimer m_clock;
    bool m_outermost = false;
};

} // namespace WaitWindow
