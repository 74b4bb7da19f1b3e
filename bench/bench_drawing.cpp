// The diagram's clipped lines with a point symbol at every point, drawn on a
// picture box at screen resolution, against QPainter::drawLines of the same
// segments with the same pen onto an image of the same size.

#include "drawing/clsGRAFIK.h"
#include "platform/controls/PictureBox.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {
constexpr float kBreite = 145, kHoehe = 130;

// Points of a curve spread over the picture box and a little beyond it.
std::vector<QPointF> Punkte(int anzahl) {
    QRandomGenerator zufall(20240611);
    std::vector<QPointF> punkte;
    punkte.reserve(size_t(anzahl) + 1);
    for (int i = 0; i <= anzahl; ++i)
        punkte.emplace_back(-10 + (kBreite + 20) * zufall.generateDouble(),
                            -10 + (kHoehe + 20) * zufall.generateDouble());
    return punkte;
}

struct Labor {
    Labor() {
        box.SetWidth(kBreite * 56.7f);
        box.SetHeight(kHoehe * 56.7f);
        box.SetScaleMode(6);
        grafik = std::make_unique<clsGRAFIK>();
        grafik->setEOBJEKT(&box);
        grafik->RL = 20;
        grafik->RR = 10;
        grafik->RO = 5;
        grafik->RU = 15;
        grafik->LINIENEINSTELLUNGEN(0, 0.0f, RGB(0, 0, 128));
    }
    ScriptedDialogs dialoge;
    TESTHAUPTFENSTER fenster;
    PictureBox box;
    std::unique_ptr<clsGRAFIK> grafik;
};

void BM_LinieScreen(benchmark::State& state) {
    Labor labor;
    const std::vector<QPointF> punkte = Punkte(int(state.range(0)));
    QString symbole[7];
    for (int n = 0; n < 7; ++n)
        symbole[n] = QStringLiteral("{s,1}") + QString::number(n);
    clsGRAFIK& g = *labor.grafik;
    for (auto _ : state) {
        for (size_t i = 1; i < punkte.size(); ++i) {
            const QPointF& a = punkte[i - 1];
            const QPointF& b = punkte[i];
            g.LINIE(float(a.x()), float(a.y()), float(b.x()), float(b.y()));
            g.TEXT(float(b.x()), float(b.y()), symbole[i % 7], 0, 0, 1, 1);
        }
        benchmark::DoNotOptimize(labor.box.Image().constBits());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LinieScreen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_QPainterLines(benchmark::State& state) {
    Labor labor; // the same picture box gives size, format and resolution
    const std::vector<QPointF> punkte = Punkte(int(state.range(0)));
    const double proMm = labor.box.PixelsPerUnitX();
    std::vector<QLineF> linien;
    for (size_t i = 1; i < punkte.size(); ++i)
        linien.emplace_back(punkte[i - 1] * proMm, punkte[i] * proMm);
    QImage bild = labor.box.Image().copy();
    QPen stift(QColor(0, 0, 128));
    stift.setWidth(0); // DrawWidth 1: one device pixel
    stift.setCapStyle(Qt::FlatCap);
    for (auto _ : state) {
        QPainter maler(&bild);
        maler.setPen(stift);
        maler.drawLines(linien.data(), int(linien.size()));
        maler.end();
        benchmark::DoNotOptimize(bild.constBits());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_QPainterLines)->Arg(10000)->Unit(benchmark::kMillisecond);
} // namespace
