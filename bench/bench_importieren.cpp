// The data-logger import of a long file: IMPORTIEREN of 100,000 lines of six
// fields (one cycle per line, dates and times rearranged by their masks, a
// factor on the volume) into the input window's readings grid, against
// reading the same file line by line, splitting the fields and setting the
// texts into the same grid.

#include "EINGABERASTER.h"
#include "input/clsFLX.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/database/Connection.h"
#include "platform/runtime/InputFile.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <benchmark/benchmark.h>

namespace {

struct Loggerdatei {
    QTemporaryDir ordner;
    QString pfad = ordner.filePath(QStringLiteral("logger.txt"));

    explicit Loggerdatei(int zeilen) {
        QFile datei(pfad);
        if (!datei.open(QIODevice::WriteOnly)) return;
        QByteArray text = "Nr;Datum;Uhrzeit;Status;Volumen;Temperatur\n";
        for (int i = 1; i <= zeilen; ++i) {
            const int minute = i * 7;
            text += QStringLiteral("%1;2003-05-%2;%3:%4:%5;OK;%6,%7;%8,%9 C\n")
                        .arg(i)
                        .arg(1 + minute / 1440 % 28, 2, 10, QLatin1Char('0'))
                        .arg(minute / 60 % 24, 2, 10, QLatin1Char('0'))
                        .arg(minute % 60, 2, 10, QLatin1Char('0'))
                        .arg(i % 60, 2, 10, QLatin1Char('0'))
                        .arg(i % 400)
                        .arg(i % 10)
                        .arg(18 + i % 7)
                        .arg(i % 10)
                        .toLatin1();
        }
        datei.write(text);
    }
};

void BM_IMPORTIEREN(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    TESTHAUPTFENSTER haupt;
    Connection& db = *haupt.DBVORGABE();
    db.Execute("INSERT INTO VELD_VE1 (IDK, AKVK, ZL, DATUM, UHRZEIT, KENZ1NR, TZS) "
               "VALUES (1, 'LOG6', 6, 'JJJJ-MM-TT', 'hh:mm:ss', '1', ';')");
    // The status is logged but not imported.
    const char* spalten[] = {"NR", "DATUM", "ZEIT", "STATUS", "VOL", "TEMP"};
    for (int mnr = 0; mnr < 6; ++mnr)
        db.Execute(
            "INSERT INTO VELD_VE2 (IDK, MNR, SPALTE, POSITION, FAKTOR) VALUES (1, ?, ?, ?, ?)",
            {mnr, spalten[mnr], mnr == 3 ? QVariant() : QVariant(mnr), mnr == 4 ? 1.5 : 1.0});
    const Loggerdatei datei(zeilen);
    Eingaberaster raster;
    for (auto _ : state) {
        state.PauseTiming();
        raster.leeren();
        state.ResumeTiming();
        if (!raster.FLX.IMPORTIEREN(QStringLiteral("LOG6"), datei.pfad))
            state.SkipWithError("import failed");
    }
    state.SetItemsProcessed(state.iterations() * zeilen);
}

void BM_RawLoggerRead(benchmark::State& state) {
    const int zeilen = int(state.range(0));
    const Loggerdatei datei(zeilen);
    Eingaberaster raster;
    for (auto _ : state) {
        state.PauseTiming();
        raster.leeren();
        state.ResumeTiming();
        InputFile logger(datei.pfad);
        logger.LineInput(); // the header
        raster.grid->SetRows(1 + zeilen);
        for (int r = 1; !logger.AtEnd(); ++r) {
            const QStringList felder = logger.LineInput().split(u';');
            for (int c = 0; c < 6 && c < felder.size(); ++c)
                raster.grid->SetTextMatrix(r, c, felder[c]);
        }
    }
    state.SetItemsProcessed(state.iterations() * zeilen);
}

} // namespace

BENCHMARK(BM_IMPORTIEREN)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawLoggerRead)->Arg(100000)->Unit(benchmark::kMillisecond);
