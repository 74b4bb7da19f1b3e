#pragma once

// The rows of a query as the engine holds them: every value in its stored
// form (a whole number, a real, a text, bytes or Null; see FieldType.h), not
// converted through its column's declared type as a row set reads it. For
// copying rows value for value between databases of one schema: a row set
// reads a Single column in single precision, and what another program
// stored there more exactly would come out rounded.

#include "platform/database/FieldType.h"

#include <QString>
#include <QVariantList>
#include <vector>

class Connection;

struct StoredRows {
    struct Column {
        QString name;
        FieldType type; // as declared; Unknown for an expression
    };
    std::vector<Column> columns;
    std::vector<QVariantList> rows;
};

// Runs the query with `parameters` bound to its "?". Raises the engine's
// errors.
StoredRows ReadStoredRows(Connection& connection, const QString& sql,
                          const QVariantList& parameters = {});
