// The input window's store and load of a record of 5,000 readings, in the
// real main window of a development run. BM_OK presses the save panel 8 on
// a new window (the whole store: the identifier's lookup, the new key, the
// transfers of E1, E2 and the six E3 columns, the active flags, one
// transaction); its baseline BM_RawStoreBaseline writes the same E3 rows,
// texts from the same grid, with one prepared INSERT in one transaction.
// BM_OEFFNEN loads the record into a new window; its baseline
// BM_RawLoadBaseline reads the same rows with one prepared SELECT into the
// same grid and refreshes it. Targets: BM_OK within 10x, BM_OEFFNEN within
// 5x of their baselines.

#include "BOXENZAEHLER.h"
#include "EINGABERASTER.h"

#include "data/SCHEMA.h"
#include "input/clsFLX.h"
#include "input/mdiEINGABE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/database/Connection.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/System.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

namespace {

// A development run (its program directory holds "source"): the project is
// TE0000.00 beside the program, no settings or administration table.
struct Labor {
    QTemporaryDir wurzel;
    SystemOverrides system;
    Boxenzaehler boxen;
    std::unique_ptr<frmMAINFENSTER> fenster;

    Labor() {
        const QString programm = wurzel.filePath(QStringLiteral("source/VELD"));
        QDir().mkpath(programm);
        QDir().mkpath(wurzel.filePath(QStringLiteral("source/TE0000.00")));
        PROJEKTDATENBANKANLEGEN(programm + QStringLiteral("/VELD.mdb"));
        PROJEKTDATENBANKANLEGEN(wurzel.filePath(QStringLiteral("source/TE0000.00/VELD.mdb")));
        system.SetLoginName(QStringLiteral("bench"));
        system.SetProgramDirectory(programm);
        system.SetLanguageName(QStringLiteral("de"));
        system.SetDecimalSeparator(QStringLiteral("."));
        system.RecordStartedPrograms();
        system.SkipSleeps();
        fenster = std::make_unique<frmMAINFENSTER>();
        fenster->MDIForm_Load();
    }
    ~Labor() { fenster.reset(); }
    Connection& db() { return *fenster->DBPROJEKT(); }
};

// The readings as the grid holds them after its refresh.
std::vector<QStringList> Messwerte(int zeilen) {
    Eingaberaster raster;
    std::vector<QStringList> roh;
    for (int i = 0; i < zeilen; ++i) {
        const int minute = i * 7;
        roh.push_back({QString(),
                       QStringLiteral("%1.05.03").arg(1 + minute / 1440 % 28, 2, 10, QLatin1Char('0')),
                       QStringLiteral("%1:%2:00")
                           .arg(minute / 60 % 24, 2, 10, QLatin1Char('0'))
                           .arg(minute % 60, 2, 10, QLatin1Char('0')),
                       QString(), QString::number(0.5 * (i % 400)), QString::number(18 + i % 7)});
    }
    raster.laden(roh);
    raster.FLX.AKTUALISIEREN();
    std::vector<QStringList> texte(roh.size());
    for (int r = 0; r < zeilen; ++r)
        for (int c = 0; c < 6; ++c) texte[size_t(r)] << raster.grid->TextMatrix(1 + r, c);
    return texte;
}

void fuellen(MSFlexGrid& grid, const std::vector<QStringList>& texte) {
    grid.SetRows(1 + int(texte.size()));
    for (int r = 0; r < int(texte.size()); ++r)
        for (int c = 0; c < 6; ++c) grid.SetTextMatrix(1 + r, c, texte[size_t(r)][c]);
}

void aufraeumen() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_OK(benchmark::State& state) {
    Labor labor;
    const std::vector<QStringList> texte = Messwerte(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        labor.fenster->mnuNEU_Click();
        mdiEINGABE* eingabe = EINGABEFENSTER::GELADEN();
        eingabe->txtKEN->setText(QStringLiteral("B-1"));
        eingabe->txtMS->setText(QStringLiteral("120.5"));
        fuellen(*eingabe->msgFLX.at(0), texte);
        state.ResumeTiming();
        labor.fenster->stbMAIN_PanelClick(8);
        state.PauseTiming();
        if (EINGABEFENSTER::GELADEN()) state.SkipWithError("the store failed");
        aufraeumen();
        labor.db().Execute(QStringLiteral("DELETE FROM [E1]; DELETE FROM [E2]; DELETE FROM [E3]"));
        state.ResumeTiming();
    }
    if (labor.boxen.anzahl) state.SkipWithError("the store showed message boxes");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RawStoreBaseline(benchmark::State& state) {
    Labor labor;
    const std::vector<QStringList> texte = Messwerte(int(state.range(0)));
    Eingaberaster raster;
    raster.laden(texte);
    sqlite3* db = labor.db().Handle();
    for (auto _ : state) {
        Transaction transaktion(labor.db());
        sqlite3_stmt* einfuegen = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO E3 (ID,I1,DATUM,UHRZEIT,DET,V,TEMP) VALUES (1,?,?,?,?,?,?)",
                           -1, &einfuegen, nullptr);
        for (int r = 1; r < raster.grid->Rows(); ++r) {
            for (int c = 0; c < 6; ++c) {
                const QByteArray text = raster.grid->TextMatrix(r, c).trimmed().toUtf8();
                if (text.isEmpty())
                    sqlite3_bind_null(einfuegen, c + 1);
                else
                    sqlite3_bind_text(einfuegen, c + 1, text.constData(), int(text.size()),
                                      SQLITE_TRANSIENT);
            }
            sqlite3_step(einfuegen);
            sqlite3_reset(einfuegen);
        }
        sqlite3_finalize(einfuegen);
        transaktion.Commit();
        state.PauseTiming();
        labor.db().Execute(QStringLiteral("DELETE FROM [E3]"));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Stores record 1 with the readings through the window.
void speichern(Labor& labor, const std::vector<QStringList>& texte) {
    labor.fenster->mnuNEU_Click();
    mdiEINGABE* eingabe = EINGABEFENSTER::GELADEN();
    eingabe->txtKEN->setText(QStringLiteral("B-1"));
    fuellen(*eingabe->msgFLX.at(0), texte);
    labor.fenster->stbMAIN_PanelClick(8);
    aufraeumen();
}

void BM_OEFFNEN(benchmark::State& state) {
    Labor labor;
    speichern(labor, Messwerte(int(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        mdiEINGABE* eingabe = EINGABEFENSTER::LADEN(*labor.fenster->MDIBEREICH);
        state.ResumeTiming();
        eingabe->OEFFNEN(1);
        state.PauseTiming();
        if (eingabe->msgFLX.at(0)->Rows() != 1 + state.range(0))
            state.SkipWithError("the readings did not arrive");
        Forms::Unload(eingabe);
        aufraeumen();
        state.ResumeTiming();
    }
    if (labor.boxen.anzahl) state.SkipWithError("the load showed message boxes");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RawLoadBaseline(benchmark::State& state) {
    Labor labor;
    speichern(labor, Messwerte(int(state.range(0))));
    sqlite3* db = labor.db().Handle();
    for (auto _ : state) {
        state.PauseTiming();
        mdiEINGABE* eingabe = EINGABEFENSTER::LADEN(*labor.fenster->MDIBEREICH);
        MSFlexGrid& grid = *eingabe->msgFLX.at(0);
        state.ResumeTiming();
        sqlite3_stmt* lesen = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT I1,DATUM,UHRZEIT,DET,V,TEMP FROM E3 WHERE ID = 1 ORDER BY I1", -1,
            &lesen, nullptr);
        std::vector<std::array<QString, 6>> zeilen;
        while (sqlite3_step(lesen) == SQLITE_ROW) {
            std::array<QString, 6>& zeile = zeilen.emplace_back();
            for (int c = 0; c < 6; ++c)
                zeile[size_t(c)] = QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(lesen, c)));
        }
        sqlite3_finalize(lesen);
        // The grid grows once, as the window's load lets it.
        grid.SetRows(1 + int(zeilen.size()));
        for (int r = 0; r < int(zeilen.size()); ++r)
            for (int c = 0; c < 6; ++c) grid.SetTextMatrix(1 + r, c, zeilen[size_t(r)][size_t(c)]);
        eingabe->FLX(0).AKTUALISIEREN();
        state.PauseTiming();
        Forms::Unload(eingabe);
        aufraeumen();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OK)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawStoreBaseline)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OEFFNEN)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawLoadBaseline)->Arg(5000)->Unit(benchmark::kMillisecond);
