#pragma once

// The flex grid of the windows: a table of cell texts whose first FixedRows
// rows and FixedCols columns are headings. Headings stay in place while the
// other cells scroll, by whole rows and columns (TopRow, LeftCol), and cannot
// be selected by the user. The current cell is (Row, Col); the selected block
// reaches from it to (RowSel, ColSel). Sizes and positions are in twips,
// converted with the screen's logical dots per inch (1440 twips to the inch).
// Colours are 32-bit values with red in the lowest byte; system colours have
// the top bit set (0x80000005 the window background, 0x8000000F the button
// face). Cells are never edited in place: the program lays its own editors
// over them (CellLeft/CellTop/CellWidth/CellHeight).
//
// A value that the grid cannot take (a row beyond Rows, a negative count)
// raises a RuntimeError: 381 for an index of a cell, row or column, 380 for any
// other property value.

#include "platform/controls/StdFont.h"

#include <QString>
#include <QTableWidget>
#include <cstdint>
#include <vector>

class QObject;
class QScrollBar;

// The index of a control in its window's array of like controls, kept as
// the control's dynamic property "Index". Reading the index of a control that
// is not part of an array raises error 343.
int16_t ControlIndex(const QObject& control);
void SetControlIndex(QObject& control, int16_t index);
bool HasControlIndex(const QObject& control);

class MSFlexGrid : public QTableWidget {
    Q_OBJECT

public:
    // Alignment codes of ColAlignment and FixedAlignment.
    enum {
        flexAlignLeftTop = 0,
        flexAlignLeftCenter = 1,
        flexAlignLeftBottom = 2,
        flexAlignCenterTop = 3,
        flexAlignCenterCenter = 4,
        flexAlignCenterBottom = 5,
        flexAlignRightTop = 6,
        flexAlignRightCenter = 7,
        flexAlignRightBottom = 8,
        flexAlignGeneral = 9, // texts left, numbers right, centred vertically
    };
    static constexpr int32_t kFensterhintergrund = int32_t(0x80000005); // system colour 5
    static constexpr int32_t kSchaltflaeche = int32_t(0x8000000F);      // system colour 15
    static constexpr int32_t kFenstertext = int32_t(0x80000008);        // system colour 8

    // Two rows and two columns, one of each fixed, as a new grid on a form.
    explicit MSFlexGrid(QWidget* parent = nullptr);
    ~MSFlexGrid() override;

