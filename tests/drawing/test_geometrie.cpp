// Coordinate transformation, logarithm, scale factors, circle crossings,
// direction angle and arrow heads.

#include "GrafikTest.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

using Geometrie = GrafikTest;

TEST_F(Geometrie, TransformAndInverseOnNormalAxes) {
    Diagramm();
    grafik->setEXDL(7);
    grafik->setEYDO(3);
    float xp, yp;
    grafik->KOORDTRANS(0, 0, xp, yp);
    EXPECT_NEAR(xp, 7 + 20, 1e-4);
    EXPECT_NEAR(yp, 3 + 5 + 110, 1e-4); // y grows upwards: the minimum at the foot
    grafik->KOORDTRANS(100, 50, xp, yp);
    EXPECT_NEAR(xp, 7 + 135, 1e-3);
    EXPECT_NEAR(yp, 3 + 5, 1e-4);
    for (const auto& [x, y] : {std::pair{12.5f, 33.3f}, {-40.0f, 7.0f}, {99.0f, 49.5f}}) {
        grafik->KOORDTRANS(x, y, xp, yp);
        float xw, yw;
        grafik->KOORDTRANSINV(xp, yp, xw, yw);
        EXPECT_NEAR(xw, x, 1e-3);
        EXPECT_NEAR(yw, y, 1e-3);
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Geometrie, MirroredAxes) {
    Diagramm();
    grafik->OX = 0;
    grafik->OY = -1;
    float xp, yp;
    grafik->KOORDTRANS(100, 0, xp, yp); // XMAX at the left, YMIN at the top
    EXPECT_NEAR(xp, 20, 1e-4);
    EXPECT_NEAR(yp, 5, 1e-4);
    grafik->KOORDTRANS(0, 50, xp, yp);
    EXPECT_NEAR(xp, 135, 1e-3);
    EXPECT_NEAR(yp, 115, 1e-3);
    grafik->KOORDTRANS(30, 20, xp, yp);
    float xw, yw;
    grafik->KOORDTRANSINV(xp, yp, xw, yw);
    EXPECT_NEAR(xw, 30, 1e-3);
    EXPECT_NEAR(yw, 20, 1e-3);
}

TEST_F(Geometrie, LogarithmicAxesGoBackThroughPowersOfTen) {
    Diagramm();
    grafik->XMIN = 0; // decades 1 .. 10000
    grafik->XMAX = 4;
    grafik->MX = 4.0f / 115;
    grafik->YMIN = -1; // 0.1 .. 100
    grafik->YMAX = 2;
    grafik->MY = 3.0f / 110;
    float xp, yp, xw, yw;
    grafik->KOORDTRANS(clsGRAFIK::LOG10(250), clsGRAFIK::LOG10(0.5f), xp, yp);
    grafik->KOORDTRANSINV(xp, yp, xw, yw, 1, 1);
    EXPECT_NEAR(xw, 250, 0.05);
    EXPECT_NEAR(yw, 0.5, 1e-4);
    grafik->KOORDTRANSINV(xp, yp, xw, yw, 1, 0);
    EXPECT_NEAR(yw, clsGRAFIK::LOG10(0.5f), 1e-5);
}

TEST_F(Geometrie, ResultsMayBeTheArgumentsThemselves) {
    Diagramm();
    float x = 50, y = 25;
    grafik->KOORDTRANS(x, y, x, y);
    EXPECT_NEAR(x, 20 + 57.5, 1e-3);
    EXPECT_NEAR(y, 5 + 55, 1e-3);
}

TEST_F(Geometrie, AZeroScaleShowsOneBoxAndLeavesNoNumber) {
    Diagramm();
    grafik->MX = 0;
    dialoge.expect(vbOK, "11");
    float xp = 1, yp = 1;
    grafik->KOORDTRANS(50, 25, xp, yp);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Fehler: 11\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "Koordinatentransformation");
    EXPECT_FALSE(std::isfinite(xp));
    EXPECT_NEAR(yp, 60, 1e-3); // OK went on with y

    // Cancel leaves before y.
    dialoge.expect(vbCancel, "11");
    yp = 1;
    grafik->KOORDTRANS(50, 25, xp, yp);
    EXPECT_FLOAT_EQ(yp, 1);

    // Both factors 0 and a point on the minimum: 0 / 0 is an overflow.
    grafik->MY = 0;
    dialoge.expect(vbOK, "VB-Fehler: 6");
    grafik->KOORDTRANS(0, 50, xp, yp);
    EXPECT_TRUE(std::isnan(xp));
    EXPECT_EQ(dialoge.boxes().size(), 3); // one box per call
}

