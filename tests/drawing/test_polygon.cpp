// POLYGON: the nine curve forms, the base point, draw flags, markers and
// their choice, the pen colour, logarithmic axes on copies, and arrays that
// cannot carry the curve.

#include "test_skalen_hilfen.h"

#include <limits>

namespace {
using FELD = clsGRAFIK::SINGLEFELD;

// The layout of GrafikTest::Diagramm: plot area 20..135 x 5..115, x 0..100
// at 1.15 mm per unit, y 0..50 at 2.2 mm per unit, y upwards.
class Polygon : public SkalenTest {
protected:
    void SetUp() override {
        SkalenTest::SetUp();
        Diagramm();
    }
    static double XS(double x) { return 20 + 1.15 * x; }
    static double YS(double y) { return 115 - 2.2 * y; }
    // A segment in world units, on the page.
    static Strecke W(double x1, double y1, double x2, double y2) {
        return {XS(x1), YS(y1), XS(x2), YS(y2)};
    }
    // Exactly these segments were drawn, in any order and direction.
    void GenauDiese(const std::vector<Strecke>& soll) {
        const QList<Primitive> linien = Linien();
        EXPECT_EQ(linien.size(), qsizetype(soll.size()));
        for (size_t i = 0; i < soll.size(); ++i)
            EXPECT_EQ(Anzahl(soll[i]), 1) << "segment " << i << ": " << soll[i].x1 << ","
                                          << soll[i].y1 << " - " << soll[i].x2 << "," << soll[i].y2;
    }
    void Form(int16_t form, const std::vector<float>& x, const std::vector<float>& y) {
        flaeche->log().clear();
        grafik->setEPTYP(form);
        grafik->POLYGON(x, y);
    }
};

TEST(Punktauswahl, ChoosesPointsByTheCountAsked) {
    const auto alle = [](int n) {
        std::vector<int> v;
        for (int i = 0; i < n; ++i)
            v.push_back(i);
        return v;
    };
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(11, 11), alle(11));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(3, 11), (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(4, 6), (std::vector<int>{0, 2, 4})); // round(5/3)
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(3, 6), (std::vector<int>{0, 2, 4})); // 2.5 -> 2
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(2, 6), (std::vector<int>{0, 5}));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(2, 1), (std::vector<int>{0}));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(1, 6), (std::vector<int>{5}));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(-1, 6), (std::vector<int>{0}));
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(-3, 4), alle(4));
    EXPECT_TRUE(clsGRAFIK::PUNKTAUSWAHL(0, 6).empty());
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(100, 6), alle(6)); // k rounds to 0, taken as 1
    EXPECT_EQ(clsGRAFIK::PUNKTAUSWAHL(32767, 40000).size(), 40000u);
}

TEST_F(Polygon, TwoPointsWithoutExtrasDrawOneClippedLine) {
    grafik->POLYGON(std::vector<float>{10, 120}, std::vector<float>{10, 20});
    ASSERT_EQ(eintraege().size(), 1);
    EXPECT_TRUE(GleicheStrecke(eintraege()[0], {XS(10), YS(10), 135, YS(10 + 10 * 90.0 / 110)}));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Polygon, OnePointDrawsOnlyItsMarker) {
    grafik->POLYGON(std::vector<float>{50}, std::vector<float>{25}, 1, 0);
    // The cross: four lines from the centre.
    const double cx = XS(50), cy = YS(25);
    GenauDiese({{cx, cy, cx - 0.75, cy - 0.75},
                {cx, cy, cx - 0.75, cy + 0.75},
                {cx, cy, cx + 0.75, cy - 0.75},
                {cx, cy, cx + 0.75, cy + 0.75}});
}

