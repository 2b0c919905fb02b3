// TForm1: the grid's keyboard and mouse rules, the modes, the date picker,
// the standard sizes and the account-title drop-down editors.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/Unit1.h"
#include "base/OrvoError.h"
#include "ledger/StandardSizes.h"
#include "platform/InputMethod.h"
#include "platform/Text.h"
#include "settings/TitleFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// Focus that moves between the window's own controls, as opposed to the
// window being activated or a pop-up opening or closing.
bool movedWithinWindow(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool isEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

bool isMouseButtonEvent(const QEvent* event) {
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
}

}  // namespace

// --- the ledger, as the window shows it ------------------------------------

void TForm1::ShowDay() {
    book.ShowDay();
    refreshFromBook();
}

void TForm1::Recalculate() {
    cellDelegate->commitOpenEditor();
    book.Recalculate();
    refreshFromBook();
}

void TForm1::setPickedDay(const LedgerDate& day) {
    book.pickedDay = day;
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
    const int left = book.table.selection().left;
    QWidget* companion = nullptr;
    if (left == kColExpense || left == kColIncome) companion = calculatorWindow_;
    if (left == kColDescription) companion = phraseWindow_;
    if (companion) showCompanion(companion);
}

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
    book.dayViewChanged = true;
}

void TForm1::StringGrid1GetEditText(int col, int, QWidget* editor) {
    platform::setInputMode(editor, platform::InputMode::Off);
    if (col == kColDescription) platform::setInputMode(editor, platform::InputMode::Hiragana);
}

