// SKALEN on real layout rows of G0: ranges from the data or as stored, what
// is written back, the scale factors, coupling, scroll bars, refused data,
// failed reads and layouts that cannot place a point.

#include "test_skalen_hilfen.h"

#include "platform/controls/ScrollBar.h"

namespace {
const std::vector<float> kDatenX = {3.2f, 20.0f, 47.9f};
const std::vector<float> kDatenY = {1.0f, 2.0f};

class Skalen : public SkalenTest {
protected:
    void Listen() {
        XListen({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, {10, 20, 50, 100}, {2, 4, 5, 10},
                {0, 0, 0, 0}, {0, 0, 0, 0});
        YListen({0, 50, 100}, {50, 100}, {5, 10}, {0, 0}, {0, 0});
    }
    void XSchalter(bool an) {
        grafik->setEBOXMIN(an);
        grafik->setEBOXMAX(an);
    }
};

TEST_F(Skalen, ModeMinusOneTakesTheRangeFromTheDataAndStoresIt) {
    Standardzeile();
    Listen();
    XSchalter(true);
    grafik->SKALEN(-1, kDatenX, kDatenY);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    EXPECT_EQ(grafik->XMIN, 0);
    EXPECT_EQ(grafik->XMAX, 50);
    EXPECT_EQ(Spalte("XMIN").toDouble(), 0);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 50);
    // The y ends are off: the row keeps them.
    EXPECT_EQ(Spalte("YMAX").toDouble(), 50);
    // Scale factors are computed from the plot area and written.
    EXPECT_FLOAT_EQ(grafik->MX, 50.0f / 115);
    EXPECT_FLOAT_EQ(grafik->MY, 50.0f / 110);
    EXPECT_NEAR(Spalte("MX").toDouble(), 50.0 / 115, 1e-6);
    EXPECT_NEAR(Spalte("MY").toDouble(), 50.0 / 110, 1e-6);
    EXPECT_FALSE(Linien().isEmpty());
}

TEST_F(Skalen, ModeZeroWidensTheStoredRangeOnlyWhenTheSwitchesAreOn) {
    Standardzeile({{"XMIN", 10}, {"XMAX", 40}});
    Listen();
    XSchalter(true);
    grafik->SKALEN(0, kDatenX, kDatenY);
    EXPECT_EQ(grafik->XMIN, 0);
    EXPECT_EQ(grafik->XMAX, 50);
    EXPECT_EQ(Spalte("XMIN").toDouble(), 0);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 50);

    // Switches off: the stored ends stay, the length 30 becomes 50, and the
    // figure shows 10 to 60 while the row keeps 40.
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [XMIN]=10, [XMAX]=40");
    XSchalter(false);
    grafik->SKALEN(0);
    EXPECT_EQ(grafik->XMIN, 10);
    EXPECT_EQ(grafik->XMAX, 60);
    EXPECT_EQ(Spalte("XMIN").toDouble(), 10);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 40);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Skalen, ModesOneAndTwoOnlySettleAndWriteTheRanges) {
    for (int16_t modus : {1, 2}) {
        fenster->DBPROJEKT()->Execute("DELETE FROM [G0]");
        Standardzeile({{"XMIN", 5}, {"XMAX", 20}});
        Listen();
        XSchalter(true);
        grafik->MX = 123;
        grafik->MY = 456;
        flaeche->log().clear();
        grafik->SKALEN(modus, std::vector<float>{15.0f, 33.0f}, kDatenY);
        // Mode 1 from the data alone, mode 2 widened from the stored 5; the
        // maximum is snapped on its own (40), not minimum + length (50).
        EXPECT_EQ(grafik->XMIN, modus == 1 ? 10 : 0) << modus;
        EXPECT_EQ(grafik->XMAX, 40) << modus;
        EXPECT_EQ(Spalte("XMIN").toDouble(), modus == 1 ? 10 : 0) << modus;
        EXPECT_EQ(Spalte("XMAX").toDouble(), 40) << modus;
        EXPECT_EQ(grafik->MX, 123) << modus;
        EXPECT_EQ(grafik->MY, 456) << modus;
        EXPECT_EQ(Spalte("MX").toDouble(), 0) << modus;
        EXPECT_TRUE(eintraege().isEmpty()) << modus;
    }
}