TEST_F(Polygon, DrawFlagsLeaveGapsWhereAnElementIsNotOne) {
    const std::vector<float> x{10, 20, 30, 40}, y{10, 20, 10, 20};
    grafik->POLYGON(x, y, 0, 0, 0, QString(), 0, 0, false, QVariantList{1, 0, 1});
    GenauDiese({W(10, 10, 20, 20), W(30, 10, 40, 20)});

    flaeche->log().clear();
    grafik->POLYGON(x, y, 0, 0, 0, QString(), 0, 0, false, QVariantList{true, true, true});
    EXPECT_TRUE(Linien().isEmpty()); // True is not 1
    grafik->POLYGON(x, y, 0, 0, 0, QString(), 0, 0, false,
                    QVariantList{QVariant(), 1.0, QStringLiteral("1")});
    GenauDiese({W(20, 20, 30, 10), W(30, 10, 40, 20)});
    EXPECT_TRUE(dialoge.boxes().isEmpty());

    // Too few flags, or flags that are no list: one box, nothing drawn.
    flaeche->log().clear();
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 9\r\n"));
    grafik->POLYGON(x, y, 4, 0, 0, QString(), 0, 0, false, QVariantList{1, 1});
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 13\r\n"));
    grafik->POLYGON(x, y, 4, 0, 0, QString(), 0, 0, false, QVariant(1));
    EXPECT_EQ(dialoge.boxes().size(), 2);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Polygon"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Polygon, MarkersStandOnTheChosenPointsInsideThePlotArea) {
    std::vector<float> x, y;
    for (int i = 0; i <= 10; ++i) {
        x.push_back(float(10 * i));
        y.push_back(float(2 * i));
    }
    y[5] = 60;           // above the plot area: chosen, but no marker
    grafik->setEPTYP(9); // no curve
    grafik->POLYGON(x, y, 3, 1);
    const QList<Primitive> kaesten = flaeche->log().of(Primitive::Kind::FilledBox);
    ASSERT_EQ(kaesten.size(), 2);
    EXPECT_NEAR(kaesten[0].x1, XS(0) - 0.5, 1e-3);
    EXPECT_NEAR(kaesten[0].y1, YS(0) - 0.5, 1e-3);
    EXPECT_NEAR(kaesten[1].x1, XS(100) - 0.5, 1e-3);
    EXPECT_NEAR(kaesten[1].x2, XS(100) + 0.5, 1e-3);
    EXPECT_TRUE(Linien().isEmpty());

    flaeche->log().clear();
    grafik->POLYGON(x, y, 11, 2); // every point but the one outside
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::Box), 10);
}

TEST_F(Polygon, APointOnTheEdgeGetsItsMarkerButNoDot) {
    grafik->setEPTYP(3);
    grafik->POLYGON(std::vector<float>{0, 50}, std::vector<float>{10, 25}, 2, 4);
    const QList<Primitive> punkte = flaeche->log().of(Primitive::Kind::Point);
    ASSERT_EQ(punkte.size(), 1); // the edge point is not strictly inside
    EXPECT_NEAR(punkte[0].x1, XS(50), 1e-3);
    EXPECT_NEAR(punkte[0].y1, YS(25), 1e-3);
    const QList<Primitive> kreise = flaeche->log().of(Primitive::Kind::Circle);
    ASSERT_EQ(kreise.size(), 2);
    EXPECT_NEAR(kreise[0].x1, 20, 1e-3);
    EXPECT_NEAR(kreise[0].radius, 0.7, 1e-3);
}

TEST_F(Polygon, ColoursFromTheMarkerShapeAndThePenGivenBack) {
    flaeche->SetForeColor(RGB(1, 2, 3));
    grafik->POLYGON(std::vector<float>{10, 50}, std::vector<float>{10, 30}, 2, 5, 0, QString(), 0,
                    1, true);
    ASSERT_FALSE(eintraege().isEmpty());
    for (const Primitive& p : eintraege())
        EXPECT_EQ(p.colour, RGB(0, 255, 0));
    EXPECT_EQ(Linien().size(), 1 + 2 * 3 + 3); // curve, two triangles, one arrow head
    EXPECT_EQ(flaeche->ForeColor(), RGB(1, 2, 3));

    // A shape without a palette colour keeps the pen and draws no marker.
    flaeche->log().clear();
    grafik->POLYGON(std::vector<float>{10, 50}, std::vector<float>{10, 30}, 2, 8, 0, QString(), 0,
                    0, true);
    ASSERT_EQ(eintraege().size(), 1);
    EXPECT_EQ(eintraege()[0].colour, RGB(1, 2, 3));
}

