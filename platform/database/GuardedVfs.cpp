#include "platform/database/GuardedVfs.h"

#include <map>
#include <mutex>
#include <sqlite3.h>

namespace {

// A main database file: the engine's own file object follows this one in
// the memory the engine gives for it.
struct GuardedFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<GuardedFile*>(file)->real;
}

sqlite3_vfs* g_system = nullptr;

int fileClose(sqlite3_file* file) {
    sqlite3_file* r = real(file);
    return r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
}
int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return real(file)->pMethods->xTruncate(real(file), size);
}
int fileSync(sqlite3_file* file, int flags) {
    return real(file)->pMethods->xSync(real(file), flags);
}
int fileSize(sqlite3_file* file, sqlite3_int64* size) {
    return real(file)->pMethods->xFileSize(real(file), size);
}
int fileLock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xLock(real(file), level);
}
int fileUnlock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xUnlock(real(file), level);
}
// Asked by the engine only to tell whether a journal beside the database is
// hot. A file that is no longer at its path has no journal there.
int fileCheckReservedLock(sqlite3_file* file, int* reserved) {
    sqlite3_file* r = real(file);
    int moved = 0;
    if (r->pMethods->xFileControl(r, SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved) {
        *reserved = 1;
        return SQLITE_OK;
    }
    return r->pMethods->xCheckReservedLock(r, reserved);
}
int fileControl(sqlite3_file* file, int op, void* argument) {
    return real(file)->pMethods->xFileControl(real(file), op, argument);
}
int fileSectorSize(sqlite3_file* file) {
    return real(file)->pMethods->xSectorSize(real(file));
}
int fileDeviceCharacteristics(sqlite3_file* file) {
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int fileShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** memory) {
    return real(file)->pMethods->xShmMap(real(file), region, size, extend, memory);
}
int fileShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* file) {
    real(file)->pMethods->xShmBarrier(real(file));
}
int fileShmUnmap(sqlite3_file* file, int deleteFlag) {
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int fileFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** page) {
    return real(file)->pMethods->xFetch(real(file), offset, amount, page);
}
int fileUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

// One table of methods for each of the system's (its locking styles differ
// in version and in what they offer), offering what that one offers. The
// tables live as long as the process: a connection may close after the
// program's static objects are gone.
const sqlite3_io_methods* methodsFor(const sqlite3_io_methods* system) {
    static std::mutex lock;
    static auto* const tables = new std::map<const sqlite3_io_methods*, sqlite3_io_methods>();
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = tables->find(system);
    if (found != tables->end()) return &found->second;
    sqlite3_io_methods m{};
    m.iVersion = system->iVersion;
    m.xClose = fileClose;
    m.xRead = fileRead;
    m.xWrite = fileWrite;
    m.xTruncate = fileTruncate;
    m.xSync = fileSync;
    m.xFileSize = fileSize;
    m.xLock = fileLock;
    m.xUnlock = fileUnlock;
    m.xCheckReservedLock = fileCheckReservedLock;
    m.xFileControl = fileControl;
    m.xSectorSize = fileSectorSize;
    m.xDeviceCharacteristics = fileDeviceCharacteristics;
    if (system->iVersion >= 2) {
        m.xShmMap = system->xShmMap ? fileShmMap : nullptr;
        m.xShmLock = system->xShmLock ? fileShmLock : nullptr;
        m.xShmBarrier = system->xShmBarrier ? fileShmBarrier : nullptr;
        m.xShmUnmap = system->xShmUnmap ? fileShmUnmap : nullptr;
    }
    if (system->iVersion >= 3) {
        m.xFetch = system->xFetch ? fileFetch : nullptr;
        m.xUnfetch = system->xUnfetch ? fileUnfetch : nullptr;
    }
    return &tables->emplace(system, m).first->second;
}

int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    // Journals and every other file are the system's own.
    if (!(flags & SQLITE_OPEN_MAIN_DB))
        return g_system->xOpen(g_system, name, file, flags, outFlags);
    auto* guarded = reinterpret_cast<GuardedFile*>(file);
    guarded->base.pMethods = nullptr;
    guarded->real =
        reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + sizeof(GuardedFile));
    guarded->real->pMethods = nullptr;
    const int rc = g_system->xOpen(g_system, name, guarded->real, flags, outFlags);
    // The engine closes a file whose methods are set, even after a failure.
    if (guarded->real->pMethods) guarded->base.pMethods = methodsFor(guarded->real->pMethods);
    return rc;
}

sqlite3_vfs g_guarded;

} // namespace

const char* GuardedVfsName() {
    static const char* const name = []() -> const char* {
        if (sqlite3_initialize() != SQLITE_OK) return nullptr;
        g_system = sqlite3_vfs_find(nullptr);
        if (!g_system) return nullptr;
        g_guarded = *g_system;
        g_guarded.pNext = nullptr;
        g_guarded.zName = "veld-guarded";
        // The system's file object after ours, aligned as the engine aligns.
        static_assert(sizeof(GuardedFile) % 8 == 0);
        g_guarded.szOsFile = int(sizeof(GuardedFile)) + g_system->szOsFile;
        g_guarded.xOpen = openFile;
        if (sqlite3_vfs_register(&g_guarded, 0) != SQLITE_OK) return nullptr;
        return g_guarded.zName;
    }();
    return name;
}
