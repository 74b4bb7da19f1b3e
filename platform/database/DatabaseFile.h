#pragma once

// Whole database files: creating an empty one, copying one over another and
// compacting one into a new file. A copy goes through the engine's backup,
// never through raw file I/O, so the target is either the old file or the
// complete new one, never a mix, and a connection open on either file sees a
// consistent database. Failures raise a RuntimeError (DatabaseError numbers).

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Connection;

// What a database holds at one moment: a digest of its pages as the engine
// reads them (a database in WAL mode with the commits in its -wal), leaving
// out the header fields that say how and when the file was written (its
// change counter, its journal mode, its schema cookie, the engine's
// version) rather than what it holds. Two files with the same content have
// the same mark, wherever they lie and however they were written; another
// content, a write in place or another file renamed over the path gives
// another mark, whatever inode or counter it has.
struct DatabaseMark {
    QByteArray digest; // 16 bytes
    bool known = false;
    // Both known and equal: a mark that could not be taken matches none.
    bool Same(const DatabaseMark& other) const;
    // The digest in hexadecimal; empty for an unknown mark, and any text
    // that is not such a word reads as an unknown mark.
    QString ToText() const;
    static DatabaseMark FromText(const QString& text);
    // Several marks on one line, separated by blanks; the unknown ones are
    // left out.
    static QString ListToText(const QList<DatabaseMark>& marks);
    static QList<DatabaseMark> ListFromText(const QString& text);
    static bool Contains(const QList<DatabaseMark>& marks, const DatabaseMark& mark);
    // What tells whether the pages of a database can be read for its mark:
    // asked before each mark is taken, from whichever thread takes it; false
    // gives an unknown mark, as a file whose pages cannot be read does. None
    // (the default): every mark is read.
    using Readable = bool (*)();
    static void SetReadable(Readable readable);
};

// Called, when set, right after a new file took a database's place by a
// rename, with the database's path: what lay beside it at that moment can be
// looked at. None (the default): nothing is called.
using ReplacedHook = void (*)(const QString& path);
void SetReplacedHook(ReplacedHook hook);

// The mark of the database at `path` as it is now, read under a read lock;
// an unknown mark where it cannot be read.
DatabaseMark MarkOfDatabase(const QString& path);
// The engine's file change counter in the header of the connection's main
// database as the file holds it (read through the connection's own file
// handle: another descriptor's close would drop the process's locks on
// it), which every transaction that changes the file raises by one;
// nullopt for a file that cannot be read or is in WAL mode (whose commits
// leave it as it is).
std::optional<quint32> FileChangeCounter(Connection& db);

// The mark of the database behind an open connection, taken in the read
// transaction that the caller holds open on it (so that what the caller
// reads in it is what the mark stands for); unknown where it cannot be read.
DatabaseMark MarkOf(Connection& db);

// Creates a new empty database file. Refuses an existing file.
void CreateDatabase(const QString& path);

// Copies the database at `sourcePath` over `targetPath`. An existing target
// database is replaced in one transaction under its write lock, waiting for
// another holder (with the waiting window, Cancel and the time-out); the
// file stays the one that others have open, and they go on with the new
// content. A run killed meanwhile leaves the target's journal, which the
// next connection rolls back to the old content. A missing target (or a
// file that is no database) is written under a temporary name beside it and
// then renamed into place. The source must exist: a missing source is an
// error and creates nothing. A source left with the journal of a killed
// writer is rolled back first. Waits and errors name the source or the
// target, never a temporary file.
// `becomes`, when given, is the file that a new target is renamed to by the
// caller: its waits and errors name that file.
// `sourceMark`, when given, receives the mark of the source as it was copied
// (taken in the same read of the source as the copy).
// A new file is always in rollback-journal mode, also when its source is in
// WAL mode: no -wal of its own ever lies beside it.
void CopyDatabase(const QString& sourcePath, const QString& targetPath,
                  const QString& becomes = QString(), DatabaseMark* sourceMark = nullptr);
// Writes the database behind an open connection to a temporary file beside
// `targetPath`, checks it with the engine's check (the source at its path,
// beside the copy, where it is still there; the new file otherwise; the
// source must not change meanwhile) and renames it over the target (keeping the target's
// permissions) while it holds the target's write lock: another writer of the target is waited for
// (the waiting window, Cancel, the time-out) and its open work never cut off; a copy that gives up
// leaves the target as it was. A run killed meanwhile leaves the old target untouched and never a
// journal that a reader would have to roll back, and a damaged copy (DatabaseError::Damaged) leaves
// it as well. Waits and errors name the target, never the temporary file.
void CopyDatabase(Connection& source, const QString& targetPath);
// The same, but only over a target whose content is one of `accepted`,
// compared under the target's write lock before anything is built: a
// target that another writer changed or replaced since is left as it is,
// `mark` becomes the target's mark now, and the result is false. A missing
// target (or a file that is no database) is written without a comparison,
// and so is any target when `compare` is false (the user agreed to
// overwrite it as it is). On success `mark` is the new target's, known
// before it takes the target's place: `beforeReplace` is called at that
// moment, still under the target's write lock, with it and with the mark
// of the content it replaces (unknown where nothing was compared).
// A target in WAL mode is written in place through the engine, in the
// transaction that compared it: its -wal belongs to it, and the engine
// would lay that -wal over any new file renamed to its path.
// A target whose mark cannot be read is one of `accepted` only where
// `unreadableAccepted`, asked under the target's write lock, says so.
// `inPlace` tells `beforeReplace` that the target is written in place, in
// a transaction that commits after it returns; the target reads a copy of
// the source taken before, so the source can be written meanwhile.
// `leftOut`: tables of the source that the new target does not hold (what
// only the source's own file keeps); a target written in place loses them
// too. `mark` is of the target as it holds the copy, without them.
using BeforeReplace =
    std::function<void(const DatabaseMark& written, const DatabaseMark& replaced, bool inPlace)>;
bool CopyDatabaseIfUnchanged(Connection& source, const QString& targetPath,
                             const QList<DatabaseMark>& accepted, DatabaseMark& mark,
                             bool compare = true, const BeforeReplace& beforeReplace = {},
                             const std::function<bool()>& unreadableAccepted = {},
                             const QStringList& leftOut = {});
// Copies a database file into the database of an open connection, which
// keeps working on the new content.
void CopyDatabase(const QString& sourcePath, Connection& target);

// The engine's check of a whole database file; raises DatabaseError::Damaged
// with what it found.
void CheckDatabase(const QString& path);

// Writes a compacted copy of the database at `sourcePath` to `targetPath`,
// which must not exist yet. The source must not be open for writing.
void CompactDatabase(const QString& sourcePath, const QString& targetPath);

// The name under which this process writes a file that is to become `path`
// (beside it, hidden, naming this machine and this process).
QString TemporaryPathBeside(const QString& path);

// Removes the temporary files beside databases in `folder` that runs of this
// machine left behind when they were killed (their process is gone). A file
// that a live run is still writing stays.
void RemoveDeadTemporaries(const QString& folder);
