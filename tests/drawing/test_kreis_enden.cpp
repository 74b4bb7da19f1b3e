// KREIS: arrow heads and dots at the ends of an arc, the fill they leave,
// the length of the arc they are measured on, and the messages of the
// clipping.

#include "test_kreis_hilfen.h"

#include "platform/runtime/MsgBox.h"

#include <cmath>

namespace {
using KreisEnden = KreisTest;

constexpr double kW = 0.66987298107780677; // 2.5 mm * tan 15 degrees

// The three strokes of a head with its tip at t and its base at page angle
// alpha on the circle (100, 50) with radius 20.
struct Kopf {
    Strecke seite1, basis, seite2;
};
Kopf Erwartet(double t, double alpha, double l = 2.5) {
    const double w = l * std::tan(15 * kPiD / 180);
    const double sx = 100 + 20 * std::cos(t), sy = 50 + 20 * std::sin(t);
    const double qx = 100 + 20 * std::cos(alpha), qy = 50 + 20 * std::sin(alpha);
    const double ux = qx - w * std::cos(alpha), uy = qy - w * std::sin(alpha);
    const double vx = qx + w * std::cos(alpha), vy = qy + w * std::sin(alpha);
    return {{sx, sy, ux, uy}, {ux, uy, vx, vy}, {vx, vy, sx, sy}};
}

void PruefeKopf(const QList<Primitive>& linien, int ab, const Kopf& k) {
    ASSERT_GE(linien.size(), ab + 3);
    EXPECT_TRUE(GleicheStrecke(linien[ab], k.seite1));
    EXPECT_TRUE(GleicheStrecke(linien[ab + 1], k.basis));
    EXPECT_TRUE(GleicheStrecke(linien[ab + 2], k.seite2));
}

// The usual directions, a quarter from 0 to 90 degrees: on the page from
// the right point (120, 50) up to the top point (100, 30).
constexpr double kStart = 2 * kPiD, kEnde = 1.5 * kPiD, kVersatz = 2.5 / 20;

TEST_F(KreisEnden, HeadAtTheEndPointsAlongTheArc) {
    Flaeche();
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 1, false, 0);
    EXPECT_EQ(Von(Primitive::Kind::Arc).size(), 1);
    const QList<Primitive> linien = Von(Primitive::Kind::Line);
    ASSERT_EQ(linien.size(), 3);
    PruefeKopf(linien, 0, Erwartet(kEnde, kEnde + kVersatz));
    // The base lies on the side the arc comes from, across it.
    EXPECT_GT(linien[1].x1, 100);
    EXPECT_NEAR(std::hypot(linien[1].x2 - linien[1].x1, linien[1].y2 - linien[1].y1), 2 * kW, 1e-4);
}

TEST_F(KreisEnden, HeadsAtBothEndsEndFirst) {
    Flaeche();
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 3, false, 0);
    const QList<Primitive> linien = Von(Primitive::Kind::Line);
    ASSERT_EQ(linien.size(), 6);
    PruefeKopf(linien, 0, Erwartet(kEnde, kEnde + kVersatz));
    PruefeKopf(linien, 3, Erwartet(kStart, kStart - kVersatz));
    flaeche->log().clear();
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 2, false, 0);
    PruefeKopf(Von(Primitive::Kind::Line), 0, Erwartet(kStart, kStart - kVersatz));
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 3);
}

TEST_F(KreisEnden, DotsAreFilledInThePenColourAndTheFillIsClearedAfterwards) {
    Flaeche();
    flaeche->SetForeColor(RGB(0, 128, 0));
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 4, false, 0);
    // Dot at the start, head at the end.
    const QList<Primitive> kreise = Von(Primitive::Kind::Circle);
    ASSERT_EQ(kreise.size(), 1);
    EXPECT_NEAR(kreise[0].x1, 120, 1e-4);
    EXPECT_NEAR(kreise[0].y1, 50, 1e-4);
    EXPECT_NEAR(kreise[0].radius, 0.5, 1e-4);
    EXPECT_EQ(kreise[0].fillStyle, 0);
    EXPECT_EQ(kreise[0].fillColour, RGB(0, 128, 0));
    EXPECT_EQ(kreise[0].colour, RGB(0, 128, 0));
    PruefeKopf(Von(Primitive::Kind::Line), 0, Erwartet(kEnde, kEnde + kVersatz));
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_EQ(flaeche->FillColor(), RGB(255, 255, 255));

    // Head at the start, dot at the end: the head comes first.
    flaeche->log().clear();
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 5, false, 0);
    PruefeKopf(Von(Primitive::Kind::Line), 0, Erwartet(kStart, kStart - kVersatz));
    const Primitive punkt = Von(Primitive::Kind::Circle).value(0);
    EXPECT_NEAR(punkt.x1, 100, 1e-4);
    EXPECT_NEAR(punkt.y1, 30, 1e-4);
    EXPECT_EQ(eintraege().last().kind, Primitive::Kind::Circle);
}

