#include "platform/database/Recordset.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/Variant.h"

#include <QSet>
#include <sqlite3.h>

namespace {

// Where the select list begins, when the query is a plain SELECT on one
// table whose rows can be written back: no DISTINCT, join, grouping,
// aggregate or compound at the top level. -1 otherwise. Strings, quoted
// names and sub-queries in parentheses are skipped.
qsizetype selectListStart(const QString& sql) {
    static const QSet<QString> refused = {
        QStringLiteral("DISTINCT"),  QStringLiteral("GROUP"),  QStringLiteral("UNION"),
        QStringLiteral("INTERSECT"), QStringLiteral("EXCEPT"), QStringLiteral("JOIN"),
        QStringLiteral("HAVING"),    QStringLiteral("WINDOW"), QStringLiteral("VALUES")};
    static const QSet<QString> aggregates = {QStringLiteral("COUNT"),       QStringLiteral("MAX"),
                                             QStringLiteral("MIN"),         QStringLiteral("SUM"),
                                             QStringLiteral("AVG"),         QStringLiteral("TOTAL"),
                                             QStringLiteral("GROUP_CONCAT")};
    static const QSet<QString> endOfFrom = {QStringLiteral("WHERE"), QStringLiteral("ORDER"),
                                            QStringLiteral("LIMIT")};
    const qsizetype n = sql.size();
    qsizetype i = 0;
    qsizetype start = -1;
    int depth = 0;
    bool inFrom = false;
    QString previousWord;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql.at(i) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            ++i;
            while (i < n) {
                if (sql.at(i) == close) {
                    if (close != QLatin1Char(']') && i + 1 < n && sql.at(i + 1) == close) {
                        i += 2; // a doubled quote inside
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
            previousWord.clear();
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype begin = i;
            while (i < n && (sql.at(i).isLetterOrNumber() || sql.at(i) == QLatin1Char('_')))
                ++i;
            const QString word = sql.mid(begin, i - begin).toUpper();
            if (start < 0) {
                if (word != QLatin1String("SELECT")) return -1;
                start = i;
            } else if (depth == 0) {
                if (refused.contains(word)) return -1;
                if (word == QLatin1String("FROM")) inFrom = true;
                if (endOfFrom.contains(word)) inFrom = false;
            }
            previousWord = word;
            continue;
        }
        if (c == QLatin1Char('(')) {
            if (depth == 0 && aggregates.contains(previousWord)) return -1;
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == QLatin1Char(',') && depth == 0 && inFrom) {
            return -1; // a second table
        } else if (c == QLatin1Char(';')) {
            break;
        }
        previousWord.clear();
        ++i;
    }
    return start;
}

QString text(const char* utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace

// Field ----------------------------------------------------------------------

QString Field::Name() const {
    return m_recordset->m_columns[size_t(m_index)].name;
}
FieldType Field::Type() const {
    return m_recordset->m_columns[size_t(m_index)].type;
}
QVariant Field::Value() const {
    return m_recordset->fieldValue(m_index);
}
void Field::SetValue(const QVariant& value) const {
    m_recordset->setField(m_index, value);
}

// Opening and closing ----------------------------------------------------------

Recordset::Recordset() = default;

Recordset::Recordset(const QString& sql, Connection& connection, const QVariantList& parameters) {
    Open(sql, connection, parameters);
}

Recordset::~Recordset() {
    Close();
}

void Recordset::Open(const QString& sql, Connection& connection, const QVariantList& parameters) {
    Close();
    connection.RequireOpen();
    // To write a row back the set needs its rowid: a query on one table is
    // run with the rowid in front of its own columns.
    const qsizetype start = selectListStart(sql);
    Connection::Statement statement;
    int offset = 0;
    if (start >= 0) {
        statement =
            connection.TryPrepare(sql.left(start) + QStringLiteral(" rowid,") + sql.mid(start));
        offset = statement.get() ? 1 : 0;
    }
    if (!statement.get()) statement = connection.Prepare(sql);
    sqlite3_stmt* st = statement.get();
    BindValues(st, parameters);
    // The columns are described after the first step: a statement that the
    // engine prepared again for a changed schema describes them only then.
    bool row = statement.Step();
    const int count = sqlite3_column_count(st) - offset;
    QString table;
    bool oneTable = offset == 1 && sqlite3_column_table_name(st, 0) != nullptr;
    if (oneTable) table = text(sqlite3_column_table_name(st, 0));
    m_columns.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        Column& column = m_columns[size_t(i)];
        column.name = text(sqlite3_column_name(st, i + offset));
        column.type = FieldTypeFromDeclared(sqlite3_column_decltype(st, i + offset));
        const char* origin = sqlite3_column_origin_name(st, i + offset);
        const char* from = sqlite3_column_table_name(st, i + offset);
        const char* schema = sqlite3_column_database_name(st, i + offset);
        if (origin && from && schema && qstrcmp(schema, "main") == 0 &&
            table.compare(QString::fromUtf8(from), Qt::CaseInsensitive) == 0)
            column.origin = text(origin);
        else if (from)
            oneTable = false; // a column of another table
    }
    bool anyOrigin = false;
    for (const Column& column : m_columns)
        anyOrigin = anyOrigin || !column.origin.isEmpty();
    if (!oneTable || !anyOrigin) table.clear();

    try {
        while (row) {
            Row values;
            if (offset) values.rowid = sqlite3_column_int64(st, 0);
            values.values.resize(size_t(count));
            for (int i = 0; i < count; ++i)
                values.values[size_t(i)] =
                    FieldValue(m_columns[size_t(i)].type, ColumnStored(st, i + offset));
            m_rows.push_back(std::move(values));
            row = statement.Step();
        }
    } catch (...) {
        m_columns.clear();
        m_rows.clear();
        throw;
    }
    statement.Release();

    m_connection = &connection;
    m_source = sql;
    m_table = table;
    m_live = qsizetype(m_rows.size());
    m_position = 0;
    m_pending.assign(size_t(count), QVariant());
    m_changed.assign(size_t(count), 0);
    m_dirty = false;
    m_open = true;
}

void Recordset::Close() {
    m_open = false;
    m_connection = nullptr;
    m_source.clear();
    m_table.clear();
    m_columns.clear();
    m_rows.clear();
    m_live = 0;
    m_position = 0;
    m_pending.clear();
    m_changed.clear();
    m_dirty = false;
    m_lastChanged.clear();
    m_write.Release();
    m_defaults.clear();
}

void Recordset::requireOpen() const {
    if (!m_open) throw DatabaseError::ObjectClosedError();
}

// Position -------------------------------------------------------------------

bool Recordset::Eof() const {
    requireOpen();
    const bool onRow = m_position >= 0 && m_position < qsizetype(m_rows.size());
    return m_position >= qsizetype(m_rows.size()) || (!onRow && m_live == 0);
}

bool Recordset::Bof() const {
    requireOpen();
    const bool onRow = m_position >= 0 && m_position < qsizetype(m_rows.size());
    return m_position < 0 || (!onRow && m_live == 0);
}

int Recordset::RecordCount() const {
    requireOpen();
    return int(m_live);
}

void Recordset::skipDeletedForward() {
    while (m_position < qsizetype(m_rows.size()) && m_rows[size_t(m_position)].deleted)
        ++m_position;
}

void Recordset::skipDeletedBackward() {
    while (m_position >= 0 && m_rows[size_t(m_position)].deleted)
        --m_position;
}

void Recordset::MoveFirst() {
    requireOpen();
    updateIfPending();
    if (m_live == 0) throw DatabaseError::NoCurrentRecordError();
    m_position = 0;
    skipDeletedForward();
}

void Recordset::MoveLast() {
    requireOpen();
    updateIfPending();
    if (m_live == 0) throw DatabaseError::NoCurrentRecordError();
    m_position = qsizetype(m_rows.size()) - 1;
    skipDeletedBackward();
}

void Recordset::MoveNext() {
    requireOpen();
    updateIfPending();
    if (Eof()) throw DatabaseError::NoCurrentRecordError();
    ++m_position;
    skipDeletedForward();
}

void Recordset::MovePrevious() {
    requireOpen();
    updateIfPending();
    if (Bof()) throw DatabaseError::NoCurrentRecordError();
    --m_position;
    skipDeletedBackward();
}

// Fields ---------------------------------------------------------------------

int Recordset::FieldCount() const {
    requireOpen();
    return int(m_columns.size());
}

int Recordset::indexOf(const QString& name) const {
    // Names are mostly written as the query writes them; the first match in
    // the order of the columns wins, as with the original runtime.
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name == name) return int(i);
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    throw DatabaseError::ItemNotFoundError(name);
}

Field Recordset::Fields(int index) {
    requireOpen();
    if (index < 0 || index >= int(m_columns.size()))
        throw DatabaseError::ItemNotFoundError(QString::number(index));
    return Field(this, index);
}

Field Recordset::Fields(const QString& name) {
    requireOpen();
    return Field(this, indexOf(name));
}

Recordset::Row& Recordset::currentRow() {
    requireOpen();
    if (m_position < 0 || m_position >= qsizetype(m_rows.size()) ||
        m_rows[size_t(m_position)].deleted)
        throw DatabaseError::NoCurrentRecordError();
    return m_rows[size_t(m_position)];
}

const Recordset::Row& Recordset::currentRow() const {
    return const_cast<Recordset*>(this)->currentRow();
}

QVariant Recordset::fieldValue(int index) const {
    const Row& row = currentRow();
    if (m_changed[size_t(index)])
        return FieldValue(m_columns[size_t(index)].type, m_pending[size_t(index)]);
    return row.values[size_t(index)];
}

void Recordset::requireWritable(int field) const {
    if (m_table.isEmpty() || m_columns[size_t(field)].origin.isEmpty())
        throw DatabaseError::NotUpdatableError();
}

void Recordset::setField(int index, const QVariant& value) {
    currentRow();
    requireWritable(index);
    const Column& column = m_columns[size_t(index)];
    // Converted now, so a value that does not fit is refused at once and
    // nothing of it reaches the table.
    m_pending[size_t(index)] = StoredValue(column.type, value, column.origin);
    m_changed[size_t(index)] = 1;
    m_dirty = true;
}

// Changes --------------------------------------------------------------------

void Recordset::AddNew() {
    requireOpen();
    if (m_table.isEmpty()) throw DatabaseError::NotUpdatableError();
    updateIfPending();
    Row row;
    row.added = true;
    row.values.assign(m_columns.size(), VNull());
    m_rows.push_back(std::move(row));
    ++m_live;
    m_position = qsizetype(m_rows.size()) - 1;
    m_dirty = true;
}

void Recordset::updateIfPending() {
    if (m_dirty) Update();
}

sqlite3_stmt* Recordset::writeStatement(bool insert) {
    if (m_write.Valid() && insert == m_lastInsert && m_changed == m_lastChanged)
        return m_write.get();
    m_write.Release();
    QString names;
    QString values;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!m_changed[i]) continue;
        const QString name =
            QLatin1Char('"') +
            QString(m_columns[i].origin).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
            QLatin1Char('"');
        if (insert) {
            names += (names.isEmpty() ? QString() : QStringLiteral(",")) + name;
            values += values.isEmpty() ? QStringLiteral("?") : QStringLiteral(",?");
        } else {
            names +=
                (names.isEmpty() ? QString() : QStringLiteral(",")) + name + QStringLiteral("=?");
        }
    }
    const QString table = QLatin1Char('"') +
                          QString(m_table).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                          QLatin1Char('"');
    QString sql;
    if (insert)
        sql = names.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names, values);
    else
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table, names);
    m_write = m_connection->Prepare(sql);
    m_lastChanged = m_changed;
    m_lastInsert = insert;
    return m_write.get();
}

