// The text painter of the table and of the header: what they leave out and
// where they differ.

#include "drawing/SCHRIFTSATZ.h"
#include "drawing/TEXTMALER.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/RecordingSurface.h"
#include "platform/runtime/Variant.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {
double Em(double punkte) {
    return punkte * 25.4 / 72;
}
double Hoehe(double punkte) {
    return 1.15 * Em(punkte);
}

class Textkopie : public ::testing::Test {
protected:
    Textkopie() : flaeche(297, 210) {
        flaeche.SetScaleMode(6);
        flaeche.SetFontName("Arial");
        flaeche.SetFontSize(10);
        satz.AUFBAUEN(flaeche.Font());
    }
    QList<Primitive> Texte() { return flaeche.log().of(Primitive::Kind::Text); }
    void Tabelle(float x, float y, const QVariant& text, int16_t h = 0, int16_t v = 0) {
        TEXTMALER::TEXT(&flaeche, satz, TEXTVARIANTE::TABELLE(), x, y, text, h, v);
    }
    void Kopf(float x, float y, const QVariant& text, int16_t h = 0, int16_t v = 0) {
        TEXTMALER::TEXT(&flaeche, satz, TEXTVARIANTE::KOPFFUSS(), x, y, text, h, v);
    }
    ScriptedDialogs dialoge;
    RecordingSurface flaeche;
    SCHRIFTSATZ satz;
};

TEST_F(Textkopie, TableRaisesSymbolPiecesTheHeaderDoesNot) {
    Tabelle(10, 20, "{g,1}D");
    Kopf(10, 40, "{g,1}D");
    const QList<Primitive> t = Texte();
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].text, QString::fromUtf8("Δ"));
    EXPECT_NEAR(t[0].y1, 20 - 0.1 * Hoehe(10), 1e-4);
    EXPECT_NEAR(t[1].y1, 40, 1e-4);
}

TEST_F(Textkopie, NoPointSymbolsTheRunIsPrinted) {
    Tabelle(10, 20, "{s,1}3");
    EXPECT_EQ(flaeche.log().count(Primitive::Kind::Circle), 0);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_EQ(Texte()[0].text, "3");
    EXPECT_NEAR(Texte()[0].y1, 20, 1e-4);
}

TEST_F(Textkopie, NoNumberRewriteAndNoVisibilityTest) {
    Tabelle(-50, 500, "2.5E+03");
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_EQ(Texte()[0].text, "2.5E+03");
}

TEST_F(Textkopie, AlignmentOnTheReferencePoint) {
    Tabelle(100, 50, "abcd", 2, 1);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_NEAR(Texte()[0].x1, 100 - 4 * 0.5 * Em(10), 1e-4);
    EXPECT_NEAR(Texte()[0].y1, 50 - Hoehe(10) / 2, 1e-4);
    flaeche.log().clear();
    Tabelle(100, 50, QVariant(12.5), 1, 2);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_EQ(Texte()[0].text, "12.5");
    EXPECT_NEAR(Texte()[0].y1, 50 - Hoehe(10), 1e-4);
}

TEST_F(Textkopie, InsertedCharacterMovesThePenOnThePrinterInTheHeaderOnly) {
    RecordingSurface drucker(297, 210, 600, OutputObject::Kind::Printer);
    drucker.SetScaleMode(6);
    drucker.SetFontSize(10);
    TEXTMALER::TEXT(&drucker, satz, TEXTVARIANTE::KOPFFUSS(), 10, 20, "a{c,176}b", 0, 0);
    QList<Primitive> t = drucker.log().of(Primitive::Kind::Text);
    ASSERT_EQ(t.size(), 3);
    const double w = 0.5 * Em(10);
    EXPECT_NEAR(t[1].x1, 10 + w + 0.35 * Hoehe(10), 1e-4);
    EXPECT_EQ(t[1].text, QString::fromUtf8("°"));
    EXPECT_NEAR(t[2].x1, 10 + 2 * w + 0.35 * Hoehe(10), 1e-4); // and stays moved
    drucker.log().clear();
    TEXTMALER::TEXT(&drucker, satz, TEXTVARIANTE::TABELLE(), 10, 20, "a{c,176}b", 0, 0);
    t = drucker.log().of(Primitive::Kind::Text);
    EXPECT_NEAR(t[1].x1, 10 + w, 1e-4);
    // On the screen the header does not move it either.
    Kopf(10, 20, "a{c,176}b");
    EXPECT_NEAR(Texte()[1].x1, 10 + w, 1e-4);
}

TEST_F(Textkopie, NullIsEmptyInTheTableAndAnErrorInTheHeader) {
    Tabelle(10, 20, VNull());
    Tabelle(10, 20, "");
    EXPECT_TRUE(flaeche.log().entries.isEmpty());
    dialoge.expect(vbOK, "94");
    Kopf(10, 20, VNull());
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Error: 94\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "Sub TEXT, Klassenmodul clsGRAFIK");
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_TRUE(flaeche.log().entries.isEmpty());
}

TEST_F(Textkopie, TheObjectsFontComesBackAfterwards) {
    flaeche.SetFontName("Courier New");
    Tabelle(10, 20, "x{t,1}i");
    EXPECT_EQ(flaeche.FontName(), "Courier New");
    EXPECT_EQ(Texte()[0].font.Name(), "Arial");
    EXPECT_FLOAT_EQ(Texte()[1].font.Size(), 9);
}
} // namespace
