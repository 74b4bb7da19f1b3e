// The data-access object's series members on the largest series a record
// holds: DVTSF writes 32,766 Singles into column V of E3 (one new row each,
// as when the readings of a record are first stored), DTVSF reads them back.
// Their baselines are BM_RawInsert and BM_RawSelect of the database layer.

#include "support/TESTHAUPTFENSTER.h"

#include "data/clsDATEN.h"
#include "platform/database/Connection.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// A series of n readings 0, 0.01, 0.02, ...
std::vector<float> Reihe(int64_t n) {
    std::vector<float> werte(static_cast<size_t>(n));
    for (size_t i = 0; i < werte.size(); ++i)
        werte[i] = float(i) * 0.01f;
    return werte;
}

void BM_DVTSF_Write(benchmark::State& state) {
    TESTHAUPTFENSTER fenster;
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(1);
    const std::vector<float> werte = Reihe(state.range(0));
    for (auto _ : state) {
        if (!daten.DVTSF(QStringLiteral("V"), werte)) state.SkipWithError("DVTSF failed");
        state.PauseTiming();
        fenster.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [E3]"));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DTVSF_Read(benchmark::State& state) {
    TESTHAUPTFENSTER fenster;
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(1);
    const std::vector<float> werte = Reihe(state.range(0));
    if (!daten.DVTSF(QStringLiteral("V"), werte)) state.SkipWithError("DVTSF failed");
    std::vector<float> gelesen(werte.size());
    for (auto _ : state) {
        if (!daten.DTVSF(QStringLiteral("V"), gelesen)) state.SkipWithError("DTVSF failed");
        benchmark::DoNotOptimize(gelesen.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_DVTSF_Write)->Arg(32766)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DTVSF_Read)->Arg(32766)->Unit(benchmark::kMillisecond);
