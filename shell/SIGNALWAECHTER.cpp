#include "shell/SIGNALWAECHTER.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_paar[2] = {-1, -1};

void beiSignal(int) {
    // Only what is safe in a signal handler: one byte into the pipe.
    const char zeichen = 1;
    const ssize_t egal = ::write(g_paar[0], &zeichen, 1);
    (void)egal;
}
} // namespace

SIGNALWAECHTER::SIGNALWAECHTER(QObject* parent) : QObject(parent) {
    if (g_paar[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_paar) != 0) {
        g_paar[0] = g_paar[1] = -1;
        return;
    }
    struct sigaction aktion = {};
    aktion.sa_handler = beiSignal;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &aktion, nullptr);
}

SIGNALWAECHTER::~SIGNALWAECHTER() {
    struct sigaction aktion = {};
    aktion.sa_handler = SIG_DFL;
    sigemptyset(&aktion.sa_mask);
    sigaction(SIGTERM, &aktion, nullptr);
}

void SIGNALWAECHTER::AKTIVIEREN() {
    if (m_melder || g_paar[1] < 0) return;
    m_melder = new QSocketNotifier(g_paar[1], QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, [this] {
        char zeichen = 0;
        const ssize_t egal = ::read(g_paar[1], &zeichen, 1);
        (void)egal;
        emit BEENDEN();
    });
}
