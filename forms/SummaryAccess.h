#pragma once
// What the window "家計の推移" may do with the main window: read the ledger
// with the day view written back, read the title lists, and show a day.

#include "ledger/LedgerDate.h"
#include "ledger/LedgerRecords.h"
#include "settings/TitleFiles.h"

namespace orvo::forms {

class SummaryAccess {
public:
    virtual ~SummaryAccess() = default;
    // The records with the day view's edits written back first.
    virtual const LedgerRecords& summaryRecords() = 0;
    virtual const TitleLists& summaryTitles() const = 0;
    // The day the main window shows.
    virtual LedgerDate shownDay() const = 0;
    // Shows `day` in the main window and brings it forward.
    virtual void showDay(const LedgerDate& day) = 0;
};

}  // namespace orvo::forms
