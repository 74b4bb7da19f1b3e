// Symbols of soil-mechanics sketches: the hatching below a ground line and
// the level triangle.

#include "test_kreis_hilfen.h"

#include "platform/runtime/MsgBox.h"

#include <cmath>

namespace {
using Gelaendesymbole = KreisTest;

const double kH = 5 / std::sqrt(2.0); // a stroke of 5 mm at 45 degrees, per axis

bool ImPlotbereich(const Primitive& p) {
    const auto innen = [](double x, double y) {
        return x >= KreisTest::kL - 1e-3 && x <= KreisTest::kR + 1e-3 &&
               y >= KreisTest::kO - 1e-3 && y <= KreisTest::kU + 1e-3;
    };
    return innen(p.x1, p.y1) && innen(p.x2, p.y2);
}

// ------------------------------------------------------------ hatching

TEST_F(Gelaendesymbole, HatchingIsSixStrokesPerRepeatBelowTheGroundLine) {
    Flaeche();
    // World (50, 40) is the page point (80, 50).
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 1, 0);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 6);
    EXPECT_EQ(eintraege().size(), 6);
    const double h = kH;
    // A V from the line down and back up, a stroke from the middle of its
    // left arm up to the line and one from the middle of its right arm down
    // to the depth of the V.
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80 + h, 50 + h}));
    EXPECT_TRUE(GleicheStrecke(l[1], {80 + h, 50 + h, 80 + 2 * h, 50 + 2 * h}));
    EXPECT_TRUE(GleicheStrecke(l[2], {80 + h, 50 + h, 80 + 2 * h, 50}));
    EXPECT_TRUE(GleicheStrecke(l[3], {80 + 2 * h, 50 + 2 * h, 80 + 3 * h, 50 + h}));
    EXPECT_TRUE(GleicheStrecke(l[4], {80 + 3 * h, 50 + h, 80 + 4 * h, 50 + 2 * h}));
    EXPECT_TRUE(GleicheStrecke(l[5], {80 + 3 * h, 50 + h, 80 + 4 * h, 50}));

    // Each repeat starts where the one before ended on the line.
    flaeche->log().clear();
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 3, 0);
    const QList<Primitive> drei = Von(Primitive::Kind::Line);
    ASSERT_EQ(drei.size(), 18);
    EXPECT_TRUE(GleicheStrecke(drei[12], {80 + 8 * h, 50, 80 + 9 * h, 50 + h}));
    for (const Primitive& p : drei) {
        EXPECT_GE(std::min(p.y1, p.y2), 50 - 1e-4);
        EXPECT_NEAR(std::hypot(p.x2 - p.x1, p.y2 - p.y1), 5, 1e-4);
    }
}

TEST_F(Gelaendesymbole, HatchingWithoutRepeatsDrawsNothing) {
    Flaeche();
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 0, 0);
    grafik->GELAENDESCHRAFFUR(50, 40, 5, -2, 0);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Gelaendesymbole, HatchingStrokesInMillimetresWithKoTwo) {
    Flaeche();
    grafik->XMAX = 340; // two units of x per millimetre, half a unit of y
    grafik->MX = 2;
    grafik->YMAX = 40;
    grafik->MY = 0.5f;
    grafik->GELAENDESCHRAFFUR(100, 20, 5, 1, 0, 2);
    QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 6);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80 + kH, 50 + kH}));
    // In world units the same length is stretched by the scales.
    flaeche->log().clear();
    grafik->GELAENDESCHRAFFUR(100, 20, 5, 1, 0, 0);
    l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 6);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80 + kH / 2, 50 + 2 * kH}));
}

TEST_F(Gelaendesymbole, HatchingStaysBelowTheLineWhenTheYAxisRunsDown) {
    Flaeche(1, -1);
    // World (50, 40) is now the page point (80, 50) from the top.
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 2, 0);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 12);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80 + kH, 50 + kH}));
    for (const Primitive& p : l)
        EXPECT_GE(std::min(p.y1, p.y2), 50 - 1e-4);
}

TEST_F(Gelaendesymbole, HatchingTurnsWithTheGroundLine) {
    Flaeche();
    // 90 degrees: the ground line runs upwards, the hatching lies to its
    // right on the page.
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 1, 90);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 6);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80 + kH, 50 - kH}));
    EXPECT_TRUE(GleicheStrecke(l[5], {80 + kH, 50 - 3 * kH, 80, 50 - 4 * kH}));
}

TEST_F(Gelaendesymbole, HatchingIsDrawnAsStrokesWhateverTheCurveForm) {
    Flaeche();
    grafik->setEPTYP(3); // the curves of the figure are dots
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 1, 0);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 6);
    EXPECT_EQ(Von(Primitive::Kind::Point).size(), 0);
    EXPECT_EQ(grafik->EPTYP(), 3);
}

TEST_F(Gelaendesymbole, HatchingIsCutAtThePlotArea) {
    Flaeche();
    grafik->GELAENDESCHRAFFUR(-5, 3, 5, 4, 0); // starts left of and near the foot of the area
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    EXPECT_FALSE(l.isEmpty());
    EXPECT_LT(l.size(), 24);
    for (const Primitive& p : l)
        EXPECT_TRUE(ImPlotbereich(p));
}

