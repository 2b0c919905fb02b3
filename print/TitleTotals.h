#pragma once
// A year's expenses per level-1 account title, gathered for the totals report.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerRecords.h"

namespace orvo::print {

struct TitleTotal {
    std::string title;
    std::int32_t total = 0;
    std::array<std::int32_t, 12> monthly{};  // January at 0
    bool operator==(const TitleTotal&) const = default;
};

struct TitleTotals {
    std::string year;                 // as asked, normally four digits
    std::vector<TitleTotal> entries;  // in title-list order until sorted
    std::int32_t grandTotal = 0;      // every entry's total, wrapping like all sums
    std::int32_t maxTitleTotal = 0;   // the largest total, at least 0
};

// The year the prompt offers: the first four characters of today "yyyy/mm/dd".
std::string defaultReportYear(std::string_view today);

// Sums field 3 (expense) of every record dated "yyyy/mm/dd" in `year` with a
// real month and day (summary::validRecordYear), by the title its field 1 counts under
// (summary::TitleRule): the entries are `titles` in list order, then the
// titles the list lacks that records with an expense other than 0 use, in byte order, so
// that the grand total is the year's whole expense. An empty expense adds
// nothing; one that is no whole number throws "'%s' は整数ではありません".
TitleTotals GatherTitleTotals(const LedgerRecords& records, const std::vector<std::string>& titles,
                              std::string_view year);

// Sorts entries lo to hi by ascending total with Hoare partitioning around the
// middle entry; equal totals keep the order this leaves them in.
void SortTitlesByTotal(std::vector<TitleTotal>& entries, int lo, int hi);

}  // namespace orvo::print
