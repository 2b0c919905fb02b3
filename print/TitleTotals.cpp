#include "print/TitleTotals.h"

#include <algorithm>
#include <utility>

#include "base/Amount.h"
#include "base/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo::print {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The month of a date written "yyyy/mm/dd", or 0.
int monthOf(std::string_view date) {
    if (date.size() != 10 || date[4] != '/' || date[7] != '/') return 0;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigit(date[i])) return 0;
    const int month = (date[5] - '0') * 10 + (date[6] - '0');
    return month >= 1 && month <= 12 ? month : 0;
}

}  // namespace

std::string defaultReportYear(std::string_view today) {
    return std::string(today.substr(0, 4));
}

bool containsWholeCharacters(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return false;
    for (std::size_t pos = 0; pos + needle.size() <= haystack.size();
         pos += cp932::charLength(haystack, pos)) {
        if (haystack.compare(pos, needle.size(), needle) != 0) continue;
        std::size_t end = pos;
        while (end < pos + needle.size()) end += cp932::charLength(haystack, end);
        if (end == pos + needle.size()) return true;
    }
    return false;
}

TitleTotals GatherTitleTotals(const LedgerRecords& records, const std::vector<std::string>& titles,
                              std::string_view year) {
    TitleTotals totals;
    totals.year = std::string(year);
    totals.entries.resize(titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i) totals.entries[i].title = titles[i];

    std::vector<std::string> fields;
    records.forEach([&](std::string_view line) {
        if (line.substr(0, 4) != year) return;
        splitRecordInto(line, fields);
        const int month = monthOf(fields[0]);
        if (month == 0 || fields.size() < 2) return;
        const auto found = std::find_if(titles.begin(), titles.end(), [&](const std::string& t) {
            return containsWholeCharacters(fields[1], t);
        });
        if (found == titles.end()) return;
        const std::string_view expense = fields.size() > 3 ? fields[3] : std::string_view();
        if (expense.empty()) return;
        const std::int32_t value = amountOrThrow(expense);
        TitleTotal& entry = totals.entries[static_cast<std::size_t>(found - titles.begin())];
        auto& monthTotal = entry.monthly[static_cast<std::size_t>(month - 1)];
        monthTotal = wrapAdd(monthTotal, value);
        entry.total = wrapAdd(entry.total, value);
    });
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