TEST_F(Polygon, AFilledCircleLeavesTheFillTransparentAndWhite) {
    flaeche->SetFillStyle(0);
    flaeche->SetFillColor(RGB(255, 0, 0));
    grafik->POLYGON(std::vector<float>{10}, std::vector<float>{10}, 1, 3);
    ASSERT_EQ(flaeche->log().count(Primitive::Kind::Circle), 1);
    EXPECT_EQ(flaeche->log().of(Primitive::Kind::Circle)[0].fillStyle, 0);
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_EQ(flaeche->FillColor(), RGB(255, 255, 255));
}

TEST_F(Polygon, TheStepForms) {
    const std::vector<float> x{10, 20, 30}, y{1, 3, 2};
    Form(4, x, y);
    GenauDiese({W(0, 0, 0, 1), W(0, 1, 10, 1), W(10, 1, 10, 3), W(10, 3, 20, 3), W(20, 3, 20, 2),
                W(20, 2, 30, 2), W(30, 2, 30, 0)});
    Form(5, x, y);
    GenauDiese({W(0, 0, 10, 0), W(10, 0, 10, 1), W(10, 1, 20, 1), W(20, 1, 20, 3), W(20, 3, 30, 3),
                W(30, 3, 30, 2), W(30, 2, 0, 2)});
    Form(6, x, y);
    GenauDiese(
        {W(0, 0, 10, 1), W(10, 1, 10, 3), W(10, 3, 20, 3), W(20, 3, 20, 2), W(20, 2, 30, 2)});
    Form(1, x, y);
    GenauDiese({W(5, 0, 5, 1), W(5, 1, 15, 1), W(20, 3, 15, 3), W(20, 3, 25, 3), W(15, 1, 15, 3),
                W(25, 3, 25, 2), W(25, 2, 35, 2), W(35, 2, 35, 0)});
}

TEST_F(Polygon, TheFormsAlongY) {
    const std::vector<float> x{1, 3, 2}, y{10, 20, 30};
    for (int16_t form : {2, 7}) {
        Form(form, x, y);
        GenauDiese({W(0, 5, 1, 5), W(1, 5, 1, 15), W(3, 20, 3, 15), W(3, 20, 3, 25),
                    W(1, 15, 3, 15), W(3, 25, 2, 25), W(2, 25, 2, 35), W(2, 35, 0, 35)});
    }
    Form(8, x, y);
    GenauDiese({W(0, 10, 1, 10), W(1, 10, 1, 15), W(1, 15, 3, 15), W(3, 15, 3, 20), W(3, 20, 3, 25),
                W(3, 25, 2, 25), W(2, 25, 2, 30), W(2, 30, 0, 30)});
}

TEST_F(Polygon, ABasePointInElementMinusOne) {
    const std::vector<float> x{5, 10, 20, 30}, y{0.5f, 1, 3, 2};
    grafik->setEPTYP(4);
    grafik->POLYGON(FELD(x, -1), FELD(y, -1));
    GenauDiese({W(5, 0.5, 5, 1), W(5, 1, 10, 1), W(10, 1, 10, 3), W(10, 3, 20, 3), W(20, 3, 20, 2),
                W(20, 2, 30, 2), W(30, 2, 30, 0.5)});
    // The polyline has no base point: element -1 is no point of the curve.
    flaeche->log().clear();
    grafik->setEPTYP(0);
    grafik->POLYGON(FELD(x, -1), FELD(y, -1));
    GenauDiese({W(10, 1, 20, 3), W(20, 3, 30, 2)});
}

TEST_F(Polygon, DotsAndNoCurve) {
    const std::vector<float> x{10, 50, 120}, y{10, 25, 10};
    Form(3, x, y);
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::Point), 2);
    EXPECT_TRUE(Linien().isEmpty());
    flaeche->log().clear();
    grafik->setEPTYP(9);
    grafik->POLYGON(x, y, 3, 2);
    EXPECT_TRUE(Linien().isEmpty());
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::Box), 2); // the third lies outside
}

