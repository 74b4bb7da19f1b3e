#include "platform/database/Connection.h"

#include "platform/database/RowJournal.h"

#include "platform/database/DatabaseError.h"
#include "platform/database/GuardedVfs.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

#include <QFileInfo>
#include <sqlite3.h>
#include <utility>

namespace {
// The first word of a statement, upper case.
QByteArray firstWord(const char* sql) {
    while (*sql == ' ' || *sql == '\t' || *sql == '\r' || *sql == '\n' || *sql == '(')
        ++sql;
    const char* end = sql;
    while ((*end >= 'A' && *end <= 'Z') || (*end >= 'a' && *end <= 'z'))
        ++end;
    return QByteArray(sql, int(end - sql)).toUpper();
}

bool changesSchema(const char* sql) {
    const QByteArray word = firstWord(sql);
    return word == "CREATE" || word == "DROP" || word == "ALTER";
}
} // namespace

Connection::Connection() = default;

Connection::Connection(const QString& connectionStringOrPath) {
    Open(connectionStringOrPath);
}

Connection::~Connection() {
    try {
        Close();
    } catch (...) {
        // A destructor must not throw; the engine closes the file in any case.
    }
}

void Connection::SetConnectionTimeout(int seconds) {
    m_timeout = seconds < 0 ? 0 : seconds;
    m_busy.SetTimeout(m_timeout);
}

QString Connection::PathFromConnectionString(const QString& text) {
    static const QString key = QStringLiteral("data source=");
    const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0) return text.trimmed();
    const qsizetype begin = at + key.size();
    const qsizetype end = text.indexOf(QLatin1Char(';'), begin);
    return text.mid(begin, end < 0 ? -1 : end - begin).trimmed();
}

void Connection::Open(const QString& connectionStringOrPath) {
    m_connectionString = connectionStringOrPath;
    Open();
}

void Connection::Open() {
    Close();
    openPath(PathFromConnectionString(m_connectionString));
}

void Connection::Reopen() {
    const QString path = m_path;
    Close();
    openPath(path);
}

bool Connection::HoldsWriteLock() const {
    return m_db && sqlite3_txn_state(m_db, "main") == SQLITE_TXN_WRITE;
}

bool Connection::HasMoved() const {
    return HasMoved(m_db);
}

bool Connection::HasMoved(sqlite3* db) {
    if (!db) return false;
    int moved = 0;
    // The engine compares the file it holds with the file at its path (one
    // stat), without touching the database.
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK) return true;
    return moved != 0;
}

void Connection::openPath(const QString& path) {
    const QFileInfo info(path);
    m_path = info.absoluteFilePath();
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw DatabaseError::FileNotFoundError(path);
    sqlite3* db = nullptr;
    // Without SQLITE_OPEN_CREATE: a file that vanished meanwhile is an error,
    // never a new empty database.
    // A connection is used by one thread at a time: the engine's lock per
    // call would only cost time on every value read. A file moved under the
    // connection keeps its own records (GuardedVfs).
    const int rc = sqlite3_open_v2(m_path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, GuardedVfsName());
    if (rc != SQLITE_OK) {
        const QString message =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        const int code = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close_v2(db);
        RaiseRefusal(code, m_path, message);
        throw DatabaseError::Make(DatabaseError::Failure,
                                  message + QStringLiteral(" (") + m_path + QLatin1Char(')'));
    }
    m_busy.Install(db, m_path, m_timeout);
    // The engine opens lazily; reading the schema now tells a file that is
    // no database at the open, as the original engine does. A file that
    // another holds is waited for as every statement waits.
    char* error = nullptr;
    const int check =
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
    if (check != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(db));
        const int code = sqlite3_extended_errcode(db);
        sqlite3_free(error);
        sqlite3_close_v2(db);
        if (m_busy.TakeStopped()) throw DatabaseError::CancelledError(m_path);
        RaiseRefusal(code, m_path, message);
        throw DatabaseError::Make(DatabaseError::Failure,
                                  message + QStringLiteral(" (") + m_path + QLatin1Char(')'));
    }
    m_db = db;
    m_level = 0;
    attachJournal();
    if (!m_opened) return;
    try {
        m_opened(*this);
    } catch (...) {
        Close();
        throw;
    }
}