TEST_F(Skalen, AMissingArrayCountsAsTheSingleValueZero) {
    Standardzeile({{"XMIN", 30}});
    Listen();
    grafik->setEBOXMIN(true);
    grafik->SKALEN(-1);
    EXPECT_EQ(grafik->XMIN, 0);
    EXPECT_EQ(grafik->XMAX, 100);
    EXPECT_EQ(Spalte("XMIN").toDouble(), 0);
}

TEST_F(Skalen, AMissingRowReadsAsZerosAndIsCreatedByTheWrites) {
    Listen();
    XSchalter(true);
    grafik->SKALEN(-1, kDatenX, kDatenY);
    EXPECT_EQ(fenster->ZEILEN("G0", "[ID]=7 AND [IDOBJEKT]=11"), 1);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 50);
    EXPECT_TRUE(Spalte("XMIN").isNull() || Spalte("XMIN").toDouble() == 0);
    EXPECT_EQ(grafik->RL, 0);
    EXPECT_EQ(grafik->OX, 0);
}

TEST_F(Skalen, ARatioMovesTheFactorThatNeedsFewerUnits) {
    Listen();
    // MY = 50 / 110 comes out below 0.5: MY follows MX (0.5 * 2).
    Standardzeile({{"MX", 0.5}, {"MYMX", 2}});
    grafik->SKALEN(0);
    EXPECT_FLOAT_EQ(grafik->MX, 0.5f);
    EXPECT_FLOAT_EQ(grafik->MY, 1.0f);
    EXPECT_FLOAT_EQ(Spalte("MX").toFloat(), 0.5f);
    EXPECT_FLOAT_EQ(Spalte("MY").toFloat(), 1.0f);

    // MY = 100 / 110 is above 0.5: MX becomes MY / 2.
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [YMAX]=100, [MX]=0.5, [MY]=0");
    grafik->SKALEN(0);
    EXPECT_FLOAT_EQ(grafik->MY, 100.0f / 110);
    EXPECT_FLOAT_EQ(grafik->MX, 100.0f / 110 / 2);
    EXPECT_FLOAT_EQ(Spalte("MX").toFloat(), 100.0f / 110 / 2);

    // Both stored: taken as they are, the ratio is not applied.
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [MX]=1, [MY]=3");
    grafik->SKALEN(0);
    EXPECT_EQ(grafik->MX, 1);
    EXPECT_EQ(grafik->MY, 3);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Skalen, CouplingGivesTheYAxisTheUnitsPerMillimetreOfX) {
    Standardzeile();
    XListen({0, 100}, {100}, {10}, {0}, {0});
    YListen({0, 50, 100, 200}, {50, 100, 200}, {5, 10, 10}, {0, 0, 0}, {0, 0, 0});
    grafik->setEXYIT(1);
    grafik->SKALEN(0);
    // 100 * 110 / 115 = 95.7, moved up to the next candidate length 100.
    EXPECT_EQ(grafik->YMAX, 100);
    EXPECT_EQ(grafik->NYIT, 10);
    EXPECT_EQ(Spalte("YMAX").toDouble(), 50); // switches off: not written

    grafik->setEXYIT(2);
    XListen({0, 100, 200}, {50, 100, 200}, {5, 10, 10}, {0, 0, 0}, {0, 0, 0});
    YListen({0, 50}, {50}, {5}, {0}, {0});
    grafik->SKALEN(0);
    // 50 * 115 / 110 = 52.3, moved up to 100.
    EXPECT_EQ(grafik->XMAX, 100);
}

