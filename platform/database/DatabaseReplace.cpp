// The Save's copy of a database over another that others may have open:
// under the target's write lock, compared first, as a new file renamed into
// its place or, for a target in WAL mode, written in place.

#include "platform/database/DatabaseFile.h"
#include "platform/database/DatabaseFileParts.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Sql.h"

#include <QUrl>
#include <fcntl.h>
#include <future>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

using namespace databasefile;

// A statement prepared on a side with its texts bound; a failure is the
// side's.
sqlite3_stmt* prepared(const Side& on, const QString& statement, const QStringList& texts) {
    sqlite3_stmt* prepared = nullptr;
    int rc = sqlite3_prepare_v2(on.db, statement.toUtf8().constData(), -1, &prepared, nullptr);
    for (int i = 0; rc == SQLITE_OK && i < texts.size(); ++i) {
        const QByteArray text = texts.at(i).toUtf8();
        rc = sqlite3_bind_text(prepared, i + 1, text.constData(), int(text.size()),
                               SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared);
        fail(on, rc);
    }
    return prepared;
}

// The first column of every row of a statement.
QStringList column(const Side& on, const QString& query, const QStringList& texts = {}) {
    sqlite3_stmt* statement = prepared(on, query, texts);
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        values << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) fail(on, rc);
    return values;
}

// Runs a statement on a side.
void exec(const Side& on, const QString& statement, const QStringList& texts = {}) {
    column(on, statement, texts);
}