void Connection::SetRowJournal(std::shared_ptr<RowJournal> journal) {
    if (m_level > 0) throw DatabaseError::NotAllowedError(QStringLiteral("SetRowJournal"));
    m_journal = std::move(journal);
    attachJournal();
}

void Connection::attachJournal() {
    if (!m_db) return;
    if (!m_journal) {
        sqlite3_preupdate_hook(m_db, nullptr, nullptr);
        return;
    }
    m_journal->attach(m_db);
    sqlite3_preupdate_hook(m_db, &RowJournal::engineHook, m_journal.get());
}

void Connection::SetOpenedHook(std::function<void(Connection&)> hook) {
    m_opened = std::move(hook);
    if (m_opened && m_db) m_opened(*this);
}

void Connection::Close() {
    if (!m_db) return;
    // The engine is inside a call on this connection, waiting for a lock.
    if (m_busy.Waiting()) throw DatabaseError::LockedError(m_path);
    if (m_ownWrite) sqlite3_reset(m_ownWrite);
    if (m_level > 0 && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    // A box held meanwhile is shown once the file is closed, not while this
    // object is half closed.
    const bool schreibend = std::exchange(m_writing, false);
    if (m_level > 0) endedOutermost(false);
    finalizeCache();
    m_tables.clear();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    try {
        if (schreibend) WritingEnds();
    } catch (...) {
        // A box that could not be shown is no failure of the close.
    }
}

void Connection::finalizeCache() {
    ++m_generation;
    ++m_epoch;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it)
        sqlite3_finalize(it->statement);
    m_cache.clear();
}

void Connection::RequireOpen() const {
    if (!m_db) throw DatabaseError::ObjectClosedError();
    // Events run while the connection waits for a lock; the engine must not
    // be entered again on it meanwhile.
    if (m_busy.Waiting()) throw DatabaseError::LockedError(m_path);
}

RuntimeError Connection::Error(int engineCode, const QString& context) const {
    try {
        Raise(engineCode, context);
    } catch (const RuntimeError& error) {
        return error;
    }
}

void Connection::Raise(int engineCode, const QString& context) const {
    // A full or failing disk ends the open transaction whole, whether the
    // engine rolled back only the statement (it does where a statement
    // journal lets it) or everything: a command
    // never goes on to keep half of what it wrote.
    const int primary = engineCode & 0xff;
    if (m_db && m_level > 0 && (primary == SQLITE_FULL || primary == SQLITE_IOERR) &&
        !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    try {
        raiseEngineError(engineCode, context);
    } catch (const RuntimeError& error) {
        // The failure may have ended the open transaction (the engine rolls
        // it back by itself on a full or failing disk, say): it is the
        // failure that the transaction's later writes and its commit meet.
        if (m_db && m_level > 0 && !m_ended && sqlite3_get_autocommit(m_db)) m_ended = error;
        throw;
    }
}

void Connection::raiseEngineError(int engineCode, const QString& context) const {
    const int primary = engineCode & 0xff;
    QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                           : QString::fromUtf8(sqlite3_errstr(engineCode));
    if (!context.isEmpty()) message += QStringLiteral(" (") + context + QLatin1Char(')');
    // A wait for another holder that the user cancelled ends the command
    // without a further word.
    if ((primary == SQLITE_BUSY || primary == SQLITE_LOCKED) && m_busy.TakeStopped())
        throw DatabaseError::CancelledError(m_path);
    // Another writer holding the file past the time-out, or a damaged file,
    // is told as such, not as a fault of the statement or its values. The
    // calls give the primary code; the engine keeps the extended one, which
    // tells a replaced file from a read-only one.
    RaiseRefusal(ExtendedCode(m_db, engineCode), m_path, message);
    throw DatabaseError::Make(
        primary == SQLITE_ERROR ? DatabaseError::Command : DatabaseError::Failure, message);
}

int Connection::ExtendedCode(sqlite3* db, int engineCode) {
    // The engine keeps the extended code of its last failure on the handle;
    // one of another primary code belongs to another call.
    const int extended = db ? sqlite3_extended_errcode(db) : engineCode;
    return (extended & 0xff) == (engineCode & 0xff) ? extended : engineCode;
}

void Connection::RaiseRefusal(int engineCode, const QString& path, const QString&) {
    // A file held by another writer past the time-out, a damaged file, a
    // file that cannot be written and a failing disk are told as what they
    // are, in the user's language, not as a fault of the statement or its
    // values. A file that another took the place of since it was opened
    // refuses every write as read-only; it is not write-protected.
    if (engineCode == SQLITE_READONLY_DBMOVED) throw DatabaseError::ReplacedError(path);
    switch (engineCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatabaseError::LockedError(path);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw DatabaseError::DamagedError(path, QString());
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw DatabaseError::ReadOnlyError(path);
    case SQLITE_FULL:
        throw DatabaseError::DiskFullError(path);
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
        // The engine says "disk I/O error" or "unable to open" for a folder
        // in which it cannot make its journal, too.
        const QFileInfo file(path);
        const QFileInfo folder(file.absolutePath());
        if (!folder.isWritable() || (file.exists() && !file.isWritable()))
            throw DatabaseError::ReadOnlyError(path);
        if ((engineCode & 0xff) == SQLITE_CANTOPEN && !file.exists())
            throw DatabaseError::FileNotFoundError(path);
        throw DatabaseError::IoFailureError(path);
    }
    default:
        break;
    }
}

