#pragma once

// The types of database columns as the program reads and writes them, and the
// conversions between a value and a column. The type of a column is the type
// name declared in the database's schema; the names below are the ones our
// schema uses. A value is converted on the way into a column like the
// original engine converts it: a text into a number column is read in the
// user's decimal notation, an empty text is Null, a text that is no number is
// a data error and never stored as text, a number beyond the column's range is
// an overflow. Booleans are stored 1/0 so that a statement's `true` finds them.

#include <QString>
#include <QVariant>

struct sqlite3_stmt;

enum class FieldType {
    Long,    // 32-bit whole number, read as int
    Integer, // 16-bit whole number, read as short
    Single,  // single precision, read as float
    Double,  // double precision, read as double
    Boolean, // read as bool, stored 1/0
    Text,    // read as QString
    Variant, // read as whatever is stored
    Unknown, // an expression or an undeclared column: read as stored
};

// Declared type names of the schema. SQLite gives LONG, SHORT, SINGLE,
// BOOLEAN and VARIANT numeric affinity, DOUBLE real and TEXT text affinity.
namespace FieldTypeName {
inline constexpr const char* Long = "LONG";
inline constexpr const char* Integer = "SHORT";
inline constexpr const char* Single = "SINGLE";
inline constexpr const char* Double = "DOUBLE";
inline constexpr const char* Boolean = "BOOLEAN";
inline constexpr const char* Text = "TEXT";
inline constexpr const char* Variant = "VARIANT";
} // namespace FieldTypeName

// The type for a declared type name (the first word counts, letter case
// ignored); null or an unknown name gives Unknown.
FieldType FieldTypeFromDeclared(const char* declared);

// The stored form of a value for a column of the given type: Null (VNull()),
// qlonglong, double, QString or QByteArray. Raises a data error (RuntimeError
// with DatabaseError::CantConvert or ::DataOverflow) naming the column when
// the value does not fit. Empty and Null give Null; a Boolean column stores
// Null as False, as the original engine's Yes/No columns hold no Null.
QVariant StoredValue(FieldType type, const QVariant& value, const QString& column);

// The value of a stored form as the program reads the column: int for Long,
// short for Integer, float for Single, double, bool, QString; Null as VNull().
QVariant FieldValue(FieldType type, const QVariant& stored);

// The stored form of one result column of a statement that stands on a row.
QVariant ColumnStored(sqlite3_stmt* statement, int column);

// Binds a stored form (or any plain value: bool as 1/0, numbers, text, Null,
// Empty as Null) to a parameter (1-based).
void BindValue(sqlite3_stmt* statement, int parameter, const QVariant& value);
// Binds every parameter of a statement, in order; a count that does not fit
// the statement's parameters is a command error naming the statement.
void BindValues(sqlite3_stmt* statement, const QVariantList& values);
