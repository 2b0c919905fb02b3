// TForm1: the Edit menu's clipboard blocks (copy, move, paste), erase, the
// row and column commands, and the sort menu. The rules live in the core;
// here the grid's selection goes into the table first, the clipboard and the
// delete questions are wired, and the grid shows the result.

#include <algorithm>
#include <functional>

#include <QAbstractItemDelegate>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/Unit1.h"
#include "ledger/ClipboardBlock.h"
#include "ledger/RowColumnOps.h"
#include "ledger/SortRows.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// Lets the shortcuts of `actions` reach the menu from a text editor that
// would otherwise take the same keys for its own copy, paste and cut.
class MenuShortcutsFirst : public QObject {
public:
    MenuShortcutsFirst(QList<QAction*> actions, QObject* parent)
        : QObject(parent), actions_(std::move(actions)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : actions_) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore();  // not the editor's: the shortcut goes to the menu
                return true;
            }
        }
        return false;
    }

private:
    QList<QAction*> actions_;
};

// True only for Yes of the warning with Yes, No and Cancel.
bool confirmDelete(const std::string& question) {
    return platform::dialogs().message(
               platform::MessageKind::Warning, platform::fromCp932(question),
               platform::Yes | platform::No | platform::Cancel) == platform::Yes;
}

// The block's own bytes travel beside the text, so that a copy and paste
// inside the program keeps every cell byte for byte (CP932 codes that share a
// Unicode character, bytes that are no character); other programs see text.
const QString kBlockBytesFormat = u"application/x-orvokakei-block"_s;

void putOnClipboard(const std::string& block) {
    auto* data = new QMimeData;
    data->setText(platform::fromCp932(block));
    data->setData(kBlockBytesFormat,
                  QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

// The clipboard as a block: our own bytes when the clipboard still holds
// them, else the text converted (with the characters CP932 lacks listed).
platform::Cp932Result blockFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasFormat(kBlockBytesFormat)) {
        const QByteArray bytes = data->data(kBlockBytesFormat);
        return {std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), QString()};
    }
    return platform::toCp932(platform::withCrLfLineBreaks(QGuiApplication::clipboard()->text()));
}

}  // namespace

void TForm1::giveEditShortcutsPrecedence() {
    auto* filter = new MenuShortcutsFirst({Copy1, Paste1, mnuErase}, this);
    for (QComboBox* box : {ComboBox1, ComboBox2}) box->installEventFilter(filter);
    connect(cellDelegate, &LedgerCellDelegate::editorOpened, this,
            [filter](QWidget* editor) { editor->installEventFilter(filter); });
}

void TForm1::runBlockCommand(BlockEffect effect, const std::function<void()>& command) {
    if (QWidget* editor = cellDelegate->openEditor()) {
        cellDelegate->commitOpenEditor();
        if (effect == BlockEffect::ReshapesTable) {
            // The edited cell may move or go: the editor closes. The grid
            // taking the focus back from its own editor is no entry into the
            // grid, so the day view's flag stays as it was.
            const QScopedValueRollback quiet(closingEditor_, true);
            emit cellDelegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    selectionFromView();
    command();
    if (effect == BlockEffect::ReadsOnly) return;
    if (effect == BlockEffect::ReshapesTable) {
        // The commands move neither the block nor the current cell, which
        // need not be the block's top-left (a block dragged up or left); a
        // delete pulls it back inside the smaller table.
        const QModelIndex before = StringGrid1->currentIndex();
        const int col = before.isValid() ? LedgerGridModel::tableColumn(before) : -1;
        const int row = before.isValid() ? LedgerGridModel::tableRow(before) : -1;
        refreshFromBook();
        if (col >= 1 && row >= 1) {
            const QModelIndex current =
                gridModel->indexOfCell(std::min(col, book.table().columnCount() - 1),
                                       std::min(row, book.table().rowCount() - 1));
            StringGrid1->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        }
    } else {
        // Same shape: the selection and the current cell stay as the user left
        // them, and an open cell editor shows its cell's new text.
        gridModel->refresh();
    }
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) ShowRowTitles(LedgerGridModel::tableRow(current));
    placeDropDownEditors();
}

// --- clipboard blocks --------------------------------------------------------

void TForm1::Copy1Click() {
    runBlockCommand(BlockEffect::ReadsOnly, [&] { putOnClipboard(copySelection(book.table())); });
}

void TForm1::GoTo1Click() {
    runBlockCommand(BlockEffect::EditsCells, [&] {
        book.changeDayView(StepKind::Move,
                           [&](LedgerTable& t) { putOnClipboard(moveSelection(t)); });
    });
}

void TForm1::Paste1Click() {
    platform::Cp932Result block;
    runBlockCommand(BlockEffect::EditsCells, [&] {
        block = blockFromClipboard();
        book.changeDayView(StepKind::Paste,
                           [&](LedgerTable& t) { pasteAtSelection(t, block.bytes); });
    });
    // Characters the ledger's files cannot hold were left out of the cells,
    // as they are from typed text, and the same warning names them.
    if (!block.ok() && block.bytes.find(kBlockRowEnd) != std::string::npos)
        emit gridModel->unencodableTyped(block.unencodable);
}

// --- erase, rows and columns -------------------------------------------------

void TForm1::mnuEraseClick() {
    runBlockCommand(BlockEffect::EditsCells,
                    [&] { book.changeDayView(StepKind::Erase, [](LedgerTable& t) { erase(t); }); });
}

void TForm1::mnuAddClick() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::InsertRows, [](LedgerTable& t) { insertRows(t); });
    });
}

void TForm1::mnuDelClick() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::DeleteRows,
                           [](LedgerTable& t) { deleteRows(t, confirmDelete); });
    });
}

// "編集" > "最終行の追加"
void TForm1::N12Click() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::AppendRow, [](LedgerTable& t) { appendRow(t); });
    });
}

void TForm1::mnuColAddClick() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::InsertColumns, [](LedgerTable& t) { insertColumns(t); });
    });
}

void TForm1::mnuColDelClick() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::DeleteColumns,
                           [](LedgerTable& t) { deleteColumns(t, confirmDelete); });
    });
}

// "編集" > "最終列の追加"
void TForm1::N13Click() {
    runBlockCommand(BlockEffect::ReshapesTable, [&] {
        book.changeDayView(StepKind::AppendColumn, [](LedgerTable& t) { appendColumn(t); });
    });
}

// --- sorting -----------------------------------------------------------------

void TForm1::mnuSortClick() {
    runBlockCommand(BlockEffect::EditsCells, [&] {
        book.changeDayView(StepKind::Sort, [](LedgerTable& t) {
            sortRows(t, t.selection().left, SortOrder::Ascending);
        });
    });
}

void TForm1::mnuSort2Click() {
    runBlockCommand(BlockEffect::EditsCells, [&] {
        book.changeDayView(StepKind::Sort, [](LedgerTable& t) {
            sortRows(t, t.selection().left, SortOrder::Descending);
        });
    });
}

}  // namespace orvo::forms