// Statements --------------------------------------------------------------

Connection::Statement::Statement(Statement&& other) noexcept
    : m_connection(other.m_connection), m_statement(other.m_statement),
      m_key(std::move(other.m_key)), m_generation(other.m_generation), m_epoch(other.m_epoch) {
    other.m_statement = nullptr;
    other.m_key.clear();
}

Connection::Statement& Connection::Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Release();
        m_connection = other.m_connection;
        m_statement = other.m_statement;
        m_key = std::move(other.m_key);
        m_generation = other.m_generation;
        m_epoch = other.m_epoch;
        other.m_statement = nullptr;
        other.m_key.clear();
    }
    return *this;
}

Connection::Statement::~Statement() {
    Release();
}

bool Connection::Statement::Valid() const {
    return m_statement && m_connection && m_connection->m_db &&
           m_connection->m_generation == m_generation;
}

// Transactions ------------------------------------------------------------

void Connection::beganOutermost() {
    m_guarded = false;
    m_deferred = false;
    m_unguarded = false;
    // While it is open, no box waits for an answer (see WritingBegins).
    m_writing = true;
    WritingBegins();
    if (m_journal) m_journal->transactionBegins();
}

void Connection::endedOutermost(bool rolledBack) {
    const bool takeBack = rolledBack && m_guarded && m_takeBack;
    if (m_journal) m_journal->transactionEnds();
    m_level = 0;
    m_ended.reset();
    m_guarded = false;
    m_deferred = false;
    m_unguarded = false;
    m_ownWrite = nullptr;
    try {
        if (takeBack) m_takeBack();
    } catch (...) {
        // What the guard made stays: a mark too many asks one question too
        // many, never loses a change.
    }
    if (!m_writing) return;
    m_writing = false;
    try {
        WritingEnds();
    } catch (...) {
        // A box that could not be shown is no failure of the transaction.
    }
}

// A transaction that the engine ended by itself, noticed only now (a
// failure that did not pass through Raise, a COMMIT or ROLLBACK run as a
// statement): it counts as ended by the engine's last failure.
void Connection::noticeEndedTransaction() {
    if (!m_db || m_level == 0 || m_ended || !sqlite3_get_autocommit(m_db)) return;
    const int code = sqlite3_extended_errcode(m_db);
    m_ended = code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE
                  ? Error(code)
                  : DatabaseError::NotAllowedError(QStringLiteral("COMMIT"));
}

void Connection::refuseInEndedTransaction() {
    noticeEndedTransaction();
    if (m_ended) throw *m_ended;
}