TEST_F(Polygon, LogarithmicAxesWorkOnCopies) {
    grafik->setESKTX(1);
    grafik->XMIN = 0; // 1 to 1000
    grafik->XMAX = 3;
    grafik->MX = 3.0f / 115;
    std::vector<float> x{0, 10, 100}, y{10, 20, 30};
    grafik->POLYGON(x, y);
    // A value of 0 or below stands where 1 would.
    GenauDiese({{20, YS(10), 20 + 115.0 / 3, YS(20)},
                {20 + 115.0 / 3, YS(20), 20 + 115.0 / 3 * 2, YS(30)}});
    EXPECT_EQ(x, (std::vector<float>{0, 10, 100}));
    // The printout draws the same arrays again: the same curve.
    const QList<Primitive> erste = Linien();
    flaeche->log().clear();
    grafik->POLYGON(x, y);
    const QList<Primitive> zweite = Linien();
    ASSERT_EQ(erste.size(), zweite.size());
    for (int i = 0; i < erste.size(); ++i)
        EXPECT_TRUE(
            GleicheStrecke(erste[i], {zweite[i].x1, zweite[i].y1, zweite[i].x2, zweite[i].y2}));
}

TEST_F(Polygon, ArraysThatCannotCarryTheCurveAreReportedOnce) {
    const auto einmal = [&](auto&& aufruf) {
        dialoge.clear();
        flaeche->log().clear();
        dialoge.expect(vbOK, QStringLiteral("VB-Fehler: 9\r\n"));
        aufruf();
        EXPECT_EQ(dialoge.boxes().size(), 1);
        if (!dialoge.boxes().isEmpty()) {
            EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Polygon"));
        }
        EXPECT_TRUE(eintraege().isEmpty());
    };
    const std::vector<float> eins{10}, zwei{10, 20}, drei{10, 20, 30};
    for (int16_t form : {1, 2, 7, 8}) {
        grafik->setEPTYP(form);
        einmal([&] { grafik->POLYGON(eins, eins, 1); });
    }
    grafik->setEPTYP(0);
    einmal([&] { grafik->POLYGON(drei, zwei, 3); });                 // Y shorter than X
    einmal([&] { grafik->POLYGON(std::vector<float>{}, eins, 1); }); // no point at all
    einmal([&] { grafik->POLYGON(FELD(drei, -1), FELD(drei), 1); }); // Y without element -1
    einmal([&] { grafik->POLYGON(FELD(drei, 1), FELD(drei, 1), 1); });

    // A longer Y is fine, as are the forms that need one point only.
    dialoge.clear();
    flaeche->log().clear();
    grafik->POLYGON(zwei, drei);
    EXPECT_EQ(Linien().size(), 1);
    for (int16_t form : {3, 4, 5, 6}) {
        grafik->setEPTYP(form);
        grafik->POLYGON(eins, eins);
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Polygon, CurvesLongerThanSixteenBitIndices) {
    const int n = 40000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[size_t(i)] = float(i) * 100.0f / float(n);
        y[size_t(i)] = 25.0f + float(i % 2);
    }
    grafik->POLYGON(x, y, 2, 1);
    EXPECT_EQ(Linien().size(), n - 1);
    EXPECT_EQ(flaeche->log().count(Primitive::Kind::FilledBox), 2);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Polygon, APointThatCannotBePlacedIsReportedOnceAndThePenGivenBack) {
    flaeche->SetForeColor(RGB(9, 9, 9));
    std::vector<float> x{10, std::numeric_limits<float>::quiet_NaN(), 30}, y{1, 2, 3};
    dialoge.expect(vbCancel, QStringLiteral("VB-Fehler: 6\r\n"));
    grafik->POLYGON(x, y, 3, 0, 0, QString(), 0, 0, true);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(flaeche->ForeColor(), RGB(9, 9, 9));
}

TEST_F(Polygon, AScaleOfZeroThatNobodyReportedIsReportedOnce) {
    // Without SKALEN no one has said that the layout places nothing: the
    // curve says it, once, and draws nothing.
    grafik->MX = 0;
    dialoge.expect(vbOK);
    grafik->POLYGON(std::vector<float>{10, 20}, std::vector<float>{10, 20}, 2);
    EXPECT_TRUE(eintraege().isEmpty());
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Polygon"));
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith(QStringLiteral("VB-Fehler: ")));
}
} // namespace
