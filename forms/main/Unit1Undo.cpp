// TForm1: "元に戻す" and "やり直し". The history is the core's; the window
// shows what the next Undo and Redo would take back or bring again.

#include <QAction>
#include <QMenu>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/Unit1.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

void TForm1::buildUndoActions() {
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    editMenu->addSeparator();
    // A cell edit in hand may have become a step since the last update.
    connect(editMenu, &QMenu::aboutToShow, this, [this] { updateUndoActions(); });
    updateUndoActions();
}

void TForm1::updateUndoActions() {
    if (!mnuUndo) return;
    const std::optional<StepKind> undo = book.undoKind();
    const std::optional<StepKind> redo = book.redoKind();
    mnuUndo->setText(undo ? u"元に戻す: "_s + platform::fromCp932(stepName(*undo))
                          : u"元に戻す(&U)"_s);
    mnuRedo->setText(redo ? u"やり直し: "_s + platform::fromCp932(stepName(*redo))
                          : u"やり直し(&R)"_s);
    mnuUndo->setEnabled(undo.has_value());
    mnuRedo->setEnabled(redo.has_value());
}

void TForm1::mnuUndoClick() {
    stepThroughHistory([this] { book.undo(); });
}

void TForm1::mnuRedoClick() {
    stepThroughHistory([this] { book.redo(); });
}

void TForm1::stepThroughHistory(const std::function<void()>& step) {
    // Typing in hand (the menu chosen with the mouse) is a step of its own first.
    cellDelegate->commitOpenEditor();
    step();
    setPickedDay(book.pickedDay());
    refreshFromBook();
    const CellBlock& cells = book.table().selection();
    if (cells.left >= 1 && cells.top >= 1)
        StringGrid1->scrollTo(gridModel->indexOfCell(cells.left, cells.top));
}

}  // namespace orvo::forms
