#include "platform/runtime/FileLock.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
int g_refused = 0;

int flockRetrying(int fd, int operation) {
    int rc;
    do
        rc = ::flock(fd, operation);
    while (rc != 0 && errno == EINTR);
    return rc;
}

int byteRetrying(int fd, qint64 byte, short type, bool wait) {
    if (g_refused != 0 && type != F_UNLCK) {
        errno = g_refused;
        return -1;
    }
    struct flock bereich {};
    bereich.l_type = type;
    bereich.l_whence = SEEK_SET;
    bereich.l_start = off_t(byte);
    bereich.l_len = 1;
    int rc;
    do
        rc = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &bereich);
    while (rc != 0 && errno == EINTR);
    // Another holder is EAGAIN or EACCES here, EWOULDBLOCK for flock.
    if (rc != 0 && errno == EACCES) errno = EWOULDBLOCK;
    return rc;
}
} // namespace

void FileLock::RefuseByteLocks(int error) {
    g_refused = error;
}

FileLock::~FileLock() {
    Release();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this == &other) return *this;
    Release();
    m_byte = other.m_byte;
    m_fd = std::exchange(other.m_fd, -1);
    m_held = std::exchange(other.m_held, Held::None);
    m_path = other.m_path;
    m_failure = other.m_failure;
    m_errno = other.m_errno;
    return *this;
}

int FileLock::lock(Held held, bool wait) const {
    if (m_byte >= 0) {
        const short type = held == Held::Exclusive ? F_WRLCK
                           : held == Held::Shared  ? F_RDLCK
                                                   : F_UNLCK;
        return byteRetrying(m_fd, m_byte, type, wait);
    }
    const int operation = held == Held::Exclusive ? LOCK_EX
                          : held == Held::Shared  ? LOCK_SH
                                                  : LOCK_UN;
    return flockRetrying(m_fd, operation | (wait || held == Held::None ? 0 : LOCK_NB));
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

bool FileLock::open(const QString& path, Mode mode) {
    Release();
    m_path = path;
    succeed();
    const QByteArray name = QFile::encodeName(path);
    // A regular file is opened for writing too, so that every file system
    // grants an exclusive lock; another's file is only looked at.
    m_fd = mode == Mode::Look      ? ::open(name.constData(), O_RDONLY | O_CLOEXEC)
           : mode == Mode::Present ? ::open(name.constData(), O_RDWR | O_CLOEXEC)
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
    return open(path, Mode::Make);
}

bool FileLock::OpenExisting(const QString& path) {
    return open(path, Mode::Look);
}

bool FileLock::OpenPresent(const QString& path) {
    return open(path, Mode::Present);
}

bool FileLock::take(Held held) {
    if (m_fd < 0) return false;
    if (lock(held, true) != 0) return fail(Failure::Lock);
    m_held = held;
    succeed();
    return true;
}

bool FileLock::Shared() {
    return take(Held::Shared);
}

bool FileLock::Exclusive() {
    return take(Held::Exclusive);
}

bool FileLock::TryExclusive() {
    if (m_fd < 0) return false;
    if (lock(Held::Exclusive, false) == 0) {
        m_held = Held::Exclusive;
        succeed();
        return true;
    }
    if (errno != EWOULDBLOCK) return fail(Failure::Lock);
    succeed();
    // A refused conversion of a whole-file lock may have dropped the shared
    // lock on the way; one that cannot be had again is a failure of its own.
    // A byte lock keeps it.
    if (m_held == Held::Shared && m_byte < 0) {
        m_held = Held::None;
        Shared();
    }
    return false;
}

bool FileLock::TryShared() {
    if (m_fd < 0) return false;
    if (m_held == Held::Shared) return true;
    if (lock(Held::Shared, false) == 0) {
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
    if (m_fd >= 0) lock(Held::None, false);
    m_held = Held::None;
}

void FileLock::Release() {
    m_held = Held::None;
    if (m_fd < 0) return;
    ::close(m_fd); // closing drops the lock
    m_fd = -1;
}
