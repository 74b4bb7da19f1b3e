// Cell editing on a shown window, driven by keys and clicks as the input
// window passes them on: the text box laid over the cell, typed keys, Enter,
// double-clicks and clicks, the combo box of a choice column, copy and
// paste of a block, and the fill of a block by dragging.

#include "FLXFENSTER.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class FLXBearbeiten : public FLXTest {
protected:
    void SetUp() override {
        FLXTest::SetUp();
        f.eingaberaster();
        grid.SetRows(4);
        grid.SetTextMatrix(1, 4, QStringLiteral("3,00"));
        grid.SetTextMatrix(2, 4, QStringLiteral("Notiz"));
        f.FLX.AKTUALISIEREN();
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    QLineEdit& txt() { return *f.txtFLX; }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

} // namespace

TEST_F(FLXBearbeiten, ATypedDigitOpensTheEditorOverTheCell) {
    f.klick(1, 4);
    f.tippen(QStringLiteral("7"));
    ASSERT_FALSE(txt().isHidden());
    EXPECT_EQ(txt().text(), QStringLiteral("7"));
    EXPECT_EQ(txt().cursorPosition(), 1);
    EXPECT_TRUE(txt().alignment() & Qt::AlignRight); // the cell held a number
    EXPECT_EQ(txt().geometry(), f.zelleImFenster(1, 4));
    EXPECT_TRUE(txt().hasFocus());
    EXPECT_EQ(FLX.EZNR(), 1);
    EXPECT_EQ(FLX.ESNR(), 4);

    // Further keys go into the editor; Enter commits with the column's format.
    QTest::keyClicks(&txt(), QStringLiteral("5"));
    QTest::keyClick(&txt(), Qt::Key_Return);
    EXPECT_TRUE(txt().isHidden());
    EXPECT_EQ(txt().text(), QString());
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("75,00"));
    EXPECT_EQ(grid.Row(), 1); // the current cell stays
    EXPECT_EQ(grid.Col(), 4);
    EXPECT_TRUE(grid.hasFocus());
}

TEST_F(FLXBearbeiten, TextCellsAreEditedLeftJustified) {
    f.klick(2, 4);
    f.tippen(QStringLiteral("a"));
    EXPECT_TRUE(txt().alignment() & Qt::AlignLeft);
    EXPECT_EQ(txt().text(), QStringLiteral("a")); // replaces the old text
}

TEST_F(FLXBearbeiten, ADoubleClickSelectsTheTextAndAClickCommitsIntoThatCell) {
    f.doppelklick(1, 4);
    ASSERT_FALSE(txt().isHidden());
    EXPECT_EQ(txt().text(), QStringLiteral("3,00"));
    EXPECT_EQ(txt().selectedText(), QStringLiteral("3,00"));
    QTest::keyClicks(&txt(), QStringLiteral("8"));
    f.klick(3, 5);
    EXPECT_TRUE(txt().isHidden());
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("8,00"));
    EXPECT_EQ(grid.TextMatrix(3, 5), QString());
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 5);
}

TEST_F(FLXBearbeiten, ControlKeysOpenNothingAndEscDoesNotClose) {
    f.klick(1, 4);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Space);
    QTest::keyClick(&grid, Qt::Key_Backspace);
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_TRUE(txt().isHidden());
    f.tippen(QStringLiteral("4"));
    QTest::keyClick(&txt(), Qt::Key_Escape);
    EXPECT_FALSE(txt().isHidden());
    EXPECT_EQ(txt().text(), QStringLiteral("4"));
    // While the editor is open, a double-click elsewhere neither moves nor
    // refills it.
    const QRect ort = txt().geometry();
    FLX.BEARBEITEN(0, 0);
    EXPECT_EQ(txt().geometry(), ort);
    EXPECT_EQ(txt().text(), QStringLiteral("4"));
}

TEST_F(FLXBearbeiten, EnterOnTheLastCellAppendsARow) {
    // Anywhere else Enter does nothing.
    f.klick(3, 4);
    f.tippen(QStringLiteral("\r"));
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_TRUE(txt().isHidden());

    f.klick(3, 5);
    f.tippen(QStringLiteral("\r"));
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(grid.TextMatrix(4, 0), QStringLiteral("3"));
    EXPECT_TRUE(txt().isHidden());

    FLX.EBOH(false);
    f.klick(4, 5);
    f.tippen(QStringLiteral("\r"));
    EXPECT_EQ(grid.Rows(), 5);
}

