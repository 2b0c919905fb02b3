#include "forms/main/LedgerGridView.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace orvo::forms {

namespace {

bool rightButtonInvolved(const QMouseEvent* event) {
    return event->button() == Qt::RightButton || (event->buttons() & Qt::RightButton);
}

}  // namespace

LedgerGridView::LedgerGridView(QWidget* parent) : QTableView(parent) {}

QPoint LedgerGridView::tableCellAt(const QPoint& viewPos) const {
    const QPoint vp = viewPos - viewport()->geometry().topLeft();
    int col = 0;
    if (vp.x() >= 0) {
        const int c = columnAt(vp.x());
        col = c < 0 ? -1 : c + 1;
    }
    int row = 0;
    if (vp.y() >= 0) {
        const int r = rowAt(vp.y());
        row = r < 0 ? -1 : r + 1;
    }
    return {col, row};
}

QRect LedgerGridView::tableCellRect(int col, int row) const {
    const QModelIndex index = model() ? model()->index(row - 1, col - 1) : QModelIndex();
    if (!index.isValid()) return {};
    return visualRect(index).translated(viewport()->geometry().topLeft());
}

void LedgerGridView::moveToNextCell(bool forward) {
    const QModelIndex next = moveCursor(forward ? MoveNext : MovePrevious, Qt::NoModifier);
    if (next.isValid()) setCurrentIndex(next);
}

void LedgerGridView::mousePressEvent(QMouseEvent* event) {
    if (rightButtonInvolved(event)) {
        event->accept();
        return;
    }
    // A plain click inside a selected block selects the clicked cell alone, as
    // a grid does; the view would keep the block (it waits for a drag) while
    // the editor opens on the cell, and the edit commands would act on it all.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (plain && event->button() == Qt::LeftButton && pressed.isValid() &&
        selectionModel()->isSelected(pressed) && selectionModel()->selectedIndexes().size() > 1)
        selectionModel()->select(pressed, QItemSelectionModel::ClearAndSelect);
    QTableView::mousePressEvent(event);
}

void LedgerGridView::mouseMoveEvent(QMouseEvent* event) {
    if (rightButtonInvolved(event)) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void LedgerGridView::mouseReleaseEvent(QMouseEvent* event) {
    if (rightButtonInvolved(event)) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
    emit mouseReleased(viewport()->mapTo(this, event->position().toPoint()));
}

void LedgerGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (rightButtonInvolved(event)) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void LedgerGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextCell(hint == QAbstractItemDelegate::EditNextItem);
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void LedgerGridView::focusInEvent(QFocusEvent* event) {
    const bool hadCurrent = currentIndex().isValid();
    QTableView::focusInEvent(event);
    // With no ledger cell selected (after start-up or a write-back) the grid
    // stays so when it gets the focus; the view would make the first cell
    // current, and a drop-down editor would cover it.
    if (!hadCurrent && currentIndex().isValid() && event->reason() != Qt::MouseFocusReason)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

}  // namespace orvo::forms
