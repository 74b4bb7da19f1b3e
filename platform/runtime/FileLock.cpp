#include "platform/runtime/FileLock.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

bool FileLock::fail(const char* what) {
    m_error = QStringLiteral("%1 %2: %3").arg(QString::fromLatin1(what), m_path,
                                              QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

bool FileLock::Open(const QString& path) {
    Release();
    m_path = path;
    m_error.clear();
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // A folder can only be opened for reading; a regular file is opened
    // for writing too, so that every file system grants an exclusive lock.
    const bool folder = ::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode);
    m_fd = folder ? ::open(name.constData(), O_RDONLY | O_CLOEXEC)
                  : ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    return m_fd >= 0 || fail("open");
}

bool FileLock::take(int operation, Held held) {
    if (m_fd < 0) return false;
    if (lockRetrying(m_fd, operation) != 0) return fail("lock");
    m_held = held;
    m_error.clear();
    return true;
}

bool FileLock::Shared() {
    return take(LOCK_SH, Held::Shared);
}

bool FileLock::Exclusive() {
    return take(LOCK_EX, Held::Exclusive);
}

bool FileLock::TryExclusive() {
    if (m_fd < 0) return false;
    if (lockRetrying(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_held = Held::Exclusive;
        m_error.clear();
        return true;
    }
    if (errno != EWOULDBLOCK) return fail("lock");
    m_error.clear();
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
