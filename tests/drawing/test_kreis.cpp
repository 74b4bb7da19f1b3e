// KREIS: arcs and chords clipped to the plot area in all four axis
// directions, the quick cases, the boundary cases of the clipping, the
// coordinate kinds and the end angle written back.

#include "test_kreis_hilfen.h"

#include "platform/runtime/MsgBox.h"

#include <QString>
#include <cmath>

namespace {
using Kreis = KreisTest;

struct Bogen {
    float al1, al2;
};

// Circles around, across and inside the plot area (x 30..200, y 10..90),
// at places that touch no corner and no edge exactly.
const double kMitten[][2] = {{17.3, 23.9},  {61.7, 51.3},   {115.1, -7.7}, {193.9, 88.7},
                             {221.3, 51.3}, {115.1, 111.1}, {61.7, 88.7},  {17.3, 111.1},
                             {115.1, 51.3}, {221.3, -7.7}};
const double kRadien[] = {8.3, 27.1, 55.7, 97.9, 140.3};
const Bogen kBoegen[] = {{0, 0},       {0.3f, 2.1f}, {-0.7f, 0.9f},
                         {2.5f, 5.9f}, {4.0f, 7.5f}, {1.2f, 1.2f + 6.2831855f}};
const int16_t kRichtungen[][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};

// The page point of the diagram's angle alpha on the circle, as the axes run.
PagePunkt Gewuenscht(double xm, double ym, double r, double alpha, int16_t ox, int16_t oy) {
    return {xm + ox * r * std::cos(alpha), ym - oy * r * std::sin(alpha)};
}

// The diagram's angle of a page point seen from the centre.
double Diagrammwinkel(double xm, double ym, double x, double y, int16_t ox, int16_t oy) {
    return std::atan2(-oy * (y - ym), ox * (x - xm));
}

bool Innen(double x, double y, double rand) {
    return x >= KreisTest::kL + rand && x <= KreisTest::kR - rand && y >= KreisTest::kO + rand &&
           y <= KreisTest::kU - rand;
}

// The requested arc from al1 to al2 (an al2 of 0 is a whole turn).
bool ImBogen(double alpha, Bogen b) {
    const double al2 = b.al2 == 0 ? 2 * kPiD : b.al2;
    const double laenge = al2 - b.al1;
    if (laenge >= 2 * kPiD - 1e-5) return true;
    const double d = Weiter(b.al1, alpha);
    return d <= laenge + 1e-4 || d >= 2 * kPiD - 1e-4;
}

// The case in words, for the failure messages of the sweeps.
QString Fall(int16_t ox, int16_t oy, double xm, double ym, double r, Bogen b) {
    return QStringLiteral("OX %1 OY %2 centre %3,%4 r %5 arc %6..%7")
        .arg(ox)
        .arg(oy)
        .arg(xm)
        .arg(ym)
        .arg(r)
        .arg(b.al1)
        .arg(b.al2);
}

TEST_F(Kreis, ArcsInAllDirectionsShowExactlyTheVisiblePartOfTheRequestedArc) {
    int gezeichnet = 0;
    for (const auto& richtung : kRichtungen) {
        const int16_t ox = richtung[0], oy = richtung[1];
        Flaeche(ox, oy);
        for (const auto& mitte : kMitten)
            for (double r : kRadien)
                for (const Bogen& b : kBoegen) {
                    const double xm = mitte[0], ym = mitte[1];
                    const QString fall = Fall(ox, oy, xm, ym, r, b);
                    flaeche->log().clear();
                    float al2 = b.al2;
                    grafik->KREIS(float(xm), float(ym), float(r), b.al1, al2, 0, false, 0);
                    QList<Primitive> stuecke = Von(Primitive::Kind::Arc);
                    stuecke += Von(Primitive::Kind::Circle);
                    ASSERT_EQ(stuecke.size(), eintraege().size()) << fall.toStdString();
                    gezeichnet += int(stuecke.size());
                    // Every drawn point: in the plot area, on the circle, in
                    // the requested arc.
                    for (const Primitive& p : stuecke) {
                        EXPECT_NEAR(p.x1, xm, 1e-4);
                        EXPECT_NEAR(p.y1, ym, 1e-4);
                        EXPECT_NEAR(p.radius, r, 1e-4);
                        for (int k = 0; k <= 40; ++k) {
                            const PagePunkt q = AufKreis(p, p.start + Spanne(p) * k / 40);
                            ASSERT_TRUE(Innen(q.x, q.y, -1e-3))
                                << fall.toStdString() << " at " << q.x << "," << q.y;
                            ASSERT_TRUE(ImBogen(Diagrammwinkel(xm, ym, q.x, q.y, ox, oy), b))
                                << fall.toStdString() << " at " << q.x << "," << q.y;
                        }
                    }
                    // Every visible point of the requested arc is drawn.
                    const double al2d = b.al2 == 0 ? 2 * kPiD : b.al2;
                    for (int k = 0; k <= 720; ++k) {
                        const double alpha = b.al1 + (al2d - b.al1) * k / 720;
                        const PagePunkt q = Gewuenscht(xm, ym, r, alpha, ox, oy);
                        if (!Innen(q.x, q.y, 0.01)) continue;
                        bool bedeckt = false;
                        for (const Primitive& p : stuecke) {
                            const double phi = std::atan2(-(q.y - ym), q.x - xm);
                            const double d = Weiter(p.start, phi);
                            if (d <= Spanne(p) + 1e-4 || d >= 2 * kPiD - 1e-4) bedeckt = true;
                        }
                        ASSERT_TRUE(bedeckt)
                            << fall.toStdString() << " misses " << q.x << "," << q.y;
                    }
                }
    }
    EXPECT_GT(gezeichnet, 500);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Kreis, ChordsInAllDirectionsFollowTheSameArcInsideTheCircle) {
    const double stich = 1 - std::cos(5 * kPiD / 180);
    int gezeichnet = 0;
    for (const auto& richtung : kRichtungen) {
        const int16_t ox = richtung[0], oy = richtung[1];
        Flaeche(ox, oy);
        for (const auto& mitte : kMitten)
            for (double r : kRadien)
                for (const Bogen& b : kBoegen) {
                    const double xm = mitte[0], ym = mitte[1];
                    const QString fall = Fall(ox, oy, xm, ym, r, b);
                    flaeche->log().clear();
                    grafik->KREIS(float(xm), float(ym), float(r), b.al1, float(b.al2), 0, true, 0);
                    const QList<Primitive> sehnen = Von(Primitive::Kind::Line);
                    ASSERT_EQ(sehnen.size(), eintraege().size());
                    gezeichnet += int(sehnen.size());
                    for (const Primitive& p : sehnen)
                        for (int k = 0; k <= 10; ++k) {
                            const double x = p.x1 + (p.x2 - p.x1) * k / 10;
                            const double y = p.y1 + (p.y2 - p.y1) * k / 10;
                            ASSERT_TRUE(Innen(x, y, -1e-3)) << fall.toStdString();
                            const double d = std::hypot(x - xm, y - ym);
                            ASSERT_LE(d, r + 1e-3) << fall.toStdString();
                            ASSERT_GE(d, r * (1 - stich) - 1e-3) << fall.toStdString();
                            ASSERT_TRUE(ImBogen(Diagrammwinkel(xm, ym, x, y, ox, oy), b))
                                << fall.toStdString() << " at " << x << "," << y;
                        }
                    // Every visible point of the requested arc lies on a chord.
                    const double al2d = b.al2 == 0 ? 2 * kPiD : b.al2;
                    for (int k = 0; k <= 360; ++k) {
                        const double alpha = b.al1 + (al2d - b.al1) * k / 360;
                        const PagePunkt q = Gewuenscht(xm, ym, r, alpha, ox, oy);
                        if (!Innen(q.x, q.y, r * stich + 0.01)) continue;
                        bool bedeckt = false;
                        for (const Primitive& p : sehnen) {
                            const double lx = p.x2 - p.x1, ly = p.y2 - p.y1;
                            const double t = std::clamp(((q.x - p.x1) * lx + (q.y - p.y1) * ly) /
                                                            (lx * lx + ly * ly),
                                                        0.0, 1.0);
                            if (std::hypot(p.x1 + t * lx - q.x, p.y1 + t * ly - q.y) <=
                                r * stich + 1e-3)
                                bedeckt = true;
                        }
                        ASSERT_TRUE(bedeckt)
                            << fall.toStdString() << " misses " << q.x << "," << q.y;
                    }
                }
    }
    EXPECT_GT(gezeichnet, 5000);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Kreis, ChordsOfAnArcThroughZeroEndExactlyOnItsEnd) {
    Flaeche();
    // The usual directions: -45 to +45 degrees is the page arc from 45
    // degrees down through 0 to 315 degrees, 90 degrees in nine chords.
    grafik->KREIS(100, 50, 20, -kPiD / 4, kPiD / 4, 0, true, 0);
    const QList<Primitive> sehnen = Von(Primitive::Kind::Line);
    ASSERT_EQ(sehnen.size(), 9);
    const double w = 20 / std::sqrt(2.0);
    EXPECT_NEAR(sehnen.front().x1, 100 + w, 1e-3); // from the lower right, in either order
    EXPECT_NEAR(std::max(sehnen.front().y1, sehnen.front().y2), 50 + w, 1e-3);
    EXPECT_NEAR(std::min(sehnen.back().y1, sehnen.back().y2), 50 - w, 1e-3);
    for (const Primitive& p : sehnen) {
        EXPECT_GT(std::min(p.x1, p.x2), 100 + w - 1e-3); // right of the centre only
        EXPECT_NEAR(std::hypot(p.x2 - p.x1, p.y2 - p.y1), 2 * 20 * std::sin(5 * kPiD / 180), 1e-3);
    }
}

TEST_F(Kreis, ArcOfLengthZeroDrawsNothingInEitherMode) {
    Flaeche();
    grafik->KREIS(100, 50, 20, 1.0f, 1.0f, 3, true, 0);
    grafik->KREIS(100, 50, 20, 1.0f, 1.0f, 3, false, 0);
    grafik->KREIS(30, 50, 20, 1.0f, 1.0f, 3, false, 0); // clipped
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Kreis, AWholeTurnFromZeroIsOneCircleAndTheEndAngleComesBack) {
    Flaeche();
    float al2 = 0;
    grafik->KREIS(100, 50, 20, 0, al2, 0, false, 0);
    EXPECT_EQ(al2, 2 * 3.1415927f);
    const QList<Primitive> kreise = Von(Primitive::Kind::Circle);
    ASSERT_EQ(kreise.size(), 1);
    EXPECT_EQ(eintraege().size(), 1);
    EXPECT_NEAR(kreise[0].x1, 100, 1e-4);
    EXPECT_NEAR(kreise[0].y1, 50, 1e-4);
    EXPECT_NEAR(kreise[0].radius, 20, 1e-4);
    // In chords: 36 of them.
    flaeche->log().clear();
    grafik->KREIS(100, 50, 20, 0, 0, 0, true, 0);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 36);
}