void Recordset::readDefaults() {
    if (!m_defaults.empty()) return;
    const auto& columns = m_connection->TableColumns(m_table);
    m_defaults.assign(m_columns.size(), VNull());
    for (size_t i = 0; i < m_columns.size(); ++i) {
        for (const auto& column : columns) {
            if (column.name.compare(m_columns[i].origin, Qt::CaseInsensitive) == 0) {
                m_defaults[i] = FieldValue(m_columns[i].type, column.defaultStored);
                break;
            }
        }
    }
}

void Recordset::Update() {
    requireOpen();
    if (!m_dirty) return;
    Row& row = currentRow();
    if (m_table.isEmpty()) throw DatabaseError::NotUpdatableError();
    bool any = false;
    for (char c : m_changed)
        any = any || c;
    if (!any && !row.added) {
        m_dirty = false;
        return;
    }
    m_connection->RequireOpen();
    sqlite3_stmt* statement = writeStatement(row.added);
    int parameter = 1;
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_changed[i]) BindValue(statement, parameter++, m_pending[i]);
    if (!row.added) sqlite3_bind_int64(statement, parameter, row.rowid);
    const int rc = m_connection->StepStatement(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE) m_connection->Raise(rc, QString::fromUtf8(sqlite3_sql(statement)));
    sqlite3* db = m_connection->Handle();
    if (row.added) {
        row.rowid = sqlite3_last_insert_rowid(db);
        readDefaults();
        for (size_t i = 0; i < m_columns.size(); ++i)
            row.values[i] =
                m_changed[i] ? FieldValue(m_columns[i].type, m_pending[i]) : m_defaults[i];
        row.added = false;
    } else {
        if (sqlite3_changes(db) == 0)
            throw DatabaseError::Make(
                DatabaseError::Failure,
                QStringLiteral("Row cannot be located for updating (%1)").arg(m_table));
        for (size_t i = 0; i < m_columns.size(); ++i)
            if (m_changed[i]) row.values[i] = FieldValue(m_columns[i].type, m_pending[i]);
    }
    std::fill(m_changed.begin(), m_changed.end(), 0);
    std::fill(m_pending.begin(), m_pending.end(), QVariant());
    m_dirty = false;
}