    // --- Shape -------------------------------------------------------------
    int Rows() const { return rowCount(); }
    void SetRows(int rows);
    int Cols() const { return columnCount(); }
    void SetCols(int cols);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int cols);

    // Inserts a row at index (at the end without one) with the item's
    // tab-separated texts from column 0 on.
    void AddItem(const QString& item);
    void AddItem(const QString& item, int index);
    // Removes a row; the last row that is not fixed cannot be removed.
    void RemoveItem(int index);

    // --- Cells ---------------------------------------------------------------
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    // The text of the current cell.
    QString Text() const;
    void SetText(const QString& text);

    // --- Current cell and selection -----------------------------------------
    // Setting Row or Col makes the selection the current cell alone.
    int Row() const { return m_row; }
    void SetRow(int row);
    int Col() const { return m_col; }
    void SetCol(int col);
    int RowSel() const { return m_rowSel; }
    void SetRowSel(int row);
    int ColSel() const { return m_colSel; }
    void SetColSel(int col);
    // The selected block as text: cells separated by a tab, rows by a
    // carriage return, nothing after the last cell. Setting it lays a text
    // of that form over the block from its top-left cell: text beyond the
    // block is dropped, cells the text does not reach keep their contents.
    QString Clip() const;
    void SetClip(const QString& text);

    // --- Place in the container (twips) ------------------------------------
    // The grid's outer rectangle in its parent widget.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetFocus() { setFocus(); }

    // --- Sizes and positions (twips) ---------------------------------------
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips); // col -1: every column
    int RowHeight(int row) const;
    void SetRowHeight(int row, int twips); // row -1: every row
    // The current cell relative to the grid's outer top-left corner, so that
    // Left + CellLeft is the cell's position in the grid's container.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    int ColAlignment(int col) const;
    void SetColAlignment(int col, int alignment); // col -1: every column
    int FixedAlignment(int col) const;
    void SetFixedAlignment(int col, int alignment);

    // --- Scrolling -----------------------------------------------------------
    // The first row and column that are not fixed and in view. Setting them
    // scrolls, as far as there is something left to show below or right.
    int TopRow() const { return m_topRow; }
    void SetTopRow(int row);
    int LeftCol() const { return m_leftCol; }
    void SetLeftCol(int col);
    // In view, wholly or in part.
    bool RowIsVisible(int row) const;
    bool ColIsVisible(int col) const;

    // --- Appearance --------------------------------------------------------
    // The grid's own enabled state (not that of its window).
    bool Enabled() const;
    void SetEnabled(bool enabled);
    int32_t BackColor() const { return m_backColor; }
    void SetBackColor(int32_t colour);
    int32_t BackColorFixed() const { return m_backColorFixed; }
    void SetBackColorFixed(int32_t colour);
    // The area beyond the last row and column.
    int32_t BackColorBkg() const { return m_backColorBkg; }
    void SetBackColorBkg(int32_t colour);
    int32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(int32_t colour);

    // "Arial" is drawn with its metric twin Liberation Sans.
    StdFont Font() const { return m_font; }
    void SetFont(const StdFont& font);
    QString FontName() const { return m_font.Name(); }
    void SetFontName(const QString& name);
    float FontSize() const { return m_font.Size(); }
    void SetFontSize(float size);
    bool FontBold() const { return m_font.Bold(); }
    void SetFontBold(bool bold);
    bool FontItalic() const { return m_font.Italic(); }
    void SetFontItalic(bool italic);
    bool FontUnderline() const { return m_font.Underline(); }
    void SetFontUnderline(bool underline);

    // False while a program rewrites many cells: texts change without the
    // view hearing of each one; setting it True again repaints the grid.
    bool Redraw() const { return m_redraw; }
    void SetRedraw(bool redraw);

    QString ToolTipText() const { return toolTip(); }
    void SetToolTipText(const QString& text) { setToolTip(text); }
    // 0 default, 1 arrow, 2 cross, 3 I-beam, 11 hourglass, 13 arrow and
    // hourglass; the value is kept as set.
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);

    // The grid's number in its window's array of grids (error 343 when it is
    // not part of one).
    int16_t Index() const { return ControlIndex(*this); }
    void SetIndex(int16_t index) { SetControlIndex(*this, index); }

    // Twips of this screen.
    int PixelsToTwipsX(int pixels) const;
    int PixelsToTwipsY(int pixels) const;
    int TwipsToPixelsX(int twips) const;
    int TwipsToPixelsY(int twips) const;

    // Whether a cell lies in the selected block (for painting).
    bool IsSelected(int row, int col) const;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // TopRow or LeftCol changed.
    void Scroll();
    // The current cell changed.
    void RowColChange();
    // The selected block changed.
    void SelChange();

    // The user's mouse and keys, as a window's event handlers receive them.
    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt.
    // X and Y are twips from the grid's top-left corner, as CellLeft and
    // CellTop measure. MouseMove comes with and without a button pressed.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // After the MouseUp of a left-button click, but not after the second
    // press of a double-click, which gives DblClick instead.
    void Click();
    void DblClick();
    // A typed character that the grid does not take for a move, as
    // KeyAsciiOf gives it (KeyCodes.h): Enter is 13, Backspace 8, Esc 27,
    // Ctrl+C 3; Delete and the other keys that type no character give none.
    // The key still goes on to the window.
    void KeyPress(int KeyAscii);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    void requireRow(int row) const;
    void requireCol(int col) const;
    int rowPixels(int row) const;
    int colPixels(int col) const;
    int defaultRowPixels() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    int viewHeight() const;
    int viewWidth() const;
    void applyTopRow(int row);
    void applyLeftCol(int col);
    void ensureCellVisible(int row, int col);
    void relayout();
    void syncCurrent();
    void moveCurrent(int row, int col, bool extend);
    void setSelectionEnd(int row, int col);
    QPoint cellAt(const QPoint& pos, bool clamp) const;
    void applyFont();
    void applyPalette();
    void emitMouse(void (MSFlexGrid::*signal)(int, int, float, float), const QMouseEvent* event,
                   Qt::MouseButtons buttons);

    // Invariants: FixedRows <= Rows, FixedCols <= Cols, one twips entry per
    // row and per column.
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
    int m_colSel = 0;
    int m_topRow = 0;
    int m_leftCol = 0;
    std::vector<int> m_rowTwips; // -1: the default height of the font
    std::vector<int> m_colTwips; // -1: the default width
    std::vector<int> m_colAlignment;
    std::vector<int> m_fixedAlignment;
    int32_t m_backColor = kFensterhintergrund;
    int32_t m_backColorFixed = kSchaltflaeche;
    int32_t m_backColorBkg = int32_t(0x808080);
    int32_t m_foreColor = kFenstertext;
    StdFont m_font{QStringLiteral("MS Sans Serif"), 8.25f};
    int m_mousePointer = 0;
    bool m_redraw = true;
    bool m_dragging = false;
    bool m_afterDoubleClick = false; // the next release ends a double-click
    bool m_inLayout = false;
    QScrollBar* m_vbar = nullptr;
    QScrollBar* m_hbar = nullptr;
};