TEST_F(FLXBearbeiten, EnterAppendsARowToTheLinkedGridToo) {
    MSFlexGrid zweites(&f);
    auto gekoppelt = std::make_shared<clsFLX>();
    gekoppelt->EFLX(&zweites);
    gekoppelt->ELSTYP(QVariantList{1, 0});
    FLX.EFLXK(gekoppelt);
    grid.SetRow(3);
    grid.SetCol(5);
    FLX.BEARBEITEN(13, 0);
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(zweites.Rows(), 3);
    EXPECT_EQ(zweites.Row(), 2);
    EXPECT_EQ(zweites.TextMatrix(2, 0), QStringLiteral("1"));
}

TEST_F(FLXBearbeiten, ARefusedDateKeepsTheEditorOpen) {
    f.klick(2, 1);
    f.tippen(QStringLiteral("3"));
    QTest::keyClicks(&txt(), QStringLiteral("1.02.04"));
    dialoge.expect(vbOK, QStringLiteral("Datums- oder Zeitformat"));
    QTest::keyClick(&txt(), Qt::Key_Return);
    EXPECT_FALSE(txt().isHidden());
    EXPECT_EQ(txt().text(), QStringLiteral("31.02.04"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QString());
    // Corrected and committed again.
    txt().setText(QStringLiteral("1.3.04"));
    QTest::keyClick(&txt(), Qt::Key_Return);
    EXPECT_TRUE(txt().isHidden());
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("01.03.04"));
}

TEST_F(FLXBearbeiten, ACommitWithTheEditorHiddenChangesNothing) {
    const QString vorher = grid.TextMatrix(1, 4);
    FLX.EINFUEGEN(0);
    f.klick(1, 4);
    EXPECT_EQ(grid.TextMatrix(1, 4), vorher);
    FLX.EINFUEGEN(42); // other keys typed in the editor do nothing
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_F(FLXBearbeiten, ColumnsOfType8OrMoreNeverShowAnEditor) {
    FLX.ELSTYP(QVariantList{1, 4, 5, 6, 8, 7});
    f.klick(1, 4);
    f.tippen(QStringLiteral("7"));
    f.doppelklick(1, 4);
    EXPECT_TRUE(txt().isHidden());
    EXPECT_TRUE(f.cboFLX->isHidden());
}

TEST_F(FLXBearbeiten, TheChoiceColumnIsEditedInTheComboBox) {
    FLX.ECBO(f.cboFLX);
    FLX.ELSTYP(QVariantList{1, 4, 5, 6, 0, 7});
    FLX.ELCBO(5, QStringList{"Enslin", "Neff"});
    grid.SetTextMatrix(1, 5, QStringLiteral("Ne"));
    f.klick(1, 5);
    f.tippen(QStringLiteral("f"));
    QComboBox& cbo = *f.cboFLX;
    ASSERT_FALSE(cbo.isHidden());
    EXPECT_TRUE(txt().isHidden());
    EXPECT_EQ(cbo.count(), 2);
    EXPECT_EQ(cbo.itemText(1), QStringLiteral("Neff"));
    EXPECT_EQ(cbo.currentText(), QStringLiteral("Nef")); // appended, unlike the text box
    const QRect zelle = f.zelleImFenster(1, 5);
    EXPECT_EQ(cbo.geometry().topLeft(), zelle.topLeft());
    EXPECT_EQ(cbo.width(), zelle.width());
    QTest::keyClicks(cbo.lineEdit(), QStringLiteral("f"));
    FLX.EINFUEGEN(13);
    EXPECT_TRUE(cbo.isHidden());
    EXPECT_EQ(grid.TextMatrix(1, 5), QStringLiteral("Neff"));

    f.doppelklick(1, 5);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("Neff"));
    EXPECT_EQ(cbo.lineEdit()->selectedText(), QStringLiteral("Neff"));
    EXPECT_EQ(cbo.count(), 2); // refilled, not appended
}