TEST_F(Gelaendesymbole, HatchingWithoutALayoutIsReportedOnce) {
    Flaeche();
    grafik->MY = 0;
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 11\r\n"));
    grafik->GELAENDESCHRAFFUR(50, 40, 5, 3, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Geländeschraffur"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(eintraege().isEmpty());
}

// ------------------------------------------------------------ level triangle

TEST_F(Gelaendesymbole, LevelTriangleIsALevelLineAndATriangleOnItsApex) {
    Flaeche();
    grafik->KOTENDREIECK(50, 40, 4, 0, 0, 0);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 5);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 84, 50}));
    EXPECT_TRUE(GleicheStrecke(l[1], {80, 50, 76, 50}));
    EXPECT_TRUE(GleicheStrecke(l[2], {80, 50, 76, 46}));
    EXPECT_TRUE(GleicheStrecke(l[3], {76, 46, 84, 46}));
    EXPECT_TRUE(GleicheStrecke(l[4], {84, 46, 80, 50}));
}

TEST_F(Gelaendesymbole, LevelTriangleWithLinesBelowAndFans) {
    Flaeche();
    grafik->KOTENDREIECK(50, 40, 4, 0, 1, 0);
    QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 9);
    // 1.5 DH long at DH / 4 below the apex, 0.5 DH long at DH / 2 below it.
    EXPECT_TRUE(GleicheStrecke(l[5], {80, 51, 77, 51}));
    EXPECT_TRUE(GleicheStrecke(l[6], {80, 51, 83, 51}));
    EXPECT_TRUE(GleicheStrecke(l[7], {80, 52, 79, 52}));
    EXPECT_TRUE(GleicheStrecke(l[8], {80, 52, 81, 52}));

    // The whole fan: 68 lines from the apex to the upper side.
    flaeche->log().clear();
    grafik->KOTENDREIECK(50, 40, 4, 0, 0, 3);
    l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 5 + 68);
    int rechts = 0, links = 0;
    for (int i = 5; i < l.size(); ++i) {
        const Primitive& p = l[i];
        const bool ausDerSpitze =
            std::hypot(p.x1 - 80, p.y1 - 50) < 1e-3 || std::hypot(p.x2 - 80, p.y2 - 50) < 1e-3;
        EXPECT_TRUE(ausDerSpitze);
        EXPECT_NEAR(std::min(p.y1, p.y2), 46, 1e-3);
        (std::max(p.x1, p.x2) > 80.001 ? rechts : links)++;
    }
    EXPECT_EQ(rechts, 34);
    EXPECT_EQ(links, 34);
    // The fan leaves a wedge open along the middle: no line steeper than
    // 88.8 degrees.
    for (int i = 5; i < l.size(); ++i)
        EXPECT_GT(std::abs(l[i].x2 - l[i].x1), 4 * std::tan(1.2 * kPiD / 180));

    // One half each.
    for (int16_t voll : {1, 2}) {
        flaeche->log().clear();
        grafik->KOTENDREIECK(50, 40, 4, 0, 0, voll);
        l = Von(Primitive::Kind::Line);
        ASSERT_EQ(l.size(), 5 + 34);
        for (int i = 5; i < l.size(); ++i) {
            if (voll == 1)
                EXPECT_GT(l[i].x1 + l[i].x2, 160);
            else
                EXPECT_LT(l[i].x1 + l[i].x2, 160);
        }
    }
    flaeche->log().clear();
    grafik->KOTENDREIECK(50, 40, 4, 0, 0, 4);
    EXPECT_EQ(Von(Primitive::Kind::Line).size(), 5);
}

TEST_F(Gelaendesymbole, LevelTriangleSizeIsInUnitsOfYAndKeepsTheCallersValue) {
    Flaeche();
    grafik->YMAX = 160; // two units of y per millimetre
    grafik->MY = 2;
    float dh = 8;
    grafik->KOTENDREIECK(50, 80, dh, 0, 0, 0);
    EXPECT_EQ(dh, 8);
    const QList<Primitive> erste = Von(Primitive::Kind::Line);
    ASSERT_EQ(erste.size(), 5);
    EXPECT_TRUE(GleicheStrecke(erste[3], {76, 46, 84, 46}));
    // A second mark with the same variable is the same size.
    flaeche->log().clear();
    grafik->KOTENDREIECK(50, 80, dh, 0, 0, 0);
    const QList<Primitive> zweite = Von(Primitive::Kind::Line);
    ASSERT_EQ(zweite.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(
            GleicheStrecke(zweite[i], {erste[i].x1, erste[i].y1, erste[i].x2, erste[i].y2}));
}

TEST_F(Gelaendesymbole, LevelTriangleTurnsClockwise) {
    Flaeche();
    grafik->KOTENDREIECK(50, 40, 4, 90, 0, 0);
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    ASSERT_EQ(l.size(), 5);
    EXPECT_TRUE(GleicheStrecke(l[0], {80, 50, 80, 54}));
    EXPECT_TRUE(GleicheStrecke(l[2], {80, 50, 84, 46}));
    EXPECT_TRUE(GleicheStrecke(l[3], {84, 46, 84, 54}));
}

TEST_F(Gelaendesymbole, LevelTriangleIsCutAtThePlotArea) {
    Flaeche();
    grafik->KOTENDREIECK(0, 40, 4, 0, 1, 3); // the apex on the left edge
    const QList<Primitive> l = Von(Primitive::Kind::Line);
    EXPECT_FALSE(l.isEmpty());
    EXPECT_LT(l.size(), 5 + 4 + 68);
    for (const Primitive& p : l)
        EXPECT_TRUE(ImPlotbereich(p));
}

TEST_F(Gelaendesymbole, LevelTriangleWithoutALayoutIsReportedOnce) {
    Flaeche();
    grafik->MY = 0;
    dialoge.expect(vbCancel, QStringLiteral("VB-Fehler: 11\r\n"));
    grafik->KOTENDREIECK(50, 40, 4, 0, 1, 3);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Kotendreieck"));
    EXPECT_TRUE(eintraege().isEmpty());
}
} // namespace
