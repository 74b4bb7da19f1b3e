// Pen and font of the table, its title and footnote, and the curve symbols
// of a "SYMBOL" column.

#include "TabellenTest.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

TEST_F(TabellenTest, SolidBlackOnePixelPen) {
    flaeche->SetDrawStyle(2);
    flaeche->SetDrawWidth(5);
    flaeche->SetDrawMode(7);
    flaeche->SetForeColor(RGB(1, 2, 3));
    tabelle->LINIENEINSTELLUNGEN(0, 0, 0);
    EXPECT_EQ(flaeche->DrawStyle(), 0);
    EXPECT_EQ(flaeche->DrawWidth(), 1);
    EXPECT_EQ(flaeche->DrawMode(), 13);
    EXPECT_EQ(flaeche->ForeColor(), 0);
}

TEST_F(TabellenTest, PenWidthInMillimetresBecomesPixels) {
    float breite = 0.5f;
    tabelle->LINIENEINSTELLUNGEN(0, breite, 255);
    EXPECT_NEAR(breite, 0.5 * 548 / 145, 1e-3); // 1.89 pixels handed over
    EXPECT_EQ(flaeche->DrawWidth(), 2);
    EXPECT_EQ(flaeche->ForeColor(), 255); // red
}

TEST(TabellenEinstellungen, PenWithoutOutputObjectShowsItsBox) {
    ScriptedDialogs dialoge;
    clsTABELLE t;
    dialoge.expect(vbOK, "VB-Error 91");
    t.LINIENEINSTELLUNGEN(0, 0, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_TRUE(dialoge.boxes()[0].prompt.startsWith("VB-Error 91\r\n"));
    EXPECT_EQ(dialoge.boxes()[0].title, "Linieneinstellungen");
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
}

TEST_F(TabellenTest, FontArgumentsBoldUnderlineItalic) {
    tabelle->SCHRIFTEINSTELLUNGEN("Arial", 10, true, false, true, 0);
    EXPECT_EQ(flaeche->FontName(), "Arial");
    EXPECT_EQ(flaeche->FontSize(), 10);
    EXPECT_TRUE(flaeche->FontBold());
    EXPECT_TRUE(flaeche->FontItalic());
    EXPECT_FALSE(flaeche->FontUnderline());
    // The font set follows: the index size of 10 pt is 9.
    EXPECT_EQ(tabelle->SATZ()[4].Size(), 9);
    EXPECT_TRUE(tabelle->SATZ()[4].Bold());

    tabelle->SCHRIFTEINSTELLUNGEN(QString(), 0, false, true, false, -2147483643);
    EXPECT_EQ(flaeche->FontSize(), 8);
    EXPECT_TRUE(flaeche->FontUnderline());
    EXPECT_EQ(flaeche->ForeColor(), 0); // a system colour code gives black
}

TEST(TabellenEinstellungen, FontWithoutOutputObjectShowsItsBox) {
    ScriptedDialogs dialoge;
    clsTABELLE t;
    dialoge.expect(vbCancel, "VB-Error:91\r\n");
    t.SCHRIFTEINSTELLUNGEN();
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].title, "Schrifteinstellungen");
}

TEST_F(TabellenTest, TitleStandsAboveTheFrame) {
    tabelle->TITEL(QStringLiteral("Tabelle 1"));
    ASSERT_EQ(Texte().size(), 1);
    const Primitive p = Texte()[0];
    EXPECT_NEAR(p.x1, 2.5, 1e-4);
    // Its foot ERZ + 1.5 above the frame: 2.5 - 3 = -0.5.
    EXPECT_NEAR(p.y1 + Zeilenhoehe(8), -0.5, 1e-4);
}

TEST_F(TabellenTest, FootnoteBelowTheBlocksDrawn) {
    Spalten({10, 10, 10, 10, 10}, 4);
    TABELLENZELLEN kopf = Zellen(5, 2), rumpf = Zellen(5, 5);
    tabelle->TABELLE(kopf, 0);
    tabelle->TABELLE(rumpf, 1);
    flaeche->log().clear();
    tabelle->FUSSNOTE(QStringLiteral("w{t,3}max in %"));
    const QList<Primitive> t = Texte();
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(t[0].text, "w");
    EXPECT_EQ(t[1].text, "max"); // the markup applies
    EXPECT_NEAR(t[0].x1, 4, 1e-4);
    EXPECT_NEAR(t[0].y1, 2.5 + 11 + 23 + 1.5 + 1.5, 1e-4);
}

// ------------------------------------------------------------ curve symbols

