#include "platform/database/RowJournal.h"

#include <QByteArray>
#include <sqlite3.h>
#include <utility>

namespace {

sqlite3_value* spalte(sqlite3* db, bool alt, int i) {
    sqlite3_value* v = nullptr;
    if (i < 0 ||
        (alt ? sqlite3_preupdate_old(db, i, &v) : sqlite3_preupdate_new(db, i, &v)) != SQLITE_OK)
        return nullptr;
    return v;
}

QVariant variant(sqlite3_value* v) {
    if (!v) return QVariant();
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                          sqlite3_value_bytes(v)));
    case SQLITE_BLOB:
        return QVariant(
            QByteArray(static_cast<const char*>(sqlite3_value_blob(v)), sqlite3_value_bytes(v)));
    default:
        return QVariant();
    }
}

bool nichtNull(sqlite3_value* v) {
    if (!v) return false;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        return sqlite3_value_int64(v) != 0;
    case SQLITE_FLOAT:
        return sqlite3_value_double(v) != 0.0;
    default:
        return true;
    }
}

void hinzu(RowSum& summe, const std::pair<quint64, quint64>& zeile, bool weg) {
    if (weg) {
        summe.a -= zeile.first;
        summe.b -= zeile.second;
        --summe.count;
    } else {
        summe.a += zeile.first;
        summe.b += zeile.second;
        ++summe.count;
    }
}

// The engine's rule for a declared type whose column holds reals.
bool realAffinity(const QString& typ) {
    if (typ.contains(QLatin1String("INT")) || typ.contains(QLatin1String("CHAR")) ||
        typ.contains(QLatin1String("CLOB")) || typ.contains(QLatin1String("TEXT")) ||
        typ.contains(QLatin1String("BLOB")))
        return false;
    return typ.contains(QLatin1String("REAL")) || typ.contains(QLatin1String("FLOA")) ||
           typ.contains(QLatin1String("DOUB"));
}

} // namespace

RowJournal::RowJournal(QList<Table> tables, std::function<void(const Changes&)> keep)
    : m_tables(std::move(tables)), m_keep(std::move(keep)) {}

void RowJournal::Forget(qint64 key) {
    m_changes.erase(key);
}

void RowJournal::attach(sqlite3* db) {
    m_db = db;
    m_last = nullptr;
    m_lastName.clear();
    m_resolved.clear();
    m_changes.clear();
    m_levels.clear();
    m_statementKeys.clear();
    for (const Table& table : m_tables) {
        Resolved r{table, -1, -1, {}, {}, {}, {}};
        QStringList namen, typen;
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info(?1)", -1, &s,
                               nullptr) == SQLITE_OK) {
            const QByteArray name = table.name.toUtf8();
            sqlite3_bind_text(s, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            while (sqlite3_step(s) == SQLITE_ROW) {
                namen << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)))
                             .toUpper();
                typen << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)))
                             .toUpper();
            }
        }
        sqlite3_finalize(s);
        if (namen.isEmpty()) continue;
        const auto index = [&](const QString& spalte) {
            return spalte.isEmpty() ? -1 : int(namen.indexOf(spalte.toUpper()));
        };
        r.id = index(QStringLiteral("ID"));
        r.head = index(table.head);
        for (const QString& spalte : table.columns) {
            const int i = index(spalte);
            r.columns.push_back(i);
            r.real.push_back(i >= 0 && realAffinity(typen[i]));
        }
        for (const QString& spalte : table.ranges)
            r.ranges.push_back(index(spalte));
        m_resolved.push_back(std::move(r));
    }
}

void RowJournal::engineHook(void* self, sqlite3* db, int op, const char* database,
                            const char* table, long long oldRowid, long long newRowid) {
    static_cast<RowJournal*>(self)->rowChanging(db, op, database, table, oldRowid, newRowid);
}

