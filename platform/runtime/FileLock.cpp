#include "platform/runtime/FileLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
int lockRetrying(int fd, int operation) {
    int rc;
    do
        rc = ::flock(fd, operation);
    while (rc != 0 && errno == EINTR);
    return rc;
}
} // namespace

FileLock::~FileLock() {
    Release();
}

bool FileLock::Open(const QString& path) {
    Release();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    return m_fd >= 0;
}

void FileLock::Shared() {
    if (m_fd >= 0 && lockRetrying(m_fd, LOCK_SH) == 0) m_held = Held::Shared;
}

void FileLock::Exclusive() {
    if (m_fd >= 0 && lockRetrying(m_fd, LOCK_EX) == 0) m_held = Held::Exclusive;
}

bool FileLock::TryExclusive() {
    if (m_fd < 0) return true;
    if (lockRetrying(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_held = Held::Exclusive;
        return true;
    }
    if (errno != EWOULDBLOCK) return true;
    // A refused conversion may have dropped the shared lock on the way.
    if (m_held == Held::Shared) {
        m_held = Held::None;
        Shared();
    }
    return false;
}

void FileLock::Unlock() {
    if (m_fd >= 0) lockRetrying(m_fd, LOCK_UN);
    m_held = Held::None;
}

void FileLock::Release() {
    m_held = Held::None;
    if (m_fd < 0) return;
    ::close(m_fd); // closing drops the lock
    m_fd = -1;
}
