#pragma once

// An advisory lock on a file, held through an open descriptor for as long as
// the object holds it: shared by any number of holders, or exclusive by one. The kernel drops it when the process ends, killed or not,
// so a lock never outlives its run. The descriptor is not inherited by
// programs that the run starts.
//
// Changing a held lock from shared to exclusive is not one step: the shared
// lock is given up first. Where two holders may both try it, a second lock
// held exclusively around the change keeps them apart.
//
// A lock fails closed: a lock that cannot be taken for any reason other than
// another holder (no file, no locks on this file system, ...) is refused,
// never taken as granted, and Error() says why.

#include <QString>

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file to lock, made when it is missing, for reading and
    // writing (an exclusive lock on a network file system needs that); false
    // when it cannot be opened. A lock held before on another path is
    // released.
    bool Open(const QString& path);
    bool IsOpen() const { return m_fd >= 0; }

    // Waits for and takes the shared lock (a held exclusive lock becomes
    // shared); false when it failed.
    bool Shared();
    // Waits for and takes the exclusive lock; false when it failed.
    bool Exclusive();
    // Takes the exclusive lock when no other holder has the path locked;
    // otherwise returns false and holds what it held before: the shared lock
    // again (waiting for it while another holds the lock alone), or none.
    // A lock that fails otherwise is refused as well, with Error() set.
    bool TryExclusive();
    // Why the last Open or lock failed other than by another holder; empty
    // when it did not.
    QString Error() const { return m_error; }
    // Gives the lock up and keeps the path open for the next one.
    void Unlock();
    // Releases the lock and closes the descriptor.
    void Release();

private:
    enum class Held { None, Shared, Exclusive };
    bool fail(const char* what);
    bool take(int operation, Held held);
    int m_fd = -1;
    Held m_held = Held::None;
    QString m_path;
    QString m_error;
};
