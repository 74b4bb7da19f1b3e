// The flex grid: shape and cell texts, fixed headings that stay in place and
// cannot be selected, the current cell and the selected block with its text
// form, sizes in twips, scrolling by whole rows and columns, and the
// appearance properties the windows set.

#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/RuntimeError.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

int fehler(const std::function<void()>& schritt) {
    try {
        schritt();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

class FlexGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(400, 200);
        grid.SetRows(6);
        grid.SetCols(4);
    }
    // The centre of a cell in the viewport.
    QPoint mitte(int row, int col) {
        return grid.visualRect(grid.model()->index(row, col)).center();
    }

    QWidget fenster;
    MSFlexGrid grid{&fenster};
};

} // namespace

TEST_F(FlexGrid, ANewGridHasOneFixedRowAndColumn) {
    MSFlexGrid neu;
    EXPECT_EQ(neu.Rows(), 2);
    EXPECT_EQ(neu.Cols(), 2);
    EXPECT_EQ(neu.FixedRows(), 1);
    EXPECT_EQ(neu.FixedCols(), 1);
    EXPECT_EQ(neu.Row(), 1);
    EXPECT_EQ(neu.Col(), 1);
    EXPECT_EQ(neu.TopRow(), 1);
    EXPECT_EQ(neu.LeftCol(), 1);
    EXPECT_TRUE(neu.Enabled());
    EXPECT_EQ(neu.BackColor(), MSFlexGrid::kFensterhintergrund);
    EXPECT_EQ(neu.ColAlignment(0), MSFlexGrid::flexAlignGeneral);
    EXPECT_EQ(fehler([&] { neu.Index(); }), 343);
}

