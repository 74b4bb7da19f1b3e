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
        if (m_lang.isEmpty()) m_lang.append(reinterpret_cast<const char*>(m_puffer), qsizetype(m_laenge));
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
    Zeile zeile;
    qint64 lastKey = 0;
    RowSum* last = nullptr;
    while (statement.Step()) {
        const qint64 key = sqlite3_column_int64(s, 0);
        zeile.Leeren();
        zeile.Anhaengen(&salt, sizeof salt);
        for (int c = 1; c < columns; ++c) {
            const unsigned char type = static_cast<unsigned char>(sqlite3_column_type(s, c));
            zeile.Anhaengen(&type, 1);
            switch (type) {
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_column_int64(s, c);
                zeile.Anhaengen(&v, sizeof v);
                break;
            }
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(s, c);
                zeile.Anhaengen(&v, sizeof v);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const void* data = type == SQLITE_TEXT ? static_cast<const void*>(
                                                             sqlite3_column_text(s, c))
                                                       : sqlite3_column_blob(s, c);
                const int size = sqlite3_column_bytes(s, c);
                zeile.Anhaengen(&size, sizeof size);
                if (size > 0) zeile.Anhaengen(data, size_t(size));
                break;
            }
            default:
                break;
            }
        }
        const auto [a, b] = zeile.Digest();
        if (!last || key != lastKey) {
            last = &sums[key];
            lastKey = key;
        }
        last->a += a;
        last->b += b;
        ++last->count;
    }
}
