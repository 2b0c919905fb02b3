#include "print/TitleTotals.h"

#include <algorithm>
#include <utility>

#include "base/Amount.h"
#include "ledger/RecordLine.h"
#include "summary/TitleRule.h"
#include "summary/YearSummary.h"

namespace orvo::print {

std::string defaultReportYear(std::string_view today) {
    return std::string(today.substr(0, 4));
}

TitleTotals GatherTitleTotals(const LedgerRecords& records, const std::vector<std::string>& titles,
                              std::string_view year) {
    summary::TitleRule rule(titles);
    std::vector<TitleTotal> byNumber(titles.size());
    std::vector<std::string> fields;
    records.forEach([&](std::string_view line) {
        if (line.substr(0, 4) != year) return;
        splitRecordInto(line, fields);
        int month = 0;
        if (summary::validRecordYear(fields[0], month) == 0 || fields.size() < 2) return;
        const std::string_view expense = fields.size() > 3 ? fields[3] : std::string_view();
        if (expense.empty()) return;
        const std::int32_t value = amountOrThrow(expense);
        if (value == 0) return;  // adds nothing, and gives no unlisted title an entry
        const std::size_t number = rule.titleOf(fields[1]);
        if (byNumber.size() < rule.size()) byNumber.resize(rule.size());
        TitleTotal& entry = byNumber[number];
        auto& monthTotal = entry.monthly[static_cast<std::size_t>(month - 1)];
        monthTotal = wrapAdd(monthTotal, value);
        entry.total = wrapAdd(entry.total, value);
    });

    TitleTotals totals;
    totals.year = std::string(year);
    byNumber.resize(rule.size());
    for (std::size_t number : rule.shownOrder()) {
        byNumber[number].title = rule.title(number);
        totals.entries.push_back(std::move(byNumber[number]));
    }
    for (const TitleTotal& entry : totals.entries) {
        totals.grandTotal = wrapAdd(totals.grandTotal, entry.total);
        totals.maxTitleTotal = std::max(totals.maxTitleTotal, entry.total);
    }
    return totals;
}

void SortTitlesByTotal(std::vector<TitleTotal>& entries, int lo, int hi) {
    // The smaller part is sorted by recursion, the larger by the loop, so that
    // the depth stays logarithmic; the order left is the same either way.
    while (lo < hi) {
        int i = lo;
        int j = hi;
        const std::int32_t pivot = entries[static_cast<std::size_t>((lo + hi) / 2)].total;
        do {
            while (entries[static_cast<std::size_t>(i)].total < pivot) ++i;
            while (entries[static_cast<std::size_t>(j)].total > pivot) --j;
            if (i <= j) {
                std::swap(entries[static_cast<std::size_t>(i)],
                          entries[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j) SortTitlesByTotal(entries, lo, j);
            lo = i;
        } else {
            if (i < hi) SortTitlesByTotal(entries, i, hi);
            hi = j;
        }
    }
}

}  // namespace orvo::print