TEST_F(KreisEnden, MarkCodesWithoutAMarkStillClearTheFill) {
    Flaeche();
    flaeche->SetFillStyle(2);
    flaeche->SetFillColor(123);
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 6, false, 0);
    EXPECT_EQ(eintraege().size(), 1);
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_EQ(flaeche->FillColor(), RGB(255, 255, 255));
    // 0 and negative codes leave it alone.
    flaeche->SetFillStyle(2);
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 0, false, 0);
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), -1, false, 0);
    EXPECT_EQ(flaeche->FillStyle(), 2);
}

TEST_F(KreisEnden, AShortArcGetsHeadsOfHalfItsLength) {
    Flaeche();
    // 0.2 rad on 20 mm: 4 mm long, so the heads are 2 mm long.
    grafik->KREIS(100, 50, 20, 0, 0.2f, 1, false, 0);
    PruefeKopf(Von(Primitive::Kind::Line), 0, Erwartet(2 * kPiD - 0.2, 2 * kPiD - 0.2 + 0.1, 2.0));
}

TEST_F(KreisEnden, AnArcThroughZeroIsMeasuredAlongItself) {
    Flaeche();
    // From -0.05 to 0.05 rad: 2 mm long, not the rest of the circle.
    grafik->KREIS(100, 50, 20, -0.05f, 0.05f, 3, true, 0);
    const QList<Primitive> linien = Von(Primitive::Kind::Line);
    ASSERT_EQ(linien.size(), 1 + 6); // one chord, two heads
    PruefeKopf(linien, 1, Erwartet(2 * kPiD - 0.05, 2 * kPiD - 0.05 + 0.05, 1.0));
    PruefeKopf(linien, 4, Erwartet(0.05, 0.0, 1.0));
}

TEST_F(KreisEnden, HeadsOutsideThePlotAreaAreCutAwayButDotsAreNot) {
    Flaeche();
    // Across the left edge, from -90 to +90 degrees: both ends lie left of
    // the plot area.
    grafik->KREIS(20, 50, 20, float(-kPiD / 2), float(kPiD / 2), 3, false, 0);
    EXPECT_EQ(Von(Primitive::Kind::Arc).size(), 1);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 0);
    flaeche->log().clear();
    grafik->KREIS(20, 50, 20, float(-kPiD / 2), float(kPiD / 2), 4, false, 0);
    const Primitive punkt = Von(Primitive::Kind::Circle).value(0);
    EXPECT_NEAR(punkt.x1, 20, 1e-4);
    EXPECT_NEAR(punkt.y1, 70, 1e-4);
}

TEST_F(KreisEnden, ChordsGetTheSameMarks) {
    Flaeche();
    grafik->KREIS(100, 50, 20, 0, float(kPiD / 2), 1, true, 0);
    const QList<Primitive> linien = Von(Primitive::Kind::Line);
    ASSERT_EQ(linien.size(), 9 + 3);
    PruefeKopf(linien, 9, Erwartet(kEnde, kEnde + kVersatz));
}

TEST_F(KreisEnden, AnArcThatMissesThePlotAreaHasNoMarks) {
    Flaeche();
    grafik->KREIS(10, 50, 5, 0, 0, 3, false, 0);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(KreisEnden, APartOfTheRequestedArcThatReachesPastTheVisibleArcIsStillDrawn) {
    Flaeche();
    // Centre left of and below the top left corner; the visible arc runs
    // from the left crossing up through 0 to the top crossing. The request
    // (0.3 to 2.1 rad) starts inside it and leaves it at the top.
    const double r = 27.1, xm = 17.3, ym = 23.9;
    grafik->KREIS(float(xm), float(ym), float(r), 0.3f, 2.1f, 0, false, 0);
    const QList<Primitive> boegen = Von(Primitive::Kind::Arc);
    ASSERT_EQ(boegen.size(), 1);
    EXPECT_NEAR(boegen[0].start, 0.3, 1e-5);
    const double oben = std::atan2(ym - 10, std::sqrt(r * r - (ym - 10) * (ym - 10)));
    EXPECT_NEAR(boegen[0].end, oben, 1e-5);
}

TEST_F(KreisEnden, AnOddNumberOfCrossingsIsReportedAndNothingIsDrawn) {
    Flaeche();
    flaeche->SetFillStyle(2);
    // Through the top left corner, which the rounding counts on one edge only.
    dialoge.expect(
        vbOK, QStringLiteral("Ungerade Anzahl von Schnittpunkten des Kreises mit den Grenzen"));
    grafik->KREIS(0x1.76267p+4f, 0x1.a4e38p+2f, 0x1.dcbc52p+2f, 0, 0, 3, false, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].prompt,
              QStringLiteral("Ungerade Anzahl von Schnittpunkten des Kreises mit den Grenzen"));
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Bogen"));
    EXPECT_EQ(dialoge.boxes()[0].style, vbExclamation);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(flaeche->FillStyle(), 2); // and no marks
}

TEST_F(KreisEnden, AnglesThatStayBelowZeroAreReported) {
    Flaeche();
    dialoge.expect(vbOK, QStringLiteral("Winkel  H1 bzw. H2 < 0"));
    grafik->KREIS(100, 50, 20, -20, -19, 3, false, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("KREIS"));
    EXPECT_EQ(dialoge.boxes()[0].style, vbExclamation);
    EXPECT_TRUE(eintraege().isEmpty());
}
} // namespace