bool TForm1::StringGrid1KeyDown(QKeyEvent* event, QWidget* editor) {
    const int key = event->key();
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
    const int cols = book.table.columnCount();
    const int rows = book.table.rowCount();
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
    book.table.setSelection(block);
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

bool TForm1::isGridMouseSource(const QObject* watched) const {
    return watched == StringGrid1->viewport() ||
           watched == StringGrid1->horizontalHeader()->viewport() ||
           watched == StringGrid1->verticalHeader()->viewport();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == StringGrid1) {
        if (type == QEvent::FocusIn && movedWithinWindow(event)) StringGrid1Enter();
        if (type == QEvent::KeyPress && StringGrid1KeyDown(static_cast<QKeyEvent*>(event), nullptr))
            return true;
    } else if (watched == DateTimePicker1) {
        if (type == QEvent::FocusIn && movedWithinWindow(event))
            run([this] { DateTimePicker1Enter(); });
    } else if ((watched == ComboBox1->lineEdit() || watched == ComboBox2->lineEdit() ||
                watched == ComboBox1 || watched == ComboBox2) &&
               type == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(event))) {
        // Typed text reaches the cell only by picking from the open list: Enter
        // on the closed editor would take a matching entry as picked.
        auto* box =
            watched == ComboBox1 || watched == ComboBox1->lineEdit() ? ComboBox1 : ComboBox2;
        if (!box->view()->isVisible()) return true;
    } else if (watched == ComboBox1 || watched == ComboBox2) {
        if (type == QEvent::FocusIn && watched == ComboBox2 && movedWithinWindow(event))
            run([this] { ComboBox2Enter(); });
        if (type == QEvent::FocusOut && movedWithinWindow(event))
            run([this, watched] { watched == ComboBox1 ? ComboBox1Exit() : ComboBox2Exit(); });
    } else if (isMouseButtonEvent(event) && isGridMouseSource(watched)) {
        // Presses on the grid and on its two headers, releases on the headers
        // (the grid's own releases come after its selection, by mouseReleased).
        // The drop-down editors' mouse events are theirs alone.
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool rightButton =
            mouse->button() == Qt::RightButton || (mouse->buttons() & Qt::RightButton);
        auto* source = static_cast<QWidget*>(watched);
        if (!rightButton) {
            const QPoint gridPos = source->mapTo(StringGrid1, mouse->position().toPoint());
            if (type == QEvent::MouseButtonPress) StringGrid1MouseDown(gridPos);
            const bool onHeader = watched != StringGrid1->viewport();
            if (type == QEvent::MouseButtonRelease && onHeader) {
                // Let the header finish its own selection first.
                QMetaObject::invokeMethod(
                    this,
                    [this, gridPos] { run([this, gridPos] { StringGrid1MouseUp(gridPos); }); },
                    Qt::QueuedConnection);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- the date picker and the day buttons -----------------------------------

void TForm1::DateTimePicker1Enter() {
    Recalculate();
}

void TForm1::DateTimePicker1Change() {
    const QDate picked = DateTimePicker1->date();
    const LedgerDate day{picked.year(), picked.month(), picked.day()};
    if (day == book.pickedDay) return;
    try {
        Recalculate();  // under the day the edits were made on
    } catch (...) {
        // The day view still belongs to the old day: show that day again.
        setPickedDay(book.pickedDay);
        throw;
    }
    book.pickedDay = day;
    ShowDay();
}

void TForm1::Button1Click(QObject* sender) {
    Recalculate();
    setPickedDay(book.pickedDay.addDays(sender == Button1 ? -1 : 1));
    ShowDay();
}

void TForm1::Button3Click() {
    Recalculate();
}

// --- sizes -------------------------------------------------------------------

void TForm1::mnuDefaultClick() {
    applyStandardSizes(book.table);
    applySizesToView();
    placeDropDownEditors();
}

void TForm1::mnuOrinClick() {
    const CellBlock& selection = book.table.selection();
    restoreRowHeights(book.table, selection.top, selection.bottom);
    applySizesToView();
    placeDropDownEditors();
}

// --- the account-title drop-down editors -----------------------------------

void TForm1::LoadTitleLists() {
    TitleLists lists;
    std::optional<OrvoError> failure;
    try {
        ReadTitleLists(lists);
    } catch (const OrvoError& error) {
        failure = error;  // what was read before it still fills the lists
    }
    ComboBox1->clear();
    for (const std::string& title : lists.level1) ComboBox1->addItem(platform::fromCp932(title));
    if (ComboBox1->count() > 0) ComboBox1->setCurrentIndex(0);
    level2Titles.clear();
    level2Parents.clear();
    for (const Level2Title& title : lists.level2) {
        level2Titles.push_back(title.title);
        level2Parents.push_back(title.parentIndex);
        ComboBox2->addItem(platform::fromCp932(title.title));
    }
    if (failure) throw *failure;
}

void TForm1::ShowRowTitles(int row) {
    const std::pair<QComboBox*, int> boxes[] = {{ComboBox1, kColTitle1}, {ComboBox2, kColTitle2}};
    for (const auto& [box, col] : boxes) {
        if (!book.table.contains(col, row)) continue;
        const QString text = platform::fromCp932(book.table.cell(col, row));
        // The list opens on the cell's title when it has it.
        const int listed = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (listed >= 0) box->setCurrentIndex(listed);
        box->setEditText(text);
    }
}

void TForm1::FillLevel2List() {
    ComboBox2->clear();
    ComboBox2->clearEditText();
    int parent = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchFixedString);
    if (parent < 0) parent = 0;
    for (std::size_t i = 0; i < level2Titles.size(); ++i)
        if (level2Parents[i] == parent) ComboBox2->addItem(platform::fromCp932(level2Titles[i]));
    const QModelIndex current = StringGrid1->currentIndex();
    ComboBox2->setEditText(current.isValid() ? current.data(Qt::EditRole).toString() : QString());
}

void TForm1::ComboBox1Select() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) gridModel->setData(current, ComboBox1->currentText());
    sendTab();
}

void TForm1::ComboBox2Select() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (current.isValid()) gridModel->setData(current, ComboBox2->currentText());
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
    return book.table.selection();
}

std::string TForm1::cellText(int col, int row) const {
    return book.table.contains(col, row) ? book.table.cell(col, row) : std::string();
}

void TForm1::setCellText(int col, int row, const std::string& cp932) {
    if (!book.table.contains(col, row)) return;
    book.table.setCell(col, row, cp932);
    book.dayViewChanged = true;  // a companion window's result is an edit of the day view
    gridModel->cellChanged(col, row);
}

void TForm1::setCompanionWindows(QWidget* phraseWindow, QWidget* calculatorWindow) {
    phraseWindow_ = phraseWindow;
    calculatorWindow_ = calculatorWindow;
}

}  // namespace orvo::forms
