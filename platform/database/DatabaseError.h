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
RuntimeError DamagedError(const QString& path, const QString& detail);
} // namespace DatabaseError