TEST_F(Skalen, LogarithmicRangesAreLaidOutInDecades) {
    Standardzeile({{"XMIN", 0}, {"XMAX", 1000}});
    XListen({1, 10, 100, 1000}, {1000}, {1}, {1}, {1});
    YListen({0, 50}, {50}, {5}, {0}, {0});
    grafik->setESKTX(1);
    grafik->SKALEN(0);
    // A minimum of 0 counts as 0 decades: the axis starts at 1.
    EXPECT_EQ(grafik->XMIN, 0);
    EXPECT_EQ(grafik->XMAX, 3);
    EXPECT_FLOAT_EQ(grafik->MX, 3.0f / 115);
    EXPECT_EQ(Spalte("XMAX").toDouble(), 1000);
    EXPECT_NEAR(Spalte("MX").toDouble(), 3.0 / 115, 1e-6);
}

TEST_F(Skalen, DataThatIsNoSingleArrayIsRefused) {
    Standardzeile();
    dialoge.expect(vbOK);
    grafik->SKALEN(-1, QVariant(QStringLiteral("3,2")));
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].prompt,
              QStringLiteral("Datenfehler: Sie Müssen ein Single-Feld für X übergeben!"));
    EXPECT_EQ(dialoge.boxes()[0].style, 48);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Skalen"));

    dialoge.expect(vbOK);
    grafik->SKALEN(-1, QVariant::fromValue(std::vector<float>{1, 2}),
                   QVariant(QVariantList{1.0, 2.0}));
    ASSERT_EQ(dialoge.boxes().size(), 2);
    EXPECT_EQ(dialoge.boxes()[1].prompt,
              QStringLiteral("Datenfehler: Sie Müssen ein Single-Feld für Y übergeben!"));
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(Spalte("MX").toDouble(), 0); // nothing read, computed or written

    // A QList<float> is an array of Singles as well.
    grafik->SKALEN(0, QVariant::fromValue(QList<float>{1, 2}));
    EXPECT_EQ(dialoge.boxes().size(), 2);
    EXPECT_FALSE(eintraege().isEmpty());
}

TEST_F(Skalen, AValueThatCannotBeReadEndsWithoutDrawing) {
    Standardzeile();
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [YMIN]='abc'");
    Listen();
    XSchalter(true);
    // OK would go on after any other failure; a failed read ends all the same.
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler:13\r\n"));
    grafik->SKALEN(-1, kDatenX, kDatenY);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Skalen"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(eintraege().isEmpty());
    EXPECT_EQ(Spalte("XMAX").toDouble(), 100); // nothing written
    EXPECT_EQ(Spalte("MX").toDouble(), 0);
}

