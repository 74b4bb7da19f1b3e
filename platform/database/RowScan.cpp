#include "platform/database/RowScan.h"

#include "platform/database/Connection.h"

#include <sqlite3.h>

void ScanKeyedRows(Connection& connection, const QString& sql,
                   const std::function<void(qint64 key, QByteArrayView text)>& row) {
    Connection::Statement statement = connection.Prepare(sql);
    struct Reset {
        Connection::Statement& s;
        ~Reset() { s.Release(); }
    } reset{statement};
    while (statement.Step()) {
        sqlite3_stmt* s = statement.get();
        const qint64 key = sqlite3_column_int64(s, 0);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        row(key, QByteArrayView(text, text ? sqlite3_column_bytes(s, 1) : 0));
    }
}
