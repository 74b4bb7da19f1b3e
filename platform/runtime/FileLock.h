#pragma once

// An advisory lock on a file or folder, held through an open descriptor for
// as long as the object holds it: shared by any number of holders, or
// exclusive by one. The kernel drops it when the process ends, killed or not,
// so a lock never outlives its run. The descriptor is not inherited by
// programs that the run starts.
//
// Changing a held lock from shared to exclusive is not one step: the shared
// lock is given up first. Where two holders may both try it, a second lock
// held exclusively around the change keeps them apart.

#include <QString>

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file or folder to lock (an existing one); false when it
    // cannot be opened. A lock held before on another path is released.
    bool Open(const QString& path);
    bool IsOpen() const { return m_fd >= 0; }

    // Waits for and takes the shared lock (a held exclusive lock becomes
    // shared).
    void Shared();
    // Waits for and takes the exclusive lock.
    void Exclusive();
    // Takes the exclusive lock when no other holder has the path locked;
    // otherwise returns false and holds what it held before: the shared lock
    // again (waiting for it while another holds the lock alone), or none.
    // Where the file system has no such locks, every try succeeds.
    bool TryExclusive();
    // Gives the lock up and keeps the path open for the next one.
    void Unlock();
    // Releases the lock and closes the descriptor.
    void Release();

private:
    enum class Held { None, Shared, Exclusive };
    int m_fd = -1;
    Held m_held = Held::None;
};
