#pragma once

// Digests of the rows of a query, taken straight from the engine without a
// value per field: for comparing large tables group by group, where a row
// set's conversions would cost more than the reading.

#include <QString>
#include <QtGlobal>
#include <unordered_map>
#include <utility>

class Connection;
struct sqlite3_value;

// An order-free digest of a group of rows: each row is hashed (every value
// with its type, so 1 and '1' differ) and the hashes are added up, so that
// the same rows read in any order give the same sum.
struct RowSum {
    quint64 a = 0;
    quint64 b = 0;
    quint64 count = 0;
    bool operator==(const RowSum&) const = default;
};

// A sum as 24 bytes (a, b, count, each little-endian as the machine keeps
// it), for keeping it in a table.
constexpr size_t RowSumBytes = 24;
void RowSumToBytes(const RowSum& sum, unsigned char* bytes);
RowSum RowSumFromBytes(const void* bytes);

// Runs `sql` on the connection (its first column a whole number, the key of
// the row's group; the others any values) and adds every row, hashed with
// `salt`, to the sum of its group. Raises the engine's errors.
void SumRowsByKey(Connection& connection, const QString& sql, quint64 salt,
                  std::unordered_map<qint64, RowSum>& sums);

// The hash of one row as SumRowsByKey hashes it: `count` values as the
// engine hands them to a hook (a null pointer is Null), with `salt`. Where
// `real` says so for a value, a whole number is hashed as the real that a
// query of its column reads.
std::pair<quint64, quint64> RowDigest(quint64 salt, sqlite3_value* const* values, int count,
                                      const char* real = nullptr);