TEST_F(FLXBearbeiten, CopyPutsTheBlockOnTheClipboard) {
    for (int r = 1; r <= 2; ++r)
        for (int c = 3; c <= 5; ++c)
            grid.SetTextMatrix(r, c, QStringLiteral("%1%2").arg(r).arg(c));
    grid.SetRow(1);
    grid.SetCol(3);
    grid.SetRowSel(2);
    grid.SetColSel(5);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("13\t14\t15\r23\t24\t25"));
    EXPECT_TRUE(txt().isHidden());
}

TEST_F(FLXBearbeiten, PasteFillsTheBlockFromItsTopLeftCell) {
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\rc\td"));
    grid.SetRow(2);
    grid.SetCol(4);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("a"));
    EXPECT_EQ(grid.TextMatrix(2, 5), QString());
    EXPECT_EQ(grid.TextMatrix(3, 4), QString());

    grid.SetRow(2);
    grid.SetCol(4);
    grid.SetRowSel(3);
    grid.SetColSel(5);
    FLX.EINFUEGEN(-1);
    EXPECT_EQ(grid.TextMatrix(2, 5), QStringLiteral("b"));
    EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("c"));
    EXPECT_EQ(grid.TextMatrix(3, 5), QStringLiteral("d"));
}

TEST_F(FLXBearbeiten, PasteTakesRowsAsOtherProgramsCopyThem) {
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\r\n3\t4\r\n"));
    grid.SetRow(1);
    grid.SetCol(4);
    grid.SetRowSel(3);
    grid.SetColSel(5);
    FLX.EINFUEGEN(-1);
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("1"));
    EXPECT_EQ(grid.TextMatrix(1, 5), QStringLiteral("2"));
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("3"));
    EXPECT_EQ(grid.TextMatrix(2, 5), QStringLiteral("4"));
    EXPECT_EQ(grid.TextMatrix(3, 4), QString()); // no empty row from the final line break

    QGuiApplication::clipboard()->setText(QStringLiteral("x\ny\n"));
    FLX.EINFUEGEN(-1);
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("y"));
    for (int r = 1; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            EXPECT_FALSE(grid.TextMatrix(r, c).contains(QLatin1Char('\n'))) << r << c;

    // A clipboard without text leaves the grid alone.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    FLX.EINFUEGEN(-1);
    EXPECT_EQ(grid.TextMatrix(1, 4), QStringLiteral("x"));
}

TEST_F(FLXBearbeiten, DraggingFromTheRightEdgeFillsTheBlock) {
    grid.SetTextMatrix(1, 4, QStringLiteral("9,50"));
    f.klick(1, 4);
    f.ziehen(f.anteil(1, 4, 0.95), f.mitte(3, 4));
    EXPECT_EQ(grid.MousePointer(), 0);
    EXPECT_EQ(spalte(grid, 4), QStringList({"9,50", "9,50", "9,50"}));

    // Pressed in the middle of the cell nothing is armed.
    grid.SetTextMatrix(1, 5, QStringLiteral("1"));
    f.klick(1, 5);
    f.ziehen(f.mitte(1, 5), f.mitte(3, 5));
    EXPECT_EQ(spalte(grid, 5), QStringList({"1,00", "", ""}));
}

TEST_F(FLXBearbeiten, TheFillMarkAndAnUpwardDrag) {
    f.klick(3, 5);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, f.anteil(3, 5, 0.95));
    EXPECT_EQ(grid.MousePointer(), 2);
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, f.anteil(3, 5, 0.95));
    EXPECT_EQ(grid.MousePointer(), 0);

    grid.SetTextMatrix(3, 5, QStringLiteral("5"));
    f.ziehen(f.anteil(3, 5, 0.95), f.mitte(1, 5));
    EXPECT_EQ(grid.MousePointer(), 0);
    EXPECT_EQ(spalte(grid, 5), QStringList({"", "", "5,00"}));

    // The armed zone: right of 85 % of the cell, left of its end.
    grid.SetRow(2);
    grid.SetCol(4);
    const float links = float(grid.CellLeft());
    const float breite = float(grid.CellWidth());
    FLX.BEARBEITEN(-2, links + 0.85f * breite);
    EXPECT_EQ(grid.MousePointer(), 0);
    FLX.BEARBEITEN(-2, links + 0.9f * breite);
    EXPECT_EQ(grid.MousePointer(), 2);
    FLX.BEARBEITEN(-2, links + breite);
    EXPECT_EQ(grid.MousePointer(), 0);
}
