#pragma once

// An advisory lock on a file, held through an open descriptor for as long as
// the object holds it: shared by any number of holders, or exclusive by one.
// The kernel drops it when the process ends, killed or not, so a lock never
// outlives its run. The descriptor is not inherited by programs that the run
// starts.
//
// Changing a held lock from shared to exclusive is not one step: the shared
// lock is given up first. Where two holders may both try it, a second lock
// held exclusively around the change keeps them apart.
//
// A lock fails closed: a lock that cannot be taken for any reason other than
// another holder (no file, a folder in its place, no locks on this file
// system, ...) is refused, never taken as granted, and Failed() and
// ErrorNumber() say why, for the caller to tell the user in the user's words.
//
// The lock belongs to the file that was opened, not to its name: a file
// deleted or replaced under its holders leaves them holding a lock nobody
// else sees. StillAtPath() tells a holder so.
//
// A lock can also cover one byte of a file instead of the whole file: an
// open-file-description lock (fcntl F_OFD_SETLK), for a file that another
// program locks by byte ranges of its own, such as a database whose engine
// locks its own bytes. Such a lock changes between shared and exclusive in
// one step, so a refused change keeps the shared lock without a gap. Mind
// that closing any descriptor of a file drops the process's own POSIX locks
// on it (the engine's included): a byte lock is held through one descriptor
// that stays open as long as the engine's connections to the file live.

#include <QString>

class FileLock {
public:
    // What the last failure was, other than another holder.
    enum class Failure {
        None,
        Open,  // the file cannot be opened or made (a folder in its place: EISDIR)
        Lock,  // the lock cannot be taken (no locks on this file system, ...)
        Check, // the file at the path cannot be looked at
    };
    // Whether the open file is still the file at its path.
    enum class Identity { Same, Replaced, Unknown };

    FileLock() = default;
    // A lock on the byte at `byte` of the file.
    explicit FileLock(qint64 byte) : m_byte(byte) {}
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    // Takes over the other's open file and lock; what this one held is
    // released first.
    FileLock& operator=(FileLock&& other) noexcept;

    // Opens the file to lock, made when it is missing, for reading and
    // writing (an exclusive lock on a network file system needs that); false
    // when it cannot be opened, also when a folder has its name. A lock held
    // before is released.
    bool Open(const QString& path);
    // Opens a file that another holder made, to look at its lock: for
    // reading, never made; false when it is missing (ErrorNumber() ENOENT)
    // or cannot be opened.
    bool OpenExisting(const QString& path);
    // Opens a file that must be there, for reading and writing (an exclusive
    // byte lock needs that), never made; false when it is missing
    // (ErrorNumber() ENOENT) or cannot be opened.
    bool OpenPresent(const QString& path);
    // The open file was renamed to `path`: StillAtPath() looks there now.
    void Moved(const QString& path) { m_path = path; }
    bool IsOpen() const { return m_fd >= 0; }
    bool IsHeld() const { return m_held != Held::None; }

    // Waits for and takes the shared lock (a held exclusive lock becomes
    // shared); false when it failed.
    bool Shared();
    // Waits for and takes the exclusive lock; false when it failed.
    bool Exclusive();
    // Takes the exclusive lock when no other holder has the path locked;
    // otherwise returns false and holds what it held before: the shared lock
    // again (waiting for it while another holds the lock alone), or none.
    // A lock that fails otherwise is refused as well, with Failed() set.
    bool TryExclusive();
    // Takes the shared lock when no other holder has the file alone;
    // otherwise returns false at once and holds what it held before. A lock
    // that fails otherwise is refused as well, with Failed() set.
    bool TryShared();
    // Same when the path still names the open file (device and inode);
    // Replaced when it names another file, a folder or nothing; Unknown when
    // that cannot be told (Failed() Check).
    Identity StillAtPath() const;

    // Why the last Open, lock or check failed other than by another holder:
    // the step and the system's error number; None and 0 when it did not.
    Failure Failed() const { return m_failure; }
    int ErrorNumber() const { return m_errno; }
    QString Path() const { return m_path; }
    // The same as a text for a log (the path and the system's message, in
    // the system's language); empty when nothing failed.
    QString Error() const;
    // Gives the lock up and keeps the path open for the next one.
    void Unlock();
    // Releases the lock and closes the descriptor.
    void Release();

    // For tests: every byte lock is refused with `error` (EINVAL, ENOLCK),
    // as a file system that keeps no such locks refuses it; 0 lets them be
    // taken again.
    static void RefuseByteLocks(int error);

private:
    enum class Held { None, Shared, Exclusive };
    bool fail(Failure failure) const;
    void succeed();
    enum class Mode { Make, Look, Present };
    // The lock operation itself; on another holder -1 with errno
    // EWOULDBLOCK, whatever the kind of lock.
    int lock(Held held, bool wait) const;
    bool take(Held held);
    bool open(const QString& path, Mode mode);
    qint64 m_byte = -1;
    int m_fd = -1;
    Held m_held = Held::None;
    QString m_path;
    mutable Failure m_failure = Failure::None;
    mutable int m_errno = 0;
};
