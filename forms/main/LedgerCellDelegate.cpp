#include "forms/main/LedgerCellDelegate.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>

#include "forms/main/LedgerGridModel.h"
#include "ledger/LedgerBook.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kTextInset = 2;

}  // namespace

void LedgerCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    // Background, selection and focus as the style draws them; then the text.
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const int col = LedgerGridModel::tableColumn(index);
    const QRect rect = option.rect.adjusted(kTextInset, kTextInset, 0, 0);
    int flags = Qt::AlignTop;
    // The display text, not the style option's: Qt has already turned its line
    // breaks into line separators there.
    QString shown = index.data(Qt::DisplayRole).toString();
    if (col == kColExpense || col == kColIncome) {
        flags |= Qt::AlignRight | Qt::TextSingleLine;
    } else if (col == kColDescription) {
        flags |= Qt::AlignLeft;
    } else {
        flags |= Qt::AlignLeft | Qt::TextSingleLine;
        shown.replace(u"\r\n"_s, u" "_s).replace(u'\n', u' ').replace(u'\r', u' ');
    }
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(rect, flags, shown);
    painter->restore();
}

QWidget* LedgerCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(u"CellEditor"_s);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(false);
    edit->document()->setDocumentMargin(kTextInset - 1);
    editor_ = edit;
    const int cellHeight = option.rect.height();
    connect(edit, &QPlainTextEdit::blockCountChanged, edit,
            [edit, cellHeight] { fitEditorToLines(edit, cellHeight); });
    emit const_cast<LedgerCellDelegate*>(this)->editorOpened(edit, index);
    return edit;
}

void LedgerCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor_ == editor) editor_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
    emit const_cast<LedgerCellDelegate*>(this)->editorClosed();
}

void LedgerCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = qobject_cast<QPlainTextEdit*>(editor);
    if (!edit) return;
    edit->setPlainText(index.data(Qt::EditRole).toString());
    // The first key typed replaces the cell's text.
    edit->selectAll();
}

void LedgerCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(editor))
        model->setData(index, edit->toPlainText(), Qt::EditRole);
}

void LedgerCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                              const QModelIndex&) const {
    editor->setGeometry(option.rect);
    fitEditorToLines(editor, option.rect.height());
}

void LedgerCellDelegate::fitEditorToLines(QWidget* editor, int cellHeight) {
    // Every line shows while editing; the row keeps its stored height.
    auto* edit = qobject_cast<QPlainTextEdit*>(editor);
    if (!edit) return;
    const int lines = std::max(1, edit->document()->blockCount());
    const int margin = static_cast<int>(edit->document()->documentMargin());
    const int needed = lines * edit->fontMetrics().lineSpacing() + 2 * margin + 2;
    int height = std::max(cellHeight, needed);
    if (QWidget* parent = edit->parentWidget())
        height = std::min(height, std::max(cellHeight, parent->height() - edit->y()));
    edit->resize(edit->width(), height);
}

void LedgerCellDelegate::commitOpenEditor() {
    if (editor_) emit commitData(editor_);
}

bool LedgerCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (editorKeyDown && editorKeyDown(editor, key)) return true;
        // Tab leaves the cell, as in the grid; the multi-line editor would
        // otherwise type it, and a cell holds no TAB.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            emit commitData(editor);
            emit closeEditor(editor, back ? EditPreviousItem : EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace orvo::forms
