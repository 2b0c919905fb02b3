#pragma once
// A cash book set up as the window's start-up leaves it, for the commands
// that load and save as the program does.

#include "ledger/LedgerBook.h"
#include "ledger/StandardSizes.h"

namespace orvo::cli {

// Reset table and the standard sizes, as FormCreate leaves them.
inline LedgerBook windowLikeBook() {
    LedgerBook book;
    book.ResetLedgerTable();
    applyStandardSizes(book.table);
    return book;
}

// The window cannot be smaller than its minimum size, so it writes at least that.
inline void applyWindowMinimum(LedgerBook& book) {
    if (book.windowWidth < kMinimumWindowWidth) book.windowWidth = kMinimumWindowWidth;
    if (book.windowHeight < kMinimumWindowHeight) book.windowHeight = kMinimumWindowHeight;
}

}  // namespace orvo::cli
