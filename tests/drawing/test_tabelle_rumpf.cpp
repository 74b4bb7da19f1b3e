// The body of a table: frame below the head, cell texts by alignment, the
// decimal column in both notations, and the rows a scroll bar chooses on the
// screen and on the printer.

#include "TabellenTest.h"

#include "platform/runtime/MsgBox.h"
#include "platform/controls/ScrollBar.h"
#include "platform/runtime/Variant.h"

#include <QLocale>

namespace {
constexpr double kL = 2.5;
constexpr double kT = 2.5;

class Rumpf : public TabellenTest {
protected:
    // Five columns of 10 mm, a head of two rows (H0 = 11), a body of the
    // given rows; the body row r has its line at 19 + 4 (r - EEZ).
    void Zeichnen(int zeilen, ScrollBar* balken = nullptr) {
        Spalten({10, 10, 10, 10, 10}, 4);
        tabelle->setEYBALKEN(balken);
        kopf = Zellen(5, 2);
        rumpf = Zellen(5, zeilen);
        tabelle->TABELLE(kopf, 0);
        flaeche->log().clear();
        tabelle->TABELLE(rumpf, 1);
    }
    double Mitte(const QString& text) {
        const Primitive p = Text(text);
        return p.y1 + Zeilenhoehe(8) / 2;
    }
    TABELLENZELLEN kopf, rumpf;
};
} // namespace

TEST_F(Rumpf, FrameBelowTheHeadAndAllRowsWithoutAScrollBar) {
    Zeichnen(5);
    const QList<Primitive> kaesten = Art(Primitive::Kind::Box);
    ASSERT_EQ(kaesten.size(), 2);
    EXPECT_NEAR(kaesten[0].y1, kT + 11 + 0.5, 1e-4);
    EXPECT_NEAR(kaesten[0].y2, kT + 11 + 0.5 + 23, 1e-4);
    EXPECT_NEAR(kaesten[1].x1, kL - 0.5, 1e-4);
    EXPECT_NEAR(kaesten[1].y1, kT + 11, 1e-4);
    EXPECT_NEAR(kaesten[1].x2, kL + 50.5, 1e-4);
    EXPECT_NEAR(kaesten[1].y2, kT + 11 + 24, 1e-4);
    // Inner lines over the body's height, ELGITLEER does not apply.
    const QList<Primitive> l = Senkrechte(kL + 10);
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].y1, kT + 11.5, 1e-4);
    EXPECT_NEAR(l[0].y2, kT + 11.5 + 23, 1e-4);
    EXPECT_EQ(tabelle->EEZ(), 0);
    EXPECT_EQ(tabelle->ELZ(), 4);
    EXPECT_EQ(Texte().size(), 25);
    for (int r = 0; r < 5; ++r)
        EXPECT_NEAR(Mitte(QStringLiteral("2/%1").arg(r)), 19 + 4 * r - 1, 1e-4);
}

TEST_F(Rumpf, AlignmentCodes) {
    Spalten({10, 10, 10, 10, 10}, 4);
    tabelle->setELA(Liste({0, 1, 2, 4, QVariant()}));
    TABELLENZELLEN kopf1 = Zellen(5, 1), rumpf1 = Zellen(5, 1);
    tabelle->TABELLE(kopf1, 0);
    flaeche->log().clear();
    tabelle->TABELLE(rumpf1, 1);
    const double breite = 3 * Zeichen(8);
    EXPECT_NEAR(Text("0/0").x1, kL + 1.5, 1e-4);
    EXPECT_NEAR(Text("1/0").x1 + breite / 2, kL + 15, 1e-4);
    EXPECT_NEAR(Text("2/0").x1 + breite, kL + 30 - 1.5, 1e-4);
    EXPECT_FALSE(Gezeichnet("3/0"));                  // code 4: the column stays empty
    EXPECT_NEAR(Text("4/0").x1, kL + 40 + 1.5, 1e-4); // empty: left
}

