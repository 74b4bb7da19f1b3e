// The grid editor's refresh on a long series of readings: AKTUALISIEREN
// (running numbers, every cell formatted, elapsed times) and NUMMERIEREN on
// the input window's grid of 5,000 rows, against filling the same texts into
// a bare QTableWidget.

#include "EINGABERASTER.h"
#include "input/clsFLX.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"

#include <QLineEdit>
#include <QStringList>
#include <QTableWidget>
#include <QVariantList>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// The texts of the readings as they come from the database: dates and times
// not yet in the column's format, numbers without their decimals.
std::vector<QStringList> Rohtexte(int zeilen) {
    std::vector<QStringList> texte;
    texte.reserve(size_t(zeilen));
    for (int i = 0; i < zeilen; ++i) {
        const int minute = i * 7;
        const int tag = 1 + minute / 1440 % 28;
        texte.push_back({QString(), QStringLiteral("%1/5/2003").arg(tag),
                         QStringLiteral("%1:%2").arg(minute / 60 % 24).arg(minute % 60), QString(),
                         QString::number(0.5 * (i % 400)), QString::number(18 + i % 7)});
    }
    return texte;
}

void BM_AKTUALISIEREN(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    const std::vector<QStringList> texte = Rohtexte(zeilen);
    Eingaberaster raster;
    for (auto _ : state) {
        state.PauseTiming();
        raster.laden(texte);
        state.ResumeTiming();
        raster.FLX.AKTUALISIEREN();
        raster.FLX.NUMMERIEREN();
    }
    state.SetItemsProcessed(state.iterations() * zeilen);
}

void BM_QTableWidgetFill(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    // The texts the refresh leaves in the grid.
    Eingaberaster raster;
    raster.laden(Rohtexte(zeilen));
    raster.FLX.AKTUALISIEREN();
    std::vector<QStringList> texte(static_cast<size_t>(zeilen));
    for (int r = 0; r < zeilen; ++r)
        for (int c = 0; c < 6; ++c)
            texte[size_t(r)] << raster.grid->TextMatrix(1 + r, c);

    QTableWidget tabelle(1 + zeilen, 6);
    for (auto _ : state) {
        state.PauseTiming();
        tabelle.clearContents();
        state.ResumeTiming();
        for (int r = 0; r < zeilen; ++r)
            for (int c = 0; c < 6; ++c)
                tabelle.setItem(1 + r, c, new QTableWidgetItem(texte[size_t(r)][c]));
    }
    state.SetItemsProcessed(state.iterations() * zeilen);
}

} // namespace

BENCHMARK(BM_AKTUALISIEREN)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableWidgetFill)->Arg(5000)->Unit(benchmark::kMillisecond);