TEST_F(Geometrie, InverseWithAZeroScaleGivesTheRangeEnd) {
    Diagramm();
    grafik->MX = 0;
    float x, y;
    grafik->KOORDTRANSINV(80, 40, x, y);
    EXPECT_FLOAT_EQ(x, 0);
    dialoge.expect(vbOK, "6");
    grafik->KOORDTRANSINV(80, 40, x, y, 0, 0);
    grafik->YMIN = 100;
    grafik->YMAX = 200;
    grafik->KOORDTRANSINV(80, 40, x, y, 0, 1); // 10 to the 155th is no Single
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, "Inverse Koordinatentransformation");
}

TEST(GeometrieRoutinen, DecimalLogarithm) {
    EXPECT_FLOAT_EQ(clsGRAFIK::LOG10(1000), 3);
    EXPECT_FLOAT_EQ(clsGRAFIK::LOG10(0), 0);
    EXPECT_FLOAT_EQ(clsGRAFIK::LOG10(-5), 0);
    EXPECT_FLOAT_EQ(clsGRAFIK::LOG10(std::nanf("")), 0);
    float wert = 100;
    clsGRAFIK::LOG10(wert, wert);
    EXPECT_FLOAT_EQ(wert, 2);
}

TEST(GeometrieRoutinen, ScaleFactors) {
    float mx = 0, my = 0;
    clsGRAFIK::MASSSTAB(0, 100, 0, 50, 120, 60, 15, 5, 5, 5, 0, mx, my);
    EXPECT_FLOAT_EQ(mx, 1.0f);
    EXPECT_FLOAT_EQ(my, 1.0f);
    // The axis that needs more units per millimetre keeps its factor.
    mx = 1.0f;
    my = 0.5f;
    clsGRAFIK::MASSSTAB(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, mx, my);
    EXPECT_FLOAT_EQ(mx, 1.0f);
    EXPECT_FLOAT_EQ(my, 2.0f);
    mx = 0.5f;
    my = 1.0f;
    clsGRAFIK::MASSSTAB(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, mx, my);
    EXPECT_FLOAT_EQ(mx, 0.5f);
    EXPECT_FLOAT_EQ(my, 1.0f);
    // Stored factors stay when no ratio is forced.
    mx = 3;
    my = 4;
    clsGRAFIK::MASSSTAB(0, 100, 0, 50, 120, 60, 15, 5, 5, 5, 0, mx, my);
    EXPECT_FLOAT_EQ(mx, 3);
    EXPECT_FLOAT_EQ(my, 4);
    // A drawing no wider than its margins divides by zero.
    mx = 0;
    try {
        clsGRAFIK::MASSSTAB(0, 100, 0, 50, 20, 60, 15, 5, 5, 5, 0, mx, my);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 11);
    }
}

TEST(GeometrieRoutinen, CircleCrossings) {
    std::array<float, 2> s{9, 9};
    bool gefunden = false;
    clsGRAFIK::KREISSCHNITTX(0, 0, 5, 3, s, gefunden);
    EXPECT_TRUE(gefunden);
    EXPECT_FLOAT_EQ(s[0], -4);
    EXPECT_FLOAT_EQ(s[1], 4);
    clsGRAFIK::KREISSCHNITTX(0, 0, 5, 5, s, gefunden);
    EXPECT_TRUE(gefunden);
    EXPECT_FLOAT_EQ(s[0], 0);
    EXPECT_FLOAT_EQ(s[1], 0);
    s = {9, 9};
    clsGRAFIK::KREISSCHNITTX(0, 0, 5, 6, s, gefunden);
    EXPECT_FALSE(gefunden);
    EXPECT_FLOAT_EQ(s[0], 9);
    clsGRAFIK::KREISSCHNITTY(10, 20, 5, 24, s, gefunden);
    EXPECT_TRUE(gefunden);
    EXPECT_FLOAT_EQ(s[0], 7);
    EXPECT_FLOAT_EQ(s[1], 13);
    clsGRAFIK::KREISSCHNITTX(10, 20, 5, 6, s, gefunden);
    EXPECT_FLOAT_EQ(s[0], 17);
    EXPECT_FLOAT_EQ(s[1], 23);
}

