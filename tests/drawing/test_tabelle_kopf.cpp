// The head of a table: frame, inner lines with the rows they leave out,
// cells spanning columns; and what every block call does first.

#include "TabellenTest.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

namespace {
constexpr double kL = 2.5; // EXDL + ERL
constexpr double kT = 2.5; // EYDO + ERO

void Kasten(const Primitive& p, double x, double y, double b, double h) {
    EXPECT_EQ(p.kind, Primitive::Kind::Box);
    EXPECT_NEAR(p.x1, x, 1e-4);
    EXPECT_NEAR(p.y1, y, 1e-4);
    EXPECT_NEAR(p.x2, x + b, 1e-4);
    EXPECT_NEAR(p.y2, y + h, 1e-4);
}
} // namespace

TEST_F(TabellenTest, MissingWidthsNameTheOutputObject) {
    TABELLENZELLEN kopf = Zellen(3, 2);
    dialoge.expect(vbOK, "fehlt");
    tabelle->TABELLE(kopf, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].prompt,
              QStringLiteral("Angabe der Spaltenbreiten in Objekt picBILD12 fehlt !"));
    EXPECT_EQ(dialoge.boxes()[0].style, 48);
    EXPECT_EQ(dialoge.boxes()[0].title, QStringLiteral("Tabelle"));
    EXPECT_TRUE(flaeche->log().entries.isEmpty());
    EXPECT_EQ(tabelle->EZH(), 0);
}

TEST_F(TabellenTest, WidthsTypedToOneNumberTypeCountAsMissing) {
    tabelle->setELSB(QVariant::fromValue(QList<double>{10, 20}));
    EXPECT_EQ(tabelle->ELGIT().toList().size(), 2);
    TABELLENZELLEN kopf = Zellen(2, 1);
    dialoge.expect(vbOK, "Angabe der Spaltenbreiten in Objekt picBILD12 fehlt !");
    tabelle->TABELLE(kopf, 1);
    EXPECT_TRUE(flaeche->log().entries.isEmpty());
}

TEST_F(TabellenTest, NoOutputObjectIsReportedOnce) {
    clsTABELLE ohne;
    ohne.setELSB(Liste({10, 10}));
    TABELLENZELLEN kopf = Zellen(2, 2);
    dialoge.expect(vbOK, "VB-Error: 91");
    ohne.TABELLE(kopf, 0);
    EXPECT_EQ(dialoge.boxes().at(0).title, "Tabelle");
}

TEST_F(TabellenTest, HeadFrameIsDoubleHalfAMillimetreApart) {
    Spalten({11, 18, 18, 18, 18});
    TABELLENZELLEN kopf = Zellen(5, 2);
    tabelle->TABELLE(kopf, 0);
    const QList<Primitive> kaesten = Art(Primitive::Kind::Box);
    ASSERT_EQ(kaesten.size(), 2);
    Kasten(kaesten[0], kL, kT, 83, 11);
    Kasten(kaesten[1], kL - 0.5, kT - 0.5, 84, 12);
    // One full-height line right of each column but the last.
    const double xs[] = {13.5, 31.5, 49.5, 67.5};
    for (double x : xs) {
        const QList<Primitive> l = Senkrechte(x);
        ASSERT_EQ(l.size(), 1) << x;
        EXPECT_NEAR(l[0].y1, kT, 1e-4);
        EXPECT_NEAR(l[0].y2, kT + 11, 1e-4);
    }
    EXPECT_EQ(Art(Primitive::Kind::Line).size(), 4);
}

TEST_F(TabellenTest, HeadCellsCentredInTheirRows) {
    Spalten({10, 10, 10, 10, 10});
    TABELLENZELLEN kopf = Zellen(5, 2);
    tabelle->TABELLE(kopf, 0);
    EXPECT_EQ(Texte().size(), 10);
    // Row r: its line at T + ERZ + EZH + r x 4, the text's middle 1.5 above.
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 5; ++c) {
            const Primitive p = Text(QStringLiteral("%1/%2").arg(c).arg(r));
            EXPECT_NEAR(p.x1 + 1.5 * Zeichen(8), kL + 10 * c + 5, 1e-4);
            EXPECT_NEAR(p.y1 + Zeilenhoehe(8) / 2, kT + 1.5 + 4 + 4 * r - 1.5, 1e-4);
        }
    }
}

TEST_F(TabellenTest, LineLeftOutThroughTheFirstHeadRowJoinsTheCells) {
    Spalten({10, 10, 10, 10, 10});
    tabelle->setELGITLEER(Liste({0, 1, 0, 0}));
    TABELLENZELLEN kopf = Zellen(5, 2);
    tabelle->TABELLE(kopf, 0);
    // Row 0: columns 1 and 2 are one cell centred over both; 2/0 is not drawn.
    const Primitive verbunden = Text("1/0");
    EXPECT_NEAR(verbunden.x1 + 1.5 * Zeichen(8), kL + 20, 1e-4);
    EXPECT_FALSE(Gezeichnet("2/0"));
    // Row 1: all five cells.
    for (int c = 0; c < 5; ++c)
        EXPECT_TRUE(Gezeichnet(QStringLiteral("%1/1").arg(c)));
    // Line 1 starts below the first row: T + ERZ + 1 + EZH, down to the head's foot.
    const QList<Primitive> l = Senkrechte(kL + 20);
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].y1, kT + 1.5 + 1 + 4, 1e-4);
    EXPECT_NEAR(l[0].y2, kT + 11, 1e-4);
}

