// The axes drawn by SKALEN: axis lines, ticks, grid lines, numbers and
// titles at their millimetre positions, placed and displaced axes,
// logarithmic numbers, and the figure-11 lists on a real layout row.

#include "test_skalen_hilfen.h"

namespace {
// The usual row: plot area 20..135 across, 5..115 down; x 0..100 at 1.15
// mm per unit, y 0..50 at 2.2 mm per unit.
class Achsen : public SkalenTest {
protected:
    void SetUp() override {
        SkalenTest::SetUp();
        Standardzeile();
        grafik->setETEXTX(QStringLiteral("t [min]"));
        grafik->setETEXTY(QStringLiteral("w [%]"));
        grafik->setESKZX(QStringLiteral("#0"));
        grafik->setESKZY(QStringLiteral("#0"));
    }
    static float XSeite(double x) { return float(20 + 1.15 * x); }
    static float YSeite(double y) { return float(115 - 2.2 * y); }

    void Neu() {
        flaeche->log().clear();
        grafik->SKALEN(0);
    }
    double Mitte(const Primitive& p) { return (p.x1 + p.x2) / 2; }
};

TEST_F(Achsen, TenIntervalsWithGridFourAndOneLabelInterval) {
    XListen({0, 100}, {100}, {10}, {4}, {1});
    grafik->setEAXEY(0);
    grafik->SKALEN(0);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(grafik->NXIT, 10);
    // The axis line once per tick, along the bottom edge.
    EXPECT_EQ(Anzahl({20, 115, 135, 115}), 11);
    for (int i = 0; i <= 10; ++i) {
        const float x = XSeite(10 * i);
        EXPECT_EQ(Anzahl({x, 115, x, 116.5}), 1) << i;
        // Steps of 2.5 rounded halves to even: grid at 0, 2, 4, 6, 8, 10.
        EXPECT_EQ(Anzahl({x, 5, x, 115}), i % 2 == 0 ? 1 : 0) << i;
    }
    // Numbers only at both ends; the title between them, 2 mm below.
    const QList<Primitive> texte = Texte();
    ASSERT_EQ(texte.size(), 3);
    ASSERT_NE(Text("0"), nullptr);
    ASSERT_NE(Text("100"), nullptr);
    EXPECT_NEAR(Mitte(*Text("0")), 20, 1e-3);
    EXPECT_NEAR(Text("0")->y1, 117, 1e-3);
    EXPECT_NEAR(Mitte(*Text("100")), 135, 1e-3);
    ASSERT_NE(Text("t [min]"), nullptr);
    EXPECT_NEAR(Mitte(*Text("t [min]")), 77.5, 1e-3);
    EXPECT_NEAR(Text("t [min]")->y1, 117, 1e-3);
    EXPECT_TRUE(Drehtexte().isEmpty());
}

TEST_F(Achsen, GridThreeAndTwoLabelIntervals) {
    XListen({0, 100}, {100}, {10}, {3}, {2});
    grafik->setEAXEY(0);
    grafik->SKALEN(0);
    for (int i = 0; i <= 10; ++i) {
        const float x = XSeite(10 * i);
        // No grid line on the far edge.
        EXPECT_EQ(Anzahl({x, 5, x, 115}), i % 3 == 0 ? 1 : 0) << i;
    }
    QStringList zahlen;
    for (const Primitive& p : Texte())
        zahlen << p.text;
    EXPECT_EQ(zahlen, (QStringList{"0", "50", "100", "t [min]"}));
    EXPECT_NEAR(Mitte(*Text("50")), XSeite(50), 1e-3);
    // More numbers than the two ends: the title stands 6 mm from the line.
    EXPECT_NEAR(Text("t [min]")->y1, 121, 1e-3);

    // No numbers at all: the title is back at 2 mm.
    grafik->setELXZL(clsGRAFIK::LISTE({0}));
    Neu();
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_NEAR(Text("t [min]")->y1, 117, 1e-3);
}

TEST_F(Achsen, TheYAxisStandsLeftWithTurnedNumbers) {
    XListen({0, 100}, {100}, {10}, {0}, {0});
    YListen({0, 50}, {50}, {5}, {5}, {5});
    grafik->setEAXEX(0);
    grafik->SKALEN(0);
    EXPECT_EQ(Anzahl({20, 5, 20, 115}), 6);
    for (int i = 0; i <= 5; ++i) {
        const float y = YSeite(10 * i);
        EXPECT_EQ(Anzahl({20, y, 18.5, y}), 1) << i;
        EXPECT_EQ(Anzahl({20, y, 135, y}), 1) << i; // grid at every tick
    }
    const QList<Primitive> gedreht = Drehtexte();
    ASSERT_EQ(gedreht.size(), 7);
    const double breite = flaeche->TextWidth("0");
    const double hoehe = flaeche->TextHeight("0");
    // Turned by 90 degrees, its foot on the anchor 2 mm left of the line,
    // centred on the tick: the cell's corner lies one text height further
    // left and half the width below the tick.
    EXPECT_EQ(gedreht[0].text, "0");
    EXPECT_EQ(gedreht[0].angle, 90);
    EXPECT_NEAR(gedreht[0].x1, 18 - hoehe, 0.3);
    EXPECT_NEAR(gedreht[0].y1, 115 + breite / 2, 0.3);
    EXPECT_EQ(gedreht[5].text, "50");
    EXPECT_NEAR(gedreht[5].y1, 5 + breite, 0.3);
    EXPECT_EQ(gedreht[6].text, "w [%]");
    EXPECT_NEAR(gedreht[6].x1, 14 - hoehe, 0.3); // 6 mm out
    EXPECT_TRUE(Texte().isEmpty());
}

TEST_F(Achsen, DisplacedAndOppositeAxes) {
    XListen({0, 100}, {100}, {10}, {10}, {1});
    YListen({0, 50}, {50}, {5}, {5}, {5});
    grafik->setEAXEX(5);
    grafik->setEAXEY(-1);
    grafik->SKALEN(0);
    // x axis 5 mm below the plot area, its ticks and numbers below that.
    EXPECT_EQ(Anzahl({20, 120, 135, 120}), 11);
    EXPECT_EQ(Anzahl({XSeite(30), 120, XSeite(30), 121.5}), 1);
    EXPECT_EQ(Anzahl({XSeite(30), 5, XSeite(30), 115}), 1); // grid only over the plot area
    EXPECT_NEAR(Text("100")->y1, 122, 1e-3);
    // y axis on the right edge, ticks, numbers and title to its right.
    EXPECT_EQ(Anzahl({135, 5, 135, 115}), 6 + 1); // and the last x grid line
    EXPECT_EQ(Anzahl({135, YSeite(20), 136.5, YSeite(20)}), 1);
    for (const Primitive& p : Drehtexte())
        EXPECT_GT(p.x1, 136.5) << p.text.toStdString();
    EXPECT_NEAR(Drehtexte().last().x1, 141, 0.3);

    // The x axis along the top edge, numbers above their anchor.
    grafik->setEAXEX(-1);
    grafik->setEAXEY(0);
    Neu();
    EXPECT_EQ(Anzahl({20, 5, 135, 5}), 11);
    EXPECT_EQ(Anzahl({XSeite(30), 5, XSeite(30), 3.5}), 1);
    EXPECT_NEAR(Text("0")->y2, 3, 1e-3);
}

TEST_F(Achsen, AnAxisDisplacedOutOfTheDrawingIsNotSeen) {
    XListen({0, 100}, {100}, {10}, {0}, {1});
    grafik->setEAXEY(0);
    grafik->setEAXEX(30); // 145 mm down on a drawing 130 high
    grafik->SKALEN(0);
    EXPECT_TRUE(Linien().isEmpty());
    EXPECT_TRUE(Texte().isEmpty());
}

TEST_F(Achsen, ReversedOrientationPutsTheMinimumOnTheOtherSide) {
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [OX]=0, [OY]=0");
    XListen({0, 100}, {100}, {10}, {0}, {1});
    YListen({0, 50}, {50}, {5}, {0}, {0});
    grafik->SKALEN(0);
    // x grows to the left: 0 at the right edge; y grows downwards: the
    // bottom edge shows YMAX and carries the x axis.
    EXPECT_NEAR(Mitte(*Text("0")), 135, 1e-3);
    EXPECT_NEAR(Mitte(*Text("100")), 20, 1e-3);
    EXPECT_EQ(Anzahl({20, 115, 135, 115}), 11);
}

TEST_F(Achsen, LogarithmicNumbersDropATrailingSeparatorInEitherLocale) {
    for (const QLocale& locale : {QLocale::c(), Deutsch()}) {
        Gebietsschema schema(locale);
        fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [XMIN]=1, [XMAX]=1000");
        XListen({1, 10, 100, 1000}, {1000}, {1}, {1}, {1});
        grafik->setESKTX(1);
        grafik->setESKZX(QStringLiteral("0."));
        grafik->setEAXEY(0);
        Neu();
        QStringList zahlen;
        for (const Primitive& p : Texte())
            zahlen << p.text;
        EXPECT_EQ(zahlen, (QStringList{"1", "10", "100", "1000", "1000", "t [min]"}))
            << locale.name().toStdString();
        EXPECT_NEAR(Mitte(*Text("10")), 20 + 115.0 / 3, 1e-3);
        // Grid lines at the decades (the last one twice, with the maximum).
        EXPECT_EQ(Anzahl({20 + 115.0 / 3 * 2, 5, 20 + 115.0 / 3 * 2, 115}), 1);
        EXPECT_EQ(Anzahl({135, 5, 135, 115}), 2);
        // Logarithmic numbers stand 6 mm away from the title.
        EXPECT_NEAR(Text("t [min]")->y1, 121, 1e-3);
    }
}

TEST_F(Achsen, ALogarithmicAxisWithoutMatchingCodesHasGridButNoNumbers) {
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [XMIN]=2, [XMAX]=50");
    XListen({1, 2, 5, 10, 20, 50, 100}, {100}, {10}, {1}, {10});
    grafik->setESKTX(1);
    grafik->setEAXEY(0);
    grafik->SKALEN(0);
    EXPECT_EQ(grafik->NXIT, 12);
    // 13 ticks, the grid on log 2, 1 and log 50, no number.
    EXPECT_EQ(Anzahl({20, 115, 135, 115}), 13);
    const double mmProDekade = 115 / (std::log10(50.0) - std::log10(2.0));
    const double x10 = 20 + (1 - std::log10(2.0)) * mmProDekade;
    EXPECT_EQ(Anzahl({x10, 5, x10, 115}), 1);
    EXPECT_EQ(Anzahl({20, 5, 20, 115}), 1);
    EXPECT_EQ(Anzahl({135, 5, 135, 115}), 1);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_EQ(Texte()[0].text, "t [min]");
}

TEST_F(Achsen, NumbersFollowTheLocaleOfTheUser) {
    Gebietsschema schema(Deutsch());
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [XMAX]=1");
    XListen({0, 1}, {1}, {4}, {0}, {4});
    grafik->setESKZX(QStringLiteral("0.00"));
    grafik->setEAXEY(0);
    grafik->SKALEN(0);
    QStringList zahlen;
    for (const Primitive& p : Texte())
        zahlen << p.text;
    EXPECT_EQ(zahlen, (QStringList{"0,00", "0,25", "0,50", "0,75", "1,00", "t [min]"}));
}

// Figure 11 with its candidate lists, first drawn after a recalculation
// (ranges from the readings, stored), then from the stored row.
TEST_F(Achsen, FigureElevenListsOnARealLayoutRow) {
    fenster->DBPROJEKT()->Execute("DELETE FROM [G0]");
    Standardzeile({{"RL", 11}, {"RR", 7}, {"RO", 7}, {"RU", 11}});
    const std::vector<double> xmin = {
        0,    5,    10,   15,   20,   25,   30,    35,    40,    45,    50,    60,    70,    80,
        90,   100,  150,  200,  250,  300,  350,   400,   450,   500,   600,   700,   800,   900,
        1000, 1500, 2000, 2500, 5000, 7500, 10000, 15000, 20000, 25000, 50000, 75000, 100000};
    const std::vector<double> it = {10, 10, 6,  8,  5, 6,  7, 8, 6,  10, 6, 10, 8, 6,
                                    10, 6,  8,  10, 6, 10, 8, 6, 10, 6,  8, 8,  6, 10,
                                    6,  8,  10, 10, 6, 10, 6, 8, 10, 10, 6, 10};
    const std::vector<double> zl = {5, 5, 3, 4, 5, 6, 7, 4, 3, 5, 3, 5, 4, 3, 5, 3, 4, 5, 3, 5,
                                    4, 3, 5, 3, 4, 4, 3, 5, 3, 4, 5, 5, 3, 5, 3, 4, 5, 5, 3, 5};
    const auto liste = [](const std::vector<double>& werte, size_t von, size_t anzahl) {
        QVariantList l;
        for (size_t i = von; i < von + anzahl; ++i)
            l.append(werte[i]);
        return QVariant(l);
    };
    QVariantList einsen;
    for (int i = 0; i < 42; ++i)
        einsen.append(1);
    grafik->setEBOXMIN(true);
    grafik->setEBOXMAX(true);
    grafik->setEBOYMIN(true);
    grafik->setEBOYMAX(true);
    grafik->setELXMIN(liste(xmin, 0, 41));
    grafik->setELXDIFF(liste(xmin, 1, 40)); // the lengths are the bounds from 5 on
    grafik->setELXIT(liste(it, 0, 40));
    grafik->setELXGIT(einsen);
    grafik->setELXZL(liste(zl, 0, 40));
    grafik->setELYMIN(liste(xmin, 0, 35));
    grafik->setELYDIFF(liste(xmin, 1, 34));
    grafik->setELYIT(liste(it, 0, 34));
    grafik->setELYGIT(QVariant(einsen.mid(0, 36)));
    grafik->setELYZL(liste(zl, 0, 34));

    const std::vector<float> det = {0, 0.25f, 1, 4, 15, 60, 240, 480, 1440};
    const std::vector<float> w = {0, 1.2f, 2.5f, 5.1f, 9.8f, 14.0f, 18.9f, 20.3f, 23.4f};
    grafik->SKALEN(-1, det, w);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(Spalte("XMIN").toDouble(), 0);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 1500);
    EXPECT_EQ(Spalte("YMIN").toDouble(), 0);
    EXPECT_EQ(Spalte("YMAX").toDouble(), 25);
    EXPECT_EQ(grafik->NXIT, 6);
    EXPECT_EQ(grafik->NYIT, 5);

