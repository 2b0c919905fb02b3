#pragma once
// Draws the grid's cells and provides its multi-line cell editor.
//
// Drawing: amounts (columns 3 and 4) right-aligned against the cell's right
// edge, the description (column 5) left-aligned on as many lines as it has,
// other cells on one line at the left; text starts 2 pixels in from the left
// and top, and "&" is shown as written.

#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

class QKeyEvent;

namespace orvo::forms {

class LedgerCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Sees every key pressed in an open editor first; true swallows the key.
    std::function<bool(QWidget* editor, QKeyEvent* event)> editorKeyDown;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The open cell editor, if any.
    QWidget* openEditor() const { return editor_; }

    // Writes the open editor's text into its cell.
    void commitOpenEditor();

signals:
    void editorOpened(QWidget* editor, const QModelIndex& index);
    void editorClosed();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Grows `editor` below its cell to show every line of its text.
    static void fitEditorToLines(QWidget* editor, int cellHeight);

    mutable QPointer<QWidget> editor_;
};

}  // namespace orvo::forms