TEST_F(TabellenTest, EntryBeyondTheHeadRowsIsClampedWithoutAStrayLine) {
    Spalten({10, 10, 10});
    tabelle->setELGITLEER(Liste({7, -3}));
    TABELLENZELLEN kopf = Zellen(3, 2);
    tabelle->TABELLE(kopf, 0);
    // Line 0 is left out through the whole head: nothing drawn there, not
    // even a line above the head or below it.
    EXPECT_TRUE(Senkrechte(kL + 10).isEmpty());
    // A negative count draws the line through the whole head.
    const QList<Primitive> l = Senkrechte(kL + 20);
    ASSERT_EQ(l.size(), 1);
    EXPECT_NEAR(l[0].y1, kT, 1e-4);
    EXPECT_NEAR(l[0].y2, kT + 11, 1e-4);
    for (const Primitive& p : Art(Primitive::Kind::Line)) {
        EXPECT_GE(std::min(p.y1, p.y2), kT - 1e-4);
        EXPECT_LE(std::max(p.y1, p.y2), kT + 11 + 1e-4);
    }
    // Columns 0 and 1 form one cell in both rows.
    EXPECT_FALSE(Gezeichnet("1/0"));
    EXPECT_FALSE(Gezeichnet("1/1"));
    EXPECT_NEAR(Text("0/1").x1 + 1.5 * Zeichen(8), kL + 10, 1e-4);
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(TabellenTest, GridCodes) {
    Spalten({10, 10, 10, 10, 10});
    tabelle->setELGIT(Liste({3, 2, 0, QVariant()}));
    TABELLENZELLEN kopf = Zellen(5, 1);
    tabelle->TABELLE(kopf, 0);
    EXPECT_EQ(Senkrechte(kL + 10).size(), 1);   // 3: one line
    EXPECT_EQ(Senkrechte(kL + 20).size(), 1);   // 2: a line ...
    EXPECT_EQ(Senkrechte(kL + 20.5).size(), 1); // ... and a second 0.5 right of it
    EXPECT_TRUE(Senkrechte(kL + 30).isEmpty()); // 0
    EXPECT_TRUE(Senkrechte(kL + 40).isEmpty()); // empty
}

TEST_F(TabellenTest, ColumnsDrawnAreTheFewerOfWidthsAndCells) {
    Spalten({10, 11, 12, 13, 14, 15});
    TABELLENZELLEN kopf = Zellen(5, 1);
    tabelle->TABELLE(kopf, 0);
    Kasten(Art(Primitive::Kind::Box).at(0), kL, kT, 60, 3 + 4);
    EXPECT_EQ(Texte().size(), 5);
}

TEST_F(TabellenTest, RowHeightIsMeasuredOnceAndKept) {
    Spalten({10, 10}, 0);
    TABELLENZELLEN kopf = Zellen(2, 1);
    tabelle->TABELLE(kopf, 0);
    EXPECT_NEAR(tabelle->EZH(), Zeilenhoehe(8), 1e-4);
    tabelle->SCHRIFTEINSTELLUNGEN(QString(), 20);
    tabelle->TABELLE(kopf, 0);
    EXPECT_NEAR(tabelle->EZH(), Zeilenhoehe(8), 1e-4);

    tabelle->setEZH(5);
    tabelle->TABELLE(kopf, 0);
    EXPECT_FLOAT_EQ(tabelle->EZH(), 5);
}

TEST_F(TabellenTest, AnyOtherBlockCodeDrawsAHead) {
    Spalten({10, 10});
    TABELLENZELLEN kopf = Zellen(2, 2);
    tabelle->TABELLE(kopf, 0);
    const QList<Primitive> als0 = flaeche->log().entries;
    flaeche->log().clear();
    tabelle->TABELLE(kopf, 5);
    const QList<Primitive> als5 = flaeche->log().entries;
    ASSERT_EQ(als0.size(), als5.size());
    for (int i = 0; i < als0.size(); ++i) {
        EXPECT_EQ(als0[i].kind, als5[i].kind);
        EXPECT_EQ(als0[i].x1, als5[i].x1);
        EXPECT_EQ(als0[i].y1, als5[i].y1);
        EXPECT_EQ(als0[i].text, als5[i].text);
    }
}

TEST_F(TabellenTest, ShortListIsOneBoxAndCancelLeaves) {
    Spalten({10, 10, 10});
    tabelle->setELGIT(Liste({1})); // two inner lines, one entry
    TABELLENZELLEN kopf = Zellen(3, 1);
    dialoge.expect(vbCancel, "VB-Error: 9");
    tabelle->TABELLE(kopf, 0);
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes()[0].style, 49);
    EXPECT_EQ(dialoge.boxes()[0].title, "Tabelle");
    // Frames and the first line were drawn; after Cancel nothing more.
    EXPECT_EQ(Art(Primitive::Kind::Box).size(), 2);
    EXPECT_EQ(Art(Primitive::Kind::Line).size(), 1);
    EXPECT_TRUE(Texte().isEmpty());
}

TEST_F(TabellenTest, OkGoesOnWithTheNextStatement) {
    Spalten({10, 10, 10});
    tabelle->setELGIT(Liste({1}));
    TABELLENZELLEN kopf = Zellen(3, 1);
    dialoge.expect(vbOK, "VB-Error: 9");
    tabelle->TABELLE(kopf, 0);
    EXPECT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(Texte().size(), 3);
}
