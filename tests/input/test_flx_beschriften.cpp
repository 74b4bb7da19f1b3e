// The column headings drawn into the heading picture: both lines centred
// over the columns in view, the picture's size, and the text markup of the
// headings in their fonts and shifts.

#include "FLXFENSTER.h"

namespace {

constexpr double kMmJeTwip = 1.0 / 56.7;

class FLXBeschriften : public FLXTest {
protected:
    void SetUp() override {
        FLXTest::SetUp();
        f.eingaberaster();
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.protokoll.clear();
    }
    QList<Primitive> texte() const { return f.protokoll.of(Primitive::Kind::Text); }
    // The texts drawn, in order.
    QStringList gezeichnet() const {
        QStringList liste;
        for (const Primitive& p : texte())
            liste << p.text;
        return liste;
    }
    // A single heading column of 40 mm with the given line 1.
    void eineSpalte(const QString& kopf) {
        FLX.ELSB(QVariantList{40});
        FLX.ELST1(QStringList{kopf});
        FLX.ELST2(QVariant());
        FLX.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
        f.protokoll.clear();
        FLX.BESCHRIFTEN();
    }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

} // namespace

TEST_F(FLXBeschriften, TwoLinesCentredOverEachColumn) {
    FLX.BESCHRIFTEN();
    EXPECT_EQ(gezeichnet(),
              QStringList({"Lfd.", "Nr.", "Datum", "[TT.MM.JJ]", "Uhrzeit", "[hh:mm:ss]",
                           "Zeitdiff.", "[min]", "Wasservolumen", "[cm³]", "Temp.", "[°C]"}));
    const QList<Primitive> t = texte();
    const double kopf = grid.RowHeight(0) * kMmJeTwip;
    // Column 1 spans 1 + 15 to 1 + 30 mm of the picture; its centre is 23.5.
    for (int i : {2, 3}) {
        EXPECT_NEAR((t[i].x1 + t[i].x2) / 2, 23.5, 0.3) << t[i].text.toStdString();
    }
    EXPECT_NEAR(t[2].y1, 0.0, 0.1);
    EXPECT_NEAR(t[3].y1, kopf / 2, 0.1);
    // The heading fonts: slot 2 of the grid's font.
    EXPECT_EQ(t[2].font.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(t[2].font.Size(), 10.0f);

    // The picture covers the heading row and the six columns.
    EXPECT_NEAR(f.picFLX->Width(), 6 * 850, 1);
    EXPECT_NEAR(f.picFLX->Height(), grid.RowHeight(0), 1);
}

TEST_F(FLXBeschriften, AfterScrollingTheFixedColumnComesFirst) {
    FLX.ELSB(QVariantList{15, 40, 40, 40, 40, 40, 40});
    FLX.ELST2(QVariant());
    FLX.ELST1(QStringList{"c0", "c1", "c2", "c3", "c4", "c5", "c6"});
    FLX.ELSTYP(QVariantList{1, 0, 0, 0, 0, 0, 0});
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
    f.protokoll.clear();
    grid.SetLeftCol(3); // the window redraws the headings on Scroll
    ASSERT_GE(gezeichnet().size(), 2);
    EXPECT_EQ(gezeichnet().mid(0, 2), QStringList({"c0", "c3"}));
    const QList<Primitive> t = texte();
    EXPECT_NEAR((t[1].x1 + t[1].x2) / 2, 1 + 15 + 20, 0.3);
}

TEST_F(FLXBeschriften, ColumnsWiderThanTheGrid) {
    FLX.ELSB(QVariantList{60, 60, 60, 60, 60});
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
    FLX.BESCHRIFTEN();
    // All rows in view: the grid's width less 1 mm.
    EXPECT_NEAR(f.picFLX->Width(), grid.Width() - 56.7, 1);
    grid.SetRows(60);
    FLX.BESCHRIFTEN();
    // A vertical scroll bar: 5.5 mm less.
    EXPECT_NEAR(f.picFLX->Width(), grid.Width() - 5.5 * 56.7, 1);
    // No heading is begun beyond the grid's width.
    f.protokoll.clear();
    FLX.BESCHRIFTEN();
    EXPECT_EQ(gezeichnet(), QStringList({"I1", "Nr.", "I2", "[TT.MM.JJ]", "I3", "[hh:mm:ss]"}));
}

TEST_F(FLXBeschriften, OnlyLineOneWithoutUnitsAndNothingWithoutAPicture) {
    FLX.ELST2(QVariant());
    FLX.BESCHRIFTEN();
    EXPECT_EQ(gezeichnet().size(), 6);
    f.protokoll.clear();
    clsFLX ohneBild;
    MSFlexGrid anderes(&f);
    ohneBild.EFLX(&anderes);
    ohneBild.BESCHRIFTEN();
    dialoge.expect(vbCancel, QStringLiteral("VB-Error: 13"));
    ohneBild.ELST1(QVariant());
    ohneBild.EPIC(f.picFLX);
    f.protokoll.clear();
    ohneBild.BESCHRIFTEN();
    EXPECT_TRUE(f.protokoll.entries.isEmpty());
    EXPECT_EQ(dialoge.boxes().size(), 1);
}

TEST_F(FLXBeschriften, SubscriptInTheIndexFont) {
    eineSpalte(QStringLiteral("d{t,3}max"));
    const QList<Primitive> t = texte();
    ASSERT_EQ(gezeichnet(), QStringList({"d", "max"}));
    EXPECT_EQ(t[0].font.Size(), 10.0f);
    EXPECT_EQ(t[1].font.Size(), 9.0f);
    EXPECT_NEAR(t[1].x1, t[0].x2, 0.05); // right after the d
    // Lowered by 0.35 of its own height.
    const double hoehe = t[1].y2 - t[1].y1;
    EXPECT_NEAR(t[1].y1 - t[0].y1, 0.35 * hoehe, 0.05);
}

TEST_F(FLXBeschriften, SuperscriptSymbolsAndInsertedCharacters) {
    eineSpalte(QStringLiteral("m{h,2}2x"));
    QList<Primitive> t = texte();
    ASSERT_EQ(gezeichnet(), QStringList({"m", "2x"}));
    EXPECT_NEAR(t[0].y1 - t[1].y1, 0.25 * (t[1].y2 - t[1].y1), 0.05);

    eineSpalte(QStringLiteral("{g,1}Dt"));
    t = texte();
    ASSERT_EQ(gezeichnet(), QStringList({QStringLiteral("Δ"), "t"}));
    EXPECT_EQ(t[0].font.Name(), QStringLiteral("Symbol"));
    EXPECT_EQ(t[0].font.Size(), 10.0f);
    EXPECT_EQ(t[1].font.Name(), QStringLiteral("Arial"));

    eineSpalte(QStringLiteral("{c,176}C"));
    ASSERT_EQ(gezeichnet(), QStringList({QStringLiteral("°"), "C"}));

    eineSpalte(QStringLiteral("a{gt,1}b{gh,1}c"));
    t = texte();
    ASSERT_EQ(gezeichnet(), QStringList({"a", QStringLiteral("β"), QStringLiteral("χ")}));
    EXPECT_EQ(t[1].font.Name(), QStringLiteral("Symbol"));
    EXPECT_EQ(t[1].font.Size(), 9.0f);
    EXPECT_GT(t[1].y1, t[0].y1);
    EXPECT_LT(t[2].y1, t[0].y1);
}

TEST_F(FLXBeschriften, AnUnknownCodeKeepsThePreviousFont) {
    eineSpalte(QStringLiteral("x{t,1}1{s,2}ab"));
    const QList<Primitive> t = texte();
    ASSERT_EQ(gezeichnet(), QStringList({"x", "1", "ab"}));
    EXPECT_EQ(t[2].font.Size(), 9.0f);   // the font of the subscript before it
    EXPECT_NEAR(t[2].y1, t[0].y1, 0.05); // but not shifted

    // As the first segment: the picture's own font.
    f.picFLX->SetFont(StdFont(QStringLiteral("Arial"), 14));
    eineSpalte(QStringLiteral("{s,1}ab"));
    ASSERT_EQ(gezeichnet(), QStringList({"a", "b"}));
    EXPECT_EQ(texte()[0].font.Size(), 14.0f);
    EXPECT_EQ(texte()[1].font.Size(), 10.0f);
    EXPECT_EQ(f.picFLX->Font().Size(), 14.0f); // and it is left as it was
}

TEST_F(FLXBeschriften, MalformedGroupsAreDrawnAsWritten) {
    for (const QString& kopf :
         {QStringLiteral("a{t3}b"), QStringLiteral("a{t,3"), QStringLiteral("a{t,x}bc"),
          QStringLiteral("a{t,-1}b"), QStringLiteral("{c,999}z")}) {
        eineSpalte(kopf);
        EXPECT_EQ(gezeichnet(), QStringList({kopf})) << kopf.toStdString();
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
    // A group after a malformed one still works.
    eineSpalte(QStringLiteral("{x}d{t,1}i"));
    EXPECT_EQ(gezeichnet(), QStringList({"{x}d", "i"}));
}

TEST_F(FLXBeschriften, CentringUsesTheTextWithoutItsGroupsInThePicturesFont) {
    f.picFLX->SetFont(StdFont(QStringLiteral("Arial"), 20));
    const float breite = f.picFLX->TextWidth(QStringLiteral("dmax"));
    eineSpalte(QStringLiteral("d{t,3}max"));
    const double mitte = (1 + 20) * 56.7; // twips: 1 mm in, half of 40 mm
    EXPECT_NEAR(texte()[0].x1 / kMmJeTwip, mitte - breite / 2, 20);
}
