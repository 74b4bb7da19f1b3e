#pragma once

// What the two halves of the database file layer share: the engine handle
// with its wait, the sides of a copy, the check of a source beside the copy,
// and the steps of writing a new file in a database's place. Not for use
// outside platform/database.

#include "platform/database/BusyWait.h"
#include "platform/database/DatabaseFile.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <sqlite3.h>
#include <thread>

namespace databasefile {

constexpr int kTimeoutSeconds = 30;

// An engine handle closed when the scope ends, with its wait for another
// holder of its file.
class Handle {
public:
    Handle() = default;
    ~Handle() { sqlite3_close_v2(m_db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    sqlite3** out() { return &m_db; }
    sqlite3* get() const { return m_db; }
    BusyWait& busy() { return m_busy; }

private:
    sqlite3* m_db = nullptr;
    BusyWait m_busy;
};

// One side of a copy: an engine handle, how it waits, and the file that its
// waits and errors name: the file the user knows, also where the engine
// writes a temporary file that is to become it.
struct Side {
    sqlite3* db;
    BusyWait& busy;
    QString path;
};

inline Side side(Handle& handle, const QString& path) {
    return Side{handle.get(), handle.busy(), path};
}

// Raises the failure of an engine call on a side (see DatabaseFile.cpp).
[[noreturn]] void fail(sqlite3* db, BusyWait* busy, int rc, const QString& path);
[[noreturn]] void fail(const Side& failed, int rc);
QByteArray native(const QString& path);
// Opens the file at `path`; its waits and errors name `shown`.
void open(Handle& handle, const QString& path, int flags, const QString& shown);
void open(Handle& handle, const QString& path, int flags);
// Lets the engine read the file through a memory map.
void mapped(Handle& handle);
// SQLITE_OK when the file can be read as a database.
int readResult(sqlite3* db);
// The engine's check of a whole file; damage is raised as damage of `path`.
void check(const Side& file, const QString& path);
bool inWalMode(sqlite3* db);
// The mark of the database behind a handle that holds a lock on it.
DatabaseMark markOf(sqlite3* db);
// Takes the write lock of the database behind the handle, waiting as the
// engine waits; held until the handle is closed.
void lockForWriting(Handle& handle, const QString& path);
void refuseSameOrFolder(const Side& source, const QFileInfo& target);

// The engine's check of a database that does not change meanwhile, on a
// thread of its own, beside the work that depends on it: the backup of the
// same file, say (each reads the whole file, and neither waits for the
// other). Cancelled where that work ends otherwise; its own connection is
// used by its thread alone until the thread is joined.
class SourceCheck {
public:
    explicit SourceCheck(const QString& path) : m_path(path) {
        open(m_handle, path, SQLITE_OPEN_READONLY);
        mapped(m_handle);
        m_thread = std::thread([this] {
            try {
                check(side(m_handle, m_path), m_path);
            } catch (...) {
                m_error = std::current_exception();
            }
        });
    }
    ~SourceCheck() { Cancel(); }
    SourceCheck(const SourceCheck&) = delete;
    SourceCheck& operator=(const SourceCheck&) = delete;
    void Cancel() {
        if (!m_thread.joinable()) return;
        sqlite3_interrupt(m_handle.get());
        m_thread.join();
    }
    // Waits for the check; raises the damage it found.
    void Finish() {
        if (m_thread.joinable()) m_thread.join();
        if (m_error) std::rethrow_exception(m_error);
    }

private:
    QString m_path;
    Handle m_handle;
    std::thread m_thread;
    std::exception_ptr m_error;
};

// Writes the copy under a temporary name beside the target and renames it
// into place (see DatabaseFile.cpp).
bool copyToNewFile(const Side& source, const QString& targetPath, bool checked = false,
                   SourceCheck* sourceCheck = nullptr, const QString& shown = QString(),
                   DatabaseMark* written = nullptr,
                   const std::function<void(const DatabaseMark&)>& beforeReplace = {},
                   const QStringList& leftOut = {});

} // namespace databasefile
