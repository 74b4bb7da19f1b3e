#include "platform/database/DatabaseFile.h"
#include "platform/database/DatabaseFileParts.h"

#include "platform/database/Digest.h"

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Sql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace databasefile {


// Raises the failure of an engine call on a side: a wait the user cancelled,
// a file held, damaged, read-only, full or failing as the program's own
// error in the user's language; anything else as the engine's failure.
[[noreturn]] void fail(sqlite3* db, BusyWait* busy, int rc, const QString& path) {
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = rc & 0xff;
    if (busy && (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) && busy->TakeStopped())
        throw DatabaseError::CancelledError(path);
    Connection::RaiseRefusal(Connection::ExtendedCode(db, rc), path, message);
    throw DatabaseError::Make(DatabaseError::Failure,
                              message + QStringLiteral(" (") + path + QLatin1Char(')'));
}

[[noreturn]] void fail(const Side& failed, int rc) {
    fail(failed.db, &failed.busy, rc, failed.path);
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Opens the file at `path`; its waits and errors name `shown`.
void open(Handle& handle, const QString& path, int flags, const QString& shown) {
    // Each handle is used by one thread at a time: the engine's lock per
    // call would only cost time on every value a digest reads.
    const int rc = sqlite3_open_v2(native(path).constData(), handle.out(),
                                   flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) fail(handle.get(), nullptr, rc, shown);
    handle.busy().Install(handle.get(), shown, kTimeoutSeconds);
}

void open(Handle& handle, const QString& path, int flags) {
    open(handle, path, flags, path);
}

// Lets the engine read the file through a memory map: a digest and a check
// of the whole file then copy no pages.
void mapped(Handle& handle) {
    sqlite3_exec(handle.get(), "PRAGMA mmap_size=2147418112", nullptr, nullptr, nullptr);
}

// The engine's result of reading the schema through the handle: SQLITE_OK
// when the file can be read as a database.
int readResult(sqlite3* db) {
    return sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

bool readable(sqlite3* db) {
    return readResult(db) == SQLITE_OK;
}

// The engine's own check of a whole file: every page, every index entry.
// Raises the damage it finds as damage (named after `path`), and a file it
// cannot read for another reason (held by another, say) as what that is.
void check(const Side& file, const QString& path) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(file.db, "PRAGMA quick_check", -1, &statement, nullptr);
    bool ok = true;
    if (rc == SQLITE_OK) rc = SQLITE_ROW;
    while (rc == SQLITE_ROW && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        ok = ok && text && QByteArray(text) == "ok";
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) fail(file.db, &file.busy, rc, path);
    if (!ok) throw DatabaseError::DamagedError(path, QString());
}

// A journal left beside a database by a writer that was killed is hot: only
// a connection that may write can roll it back, and a read-only one fails on
// it. One read through a read-write connection rolls it back first. Where
// that is not allowed either, the read-only open reports the fault.
void rollBackLeftJournal(const QString& path) {
    if (QFileInfo(path + QStringLiteral("-journal")).size() <= 0) return;
    Handle writer;
    if (sqlite3_open_v2(native(path).constData(), writer.out(), SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        return;
    writer.busy().Install(writer.get(), path, kTimeoutSeconds);
    const int read = readResult(writer.get()) & 0xff;
    // A wait for the file that the user cancelled, or that timed out, ends
    // the copy now: the copy itself would wait for it once more.
    if (writer.busy().TakeStopped()) throw DatabaseError::CancelledError(path);
    if (read == SQLITE_BUSY || read == SQLITE_LOCKED) throw DatabaseError::LockedError(path);
}

// The header fields that say how and when a file was written, not what it
// holds: the read and write versions (the journal mode), the change
// counter, the schema cookie (a backup sets it anew in its target), and the
// version-valid-for number with the engine's version.
void clearWrittenFields(unsigned char* header, size_t length) {
    static constexpr std::pair<size_t, size_t> fields[] = {{18, 2}, {24, 4}, {40, 4}, {92, 8}};
    for (const auto& [offset, size] : fields)
        if (offset + size <= length) std::memset(header + offset, 0, size);
}

// Whether the engine reads the main database through a -wal.
bool inWalMode(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA main.journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        wal = mode && QByteArray(mode).compare("wal", Qt::CaseInsensitive) == 0;
    }
    sqlite3_finalize(statement);
    return wal;
}

// The digest of the database behind a handle that holds a lock on it (or
// has its only connection). A file in rollback mode is read through the
// engine's own file: a descriptor of ours, once closed, would drop the
// engine's locks on the file with it. One in WAL mode is read page by page
// through the engine, which lays the -wal's commits over the file.
std::optional<QByteArray> digestOf(sqlite3* db) {
    Digest digest;
    if (inWalMode(db)) {
        sqlite3_int64 size = 0;
        unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
        if (!bytes) return std::nullopt;
        clearWrittenFields(bytes, size_t(size));
        digest.Add(bytes, size_t(size));
        sqlite3_free(bytes);
        return digest.Result();
    }
    sqlite3_file* file = nullptr;
    sqlite3_int64 size = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return std::nullopt;
    // The engine's memory map of the file where it has one (no copy of the
    // pages), its reads otherwise.
    const bool fetchable = file->pMethods->iVersion >= 3 && file->pMethods->xFetch;
    std::vector<unsigned char> buffer(1 << 16);
    for (sqlite3_int64 offset = 0; offset < size;) {
        const int amount =
            int(std::min<sqlite3_int64>(sqlite3_int64(buffer.size()), size - offset));
        void* page = nullptr;
        const unsigned char* bytes = buffer.data();
        if (fetchable && offset > 0 &&
            file->pMethods->xFetch(file, offset, amount, &page) == SQLITE_OK && page) {
            bytes = static_cast<const unsigned char*>(page);
        } else if (file->pMethods->xRead(file, buffer.data(), amount, offset) != SQLITE_OK) {
            return std::nullopt;
        }
        if (offset == 0) clearWrittenFields(buffer.data(), size_t(amount));
        digest.Add(bytes, size_t(amount));
        if (page) file->pMethods->xUnfetch(file, offset, page);
        offset += amount;
    }
    return digest.Result();
}

// The mark of the database behind a handle that holds a lock on it. A
// handle whose file is no longer at the path has no mark there.
// Atomic: the Save's digest of the target is taken on a thread of its own.
std::atomic<DatabaseMark::Readable> g_readable{nullptr};
// What is called after a rename into a database's place (SetReplacedHook).
std::atomic<ReplacedHook> g_replaced{nullptr};

DatabaseMark markOf(sqlite3* db) {
    DatabaseMark mark;
    const DatabaseMark::Readable readable = g_readable.load();
    if ((readable && !readable()) || Connection::HasMoved(db)) return mark;
    const std::optional<QByteArray> digest = digestOf(db);
    if (!digest || Connection::HasMoved(db)) return mark;
    mark.digest = *digest;
    mark.known = true;
    return mark;
}

void openSource(Handle& handle, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) throw DatabaseError::FileNotFoundError(path);
    rollBackLeftJournal(path);
    open(handle, path, SQLITE_OPEN_READONLY);
}

void backup(const Side& source, const Side& target) {
    sqlite3_backup* copy = sqlite3_backup_init(target.db, "main", source.db, "main");
    if (!copy) fail(target, sqlite3_errcode(target.db));
    // The whole database in one step: the target is written in a single
    // transaction, so it is never left half copied. A lock held elsewhere
    // is waited for up to the busy time-out: by the engine in the step, and
    // here when the step reports it busy at once.
    source.busy.Forget();
    target.busy.Forget();
    int rc = SQLITE_OK;
    bool stopped = false;
    for (;;) {
        rc = sqlite3_backup_step(copy, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
        stopped = source.busy.TakeStopped() || target.busy.TakeStopped();
        // The engine asks the target's handler for the target's lock; a
        // step busy without that wait met the source held, and the wait
        // names the source.
        BusyWait& waiting = target.busy.Waited() ? target.busy : source.busy;
        if (stopped || !waiting.Again()) break;
    }
    sqlite3_backup_finish(copy);
    if (rc == SQLITE_DONE) return;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        // Named after the file whose lock was waited for.
        const QString& held = source.busy.Waited() ? source.path : target.path;
        if (stopped || target.busy.TakeStopped()) throw DatabaseError::CancelledError(held);
        throw DatabaseError::LockedError(held);
    }
    // The failure may lie with either file; the source's message says
    // whether it could be read.
    fail(readable(source.db) ? target : source, rc);
}

// A temporary file is named after the file it will become, this machine
// and this process: ".<name>.<host>.<process>.<random>". A run killed while
// writing one leaves it behind; the name says whether its writer is gone.
QString hostTag() {
    QString tag;
    for (QChar c : QSysInfo::machineHostName())
        if (c.isLetterOrNumber() && c.unicode() < 128) tag += c;
    return tag.isEmpty() ? QStringLiteral("host") : tag;
}

bool processGone(qint64 pid) {
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

void removeQuietly(const QString& path) {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(native(path).toStdString()), ignored);
    std::filesystem::remove(
        std::filesystem::path(native(path + QStringLiteral("-journal")).toStdString()), ignored);
}

// A failure names `shown`, the file the user knows.
void renameInto(const QString& from, const QString& to, const QString& shown) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(native(from).toStdString()),
                            std::filesystem::path(native(to).toStdString()), error);
    if (!error) return;
    removeQuietly(from);
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system)
        throw DatabaseError::ReadOnlyError(shown);
    if (error == std::errc::no_space_on_device) throw DatabaseError::DiskFullError(shown);
    throw DatabaseError::IoFailureError(shown);
}