TEST_F(FlexGrid, CellTextsAndTheirBounds) {
    grid.SetTextMatrix(0, 1, QStringLiteral("Datum"));
    grid.SetTextMatrix(5, 3, QStringLiteral("7,5"));
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("Datum"));
    EXPECT_EQ(grid.TextMatrix(5, 3), QStringLiteral("7,5"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QString());
    EXPECT_EQ(fehler([&] { grid.TextMatrix(6, 0); }), 381);
    EXPECT_EQ(fehler([&] { grid.SetTextMatrix(0, 4, QStringLiteral("x")); }), 381);
    EXPECT_EQ(fehler([&] { grid.SetRows(-1); }), 380);

    // Growing keeps the texts; shrinking drops the rows beyond.
    grid.SetRows(8);
    EXPECT_EQ(grid.TextMatrix(5, 3), QStringLiteral("7,5"));
    grid.SetRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    grid.SetRows(6);
    EXPECT_EQ(grid.TextMatrix(5, 3), QString());

    grid.SetRow(2);
    grid.SetCol(3);
    grid.SetText(QStringLiteral("aktuell"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("aktuell"));
    EXPECT_EQ(grid.Text(), QStringLiteral("aktuell"));
}

TEST_F(FlexGrid, AddItemAndRemoveItem) {
    grid.SetRows(3);
    grid.SetTextMatrix(1, 0, QStringLiteral("1"));
    grid.SetTextMatrix(2, 0, QStringLiteral("2"));
    grid.AddItem(QStringLiteral("neu\ta\tb"), 2);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("neu"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("b"));
    EXPECT_EQ(grid.TextMatrix(3, 0), QStringLiteral("2"));
    grid.AddItem(QStringLiteral("ende"));
    EXPECT_EQ(grid.TextMatrix(4, 0), QStringLiteral("ende"));

    grid.RemoveItem(2);
    EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("2"));
    grid.RemoveItem(1);
    grid.RemoveItem(1);
    EXPECT_EQ(grid.Rows(), 2);
    // The last row below the headings stays.
    EXPECT_EQ(fehler([&] { grid.RemoveItem(1); }), 30015);
    EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(FlexGrid, SettingRowOrColMakesTheSelectionTheCurrentCell) {
    grid.SetRow(2);
    grid.SetCol(1);
    grid.SetRowSel(4);
    grid.SetColSel(3);
    EXPECT_TRUE(grid.IsSelected(4, 3));
    EXPECT_FALSE(grid.IsSelected(2, 1)); // the current cell shows the focus instead
    grid.SetRow(3);
    EXPECT_EQ(grid.RowSel(), 3);
    EXPECT_EQ(grid.ColSel(), 1);
    EXPECT_EQ(fehler([&] { grid.SetRow(6); }), 381);
}

TEST_F(FlexGrid, TheTextFormOfTheSelectedBlock) {
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 4; ++c)
            grid.SetTextMatrix(r, c, QStringLiteral("%1%2").arg(r).arg(c));
    grid.SetRow(1);
    grid.SetCol(1);
    grid.SetRowSel(2);
    grid.SetColSel(3);
    EXPECT_EQ(grid.Clip(), QStringLiteral("11\t12\t13\r21\t22\t23"));

    // A single cell takes the text up to the first tab or carriage return.
    grid.SetRow(4);
    grid.SetCol(2);
    grid.SetClip(QStringLiteral("x\ty\rz"));
    EXPECT_EQ(grid.TextMatrix(4, 2), QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(4, 3), QStringLiteral("43"));
    EXPECT_EQ(grid.TextMatrix(5, 2), QStringLiteral("52"));

    // A block is filled from its top-left cell; cells the text does not
    // reach keep their contents. The selection may run backwards.
    grid.SetRow(3);
    grid.SetCol(3);
    grid.SetRowSel(2);
    grid.SetColSel(2);
    grid.SetClip(QStringLiteral("a\tb\r\nc"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("a"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("b"));
    EXPECT_EQ(grid.TextMatrix(3, 2), QStringLiteral("c"));
    EXPECT_EQ(grid.TextMatrix(3, 3), QStringLiteral("33"));
}

TEST_F(FlexGrid, SizesAreTwipsOfTheScreen) {
    const int dpi = grid.logicalDpiX();
    grid.SetColWidth(1, 850);
    EXPECT_EQ(grid.ColWidth(1), 850);
    EXPECT_EQ(grid.columnWidth(1), qRound(850.0 * dpi / 1440));
    grid.SetColWidth(-1, 1440);
    EXPECT_EQ(grid.columnWidth(3), dpi);
    EXPECT_EQ(grid.ColWidth(0), 1440);
    grid.SetRowHeight(0, 600);
    EXPECT_EQ(grid.RowHeight(0), 600);
    EXPECT_EQ(grid.rowHeight(0), qRound(600.0 * grid.logicalDpiY() / 1440));
    // A default height is the font's and is reported in twips too.
    EXPECT_EQ(grid.RowHeight(1), grid.PixelsToTwipsY(grid.rowHeight(1)));

    // CellLeft and CellTop place a control exactly over the current cell.
    fenster.resize(600, 400);
    grid.move(30, 20);
    fenster.show();
    grid.SetRow(2);
    grid.SetCol(2);
    const QRect zelle = grid.visualRect(grid.model()->index(2, 2));
    const QPoint imFenster = grid.viewport()->mapTo(&fenster, zelle.topLeft());
    EXPECT_EQ(grid.TwipsToPixelsX(grid.PixelsToTwipsX(grid.x()) + grid.CellLeft()), imFenster.x());
    EXPECT_EQ(grid.TwipsToPixelsY(grid.PixelsToTwipsY(grid.y()) + grid.CellTop()), imFenster.y());
    EXPECT_EQ(grid.CellWidth(), 1440);
    EXPECT_EQ(grid.CellHeight(), grid.RowHeight(2));
}

TEST_F(FlexGrid, ScrollingKeepsTheHeadingsInPlace) {
    fenster.show();
    grid.SetRows(60);
    QSignalSpy scroll(&grid, &MSFlexGrid::Scroll);
    grid.SetTopRow(20);
    EXPECT_EQ(grid.TopRow(), 20);
    EXPECT_EQ(scroll.count(), 1);
    EXPECT_TRUE(grid.RowIsVisible(0));
    EXPECT_EQ(grid.rowViewportPosition(0), 0);
    EXPECT_EQ(grid.rowViewportPosition(20), grid.rowHeight(0));
    EXPECT_FALSE(grid.RowIsVisible(5));
    EXPECT_FALSE(grid.RowIsVisible(59));
    // As far as there is something to show: the last row at the bottom.
    grid.SetTopRow(59);
    EXPECT_LT(grid.TopRow(), 59);
    EXPECT_TRUE(grid.RowIsVisible(59));
    EXPECT_FALSE(grid.RowIsVisible(grid.TopRow() - 1));
    grid.SetTopRow(1);
    EXPECT_TRUE(grid.RowIsVisible(1));

    // The view's own bars never move the cells by pixels.
    grid.QAbstractScrollArea::verticalScrollBar()->setValue(7);
    EXPECT_EQ(grid.rowViewportPosition(0), 0);

    grid.SetCols(30);
    grid.SetLeftCol(10);
    EXPECT_EQ(grid.LeftCol(), 10);
    EXPECT_TRUE(grid.ColIsVisible(0));
    EXPECT_FALSE(grid.ColIsVisible(3));
    EXPECT_TRUE(grid.ColIsVisible(10));
    EXPECT_EQ(grid.columnViewportPosition(10), grid.columnWidth(0));
}

TEST_F(FlexGrid, TheMouseSelectsCellsButNoHeadings) {
    fenster.show();
    QSignalSpy wechsel(&grid, &MSFlexGrid::RowColChange);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, mitte(3, 2));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(wechsel.count(), 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, mitte(0, 3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, mitte(4, 0));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 2);

    // A drag spans a block from the cell where it began.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, mitte(2, 1));
    QMouseEvent bewegung(QEvent::MouseMove, mitte(4, 3), grid.viewport()->mapToGlobal(mitte(4, 3)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &bewegung);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, mitte(4, 3));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.RowSel(), 4);
    EXPECT_EQ(grid.ColSel(), 3);

    // Shift extends the block.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, mitte(5, 2));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.RowSel(), 5);
    EXPECT_EQ(grid.ColSel(), 2);
}