void RowJournal::rowChanging(sqlite3* db, int op, const char* database, const char* table,
                             qint64 oldRowid, qint64 newRowid) {
    if (m_keeping || qstrcmp(database, "main") != 0) return;
    m_wrote = true;
    // Rows come table by table: the last table is looked up once.
    if (m_lastName != table) {
        m_lastName = table;
        m_last = nullptr;
        for (Resolved& kandidat : m_resolved)
            if (kandidat.table.name.compare(QLatin1String(table), Qt::CaseInsensitive) == 0)
                m_last = &kandidat;
    }
    Resolved* r = m_last;
    if (!r) return;
    // A row's record key: an old row that this transaction wrote before is
    // known without reading its old record; a new row's is read (cheap for
    // an update).
    const auto schluesselVon = [&](bool alt, qint64 rowid) -> qint64 {
        if (r->table.wholeTable) return 0;
        if (alt) {
            const auto bekannt = r->keys.find(rowid);
            if (bekannt != r->keys.end()) return bekannt->second;
        }
        return sqlite3_value_int64(spalte(db, alt, r->id));
    };
    // A key whose head row was not there before was no record before: what
    // its rows were does not count (key 0, of the whole tables' rows, is
    // always a record).
    const auto nichtig = [&](qint64 schluessel) {
        if (schluessel == 0 || m_there.count(schluessel)) return false;
        const auto vorher = m_changes.find(schluessel);
        return vorher != m_changes.end() && vorher->second.headSeen && !vorher->second.headThere;
    };
    // Whether a row counts, and its hash.
    const auto zaehlt = [&](bool alt) {
        bool ja = r->ranges.empty();
        for (const int i : r->ranges)
            ja = ja || nichtNull(spalte(db, alt, i));
        return ja;
    };
    const auto hash = [&](bool alt) {
        m_values.clear();
        for (const int i : r->columns)
            m_values.push_back(spalte(db, alt, i));
        return RowDigest(r->table.salt, m_values.data(), int(m_values.size()), r->real.data());
    };
    const auto seite = [&](bool alt, qint64 schluessel,
                           std::optional<std::pair<quint64, quint64>> zeile) {
        if (nichtig(schluessel)) return;
        if (m_statement.empty() || m_statement.back().first != schluessel) {
            const auto frueher = m_changes.find(schluessel);
            m_statement.emplace_back(schluessel, frueher == m_changes.end()
                                                     ? std::nullopt
                                                     : std::optional<Before>(frueher->second));
        }
        Before& vorher = m_changes[schluessel];
        if (r->head >= 0 && !vorher.headSeen) {
            vorher.headSeen = true;
            vorher.headThere = alt;
            if (alt) vorher.head = variant(spalte(db, true, r->head));
        }
        if (nichtig(schluessel)) return;
        if (!zeile) {
            if (!zaehlt(alt)) return;
            zeile = hash(alt);
        }
        hinzu(vorher.change, *zeile, !alt);
    };
    const qint64 alt = op == SQLITE_INSERT ? 0 : schluesselVon(true, oldRowid);
    const qint64 neu = op == SQLITE_DELETE ? 0 : schluesselVon(false, newRowid);
    if (op != SQLITE_DELETE && !r->table.wholeTable &&
        (op == SQLITE_INSERT || oldRowid != newRowid || alt != neu ||
         r->keys.find(newRowid) == r->keys.end())) {
        const auto frueher = r->keys.find(newRowid);
        m_statementKeys.push_back(
            {size_t(r - m_resolved.data()), newRowid,
             frueher == r->keys.end() ? std::nullopt : std::optional<qint64>(frueher->second)});
        r->keys[newRowid] = neu;
    }
    if (op == SQLITE_UPDATE && alt == neu) {
        if (nichtig(alt)) return;
        // An update of what no digest holds (a selection) changes nothing.
        const bool vorherZaehlt = zaehlt(true), jetztZaehlt = zaehlt(false);
        const auto vorherZeile = vorherZaehlt ? hash(true) : std::pair<quint64, quint64>();
        const auto jetztZeile = jetztZaehlt ? hash(false) : std::pair<quint64, quint64>();
        if (vorherZaehlt == jetztZaehlt && vorherZeile == jetztZeile &&
            (r->head < 0 ||
             variant(spalte(db, true, r->head)) == variant(spalte(db, false, r->head))))
            return;
        using Zeile = std::optional<std::pair<quint64, quint64>>;
        seite(true, alt, vorherZaehlt ? Zeile(vorherZeile) : std::nullopt);
        seite(false, neu, jetztZaehlt ? Zeile(jetztZeile) : std::nullopt);
        return;
    }
    if (op != SQLITE_INSERT) seite(true, alt, std::nullopt);
    if (op != SQLITE_DELETE) seite(false, neu, std::nullopt);
}

void RowJournal::statementBegins() {
    // Only a write statement passes here (a change of the schema too).
    m_wrote = true;
    m_statement.clear();
    m_statementKeys.clear();
}

void RowJournal::statementFailed() {
    // Back to front: a key saved twice gets its oldest entry.
    for (auto it = m_statement.rbegin(); it != m_statement.rend(); ++it) {
        if (it->second)
            m_changes[it->first] = *it->second;
        else
            m_changes.erase(it->first);
    }
    m_statement.clear();
    // The rows it moved are back under their keys before it.
    for (auto it = m_statementKeys.rbegin(); it != m_statementKeys.rend(); ++it) {
        auto& keys = m_resolved[it->table].keys;
        if (it->before)
            keys[it->rowid] = *it->before;
        else
            keys.erase(it->rowid);
    }
    m_statementKeys.clear();
}

void RowJournal::levelBegins() {
    m_levels.push_back(m_changes);
}

void RowJournal::levelReleased() {
    if (!m_levels.empty()) m_levels.pop_back();
}

void RowJournal::levelRolledBack() {
    // Rowids rolled back may come again for other rows.
    for (Resolved& r : m_resolved)
        r.keys.clear();
    if (m_levels.empty()) return;
    m_changes = std::move(m_levels.back());
    m_levels.pop_back();
}

void RowJournal::transactionBegins() {
    m_wrote = false;
    m_counterAtBegin.reset();
    // Through the connection's own file handle: no other file is opened.
    sqlite3_file* datei = nullptr;
    unsigned char kopf[28];
    if (m_db &&
        sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &datei) == SQLITE_OK &&
        datei && datei->pMethods &&
        datei->pMethods->xRead(datei, kopf, sizeof kopf, 0) == SQLITE_OK && kopf[18] != 2 &&
        kopf[19] != 2)
        m_counterAtBegin = quint32(kopf[24]) << 24 | quint32(kopf[25]) << 16 |
                           quint32(kopf[26]) << 8 | quint32(kopf[27]);
    m_there = m_wereThere ? m_wereThere() : std::set<qint64>();
}

void RowJournal::transactionEnds() {
    for (Resolved& r : m_resolved)
        r.keys.clear();
    m_changes.clear();
    m_levels.clear();
}

void RowJournal::keep() {
    if ((m_changes.empty() && !m_wrote) || !m_keep) return;
    m_keeping = true;
    try {
        m_keep(m_changes);
    } catch (...) {
        m_keeping = false;
        throw;
    }
    m_keeping = false;
    m_changes.clear();
    m_wrote = false;
}
