#pragma once

// What the rows of chosen tables held before the writes of the open
// transaction of one connection, gathered row by row from the engine as it
// changes them (its pre-update hook): for every record key the sum of the
// rows as they were minus the rows as they are now, each row hashed as
// SumRowsByKey hashes it, so that the sum of a key's rows now plus its
// change is the sum of its rows before. Before the transaction commits, in
// it, the changes are handed to whoever keeps them; a rollback (of a
// savepoint too) takes back what it took back, and a statement that fails
// takes back its own rows. Nothing of this passes a statement journal, so a
// write of many rows costs what it cost before.

#include "platform/database/RowScan.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_value;

class RowJournal {
public:
    struct Table {
        QString name;
        quint64 salt = 0;
        // Every row belongs to record key 0; otherwise the key is the column ID.
        bool wholeTable = false;
        // The columns hashed, in order; an empty name stands for Null.
        QStringList columns;
        // When not empty, a row counts only when one of these is not zero.
        QStringList ranges;
        // When set, the first value of this column that a key had before
        // any change of its row in this table is kept (see Before). A key
        // (other than 0) whose head row was not there before was nothing
        // before, unless SetWereThere names it: its change is not summed.
        QString head;
    };
    struct Before {
        RowSum change;          // rows before added, rows now taken away
        bool headSeen = false;  // the key's row of the head's table was changed
        bool headThere = false; // ...and it was there before
        QVariant head;          // ...with this value of the head column
    };
    using Changes = std::map<qint64, Before>;
    // `keep` writes the changes in the transaction that is about to commit
    // (called for every transaction that ran a write statement, with
    // the changes of the chosen tables); when it throws, nothing is
    // committed.
    RowJournal(QList<Table> tables, std::function<void(const Changes&)> keep);

    // Forgets what changed of a key in the open transaction (its writes met
    // their source).
    void Forget(qint64 key);
    // The file change counter of the database as the open transaction
    // began (see FileChangeCounter): what the last commit left, read before
    // anything of this transaction can reach the file.
    std::optional<quint32> CounterAtBegin() const { return m_counterAtBegin; }
    // Asked as each transaction begins: the keys that were records before
    // although their head row is not there now (a deletion kept earlier).
    // Such a key is summed even when its head row comes anew.
    void SetWereThere(std::function<std::set<qint64>()> wereThere) {
        m_wereThere = std::move(wereThere);
    }

private:
    friend class Connection;
    struct Resolved {
        Table table;
        int id = -1;
        int head = -1;
        std::vector<int> columns; // -1 for Null
        // Per hashed column: whether the engine gives it real affinity. A
        // whole number stored in such a column reads back as a real, but a
        // row being inserted hands it to the hook as an integer.
        std::vector<char> real;
        std::vector<int> ranges;
        // The key of each row (by rowid) that the open transaction wrote:
        // a row written again (a column written after another) is known
        // without reading its old record.
        std::unordered_map<qint64, qint64> keys;
    };
    // The engine's pre-update hook, `self` the journal.
    static void engineHook(void* self, sqlite3* db, int op, const char* database, const char* table,
                           long long, long long);
    // Resolves the tables against the columns of the file just opened.
    void attach(sqlite3* db);
    void rowChanging(sqlite3* db, int op, const char* database, const char* table, qint64 oldRowid,
                     qint64 newRowid);
    void statementBegins();
    void statementFailed();
    void levelBegins();
    void levelReleased();
    void levelRolledBack();
    void transactionBegins();
    void transactionEnds();
    void keep();

    QList<Table> m_tables;
    std::function<void(const Changes&)> m_keep;
    std::function<std::set<qint64>()> m_wereThere;
    std::set<qint64> m_there;
    std::vector<Resolved> m_resolved;
    Changes m_changes;
    std::vector<Changes> m_levels;
    // What the running statement changed, to be taken back when it fails:
    // each key's entry as it was before the statement first changed it.
    std::vector<std::pair<qint64, std::optional<Before>>> m_statement;
    // ...and each row key it cached, as it was before (the table's index in
    // m_resolved, the rowid, the key before or none).
    struct CachedKey {
        size_t table;
        qint64 rowid;
        std::optional<qint64> before;
    };
    std::vector<CachedKey> m_statementKeys;
    // The table of the last row, and the values of a row, reused.
    Resolved* m_last = nullptr;
    QByteArray m_lastName;
    std::vector<sqlite3_value*> m_values;
    bool m_keeping = false;
    // The open transaction ran a write statement (of any table, or of the
    // schema).
    bool m_wrote = false;
    sqlite3* m_db = nullptr;
    std::optional<quint32> m_counterAtBegin;
};
