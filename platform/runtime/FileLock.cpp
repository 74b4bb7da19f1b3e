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

bool FileLock::fail(Failure failure) const {
    m_failure = failure;
    m_errno = errno;
    return false;
}

void FileLock::succeed() {
    m_failure = Failure::None;
    m_errno = 0;
}

QString FileLock::Error() const {
    if (m_failure == Failure::None) return QString();
    static const char* const steps[] = {"", "open", "lock", "check"};
    return QStringLiteral("%1 %2: %3")
        .arg(QString::fromLatin1(steps[int(m_failure)]), m_path,
             QString::fromLocal8Bit(std::strerror(m_errno)));
}

bool FileLock::open(const QString& path, bool existing) {
    Release();
    m_path = path;
    succeed();
    const QByteArray name = QFile::encodeName(path);
    // A regular file is opened for writing too, so that every file system
    // grants an exclusive lock; another's file is only looked at.
    m_fd = existing ? ::open(name.constData(), O_RDONLY | O_CLOEXEC)
                    : ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return fail(Failure::Open);
    // A folder in the file's place holds no lock that others look for.
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) errno = EISDIR;
        fail(Failure::Open);
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

bool FileLock::Open(const QString& path) {
    return open(path, false);
}

bool FileLock::OpenExisting(const QString& path) {
    return open(path, true);
}

bool FileLock::take(int operation, Held held) {
    if (m_fd < 0) return false;
    if (lockRetrying(m_fd, operation) != 0) return fail(Failure::Lock);
    m_held = held;
    succeed();
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
        succeed();
        return true;
    }
    if (errno != EWOULDBLOCK) return fail(Failure::Lock);
    succeed();
    // A refused conversion may have dropped the shared lock on the way; one
    // that cannot be had again is a failure of its own.
    if (m_held == Held::Shared) {
        m_held = Held::None;
        Shared();
    }
    return false;
}

bool FileLock::TryShared() {
    if (m_fd < 0) return false;
    if (m_held == Held::Shared) return true;
    if (lockRetrying(m_fd, LOCK_SH | LOCK_NB) == 0) {
        m_held = Held::Shared;
        succeed();
        return true;
    }
    if (errno != EWOULDBLOCK) return fail(Failure::Lock);
    succeed();
    return false;
}

FileLock::Identity FileLock::StillAtPath() const {
    if (m_fd < 0) return Identity::Replaced;
    struct stat offen {};
    struct stat dort {};
    if (::fstat(m_fd, &offen) != 0) return fail(Failure::Check), Identity::Unknown;
    if (::stat(QFile::encodeName(m_path).constData(), &dort) != 0) {
        // Nothing of that name any more: deleted, or its folder gone.
        if (errno == ENOENT || errno == ENOTDIR) return Identity::Replaced;
        return fail(Failure::Check), Identity::Unknown;
    }
    return offen.st_dev == dort.st_dev && offen.st_ino == dort.st_ino ? Identity::Same
                                                                      : Identity::Replaced;
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
