// POLYGON's point numbers, curve label and arrow heads, on a layout whose
// world units are page millimetres (x 20..145 from a left margin of 20, y
// growing downwards), so that positions read directly.

#include "test_skalen_hilfen.h"

#include "drawing/TEXTMALER.h"

namespace {
class Beschriftung : public SkalenTest {
protected:
    void SetUp() override {
        SkalenTest::SetUp();
        clsGRAFIK& g = *grafik;
        g.OX = 1;
        g.OY = 0;
        g.RL = 20;
        g.RR = 0;
        g.RO = 0;
        g.RU = 0;
        g.XMIN = 20;
        g.XMAX = 145;
        g.YMIN = 0;
        g.YMAX = 130;
        g.MX = 1;
        g.MY = 1;
        g.setEPTYP(9); // no curve: only what this file is about
    }

    // The point of a logged upright text that its alignment puts on the
    // reference point.
    static QPointF Bezug(const Primitive& p, int16_t arx, int16_t ary) {
        const double fx = arx == 1 ? 0.5 : arx == 2 ? 1 : 0;
        const double fy = ary == 1 ? 0.5 : ary == 2 ? 1 : 0;
        return {p.x1 + fx * (p.x2 - p.x1), p.y1 + fy * (p.y2 - p.y1)};
    }

    // A line with one end at (x, y).
    static bool AmPunkt(const Primitive& p, double x, double y) {
        return (std::abs(p.x1 - x) < 1e-3 && std::abs(p.y1 - y) < 1e-3) ||
               (std::abs(p.x2 - x) < 1e-3 && std::abs(p.y2 - y) < 1e-3);
    }