TEST_F(Rumpf, PatternsFormatTheCells) {
    Spalten({20, 20}, 4);
    tabelle->setELFORMAT(Liste({"0.00", QVariant()}));
    TABELLENZELLEN k = Zellen(2, 1), r(2, 2);
    r(0, 0) = 2.675;
    r(1, 0) = 12.5f;
    r(0, 1) = QStringLiteral("n.b.");
    tabelle->TABELLE(k, 0);
    tabelle->TABELLE(r, 1);
    EXPECT_TRUE(Gezeichnet("2.68"));
    EXPECT_TRUE(Gezeichnet("12.5"));
    EXPECT_TRUE(Gezeichnet("n.b."));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

// ------------------------------------------------------------ decimal point

class Dezimal : public TabellenTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        TabellenTest::SetUp();
        QLocale::setDefault(GetParam() ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    QString Sep() const { return GetParam() ? QStringLiteral(",") : QStringLiteral("."); }

    // One decimal column of 18 mm; the separator's right edge in each row.
    QList<double> Kanten(const QString& muster, std::initializer_list<double> werte,
                         QStringList& texte) {
        Spalten({18}, 4);
        tabelle->setELA(Liste({3}));
        tabelle->setELFORMAT(Liste({muster}));
        TABELLENZELLEN k = Zellen(1, 1), r(1, int(werte.size()));
        int i = 0;
        for (double w : werte)
            r(0, i++) = w;
        tabelle->TABELLE(k, 0);
        flaeche->log().clear();
        tabelle->TABELLE(r, 1);
        QList<double> kanten;
        for (const Primitive& p : Texte()) {
            texte.append(p.text);
            const qsizetype p1 = p.text.indexOf(Sep()) + 1;
            kanten.append(p.x1 + p1 * Zeichen(8));
        }
        return kanten;
    }
};

TEST_P(Dezimal, PointInTheMiddleOfThePatternStandsAtTheCentre) {
    QStringList texte;
    const QList<double> kanten = Kanten("0.00", {1.5, 12.25, 123.456}, texte);
    EXPECT_EQ(texte, QStringList({"1" + Sep() + "50", "12" + Sep() + "25", "123" + Sep() + "46"}));
    ASSERT_EQ(kanten.size(), 3);
    for (double k : kanten)
        EXPECT_NEAR(k, kL + 9, 1e-4); // d = 0
}

TEST_P(Dezimal, PointLateInThePatternStandsRightOfTheCentre) {
    QStringList texte;
    const QList<double> kanten = Kanten("##0.0", {1.25, 22.5, 333.75}, texte);
    EXPECT_EQ(texte, QStringList({"1" + Sep() + "3", "22" + Sep() + "5", "333" + Sep() + "8"}));
    ASSERT_EQ(kanten.size(), 3);
    for (double k : kanten)
        EXPECT_NEAR(k, kL + 9 + 2.25, 1e-4); // d = 7.5 x (2.5 - 4) / 5
}

TEST_P(Dezimal, NoPatternAlignsOnTheCentreWithoutAnError) {
    QStringList texte;
    const QList<double> kanten = Kanten("", {2.5, 10.25}, texte);
    EXPECT_EQ(texte, QStringList({"2" + Sep() + "5", "10" + Sep() + "25"}));
    for (double k : kanten)
        EXPECT_NEAR(k, kL + 9, 1e-4);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_P(Dezimal, TextWithoutSeparatorStartsAtTheCentre) {
    QStringList texte;
    Kanten("0", {7}, texte);
    ASSERT_EQ(Texte().size(), 1);
    EXPECT_NEAR(Texte()[0].x1, kL + 9 - (9 - 1.5) * (0.5 - 0) / 1, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Gebietsschema, Dezimal, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "de_DE" : "C";
                         });

// ------------------------------------------------------------ scrolling

TEST_F(Rumpf, BodyThatFitsHidesTheScrollBar) {
    ScrollBar& balken = flaeche->VScroll();
    balken.SetVisible(true);
    Zeichnen(5, &balken);
    EXPECT_FALSE(balken.Visible());
    EXPECT_EQ(tabelle->EEZ(), 0);
    EXPECT_EQ(tabelle->ELZ(), 4);
    EXPECT_EQ(Texte().size(), 25);
}

TEST_F(Rumpf, BodyTooLongShowsTheBarBesideTheTableAndTheRowsThatFit) {
    Flaeche(145, 60);
    ScrollBar& balken = flaeche->VScroll();
    Zeichnen(40, &balken);
    EXPECT_TRUE(balken.Visible());
    EXPECT_FLOAT_EQ(balken.Top(), 2.5f + 11 + 0.5f);
    EXPECT_FLOAT_EQ(balken.Left(), 2.5f + 50 + 1.5f);
    EXPECT_FLOAT_EQ(balken.Width(), 5);
    EXPECT_FLOAT_EQ(balken.Height(), flaeche->ScaleHeight() - 14 - 2.5f);
    EXPECT_EQ(balken.Min(), 0);
    EXPECT_EQ(balken.Max(), 10000);
    EXPECT_EQ(balken.LargeChange(), 2000);
    EXPECT_EQ(balken.SmallChange(), 300);
    // Row lines at 19 + 4 r up to the limit 60 - 2.5: rows 0 to 9.
    EXPECT_EQ(tabelle->EEZ(), 0);
    EXPECT_EQ(tabelle->ELZ(), 9);
    EXPECT_TRUE(Gezeichnet("0/9"));
    EXPECT_FALSE(Gezeichnet("0/10"));
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 11 + 3 + 9 * 4 + 4);
}

TEST_F(Rumpf, ScrollValueChoosesTheFirstRow) {
    Flaeche(145, 60);
    ScrollBar& balken = flaeche->VScroll();
    Zeichnen(40, &balken);
    // Half way over the 30 rows that do not fit.
    balken.SetValue(5000);
    Zeichnen(40, &balken);
    EXPECT_EQ(tabelle->EEZ(), 15);
    EXPECT_EQ(tabelle->ELZ(), 24);
    EXPECT_FALSE(Gezeichnet("0/14"));
    EXPECT_NEAR(Mitte("0/15"), 19 - 1, 1e-4);
    EXPECT_NEAR(Mitte("0/24"), 19 + 9 * 4 - 1, 1e-4);
    EXPECT_FALSE(Gezeichnet("0/25"));
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 11 + 3 + 9 * 4 + 4);

    // Halves go to the even row: 0.15 x 30 = 4.5 gives 4, 0.05 x 30 = 1.5 gives 2.
    balken.SetValue(1500);
    Zeichnen(40, &balken);
    EXPECT_EQ(tabelle->EEZ(), 4);
    balken.SetValue(500);
    Zeichnen(40, &balken);
    EXPECT_EQ(tabelle->EEZ(), 2);
    // The bar's end shows the last rows.
    balken.SetValue(10000);
    Zeichnen(40, &balken);
    EXPECT_EQ(tabelle->EEZ(), 30);
    EXPECT_EQ(tabelle->ELZ(), 39);
}