// A file whose header says WAL mode (a backup of a database in WAL mode
// copies that) is turned back to a rollback journal, so that no -wal ever
// belongs to it. Only for a file that nobody else has open yet.
void toRollbackJournal(const QString& path, const QString& shown) {
    unsigned char version = 0;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(18) ||
            file.read(reinterpret_cast<char*>(&version), 1) != 1 || version != 2)
            return;
    }
    Handle handle;
    open(handle, path, SQLITE_OPEN_READWRITE, shown);
    const int rc =
        sqlite3_exec(handle.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(side(handle, shown), rc);
}


// Drops the tables that a new file leaves out (`leftOut`), in one
// transaction, with their pages cleared: what they held is gone from the
// file, not only from its schema.
void leaveOut(const Side& file, const QStringList& leftOut) {
    if (leftOut.isEmpty()) return;
    QString statements = QStringLiteral("PRAGMA secure_delete=ON; BEGIN;");
    for (const QString& table : leftOut)
        statements += QStringLiteral(" DROP TABLE IF EXISTS main.%1;").arg(SqlName(table));
    statements += QStringLiteral(" COMMIT");
    const int rc =
        sqlite3_exec(file.db, statements.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return;
    if (!sqlite3_get_autocommit(file.db))
        sqlite3_exec(file.db, "ROLLBACK", nullptr, nullptr, nullptr);
    fail(file, rc);
}

// Puts a file that this process wrote on the disk (its handles closed).
void syncFile(const QString& path, const QString& shown) {
    const int descriptor = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
    if (descriptor >= 0) ::close(descriptor);
    if (!synced) throw DatabaseError::IoFailureError(shown);
}

// Writes the copy under a temporary name beside the target and renames it
// into place: nobody can have a missing file or one that is no database open.
// A file that replaces another keeps the other's permissions.
// The temporary file is the target to the user: its waits and errors name
// the target (or `shown`, the file that the target is to become).
// `checked`: a damaged copy never replaces anything. `sourceCheck`, when
// given, is the check of the source running beside the copy; otherwise the
// new file is checked before it takes the target's name. `leftOut`: tables
// the new file does not hold.
bool copyToNewFile(const Side& source, const QString& targetPath, bool checked,
                   SourceCheck* sourceCheck, const QString& shown, DatabaseMark* written,
                   const std::function<void(const DatabaseMark&)>& beforeReplace,
                   const QStringList& leftOut) {
    const QString named = shown.isEmpty() ? targetPath : shown;
    RemoveDeadTemporaries(QFileInfo(targetPath).absolutePath());
    const QString temporary = TemporaryPathBeside(targetPath);
    try {
        DatabaseMark mark;
        {
            Handle target;
            open(target, temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, named);
            if (written) mapped(target);
            // Nobody has the new file open before its rename, and a run
            // killed meanwhile leaves a file that is only removed: it is
            // written without a journal and put on the disk once, below,
            // whatever its writes.
            sqlite3_exec(target.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr,
                         nullptr, nullptr);
            backup(source, side(target, named));
            leaveOut(side(target, named), leftOut);
            if (checked && !sourceCheck) check(side(target, named), source.path);
            // Every write of the new file is done: the disk takes it while
            // its mark is read from the cache.
            if (written) {
                std::future<void> synced =
                    std::async(std::launch::async, [&] { syncFile(temporary, named); });
                mark = markOf(target.get());
                synced.get();
            }
        }
        if (!written) syncFile(temporary, named);
        if (sourceCheck) sourceCheck->Finish();
        toRollbackJournal(temporary, named);
        if (QFileInfo::exists(targetPath)) {
            QFile::setPermissions(temporary, QFile::permissions(targetPath));
        } else {
            // A -wal without its database belongs to nothing that can be
            // read; left there, the engine would lay it over the new file.
            for (const char* beside : {"-wal", "-shm"})
                QFile::remove(targetPath + QLatin1String(beside));
        }
        if (written) *written = mark;
        if (beforeReplace) beforeReplace(mark);
        renameInto(temporary, targetPath, named);
        if (const ReplacedHook replaced = g_replaced.load()) replaced(targetPath);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
    return true;
}

// Takes the write lock of the database behind the handle, waiting for
// another holder as the engine waits (the waiting window, Cancel, the
// time-out); it is held until the handle is closed.
void lockForWriting(Handle& handle, const QString& path) {
    handle.busy().Forget();
    int rc;
    for (;;) {
        rc = sqlite3_exec(handle.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
        if (handle.busy().TakeStopped()) throw DatabaseError::CancelledError(path);
        if (!handle.busy().Again()) {
            if (handle.busy().TakeStopped()) throw DatabaseError::CancelledError(path);
            throw DatabaseError::LockedError(path);
        }
    }
    if (rc != SQLITE_OK) fail(side(handle, path), rc);
}

void refuseSameOrFolder(const Side& source, const QFileInfo& target) {
    if (target.exists() && target.isDir())
        throw DatabaseError::Make(DatabaseError::Failure, target.filePath());
    if (target.exists() && QFileInfo(source.path).exists() &&
        target.canonicalFilePath() == QFileInfo(source.path).canonicalFilePath())
        throw DatabaseError::NotAllowedError(target.filePath());
}

// Others may have the target open: an existing target database is written
// through the engine in one transaction under its locks, waiting for them,
// so that connections open on it go on with the new content; a missing
// target, or a file that is no database, is replaced by a new file renamed
// over it.
void copyTo(const Side& source, const QString& targetPath, const QString& shown = QString()) {
    const QFileInfo target(targetPath);
    refuseSameOrFolder(source, target);
    if (target.exists()) {
        Handle existing;
        open(existing, targetPath, SQLITE_OPEN_READWRITE);
        const int read = readResult(existing.get());
        if (read == SQLITE_OK) {
            backup(source, side(existing, targetPath));
            return;
        }
        if ((read & 0xff) != SQLITE_NOTADB) fail(side(existing, targetPath), read);
    }
    copyToNewFile(source, targetPath, false, nullptr, shown);
}

} // namespace databasefile

using namespace databasefile;

void CreateDatabase(const QString& path) {
    if (QFileInfo::exists(path)) throw DatabaseError::ExistsError(path);
    try {
        Handle db;
        open(db, path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
        // Writing the header makes a real database file of the empty one.
        const int rc =
            sqlite3_exec(db.get(), "PRAGMA user_version = 0; VACUUM", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) fail(side(db, path), rc);
    } catch (...) {
        removeQuietly(path);
        throw;
    }
}

void CopyDatabase(const QString& sourcePath, const QString& targetPath, const QString& becomes,
                  DatabaseMark* sourceMark) {
    Handle source;
    openSource(source, sourcePath);
    const Side from = side(source, QFileInfo(sourcePath).absoluteFilePath());
    // One read of the source for its mark and the copy: a writer committing
    // in between would otherwise be in the copy and not in its mark. Both
    // read the file through one memory map.
    if (sourceMark) {
        mapped(source);
        sqlite3_exec(source.get(), "BEGIN", nullptr, nullptr, nullptr);
        const int read = readResult(source.get());
        if (read != SQLITE_OK) fail(from, read);
        *sourceMark = markOf(source.get());
    }
    copyTo(from, targetPath, becomes);
    if (sourceMark) sqlite3_exec(source.get(), "COMMIT", nullptr, nullptr, nullptr);
}

DatabaseMark MarkOfDatabase(const QString& path) {
    try {
        Handle db;
        openSource(db, path);
        if (sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
            readResult(db.get()) != SQLITE_OK)
            return DatabaseMark();
        return markOf(db.get());
    } catch (const RuntimeError&) {
        return DatabaseMark();
    }
}

std::optional<quint32> FileChangeCounter(Connection& db) {
    db.RequireOpen();
    sqlite3_file* file = nullptr;
    unsigned char header[28];
    if (sqlite3_file_control(db.Handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods ||
        file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK || header[18] == 2 ||
        header[19] == 2)
        return std::nullopt;
    return quint32(header[24]) << 24 | quint32(header[25]) << 16 | quint32(header[26]) << 8 |
           quint32(header[27]);
}

DatabaseMark MarkOf(Connection& db) {
    db.RequireOpen();
    return markOf(db.Handle());
}

void DatabaseMark::SetReadable(Readable readable) {
    g_readable.store(readable);
}

void SetReplacedHook(ReplacedHook hook) {
    g_replaced.store(hook);
}

bool DatabaseMark::Same(const DatabaseMark& other) const {
    return known && other.known && digest == other.digest;
}

QString DatabaseMark::ToText() const {
    if (!known) return QString();
    return QString::fromLatin1(digest.toHex());
}

DatabaseMark DatabaseMark::FromText(const QString& text) {
    static const QRegularExpression word(QStringLiteral("^[0-9a-f]{32}$"));
    DatabaseMark mark;
    const QString trimmed = text.trimmed();
    if (!word.match(trimmed).hasMatch()) return mark;
    mark.digest = QByteArray::fromHex(trimmed.toLatin1());
    mark.known = true;
    return mark;
}

QString DatabaseMark::ListToText(const QList<DatabaseMark>& marks) {
    QStringList words;
    for (const DatabaseMark& mark : marks)
        if (mark.known && !words.contains(mark.ToText())) words << mark.ToText();
    return words.join(QLatin1Char(' '));
}

QList<DatabaseMark> DatabaseMark::ListFromText(const QString& text) {
    QList<DatabaseMark> marks;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const DatabaseMark mark = FromText(word);
        if (mark.known) marks << mark;
    }
    return marks;
}

bool DatabaseMark::Contains(const QList<DatabaseMark>& marks, const DatabaseMark& mark) {
    return std::any_of(marks.begin(), marks.end(),
                       [&](const DatabaseMark& one) { return one.Same(mark); });
}

void CheckDatabase(const QString& path) {
    Handle db;
    openSource(db, path);
    check(side(db, path), path);
}

void CopyDatabase(const QString& sourcePath, Connection& target) {
    target.RequireOpen();
    Handle source;
    openSource(source, sourcePath);
    try {
        backup(side(source, sourcePath), Side{target.Handle(), target.Busy(), target.Path()});
    } catch (...) {
        target.SchemaChanged();
        throw;
    }
    target.SchemaChanged();
}

void CompactDatabase(const QString& sourcePath, const QString& targetPath) {
    if (QFileInfo::exists(targetPath)) throw DatabaseError::ExistsError(targetPath);
    Handle source;
    openSource(source, sourcePath);
    RemoveDeadTemporaries(QFileInfo(targetPath).absolutePath());
    const QString temporary = TemporaryPathBeside(targetPath);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(source.get(), "VACUUM INTO ?", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = native(temporary);
        sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        removeQuietly(temporary);
        // A file that cannot be written is the new one; a lock or damage
        // belongs to the source.
        const int primary = rc & 0xff;
        const bool written = primary == SQLITE_FULL || primary == SQLITE_READONLY ||
                             primary == SQLITE_PERM || primary == SQLITE_CANTOPEN ||
                             primary == SQLITE_IOERR;
        fail(side(source, written ? targetPath : sourcePath), rc);
    }
    renameInto(temporary, targetPath, targetPath);
}

QString TemporaryPathBeside(const QString& path) {
    const QFileInfo info(path);
    return info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') + info.fileName() +
           QLatin1Char('.') + hostTag() + QLatin1Char('.') +
           QString::number(QCoreApplication::applicationPid()) + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, u'0');
}

void RemoveDeadTemporaries(const QString& folder) {
    static const QRegularExpression name(
        QStringLiteral("^\\..+\\.([A-Za-z0-9]+)\\.([0-9]+)\\.[0-9a-f]{8}(-journal|-wal|-shm)?$"));
    const QString host = hostTag();
    const QStringList entries =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (!match.hasMatch() || match.captured(1) != host) continue;
        if (processGone(match.captured(2).toLongLong()))
            QFile::remove(folder + QLatin1Char('/') + entry);
    }
}
