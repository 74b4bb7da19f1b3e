// A curve of many points with a marker at every point, laid out by SKALEN
// from its row in G0 and drawn by POLYGON onto a picture box at screen
// resolution. Compare with BM_QPainterLines (bench_drawing.cpp), which draws
// the same number of random segments in one QPainter::drawLines call.

#include "drawing/clsGRAFIK.h"
#include "platform/database/Connection.h"
#include "platform/controls/PictureBox.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {
constexpr float kBreite = 145, kHoehe = 130;

struct Kurvenlabor {
    explicit Kurvenlabor(int anzahl) {
        box.SetWidth(kBreite * 56.7f);
        box.SetHeight(kHoehe * 56.7f);
        box.SetScaleMode(6);
        fenster.DBPROJEKT()->Execute(
            "INSERT INTO [G0] ([ID],[IDOBJEKT],[OX],[OY],[RL],[RR],[RO],[RU],[XMIN],[XMAX],"
            "[YMIN],[YMAX],[MX],[MY],[MYMX]) VALUES (1,11,1,1,20,10,5,15,0,100,0,50,0,0,0)");
        grafik = std::make_unique<clsGRAFIK>();
        grafik->setEOBJEKT(&box);
        grafik->setEID(1);
        grafik->setEIDOBJEKT(11);
        grafik->setELXMIN(clsGRAFIK::LISTE({0, 100}));
        grafik->setELXDIFF(clsGRAFIK::LISTE({100}));
        grafik->setELXIT(clsGRAFIK::LISTE({10}));
        grafik->setELXGIT(clsGRAFIK::LISTE({10}));
        grafik->setELYMIN(clsGRAFIK::LISTE({0, 50}));
        grafik->setELYDIFF(clsGRAFIK::LISTE({50}));
        grafik->setELYIT(clsGRAFIK::LISTE({5}));
        grafik->setELYGIT(clsGRAFIK::LISTE({5}));
        grafik->LINIENEINSTELLUNGEN(0, 0.0f, RGB(0, 0, 128));
        // Points spread over the plot area and a little beyond it.
        QRandomGenerator zufall(20240611);
        for (int i = 0; i <= anzahl; ++i) {
            x.push_back(float(-10 + 120 * zufall.generateDouble()));
            y.push_back(float(-5 + 60 * zufall.generateDouble()));
        }
    }
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    PictureBox box;
    std::unique_ptr<clsGRAFIK> grafik;
    std::vector<float> x, y;
};

void BM_PolygonScreen(benchmark::State& state) {
    Kurvenlabor labor(int(state.range(0)));
    clsGRAFIK& g = *labor.grafik;
    const int16_t jederPunkt = int16_t(labor.x.size());
    for (auto _ : state) {
        g.SKALEN(0);
        g.POLYGON(labor.x, labor.y, jederPunkt, 0);
        benchmark::DoNotOptimize(labor.box.Image().constBits());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_PolygonScreen)->Arg(10000)->Unit(benchmark::kMillisecond);
} // namespace
