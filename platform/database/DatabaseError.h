#pragma once

// The error numbers of the database layer, as the error boxes show them. The
// numbers are those of the data-access runtime the program was written for, so
// that a box reads the same: the engine's own failures, errors in a
// statement, values that a column cannot take, and misuse of a row set.

#include "platform/runtime/RuntimeError.h"

#include <QString>

namespace DatabaseError {
inline constexpr int Failure = -2147467259; // the engine failed: file, lock, constraint, I/O
inline constexpr int Command =
    -2147217900; // the statement is wrong: syntax, unknown table or column
inline constexpr int CantConvert = -2147217913;  // a value that the column's type cannot take
inline constexpr int DataOverflow = -2147217833; // a number beyond the column's range
inline constexpr int NoCurrentRecord = 3021;     // BOF or EOF, or the current row is deleted
inline constexpr int NotUpdatable = 3251;        // the row set cannot be changed
inline constexpr int ItemNotFound = 3265;        // no field of that name or index
inline constexpr int ObjectClosed = 3704;        // the row set or connection is closed
inline constexpr int NotAllowed = 3219;          // the operation is not allowed in this state
inline constexpr int Locked = 3218;  // another connection holds the database past the time-out
inline constexpr int Damaged = 3049; // the file is no sound database (a check failed)
inline constexpr int ReadOnly = 3051; // the file or its folder cannot be written
inline constexpr int DiskFull = 3026; // no room left on the file's disk
inline constexpr int IoFailure = 3043; // the disk failed to read or write the file
// The file was replaced or moved away since the connection opened it (another
// user's Save renames a new file over the project database): the engine
// refuses every write into the file it holds, which is no longer the one at
// its path.
inline constexpr int Replaced = 3197;
// The program refuses to change the database: what it must keep beside it
// (the working copy's state) cannot be kept. Raised by the program's write
// guard, never by the engine.
inline constexpr int NotKept = 3050;
// A wait for another holder of the database that the user cancelled (or the
// session ended): the command ends without a further word.
inline constexpr int Cancelled = 18;

// The database refused a write as a whole (held, damaged, read-only, full,
// failing disk, replaced, the state not kept, a cancelled wait): told as what it is,
// once, never as a value that does not fit its column.
bool Refuses(int number);

RuntimeError Make(int number, const QString& description);

// The standard descriptions in the user's language.
RuntimeError NoCurrentRecordError();
RuntimeError NotUpdatableError();
RuntimeError ItemNotFoundError(const QString& item);
RuntimeError ObjectClosedError();
RuntimeError NotAllowedError(const QString& what);
RuntimeError CantConvertError(const QVariant& value, const QString& column);
RuntimeError DataOverflowError(const QVariant& value, const QString& column);
RuntimeError FileNotFoundError(const QString& path);
RuntimeError LockedError(const QString& path);
// The detail, when there is one, in the user's language.
RuntimeError DamagedError(const QString& path, const QString& detail);
RuntimeError ReadOnlyError(const QString& path);
RuntimeError DiskFullError(const QString& path);
RuntimeError IoFailureError(const QString& path);
RuntimeError ReplacedError(const QString& path);
RuntimeError CancelledError();
// A wait for the database at `path`, held by another, that the user
// cancelled (or the session's end stopped).
RuntimeError CancelledError(const QString& path);
// A database file that is to be made is there already.
RuntimeError ExistsError(const QString& path);

// What stands when a refusal (held, read-only, full, failing disk, a
// cancelled wait) ends a command that had changed something before it: a
// record deleted of several, a record's results cleared before it is
// evaluated anew. While one lives, the refusals made meanwhile say it, in
// the user's language, where they would say that nothing was changed; the
// innermost one counts, and one without a text leaves the refusals as they
// are.
class WhatStands {
public:
    WhatStands();
    WhatStands(const QString& deutsch, const QString& englisch);
    ~WhatStands();
    WhatStands(const WhatStands&) = delete;
    WhatStands& operator=(const WhatStands&) = delete;

    // The clause that takes the place of "es wurde nichts geändert" /
    // "nothing was changed", without its full stop.
    void Set(const QString& deutsch, const QString& englisch);
    QString Text() const;

private:
    WhatStands* m_outer;
    QString m_deutsch;
    QString m_englisch;
};
} // namespace DatabaseError
