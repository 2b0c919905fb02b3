#pragma once
// The CSV import: replaces the whole ledger by the records of a CSV file.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "base/OrvoError.h"
#include "ledger/LedgerBook.h"
#include "ledger/Progress.h"

namespace orvo {

struct CsvImportHooks {
    // The question whether the file's first line holds column titles (true:
    // yes). Asked once the file has been read, before the ledger changes.
    std::function<bool()> firstLineHoldsTitles;
    // Progress in bytes of the file read; cancelling leaves the ledger as
    // it was before the import.
    ProgressCallback progress;
};

struct CsvImportResult {
    bool cancelled = false;   // nothing changed
    std::size_t records = 0;  // record lines added
    // Records whose level-1 title (field 1) is empty or missing: the next
    // write-back of their day would drop them. The count, and field 0 of the
    // first of them in ledger order.
    std::size_t emptyTitleRecords = 0;
    std::string firstEmptyTitleDate;
    // Records whose expense or income (fields 3 and 4) is neither empty nor a
    // whole number ("1,280" as a bank writes it): the totals count them as 0.
    // The count, and field 0 of the first of them in ledger order.
    std::size_t badAmountRecords = 0;
    std::string firstBadAmountDate;
    // What stopped the import partway (a line without enough fields, a short
    // title line) or the day view afterwards; the ledger then holds the
    // records added before it, with totals and day view to match.
    std::optional<OrvoError> fault;
};

// Runs the import on `book` from the file `path` (a native path). The file is
// CP932, or UTF-8 when it begins with the byte-order mark. Throws, leaving the
// ledger exactly as it was, when the file cannot be read or holds a character
// CP932 cannot hold; otherwise the ledger becomes a new one without a file
// name: the records, the column count grown to the widest line, the titles
// (when asked for), the cumulative totals, the standard sizes and the day view
// of `book.pickedDay()`.
CsvImportResult importCsv(LedgerBook& book, const std::string& path, const CsvImportHooks& hooks);

// The texts the window shows around the import (CP932).
std::string csvTitleQuestion();
// The information about records with an empty level-1 title (count and date).
std::string emptyTitleNotice(const CsvImportResult& result);
// The information about records whose amount is no whole number (count and date).
std::string badAmountNotice(const CsvImportResult& result);

}  // namespace orvo
