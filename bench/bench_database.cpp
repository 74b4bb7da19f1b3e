// The database layer against the engine's own interface: writing the
// readings of one record (32,766 rows of E3, the most a record holds) through
// a row set with AddNew/Update, as the program's row writer does, beside a
// prepared INSERT of the same rows; both in one transaction. BM_RawSelect
// reads those rows back with a prepared SELECT, the baseline of the readers.

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Project {
    Project() {
        path = dir.filePath(QStringLiteral("VELD.mdb"));
        PROJEKTDATENBANKANLEGEN(path);
        db.Open(path);
    }
    QTemporaryDir dir;
    QString path;
    Connection db;
};

const QString kDatum = QStringLiteral("01.02.03");
const QString kUhrzeit = QStringLiteral("08:15:00");

void writeThroughRecordset(Connection& db, int rows) {
    Transaction transaction(db);
    Recordset rs(QStringLiteral(
                     "SELECT [ID],[I1],[DATUM],[UHRZEIT],[DET],[V],[TEMP] FROM [E3] WHERE [ID] = 1 "
                     "ORDER BY [I1]"),
                 db);
    for (int i = 0; i < rows; ++i) {
        rs.AddNew();
        rs.Fields("ID") = 1;
        rs.Fields("I1") = i;
        rs.Fields("DATUM") = kDatum;
        rs.Fields("UHRZEIT") = kUhrzeit;
        rs.Fields("DET") = i * 1.5;
        rs.Fields("V") = i * 0.01;
        rs.Fields("TEMP") = 21.5;
        rs.Update();
    }
    transaction.Commit();
}

void writeRaw(sqlite3* db, int rows) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO E3 (ID,I1,DATUM,UHRZEIT,DET,V,TEMP) VALUES (?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    const QByteArray datum = kDatum.toUtf8();
    const QByteArray uhrzeit = kUhrzeit.toUtf8();
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_int(insert, 1, 1);
        sqlite3_bind_int(insert, 2, i);
        sqlite3_bind_text(insert, 3, datum.constData(), int(datum.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, uhrzeit.constData(), int(uhrzeit.size()), SQLITE_STATIC);
        sqlite3_bind_double(insert, 5, double(float(i * 1.5)));
        sqlite3_bind_double(insert, 6, double(float(i * 0.01)));
        sqlite3_bind_double(insert, 7, 21.5);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void BM_RecordsetAddNew(benchmark::State& state) {
    Project project;
    const int rows = int(state.range(0));
    for (auto _ : state) {
        writeThroughRecordset(project.db, rows);
        state.PauseTiming();
        project.db.Execute(QStringLiteral("DELETE FROM [E3]"));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_RawInsert(benchmark::State& state) {
    Project project;
    const int rows = int(state.range(0));
    for (auto _ : state) {
        writeRaw(project.db.Handle(), rows);
        state.PauseTiming();
        project.db.Execute(QStringLiteral("DELETE FROM [E3]"));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_RawSelect(benchmark::State& state) {
    Project project;
    const int rows = int(state.range(0));
    writeRaw(project.db.Handle(), rows);
    sqlite3* db = project.db.Handle();
    for (auto _ : state) {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT ID,I1,DATUM,UHRZEIT,DET,V,TEMP FROM E3 WHERE ID = 1 ORDER BY I1",
                           -1, &select, nullptr);
        double sum = 0;
        qsizetype text = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            sum += sqlite3_column_int(select, 0) + sqlite3_column_int(select, 1);
            text += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, 2)))
                        .size();
            text += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, 3)))
                        .size();
            sum += sqlite3_column_double(select, 4) + sqlite3_column_double(select, 5) +
                   sqlite3_column_double(select, 6);
        }
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

} // namespace

BENCHMARK(BM_RecordsetAddNew)->Arg(32766)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawInsert)->Arg(32766)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSelect)->Arg(32766)->Unit(benchmark::kMillisecond);
