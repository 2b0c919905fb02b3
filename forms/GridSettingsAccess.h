#pragma once
// What the settings window may do with the main window: read the grid, change
// its titles and widths, empty and reload the two account-title pick lists, and
// carry a renamed account title into the records.

#include <functional>

#include "ledger/LedgerTable.h"
#include "ledger/TitleRename.h"

namespace orvo::forms {

class GridSettingsAccess {
public:
    virtual ~GridSettingsAccess() = default;
    virtual const LedgerTable& settingsGrid() const = 0;
    // Runs `change` on the grid (an edit in hand goes into its cell first); the
    // window shows the grid as it is afterwards, also when `change` throws.
    virtual void changeGrid(const std::function<void(LedgerTable&)>& change) = 0;
    virtual void emptyTitlePickLists() = 0;
    // Refills the pick lists from the title files; throws as reading them does.
    virtual void reloadTitlePickLists() = 0;
    // The records that carry `title`, the day view's edits included.
    virtual std::size_t recordsTitled(const RecordTitle& title) = 0;
    // Gives them `newName` as one change of the ledger; the window shows the result.
    virtual void renameTitleInLedger(const RecordTitle& title, const std::string& newName) = 0;
};

}  // namespace orvo::forms
