#pragma once
// A year's expense and income by title and month, gathered in one pass over
// the ledger. Amounts are read and summed as the cumulative totals read them
// (32-bit, wrapping; an empty or unreadable amount adds nothing), so a year's
// cells add up to what the ledger cut to that year shows as its totals.
// Only records dated "yyyy/mm/dd" with a real day count; the others are
// counted apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerRecords.h"
#include "settings/TitleFiles.h"

namespace orvo::summary {

using MonthCells = std::array<std::int32_t, 12>;  // January at 0

// The twelve months summed, wrapping.
std::int32_t yearTotal(const MonthCells& cells);

struct SummaryRow {
    std::string title;  // CP932; may be empty (a record without that title)
    bool listed = false;
    MonthCells expense{};
    MonthCells income{};
    bool hasExpense = false;  // some record adds a non-zero expense
    bool hasIncome = false;
    // Level 1 only: its level-2 titles (field 2), listed ones under it in
    // list order, then the others in byte order. They add up to the row.
    std::vector<SummaryRow> level2;
};

struct YearSummary {
    int year = 0;
    // Level-1 titles met in the year's records, listed ones in list order,
    // then the others in byte order.
    std::vector<SummaryRow> rows;
    MonthCells expense{};  // every row summed
    MonthCells income{};
    // Records anywhere in the ledger whose date is not a valid "yyyy/mm/dd".
    std::size_t unreadableDates = 0;
};

// Income less expense, month by month (wrapping).
MonthCells balanceOf(const YearSummary& summary);

YearSummary SummarizeYear(const LedgerRecords& records, const TitleLists& titles, int year);

// The year's number written "yyyy/mm/dd" in `date` with a real month and day,
// else 0. `month` is set (1 to 12) when it is not 0.
int validRecordYear(std::string_view date, int& month);

// The record lines dated in `month` of `year` whose level-1 title counts as
// `title` (as SummarizeYear counts it); with `level2`, only those whose field
// 2 is that. In ledger order.
struct RecordFilter {
    int year = 0;
    int month = 1;
    std::string title;
    std::optional<std::string> level2;
};
std::vector<std::string> RecordsOfCell(const LedgerRecords& records, const TitleLists& titles,
                                       const RecordFilter& filter);

}  // namespace orvo::summary
