// The record import of the export/import dialog on 100 records of 500
// readings each, with their curve rows: BM_KOPIEREN runs KOPIEREN from the
// other project's database into the working copy. Its baseline
// BM_RawCopyBaseline copies the same rows with the engine's own calls, one
// prepared SELECT and one prepared INSERT per table and record and one
// transaction per record.

#include "support/TESTHAUPTFENSTER.h"

#include "data/SCHEMA.h"
#include "exchange/frmEXPIMP.h"
#include "platform/database/Connection.h"
#include "platform/database/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const char* const kTabellen[] = {"E1", "E2", "E3", "A1", "A2", "G0"};

// The laboratory with another project of n records of 500 readings each.
struct Labor {
    explicit Labor(int datensaetze) {
        const QString ordner = fenster.PROJEKTSPFAD() + QStringLiteral("/TE0001.00");
        QDir().mkpath(ordner);
        datei = ordner + QStringLiteral("/VELD.mdb");
        PROJEKTDATENBANKANLEGEN(datei);
        Connection db(datei);
        Transaction t(db);
        for (int id = 1; id <= datensaetze; ++id) {
            db.Execute(QStringLiteral("INSERT INTO [E1] VALUES (?,?,?,0)"),
                       {id, QStringLiteral("R%1").arg(id, 3, 10, QLatin1Char('0')),
                        QStringLiteral("Kommentar")});
            db.Execute(QStringLiteral("INSERT INTO [E2] VALUES (?,0,2,0.5,1440)"), {id});
            db.Execute(QStringLiteral("INSERT INTO [A1] VALUES (?,0,41.5)"), {id});
            db.Execute(QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT]) VALUES (?,11)"), {id});
            for (int i = 0; i < 500; ++i) {
                db.Execute(QStringLiteral("INSERT INTO [E3] VALUES (?,?,'12.03.02','08:15',?,?,20.5)"),
                           {id, i, 1.5 * i, 0.001 * i});
                db.Execute(QStringLiteral("INSERT INTO [A2] VALUES (?,?,?)"), {id, i, 0.2 * i});
            }
        }
        t.Commit();
    }
    void leeren() {
        for (const char* tabelle : kTabellen)
            fenster.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [%1]").arg(QLatin1String(tabelle)));
    }
    TESTHAUPTFENSTER fenster;
    QString datei;
};

void BM_KOPIEREN(benchmark::State& state) {
    // The dialog looks for the database by the program's title.
    const QString titel = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("VELD"));
    Labor labor(int(state.range(0)));
    frmEXPIMP dialog;
    dialog.dirEXP_SetPath(QFileInfo(labor.datei).absolutePath());
    dialog.lstEXP->selectAll();
    if (dialog.lstEXP->selectedItems().size() != state.range(0))
        state.SkipWithError("the other project's records are not listed");
    for (auto _ : state) {
        frmEXPIMP::KOPIEREN(*dialog.ANDEREDATENBANK(), *dialog.lstEXP, *labor.fenster.DBPROJEKT());
        state.PauseTiming();
        if (labor.fenster.ZEILEN(QStringLiteral("E3")) != 500 * state.range(0))
            state.SkipWithError("KOPIEREN did not copy every reading");
        labor.leeren();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    QCoreApplication::setApplicationName(titel);
}

void BM_RawCopyBaseline(benchmark::State& state) {
    Labor labor(int(state.range(0)));
    sqlite3* quelle = nullptr;
    sqlite3_open_v2(labor.datei.toUtf8().constData(), &quelle, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3* ziel = labor.fenster.DBPROJEKT()->Handle();
    for (auto _ : state) {
        for (int id = 1; id <= state.range(0); ++id) {
            sqlite3_exec(ziel, "BEGIN", nullptr, nullptr, nullptr);
            for (const char* tabelle : kTabellen) {
                sqlite3_stmt* lesen = nullptr;
                const QByteArray sql = QByteArray("SELECT * FROM ") + tabelle + " WHERE ID=?";
                sqlite3_prepare_v2(quelle, sql.constData(), -1, &lesen, nullptr);
                sqlite3_bind_int(lesen, 1, id);
                const int spalten = sqlite3_column_count(lesen);
                QByteArray einfuegen = QByteArray("INSERT INTO ") + tabelle + " VALUES (?";
                for (int j = 1; j < spalten; ++j)
                    einfuegen += ",?";
                einfuegen += ")";
                sqlite3_stmt* schreiben = nullptr;
                sqlite3_prepare_v2(ziel, einfuegen.constData(), -1, &schreiben, nullptr);
                while (sqlite3_step(lesen) == SQLITE_ROW) {
                    sqlite3_bind_int(schreiben, 1, id);
                    for (int j = 1; j < spalten; ++j)
                        sqlite3_bind_value(schreiben, j + 1, sqlite3_column_value(lesen, j));
                    sqlite3_step(schreiben);
                    sqlite3_reset(schreiben);
                }
                sqlite3_finalize(schreiben);
                sqlite3_finalize(lesen);
            }
            sqlite3_exec(ziel, "COMMIT", nullptr, nullptr, nullptr);
        }
        state.PauseTiming();
        if (labor.fenster.ZEILEN(QStringLiteral("E3")) != 500 * state.range(0))
            state.SkipWithError("the baseline did not copy every reading");
        labor.leeren();
        state.ResumeTiming();
    }
    sqlite3_close_v2(quelle);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_KOPIEREN)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawCopyBaseline)->Arg(100)->Unit(benchmark::kMillisecond);
