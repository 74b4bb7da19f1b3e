// The grid editor's model: binding a grid, the column lists and what writing
// them does to the grid, the index levels and their numbering, and the
// boxes of the accessors.

#include "FLXFENSTER.h"

#include "platform/runtime/Variant.h"

namespace {

class FLXModell : public FLXTest {
protected:
    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;

    // A grid with the given column types, starts and limits.
    void indexraster(const QVariantList& typen, int spalten) {
        grid.SetCols(spalten);
        f.binden();
        FLX.ELSTYP(typen);
    }
};

} // namespace

TEST_F(FLXModell, BindingAGridOfSixColumns) {
    grid.SetCols(6);
    grid.SetRows(9);
    grid.SetTextMatrix(4, 2, QStringLiteral("alt"));
    f.binden();
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.Rows(), 2); // one data row under the heading row
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(grid.ColWidth(c), 850) << c; // 15 mm = 850.5 twips, halves to even
        EXPECT_EQ(grid.TextMatrix(0, c), QStringLiteral("I%1").arg(c + 1));
        EXPECT_EQ(grid.ColAlignment(c), MSFlexGrid::flexAlignRightCenter);
        EXPECT_EQ(grid.FixedAlignment(c), MSFlexGrid::flexAlignCenterCenter);
    }
    EXPECT_EQ(FLX.ELSTTT().toList().at(5).toString(), QStringLiteral("SpaltenNr.6"));
    EXPECT_EQ(FLX.ELSB().toList(), QVariantList({15, 15, 15, 15, 15, 15}));
    EXPECT_EQ(FLX.EDET(), -1);
    EXPECT_TRUE(FLX.EBOH());
    EXPECT_EQ(grid.FixedCols(), 0); // no index column
    EXPECT_EQ(grid.FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(grid.FontSize(), 11.0f);
    EXPECT_EQ(grid.ForeColor(), 0);
    EXPECT_EQ(FLX.ESNR(), 0);
    EXPECT_EQ(FLX.EZNR(), 0);

    // The editors are hidden and empty, the picture lies half a millimetre
    // inside the grid's corner.
    EXPECT_TRUE(f.txtFLX->isHidden());
    EXPECT_EQ(f.picFLX->ScaleMode(), 1);
    EXPECT_FLOAT_EQ(f.picFLX->Left(), float(grid.Left() + 28.35));
    EXPECT_FLOAT_EQ(f.picFLX->Top(), float(grid.Top() + 28.35));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXModell, WidthsResetTheOtherListsButNotTheUnits) {
    grid.SetCols(6);
    f.binden();
    FLX.ELST1(QStringList{"a", "b", "c", "d", "e", "f"});
    FLX.ELST2(QStringList{"1", "2", "3", "4", "5", "6"});
    FLX.ELSTYP(QVariantList{1, 0, 0, 0, 0, 0});
    FLX.ELFORMAT(QStringList{"#0", "", "", "", "", ""});
    FLX.ELA(QVariantList{0, 0, 0, 0, 0, 0});
    FLX.ELMIN(QVariantList{0, 0, 0, 0, 0, 0});
    FLX.EBOH(false);

    FLX.ELSB(QVariantList{20, 10.5, 15, 30});
    EXPECT_EQ(grid.Cols(), 4);
    EXPECT_EQ(grid.ColWidth(0), 1134);
    EXPECT_EQ(grid.ColWidth(1), 595); // 595.35
    EXPECT_EQ(grid.ColWidth(3), 1701);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("I1"));
    EXPECT_EQ(FLX.ELSTYP().toList(), QVariantList(4, Integer(0)));
    EXPECT_EQ(FLX.ELFORMAT().toList(), QVariantList(4, QVariant()));
    EXPECT_EQ(FLX.ELMIN().toList(), QVariantList(4, QVariant()));
    EXPECT_EQ(grid.ColAlignment(0), MSFlexGrid::flexAlignRightCenter);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_TRUE(FLX.EBOH());
    EXPECT_EQ(FLX.ELST2().toList().size(), 6); // kept as it was
}

