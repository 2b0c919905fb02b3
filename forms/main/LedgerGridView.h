#pragma once
// The grid `StringGrid1`: a table view whose headers are the fixed title row
// and the fixed column 0. It leaves the selection alone under the right mouse
// button (that button opens the pop-up menu), and Tab from an open editor
// moves to the next cell without opening an editor there.

#include <QPoint>
#include <QTableView>

namespace orvo::forms {

class LedgerGridView : public QTableView {
    Q_OBJECT
public:
    explicit LedgerGridView(QWidget* parent = nullptr);

    // The table cell (column, row) under `viewPos` (in this widget's
    // coordinates): the title row is row 0, the fixed column is column 0, and
    // a point past the last column or row gives -1 for it.
    QPoint tableCellAt(const QPoint& viewPos) const;

    // The rectangle of table cell (col, row) in this widget's coordinates.
    QRect tableCellRect(int col, int row) const;

    bool isEditing() const { return state() == EditingState; }

    // Moves the current cell as Tab (or Shift+Tab) does.
    void moveToNextCell(bool forward);

signals:
    // A left or middle button was released over the grid, after the view has
    // made its selection; `viewPos` is in this widget's coordinates.
    void mouseReleased(const QPoint& viewPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;

public:
    // Typed text never moves the current cell (no type-ahead search).
    void keyboardSearch(const QString&) override {}
};

}  // namespace orvo::forms
