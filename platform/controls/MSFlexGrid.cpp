#include "platform/controls/MSFlexGrid.h"
#include "platform/runtime/System.h"
#include "platform/controls/StdFont.h"

#include "platform/controls/OutputObject.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

bool german() {
    return GermanTexts();
}

RuntimeError invalidValue() {
    return RuntimeError(380, german() ? QStringLiteral("Ungültiger Eigenschaftswert")
                                      : QStringLiteral("Invalid property value"));
}

RuntimeError invalidIndex() {
    return RuntimeError(381, german() ? QStringLiteral("Ungültiger Index für Eigenschaftenfeld")
                                      : QStringLiteral("Invalid property array index"));
}

Qt::Alignment qtAlignment(int code, const QString& text) {
    switch (code) {
    case MSFlexGrid::flexAlignLeftTop:
        return Qt::AlignLeft | Qt::AlignTop;
    case MSFlexGrid::flexAlignLeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case MSFlexGrid::flexAlignLeftBottom:
        return Qt::AlignLeft | Qt::AlignBottom;
    case MSFlexGrid::flexAlignCenterTop:
        return Qt::AlignHCenter | Qt::AlignTop;
    case MSFlexGrid::flexAlignCenterCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case MSFlexGrid::flexAlignCenterBottom:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case MSFlexGrid::flexAlignRightTop:
        return Qt::AlignRight | Qt::AlignTop;
    case MSFlexGrid::flexAlignRightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    case MSFlexGrid::flexAlignRightBottom:
        return Qt::AlignRight | Qt::AlignBottom;
    default: {
        double number = 0;
        return (ParseNumberText(text, number) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    }
}

// Paints every cell from the grid's own properties: heading and data
// colours, the alignment of its column, and the highlight of the selected
// block (the current cell keeps its colours and shows the focus).
class FlexDelegate : public QStyledItemDelegate {
public:
    explicit FlexDelegate(MSFlexGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const int row = index.row();
        const int col = index.column();
        const bool fixed = row < m_grid->FixedRows() || col < m_grid->FixedCols();
        option->state &= ~QStyle::State_Selected;
        option->displayAlignment = qtAlignment(
            fixed ? m_grid->FixedAlignment(col) : m_grid->ColAlignment(col), option->text);
        if (m_grid->IsSelected(row, col)) {
            option->backgroundBrush = option->palette.brush(QPalette::Highlight);
            option->palette.setColor(QPalette::Text,
                                     option->palette.color(QPalette::HighlightedText));
            return;
        }
        option->backgroundBrush =
            QBrush(ToQColor(fixed ? m_grid->BackColorFixed() : m_grid->BackColor()));
        if (m_grid->isEnabled())
            option->palette.setColor(QPalette::Text, ToQColor(m_grid->ForeColor()));
    }

private:
    MSFlexGrid* m_grid;
};

} // namespace

// Control arrays -------------------------------------------------------------------

int16_t ControlIndex(const QObject& control) {
    const QVariant index = control.property("Index");
    if (!index.isValid())
        throw RuntimeError(343, german() ? QStringLiteral("Objekt ist kein Datenfeld")
                                         : QStringLiteral("Object not an array"));
    return int16_t(index.toInt());
}

void SetControlIndex(QObject& control, int16_t index) {
    control.setProperty("Index", int(index));
}

bool HasControlIndex(const QObject& control) {
    return control.property("Index").isValid();
}

// Construction -------------------------------------------------------------------

MSFlexGrid::MSFlexGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(64);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setAutoScroll(false);
    setTabKeyNavigation(false);
    setWordWrap(false);
    // A text wider than its cell is clipped at the cell's edges, never
    // shortened with an ellipsis: a date or a time in a narrow column stays
    // readable up to the last digit that fits.
    setTextElideMode(Qt::ElideNone);
    // Scrolling is by whole rows and columns under the headings: the view's
    // own bars stay off and two bars of the grid drive TopRow and LeftCol.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new FlexDelegate(this));
    // MouseMove is reported without a button pressed too (tool tips follow
    // the column under the mouse).
    viewport()->setMouseTracking(true);
    m_vbar = new QScrollBar(Qt::Vertical, this);
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_vbar->hide();
    m_hbar->hide();
    connect(m_vbar, &QScrollBar::valueChanged, this,
            [this](int value) { applyTopRow(m_fixedRows + value); });
    connect(m_hbar, &QScrollBar::valueChanged, this,
            [this](int value) { applyLeftCol(m_fixedCols + value); });

    SetRows(2);
    SetCols(2);
    applyFont();
    applyPalette();
    SetFixedRows(1);
    SetFixedCols(1);
}