TEST_F(FlexGrid, TheKeysMoveTheCurrentCellBelowTheHeadings) {
    fenster.show();
    grid.setFocus();
    grid.SetRow(1);
    grid.SetCol(1);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.RowSel(), 3);

    // Moving below the last row in view scrolls it into view.
    grid.SetRows(60);
    grid.SetRow(1);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 41);
    EXPECT_TRUE(grid.RowIsVisible(41));
    EXPECT_GT(grid.TopRow(), 1);
}

TEST_F(FlexGrid, EnabledIsTheGridsOwnState) {
    fenster.setEnabled(false);
    EXPECT_TRUE(grid.Enabled());
    grid.SetEnabled(false);
    fenster.setEnabled(true);
    EXPECT_FALSE(grid.Enabled());
    EXPECT_FALSE(grid.isEnabled());
    grid.SetEnabled(true);
    EXPECT_TRUE(grid.isEnabled());
}

TEST_F(FlexGrid, AppearanceProperties) {
    grid.SetBackColor(int32_t(0x00FF00));
    grid.SetBackColorFixed(int32_t(0xC0C0C0));
    grid.SetForeColor(255);
    EXPECT_EQ(grid.BackColor(), int32_t(0x00FF00));
    EXPECT_EQ(grid.BackColorFixed(), int32_t(0xC0C0C0));
    EXPECT_EQ(grid.ForeColor(), 255);

    const int vorher = grid.rowHeight(1);
    grid.SetFontName(QStringLiteral("Arial"));
    grid.SetFontSize(16);
    grid.SetFontBold(true);
    EXPECT_EQ(grid.FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(grid.FontSize(), 16.0f);
    EXPECT_TRUE(grid.FontBold());
    EXPECT_EQ(grid.font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_GT(grid.rowHeight(1), vorher); // rows of the default height follow the font
    EXPECT_EQ(fehler([&] { grid.SetFontSize(0); }), 380);

    grid.SetColAlignment(2, MSFlexGrid::flexAlignRightCenter);
    grid.SetFixedAlignment(2, MSFlexGrid::flexAlignCenterCenter);
    EXPECT_EQ(grid.ColAlignment(2), 7);
    EXPECT_EQ(grid.FixedAlignment(2), 4);
    EXPECT_EQ(fehler([&] { grid.SetColAlignment(2, 10); }), 380);

    grid.SetMousePointer(2);
    EXPECT_EQ(grid.MousePointer(), 2);
    EXPECT_EQ(grid.viewport()->cursor().shape(), Qt::CrossCursor);
    grid.SetMousePointer(0);
    EXPECT_EQ(grid.MousePointer(), 0);
    grid.SetToolTipText(QStringLiteral("SpaltenNr.1"));
    EXPECT_EQ(grid.ToolTipText(), QStringLiteral("SpaltenNr.1"));
    grid.SetIndex(0);
    EXPECT_EQ(grid.Index(), 0);
}

TEST_F(FlexGrid, FixedCountsMoveTheCurrentCellOutOfTheHeadings) {
    grid.SetRow(1);
    grid.SetCol(1);
    grid.SetFixedRows(2);
    grid.SetFixedCols(0);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.TopRow(), 2);
    EXPECT_EQ(grid.LeftCol(), 0);
    EXPECT_EQ(fehler([&] { grid.SetFixedRows(7); }), 380);
}

TEST_F(FlexGrid, PlaceInTheContainerInTwips) {
    fenster.resize(600, 400);
    grid.setGeometry(30, 20, 300, 150);
    EXPECT_EQ(grid.Left(), grid.PixelsToTwipsX(30));
    EXPECT_EQ(grid.Top(), grid.PixelsToTwipsY(20));
    EXPECT_EQ(grid.Width(), grid.PixelsToTwipsX(300));
    EXPECT_EQ(grid.Height(), grid.PixelsToTwipsY(150));
}

TEST_F(FlexGrid, TheMouseIsReportedInTwipsFromTheGridsCorner) {
    fenster.show();
    QList<QList<float>> gedrueckt;
    QList<QList<float>> bewegt;
    QStringList folge;
    QObject::connect(&grid, &MSFlexGrid::MouseDown, [&](int b, int s, float x, float y) {
        gedrueckt.append({float(b), float(s), x, y});
        folge << QStringLiteral("down");
    });
    QObject::connect(&grid, &MSFlexGrid::MouseMove, [&](int b, int s, float x, float y) {
        bewegt.append({float(b), float(s), x, y});
    });
    QObject::connect(&grid, &MSFlexGrid::MouseUp,
                     [&](int, int, float, float) { folge << QStringLiteral("up"); });
    QObject::connect(&grid, &MSFlexGrid::Click, [&] { folge << QStringLiteral("click"); });
    QObject::connect(&grid, &MSFlexGrid::DblClick, [&] { folge << QStringLiteral("dblclick"); });

    grid.SetRow(2);
    grid.SetCol(2);
    const QRect zelle = grid.visualRect(grid.model()->index(2, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, zelle.topLeft());
    ASSERT_EQ(gedrueckt.size(), 1);
    EXPECT_EQ(gedrueckt[0][0], 1.0f);
    EXPECT_EQ(gedrueckt[0][1], 1.0f);
    // The cell's corner is where CellLeft and CellTop say.
    EXPECT_NEAR(gedrueckt[0][2], grid.CellLeft(), 1);
    EXPECT_NEAR(gedrueckt[0][3], grid.CellTop(), 1);

    // A move without a button is reported too.
    QMouseEvent bewegung(QEvent::MouseMove, zelle.center(),
                         grid.viewport()->mapToGlobal(zelle.center()), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &bewegung);
    ASSERT_EQ(bewegt.size(), 1);
    EXPECT_EQ(bewegt[0][0], 0.0f);

    // A double-click: its second press gives DblClick, its release no Click.
    folge.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, zelle.center());
    EXPECT_EQ(folge, QStringList({"down", "up", "click", "dblclick", "up"}));
    // A right click is no Click.
    folge.clear();
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, zelle.center());
    EXPECT_EQ(folge, QStringList({"down", "up"}));
}