// Writes the content of the database attached as "quelle" into the main
// database of the target, inside the target's open writing transaction:
// every table of the source takes the source's rows, column by name; a
// table or index that only the source has is made. What only the target
// has (another program's table) stays, but for the tables `leftOut`, which
// go from the target and are not copied.
void writeInPlace(const Side& target, const QStringList& leftOut) {
    const QStringList tables = column(
        target, QStringLiteral("SELECT name FROM quelle.sqlite_master WHERE type='table' AND "
                               "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    exec(target, QStringLiteral("PRAGMA secure_delete=ON"));
    for (const QString& table : leftOut)
        exec(target, QStringLiteral("DROP TABLE IF EXISTS main.%1").arg(SqlName(table)));
    for (const QString& table : tables) {
        if (leftOut.contains(table, Qt::CaseInsensitive)) continue;
        const QStringList own = column(
            target, QStringLiteral("SELECT name FROM pragma_table_info(?1, 'main')"), {table});
        if (own.isEmpty())
            exec(target,
                 column(target,
                        QStringLiteral("SELECT sql FROM quelle.sqlite_master WHERE name=?1"),
                        {table})
                     .value(0),
                 {});
        const QStringList theirs = column(
            target, QStringLiteral("SELECT name FROM pragma_table_info(?1, 'quelle')"), {table});
        QStringList names;
        for (const QString& name : theirs)
            if (own.isEmpty() || own.contains(name, Qt::CaseInsensitive)) names << SqlName(name);
        exec(target, QStringLiteral("DELETE FROM main.%1").arg(SqlName(table)));
        exec(target, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM quelle.%1")
                         .arg(SqlName(table), names.join(QLatin1Char(','))));
    }
    const QStringList indexes =
        column(target, QStringLiteral("SELECT sql FROM quelle.sqlite_master WHERE type='index' AND "
                                      "sql IS NOT NULL AND name NOT IN (SELECT name FROM "
                                      "main.sqlite_master) AND tbl_name IN (SELECT name FROM "
                                      "main.sqlite_master WHERE type='table')"));
    for (const QString& index : indexes)
        exec(target, index);
}

// The source as it is now, attached to the target as "quelle" from a copy
// in memory that nothing else reads or writes: the target's writing
// transaction then holds no lock on the source's file, so that whoever
// holds the source's write lock (the Save) can commit into it before the
// target commits.
void attachCopy(const Side& source, const Side& target) {
    exec(target, QStringLiteral("ATTACH ':memory:' AS quelle"));
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(source.db, "main", &size, 0);
    if (!bytes)
        fail(source,
             sqlite3_errcode(source.db) == SQLITE_OK ? SQLITE_NOMEM : sqlite3_errcode(source.db));
    // The bytes are the engine's from here on, also where it refuses them.
    const int rc =
        sqlite3_deserialize(target.db, "quelle", bytes, size, size, SQLITE_DESERIALIZE_FREEONCLOSE);
    if (rc != SQLITE_OK) fail(target, rc);
}

// The engine's check of the database attached as "quelle"; damage is the
// source's.
void checkAttached(const Side& target, const QString& sourcePath) {
    const QStringList found = column(target, QStringLiteral("PRAGMA quelle.quick_check"));
    if (found != QStringList{QStringLiteral("ok")})
        throw DatabaseError::DamagedError(sourcePath, QString());
}

// The last close of a file that a new one took the place of frees the old
// file's blocks, which takes a while for a large project. A descriptor of
// its own, taken while the file is still at the path and locked, keeps the
// engine's close from being the last; it is closed on a thread of its own
// once the engine has let go of the file, so that nobody waits for the
// blocks. The engine's handle itself is closed at once: a handle left open
// on a file renamed over would trouble the engine's next writer at the
// path. One such close at a time; the last is waited for when the program
// ends.
class ReplacedFile {
public:
    explicit ReplacedFile(const QString& path)
        : m_descriptor(::open(native(path).constData(), O_RDONLY | O_CLOEXEC)) {}
    ~ReplacedFile() {
        if (m_descriptor >= 0) ::close(m_descriptor);
    }
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;
    // The engine's handle on the file is closed already.
    void CloseLater() {
        static std::future<void> closing;
        const int descriptor = std::exchange(m_descriptor, -1);
        if (descriptor < 0) return;
        if (closing.valid()) closing.wait();
        closing = std::async(std::launch::async, [descriptor] { ::close(descriptor); });
    }

private:
    int m_descriptor;
};

// The Save's copy: see CopyDatabase(Connection&, ...) and
// CopyDatabaseIfUnchanged.
bool replaceFrom(Connection& source, const QString& targetPath, const QList<DatabaseMark>* accepted,
                 DatabaseMark* mark, bool compare, const BeforeReplace& beforeReplace,
                 const std::function<bool()>& unreadableAccepted = {},
                 const QStringList& leftOut = {}) {
    source.RequireOpen();
    const Side from{source.Handle(), source.Busy(), source.Path()};
    const QFileInfo target(targetPath);
    refuseSameOrFolder(from, target);
    // The new file is renamed over the target only while this copy holds the
    // target's write lock: a writer with work open in it is waited for and
    // never cut off. Writing a new file is about half the work of writing
    // the target in place under its journal.
    // Declared first, so that its descriptor outlives the engine's handle on
    // the same file whichever way this ends: closing it before would take
    // the engine's locks on that file with it.
    std::optional<ReplacedFile> replaced;
    std::optional<Handle> existing;
    bool wal = false;
    // A file renamed over the target while this copy waited for its lock is
    // locked anew: the lock and the mark are the file's at the path.
    for (int versuch = 0; target.exists() && versuch < 3; ++versuch) {
        existing.emplace();
        open(*existing, targetPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI);
        if (mark) mapped(*existing);
        const int read = readResult(existing->get());
        if ((read & 0xff) == SQLITE_NOTADB) break;
        if (read != SQLITE_OK) fail(side(*existing, targetPath), read);
        // A database in WAL mode is written in place, from the source
        // attached before the transaction (the engine attaches only
        // outside one). Nobody changes the mode while the lock is held.
        wal = inWalMode(existing->get());
        if (wal) attachCopy(from, side(*existing, targetPath));
        lockForWriting(*existing, targetPath);
        if (!Connection::HasMoved(existing->get()) && wal == inWalMode(existing->get())) break;
    }
    // Under the write lock nobody commits into the target, and a file
    // renamed over it later is renamed over this copy's, too.
    const QList<DatabaseMark> none;
    const QList<DatabaseMark>& allowed = accepted ? *accepted : none;
    const bool comparing = mark && compare && existing;
    // A target whose mark cannot be read is compared by whoever can tell
    // what it holds, under the same write lock.
    const auto accept = [&](const DatabaseMark& now) {
        return DatabaseMark::Contains(allowed, now) ||
               (!now.known && unreadableAccepted && unreadableAccepted());
    };
    // A new file is only written from a source that the engine's check
    // finds sound (a target in WAL mode checks the source it attached). The
    // source is checked at its path while it is there; a source that another
    // file took the place of, the new file after it was written.
    std::optional<SourceCheck> sourceCheck;
    if (!(existing && wal) && !source.HasMoved()) {
        sourceCheck.emplace(source.Path());
        if (source.HasMoved()) sourceCheck.reset();
    }
    // The target is compared before anything is written or built: a project
    // that another changed since costs its digest, not a new file thrown
    // away.
    DatabaseMark now;
    if (comparing) {
        now = markOf(existing->get());
        if (!accept(now)) {
            *mark = now;
            return false;
        }
    }
    if (existing && wal) {
        const Side into = side(*existing, targetPath);
        checkAttached(into, source.Path());
        writeInPlace(into, leftOut);
        const DatabaseMark written = markOf(existing->get());
        if (mark) *mark = written;
        if (beforeReplace) beforeReplace(written, now, true);
        exec(into, QStringLiteral("COMMIT"));
        sqlite3_exec(existing->get(), "DETACH quelle", nullptr, nullptr, nullptr);
        return true;
    }
    if (existing) replaced.emplace(targetPath);
    copyToNewFile(
        from, targetPath, true, sourceCheck ? &*sourceCheck : nullptr, QString(), mark,
        [&](const DatabaseMark& neu) {
            if (beforeReplace) beforeReplace(neu, now, false);
        },
        leftOut);
    existing.reset();
    if (replaced) replaced->CloseLater();
    return true;
}
} // namespace

void CopyDatabase(Connection& source, const QString& targetPath) {
    replaceFrom(source, targetPath, nullptr, nullptr, false, {});
}

bool CopyDatabaseIfUnchanged(Connection& source, const QString& targetPath,
                             const QList<DatabaseMark>& accepted, DatabaseMark& mark, bool compare,
                             const BeforeReplace& beforeReplace,
                             const std::function<bool()>& unreadableAccepted,
                             const QStringList& leftOut) {
    return replaceFrom(source, targetPath, &accepted, &mark, compare, beforeReplace,
                       unreadableAccepted, leftOut);
}