    QStringList x, y;
    for (const Primitive& p : Texte())
        x << p.text;
    for (const Primitive& p : Drehtexte())
        y << p.text;
    EXPECT_EQ(x, (QStringList{"0", "500", "1000", "1500", "t [min]"}));
    EXPECT_EQ(y, (QStringList{"0", "5", "10", "15", "20", "25", "w [%]"}));
    // One grid interval: grid lines only at both ends of each axis.
    // (the left edge also carries the y axis line, once per y tick).
    EXPECT_EQ(Anzahl({11, 7, 11, 119}), 1 + 6);
    EXPECT_EQ(Anzahl({138, 7, 138, 119}), 1);
    EXPECT_EQ(Anzahl({11, 7, 138, 7}), 1);
    EXPECT_EQ(Anzahl({500 * 127.0 / 1500 + 11, 7, 500 * 127.0 / 1500 + 11, 119}), 0);

    // The next drawing without data shows the stored ranges.
    auto zweite = std::make_unique<clsGRAFIK>();
    zweite->setEOBJEKT(flaeche.get());
    zweite->setEID(kID);
    zweite->setELXMIN(grafik->ELXMIN());
    zweite->setELXDIFF(grafik->ELXDIFF());
    zweite->setELXIT(grafik->ELXIT());
    zweite->setELXGIT(grafik->ELXGIT());
    zweite->setELXZL(grafik->ELXZL());
    zweite->setELYMIN(grafik->ELYMIN());
    zweite->setELYDIFF(grafik->ELYDIFF());
    zweite->setELYIT(grafik->ELYIT());
    zweite->setELYGIT(grafik->ELYGIT());
    zweite->setELYZL(grafik->ELYZL());
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [MX]=0, [MY]=0, [MYMX]=0");
    zweite->SKALEN(0);
    EXPECT_EQ(zweite->XMIN, 0);
    EXPECT_EQ(zweite->XMAX, 1500);
    EXPECT_EQ(zweite->YMAX, 25);
    EXPECT_FLOAT_EQ(zweite->MX, 1500.0f / 127);
    EXPECT_FLOAT_EQ(zweite->MY, 25.0f / 112);
}
} // namespace