TEST_F(FlexGrid, TypedCharactersAreReportedAndGoOnToTheWindow) {
    fenster.show();
    grid.setFocus();
    QList<int> codes;
    QObject::connect(&grid, &MSFlexGrid::KeyPress, [&](int code) { codes << code; });
    QTest::keyClicks(&grid, QStringLiteral("7a"));
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Escape);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Down); // a move, no character
    QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("€"));
    QApplication::sendEvent(&grid, &euro);
    EXPECT_EQ(codes, QList<int>({55, 97, 13, 27, 3, 128}));
}

TEST_F(FlexGrid, WithoutRedrawTextsChangeSilently) {
    QSignalSpy geaendert(grid.model(), &QAbstractItemModel::dataChanged);
    grid.SetTextMatrix(1, 1, QStringLiteral("a"));
    EXPECT_EQ(geaendert.count(), 1);
    grid.SetRedraw(false);
    EXPECT_FALSE(grid.Redraw());
    grid.SetTextMatrix(1, 1, QStringLiteral("b"));
    grid.SetTextMatrix(2, 2, QStringLiteral("c"));
    EXPECT_EQ(geaendert.count(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("b"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("c"));
    // Rows still change as the view sees them.
    grid.SetRows(8);
    EXPECT_EQ(grid.rowCount(), 8);
    grid.SetRedraw(true);
    grid.SetTextMatrix(1, 1, QStringLiteral("d"));
    EXPECT_EQ(geaendert.count(), 2);
}

// A text a little wider than its cell's text area is shown clipped, not
// replaced in part by an ellipsis: right-aligned, its last characters look
// the same in a narrow column as in a wide one.
TEST_F(FlexGrid, ATextWiderThanItsCellIsClippedNotElided) {
    const QString text = QStringLiteral("11/03/26");
    grid.SetColAlignment(-1, MSFlexGrid::flexAlignRightCenter);
    grid.SetTextMatrix(1, 1, text);
    grid.SetTextMatrix(1, 2, text);
    const int breite = grid.fontMetrics().horizontalAdvance(text);
    grid.setColumnWidth(1, breite + 1); // less than the text plus its margins
    grid.setColumnWidth(2, breite + 40);
    grid.SetRow(2);
    grid.SetCol(3);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));

    const QImage bild = grid.viewport()->grab().toImage();
    const QRect eng = grid.visualRect(grid.model()->index(1, 1));
    const QRect weit = grid.visualRect(grid.model()->index(1, 2));
    const int ende = breite / 2; // the right half of the text: "3/26"
    const QImage engesEnde = bild.copy(eng.right() - ende, eng.top() + 1, ende, eng.height() - 2);
    const QImage weitesEnde = bild.copy(weit.right() - ende, weit.top() + 1, ende, weit.height() - 2);
    EXPECT_EQ(engesEnde, weitesEnde);
}
