#include "platform/database/RowScan.h"

#include "platform/database/Connection.h"

#include <cstring>
#include <sqlite3.h>

namespace {

// Two 64-bit FNV-1a hashes of different bases in one pass: 128 bits, plenty
// for telling contents apart where nobody forges them.
struct Hash {
    quint64 a, b;
    explicit Hash(quint64 salt) : a(14695981039346656037ULL ^ salt), b(1099511628211ULL + salt) {}
    void add(const unsigned char* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            a = (a ^ data[i]) * 1099511628211ULL;
            b = (b ^ data[i]) * 0x100000001b3ULL + 0x9E3779B97F4A7C15ULL;
        }
    }
    void add(const void* data, size_t size) {
        add(static_cast<const unsigned char*>(data), size);
    }
};

quint64 mix(quint64 x) {
    // A final mix, so that sums of nearly equal hashes do not cancel.
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
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
    qint64 lastKey = 0;
    RowSum* last = nullptr;
    while (statement.Step()) {
        const qint64 key = sqlite3_column_int64(s, 0);
        Hash h(salt);
        for (int c = 1; c < columns; ++c) {
            const unsigned char type = static_cast<unsigned char>(sqlite3_column_type(s, c));
            h.add(&type, 1);
            switch (type) {
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_column_int64(s, c);
                h.add(&v, sizeof v);
                break;
            }
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(s, c);
                h.add(&v, sizeof v);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void* data = type == SQLITE_TEXT ? static_cast<const void*>(
                                                             sqlite3_column_text(s, c))
                                                       : sqlite3_column_blob(s, c);
                const int size = sqlite3_column_bytes(s, c);
                h.add(&size, sizeof size);
                if (size > 0) h.add(data, size_t(size));
                break;
            }
            default:
                break;
            }
        }
        if (!last || key != lastKey) {
            last = &sums[key];
            lastKey = key;
        }
        last->a += mix(h.a);
        last->b += mix(h.b);
        ++last->count;
    }
}
