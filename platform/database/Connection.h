#pragma once

// A connection to one database file, in the manner of the data-access
// runtime the program was written for: opened from a provider string (its
// "Data Source=" path is taken) or a plain path, with a busy time-out,
// statements run by Execute, and transactions that nest (the outermost level
// is a transaction, every inner level a savepoint, so a caller can wrap many
// row writes of its callees in one commit).
//
// Opening never creates a missing file: a missing database is an open error,
// as with the original engine. A connection can be reopened in place, so the
// holders of the object keep it across a compaction that replaced the file.
//
// Every failure raises a RuntimeError with a number of DatabaseError and the
// engine's message.

#include <QHash>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/database/BusyWait.h"
#include "platform/database/FieldType.h"
#include "platform/runtime/RuntimeError.h"

struct sqlite3;
struct sqlite3_stmt;
class RowJournal;

class Connection {
public:
    enum { adStateClosed = 0, adStateOpen = 1 };

    Connection();
    // Opens at once (see Open).
    explicit Connection(const QString& connectionStringOrPath);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The provider string of the next Open() without arguments, and the
    // busy time-out in seconds (30 unless set) that waits for a lock held
    // by another connection. A wait longer than a second shows itself and
    // can be cancelled (see BusyWait): the error is then
    // DatabaseError::Cancelled, after the time-out DatabaseError::Locked.
    // While the connection waits, every other use of it fails at once.
    QString ConnectionString() const { return m_connectionString; }
    void SetConnectionString(const QString& connectionString) {
        m_connectionString = connectionString;
    }
    int ConnectionTimeout() const { return m_timeout; }
    void SetConnectionTimeout(int seconds);

    // Opens a provider string ("...; Data Source=PATH;...") or a plain path.
    // The file must exist and be a database; an open connection is closed
    // first.
    void Open(const QString& connectionStringOrPath);
    void Open(); // the ConnectionString
    // Closes and opens the same file again on this object (after the file
    // was replaced underneath, e.g. by a compaction).
    void Reopen();
    // Rolls back an open transaction and closes. Closing a closed connection
    // does nothing.
    void Close();

    int State() const { return m_db ? adStateOpen : adStateClosed; }
    bool IsOpen() const { return m_db != nullptr; }
    // The database file (absolute) of the open or last opened connection.
    QString Path() const { return m_path; }
    // Whether the open file is no longer the file at its path: another file
    // took its place (a Save renames a new file over the project database),
    // or it was moved or deleted. Its writes are then refused and its reads
    // show what the old file held; Reopen reaches the file at the path. A
    // state the engine cannot tell counts as moved. False when closed.
    bool HasMoved() const;
    // The same for any handle of the engine (false for none).
    static bool HasMoved(sqlite3* db);

    // Runs one or more statements separated by ";" and returns the rows that
    // the last of them inserted, changed or deleted. Values in `parameters`
    // are bound to the "?" of a single statement.
    int Execute(const QString& sql);
    int Execute(const QString& sql, const QVariantList& parameters);

    // Starts a transaction level and returns the new level (1 for the
    // outermost). CommitTrans and RollbackTrans end the innermost level; a
    // rolled-back savepoint undoes only what was done since it began.
    // The outermost level begins as a writer (it takes the write lock at
    // once, waiting out the busy time-out for another writer), so that
    // what it reads to decide a write is not changed before it writes.
    // While it is open, no message box waits (see WritingBegins): one asked
    // for is shown once the transaction has ended.
    // When the engine ends the transaction by itself (it rolls back on a
    // full or failing disk, say), the levels stay for their callers: every
    // write, savepoint and commit meanwhile fails with the error that ended
    // it, a rollback counts down, and the last level's rollback ends it. So
    // a caller that goes on after the failure writes nothing on its own, and
    // its commit is told as the failure it is, not as a misuse.
    int BeginTrans();
    // The outermost level as a reader: everything read in it is one state of
    // the database, taken at once (waiting for a writer that is committing),
    // and others may write meanwhile, which it does not see. RollbackTrans
    // (or CommitTrans) ends it.
    void BeginReadTrans();
    void CommitTrans();
    void RollbackTrans();
    int TransactionLevel() const { return m_level; }
    // Whether an open transaction of this connection holds the write lock
    // of its file: what it writes reaches the file only at its commit.
    bool HoldsWriteLock() const;

    // A guard that every write through this connection passes before the
    // engine changes anything: called once per outermost transaction, while
    // that transaction holds the write lock (a write outside a transaction
    // gets one of its own, also one that returns rows). When it throws,
    // nothing is written and the error reaches the writer. Null: no guard.
    // `takeBack` is called when a transaction in which the guard passed is
    // rolled back: the write lock was held throughout, so nothing of it
    // reached the file.
    void SetWriteGuard(std::function<void()> guard, std::function<void()> takeBack = nullptr) {
        m_writeGuard = std::move(guard);
        m_takeBack = std::move(takeBack);
    }
    // Called after every open of a file through this connection (a reopen
    // too), before anything else uses it: for what the engine keeps only per
    // connection (a row journal, say). When it throws, the
    // connection is closed again and the error reaches the opener. Null:
    // nothing is called; set on an open connection, it is called at once.
    void SetOpenedHook(std::function<void(Connection&)> hook);
    // What the rows of chosen tables were before this connection's writes,
    // kept by `journal` in the transaction of the writes (see RowJournal);
    // every write then runs in a transaction, as under a guard. Null: none.
    // Not while a transaction is open.
    void SetRowJournal(std::shared_ptr<RowJournal> journal);
    RowJournal* Journal() const { return m_journal.get(); }
    // Runs the guard now for the open transaction, as its first write would,
    // so that a command learns of a refusal before it writes anything.
    void PassWriteGuard();
    // For a writer that learns only at its end whether it changed anything
    // (and rolls back when not): the open transaction writes without the
    // guard, which runs at its commit, still under the write lock and before
    // anything is kept. A rollback then needs no guard at all.
    void DeferWriteGuard();