TEST(GeometrieRoutinen, DirectionAngle) {
    float w = -1;
    const std::pair<std::pair<float, float>, double> faelle[] = {{{1, 1}, kPi / 4},
                                                                 {{-1, 1}, 3 * kPi / 4},
                                                                 {{-1, -1}, 5 * kPi / 4},
                                                                 {{1, -1}, 7 * kPi / 4},
                                                                 {{0, -2}, 3 * kPi / 2},
                                                                 {{0, 2}, kPi / 2},
                                                                 {{-3, 0}, kPi},
                                                                 {{3, 0}, 0},
                                                                 {{0, 0}, 0}};
    for (const auto& [ziel, winkel] : faelle) {
        clsGRAFIK::WINKEL(0, 0, ziel.first, ziel.second, w);
        EXPECT_NEAR(w, winkel, 1e-6) << ziel.first << "," << ziel.second;
    }
    clsGRAFIK::WINKEL(5, 5, 6, 6, w);
    EXPECT_FLOAT_EQ(w, float(kPi / 4));
}

using Pfeil = GrafikTest;

double Laenge(const Primitive& p) {
    return std::hypot(p.x2 - p.x1, p.y2 - p.y1);
}

// The line joins the two points, in either direction (LINIE orders by x).
bool Verbindet(const Primitive& p, double ax, double ay, double bx, double by) {
    const double e = 1e-3;
    auto bei = [e](double x, double y, double u, double v) {
        return std::abs(x - u) < e && std::abs(y - v) < e;
    };
    return (bei(p.x1, p.y1, ax, ay) && bei(p.x2, p.y2, bx, by)) ||
           (bei(p.x1, p.y1, bx, by) && bei(p.x2, p.y2, ax, ay));
}

TEST_F(Pfeil, HeadOfTwoAndAHalfMillimetresAtThirtyDegrees) {
    Diagramm(); // plot area 20..135 x 5..115
    grafik->PFEIL(40, 50, 50, 50);
    const QList<Primitive> l = flaeche->log().of(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 3);
    const double x1 = 50 + 2.5 * std::cos(195 * kPi / 180),
                 y1 = 50 + 2.5 * std::sin(195 * kPi / 180);
    const double x2 = 50 + 2.5 * std::cos(165 * kPi / 180),
                 y2 = 50 + 2.5 * std::sin(165 * kPi / 180);
    EXPECT_NEAR(x1, 47.585, 1e-3);
    EXPECT_NEAR(y1, 49.353, 1e-3);
    EXPECT_TRUE(Verbindet(l[0], 50, 50, x1, y1));
    EXPECT_TRUE(Verbindet(l[1], 50, 50, x2, y2));
    EXPECT_TRUE(Verbindet(l[2], x1, y1, x2, y2));
    EXPECT_NEAR(Laenge(l[0]), 2.5, 1e-4);
    EXPECT_NEAR(Laenge(l[1]), 2.5, 1e-4);
    EXPECT_NEAR(Laenge(l[2]), 2 * 2.5 * std::sin(15 * kPi / 180), 1e-4);
}

TEST_F(Pfeil, ShortArrowsGetSidesOfHalfTheirLength) {
    Diagramm();
    grafik->PFEIL(60, 60, 60, 57); // 3 mm, pointing up
    const QList<Primitive> l = flaeche->log().of(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 3);
    EXPECT_NEAR(Laenge(l[0]), 1.5, 1e-4);
    EXPECT_NEAR(Laenge(l[1]), 1.5, 1e-4);
    flaeche->log().clear();
    grafik->PFEIL(60, 60, 65, 60); // exactly 5 mm: the sides stay 2.5
    EXPECT_NEAR(Laenge(flaeche->log().of(Primitive::Kind::Line)[0]), 2.5, 1e-4);
}

TEST_F(Pfeil, TailOnTipDrawsThreeLinesOfNoLength) {
    Diagramm();
    grafik->PFEIL(60, 60, 60, 60);
    const QList<Primitive> l = flaeche->log().of(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 3);
    for (const Primitive& p : l)
        EXPECT_NEAR(Laenge(p), 0, 1e-6);
}

TEST_F(Pfeil, HeadsAreClippedToThePlotArea) {
    Diagramm();
    grafik->PFEIL(10, 50, 21, 50); // tip 1 mm inside the left edge: the sides are cut at x = 20
    for (const Primitive& p : flaeche->log().of(Primitive::Kind::Line)) {
        EXPECT_GE(std::min(p.x1, p.x2), 20 - 1e-4);
    }
    flaeche->log().clear();
    grafik->PFEIL(0, 50, 5, 50); // wholly outside: no trace
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Pfeil, AnArrowThatIsNoNumberIsReportedOnce) {
    Diagramm();
    dialoge.expect(vbOK, "VB-Fehler: 6");
    grafik->PFEIL(std::nanf(""), 0, 50, 50);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, "Pfeil");
    EXPECT_TRUE(eintraege().isEmpty());
}
} // namespace
