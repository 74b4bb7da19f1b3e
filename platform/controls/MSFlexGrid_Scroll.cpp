// The flex grid's scrolling by whole rows and columns under its headings,
// the layout of its own scroll bars, and what the user's mouse and keys do.

#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/ShiftState.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>

// Scrolling -------------------------------------------------------------------------

int MSFlexGrid::viewHeight() const {
    return viewport()->height();
}
int MSFlexGrid::viewWidth() const {
    return viewport()->width();
}

int MSFlexGrid::maxTopRow() const {
    int room = viewHeight();
    for (int r = 0; r < m_fixedRows; ++r)
        room -= rowPixels(r);
    int top = rowCount();
    int used = 0;
    while (top > m_fixedRows) {
        const int h = rowPixels(top - 1);
        if (used + h > room) break;
        used += h;
        --top;
    }
    // The last row can always be the top row, even when it does not fit.
    return std::max(m_fixedRows, std::min(top, rowCount() - 1));
}

int MSFlexGrid::maxLeftCol() const {
    int room = viewWidth();
    for (int c = 0; c < m_fixedCols; ++c)
        room -= colPixels(c);
    int left = columnCount();
    int used = 0;
    while (left > m_fixedCols) {
        const int w = colPixels(left - 1);
        if (used + w > room) break;
        used += w;
        --left;
    }
    return std::max(m_fixedCols, std::min(left, columnCount() - 1));
}

void MSFlexGrid::applyTopRow(int row) {
    const int top = std::clamp(row, m_fixedRows, maxTopRow());
    const int old = m_topRow;
    // Rows scrolled out above the top row are hidden, so the headings stay.
    for (int r = std::min(old, top); r < std::min(std::max(old, top), rowCount()); ++r)
        setRowHidden(r, r < top);
    m_topRow = top;
    {
        const QSignalBlocker block(m_vbar);
        m_vbar->setValue(top - m_fixedRows);
    }
    viewport()->update();
    if (top != old) emit Scroll();
}

void MSFlexGrid::applyLeftCol(int col) {
    const int left = std::clamp(col, m_fixedCols, maxLeftCol());
    const int old = m_leftCol;
    for (int c = std::min(old, left); c < std::min(std::max(old, left), columnCount()); ++c)
        setColumnHidden(c, c < left);
    m_leftCol = left;
    {
        const QSignalBlocker block(m_hbar);
        m_hbar->setValue(left - m_fixedCols);
    }
    viewport()->update();
    if (left != old) emit Scroll();
}

void MSFlexGrid::SetTopRow(int row) {
    requireRow(row);
    applyTopRow(row);
}

void MSFlexGrid::SetLeftCol(int col) {
    requireCol(col);
    applyLeftCol(col);
}

bool MSFlexGrid::RowIsVisible(int row) const {
    requireRow(row);
    if (isRowHidden(row)) return false;
    const int y = rowViewportPosition(row);
    return y < viewHeight() && y + rowHeight(row) > 0;
}

bool MSFlexGrid::ColIsVisible(int col) const {
    requireCol(col);
    if (isColumnHidden(col)) return false;
    const int x = columnViewportPosition(col);
    return x < viewWidth() && x + columnWidth(col) > 0;
}

void MSFlexGrid::ensureCellVisible(int row, int col) {
    if (row >= m_fixedRows && row < rowCount()) {
        if (row < m_topRow) {
            applyTopRow(row);
        } else {
            int room = viewHeight();
            for (int r = 0; r < m_fixedRows; ++r)
                room -= rowPixels(r);
            int top = row;
            int used = rowPixels(row);
            while (top > m_fixedRows && used + rowPixels(top - 1) <= room)
                used += rowPixels(--top);
            if (m_topRow < top) applyTopRow(top);
        }
    }
    if (col >= m_fixedCols && col < columnCount()) {
        if (col < m_leftCol) {
            applyLeftCol(col);
        } else {
            int room = viewWidth();
            for (int c = 0; c < m_fixedCols; ++c)
                room -= colPixels(c);
            int left = col;
            int used = colPixels(col);
            while (left > m_fixedCols && used + colPixels(left - 1) <= room)
                used += colPixels(--left);
            if (m_leftCol < left) applyLeftCol(left);
        }
    }
}

void MSFlexGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    (void)hint;
    if (index.isValid()) ensureCellVisible(index.row(), index.column());
}

void MSFlexGrid::scrollContentsBy(int dx, int dy) {
    // The cells never move by pixels: the grid scrolls by hiding whole rows
    // and columns (TopRow, LeftCol), so its headings stay in place.
    (void)dx;
    (void)dy;
}

void MSFlexGrid::updateGeometries() {
    QTableWidget::updateGeometries();
    // The view's own bars have nothing to scroll, so nothing can shift the
    // cells under the headings.
    QAbstractScrollArea::verticalScrollBar()->setRange(0, 0);
    QAbstractScrollArea::horizontalScrollBar()->setRange(0, 0);
    verticalHeader()->setOffset(0);
    horizontalHeader()->setOffset(0);
}

void MSFlexGrid::relayout() {
    if (m_inLayout) return;
    m_inLayout = true;
    const int frame = frameWidth();
    const int barWidth = m_vbar->sizeHint().width();
    const int barHeight = m_hbar->sizeHint().height();
    const int outerWidth = std::max(width() - 2 * frame, 0);
    const int outerHeight = std::max(height() - 2 * frame, 0);
    int totalHeight = 0;
    for (int r = 0; r < rowCount(); ++r)
        totalHeight += rowPixels(r);
    int totalWidth = 0;
    for (int c = 0; c < columnCount(); ++c)
        totalWidth += colPixels(c);
    bool vertical = false;
    bool horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertical = totalHeight > outerHeight - (horizontal ? barHeight : 0);
        horizontal = totalWidth > outerWidth - (vertical ? barWidth : 0);
    }
    setViewportMargins(0, 0, vertical ? barWidth : 0, horizontal ? barHeight : 0);
    m_vbar->setVisible(vertical);
    m_hbar->setVisible(horizontal);
    if (vertical)
        m_vbar->setGeometry(frame + outerWidth - barWidth, frame, barWidth,
                            outerHeight - (horizontal ? barHeight : 0));
    if (horizontal)
        m_hbar->setGeometry(frame, frame + outerHeight - barHeight,
                            outerWidth - (vertical ? barWidth : 0), barHeight);

    if (m_topRow > maxTopRow()) applyTopRow(maxTopRow());
    if (m_leftCol > maxLeftCol()) applyLeftCol(maxLeftCol());
    {
        const QSignalBlocker block(m_vbar);
        m_vbar->setRange(0, std::max(0, maxTopRow() - m_fixedRows));
        m_vbar->setValue(m_topRow - m_fixedRows);
        m_vbar->setPageStep(
            std::max(1, viewHeight() / std::max(1, defaultRowPixels()) - m_fixedRows));
    }
    {
        const QSignalBlocker block(m_hbar);
        m_hbar->setRange(0, std::max(0, maxLeftCol() - m_fixedCols));
        m_hbar->setValue(m_leftCol - m_fixedCols);
        m_hbar->setPageStep(std::max(1, columnCount() - m_fixedCols));
    }
    m_inLayout = false;
}

void MSFlexGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    relayout();
}

// The user's moves ------------------------------------------------------------------

void MSFlexGrid::syncCurrent() {
    if (m_row < rowCount() && m_col < columnCount())
        selectionModel()->setCurrentIndex(model()->index(m_row, m_col),
                                          QItemSelectionModel::NoUpdate);
    viewport()->update();
}

void MSFlexGrid::moveCurrent(int row, int col, bool extend) {
    if (extend) {
        m_rowSel = row;
        m_colSel = col;
        syncCurrent();
        emit SelChange();
        return;
    }
    const bool changed = row != m_row || col != m_col;
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    syncCurrent();
    if (changed) emit RowColChange();
    emit SelChange();
}

