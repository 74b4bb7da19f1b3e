// The summary block: the statistics of the flagged columns, computed by the
// body call over all its rows, written into the summary cells and drawn.

#include "TabellenTest.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

namespace {
class Zusammenfassung : public TabellenTest {
protected:
    // Three columns of 20 mm; columns 1 and 2 flagged.
    void Einrichten() {
        Spalten({20, 20, 20}, 4);
        tabelle->setELMW(Liste({0, 1, 1}));
        tabelle->setELFORMAT(Liste({"", "0.0000", "0.0000"}));
        kopf = Zellen(3, 1);
        tabelle->TABELLE(kopf, 0);
    }
    // The body with the given values in columns 1 and 2.
    void Rumpf(const QVariantList& spalte1, const QVariantList& spalte2) {
        rumpf = TABELLENZELLEN(3, int(spalte1.size()));
        for (int r = 0; r < spalte1.size(); ++r) {
            rumpf(0, r) = QStringLiteral("Probe %1").arg(r + 1);
            rumpf(1, r) = spalte1[r];
            rumpf(2, r) = spalte2[r];
        }
        tabelle->TABELLE(rumpf, 1);
    }
    void Block(int zeilen = 3) {
        block = TABELLENZELLEN(3, zeilen);
        const char* namen[] = {"Mittelwert", "Stand.abw.", "Var.koeff."};
        for (int r = 0; r < zeilen; ++r)
            block(0, r) = QString::fromUtf8(namen[r]);
        flaeche->log().clear();
        tabelle->TABELLE(block, 2);
    }
    TABELLENZELLEN kopf, rumpf, block;
};
} // namespace

TEST_F(Zusammenfassung, MeanDeviationAndVariationOfFlaggedColumns) {
    Einrichten();
    Rumpf({10, 20}, {4, 4});
    Block();
    EXPECT_FLOAT_EQ(CSng(block(1, 0)), 15);
    EXPECT_NEAR(CSng(block(1, 1)), 7.0711, 1e-4);
    EXPECT_NEAR(CSng(block(1, 2)), 0.4714, 1e-4);
    EXPECT_FLOAT_EQ(CSng(block(2, 0)), 4);
    EXPECT_EQ(CSng(block(2, 1)), 0);
    EXPECT_EQ(CSng(block(2, 2)), 0);
    // The labels of the caller stay and are drawn.
    EXPECT_EQ(block(0, 0).toString(), "Mittelwert");
    for (const char* t :
         {"Mittelwert", "Stand.abw.", "Var.koeff.", "15.0000", "7.0711", "0.4714", "4.0000"})
        EXPECT_TRUE(Gezeichnet(QString::fromUtf8(t))) << t;
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Zusammenfassung, BlockLiesOneMillimetreBelowTheBody) {
    Einrichten();
    Rumpf({10, 20}, {4, 4});
    Block();
    // H0 = 3 + 4 = 7, H1 = 3 + 4 + 4 = 11, H2 = 3 + 2 x 4 + 4 = 15.
    const QList<Primitive> kaesten = Art(Primitive::Kind::Box);
    ASSERT_EQ(kaesten.size(), 2);
    EXPECT_NEAR(kaesten[0].y1, 2.5 + 18 + 1, 1e-4);
    EXPECT_NEAR(kaesten[0].y2, 2.5 + 18 + 1 + 15, 1e-4);
    EXPECT_NEAR(kaesten[1].y1, 2.5 + 18 + 0.5, 1e-4);
    EXPECT_NEAR(kaesten[1].y2, 2.5 + 18 + 0.5 + 16, 1e-4);
    // Rows at T + H0 + H1 + ERZ + EZH + 4 r, texts 1 above.
    const Primitive mw = Text("15.0000");
    EXPECT_NEAR(mw.y1 + Zeilenhoehe(8) / 2, 2.5 + 18 + 1.5 + 4 - 1, 1e-4);
    const Primitive va = Text("0.4714");
    EXPECT_NEAR(va.y1 + Zeilenhoehe(8) / 2, 2.5 + 18 + 1.5 + 4 + 8 - 1, 1e-4);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 18);
}

TEST_F(Zusammenfassung, ColumnWithAZeroOrAnEmptyCellShowsDashes) {
    Einrichten();
    Rumpf({10, 0}, {5, QVariant()});
    Block();
    for (int c = 1; c <= 2; ++c)
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(block(c, r).toString(), "-") << c << r;
    int striche = 0;
    for (const Primitive& p : Texte())
        if (p.text == "-") ++striche;
    EXPECT_EQ(striche, 6);
}

TEST_F(Zusammenfassung, MeanOfZeroGivesADashForTheVariationOnly) {
    Einrichten();
    Rumpf({-5, 5}, {1, 1});
    Block();
    EXPECT_EQ(CSng(block(1, 0)), 0);
    EXPECT_NEAR(CSng(block(1, 1)), 7.0711, 1e-4);
    EXPECT_EQ(block(1, 2).toString(), "-");
    EXPECT_TRUE(Gezeichnet("0.0000"));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Zusammenfassung, TwoRowsReceiveMeanAndDeviationOnly) {
    Einrichten();
    Rumpf({10, 20}, {1, 2});
    Block(2);
    EXPECT_FLOAT_EQ(CSng(block(1, 0)), 15);
    EXPECT_NEAR(CSng(block(1, 1)), 7.0711, 1e-4);
    EXPECT_FALSE(Gezeichnet("0.4714"));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Zusammenfassung, OnlyTheNumberOneFlagsAColumn) {
    Einrichten();
    tabelle->setELMW(Liste({0, true, 2}));
    Rumpf({10, 20}, {1, 2});
    block = TABELLENZELLEN(3, 3);
    block(1, 0) = QStringLiteral("eigen");
    block(2, 0) = 99;
    tabelle->TABELLE(block, 2);
    EXPECT_EQ(block(1, 0).toString(), "eigen");
    EXPECT_EQ(block(2, 0).toInt(), 99);
}

TEST_F(Zusammenfassung, StatisticsTakeEveryRowNotOnlyThoseShown) {
    Flaeche(145, 40);
    ScrollBar& balken = flaeche->VScroll();
    tabelle->setEYBALKEN(&balken);
    Einrichten();
    QVariantList werte, eins;
    for (int i = 1; i <= 20; ++i) {
        werte.append(i);
        eins.append(1);
    }
    Rumpf(werte, eins);
    ASSERT_TRUE(balken.Visible());
    ASSERT_LT(tabelle->ELZ(), 19);
    Block();
    EXPECT_FLOAT_EQ(CSng(block(1, 0)), 10.5f);
    EXPECT_NEAR(CSng(block(1, 1)), 5.9161, 1e-4);
}

TEST_F(Zusammenfassung, TextInAFlaggedColumnIsATypeMismatch) {
    Einrichten();
    dialoge.expect(vbOK, "VB-Error: 13");
    Rumpf({10, QStringLiteral("abc")}, {1, 2});
    EXPECT_EQ(dialoge.boxes().at(0).title, "Tabelle");
    // The other column still has its statistics.
    Block();
    EXPECT_FLOAT_EQ(CSng(block(2, 0)), 1.5f);
}