TEST_F(Skalen, AReadThatFailsIsReportedAfterTheDataAccessMessage) {
    fenster->DBPROJEKT()->Execute("DROP TABLE [G0]");
    Listen();
    dialoge.expect(vbOK, QStringLiteral("kann nicht aus der Spalte OX der Tabelle G0"));
    dialoge.expect(vbOK);
    grafik->SKALEN(0);
    ASSERT_EQ(dialoge.boxes().size(), 2);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(dialoge.boxes()[1].prompt, QStringLiteral("VB-Fehler:0\r\n"));
    EXPECT_EQ(dialoge.boxes()[1].title, QStringLiteral("Skalen"));
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Skalen, ALayoutOfRangeWidthZeroIsReportedOnceAndNothingIsDrawn) {
    Standardzeile({{"XMIN", 10}, {"XMAX", 10}});
    grafik->setELXMIN(QVariant()); // no range search: the stored range stays
    YListen({0, 50}, {50}, {5}, {0}, {0});
    dialoge.expect(vbOK, QStringLiteral("VB-Fehler:11\r\n"));
    grafik->SKALEN(0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Skalen"));
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(eintraege().isEmpty());

    // The curves that follow draw nothing and say nothing.
    grafik->POLYGON(std::vector<float>{1, 2, 3}, std::vector<float>{1, 2, 3}, 3);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Skalen, APlotAreaOfWidthZeroIsReportedOnce) {
    Standardzeile({{"RL", 100}, {"RR", 45}});
    Listen();
    dialoge.expect(vbCancel, QStringLiteral("VB-Fehler:11\r\n"));
    grafik->SKALEN(0);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(eintraege().isEmpty());
    grafik->POLYGON(std::vector<float>{1, 2}, std::vector<float>{1, 2}, 2);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(eintraege().isEmpty());
}

TEST_F(Skalen, AFittingRangeHidesTheScrollBarAndDrawsTheAxes) {
    Standardzeile();
    Listen();
    ScrollBar& balken = flaeche->HScroll();
    balken.SetVisible(true);
    balken.SetValue(300);
    grafik->setEXBALKEN(&balken);
    grafik->SKALEN(0);
    EXPECT_FALSE(balken.Visible());
    EXPECT_EQ(balken.Value(), 0);
    EXPECT_EQ(grafik->XVERSCHIEBUNG, 0);
    EXPECT_FALSE(Linien().isEmpty());
}

TEST_F(Skalen, ARangeThatDoesNotFitShowsTheScrollBarInsteadOfTheAxes) {
    Standardzeile({{"MX", 0.1}}); // 100 units need 1000 mm
    Listen();
    ScrollBar& balken = flaeche->HScroll();
    grafik->setEXBALKEN(&balken);
    grafik->SKALEN(0);
    EXPECT_TRUE(balken.Visible());
    EXPECT_FLOAT_EQ(balken.Top(), flaeche->ScaleHeight() - 5);
    EXPECT_FLOAT_EQ(balken.Left(), 0);
    EXPECT_FLOAT_EQ(balken.Width(), flaeche->ScaleWidth() - 5);
    EXPECT_FLOAT_EQ(balken.Height(), 5);
    EXPECT_EQ(balken.Min(), 0);
    EXPECT_EQ(balken.Max(), 10000);
    // 10000 * (1 - (1000 - 116.45) / 1000)
    EXPECT_EQ(balken.LargeChange(), 1164);
    EXPECT_EQ(balken.SmallChange(), 23);
    EXPECT_EQ(grafik->XVERSCHIEBUNG, 0);
    EXPECT_TRUE(eintraege().isEmpty());

    ScrollBar& senkrecht = flaeche->VScroll();
    grafik->setEXBALKEN(nullptr);
    grafik->setEYBALKEN(&senkrecht);
    fenster->DBPROJEKT()->Execute("UPDATE [G0] SET [MX]=0, [MY]=0.01");
    grafik->SKALEN(0);
    EXPECT_TRUE(senkrecht.Visible());
    EXPECT_FLOAT_EQ(senkrecht.Top(), 0);
    EXPECT_FLOAT_EQ(senkrecht.Left(), flaeche->ScaleWidth() - 5);
    EXPECT_FLOAT_EQ(senkrecht.Width(), 5);
    EXPECT_FLOAT_EQ(senkrecht.Height(), flaeche->ScaleHeight() - 5);
}

TEST_F(Skalen, ThePrinterTakesTheShiftFromTheBarAsTheScreenLeftIt) {
    Standardzeile({{"MX", 0.1}});
    Listen();
    flaeche->SetKind(OutputObject::Kind::Printer);
    ScrollBar& balken = flaeche->HScroll();
    balken.SetMax(10000);
    balken.SetValue(5000);
    grafik->setEXBALKEN(&balken);
    grafik->SKALEN(0);
    EXPECT_FALSE(balken.Visible()); // not touched
    EXPECT_EQ(balken.Max(), 10000);
    // 0.5 of the width that does not fit: 0.5 * (115 - 1000).
    EXPECT_FLOAT_EQ(grafik->XVERSCHIEBUNG, -442.5f);
    EXPECT_FALSE(Linien().isEmpty());
}
} // namespace