    void Beschriften(const std::vector<float>& x, const std::vector<float>& y, int16_t lage,
                     const QString& text = QStringLiteral("Probe")) {
        flaeche->log().clear();
        grafik->POLYGON(x, y, 0, 0, 0, text, lage);
    }
};

TEST_F(Beschriftung, PointNumbersBesideTheChosenPoints) {
    std::vector<float> x, y;
    for (int i = 0; i <= 10; ++i) {
        x.push_back(float(5 + 10 * i)); // the first two lie left of the plot area
        y.push_back(50);
    }
    grafik->POLYGON(x, y, 0, 0, 3);
    const QList<Primitive> texte = Texte();
    ASSERT_EQ(texte.size(), 3);
    EXPECT_EQ(texte[0].text, "0");
    EXPECT_NEAR(texte[0].x1, 6, 1e-3); // top left corner 1 mm right of and above
    EXPECT_NEAR(texte[0].y1, 49, 1e-3);
    EXPECT_EQ(texte[1].text, "5");
    EXPECT_NEAR(texte[1].x1, 56, 1e-3);
    EXPECT_EQ(texte[2].text, "10");
    EXPECT_NEAR(texte[2].x1, 106, 1e-3);

    const auto nummern = [&](int16_t pnr) {
        flaeche->log().clear();
        grafik->POLYGON(x, y, 0, 0, pnr);
        QStringList l;
        for (const Primitive& p : Texte())
            l << p.text;
        return l;
    };
    EXPECT_EQ(nummern(2), (QStringList{"0", "10"}));
    EXPECT_EQ(nummern(1), (QStringList{"10"}));
    EXPECT_EQ(nummern(-1), (QStringList{"0"}));
    EXPECT_EQ(nummern(-3).size(), 11);
    EXPECT_TRUE(nummern(0).isEmpty());
}

TEST_F(Beschriftung, LabelsAlongASegmentTakeItsAngle) {
    const auto winkel = [&](std::vector<float> x, std::vector<float> y) {
        Beschriften(x, y, 0);
        const QList<Primitive> gedreht = Drehtexte();
        return gedreht.size() == 1 ? gedreht[0].angle : -999.0;
    };
    EXPECT_EQ(winkel({50, 60}, {60, 50}), 45);  // rising 10 over 10
    EXPECT_EQ(winkel({50, 50}, {60, 50}), 90);  // vertical
    EXPECT_EQ(winkel({50, 60}, {50, 60}), -45); // falling
    EXPECT_EQ(winkel({60, 50}, {60, 50}), -45); // right to left, rising
    // The first segment for placement 5.
    Beschriften({50, 60, 70}, {60, 50, 50}, 5);
    ASSERT_EQ(Drehtexte().size(), 1);
    EXPECT_EQ(Drehtexte()[0].angle, 45);
}

TEST_F(Beschriftung, PlacementTenUsesTheMiddleSegment) {
    const std::vector<float> x{30, 40, 50, 60, 70}, y(5, 50);
    const double mitte[] = {0, 0, 35, 45, 45, 55};
    for (int n = 2; n <= 5; ++n) {
        Beschriften(std::vector<float>(x.begin(), x.begin() + n),
                    std::vector<float>(y.begin(), y.begin() + n), 10);
        ASSERT_EQ(Texte().size(), 1) << n;
        const QPointF bezug = Bezug(Texte()[0], 1, 2);
        EXPECT_NEAR(bezug.x(), mitte[n], 1e-3) << n;
        EXPECT_NEAR(bezug.y(), 50, 1e-3) << n;
    }
}

TEST_F(Beschriftung, TheFifteenPlacements) {
    // First point (40, 60), last point (100, 50).
    const std::vector<float> x{40, 70, 100}, y{60, 70, 50};
    struct Fall {
        int16_t lage;
        double x, y;
        int16_t arx, ary;
    };
    const Fall faelle[] = {{1, 100, 50, 1, 2}, {2, 100, 50, 1, 0},  {3, 102, 50, 0, 1},
                           {4, 98, 50, 2, 1},  {6, 40, 60, 1, 2},   {7, 40, 60, 1, 0},
                           {8, 42, 60, 0, 1},  {9, 38, 60, 2, 1},   {11, 98, 50, 2, 0},
                           {12, 98, 50, 2, 2}, {13, 102, 50, 0, 0}, {14, 102, 50, 0, 2}};
    for (const Fall& f : faelle) {
        Beschriften(x, y, f.lage);
        ASSERT_EQ(Texte().size(), 1) << f.lage;
        const QPointF bezug = Bezug(Texte()[0], f.arx, f.ary);
        EXPECT_NEAR(bezug.x(), f.x, 1e-3) << f.lage;
        EXPECT_NEAR(bezug.y(), f.y, 1e-3) << f.lage;
    }
    // Placement 3: the label begins 2 mm right of the last point, centred
    // on its height.
    Beschriften(x, y, 3);
    EXPECT_NEAR(Texte()[0].x1, 102, 1e-3);
    EXPECT_NEAR((Texte()[0].y1 + Texte()[0].y2) / 2, 50, 1e-3);
    for (int16_t lage : {15, -1}) {
        Beschriften(x, y, lage);
        EXPECT_TRUE(eintraege().isEmpty()) << lage;
    }
    Beschriften(x, y, 3, QString());
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Beschriftung, OnePointHasNoSegmentToLabelOrArrow) {
    for (int16_t lage : {0, 5, 10}) {
        Beschriften({50}, {50}, lage);
        EXPECT_TRUE(eintraege().isEmpty()) << lage;
    }
    Beschriften({50}, {50}, 1);
    EXPECT_EQ(Texte().size(), 1);
    flaeche->log().clear();
    grafik->POLYGON(std::vector<float>{50}, std::vector<float>{50}, 0, 0, 0, QString(), 0, 1);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Beschriftung, ALabelInENotationComesBackRewritten) {
    QString text = QStringLiteral("25E3");
    QString erwartet = text;
    TEXTMALER::ZAHLUMSCHREIBEN(erwartet);
    grafik->POLYGON(std::vector<float>{50, 60}, std::vector<float>{50, 50}, 0, 0, 0, text, 3, 0,
                    false);
    EXPECT_EQ(text, erwartet);
    EXPECT_NE(text, QStringLiteral("25E3"));
}

TEST_F(Beschriftung, ArrowHeadsOnTheSegments) {
    const std::vector<float> x{30, 50, 70, 90}, y{50, 70, 50, 70};
    const auto koepfe = [&](int16_t lage) {
        flaeche->log().clear();
        grafik->POLYGON(x, y, 0, 0, 0, QString(), 0, lage);
        return int(Linien().size()) / 3;
    };
    EXPECT_EQ(koepfe(0), 0);
    EXPECT_EQ(koepfe(1), 1);
    EXPECT_EQ(koepfe(2), 1);
    EXPECT_EQ(koepfe(3), 2);
    EXPECT_EQ(koepfe(4), 3);
    EXPECT_EQ(koepfe(5), 3);
    EXPECT_EQ(koepfe(6), 6);
    EXPECT_EQ(koepfe(7), 0);

    // Placement 2: the head at the first point, pointing out of the curve.
    koepfe(2);
    int anDerSpitze = 0;
    for (const Primitive& p : Linien())
        if (AmPunkt(p, 30, 50)) ++anDerSpitze;
    EXPECT_EQ(anDerSpitze, 2);
}

TEST_F(Beschriftung, AHeadOnAShortSegmentHasShorterStrokes) {
    grafik->POLYGON(std::vector<float>{50, 53}, std::vector<float>{50, 50}, 0, 0, 0, QString(), 0,
                    1);
    const QList<Primitive> linien = Linien();
    ASSERT_EQ(linien.size(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(AmPunkt(linien[i], 53, 50)) << i;
        EXPECT_NEAR(std::hypot(linien[i].x2 - linien[i].x1, linien[i].y2 - linien[i].y1), 1.5,
                    1e-3);
    }
}
} // namespace
