#pragma once
// How the writing commands save: as "上書き保存" does, the day's backup copy
// included.

#include <string>

#include "cli/CliCommand.h"
#include "ledger/LedgerBook.h"

namespace orvo::cli {

// Saves `book` to `out`. A backup copy that could not be made is printed as
// the error box shows it; the ledger is saved all the same.
inline void saveLedgerTo(LedgerBook& book, const std::string& out) {
    book.setDataFileName(out);
    book.SaveLedger();
    if (const auto failure = book.backups().takeFailure()) printError(failure->what());
}

}  // namespace orvo::cli
