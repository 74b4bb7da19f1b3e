// The load of the page of one evaluation with 5,000 readings (header,
// footer, diagram, readings table and characteristic values drawn from the
// database), against the least that the same picture needs: one prepared
// SELECT each of the readings and the curve rows, then plain QPainter
// drawing on images of the boxes' size: the polyline, a marker at every
// point and the texts of the table rows that fit the box.

#include "pages/mdiSEITE1.h"
#include "platform/database/Connection.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Seitenlabor {
    explicit Seitenlabor(int messungen) {
        haupt.DATENSATZANLEGEN(1, QStringLiteral("P-1"), QStringLiteral("Benchmark"), true);
        haupt.ALLGEMEINEDATENANLEGEN(1, 0, 2.0f, 85.3f, 1440.0f);
        Connection& db = *haupt.DBPROJEKT();
        db.BeginTrans();
        for (int i = 0; i < messungen; ++i) {
            const double t = double(float(i * 0.75)), v = double(float(0.5 + i * 0.003));
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V],[TEMP]) VALUES (1,?,?,?,20.5)"),
                       {i, t, v});
            db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (1,?,?)"),
                       {i, double(float(v / 85.3 * 100))});
        }
        db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,12.5)"));
        db.Execute(QStringLiteral(
            "INSERT INTO [G0] ([ID],[IDOBJEKT],[OX],[OY],[RL],[RR],[RO],[RU],[XMIN],[XMAX],[YMIN],"
            "[YMAX]) VALUES (1,11,1,1,11,7,7,11,0,5000,0,25)"));
        db.CommitTrans();
    }
    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
};

void BM_mdiSEITE1_Load(benchmark::State& state) {
    Seitenlabor labor(int(state.range(0)));
    for (auto _ : state) {
        mdiSEITE1 seite;
        seite.Form_Load();
        benchmark::DoNotOptimize(seite.DET.data());
    }
    if (!labor.boxen.boxes().isEmpty()) state.SkipWithError("a message box was shown");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RawPageBaseline(benchmark::State& state) {
    Seitenlabor labor(int(state.range(0)));
    sqlite3* db = labor.haupt.DBPROJEKT()->Handle();
    const double pxJeMm = 96.0 / 25.4;
    for (auto _ : state) {
        std::vector<double> t, v, temp, w;
        sqlite3_stmt* e3 = nullptr;
        sqlite3_prepare_v2(db, "SELECT I1, DET, V, TEMP FROM E3 WHERE ID = 1 ORDER BY I1", -1, &e3,
                           nullptr);
        while (sqlite3_step(e3) == SQLITE_ROW) {
            t.push_back(sqlite3_column_double(e3, 1));
            v.push_back(sqlite3_column_double(e3, 2));
            temp.push_back(sqlite3_column_double(e3, 3));
        }
        sqlite3_finalize(e3);
        sqlite3_stmt* a2 = nullptr;
        sqlite3_prepare_v2(db, "SELECT I, W FROM A2 WHERE ID = 1 ORDER BY I", -1, &a2, nullptr);
        while (sqlite3_step(a2) == SQLITE_ROW) w.push_back(sqlite3_column_double(a2, 1));
        sqlite3_finalize(a2);

        QImage diagramm(int(145 * pxJeMm), int(130 * pxJeMm), QImage::Format_RGB32);
        diagramm.fill(Qt::white);
        {
            QPainter p(&diagramm);
            QPolygonF linie;
            for (size_t i = 0; i < t.size() && i < w.size(); ++i)
                linie << QPointF((11 + t[i] / 5000 * 127) * pxJeMm, (119 - w[i] / 25 * 112) * pxJeMm);
            p.drawPolyline(linie);
            for (const QPointF& punkt : linie) {
                p.drawLine(punkt + QPointF(-2.8, -2.8), punkt + QPointF(2.8, 2.8));
                p.drawLine(punkt + QPointF(-2.8, 2.8), punkt + QPointF(2.8, -2.8));
            }
        }
        QImage tabelle(int(95 * pxJeMm), int(130 * pxJeMm), QImage::Format_RGB32);
        tabelle.fill(Qt::white);
        {
            QPainter p(&tabelle);
            p.setFont(QFont(QStringLiteral("Arial"), 8));
            const int zeilen = int((130 - 23 - 20) / 4.0);
            for (int i = 0; i < zeilen && size_t(i) < t.size(); ++i) {
                const double y = (30 + i * 4.0) * pxJeMm;
                p.drawText(QPointF(3 * pxJeMm, y), QString::number(i));
                p.drawText(QPointF(14 * pxJeMm, y), QString::number(t[size_t(i)], 'f', 1));
                p.drawText(QPointF(32 * pxJeMm, y), QString::number(v[size_t(i)], 'f', 2));
                p.drawText(QPointF(50 * pxJeMm, y), QString::number(temp[size_t(i)], 'f', 2));
                p.drawText(QPointF(68 * pxJeMm, y), QString::number(w[size_t(i)], 'f', 2));
            }
        }
        benchmark::DoNotOptimize(diagramm.constBits());
        benchmark::DoNotOptimize(tabelle.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_mdiSEITE1_Load)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPageBaseline)->Arg(5000)->Unit(benchmark::kMillisecond);
