// The clipped line segment, against an independent clipping of the same
// segments and in the cases the drawing relies on.

#include "GrafikTest.h"

#include "platform/runtime/MsgBox.h"

#include <QRandomGenerator>
#include <cmath>
#include <optional>

namespace {
struct Strecke {
    double x1, y1, x2, y2;
};

// Liang-Barsky clipping to the inclusive rectangle; nothing when the segment
// misses it or only touches a corner.
std::optional<Strecke> LiangBarsky(Strecke s, double xl, double yo, double xr, double yu) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1 - xl, xr - s.x1, s.y1 - yo, yu - s.y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t1) return std::nullopt;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return std::nullopt;
            t1 = std::min(t1, r);
        }
    }
    if (t0 > t1) return std::nullopt;
    return Strecke{s.x1 + t0 * dx, s.y1 + t0 * dy, s.x1 + t1 * dx, s.y1 + t1 * dy};
}

bool Gleich(const Primitive& p, const Strecke& s, double e) {
    auto nah = [e](double a, double b, double c, double d) {
        return std::abs(a - c) <= e && std::abs(b - d) <= e;
    };
    return (nah(p.x1, p.y1, s.x1, s.y1) && nah(p.x2, p.y2, s.x2, s.y2)) ||
           (nah(p.x1, p.y1, s.x2, s.y2) && nah(p.x2, p.y2, s.x1, s.y1));
}

class Linie : public GrafikTest {
protected:
    void SetUp() override {
        GrafikTest::SetUp();
        Diagramm(); // plot area 20..135 x 5..115 of the drawing 0..145 x 0..130
    }
    QList<Primitive> Linien() { return flaeche->log().of(Primitive::Kind::Line); }

    // Draws n random segments with the mode and compares each with the
    // independent clipping.
    void Vergleichen(int n, int16_t modus, double xl, double yo, double xr, double yu,
                     quint32 saat) {
        QRandomGenerator zufall(saat);
        int gezeichnet = 0;
        for (int i = 0; i < n; ++i) {
            auto wert = [&](double von, double bis) {
                return float(von + (bis - von) * zufall.generateDouble());
            };
            float x1 = wert(-30, 175), y1 = wert(-30, 160), x2 = wert(-30, 175),
                  y2 = wert(-30, 160);
            if (i % 10 == 1) x2 = x1; // vertical
            if (i % 10 == 2) y2 = y1; // horizontal
            flaeche->log().clear();
            grafik->LINIE(x1, y1, x2, y2, std::nullopt, modus);
            const auto erwartet = LiangBarsky({x1, y1, x2, y2}, xl, yo, xr, yu);
            const QList<Primitive> l = Linien();
            if (!erwartet) {
                EXPECT_TRUE(l.isEmpty())
                    << i << ": " << x1 << "," << y1 << " - " << x2 << "," << y2;
                continue;
            }
            ASSERT_EQ(l.size(), 1) << i << ": " << x1 << "," << y1 << " - " << x2 << "," << y2;
            EXPECT_TRUE(Gleich(l[0], *erwartet, 2e-3))
                << i << ": " << x1 << "," << y1 << " - " << x2 << "," << y2 << " drawn " << l[0].x1
                << "," << l[0].y1 << " - " << l[0].x2 << "," << l[0].y2;
            ++gezeichnet;
        }
        // The sample is worth its name: some drawn, some not.
        EXPECT_GT(gezeichnet, n / 4);
        EXPECT_LT(gezeichnet, n);
        EXPECT_TRUE(dialoge.boxes().isEmpty());
    }
};

TEST_F(Linie, AgreesWithLiangBarskyOnThePlotArea) {
    Vergleichen(2000, 0, 20, 5, 135, 115, 4711);
}

TEST_F(Linie, AgreesWithLiangBarskyOnTheWholeDrawing) {
    grafik->setEXDL(10);
    grafik->setEYDO(-5);
    Vergleichen(2000, 1, 10, -5, 155, 125, 815);
}

TEST_F(Linie, DirectionDoesNotMatter) {
    grafik->LINIE(10, 20, 150, 90);
    grafik->LINIE(150, 90, 10, 20);
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 2);
    EXPECT_NEAR(l[0].x1, l[1].x1, 1e-5);
    EXPECT_NEAR(l[0].y1, l[1].y1, 1e-5);
    EXPECT_NEAR(l[0].x2, l[1].x2, 1e-5);
    EXPECT_NEAR(l[0].y2, l[1].y2, 1e-5);
}

