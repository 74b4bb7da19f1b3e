// Inserting and removing rows, with the linked editor following and the
// disabled state of a table without readings, and the tool tip of the
// column under the mouse.

#include "FLXFENSTER.h"

namespace {

class FLXZeilen : public FLXTest {
protected:
    void SetUp() override {
        FLXTest::SetUp();
        f.eingaberaster();
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    // Data rows with a text in column 4 each.
    void zeilen(const QStringList& texte) {
        grid.SetRows(1 + int(texte.size()));
        for (int i = 0; i < texte.size(); ++i)
            grid.SetTextMatrix(1 + i, 4, texte[i]);
        FLX.NUMMERIEREN();
    }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

} // namespace

TEST_F(FLXZeilen, InsertingAndRemovingInTheMiddle) {
    zeilen({"a", "b", "c"});
    grid.SetRow(2);
    FLX.ZEILEEINFUEGEN();
    EXPECT_EQ(spalte(grid, 4), QStringList({"a", "", "b", "c"}));
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2", "3"}));
    EXPECT_EQ(grid.Row(), 2);
    FLX.ZEILEENTFERNEN();
    EXPECT_EQ(spalte(grid, 4), QStringList({"a", "b", "c"}));
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXZeilen, TheLastRowIsEmptiedAndTheGridDisabled) {
    zeilen({"a"});
    FLX.ZEILEENTFERNEN();
    EXPECT_EQ(grid.Rows(), 2);
    for (int c = 0; c < grid.Cols(); ++c)
        EXPECT_EQ(grid.TextMatrix(1, c), QString()) << c; // the running number too
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(grid.BackColor(), grid.BackColorFixed());

    FLX.ZEILEEINFUEGEN();
    EXPECT_TRUE(grid.Enabled());
    EXPECT_EQ(grid.BackColor(), MSFlexGrid::kFensterhintergrund);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("0"));
    FLX.ZEILEEINFUEGEN();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1"}));
}

TEST_F(FLXZeilen, TheLinkedEditorFollows) {
    MSFlexGrid zweites(&f);
    auto gekoppelt = std::make_shared<clsFLX>();
    gekoppelt->EFLX(&zweites);
    gekoppelt->ELSTYP(QVariantList{1, 0});
    zweites.SetRows(4);
    zweites.SetRow(1);
    FLX.EFLXK(gekoppelt);
    zeilen({"a", "b", "c"});
    grid.SetRow(1);
    FLX.ZEILEEINFUEGEN();
    EXPECT_EQ(zweites.Rows(), 5);
    EXPECT_EQ(spalte(zweites, 0), QStringList({"0", "1", "2", "3"}));
    FLX.ZEILEENTFERNEN();
    EXPECT_EQ(zweites.Rows(), 4);

    // Down to the last row on both, then disabled on both.
    FLX.ZEILEENTFERNEN();
    FLX.ZEILEENTFERNEN();
    FLX.ZEILEENTFERNEN();
    EXPECT_FALSE(grid.Enabled());
    EXPECT_FALSE(zweites.Enabled());
    EXPECT_EQ(zweites.Rows(), 2);
}

TEST_F(FLXZeilen, TheToolTipNamesTheColumnUnderTheMouse) {
    FLX.ELSTTT(QStringList{"Nummer", "Datum", "Zeit", "Diff", "Volumen", "Temperatur"});
    f.bewegen(f.mitte(1, 2));
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("Zeit"));
    EXPECT_EQ(f.picFLX->ToolTipText(), QStringLiteral("Zeit"));
    f.bewegen(f.mitte(0, 5));
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("Temperatur"));

    // Right of the last column: none.
    f.bewegen(QPoint(grid.viewport()->width() - 3, 20));
    EXPECT_EQ(grid.ToolTipText(), QString());
    EXPECT_EQ(f.picFLX->ToolTipText(), QString());

    // Running sums of the columns in view: the boundary belongs to the
    // column on its right.
    FLX.TOOLTIP(849.0f, 0);
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("Nummer"));
    FLX.TOOLTIP(850.0f, 0);
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("Datum"));
}

TEST_F(FLXZeilen, TheToolTipFollowsHorizontalScrolling) {
    FLX.ELSB(QVariantList{15, 40, 40, 40, 40, 40, 40});
    FLX.ELST2(QVariant());
    FLX.ELSTTT(QStringList{"c0", "c1", "c2", "c3", "c4", "c5", "c6"});
    FLX.ELSTYP(QVariantList{1, 0, 0, 0, 0, 0, 0});
    grid.SetLeftCol(3);
    ASSERT_EQ(grid.LeftCol(), 3);
    FLX.TOOLTIP(100.0f, 0);
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("c0"));
    FLX.TOOLTIP(860.0f, 0);
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("c3"));
    FLX.TOOLTIP(850.0f + 2268.0f + 10.0f, 0);
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("c4"));
}

TEST(FLXOhneRaster, EveryOperationReportsUnderItsOwnTitle) {
    ScriptedDialogs dialoge;
    clsFLX frei;
    const QList<QPair<QString, std::function<void()>>> operationen{
        {QStringLiteral("MSFlexGrid / Zeile einfügen"), [&] { frei.ZEILEEINFUEGEN(); }},
        {QStringLiteral("MSFlexGrid / Zeile eintfernen"), [&] { frei.ZEILEENTFERNEN(); }},
        {QStringLiteral("MSFlexGrid / ToolTip"), [&] { frei.TOOLTIP(10, 10); }},
        {QStringLiteral("MSFlexGrid / Bearbeiten"), [&] { frei.BEARBEITEN(13, 0); }},
        {QStringLiteral("MSFlexGrid / Einfügen"), [&] { frei.EINFUEGEN(-2); }},
        {QStringLiteral("MSFlexGrid / Aktulisieren"), [&] { frei.AKTUALISIEREN(); }},
        {QStringLiteral("MSFlexGrid / Schrifteinstellungen"),
         [&] { frei.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0); }},
    };
    for (const auto& [titel, operation] : operationen) {
        dialoge.clear();
        dialoge.expect(vbCancel);
        operation();
        ASSERT_EQ(dialoge.boxes().size(), 1) << titel.toStdString();
        EXPECT_EQ(dialoge.boxes().at(0).title, titel);
        EXPECT_EQ(dialoge.boxes().at(0).style, 49);
        // The font settings write their number without a blank.
        const QString vorsatz = titel.endsWith(QLatin1String("Schrifteinstellungen"))
                                    ? QStringLiteral("VB-Error:91\r\n")
                                    : QStringLiteral("VB-Error: 91\r\n");
        EXPECT_TRUE(dialoge.boxes().at(0).prompt.startsWith(vorsatz))
            << dialoge.boxes().at(0).prompt.toStdString();
    }
}
