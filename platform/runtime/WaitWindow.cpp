#include "platform/runtime/WaitWindow.h"
#include "platform/runtime/System.h"

#include "platform/runtime/MsgBox.h"

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

namespace WaitWindow {
namespace {

// A wait that was quiet this long has ended: its window goes.
constexpr int kLingerMs = 300;
// The text of a shown window is asked again at most this often.
constexpr int kTextEveryMs = 500;

QPointer<QProgressDialog> g_window;
// When the shown text was last asked for.
QElapsedTimer g_textAsked;
// Turns that let events run right now (nested turns wait without events).
int g_depth = 0;
// The session ends: every wait stops until the waiting code has left the
// outermost turn that lets events run.
bool g_stopping = false;
struct Later {
    QPointer<QObject> context;
    std::function<void()> then;
};
QList<Later> g_later;
std::function<QString(const QString&)> g_describer;
int g_starting = 0;

bool german() {
    return GermanTexts();
}

bool canShow() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The one window of every wait, made at the first and then hidden between
// waits rather than deleted: a box shown right after a wait may have taken
// it for its parent while it still showed.
QProgressDialog* window() {
    if (g_window) return g_window;
    auto* window = new QProgressDialog(QString(), msgbox::ButtonText(vbCancel, german()), 0, 0);
    window->setObjectName(QStringLiteral("frmWARTEN"));
    window->setWindowTitle(ApplicationTitle());
    window->setWindowModality(Qt::ApplicationModal);
    window->setAutoClose(false);
    window->setAutoReset(false);
    window->setMinimumDuration(0);
    // A wait that ended without End() (the engine got its lock and stopped
    // calling) takes its window along once the program's events run again.
    auto* linger = new QTimer(window);
    linger->setObjectName(QStringLiteral("linger"));
    linger->setSingleShot(true);
    linger->setInterval(kLingerMs);
    QObject::connect(linger, &QTimer::timeout, window, [linger] {
        if (g_depth > 0)
            linger->start();
        else
            End();
    });
    g_window = window;
    return window;
}

void show(const std::function<QString()>& text) {
    QProgressDialog* shown = window();
    if (!shown->isVisible() || g_textAsked.elapsed() >= kTextEveryMs) {
        const QString now = text();
        if (now != shown->labelText()) shown->setLabelText(now);
        g_textAsked.start();
    }
    if (!shown->isVisible()) shown->show();
    if (auto* linger = shown->findChild<QTimer*>(QStringLiteral("linger"))) linger->start();
}

// The outermost turn has returned: what StopAll asked for follows from the
// event loop, once the waiting code has returned to it.
void postLater() {
    g_stopping = false;
    if (g_later.isEmpty()) return;
    const QList<Later> later = std::exchange(g_later, {});
    QTimer::singleShot(0, QCoreApplication::instance(), [later] {
        for (const Later& l : later)
            if (l.context) l.then();
    });
}

} // namespace

bool Pause(qint64 waitedMs, int ms, const std::function<QString()>& text) {
    if (g_stopping) {
        End();
        return false;
    }
    // Before the window shows, and inside the events of another wait, no
    // events run: nothing can enter the waiting code meanwhile.
    if (g_depth > 0 || waitedMs < kShowAfterMs || !canShow()) {
        QThread::msleep(ms);
        return !g_stopping;
    }
    show(text);
    QElapsedTimer turn;
    turn.start();
    ++g_depth;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (g_stopping || !g_window || !g_window->isVisible() || g_window->wasCanceled()) break;
        QThread::msleep(2);
    } while (turn.elapsed() < ms);
    --g_depth;
    const bool stop =
        g_stopping || !g_window || !g_window->isVisible() || g_window->wasCanceled();
    if (stop) End();
    if (g_depth == 0) postLater();
    return !stop;
}

void End() {
    if (!g_window) return;
    if (auto* linger = g_window->findChild<QTimer*>(QStringLiteral("linger"))) linger->stop();
    g_window->hide();
    // Cancel counts for the wait it ended, not for the next.
    g_window->reset();
}

bool Waiting() {
    return g_depth > 0;
}

QWidget* Window() {
    return g_window && g_window->isVisible() ? g_window.data() : nullptr;
}

bool StopAll(QObject* context, std::function<void()> then) {
    if (g_depth == 0) return false;
    g_stopping = true;
    g_later.append(Later{context, std::move(then)});
    return true;
}

QString DatabaseText(const QString& path) {
    if (g_describer) {
        const QString known = g_describer(path);
        if (!known.isEmpty()) return known;
    }
    const bool start = IsStarting();
    return german() ? QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Lauf oder "
                                     "Programm benutzt.\n%2 wartet, bis sie frei ist.")
                          .arg(path, start ? QStringLiteral("Der Start")
                                           : QStringLiteral("Der Befehl"))
                    : QStringLiteral("The database %1 is in use by another run or program "
                                     "right now.\n%2 waits until it is free.")
                          .arg(path, start ? QStringLiteral("The start")
                                           : QStringLiteral("The command"));
}

Starting::Starting() {
    ++g_starting;
}

Starting::~Starting() {
    --g_starting;
}

bool IsStarting() {
    return g_starting > 0;
}

void SetDescriber(std::function<QString(const QString&)> describer) {
    g_describer = std::move(describer);
}

Wait::Wait(std::function<QString()> text) : m_text(std::move(text)) {
    m_clock.start();
}

Wait::~Wait() {
    // A wait inside the events of another has no window of its own.
    if (m_outermost) End();
}

bool Wait::Pause(int ms) {
    if (!Waiting()) m_outermost = true;
    return WaitWindow::Pause(m_clock.elapsed(), ms, m_text);
}

} // namespace WaitWindow
