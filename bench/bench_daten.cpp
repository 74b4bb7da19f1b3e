// The data-access object's series members on the largest series a record
// holds: DVTSF writes 32,766 Singles into column V of E3 (one new row each,
// as when the readings of a record are first stored), DTVSF reads them back.
// Their baselines are BM_RawInsert and BM_RawSelect of the database layer.

#include "support/TESTHAUPTFENSTER.h"

#include "data/clsDATEN.h"
#include "platform/Connection.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

void BM_DVTSF_Write(benchmark::State& state) {
    TESTHAUPTFENSTER fenster;
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(1);
    std::vector<float> werte(size_t(state.range(0)));
    for (size_t i = 0; i < werte.size(); ++i)
        werte[i] = float(i) * 0.01f;
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
    std::vector<float> werte(size_t(state.range(0)));
    for (size_t i = 0; i < werte.size(); ++i)
        werte[i] = float(i) * 0.01f;
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