MSFlexGrid::~MSFlexGrid() = default;

// Twips ---------------------------------------------------------------------------

int MSFlexGrid::PixelsToTwipsX(int pixels) const {
    return qRound(pixels * 1440.0 / logicalDpiX());
}
int MSFlexGrid::PixelsToTwipsY(int pixels) const {
    return qRound(pixels * 1440.0 / logicalDpiY());
}
int MSFlexGrid::TwipsToPixelsX(int twips) const {
    return qRound(twips * logicalDpiX() / 1440.0);
}
int MSFlexGrid::TwipsToPixelsY(int twips) const {
    return qRound(twips * logicalDpiY() / 1440.0);
}

// Shape ---------------------------------------------------------------------------

void MSFlexGrid::requireRow(int row) const {
    if (row < 0 || row >= rowCount()) throw invalidIndex();
}

void MSFlexGrid::requireCol(int col) const {
    if (col < 0 || col >= columnCount()) throw invalidIndex();
}

void MSFlexGrid::SetRows(int rows) {
    if (rows < 0) throw invalidValue();
    setRowCount(rows);
    m_rowTwips.resize(size_t(rows), -1);
    m_fixedRows = std::min(m_fixedRows, rows);
    const int last = std::max(rows - 1, 0);
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
    m_topRow = std::min(m_topRow, std::max(rows, m_fixedRows));
    relayout();
    syncCurrent();
}

void MSFlexGrid::SetCols(int cols) {
    if (cols < 0) throw invalidValue();
    setColumnCount(cols);
    m_colTwips.resize(size_t(cols), -1);
    m_colAlignment.resize(size_t(cols), flexAlignGeneral);
    m_fixedAlignment.resize(size_t(cols), flexAlignGeneral);
    m_fixedCols = std::min(m_fixedCols, cols);
    const int last = std::max(cols - 1, 0);
    m_col = std::min(m_col, last);
    m_colSel = std::min(m_colSel, last);
    m_leftCol = std::min(m_leftCol, std::max(cols, m_fixedCols));
    relayout();
    syncCurrent();
}

void MSFlexGrid::SetFixedRows(int rows) {
    if (rows < 0 || rows > rowCount()) throw invalidValue();
    for (int r = m_fixedRows; r < std::min(m_topRow, rowCount()); ++r)
        setRowHidden(r, false);
    m_fixedRows = rows;
    m_topRow = rows;
    if (m_row < rows && rows < rowCount()) m_row = rows;
    if (m_rowSel < rows && rows < rowCount()) m_rowSel = rows;
    relayout();
    syncCurrent();
}

void MSFlexGrid::SetFixedCols(int cols) {
    if (cols < 0 || cols > columnCount()) throw invalidValue();
    for (int c = m_fixedCols; c < std::min(m_leftCol, columnCount()); ++c)
        setColumnHidden(c, false);
    m_fixedCols = cols;
    m_leftCol = cols;
    if (m_col < cols && cols < columnCount()) m_col = cols;
    if (m_colSel < cols && cols < columnCount()) m_colSel = cols;
    relayout();
    syncCurrent();
}

void MSFlexGrid::AddItem(const QString& item) {
    AddItem(item, rowCount());
}

