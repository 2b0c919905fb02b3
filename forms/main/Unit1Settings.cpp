// TForm1: what the settings and fixed-phrase windows do with the main window,
// and the menu items that show them.

#include <QComboBox>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/Unit1.h"
#include "forms/settings/Unit2.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

void TForm1::setSettingsWindow(TForm2* settingsWindow) {
    settingsWindow_ = settingsWindow;
}

TForm2* TForm1::settingsWindow() const {
    return settingsWindow_;
}

void TForm1::changeGrid(const std::function<void(LedgerTable&)>& change) {
    cellDelegate->commitOpenEditor();
    try {
        book.changeDayView(StepKind::ColumnSettings, change);
    } catch (...) {
        refreshFromBook();
        throw;
    }
    refreshFromBook();
}

void TForm1::emptyTitlePickLists() {
    ComboBox1->clear();
    ComboBox2->clear();
}

void TForm1::reloadTitlePickLists() {
    LoadTitleLists();
}

std::size_t TForm1::recordsTitled(const RecordTitle& title) {
    Recalculate();
    return countRecordsTitled(book.records(), title);
}

void TForm1::renameTitleInLedger(const RecordTitle& title, const std::string& newName) {
    cellDelegate->commitOpenEditor();
    try {
        renameTitleInRecords(book, title, newName);
    } catch (...) {
        refreshFromBook();
        throw;
    }
    refreshFromBook();
}

// "設定" > "環境設定"
void TForm1::mnuKoumokuClick() {
    if (!settingsWindow_) return;
    // The lists show the grid as it is, an edit in hand included.
    cellDelegate->commitOpenEditor();
    settingsWindow_->refreshFromGrid();
    settingsWindow_->setConfirmCaption(u"登録終了"_s);
    settingsWindow_->showModally();
}

// "ツール" > "定型句"
void TForm1::N15Click() {
    if (phraseWindow_) showCompanion(phraseWindow_);
}

}  // namespace orvo::forms
