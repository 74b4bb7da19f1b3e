#include "platform/database/StoredRows.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"

#include <sqlite3.h>

StoredRows ReadStoredRows(Connection& connection, const QString& sql,
                          const QVariantList& parameters) {
    Connection::Statement statement = connection.Prepare(sql);
    sqlite3_stmt* st = statement.get();
    BindValues(st, parameters);
    // The columns are described after the first step, as a statement that
    // the engine prepared again for a changed schema describes them only then.
    bool row = statement.Step();
    StoredRows result;
    const int count = sqlite3_column_count(st);
    result.columns.reserve(size_t(count));
    for (int c = 0; c < count; ++c)
        result.columns.push_back({QString::fromUtf8(sqlite3_column_name(st, c)),
                                  FieldTypeFromDeclared(sqlite3_column_decltype(st, c))});
    for (; row; row = statement.Step()) {
        QVariantList values;
        values.reserve(count);
        for (int c = 0; c < count; ++c)
            values << ColumnStored(st, c);
        result.rows.push_back(std::move(values));
    }
    statement.Release();
    return result;
}
