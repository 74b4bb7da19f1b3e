#include "platform/database/DatabaseFile.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sqlite3.h>
#include <system_error>

namespace {

constexpr int kTimeoutMs = 30000;

// An engine handle closed when the scope ends.
class Handle {
public:
    Handle() = default;
    ~Handle() { sqlite3_close_v2(m_db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    sqlite3** out() { return &m_db; }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

[[noreturn]] void fail(sqlite3* db, int rc, const QString& path) {
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    throw DatabaseError::Make(DatabaseError::Failure,
                              message + QStringLiteral(" (") + path + QLatin1Char(')'));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

void open(Handle& handle, const QString& path, int flags) {
    const int rc = sqlite3_open_v2(native(path).constData(), handle.out(), flags, nullptr);
    if (rc != SQLITE_OK) fail(handle.get(), rc, path);
    sqlite3_busy_timeout(handle.get(), kTimeoutMs);
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
// Raises the damage it finds.
void check(sqlite3* db, const QString& path) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &statement, nullptr);
    QString result;
    if (rc == SQLITE_OK) rc = SQLITE_ROW;
    while (rc == SQLITE_ROW && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (!result.isEmpty()) result += QStringLiteral("; ");
        result += QString::fromUtf8(text ? text : "");
    }
    sqlite3_finalize(statement);
    if (rc == SQLITE_DONE && result == QLatin1String("ok")) return;
    if (rc != SQLITE_DONE) result = QString::fromUtf8(sqlite3_errmsg(db));
    throw DatabaseError::DamagedError(path, result);
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
    sqlite3_busy_timeout(writer.get(), kTimeoutMs);
    readable(writer.get());
}

void openSource(Handle& handle, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) throw DatabaseError::FileNotFoundError(path);
    rollBackLeftJournal(path);
    open(handle, path, SQLITE_OPEN_READONLY);
}

void backup(sqlite3* source, const QString& sourcePath, sqlite3* target,
            const QString& targetPath) {
    sqlite3_backup* copy = sqlite3_backup_init(target, "main", source, "main");
    if (!copy) fail(target, sqlite3_errcode(target), targetPath);
    int rc = SQLITE_OK;
    // The whole database in one step: the target is written in a single
    // transaction, so it is never left half copied. A lock held elsewhere
    // is waited for up to the busy time-out.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        rc = sqlite3_backup_step(copy, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited.elapsed() > kTimeoutMs) break;
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(copy);
    if (rc == SQLITE_DONE) return;
    // The failure may lie with either file; the source's message says
    // whether it could be read.
    const bool sourceBad = !readable(source);
    fail(sourceBad ? source : target, rc, sourceBad ? sourcePath : targetPath);
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

void renameInto(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(native(from).toStdString()),
                            std::filesystem::path(native(to).toStdString()), error);
    if (error) {
        removeQuietly(from);
        throw DatabaseError::Make(DatabaseError::Failure, QString::fromStdString(error.message()) +
                                                              QStringLiteral(" (") + to +
                                                              QLatin1Char(')'));
    }
}

// Writes the copy under a temporary name beside the target and renames it
// into place: nobody can have a missing file or one that is no database open.
// A file that replaces another keeps the other's permissions.
void copyToNewFile(sqlite3* source, const QString& sourcePath, const QString& targetPath,
                   bool checked) {
    RemoveDeadTemporaries(QFileInfo(targetPath).absolutePath());
    const QString temporary = TemporaryPathBeside(targetPath);
    try {
        {
            Handle target;
            open(target, temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            backup(source, sourcePath, target.get(), temporary);
            // A damaged copy never replaces a sound file: it is checked
            // before it takes the target's name.
            if (checked) check(target.get(), sourcePath);
        }
        if (QFileInfo::exists(targetPath))
            QFile::setPermissions(temporary, QFile::permissions(targetPath));
        renameInto(temporary, targetPath);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
}

// inPlace: an existing target database is written through the engine in one
// transaction, so that connections open on it go on with the new content;
// otherwise it is replaced by a new file renamed over it.
void copyTo(sqlite3* source, const QString& sourcePath, const QString& targetPath, bool inPlace,
            bool checked = false) {
    const QFileInfo target(targetPath);
    if (target.exists() && target.isDir())
        throw DatabaseError::Make(DatabaseError::Failure, targetPath);
    if (target.exists() && QFileInfo(sourcePath).exists() &&
        target.canonicalFilePath() == QFileInfo(sourcePath).canonicalFilePath())
        throw DatabaseError::NotAllowedError(
            QStringLiteral("copy of %1 onto itself").arg(targetPath));
    if (inPlace && target.exists()) {
        // Others may have the target open: it is written through the engine
        // under its locks, waiting for them, and replaced by another file
        // only when it is no database at all.
        Handle existing;
        const int rc = sqlite3_open_v2(native(targetPath).constData(), existing.out(),
                                       SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) fail(existing.get(), rc, targetPath);
        sqlite3_busy_timeout(existing.get(), kTimeoutMs);
        const int read = readResult(existing.get());
        if (read == SQLITE_OK) {
            backup(source, sourcePath, existing.get(), targetPath);
            return;
        }
        if ((read & 0xff) != SQLITE_NOTADB) fail(existing.get(), read, targetPath);
    }
    copyToNewFile(source, sourcePath, targetPath, checked);
}

} // namespace

void CreateDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw DatabaseError::Make(DatabaseError::Failure,
                                  QStringLiteral("database exists already (%1)").arg(path));
    try {
        Handle db;
        open(db, path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
        // Writing the header makes a real database file of the empty one.
        const int rc =
            sqlite3_exec(db.get(), "PRAGMA user_version = 0; VACUUM", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) fail(db.get(), rc, path);
    } catch (...) {
        removeQuietly(path);
        throw;
    }
}

void CopyDatabase(const QString& sourcePath, const QString& targetPath) {
    Handle source;
    openSource(source, sourcePath);
    copyTo(source.get(), QFileInfo(sourcePath).absoluteFilePath(), targetPath, true);
}

void CopyDatabase(Connection& source, const QString& targetPath) {
    source.RequireOpen();
    copyTo(source.Handle(), source.Path(), targetPath, false, true);
}

void CheckDatabase(const QString& path) {
    Handle db;
    openSource(db, path);
    check(db.get(), path);
}

void CopyDatabase(const QString& sourcePath, Connection& target) {
    target.RequireOpen();
    Handle source;
    openSource(source, sourcePath);
    try {
        backup(source.get(), sourcePath, target.Handle(), target.Path());
    } catch (...) {
        target.SchemaChanged();
        throw;
    }
    target.SchemaChanged();
}

void CompactDatabase(const QString& sourcePath, const QString& targetPath) {
    if (QFileInfo::exists(targetPath))
        throw DatabaseError::Make(DatabaseError::Failure,
                                  QStringLiteral("database exists already (%1)").arg(targetPath));
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
        fail(source.get(), rc, sourcePath);
    }
    renameInto(temporary, targetPath);
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
