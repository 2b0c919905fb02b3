// TForm1: the window "家計の推移" and what it reads of the main window.

#include "forms/main/Unit1.h"
#include "forms/summary/SummaryWindow.h"

namespace orvo::forms {

void TForm1::mnuSuiiClick() {
    if (!summaryWindow_) summaryWindow_ = new SummaryWindow(this, this);
    static_cast<SummaryWindow*>(summaryWindow_.data())->showSummary();
}

const LedgerRecords& TForm1::summaryRecords() {
    Recalculate();
    return book.records();
}

LedgerDate TForm1::shownDay() const {
    return book.pickedDay();
}

void TForm1::showDay(const LedgerDate& day) {
    runShowingErrors([&] { goToDay(day); });
    raise();
    activateWindow();
}

}  // namespace orvo::forms