void MSFlexGrid::AddItem(const QString& item, int index) {
    if (index < 0 || index > rowCount()) throw invalidIndex();
    insertRow(index);
    m_rowTwips.insert(m_rowTwips.begin() + index, -1);
    setRowHeight(index, defaultRowPixels());
    const QStringList cells = item.split(QLatin1Char('\t'));
    for (int c = 0; c < std::min(int(cells.size()), columnCount()); ++c)
        SetTextMatrix(index, c, cells.at(c));
    // A row inserted above the top row keeps the rows in view where they are.
    if (index >= m_fixedRows && index < m_topRow) {
        setRowHidden(index, true);
        ++m_topRow;
    }
    relayout();
    syncCurrent();
}

void MSFlexGrid::RemoveItem(int index) {
    requireRow(index);
    if (index >= m_fixedRows && rowCount() - m_fixedRows <= 1)
        throw RuntimeError(
            30015, german()
                       ? QStringLiteral("Letzte nicht fixierte Zeile kann nicht entfernt werden")
                       : QStringLiteral("Cannot remove last non-fixed row"));
    removeRow(index);
    m_rowTwips.erase(m_rowTwips.begin() + index);
    if (index < m_fixedRows)
        --m_fixedRows;
    else if (index < m_topRow)
        --m_topRow;
    const int last = std::max(rowCount() - 1, 0);
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
    relayout();
    syncCurrent();
}

// Cells ---------------------------------------------------------------------------