namespace {
class Symbole : public TabellenTest {
protected:
    // One "SYMBOL" column of 10 mm between two text columns; the body's
    // single row gets the index. The centre: x = 2.5 + 20 + 5, y = the row
    // line 2.5 + 7 + 1.5 + 4 less EZH / 2.
    void Symbol(const QVariant& index) {
        Spalten({20, 10, 20}, 4);
        tabelle->setELFORMAT(Liste({"", "SYMBOL", ""}));
        TABELLENZELLEN k = Zellen(3, 1), r = Zellen(3, 1);
        r(1, 0) = index;
        tabelle->TABELLE(k, 0);
        flaeche->SetForeColor(RGB(9, 8, 7));
        flaeche->log().clear();
        tabelle->TABELLE(r, 1);
        // Leave only the symbol: drop frames, inner lines and texts.
        QList<Primitive> rest;
        for (const Primitive& p : flaeche->log().entries)
            if (p.kind == Primitive::Kind::Circle || p.kind == Primitive::Kind::Point ||
                (p.kind != Primitive::Kind::Text && std::abs(p.x2 - p.x1) < 5 &&
                 std::abs(p.y2 - p.y1) < 5))
                rest.append(p);
        symbol = rest;
    }
    static constexpr double kX = 27.5;
    static constexpr double kY = 2.5 + 7 + 1.5 + 4 - 2;
    QList<Primitive> symbol;
};
} // namespace

TEST_F(Symbole, EmptyCellIsTheBlueCross) {
    Symbol(QVariant());
    ASSERT_EQ(symbol.size(), 4);
    for (const Primitive& p : symbol) {
        EXPECT_EQ(p.kind, Primitive::Kind::Line);
        EXPECT_EQ(p.colour, RGB(0, 0, 255));
        EXPECT_NEAR(p.x1, kX, 1e-4);
        EXPECT_NEAR(p.y1, kY, 1e-4);
        EXPECT_NEAR(std::abs(p.x2 - kX), 0.75, 1e-4);
    }
    EXPECT_FALSE(Gezeichnet(""));
    EXPECT_EQ(flaeche->ForeColor(), RGB(9, 8, 7));
}

TEST_F(Symbole, ShapesAndColours) {
    struct Fall {
        QVariant index;
        Primitive::Kind art;
        int anzahl;
        int32_t farbe;
    };
    const Fall faelle[] = {
        {1, Primitive::Kind::FilledBox, 1, RGB(0, 255, 0)},
        {2.0, Primitive::Kind::Box, 1, RGB(0, 255, 255)},
        {4, Primitive::Kind::Circle, 1, RGB(255, 0, 255)},
        {5, Primitive::Kind::Line, 3, RGB(0, 180, 0)},
        {6, Primitive::Kind::Line, 6, RGB(0, 0, 180)},
        {7, Primitive::Kind::Point, 1, RGB(0, 0, 0)},
    };
    for (const Fall& f : faelle) {
        Symbol(f.index);
        ASSERT_EQ(symbol.size(), f.anzahl) << f.index.toString().toStdString();
        for (const Primitive& p : symbol) {
            EXPECT_EQ(p.kind, f.art) << f.index.toString().toStdString();
            EXPECT_EQ(p.colour, f.farbe) << f.index.toString().toStdString();
        }
        EXPECT_EQ(flaeche->ForeColor(), RGB(9, 8, 7));
    }
    Symbol(7);
    EXPECT_NEAR(symbol[0].x1, kX, 1e-4);
    EXPECT_NEAR(symbol[0].y1, kY, 1e-4);
}

TEST_F(Symbole, RedDiscLeavesTheFillTransparentAndBlack) {
    flaeche->SetFillColor(RGB(1, 1, 1));
    Symbol(3);
    ASSERT_EQ(symbol.size(), 1);
    EXPECT_EQ(symbol[0].kind, Primitive::Kind::Circle);
    EXPECT_EQ(symbol[0].colour, RGB(255, 0, 0));
    EXPECT_EQ(symbol[0].fillStyle, 0);
    EXPECT_EQ(symbol[0].fillColour, RGB(255, 0, 0));
    EXPECT_NEAR(symbol[0].radius, 0.7, 1e-4);
    EXPECT_EQ(flaeche->FillStyle(), 1);
    EXPECT_EQ(flaeche->FillColor(), 0);
}

TEST_F(Symbole, IndexOutsideTheTableDrawsNothing) {
    for (const QVariant& index : {QVariant(8), QVariant(-1), QVariant(2.5)}) {
        Symbol(index);
        EXPECT_TRUE(symbol.isEmpty()) << index.toString().toStdString();
        EXPECT_EQ(flaeche->ForeColor(), RGB(9, 8, 7));
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(Symbole, SummaryBlockHasNoSymbols) {
    Spalten({20, 10, 20}, 4);
    tabelle->setELFORMAT(Liste({"", "SYMBOL", ""}));
    TABELLENZELLEN k = Zellen(3, 1), r = Zellen(3, 1), b(3, 1);
    r(1, 0) = 2;
    b(1, 0) = 3;
    tabelle->TABELLE(k, 0);
    tabelle->TABELLE(r, 1);
    flaeche->log().clear();
    tabelle->TABELLE(b, 2);
    // The value goes through the formatting with "SYMBOL" as its pattern.
    EXPECT_EQ(Art(Primitive::Kind::Circle).size(), 0);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_EQ(Texte()[0].text, Format(3, "SYMBOL"));
}
