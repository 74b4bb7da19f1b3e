// The evaluation of one test of 5,000 readings through the data-access
// objects (the result and every curve row written), against the least that
// the same work needs of the engine: one prepared SELECT of the readings,
// w computed, and one prepared INSERT per curve row, in one transaction.
// Both start each round from a record without curve rows.

#include "evaluation/clsBERECHNEN.h"
#include "platform/database/Connection.h"
#include "support/TESTHAUPTFENSTER.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Labor {
    explicit Labor(int readings)
    {
        haupt.DATENSATZANLEGEN(1, QStringLiteral("P-1"), QStringLiteral("Benchmark"), true);
        haupt.ALLGEMEINEDATENANLEGEN(1, 0, 2.0f, 85.3f, 1440.0f);
        Connection& db = *haupt.DBPROJEKT();
        db.BeginTrans();
        for (int i = 0; i < readings; ++i)
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,?,?,?)"),
                       {i, double(float(i * 0.75)), double(float(0.5 + i * 0.003))});
        db.CommitTrans();
        haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (1,1)"));
    }
    void kurvenLoeschen() { haupt.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [A2]")); }
    TESTHAUPTFENSTER haupt;
};

void BM_BERECHNUNG(benchmark::State& state)
{
    Labor labor(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        labor.kurvenLoeschen();
        state.ResumeTiming();
        clsBERECHNEN berechnung;
        const bool ok = berechnung.BERECHNUNG();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("BERECHNUNG returned False");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RawEvalBaseline(benchmark::State& state)
{
    Labor labor(int(state.range(0)));
    sqlite3* db = labor.haupt.DBPROJEKT()->Handle();
    for (auto _ : state) {
        state.PauseTiming();
        labor.kurvenLoeschen();
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* ms = nullptr;
        sqlite3_prepare_v2(db, "SELECT MS FROM E2 WHERE ID = 1", -1, &ms, nullptr);
        double masse = 0;
        if (sqlite3_step(ms) == SQLITE_ROW) masse = sqlite3_column_double(ms, 0);
        sqlite3_finalize(ms);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT I1, DET, V FROM E3 WHERE ID = 1 ORDER BY I1", -1, &select, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO A2 (ID, I, W) VALUES (1, ?, ?)", -1, &insert, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            const float w = float(float(sqlite3_column_double(select, 2)) * 1.0 / float(masse) * 100);
            sqlite3_bind_int(insert, 1, sqlite3_column_int(select, 0));
            sqlite3_bind_double(insert, 2, double(w));
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_finalize(select);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_BERECHNUNG)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawEvalBaseline)->Arg(5000)->Unit(benchmark::kMillisecond);
