#include "platform/database/RowScan.h"

#include "platform/database/Connection.h"
#include "platform/database/Digest.h"

#include <QByteArray>
#include <cstring>
#include <sqlite3.h>

namespace {

// A row's values as the digest reads them, each with its type: built in a
// buffer on the stack, a long one on the heap.
class Zeile {
public:
    void Leeren() {
        m_laenge = 0;
        m_lang.clear();
    }
    void Anhaengen(const void* daten, size_t groesse) {
        if (m_lang.isEmpty() && m_laenge + groesse <= sizeof m_puffer) {
            std::memcpy(m_puffer + m_laenge, daten, groesse);
            m_laenge += groesse;
            return;
        }
        if (m_lang.isEmpty())
            m_lang.append(reinterpret_cast<const char*>(m_puffer), qsizetype(m_laenge));
        m_lang.append(static_cast<const char*>(daten), qsizetype(groesse));
    }
    std::pair<quint64, quint64> Digest() const {
        ::Digest digest;
        if (m_lang.isEmpty())
            digest.Add(m_puffer, m_laenge);
        else
            digest.Add(reinterpret_cast<const unsigned char*>(m_lang.constData()),
                       size_t(m_lang.size()));
        return digest.Words();
    }

private:
    unsigned char m_puffer[512];
    size_t m_laenge = 0;
    QByteArray m_lang;
};

// A row hashed as the digests read it: the salt, then every value with its
// type. `At(c)` gives the c-th value as the engine's value accessors do, so
// that a row read by a query and the same row handed to a hook hash
// alike.
template <typename Values>
std::pair<quint64, quint64> zeilendigest(Zeile& zeile, quint64 salt, const Values& werte, int von,
                                         int bis) {
    zeile.Leeren();
    zeile.Anhaengen(&salt, sizeof salt);
    for (int c = von; c < bis; ++c) {
        const unsigned char type = static_cast<unsigned char>(werte.Type(c));
        zeile.Anhaengen(&type, 1);
        switch (type) {
        case SQLITE_INTEGER: {
            const qint64 v = werte.Int64(c);
            zeile.Anhaengen(&v, sizeof v);
            break;
        }
        case SQLITE_FLOAT: {
            const double v = werte.Double(c);
            zeile.Anhaengen(&v, sizeof v);
            break;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* data = type == SQLITE_TEXT ? werte.Text(c) : werte.Blob(c);
            const int size = werte.Bytes(c);
            zeile.Anhaengen(&size, sizeof size);
            if (size > 0) zeile.Anhaengen(data, size_t(size));
            break;
        }
        default:
            break;
        }
    }
    return zeile.Digest();
}

struct Spalten {
    sqlite3_stmt* s;
    int Type(int c) const { return sqlite3_column_type(s, c); }
    qint64 Int64(int c) const { return sqlite3_column_int64(s, c); }
    double Double(int c) const { return sqlite3_column_double(s, c); }
    const void* Text(int c) const { return sqlite3_column_text(s, c); }
    const void* Blob(int c) const { return sqlite3_column_blob(s, c); }
    int Bytes(int c) const { return sqlite3_column_bytes(s, c); }
};

// Values as the engine hands them to a function or a hook; none is Null.
struct Werte {
    sqlite3_value* const* v;
    const char* real;
    int Type(int c) const {
        const int typ = v[c] ? sqlite3_value_type(v[c]) : SQLITE_NULL;
        return typ == SQLITE_INTEGER && real && real[c] ? SQLITE_FLOAT : typ;
    }
    qint64 Int64(int c) const { return sqlite3_value_int64(v[c]); }
    double Double(int c) const { return sqlite3_value_double(v[c]); }
    const void* Text(int c) const { return sqlite3_value_text(v[c]); }
    const void* Blob(int c) const { return sqlite3_value_blob(v[c]); }
    int Bytes(int c) const { return sqlite3_value_bytes(v[c]); }
};

} // namespace

void RowSumToBytes(const RowSum& sum, unsigned char* bytes) {
    std::memcpy(bytes, &sum.a, 8);
    std::memcpy(bytes + 8, &sum.b, 8);
    std::memcpy(bytes + 16, &sum.count, 8);
}

RowSum RowSumFromBytes(const void* bytes) {
    RowSum sum;
    const auto* b = static_cast<const unsigned char*>(bytes);
    std::memcpy(&sum.a, b, 8);
    std::memcpy(&sum.b, b + 8, 8);
    std::memcpy(&sum.count, b + 16, 8);
    return sum;
}

void SumRowsByKey(Connection& connection, const QString& sql, quint64 salt,
                  std::unordered_map<qint64, RowSum>& sums) {
    Connection::Statement statement = connection.Prepare(sql);
    struct Reset {
        Connection::Statement& s;
        ~Reset() { s.Release(); }
    } reset{statement};
    sqlite3_stmt* s = statement.get();
    const int columns = sqlite3_column_count(s);
    Zeile zeile;
    qint64 lastKey = 0;
    RowSum* last = nullptr;
    while (statement.Step()) {
        const qint64 key = sqlite3_column_int64(s, 0);
        const auto [a, b] = zeilendigest(zeile, salt, Spalten{s}, 1, columns);
        if (!last || key != lastKey) {
            last = &sums[key];
            lastKey = key;
        }
        last->a += a;
        last->b += b;
        ++last->count;
    }
}

std::pair<quint64, quint64> RowDigest(quint64 salt, sqlite3_value* const* values, int count,
                                      const char* real) {
    Zeile zeile;
    return zeilendigest(zeile, salt, Werte{values, real}, 0, count);
}