void MSFlexGrid::setSelectionEnd(int row, int col) {
    if (row == m_rowSel && col == m_colSel) return;
    moveCurrent(row, col, true);
}

QPoint MSFlexGrid::cellAt(const QPoint& pos, bool clamp) const {
    int row = rowAt(pos.y());
    int col = columnAt(pos.x());
    if (clamp) {
        if (row < 0) row = pos.y() < 0 ? m_topRow : rowCount() - 1;
        if (col < 0) col = pos.x() < 0 ? m_leftCol : columnCount() - 1;
        row = std::max(row, m_fixedRows);
        col = std::max(col, m_fixedCols);
    }
    return QPoint(col, row);
}

void MSFlexGrid::emitMouse(void (MSFlexGrid::*signal)(int, int, float, float),
                           const QMouseEvent* event, Qt::MouseButtons buttons) {
    // Viewport pixels to twips from the grid's corner, as CellLeft measures.
    const QPointF at = event->position() + QPointF(viewport()->pos());
    emit(this->*signal)(ButtonCode(buttons), ShiftState(event->modifiers()),
                        float(at.x() * 1440.0 / logicalDpiX()),
                        float(at.y() * 1440.0 / logicalDpiY()));
}

void MSFlexGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    const QPoint cell = cellAt(event->position().toPoint(), false);
    // Headings cannot be selected.
    if (event->button() == Qt::LeftButton && cell.y() >= m_fixedRows && cell.x() >= m_fixedCols &&
        cell.y() < rowCount() && cell.x() < columnCount()) {
        moveCurrent(cell.y(), cell.x(), event->modifiers().testFlag(Qt::ShiftModifier));
        m_dragging = true;
    }
    syncCurrent();
    m_afterDoubleClick = false;
    emitMouse(&MSFlexGrid::MouseDown, event, event->button());
}

void MSFlexGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QTableWidget::mouseMoveEvent(event);
    } else if (m_dragging && rowCount() > m_fixedRows && columnCount() > m_fixedCols) {
        const QPoint cell = cellAt(event->position().toPoint(), true);
        setSelectionEnd(cell.y(), cell.x());
    }
    emitMouse(&MSFlexGrid::MouseMove, event, event->buttons());
}

void MSFlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QTableWidget::mouseReleaseEvent(event);
    syncCurrent();
    emitMouse(&MSFlexGrid::MouseUp, event, event->button());
    const bool click = event->button() == Qt::LeftButton && !m_afterDoubleClick;
    m_afterDoubleClick = false;
    if (click) emit Click();
}

void MSFlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click moves nothing; its release gives
    // no Click, so what a DblClick handler opened is not taken back at once.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    m_afterDoubleClick = true;
    emit DblClick();
}

void MSFlexGrid::keyPressEvent(QKeyEvent* event) {
    if (rowCount() <= m_fixedRows || columnCount() <= m_fixedCols) {
        event->ignore();
        return;
    }
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    int row = extend ? m_rowSel : m_row;
    int col = extend ? m_colSel : m_col;
    const int page = std::max(1, viewHeight() / std::max(1, defaultRowPixels()) - m_fixedRows);
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        col = m_fixedCols;
        break;
    case Qt::Key_End:
        col = columnCount() - 1;
        break;
    default: {
        // Every other key belongs to the window (its key handlers and the
        // cell editors laid over the grid); a typed character is reported,
        // a key that types none (Delete) is not.
        const int code = KeyAsciiOf(*event);
        if (code >= 0) emit KeyPress(code);
        event->ignore();
        return;
    }
    }
    row = std::clamp(row, m_fixedRows, rowCount() - 1);
    col = std::clamp(col, m_fixedCols, columnCount() - 1);
    moveCurrent(row, col, extend);
    ensureCellVisible(row, col);
}

void MSFlexGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) applyTopRow(m_topRow - 3 * steps);
    event->accept();
}