int Connection::StepStatement(sqlite3_stmt* statement) {
    if (statement && statement == m_ownWrite) {
        const int rc = sqlite3_step(statement);
        return rc == SQLITE_ROW ? rc : finishOwnWrite(statement, rc);
    }
    const bool writes = !sqlite3_stmt_readonly(statement) && !sqlite3_stmt_busy(statement);
    // A write inside a transaction that the engine ended would be kept on
    // its own, without what came before it: it meets the failure that ended
    // the transaction.
    if (writes && m_level > 0) refuseInEndedTransaction();
    if ((!m_writeGuard && !m_journal) || !writes) return sqlite3_step(statement);
    if (m_level > 0 && (m_guarded || m_deferred)) {
        if (!m_guarded) m_unguarded = true;
        return journaledStep(statement);
    }
    // A single write outside a transaction is one of its own, so that the
    // guard runs while the write lock is held (and the rows it changes are
    // kept before it commits); one that returns rows keeps it until its
    // last row.
    const bool own = m_level == 0;
    if (own) BeginTrans();
    try {
        if (m_writeGuard) m_writeGuard();
    } catch (...) {
        if (own) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            endedOutermost(false);
        }
        throw;
    }
    m_guarded = true;
    if (!own) return journaledStep(statement);
    const int rc = journaledStep(statement);
    if (rc == SQLITE_ROW) {
        m_ownWrite = statement;
        return rc;
    }
    return finishOwnWrite(statement, rc);
}

int Connection::journaledStep(sqlite3_stmt* statement) {
    if (!m_journal) return sqlite3_step(statement);
    // A statement that fails is taken back by the engine, its rows with it.
    m_journal->statementBegins();
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) m_journal->statementFailed();
    return rc;
}

void Connection::keepJournal() {
    if (m_journal) m_journal->keep();
}

