// TForm1: the grid's keyboard and mouse rules, the modes, the date picker,
// the standard sizes and the account-title drop-down editors.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "base/OrvoError.h"
#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/Unit1.h"
#include "ledger/StandardSizes.h"
#include "platform/InputMethod.h"
#include "platform/Text.h"
#include "settings/TitleFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

// --- the ledger, as the window shows it ------------------------------------

void TForm1::goToDay(const LedgerDate& day) {
    cellDelegate->commitOpenEditor();
    try {
        book.goToDay(day);
    } catch (...) {
        // A failed write-back keeps the old day: the picker shows it again.
        setPickedDay(book.pickedDay());
        refreshFromBook();
        throw;
    }
    setPickedDay(book.pickedDay());
    refreshFromBook();
}

void TForm1::Recalculate() {
    cellDelegate->commitOpenEditor();
    book.Recalculate();
    refreshFromBook();
}

void TForm1::setPickedDay(const LedgerDate& day) {
    book.setPickedDay(day);
    const QSignalBlocker block(DateTimePicker1);
    DateTimePicker1->setDate(QDate(day.year, day.month, day.day));
}

// --- modes -----------------------------------------------------------------

bool TForm1::editMode() const {
    return RadioButton1->isChecked();
}

void TForm1::setEditMode(bool on) {
    RadioButton1->setChecked(on);
    RadioButton2->setChecked(!on);
    StringGrid1->setEditTriggers(on ? QAbstractItemView::AnyKeyPressed |
                                          QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::SelectedClicked
                                    : QAbstractItemView::NoEditTriggers);
    if (!on && cellDelegate->openEditor()) {
        cellDelegate->commitOpenEditor();
        StringGrid1->setFocus(Qt::OtherFocusReason);  // closes the editor
    }
    placeDropDownEditors();
}

void TForm1::RadioButton1Click() {
    setEditMode(true);
}
void TForm1::RadioButton2Click() {
    setEditMode(false);
}

// --- the grid --------------------------------------------------------------

void TForm1::StringGrid1Click() {
    if (!StringGrid1->isEditing()) platform::setInputMode(StringGrid1, platform::InputMode::Off);
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) ShowRowTitles(LedgerGridModel::tableRow(current));
    placeDropDownEditors();
}

void TForm1::StringGrid1DblClick() {
    RadioButton1->setChecked(true);
    RadioButton1Click();
    const int left = book.table().selection().left;
    QWidget* companion = nullptr;
    if (left == kColExpense || left == kColIncome) companion = calculatorWindow_;
    if (left == kColDescription) companion = phraseWindow_;
    if (companion) showCompanion(companion);
}

// "ツール" > "電卓"
void TForm1::N21Click() {
    if (calculatorWindow_) showCompanion(calculatorWindow_);
}

void TForm1::showCompanion(QWidget* window) {
    // Shown as the desktop shows a window: in front and taking the keyboard,
    // so that what the user types next goes to it.
    window->show();
    window->raise();
    window->activateWindow();
}

void TForm1::StringGrid1Enter() {
    if (closingEditor_) return;  // the grid taking the focus back from its own editor
    book.markDayViewChanged();
}

void TForm1::StringGrid1GetEditText(int col, int, QWidget* editor) {
    platform::setInputMode(editor, platform::InputMode::Off);
    if (col == kColDescription) platform::setInputMode(editor, platform::InputMode::Hiragana);
}

bool TForm1::StringGrid1KeyDown(QKeyEvent* event, QWidget* editor) {
    const int key = event->key();
    if (!editor &&
        (key == Qt::Key_F4 || (key == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)))) {
        // As in every combo box: the title pick list opens from the keyboard.
        for (QComboBox* box : {ComboBox1, ComboBox2})
            if (box->isVisible()) {
                box->setFocus(Qt::OtherFocusReason);
                box->showPopup();
                return true;
            }
    }
    if (!editor && key == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && editMode()) {
        mnuEraseClick();  // as "消去"
        return true;
    }
    if (key == Qt::Key_Escape) {
        // The edit in hand stays in the cell whatever the close question's answer.
        cellDelegate->commitOpenEditor();
        close();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (editor && (event->modifiers() & Qt::ControlModifier)) {
            // A line break in the cell; the editor stays open for the next line.
            if (auto* edit = qobject_cast<QPlainTextEdit*>(editor)) edit->insertPlainText(u"\n"_s);
            return true;
        }
        sendTab();
        return true;
    }
    return false;
}

void TForm1::StringGrid1MouseDown(const QPoint& gridPos) {
    downX = gridPos.x();
    downY = gridPos.y();
}

void TForm1::StringGrid1MouseUp(const QPoint& gridPos) {
    const QPoint up = StringGrid1->tableCellAt(gridPos);
    const QPoint down = StringGrid1->tableCellAt(QPoint(downX, downY));
    const int cols = book.table().columnCount();
    const int rows = book.table().rowCount();
    CellBlock block;
    if (up.y() == 0 && up.x() >= 1) {
        // Released on the title row: whole columns from the pressed one.
        const int from = down.x() >= 1 ? down.x() : up.x();
        block = {std::min(from, up.x()), 1, std::max(from, up.x()), rows - 1};
    } else if (up.x() == 0 && up.y() >= 1) {
        // Released in the fixed column: whole rows from the pressed one.
        const int from = down.y() >= 1 ? down.y() : up.y();
        block = {1, std::min(from, up.y()), cols - 1, std::max(from, up.y())};
    } else {
        return;
    }
    if (block.right < block.left || block.bottom < block.top) return;
    book.setSelection(block);
    selectionToView();
    placeDropDownEditors();
}

