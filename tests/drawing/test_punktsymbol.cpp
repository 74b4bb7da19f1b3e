// The point symbols 0 to 6 in millimetres around their centre.

#include "drawing/PUNKTSYMBOL.h"
#include "platform/controls/RecordingSurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
class Punktsymbol : public ::testing::Test {
protected:
    Punktsymbol() : flaeche(100, 100) {
        flaeche.SetScaleMode(6);
        flaeche.SetForeColor(RGB(0, 0, 128));
    }
    const QList<Primitive>& e() { return flaeche.log().entries; }
    void Strecke(int i, double x1, double y1, double x2, double y2) {
        ASSERT_LT(i, e().size());
        EXPECT_EQ(e()[i].kind, Primitive::Kind::Line) << i;
        EXPECT_NEAR(e()[i].x1, x1, 1e-4) << i;
        EXPECT_NEAR(e()[i].y1, y1, 1e-4) << i;
        EXPECT_NEAR(e()[i].x2, x2, 1e-4) << i;
        EXPECT_NEAR(e()[i].y2, y2, 1e-4) << i;
        EXPECT_EQ(e()[i].colour, RGB(0, 0, 128)) << i;
    }
    RecordingSurface flaeche;
};

TEST_F(Punktsymbol, CrossOfFourStrokesFromTheCentre) {
    PUNKTSYMBOL(flaeche, 0, 10, 20);
    ASSERT_EQ(e().size(), 4);
    Strecke(0, 10, 20, 9.25, 19.25);
    Strecke(1, 10, 20, 9.25, 20.75);
    Strecke(2, 10, 20, 10.75, 19.25);
    Strecke(3, 10, 20, 10.75, 20.75);
}

TEST_F(Punktsymbol, SquaresOfSideOne) {
    PUNKTSYMBOL(flaeche, 1, 10, 20);
    PUNKTSYMBOL(flaeche, 2, 10, 20);
    ASSERT_EQ(e().size(), 2);
    EXPECT_EQ(e()[0].kind, Primitive::Kind::FilledBox);
    EXPECT_EQ(e()[0].colour, RGB(0, 0, 128));
    EXPECT_EQ(e()[1].kind, Primitive::Kind::Box);
    for (const Primitive& p : e()) {
        EXPECT_NEAR(p.x1, 9.5, 1e-4);
        EXPECT_NEAR(p.y1, 19.5, 1e-4);
        EXPECT_NEAR(p.x2, 10.5, 1e-4);
        EXPECT_NEAR(p.y2, 20.5, 1e-4);
    }
}

TEST_F(Punktsymbol, FilledCircleLeavesTheFillTransparent) {
    flaeche.SetFillColor(RGB(1, 2, 3));
    flaeche.SetFillStyle(6);
    PUNKTSYMBOL(flaeche, 3, 10, 20);
    ASSERT_EQ(e().size(), 1);
    EXPECT_EQ(e()[0].kind, Primitive::Kind::Circle);
    EXPECT_NEAR(e()[0].radius, 0.7, 1e-4);
    EXPECT_EQ(e()[0].fillStyle, 0);
    EXPECT_EQ(e()[0].fillColour, RGB(0, 0, 128));
    EXPECT_EQ(flaeche.FillStyle(), 1);
    EXPECT_EQ(flaeche.FillColor(), RGB(255, 255, 255));
    // The open circle then draws with that transparent fill.
    PUNKTSYMBOL(flaeche, 4, 30, 40);
    ASSERT_EQ(e().size(), 2);
    EXPECT_EQ(e()[1].fillStyle, 1);
    EXPECT_NEAR(e()[1].x1, 30, 1e-4);
    // The table's curve symbols leave a black fill colour behind.
    PUNKTSYMBOL(flaeche, 3, 10, 20, 0);
    EXPECT_EQ(flaeche.FillColor(), 0);
}

TEST_F(Punktsymbol, TriangleWithItsApexUp) {
    PUNKTSYMBOL(flaeche, 5, 10, 20);
    ASSERT_EQ(e().size(), 3);
    Strecke(0, 9.3, 20.33, 10.7, 20.33);
    Strecke(1, 10.7, 20.33, 10, 19.33);
    Strecke(2, 10, 19.33, 9.3, 20.33);
}

TEST_F(Punktsymbol, StarIsTheCrossAndAPlus) {
    PUNKTSYMBOL(flaeche, 6, 10, 20);
    ASSERT_EQ(e().size(), 6);
    Strecke(0, 10, 20, 9.25, 19.25);
    Strecke(3, 10, 20, 10.75, 20.75);
    Strecke(4, 9.25, 20, 10.75, 20);
    Strecke(5, 10, 19.25, 10, 20.75);
}

TEST_F(Punktsymbol, OtherNumbersDrawNothing) {
    for (double n : {7.0, -1.0, 2.5, 9.0})
        PUNKTSYMBOL(flaeche, n, 10, 20);
    EXPECT_TRUE(e().isEmpty());
}
} // namespace