TEST_F(FLXModell, TypesGiveFixedIndexColumnsAndTheirNumbering) {
    indexraster(QVariantList{1, 4, 5, 6, 0, 0}, 6);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(FLX.ELINDEXMAX(), QVariant(int32_t(0))); // reads back the Long 0
    grid.SetRows(4);
    FLX.NUMMERIEREN();
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));

    // Without type 1 nothing is fixed and nothing numbered.
    FLX.ELSTYP(QVariantList{0, 2, 3, 0, 0, 0});
    EXPECT_EQ(grid.FixedCols(), 0);
    grid.SetTextMatrix(1, 0, QStringLiteral("x"));
    FLX.NUMMERIEREN();
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("x"));

    FLX.ELSTYP(QVariantList{1, 2, 3, 0, 0, 0});
    EXPECT_EQ(grid.FixedCols(), 3);
    FLX.ELSTYP(QVariantList{1, 2, 0, 0, 0, 0});
    EXPECT_EQ(grid.FixedCols(), 2);
}

TEST_F(FLXModell, StartValuesAreMatchedByTheirKind) {
    indexraster(QVariantList{1, 0, 0}, 3);
    grid.SetRows(4);
    // A Long is neither an Integer nor a list: only stored.
    FLX.ELINDEXMIN(QVariant(int32_t(5)));
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));
    EXPECT_EQ(FLX.ELINDEXMIN(), QVariant(int32_t(5)));
    FLX.ELINDEXMIN(QVariant(5.0));
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));
    FLX.ELINDEXMIN(Integer(5));
    EXPECT_EQ(spalte(grid, 0), QStringList({"5", "6", "7"}));
    FLX.ELINDEXMIN(QVariant());
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));
    // A list of four entries changes no start.
    FLX.ELINDEXMIN(QVariantList{3, 3, 3, 3});
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXModell, ThreeLevelsFillTheRowsOfTheirLimits) {
    indexraster(QVariantList{1, 2, 3, 0}, 4);
    FLX.ELINDEXMIN(QVariantList{1, 1, 1});
    FLX.ELINDEXMAX(QVariantList{3, 2});
    ASSERT_EQ(grid.Rows(), grid.FixedRows() + 6);
    QStringList zeilen;
    for (int r = 1; r < grid.Rows(); ++r)
        zeilen << grid.TextMatrix(r, 0) + grid.TextMatrix(r, 1) + grid.TextMatrix(r, 2);
    EXPECT_EQ(zeilen, QStringList({"111", "112", "121", "122", "131", "132"}));

    // The level 1 has no limit: more rows go on counting it.
    grid.SetRows(9);
    FLX.NUMMERIEREN();
    EXPECT_EQ(grid.TextMatrix(7, 0) + grid.TextMatrix(7, 1) + grid.TextMatrix(7, 2),
              QStringLiteral("211"));
}

