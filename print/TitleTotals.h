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

// Sums field 3 (expense) of every record whose date is "yyyy/mm/dd" in `year`
// with a month from 1 to 12, for the first title of `titles` found inside its
// field 1 (whole characters; an empty title matches nothing). An empty expense
// adds nothing; one that is no whole number throws "'%s' は整数ではありません".
TitleTotals GatherTitleTotals(const LedgerRecords& records, const std::vector<std::string>& titles,
                              std::string_view year);

// Sorts entries lo to hi by ascending total with Hoare partitioning around the
// middle entry; equal totals keep the order this leaves them in.
void SortTitlesByTotal(std::vector<TitleTotal>& entries, int lo, int hi);

// Whether `needle` stands in `haystack` starting and ending on whole characters.
bool containsWholeCharacters(std::string_view haystack, std::string_view needle);

}  // namespace orvo::print
