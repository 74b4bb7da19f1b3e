#include "platform/database/RowScan.h"

#include "platform/database/Connection.h"
#include "platform/database/Digest.h"

#include <QByteArray>
#include <cstring>
#include <sqlite3.h>

namespace {

// Appends a value as the digest reads it: its type, then its bytes.
void anhaengen(QByteArray& zeile, const void* daten, size_t groesse) {
    zeile.append(static_cast<const char*>(daten), qsizetype(groesse));
}

} // namespace

void SumRowsByKey(Connection& connection, const QString& sql, quint64 salt,
                  std::unordered_map<qint64, RowSum>& sums) {
    Connection::Statement statement = connection.Prepare(sql);
    struct Reset {
        Connection::Statement& s;
        ~Reset() { s.Release(); }
    } reset{statement};
    sqlite3_stmt* s = statement.get();
    const int columns = sqlite3_column_count(s);
    QByteArray zeile;
    qint64 lastKey = 0;
    RowSum* last = nullptr;
    while (statement.Step()) {
        const qint64 key = sqlite3_column_int64(s, 0);
        zeile.resize(0);
        anhaengen(zeile, &salt, sizeof salt);
        for (int c = 1; c < columns; ++c) {
            const char type = char(sqlite3_column_type(s, c));
            zeile.append(type);
            switch (type) {
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_column_int64(s, c);
                anhaengen(zeile, &v, sizeof v);
                break;
            }
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(s, c);
                anhaengen(zeile, &v, sizeof v);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void* data = type == SQLITE_TEXT ? static_cast<const void*>(
                                                             sqlite3_column_text(s, c))
                                                       : sqlite3_column_blob(s, c);
                const int size = sqlite3_column_bytes(s, c);
                anhaengen(zeile, &size, sizeof size);
                if (size > 0) anhaengen(zeile, data, size_t(size));
                break;
            }
            default:
                break;
            }
        }
        Digest digest;
        digest.Add(reinterpret_cast<const unsigned char*>(zeile.constData()), size_t(zeile.size()));
        const auto [a, b] = digest.Words();
        if (!last || key != lastKey) {
            last = &sums[key];
            lastKey = key;
        }
        last->a += a;
        last->b += b;
        ++last->count;
    }
}