TEST_F(FLXModell, TwoLevelsAndALimitBelowItsStart) {
    indexraster(QVariantList{1, 2, 0}, 3);
    FLX.ELINDEXMIN(QVariantList{1, 1});
    FLX.ELINDEXMAX(Integer(3));
    ASSERT_EQ(grid.Rows(), 4);
    grid.SetRows(6);
    FLX.NUMMERIEREN();
    EXPECT_EQ(spalte(grid, 0), QStringList({"1", "1", "1", "2", "2"}));
    EXPECT_EQ(spalte(grid, 1), QStringList({"1", "2", "3", "1", "2"}));

    // Limit 2 below the start: every row advances level 1, even the first.
    FLX.ELINDEXMIN(QVariantList{1, 5});
    FLX.ELINDEXMAX(QVariant(int32_t(2))); // a Long: the limit stays 3
    EXPECT_EQ(spalte(grid, 0), QStringList({"2", "3", "4", "5", "6"}));
    EXPECT_EQ(spalte(grid, 1), QStringList({"5", "5", "5", "5", "5"}));
    EXPECT_EQ(grid.Rows(), 6);
    FLX.ELINDEXMAX(QVariant());
    EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(FLXModell, ARowCountBelowZeroIsReported) {
    indexraster(QVariantList{1, 2, 0}, 3);
    FLX.ELINDEXMIN(QVariantList{0, 10});
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 380"));
    FLX.ELINDEXMAX(Integer(2)); // 2 - 10 + 1 rows
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / ELINDEXMAX"));
    EXPECT_EQ(dialoge.boxes().at(0).style, 49);
}

TEST_F(FLXModell, AlignmentCodes) {
    grid.SetCols(4);
    f.binden();
    grid.SetColAlignment(3, MSFlexGrid::flexAlignGeneral);
    FLX.ELA(QVariantList{0, 1, 2, 9});
    EXPECT_EQ(grid.ColAlignment(0), MSFlexGrid::flexAlignLeftCenter);
    EXPECT_EQ(grid.ColAlignment(1), MSFlexGrid::flexAlignCenterCenter);
    EXPECT_EQ(grid.ColAlignment(2), MSFlexGrid::flexAlignRightCenter);
    EXPECT_EQ(grid.ColAlignment(3), MSFlexGrid::flexAlignGeneral); // unchanged
    EXPECT_EQ(grid.FixedAlignment(3), MSFlexGrid::flexAlignCenterCenter);
}

TEST_F(FLXModell, AShortListIsReportedPerMissingEntry) {
    grid.SetCols(3);
    f.binden();
    // OK goes on with the next column; the entries given are written.
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 9\r\n"));
    FLX.ELST1(QStringList{"A", "B"});
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / LST1"));
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("B"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("I3"));

    // The type list has its own title; Cancel leaves at once.
    dialoge.expect(vbCancel, QStringLiteral("VB-Error: 9"));
    FLX.ELSTYP(QVariantList{1});
    EXPECT_EQ(dialoge.boxes().at(1).title, QStringLiteral("LSTYP - FlexGrid"));

    dialoge.expect(vbOK, QStringLiteral("VB-Error: 9"));
    FLX.ELA(QVariantList{1, 1});
    EXPECT_EQ(dialoge.boxes().at(2).title, QStringLiteral("MSFlexGrid / LA "));
    EXPECT_EQ(grid.ColAlignment(1), MSFlexGrid::flexAlignCenterCenter);
}

TEST_F(FLXModell, AListWrittenBeforeAGridIsBound) {
    clsFLX frei;
    dialoge.expect(vbCancel, QStringLiteral("VB-Error: 91"));
    frei.ELSB(QVariantList{15, 15});
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / LSB"));
    EXPECT_EQ(dialoge.boxes().size(), 1); // Cancel left before the fonts
    EXPECT_EQ(frei.ELSB().toList().size(), 2);
}

TEST_F(FLXModell, MatrixAndChoiceLists) {
    grid.SetCols(3);
    f.binden();
    grid.SetRows(3);
    const QVariantList feld{QVariantList{"a", "b", "c"}, QVariantList{"d", "e", "f"},
                            QVariantList{"g", 7, "i"}};
    FLX.EMATRIX(2, 1, feld);
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("7"));
    EXPECT_EQ(FLX.EMATRIX(2, 1), QStringLiteral("7"));
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 381"));
    EXPECT_EQ(FLX.EMATRIX(5, 0), QString());
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / EMATRIX"));

    FLX.ELCBO(1, QStringList{"Enslin", "Neff"});
    EXPECT_EQ(FLX.ELCBO(1).toList(), QVariantList({"Enslin", "Neff"}));
    EXPECT_FALSE(FLX.ELCBO(0).isValid());
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 9"));
    FLX.ELCBO(3, QStringList{"x"});
    EXPECT_EQ(dialoge.boxes().at(1).title, QStringLiteral("MSFlexGrid / LCBO"));
}

TEST_F(FLXModell, TheLinkedEditorIsCreatedOnFirstRead) {
    std::shared_ptr<clsFLX> gekoppelt = FLX.EFLXK();
    ASSERT_TRUE(gekoppelt);
    EXPECT_EQ(FLX.EFLXK(), gekoppelt);
    EXPECT_EQ(gekoppelt->EFLX(), nullptr);
    auto anderer = std::make_shared<clsFLX>();
    FLX.EFLXK(anderer);
    EXPECT_EQ(FLX.EFLXK(), anderer);
}

TEST_F(FLXModell, ARefreshNumbersAGridOfAnyLength) {
    indexraster(QVariantList{1, 0}, 2);
    grid.SetRows(40002);
    FLX.NUMMERIEREN();
    EXPECT_EQ(grid.TextMatrix(40001, 0), QStringLiteral("40000"));
}