    // Compacts the database in place through the engine (under its locks,
    // while other connections may have the file open).
    void Compact();

    // Extracts the path of "Data Source=" from a provider string (up to the
    // next ";", blanks trimmed); a text without it is taken as the path.
    static QString PathFromConnectionString(const QString& connectionStringOrPath);

    // For the platform layer: the engine's handle, prepared statements kept
    // for reuse, the columns of a table, and raising the engine's error.
    sqlite3* Handle() const { return m_db; }
    // How the handle waits for another holder of the file.
    BusyWait& Busy() const { return m_busy; }

    struct TableColumn {
        QString name;
        FieldType type;
        QVariant defaultStored; // stored form of the column's default, Null without one
    };
    // The columns of a table in their order (cached until the schema changes
    // through this connection).
    const std::vector<TableColumn>& TableColumns(const QString& table);
    // Forgets what is cached about tables and the kept statements (after a
    // schema change made otherwise than through Execute).
    void SchemaChanged();

    // A prepared statement kept by the connection; Release() resets it.
    class Statement {
    public:
        Statement() = default;
        Statement(Statement&& other) noexcept;
        Statement& operator=(Statement&& other) noexcept;
        ~Statement();
        sqlite3_stmt* get() const { return m_statement; }
        // False once the connection closed or dropped its kept statements
        // (a statement may be held across calls, then it must be asked).
        bool Valid() const;
        // Runs one step: true on a row, false when done.
        bool Step();
        void Release();

    private:
        friend class Connection;
        Connection* m_connection = nullptr;
        sqlite3_stmt* m_statement = nullptr;
        QString m_key; // the cache's key; empty when not cached
        quint64 m_generation = 0;
        quint64 m_epoch = 0;
    };
    // Prepares (or takes from the cache) one statement. Raises the engine's
    // error, DatabaseError::Command for a wrong statement.
    Statement Prepare(const QString& sql);
    // Prepares without raising; null on failure, with the error in `error`.
    Statement TryPrepare(const QString& sql, int* error = nullptr);

    // Runs one step of a statement prepared on this connection, through the
    // write guard when the statement writes. The engine's result code.
    int StepStatement(sqlite3_stmt* statement);

    [[noreturn]] void Raise(int engineCode, const QString& context = QString()) const;
    // The error Raise throws, without throwing it.
    RuntimeError Error(int engineCode, const QString& context = QString()) const;
    // Throws the error of an engine code that refuses the database as a
    // whole (held, damaged, read-only, full, failing disk, a file that
    // cannot be opened) for the file at `path`, in the user's language (the
    // engine's English message is not shown); returns for any other code.
    static void RaiseRefusal(int engineCode, const QString& path, const QString& message);
    // The code to tell for a call that gave `engineCode` on `db`: the
    // extended code the engine keeps, where it belongs to that call (a file
    // replaced since it was opened is another refusal than a write
    // protection); `engineCode` otherwise.
    static int ExtendedCode(sqlite3* db, int engineCode);
    void RequireOpen() const;

private:
    void openPath(const QString& path);
    void finalizeCache();
    // The transaction state in one place: an outermost transaction began,
    // or ended (after a rollback of ours, `rolledBack`).
    void beganOutermost();
    void endedOutermost(bool rolledBack);
    // The engine ended the open transaction by itself (see BeginTrans).
    void noticeEndedTransaction();
    void refuseInEndedTransaction();
    [[noreturn]] void raiseEngineError(int engineCode, const QString& context) const;
    // Ends the transaction of a single write of its own after its last step.
    int finishOwnWrite(sqlite3_stmt* statement, int rc);
    void statementReleased(sqlite3_stmt* statement);
    int runSingle(Statement& statement, const QVariantList& parameters);
    // A write's step, its rows told to the journal; and the journal's rows
    // kept before the outermost commit.
    int journaledStep(sqlite3_stmt* statement);
    void keepJournal();
    void attachJournal();

    sqlite3* m_db = nullptr;
    mutable BusyWait m_busy;
    QString m_connectionString;
    QString m_path;
    int m_timeout = 30;
    int m_level = 0;
    std::function<void()> m_writeGuard;
    std::function<void()> m_takeBack;
    std::function<void(Connection&)> m_opened;
    std::shared_ptr<RowJournal> m_journal;
    bool m_guarded = false;   // the guard passed for the open outermost transaction
    bool m_deferred = false;  // it passes the guard at its commit (DeferWriteGuard)
    bool m_unguarded = false; // it wrote without the guard meanwhile
    bool m_writing = false;   // an outermost transaction is open (told to the boxes)
    // The failure with which the engine ended the open transaction; set
    // where the failure is raised, in const calls too.
    mutable std::optional<RuntimeError> m_ended;
    // A write that returns rows, running in a transaction of its own until
    // its last row.
    sqlite3_stmt* m_ownWrite = nullptr;
    quint64 m_generation = 1; // counts the times the kept statements were dropped
    quint64 m_epoch = 1;      // counts the times they were finalized (Close)
    struct CachedStatement {
        sqlite3_stmt* statement = nullptr;
        bool inUse = false;
    };
    QHash<QString, CachedStatement> m_cache;
    QHash<QString, std::vector<TableColumn>> m_tables;
};