void TForm1::sendTab() {
    QMetaObject::invokeMethod(
        this,
        [] {
            QWidget* target = QApplication::focusWidget();
            if (!target) return;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
            if (QWidget* still = QApplication::focusWidget()) {
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
                QApplication::sendEvent(still, &release);
            }
        },
        Qt::QueuedConnection);
}

// --- the date picker and the day buttons -----------------------------------

void TForm1::DateTimePicker1Enter() {
    Recalculate();
}

void TForm1::DateTimePicker1Change() {
    const QDate picked = DateTimePicker1->date();
    const LedgerDate day{picked.year(), picked.month(), picked.day()};
    if (day != book.pickedDay()) goToDay(day);
}

void TForm1::Button1Click(QObject* sender) {
    goToDay(book.pickedDay().addDays(sender == Button1 ? -1 : 1));
}

void TForm1::Button3Click() {
    Recalculate();
}

// --- sizes -------------------------------------------------------------------

void TForm1::mnuDefaultClick() {
    book.applyStandardSizes();
    applySizesToView();
    placeDropDownEditors();
}

void TForm1::mnuOrinClick() {
    const CellBlock& selection = book.table().selection();
    book.restoreRowHeights(selection.top, selection.bottom);
    applySizesToView();
    placeDropDownEditors();
}

// --- the account-title drop-down editors -----------------------------------

void TForm1::LoadTitleLists() {
    std::exception_ptr failure;
    try {
        ReadTitleLists(titleLists);
    } catch (const OrvoError&) {
        failure = std::current_exception();  // what was read before it still fills the lists
    }
    ComboBox1->clear();
    for (const std::string& title : titleLists.level1)
        ComboBox1->addItem(platform::fromCp932(title));
    if (ComboBox1->count() > 0) ComboBox1->setCurrentIndex(0);
    for (const Level2Title& title : titleLists.level2)
        ComboBox2->addItem(platform::fromCp932(title.title));
    if (failure) std::rethrow_exception(failure);
}

void TForm1::ShowRowTitles(int row) {
    const std::pair<QComboBox*, int> boxes[] = {{ComboBox1, kColTitle1}, {ComboBox2, kColTitle2}};
    for (const auto& [box, col] : boxes) {
        if (!book.table().contains(col, row)) continue;
        const QString text = platform::fromCp932(book.table().cell(col, row));
        // The list opens on the cell's title when it has it.
        const int listed = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (listed >= 0) box->setCurrentIndex(listed);
        box->setEditText(text);
    }
}

void TForm1::clearUnlistedTitle2(int row) {
    if (titleLists.level1.empty() || !book.table().contains(kColTitle2, row)) return;
    const std::string& title2 = book.table().cell(kColTitle2, row);
    if (title2.empty() || titleLists.listsUnder(book.table().cell(kColTitle1, row), title2)) return;
    gridModel->setData(gridModel->indexOfCell(kColTitle2, row), QString());
}

void TForm1::FillLevel2List() {
    ComboBox2->clear();
    ComboBox2->clearEditText();
    int parent = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchFixedString);
    if (parent < 0) parent = 0;
    for (const std::string& title : titleLists.level2Under(parent))
        ComboBox2->addItem(platform::fromCp932(title));
    const QModelIndex current = StringGrid1->currentIndex();
    ComboBox2->setEditText(current.isValid() ? current.data(Qt::EditRole).toString() : QString());
}

void TForm1::ComboBox1Select() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid())
        gridModel->setData(current, ComboBox1->currentText(), LedgerGridModel::kTitlePickRole);
    sendTab();
}

void TForm1::ComboBox2Select() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid())
        gridModel->setData(current, ComboBox2->currentText(), LedgerGridModel::kTitlePickRole);
    sendTab();
}

void TForm1::ComboBox2Enter() {
    FillLevel2List();
}
void TForm1::ComboBox1Exit() {
    sendTab();
}
void TForm1::ComboBox2Exit() {
    sendTab();
}

void TForm1::placeDropDownEditors() {
    if (!ComboBox1 || !ComboBox2) return;
    const QModelIndex current = StringGrid1->currentIndex();
    const int col = current.isValid() ? LedgerGridModel::tableColumn(current) : -1;
    QComboBox* shown = col == kColTitle1 ? ComboBox1 : col == kColTitle2 ? ComboBox2 : nullptr;
    // An open cell editor is where the typing goes, so nothing covers it.
    // (The editor exists before the view counts itself as editing.)
    if (!editMode() || StringGrid1->isEditing() || cellDelegate->openEditor()) shown = nullptr;
    QRect rect;
    if (shown) {
        rect = StringGrid1->visualRect(current).intersected(StringGrid1->viewport()->rect());
        if (rect.isEmpty()) shown = nullptr;
    }
    for (QComboBox* box : {ComboBox1, ComboBox2})
        if (box != shown && box->isVisible()) box->hide();
    if (!shown) return;
    const QPoint topLeft = StringGrid1->viewport()->mapTo(centralWidget(), rect.topLeft());
    shown->setGeometry(QRect(topLeft, rect.size()));
    shown->show();
    shown->raise();
}

// --- what the companion windows may do with the grid -----------------------

CellBlock TForm1::gridSelection() const {
    return book.table().selection();
}

std::string TForm1::cellText(int col, int row) const {
    return book.table().contains(col, row) ? book.table().cell(col, row) : std::string();
}

void TForm1::setCellText(int col, int row, const std::string& cp932, StepKind kind) {
    if (!book.table().contains(col, row)) return;
    book.editCell(col, row, cp932, kind);
    gridModel->cellChanged(col, row);
}

void TForm1::setCompanionWindows(QWidget* phraseWindow, QWidget* calculatorWindow) {
    phraseWindow_ = phraseWindow;
    calculatorWindow_ = calculatorWindow;
}

}  // namespace orvo::forms