QString MSFlexGrid::TextMatrix(int row, int col) const {
    requireRow(row);
    requireCol(col);
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void MSFlexGrid::SetTextMatrix(int row, int col, const QString& text) {
    requireRow(row);
    requireCol(col);
    // Without Redraw the view is not told of each cell; SetRedraw(true)
    // repaints them all at once.
    const QSignalBlocker still(m_redraw ? nullptr : model());
    if (QTableWidgetItem* cell = item(row, col)) {
        cell->setText(text);
    } else if (!text.isEmpty()) {
        setItem(row, col, new QTableWidgetItem(text));
    }
}

QString MSFlexGrid::Text() const {
    return TextMatrix(m_row, m_col);
}

void MSFlexGrid::SetText(const QString& text) {
    SetTextMatrix(m_row, m_col, text);
}

// Current cell and selection -------------------------------------------------------

void MSFlexGrid::SetRow(int row) {
    requireRow(row);
    const bool changed = row != m_row;
    m_row = row;
    m_rowSel = row;
    m_colSel = m_col;
    syncCurrent();
    if (changed) emit RowColChange();
}

void MSFlexGrid::SetCol(int col) {
    requireCol(col);
    const bool changed = col != m_col;
    m_col = col;
    m_colSel = col;
    m_rowSel = m_row;
    syncCurrent();
    if (changed) emit RowColChange();
}

void MSFlexGrid::SetRowSel(int row) {
    requireRow(row);
    m_rowSel = row;
    viewport()->update();
    emit SelChange();
}

void MSFlexGrid::SetColSel(int col) {
    requireCol(col);
    m_colSel = col;
    viewport()->update();
    emit SelChange();
}

bool MSFlexGrid::IsSelected(int row, int col) const {
    if (row < m_fixedRows || col < m_fixedCols) return false;
    if (row == m_row && col == m_col) return false;
    return row >= std::min(m_row, m_rowSel) && row <= std::max(m_row, m_rowSel) &&
           col >= std::min(m_col, m_colSel) && col <= std::max(m_col, m_colSel);
}

QString MSFlexGrid::Clip() const {
    QStringList rows;
    for (int r = std::min(m_row, m_rowSel); r <= std::max(m_row, m_rowSel); ++r) {
        QStringList cells;
        for (int c = std::min(m_col, m_colSel); c <= std::max(m_col, m_colSel); ++c)
            cells << TextMatrix(r, c);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\r'));
}

void MSFlexGrid::SetClip(const QString& text) {
    const int top = std::min(m_row, m_rowSel);
    const int bottom = std::max(m_row, m_rowSel);
    const int left = std::min(m_col, m_colSel);
    const int right = std::max(m_col, m_colSel);
    const QStringList lines = text.split(QLatin1Char('\r'));
    for (int i = 0; i < lines.size() && top + i <= bottom; ++i) {
        QString line = lines.at(i);
        if (line.startsWith(QLatin1Char('\n'))) line.remove(0, 1); // "\r\n" between rows
        const QStringList cells = line.split(QLatin1Char('\t'));
        for (int j = 0; j < cells.size() && left + j <= right; ++j)
            SetTextMatrix(top + i, left + j, cells.at(j));
    }
}

// Place in the container ----------------------------------------------------------

int MSFlexGrid::Left() const {
    return PixelsToTwipsX(x());
}

int MSFlexGrid::Top() const {
    return PixelsToTwipsY(y());
}

int MSFlexGrid::Width() const {
    return PixelsToTwipsX(width());
}

int MSFlexGrid::Height() const {
    return PixelsToTwipsY(height());
}

// Sizes ---------------------------------------------------------------------------

int MSFlexGrid::defaultRowPixels() const {
    return QFontMetrics(font()).height() + 3;
}

int MSFlexGrid::rowPixels(int row) const {
    const int twips = m_rowTwips[size_t(row)];
    return twips >= 0 ? TwipsToPixelsY(twips) : defaultRowPixels();
}

int MSFlexGrid::colPixels(int col) const {
    const int twips = m_colTwips[size_t(col)];
    return twips >= 0 ? TwipsToPixelsX(twips) : horizontalHeader()->defaultSectionSize();
}

int MSFlexGrid::ColWidth(int col) const {
    requireCol(col);
    const int twips = m_colTwips[size_t(col)];
    return twips >= 0 ? twips : PixelsToTwipsX(colPixels(col));
}

void MSFlexGrid::SetColWidth(int col, int twips) {
    if (twips < 0) throw invalidValue();
    if (col == -1) {
        for (int c = 0; c < columnCount(); ++c) {
            m_colTwips[size_t(c)] = twips;
            setColumnWidth(c, colPixels(c));
        }
    } else {
        requireCol(col);
        m_colTwips[size_t(col)] = twips;
        setColumnWidth(col, colPixels(col));
    }
    relayout();
}

int MSFlexGrid::RowHeight(int row) const {
    requireRow(row);
    const int twips = m_rowTwips[size_t(row)];
    return twips >= 0 ? twips : PixelsToTwipsY(rowPixels(row));
}

void MSFlexGrid::SetRowHeight(int row, int twips) {
    if (twips < 0) throw invalidValue();
    if (row == -1) {
        for (int r = 0; r < rowCount(); ++r) {
            m_rowTwips[size_t(r)] = twips;
            setRowHeight(r, rowPixels(r));
        }
    } else {
        requireRow(row);
        m_rowTwips[size_t(row)] = twips;
        setRowHeight(row, rowPixels(row));
    }
    relayout();
}

int MSFlexGrid::CellLeft() const {
    requireCol(m_col);
    return PixelsToTwipsX(viewport()->x() + columnViewportPosition(m_col));
}

int MSFlexGrid::CellTop() const {
    requireRow(m_row);
    return PixelsToTwipsY(viewport()->y() + rowViewportPosition(m_row));
}

int MSFlexGrid::CellWidth() const {
    return ColWidth(m_col);
}

int MSFlexGrid::CellHeight() const {
    return RowHeight(m_row);
}

int MSFlexGrid::ColAlignment(int col) const {
    requireCol(col);
    return m_colAlignment[size_t(col)];
}

void MSFlexGrid::SetColAlignment(int col, int alignment) {
    if (alignment < 0 || alignment > flexAlignGeneral) throw invalidValue();
    if (col == -1) {
        std::fill(m_colAlignment.begin(), m_colAlignment.end(), alignment);
    } else {
        requireCol(col);
        m_colAlignment[size_t(col)] = alignment;
    }
    viewport()->update();
}

int MSFlexGrid::FixedAlignment(int col) const {
    requireCol(col);
    return m_fixedAlignment[size_t(col)];
}

void MSFlexGrid::SetFixedAlignment(int col, int alignment) {
    if (alignment < 0 || alignment > flexAlignGeneral) throw invalidValue();
    if (col == -1) {
        std::fill(m_fixedAlignment.begin(), m_fixedAlignment.end(), alignment);
    } else {
        requireCol(col);
        m_fixedAlignment[size_t(col)] = alignment;
    }
    viewport()->update();
}

// Appearance ----------------------------------------------------------------------

bool MSFlexGrid::Enabled() const {
    return !testAttribute(Qt::WA_ForceDisabled);
}

void MSFlexGrid::SetEnabled(bool enabled) {
    setEnabled(enabled);
}

void MSFlexGrid::SetBackColor(int32_t colour) {
    m_backColor = colour;
    viewport()->update();
}

void MSFlexGrid::SetBackColorFixed(int32_t colour) {
    m_backColorFixed = colour;
    viewport()->update();
}

void MSFlexGrid::SetBackColorBkg(int32_t colour) {
    m_backColorBkg = colour;
    applyPalette();
}

void MSFlexGrid::SetForeColor(int32_t colour) {
    m_foreColor = colour;
    viewport()->update();
}

void MSFlexGrid::applyPalette() {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, ToQColor(m_backColorBkg));
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);
    viewport()->update();
}

