#pragma once

// What the tests of circles and symbols share: a diagram on a recording
// picture box of 254 x 127 mm at 96 dpi (960 x 480 pixels, so millimetres
// come back from the log unrounded), and the geometry of logged arcs.

#include "test_skalen_hilfen.h"

#include <cmath>
#include <vector>

constexpr double kPiD = 3.14159265358979323846;

class KreisTest : public GrafikTest {
public:
    // The plot area of Flaeche().
    static constexpr double kL = 30, kR = 200, kO = 10, kU = 90;

protected:
    void SetUp() override {
        GrafikTest::SetUp();
        flaeche = std::make_unique<RecordingSurface>(254, 127);
        flaeche->SetScaleMode(6);
        grafik->setEOBJEKT(flaeche.get());
        flaeche->log().clear();
    }

    // The drawing at (10, 5), 200 x 100 mm, margins 20, 10, 5, 15: the plot
    // area runs from x 30 to 200 and from y 10 to 90. One world unit is one
    // millimetre; x 0..170 and y 0..80, in the directions given.
    void Flaeche(int16_t ox = 1, int16_t oy = 1) {
        clsGRAFIK& g = *grafik;
        g.setEXDL(10);
        g.setEYDO(5);
        g.setELX(200);
        g.setELY(100);
        g.OX = ox;
        g.OY = oy;
        g.RL = 20;
        g.RR = 10;
        g.RO = 5;
        g.RU = 15;
        g.XMIN = 0;
        g.XMAX = 170;
        g.YMIN = 0;
        g.YMAX = 80;
        g.MX = 1;
        g.MY = 1;
    }
    QList<Primitive> Von(Primitive::Kind art) { return flaeche->log().of(art); }
};

// A point of a logged circle or arc at the counter-clockwise angle phi (y
// grows downwards on the page).
struct PagePunkt {
    double x, y;
};
inline PagePunkt AufKreis(const Primitive& p, double phi) {
    return {p.x1 + p.radius * std::cos(phi), p.y1 - p.radius * std::sin(phi)};
}
// The counter-clockwise span of a logged arc (2 pi for a whole circle).
inline double Spanne(const Primitive& p) {
    if (p.kind == Primitive::Kind::Circle) return 2 * kPiD;
    double s = p.end - p.start;
    if (s < 0) s += 2 * kPiD;
    return s;
}
// The angle from a to b, counter-clockwise, 0 to 2 pi.
inline double Weiter(double a, double b) {
    double d = std::fmod(b - a, 2 * kPiD);
    if (d < 0) d += 2 * kPiD;
    return d;
}