TEST_F(Linie, ASegmentOnTheBorderCountsAsInside) {
    grafik->LINIE(30, 5, 60, 5);
    grafik->LINIE(20, 40, 20, 80);
    grafik->LINIE(135, 115, 20, 5); // the diagonal from corner to corner
    EXPECT_EQ(Linien().size(), 3);
    EXPECT_NEAR(Linien()[2].x1, 20, 1e-5);
    EXPECT_NEAR(Linien()[2].y2, 115, 1e-5);
}

TEST_F(Linie, VerticalThroughTheWholeAreaRunsFromTopToBottom) {
    grafik->LINIE(50, -10, 50, 200);
    grafik->LINIE(60, 200, 60, 50);
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 2);
    EXPECT_NEAR(l[0].y1, 5, 1e-5);
    EXPECT_NEAR(l[0].y2, 115, 1e-5);
    EXPECT_NEAR(l[1].y1, 115, 1e-5); // from the border towards the end inside
    EXPECT_NEAR(l[1].y2, 50, 1e-5);
}

TEST_F(Linie, EnteringLeftLeavingAtTheFoot) {
    // The line from (10, 60) to (70, 140) crosses x = 20 at y = 73.33 and
    // y = 115 at x = 51.25.
    grafik->LINIE(10, 60, 70, 140);
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].x1, 20, 1e-4);
    EXPECT_NEAR(l[0].y1, 60 + 80.0 / 6, 1e-4);
    EXPECT_NEAR(l[0].x2, 51.25, 1e-4);
    EXPECT_NEAR(l[0].y2, 115, 1e-4);
}

TEST_F(Linie, FromTheInsideTheBorderPointComesFirst) {
    grafik->LINIE(100, 60, 160, 60 - 30); // leaves through the right border
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].x1, 135, 1e-4);
    EXPECT_NEAR(l[0].x2, 100, 1e-4);
    EXPECT_NEAR(l[0].y2, 60, 1e-4);
}

TEST_F(Linie, MissesDrawNothing) {
    grafik->LINIE(0, 10, 15, 100);    // both ends left
    grafik->LINIE(140, 10, 150, 100); // both right
    grafik->LINIE(30, 0, 100, 4);     // both above
    grafik->LINIE(10, 15, 30, -10);   // outside the top left corner
    EXPECT_TRUE(Linien().isEmpty());
}

TEST_F(Linie, ModeOneKeepsLinesInTheMargins) {
    grafik->LINIE(2, 2, 143, 128, std::nullopt, 1);
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].x1, 2, 1e-5);
    EXPECT_NEAR(l[0].y2, 128, 1e-5);
}

TEST_F(Linie, WithAColourTheEndsAreMovedInsideNotClipped) {
    grafik->LINIE(0, 50, 200, 50, 255); // a grid line longer than the plot area
    grafik->LINIE(0, 0, 200, 200, 255); // each coordinate clamped on its own
    const QList<Primitive> l = Linien();
    ASSERT_EQ(l.size(), 2);
    EXPECT_NEAR(l[0].x1, 20, 1e-5);
    EXPECT_NEAR(l[0].x2, 135, 1e-5);
    EXPECT_EQ(l[0].colour, 255);
    EXPECT_NEAR(l[1].x1, 20, 1e-5);
    EXPECT_NEAR(l[1].y1, 5, 1e-5);
    EXPECT_NEAR(l[1].x2, 135, 1e-5);
    EXPECT_NEAR(l[1].y2, 115, 1e-5);
}

TEST_F(Linie, EndsThatAreNoNumberAreReportedOnceAndNotDrawn) {
    dialoge.expect(vbOK, "FehlerNr. 6");
    grafik->LINIE(std::nanf(""), 10, 50, 60);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Fehler: \r\nFehlerNr. 6\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "LINIE");
    EXPECT_TRUE(Linien().isEmpty());
}

TEST_F(Linie, WithoutAnOutputObject) {
    clsGRAFIK ohne;
    dialoge.expect(vbOK, "FehlerNr. 91");
    ohne.LINIE(1, 2, 3, 4);
    EXPECT_EQ(dialoge.boxes().size(), 1);
}
} // namespace
