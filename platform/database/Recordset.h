#pragma once

// A row set over a query, in the manner of the data-access runtime the
// program was written for, with a static cursor: the rows are read when it
// opens, and moving through them runs no further query. Fields are found by
// name (letter case ignored) or by index; their values come typed by the
// column's declared type (see FieldType.h), Null as VNull().
//
// A query on one table (no join, grouping or aggregate) can be changed: AddNew
// and Update insert a row or write the fields changed in the current row (by
// the row's rowid, nothing else), Delete removes the current row. Moving off
// a changed row updates it first. Writes convert each value to its column's
// type like the original engine, so a text that is no number is refused with
// a data error before anything is written. Any other query is read-only and
// refuses changes with DatabaseError::NotUpdatable.
//
// The connection must outlive the open row set.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

#include "platform/database/Connection.h"
#include "platform/database/FieldType.h"

class Recordset;

// One field of the current row. A light handle: it names the row set and the
// field's index.
class Field {
public:
    QString Name() const;
    FieldType Type() const;
    QVariant Value() const;
    void SetValue(const QVariant& value) const;
    // rs.Fields("KEN") = text: sets the value.
    const Field& operator=(const QVariant& value) const {
        SetValue(value);
        return *this;
    }
    Field(const Field&) = default;
    // Assigning one field to another would copy the handle, not the value:
    // write a.SetValue(b.Value()) or a = b.Value().
    Field& operator=(const Field&) = delete;

private:
    friend class Recordset;
    Field(Recordset* recordset, int index) : m_recordset(recordset), m_index(index) {}
    Recordset* m_recordset;
    int m_index;
};

class Recordset {
public:
    enum { adStateClosed = 0, adStateOpen = 1 };

    Recordset();
    // Opens at once (see Open).
    Recordset(const QString& sql, Connection& connection, const QVariantList& parameters = {});
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs the query and reads its rows; the current row is the first (EOF
    // and BOF when there is none). Values in `parameters` are bound to the
    // query's "?". An open row set is closed first.
    void Open(const QString& sql, Connection& connection, const QVariantList& parameters = {});
    // Forgets the rows; a pending AddNew or change that was not updated is
    // dropped.
    void Close();
    int State() const { return m_open ? adStateOpen : adStateClosed; }
    bool IsOpen() const { return m_open; }
    QString Source() const { return m_source; }

    // Before the first row / after the last row; both with no rows.
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // The rows of the set (added ones included, deleted ones not).
    int RecordCount() const;

    int FieldCount() const;
    Field Fields(int index);
    Field Fields(const QString& name);
    QVariant Value(const QString& name) { return Fields(name).Value(); }
    void SetValue(const QString& name, const QVariant& value) { Fields(name).SetValue(value); }

    // The table that the rows come from; empty for a read-only result.
    QString BaseTable() const { return m_table; }
    bool Updatable() const { return !m_table.isEmpty(); }

    // A new row after the last one becomes the current row; Update inserts
    // it with the fields set meanwhile (the others take their defaults).
    void AddNew();
    // Writes the pending changes of the current row. Nothing pending: nothing
    // happens.
    void Update();
    // Drops the pending changes of the current row (and an added row that
    // was not updated yet).
    void CancelUpdate();
    // Deletes the current row from the table; it stays current, marked
    // deleted, until the next move.
    void Delete();

private:
    friend class Field;
    struct Column {
        QString name;   // as the query names it
        QString origin; // the table's column; empty for an expression
        FieldType type = FieldType::Unknown;
    };
    struct Row {
        qlonglong rowid = 0;
        bool added = false; // AddNew, not inserted yet
        bool deleted = false;
        std::vector<QVariant> values;
    };

    void requireOpen() const;
    Row& currentRow();
    const Row& currentRow() const;
    void requireWritable(int field) const;
    int indexOf(const QString& name) const;
    void updateIfPending();
    void skipDeletedForward();
    void skipDeletedBackward();
    sqlite3_stmt* writeStatement(bool insert);
    void readDefaults();
    void setField(int index, const QVariant& value);
    QVariant fieldValue(int index) const;

    Connection* m_connection = nullptr;
    bool m_open = false;
    QString m_source;
    QString m_table; // base table when the rows can be changed
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    qsizetype m_live = 0;     // rows not deleted
    qsizetype m_position = 0; // -1 BOF, m_rows.size() EOF
    // Pending changes of the current row: stored forms by field.
    std::vector<QVariant> m_pending;
    std::vector<char> m_changed;
    bool m_dirty = false;
    // The statement for the last set of changed fields, kept prepared
    // because a long series of AddNew/Update changes the same fields every
    // time.
    std::vector<char> m_lastChanged;
    bool m_lastInsert = false;
    Connection::Statement m_write;
    // The table's defaults by field (typed), read at the first insert.
    std::vector<QVariant> m_defaults;
};
