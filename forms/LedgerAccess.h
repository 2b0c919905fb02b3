#pragma once
// What the search window may do with the main window's ledger: read and change
// the book through the core's use cases, then have the main window show the
// book as it now is.

#include "ledger/LedgerBook.h"

namespace orvo::forms {

class LedgerAccess {
public:
    virtual ~LedgerAccess() = default;
    virtual LedgerBook& ledger() = 0;
    // The grid, the date picker and the six totals brought up to the book.
    virtual void showLedger() = 0;
};

}  // namespace orvo::forms