void MSFlexGrid::SetFont(const StdFont& font) {
    if (font.Size() <= 0) throw invalidValue();
    m_font = font;
    applyFont();
}

void MSFlexGrid::SetFontName(const QString& name) {
    m_font.SetName(name);
    applyFont();
}

void MSFlexGrid::SetFontSize(float size) {
    if (!(size > 0)) throw invalidValue();
    m_font.SetSize(size);
    applyFont();
}

void MSFlexGrid::SetFontBold(bool bold) {
    m_font.SetBold(bold);
    applyFont();
}

void MSFlexGrid::SetFontItalic(bool italic) {
    m_font.SetItalic(italic);
    applyFont();
}

void MSFlexGrid::SetFontUnderline(bool underline) {
    m_font.SetUnderline(underline);
    applyFont();
}

void MSFlexGrid::applyFont() {
    QFont qfont(FontFamily(m_font.Name()));
    qfont.setPointSizeF(m_font.Size());
    qfont.setWeight(QFont::Weight(std::clamp(int(m_font.Weight()), 100, 900)));
    qfont.setItalic(m_font.Italic());
    qfont.setUnderline(m_font.Underline());
    qfont.setStrikeOut(m_font.Strikethrough());
    setFont(qfont);
    // Rows of the default height follow the font.
    verticalHeader()->setDefaultSectionSize(defaultRowPixels());
    for (int r = 0; r < rowCount(); ++r)
        if (m_rowTwips[size_t(r)] < 0) setRowHeight(r, defaultRowPixels());
    relayout();
}

void MSFlexGrid::SetRedraw(bool redraw) {
    m_redraw = redraw;
    if (redraw) viewport()->update();
}

void MSFlexGrid::SetMousePointer(int pointer) {
    m_mousePointer = pointer;
    switch (pointer) {
    case 1:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    case 2:
        viewport()->setCursor(Qt::CrossCursor);
        break;
    case 3:
        viewport()->setCursor(Qt::IBeamCursor);
        break;
    case 11:
        viewport()->setCursor(Qt::WaitCursor);
        break;
    case 13:
        viewport()->setCursor(Qt::BusyCursor);
        break;
    default:
        viewport()->unsetCursor();
        break;
    }
}