int Connection::finishOwnWrite(sqlite3_stmt* statement, int rc) {
    m_ownWrite = nullptr;
    if (rc == SQLITE_DONE) {
        try {
            keepJournal();
        } catch (...) {
            sqlite3_reset(statement);
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            endedOutermost(true);
            throw;
        }
    }
    if (rc == SQLITE_DONE && sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        rc = sqlite3_extended_errcode(m_db);
    bool rolledBack = false;
    if (rc != SQLITE_DONE) {
        sqlite3_reset(statement);
        rolledBack = !sqlite3_get_autocommit(m_db) &&
                     sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    endedOutermost(rolledBack);
    return rc;
}

void Connection::statementReleased(sqlite3_stmt* statement) {
    // A write that returns rows made its changes at its first step: left
    // before its last row, it is done all the same.
    sqlite3_reset(statement);
    finishOwnWrite(statement, SQLITE_DONE);
}

void Connection::PassWriteGuard() {
    RequireOpen();
    if (m_level > 0) refuseInEndedTransaction();
    if (!m_writeGuard || m_guarded || m_level == 0) return;
    m_writeGuard();
    m_guarded = true;
}

void Connection::DeferWriteGuard() {
    RequireOpen();
    if (m_level == 0) throw DatabaseError::NotAllowedError(QStringLiteral("DeferWriteGuard"));
    refuseInEndedTransaction();
    if (!m_guarded) m_deferred = true;
}

void Connection::Compact() {
    RequireOpen();
    if (m_level > 0) throw DatabaseError::NotAllowedError(QStringLiteral("VACUUM"));
    // The compaction rewrites the whole file: it passes the guard like every
    // write, and a refusal leaves the file as it is. It changes no record,
    // so what the guard marked is taken back as after a rollback.
    if (m_writeGuard) m_writeGuard();
    const int rc = sqlite3_exec(m_db, "VACUUM", nullptr, nullptr, nullptr);
    if (m_writeGuard && m_takeBack) m_takeBack();
    if (rc != SQLITE_OK) Raise(sqlite3_extended_errcode(m_db), QStringLiteral("VACUUM"));
    SchemaChanged();
}

bool Connection::Statement::Step() {
    const int rc = m_connection->StepStatement(m_statement);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const QString sql = QString::fromUtf8(sqlite3_sql(m_statement));
    sqlite3_reset(m_statement);
    m_connection->Raise(rc, sql);
}

void Connection::Statement::Release() {
    if (!m_statement) return;
    if (m_connection && m_connection->m_db && m_connection->m_ownWrite == m_statement)
        m_connection->statementReleased(m_statement);
    if (m_key.isEmpty()) {
        sqlite3_finalize(m_statement);
    } else if (m_connection->m_epoch == m_epoch) {
        auto it = m_connection->m_cache.find(m_key);
        if (it != m_connection->m_cache.end() && it->statement == m_statement) {
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
            it->inUse = false;
        }
        // Otherwise the cache was emptied by Close and the statement is
        // finalized already.
    }
    m_statement = nullptr;
    m_key.clear();
}

Connection::Statement Connection::TryPrepare(const QString& sql, int* error) {
    RequireOpen();
    Statement result;
    result.m_connection = this;
    result.m_generation = m_generation;
    result.m_epoch = m_epoch;
    auto it = m_cache.find(sql);
    if (it != m_cache.end() && !it->inUse) {
        it->inUse = true;
        result.m_statement = it->statement;
        result.m_key = sql;
        return result;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (error) *error = rc;
    if (rc != SQLITE_OK || !statement) {
        sqlite3_finalize(statement);
        if (error && rc == SQLITE_OK) *error = SQLITE_MISUSE; // an empty statement
        return result;
    }
    result.m_statement = statement;
    if (it == m_cache.end()) {
        if (m_cache.size() >= 200) {
            for (auto c = m_cache.begin(); c != m_cache.end();) {
                if (c->inUse) {
                    ++c;
                } else {
                    sqlite3_finalize(c->statement);
                    c = m_cache.erase(c);
                }
            }
        }
        m_cache.insert(sql, CachedStatement{statement, true});
        result.m_key = sql;
    }
    return result;
}

Connection::Statement Connection::Prepare(const QString& sql) {
    int rc = SQLITE_OK;
    Statement statement = TryPrepare(sql, &rc);
    if (!statement.get()) Raise(rc, sql);
    return statement;
}

// Execute -----------------------------------------------------------------

int Connection::runSingle(Statement& statement, const QVariantList& parameters) {
    BindValues(statement.get(), parameters);
    while (statement.Step()) {
    }
    const bool writes = !sqlite3_stmt_readonly(statement.get());
    if (writes && changesSchema(sqlite3_sql(statement.get()))) SchemaChanged();
    return writes ? sqlite3_changes(m_db) : 0;
}

int Connection::Execute(const QString& sql, const QVariantList& parameters) {
    Statement statement = Prepare(sql);
    const int changes = runSingle(statement, parameters);
    statement.Release();
    return changes;
}

int Connection::Execute(const QString& sql) {
    RequireOpen();
    const QByteArray utf8 = sql.toUtf8();
    const char* at = utf8.constData();
    const char* end = at + utf8.size();
    int changes = 0;
    while (at < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, at, int(end - at), &raw, &tail);
        if (rc != SQLITE_OK) Raise(rc, sql);
        if (raw) {
            Statement statement;
            statement.m_connection = this;
            statement.m_generation = m_generation;
            statement.m_epoch = m_epoch;
            statement.m_statement = raw;
            changes = runSingle(statement, {});
        }
        at = tail;
    }
    return changes;
}

int Connection::BeginTrans() {
    RequireOpen();
    // A savepoint in a transaction that the engine ended would begin one of
    // its own; it meets the failure that ended the transaction instead.
    refuseInEndedTransaction();
    // A write that returns rows holds a transaction of its own until its
    // last row; nothing else may begin meanwhile.
    if (m_ownWrite) throw DatabaseError::NotAllowedError(QStringLiteral("BeginTrans"));
    const QByteArray sql = m_level == 0 ? QByteArray("BEGIN IMMEDIATE")
                                        : "SAVEPOINT veld_" + QByteArray::number(m_level + 1);
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Raise(rc, QString::fromUtf8(sql));
    if (++m_level == 1)
        beganOutermost();
    else if (m_journal)
        m_journal->levelBegins();
    return m_level;
}

void Connection::BeginReadTrans() {
    RequireOpen();
    if (m_level != 0 || m_ownWrite)
        throw DatabaseError::NotAllowedError(QStringLiteral("BeginReadTrans"));
    // The engine takes its read lock at the first read of the transaction.
    for (const char* sql : {"BEGIN DEFERRED", "SELECT count(*) FROM sqlite_master"}) {
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) continue;
        if (sqlite3_get_autocommit(m_db) == 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        Raise(rc, QString::fromUtf8(sql));
    }
    m_level = 1;
    beganOutermost();
}

void Connection::CommitTrans() {
    RequireOpen();
    if (m_level == 0 || m_ownWrite)
        throw DatabaseError::NotAllowedError(QStringLiteral("CommitTrans"));
    // Nothing of a transaction that the engine ended is kept: its commit, at
    // every level, fails as the write did, and stays for the caller's
    // rollback, which ends it.
    refuseInEndedTransaction();
    // A guard put off to the commit runs now, under the write lock and before
    // anything is kept; when it refuses, the transaction stays for the
    // caller's rollback.
    if (m_level == 1 && m_deferred && m_unguarded && m_writeGuard && !m_guarded) {
        m_writeGuard();
        m_guarded = true;
    }
    // What the rows were before is kept in the transaction itself; when that
    // fails, the transaction stays for the caller's rollback.
    if (m_level == 1) keepJournal();
    const QByteArray sql =
        m_level == 1 ? QByteArray("COMMIT") : "RELEASE veld_" + QByteArray::number(m_level);
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Raise(rc, QString::fromUtf8(sql));
    if (m_level > 1 && m_journal) m_journal->levelReleased();
    if (--m_level == 0) endedOutermost(false);
}

void Connection::RollbackTrans() {
    RequireOpen();
    if (m_level == 0 || m_ownWrite)
        throw DatabaseError::NotAllowedError(QStringLiteral("RollbackTrans"));
    // The engine rolled back already: each level that its caller ends
    // counts down, and the last ends the transaction, with nothing taken
    // back (what the engine left is its business).
    noticeEndedTransaction();
    if (m_ended) {
        if (--m_level == 0) endedOutermost(false);
        return;
    }
    QByteArray sql = "ROLLBACK";
    if (m_level > 1) {
        const QByteArray name = "veld_" + QByteArray::number(m_level);
        sql = "ROLLBACK TO " + name + "; RELEASE " + name;
    }
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        // A rollback that failed but in which the engine ended the whole
        // transaction has done its part; the levels left are ended ones.
        const RuntimeError error = Error(rc, QString::fromUtf8(sql));
        if (!m_ended) throw error;
        if (--m_level == 0) endedOutermost(false);
        return;
    }
    if (m_level > 1 && m_journal) m_journal->levelRolledBack();
    if (--m_level == 0) endedOutermost(true);
}

// Tables ------------------------------------------------------------------

namespace {
QVariant defaultStored(const QVariant& text, FieldType type) {
    if (IsNull(text)) return VNull();
    const QString t = text.toString().trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('\'')) && t.endsWith(QLatin1Char('\'')))
        return QVariant(t.mid(1, t.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return QVariant(qlonglong(1));
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return QVariant(qlonglong(0));
    bool ok = false;
    const qlonglong whole = t.toLongLong(&ok);
    if (ok) return type == FieldType::Text ? QVariant(t) : QVariant(whole);
    const double real = t.toDouble(&ok);
    if (ok) return type == FieldType::Text ? QVariant(t) : QVariant(real);
    return VNull(); // an expression: the engine fills it in
}
} // namespace

const std::vector<Connection::TableColumn>& Connection::TableColumns(const QString& table) {
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it != m_tables.end()) return *it;
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    Statement statement = Prepare(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
    std::vector<TableColumn> columns;
    while (statement.Step()) {
        TableColumn column;
        column.name = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 1)));
        column.type = FieldTypeFromDeclared(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 2)));
        column.defaultStored = defaultStored(ColumnStored(statement.get(), 4), column.type);
        columns.push_back(column);
    }
    statement.Release();
    return *m_tables.insert(key, std::move(columns));
}

void Connection::SchemaChanged() {
    m_tables.clear();
    ++m_generation;
    // A kept statement is prepared again by the engine when it runs, but
    // what it tells of its columns before that would be the old schema's.
    for (auto it = m_cache.begin(); it != m_cache.end();) {
        if (it->inUse) {
            ++it;
        } else {
            sqlite3_finalize(it->statement);
            it = m_cache.erase(it);
        }
    }
}