void Recordset::CancelUpdate() {
    requireOpen();
    if (!m_dirty) return;
    std::fill(m_changed.begin(), m_changed.end(), 0);
    std::fill(m_pending.begin(), m_pending.end(), QVariant());
    m_dirty = false;
    if (m_position >= 0 && m_position < qsizetype(m_rows.size()) &&
        m_rows[size_t(m_position)].added) {
        m_rows.erase(m_rows.begin() + m_position);
        --m_live;
        // ADO returns to the row that was current before AddNew; the last
        // row is the nearest we know.
        m_position = qsizetype(m_rows.size()) - 1;
        skipDeletedBackward();
        if (m_position < 0) m_position = qsizetype(m_rows.size());
    }
}

void Recordset::Delete() {
    Row& row = currentRow();
    if (m_table.isEmpty()) throw DatabaseError::NotUpdatableError();
    if (row.added) {
        std::fill(m_changed.begin(), m_changed.end(), 0);
        std::fill(m_pending.begin(), m_pending.end(), QVariant());
        m_dirty = false;
    } else {
        m_connection->RequireOpen();
        Connection::Statement statement = m_connection->Prepare(
            QStringLiteral("DELETE FROM \"%1\" WHERE rowid=?")
                .arg(QString(m_table).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
        sqlite3_bind_int64(statement.get(), 1, row.rowid);
        while (statement.Step()) {
        }
        statement.Release();
        std::fill(m_changed.begin(), m_changed.end(), 0);
        std::fill(m_pending.begin(), m_pending.end(), QVariant());
        m_dirty = false;
    }
    row.deleted = true;
    --m_live;
}
