#pragma once

// Reads the rows of a query that yields a whole number and a text, straight
// from the engine without a value per field: for comparing large tables row
// by row, where a row set's conversions would cost more than the reading.

#include <QByteArrayView>
#include <QString>
#include <functional>

class Connection;

// Runs `sql` (two result columns: a whole number and a text) on the
// connection and calls `zeile` for every row in the order the query gives.
// Raises the engine's errors.
void ScanKeyedRows(Connection& connection, const QString& sql,
                   const std::function<void(qint64 key, QByteArrayView text)>& row);