TEST_F(Kreis, AnArcWhollyInsideIsOneArcInTheCurrentColour) {
    Flaeche();
    flaeche->SetForeColor(RGB(0, 0, 255));
    grafik->KREIS(100, 50, 20, 0.3f, 2.1f, 0, false, 0);
    const QList<Primitive> boegen = Von(Primitive::Kind::Arc);
    ASSERT_EQ(boegen.size(), 1);
    EXPECT_EQ(eintraege().size(), 1);
    EXPECT_NEAR(boegen[0].start, 0.3, 1e-5);
    EXPECT_NEAR(boegen[0].end, 2.1, 1e-5);
    EXPECT_EQ(boegen[0].colour, RGB(0, 0, 255));
    // Mirrored x axis: the same diagram angles open to the left.
    flaeche->log().clear();
    grafik->OX = -1;
    grafik->KREIS(100, 50, 20, 0.3f, 2.1f, 0, false, 0);
    const Primitive b = Von(Primitive::Kind::Arc).value(0);
    EXPECT_NEAR(b.start, kPiD - 2.1, 1e-5);
    EXPECT_NEAR(b.end, kPiD - 0.3, 1e-5);
}

TEST_F(Kreis, APlotAreaInsideTheCircleDrawsNothingInEitherMode) {
    Flaeche();
    flaeche->SetFillStyle(3);
    for (bool sehnen : {false, true})
        grafik->KREIS(115, 50, 100, 0, 0, 3, sehnen, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(flaeche->FillStyle(), 3); // no marks either
    // The centre outside: the same circle shows its line.
    grafik->KREIS(25, 50, 100, 0, 0, 0, false, 0);
    EXPECT_FALSE(eintraege().isEmpty());
}

TEST_F(Kreis, CirclesThatOnlyTouchThePlotAreaFromOutsideDrawNothing) {
    Flaeche();
    grafik->KREIS(20, 50, 10, 0, 0, 0, false, 0);   // the left edge
    grafik->KREIS(100, 0, 10, 0, 0, 0, false, 0);   // the top edge: a pair of equal points
    grafik->KREIS(100, 100, 10, 0, 0, 0, false, 0); // the bottom edge
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Kreis, ACircleAcrossTheLeftEdgeShowsItsBulgeThroughZero) {
    Flaeche();
    grafik->KREIS(20, 50, 20, 0, 0, 0, false, 0);
    const QList<Primitive> boegen = Von(Primitive::Kind::Arc);
    ASSERT_EQ(boegen.size(), 1);
    // From the lower crossing (page angle 60 degrees) down through 0 to the
    // upper one (300 degrees); counter-clockwise from 300 to 60 degrees.
    EXPECT_NEAR(boegen[0].start, 300 * kPiD / 180, 1e-5);
    EXPECT_NEAR(boegen[0].end, 60 * kPiD / 180, 1e-5);

    // A request of -45 to +45 degrees lies within it and is drawn whole.
    flaeche->log().clear();
    grafik->KREIS(20, 50, 20, -kPiD / 4, kPiD / 4, 0, false, 0);
    const Primitive b = Von(Primitive::Kind::Arc).value(0);
    EXPECT_NEAR(b.start, 7 * kPiD / 4, 1e-5);
    EXPECT_NEAR(b.end, kPiD / 4, 1e-5);
    EXPECT_EQ(eintraege().size(), 1);
}

TEST_F(Kreis, ACircleAcrossTopAndBottomShowsTwoArcs) {
    Flaeche();
    grafik->KREIS(115, 50, 45, 0, 0, 0, false, 0);
    const QList<Primitive> boegen = Von(Primitive::Kind::Arc);
    ASSERT_EQ(boegen.size(), 2);
    const double w = std::atan2(40.0, std::sqrt(45.0 * 45 - 40 * 40));
    // The right side from the bottom up, then the left side from the top down.
    EXPECT_NEAR(boegen[0].start, 2 * kPiD - w, 1e-5);
    EXPECT_NEAR(boegen[0].end, w, 1e-5);
    EXPECT_NEAR(boegen[1].start, kPiD - w, 1e-5);
    EXPECT_NEAR(boegen[1].end, kPiD + w, 1e-5);
}

TEST_F(Kreis, ACircleOnACornerShowsTheQuarterInside) {
    Flaeche();
    grafik->KREIS(30, 90, 10, 0, 0, 0, false, 0);
    const QList<Primitive> boegen = Von(Primitive::Kind::Arc);
    ASSERT_EQ(boegen.size(), 1);
    // From the bottom crossing up to the left one.
    EXPECT_NEAR(std::cos(boegen[0].start), 1, 1e-9);
    EXPECT_NEAR(std::sin(boegen[0].start), 0, 1e-6);
    EXPECT_NEAR(boegen[0].end, kPiD / 2, 1e-5);
}

TEST_F(Kreis, WorldCoordinatesAreTheDefault) {
    Flaeche();
    grafik->MY = 2; // two units of y per millimetre
    // World (50, 40) is the page point (80, 30); the radius is the page
    // distance to the start point of the arc.
    grafik->KREIS(50, 40, 10, 0, 0, 0, false);
    Primitive k = Von(Primitive::Kind::Circle).value(0);
    EXPECT_NEAR(k.x1, 80, 1e-4);
    EXPECT_NEAR(k.y1, 30, 1e-4);
    EXPECT_NEAR(k.radius, 10, 1e-4);
    flaeche->log().clear();
    grafik->KREIS(50, 40, 10, kPiD / 2, kPiD, 0, false, 1);
    k = Von(Primitive::Kind::Arc).value(0);
    EXPECT_NEAR(k.radius, 5, 1e-4);
}

TEST_F(Kreis, DrawingCoordinatesAddTheOffsetAndTheShift) {
    Flaeche();
    grafik->XVERSCHIEBUNG = 3;
    grafik->YVERSCHIEBUNG = -2;
    grafik->KREIS(50, 40, 10, 0, 0, 0, false, 2);
    const Primitive k = Von(Primitive::Kind::Circle).value(0);
    EXPECT_NEAR(k.x1, 63, 1e-4);
    EXPECT_NEAR(k.y1, 43, 1e-4);
    EXPECT_NEAR(k.radius, 10, 1e-4);
}

TEST_F(Kreis, OtherCoordinateKindsDrawNothing) {
    Flaeche();
    grafik->KREIS(50, 40, 10, 0, 0, 3, false, 7);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: \r\nFehlerNr. 13\r\n"));
    grafik->KREIS(50, 40, 10, 0, 0, 3, false, QStringLiteral("Welt"));
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("KREIS"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Kreis, AWorldCentreThatCannotBePlacedIsReportedOnce) {
    Flaeche();
    grafik->MX = 0; // no layout yet
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: \r\nFehlerNr. 11\r\n"));
    float al2 = 0;
    grafik->KREIS(50, 40, 10, 0, al2, 3, false);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("KREIS"));
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(al2, 2 * 3.1415927f); // written back before anything else
}
} // namespace

namespace {
TEST_F(KreisTest, WithoutAnOutputObjectOneBoxAndNothingElse) {
    clsGRAFIK ohne;
    dialoge.expect(vbCancel, QStringLiteral("VB-Fehler: \r\nFehlerNr. 91\r\n"));
    ohne.KREIS(50, 40, 10, 0, 0, 3, false, 0);
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 91\r\n"));
    ohne.GELAENDESCHRAFFUR(50, 40, 5, 3, 0);
    ASSERT_EQ(dialoge.boxes().size(), 2);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("KREIS"));
    EXPECT_EQ(dialoge.boxes()[1].title, QStringLiteral("Geländeschraffur"));
}
} // namespace