TEST_F(Rumpf, PrinterShowsTheRowsOfTheScreen) {
    Flaeche(145, 60);
    ScrollBar& balken = flaeche->VScroll();
    Zeichnen(40, &balken);
    balken.SetValue(5000);

    RecordingSurface drucker(297, 210, 600, OutputObject::Kind::Printer);
    drucker.SetScaleMode(6);
    clsTABELLE t;
    t.setEOBJEKT(&drucker);
    t.setEXDL(175);
    t.setEYDO(40);
    t.setEYBALKEN(&balken);
    t.setERZ(1.5f);
    t.setELSB(Liste({10, 10, 10, 10, 10}));
    t.setELGIT(Liste({1, 1, 1, 1}));
    t.setELGITLEER(Liste({0, 0, 0, 0}));
    t.setELA(Liste({1, 1, 1, 1, 1}));
    t.setELFORMAT(Liste({"", "", "", "", ""}));
    t.setEZH(4);
    TABELLENZELLEN k = Zellen(5, 2), r = Zellen(5, 40);
    t.TABELLE(k, 0);
    t.TABELLE(r, 1);
    EXPECT_EQ(t.EEZ(), 15);
    EXPECT_EQ(t.ELZ(), 24);
    // The bar is left as the screen set it.
    EXPECT_TRUE(balken.Visible());
    EXPECT_EQ(balken.Value(), 5000);

    // While the bar is hidden the printer shows every row.
    balken.SetVisible(false);
    t.TABELLE(r, 1);
    EXPECT_EQ(t.EEZ(), 0);
    EXPECT_EQ(t.ELZ(), 39);
}

TEST_F(Rumpf, OtherOutputObjectWithABarKeepsTheRows) {
    Flaeche(145, 130, OutputObject::Kind::Form);
    tabelle->setEEZ(3);
    tabelle->setELZ(4);
    Zeichnen(10, &flaeche->VScroll());
    EXPECT_EQ(tabelle->EEZ(), 3);
    EXPECT_EQ(tabelle->ELZ(), 4);
    EXPECT_TRUE(Gezeichnet("0/3"));
    EXPECT_TRUE(Gezeichnet("0/4"));
    EXPECT_FALSE(Gezeichnet("0/5"));
}

TEST_F(Rumpf, FortyThousandRowsWithAndWithoutTheScrollBar) {
    // Without a bar every row is drawn, below the head and downwards.
    Spalten({10}, 4);
    TABELLENZELLEN kopf1 = Zellen(1, 2), rumpf1 = Zellen(1, 40000);
    tabelle->TABELLE(kopf1, 0);
    flaeche->log().clear();
    tabelle->TABELLE(rumpf1, 1);
    EXPECT_EQ(tabelle->EEZ(), 0);
    EXPECT_EQ(tabelle->ELZ(), 39999);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 11 + 3 + 39999 * 4 + 4);
    EXPECT_EQ(Texte().size(), 40000);
    EXPECT_NEAR(Mitte("0/39999"), 19 + 39999 * 4 - 1, 1e-1);
    const QList<Primitive> kaesten = Art(Primitive::Kind::Box);
    ASSERT_EQ(kaesten.size(), 2);
    EXPECT_GT(kaesten[0].y2, kaesten[0].y1);

    // With the bar on a picture box: the rows that fit, at its end the last.
    Flaeche(145, 60);
    ScrollBar& balken = flaeche->VScroll();
    Zeichnen(40000, &balken);
    EXPECT_TRUE(balken.Visible());
    EXPECT_EQ(tabelle->EEZ(), 0);
    EXPECT_EQ(tabelle->ELZ(), 9);
    EXPECT_FLOAT_EQ(tabelle->HOEHE(), 11 + 3 + 9 * 4 + 4);
    balken.SetValue(10000);
    Zeichnen(40000, &balken);
    EXPECT_EQ(tabelle->EEZ(), 39990);
    EXPECT_EQ(tabelle->ELZ(), 39999);
    EXPECT_NEAR(Mitte("4/39990"), 19 - 1, 1e-4);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}
