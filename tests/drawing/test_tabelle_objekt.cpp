// The table object: defaults, the column lists, measuring the output object
// and the height a page reads back.

#include "TabellenTest.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

namespace {
int Anzahl(const QVariant& liste) {
    return int(liste.toList().size());
}
bool AlleLeer(const QVariant& liste) {
    for (const QVariant& v : liste.toList())
        if (!IsEmpty(v)) return false;
    return true;
}
} // namespace

TEST(TabellenObjekt, Defaults) {
    clsTABELLE t;
    EXPECT_EQ(t.EOBJEKT(), nullptr);
    EXPECT_EQ(t.EYBALKEN(), nullptr);
    EXPECT_EQ(t.EXDL(), 0);
    EXPECT_EQ(t.EYDO(), 0);
    EXPECT_FLOAT_EQ(t.ERZ(), 1.5f);
    EXPECT_FLOAT_EQ(t.ERO(), 2.5f);
    EXPECT_FLOAT_EQ(t.ERU(), 2.5f);
    EXPECT_FLOAT_EQ(t.ERL(), 2.5f);
    EXPECT_EQ(t.EZA(), 1);
    EXPECT_EQ(t.EZH(), 0);
    EXPECT_EQ(t.EEZ(), 0);
    EXPECT_EQ(t.ELZ(), 0);
    EXPECT_EQ(t.HOEHE(), 0);
    EXPECT_TRUE(IsEmpty(t.ELSB()));
    EXPECT_TRUE(IsEmpty(t.ELA()));
}

TEST(TabellenObjekt, WidthsResetTheLinesAndFlags) {
    clsTABELLE t;
    t.setELA(clsTABELLE::LISTE({1, 2}));
    t.setELGIT(clsTABELLE::LISTE({2, 2, 2, 2, 2, 2, 2}));
    t.setELSB(clsTABELLE::LISTE({11, 18, 18, 18, 18}));
    EXPECT_EQ(Anzahl(t.ELGIT()), 5);
    EXPECT_EQ(Anzahl(t.ELMW()), 5);
    EXPECT_EQ(Anzahl(t.ELGITLEER()), 4);
    EXPECT_TRUE(AlleLeer(t.ELGIT()));
    EXPECT_TRUE(AlleLeer(t.ELMW()));
    EXPECT_TRUE(AlleLeer(t.ELGITLEER()));
    // Alignments and patterns are not touched.
    EXPECT_EQ(Anzahl(t.ELA()), 2);

    // A list written afterwards replaces the whole list, bounds and all.
    t.setELGIT(clsTABELLE::LISTE({2, 1}));
    EXPECT_EQ(t.ELGIT(), clsTABELLE::LISTE({2, 1}));
}

TEST(TabellenObjekt, OneColumnKeepsOneInnerLineEntry) {
    clsTABELLE t;
    t.setELSB(clsTABELLE::LISTE({20}));
    EXPECT_EQ(Anzahl(t.ELGIT()), 1);
    EXPECT_EQ(Anzahl(t.ELMW()), 1);
    EXPECT_EQ(Anzahl(t.ELGITLEER()), 1);
}

TEST(TabellenObjekt, WidthsThatAreNoListAreAnError) {
    clsTABELLE t;
    try {
        t.setELSB(12.5);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    EXPECT_EQ(CDbl(t.ELSB()), 12.5);
}

TEST(TabellenObjekt, MillimetreScaleStaysAndIsMeasured) {
    RecordingSurface flaeche(145, 130);
    flaeche.SetScaleMode(6);
    clsTABELLE t;
    t.setEOBJEKT(&flaeche);
    EXPECT_EQ(flaeche.ScaleMode(), 6);
    EXPECT_NEAR(t.PIXELPROEINHEITX(), 96 / 25.4, 1e-4);
    EXPECT_NEAR(t.PIXELPROEINHEITY(), 96 / 25.4, 1e-4);
    // The default font, black.
    EXPECT_EQ(flaeche.FontName(), "Arial");
    EXPECT_EQ(flaeche.FontSize(), 8);
    EXPECT_FALSE(flaeche.FontBold());
    EXPECT_EQ(flaeche.ForeColor(), 0);
    EXPECT_TRUE(t.SATZ().BELEGT(1));
}

TEST(TabellenObjekt, UserScaleStaysAsItWas) {
    RecordingSurface flaeche(145, 130);
    flaeche.Scale(-10, 200, 135, 70);
    clsTABELLE t;
    t.setEOBJEKT(&flaeche);
    EXPECT_EQ(flaeche.ScaleMode(), 0);
    EXPECT_FLOAT_EQ(flaeche.ScaleLeft(), -10);
    EXPECT_FLOAT_EQ(flaeche.ScaleTop(), 200);
    EXPECT_FLOAT_EQ(flaeche.ScaleWidth(), 145);
    EXPECT_FLOAT_EQ(flaeche.ScaleHeight(), -130);
    // 548 x 491 pixels over 145 x -130 units.
    EXPECT_NEAR(t.PIXELPROEINHEITX(), 548.0 / 145, 1e-3);
    EXPECT_NEAR(t.PIXELPROEINHEITY(), -491.0 / 130, 1e-3);
}

TEST_F(TabellenTest, HeightOfHeadAndBody) {
    // Head (3 + 1 x 4 + 4) + body (3 + 4 x 4 + 4) = 11 + 23.
    Spalten({10, 10, 10, 10, 10}, 4);
    TABELLENZELLEN kopf = Zellen(5, 2), rumpf = Zellen(5, 5);
    tabelle->TABELLE(kopf, 0);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 11);
    tabelle->TABELLE(rumpf, 1);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 34);
    // The summary block does not count.
    TABELLENZELLEN block = Zellen(5, 3);
    tabelle->TABELLE(block, 2);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 34);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}
