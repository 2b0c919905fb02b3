#include "summary/YearSummary.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/Amount.h"
#include "ledger/LedgerDate.h"
#include "ledger/RecordAmountSums.h"
#include "ledger/RecordLine.h"
#include "summary/TitleRule.h"

namespace orvo::summary {

namespace {

struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// The level-2 rows of one level-1 title while the pass runs.
struct Level2Rows {
    std::vector<SummaryRow> rows;
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> byName;
    std::string_view lastName;  // the field 2 looked up last, in the ledger's line
    std::size_t last = 0;

    SummaryRow& rowFor(std::string_view name) {
        if (!rows.empty() && name == lastName) return rows[last];
        auto found = byName.find(name);
        if (found == byName.end()) {
            found = byName.emplace(std::string(name), rows.size()).first;
            rows.emplace_back().title = std::string(name);
        }
        lastName = name;
        last = found->second;
        return rows[last];
    }
};

// The fields of a record line up to the income; missing ones are empty.
struct RecordFields {
    std::string_view date, title1, title2, expense, income;
};

RecordFields cutFields(std::string_view line) {
    std::string_view parts[5];
    std::size_t from = 0;
    for (std::string_view& part : parts) {
        if (from > line.size()) break;
        const void* tab = std::memchr(line.data() + from, kFieldSeparator, line.size() - from);
        const std::size_t end =
            tab ? static_cast<std::size_t>(static_cast<const char*>(tab) - line.data())
                : line.size();
        part = line.substr(from, end - from);
        from = end + 1;
    }
    return {parts[0], parts[1], parts[2], parts[3], parts[4]};
}

// One record's amount as the cumulative totals read it.
AmountSums amountsOf(const RecordFields& f) {
    AmountSums sums;
    addAmountFields(f.expense, f.income, sums);
    return sums;
}

std::string yearText(int year) {
    std::string text = std::to_string(year);
    return std::string(text.size() < 4 ? 4 - text.size() : 0, '0') + text;
}

// Calls f(line, fields, month) for each record dated in `year`; counts the others
// that have no valid date.
template <class F>
std::size_t forEachRecordOfYear(const LedgerRecords& records, int year, F&& f) {
    const std::string wanted = yearText(year);
    std::size_t unreadable = 0;
    records.forEach([&](std::string_view line) {
        int month = 0;
        if (line.size() >= 4 && line.compare(0, 4, wanted) == 0) {
            const RecordFields fields = cutFields(line);
            if (validRecordYear(fields.date, month) == 0) {
                ++unreadable;
            } else {
                f(line, fields, month);
            }
        } else if (validRecordYear(line.substr(0, line.find(kFieldSeparator)), month) == 0) {
            ++unreadable;
        }
    });
    return unreadable;
}

void addInto(MonthCells& into, const MonthCells& cells) {
    for (std::size_t m = 0; m < 12; ++m) into[m] = wrapAdd(into[m], cells[m]);
}

void addRow(SummaryRow& into, const SummaryRow& row) {
    addInto(into.expense, row.expense);
    addInto(into.income, row.income);
    into.hasExpense = into.hasExpense || row.hasExpense;
    into.hasIncome = into.hasIncome || row.hasIncome;
}

}  // namespace

std::int32_t yearTotal(const MonthCells& cells) {
    std::int32_t total = 0;
    for (std::int32_t cell : cells) total = wrapAdd(total, cell);
    return total;
}

MonthCells balanceOf(const YearSummary& summary) {
    MonthCells balance{};
    for (std::size_t m = 0; m < 12; ++m)
        balance[m] = wrapSub(summary.income[m], summary.expense[m]);
    return balance;
}

int validRecordYear(std::string_view date, int& month) {
    if (!LedgerDate::isCanonical(date)) return 0;
    month = (date[5] - '0') * 10 + (date[6] - '0');
    return (date[0] - '0') * 1000 + (date[1] - '0') * 100 + (date[2] - '0') * 10 + (date[3] - '0');
}

YearSummary SummarizeYear(const LedgerRecords& records, const TitleLists& titles, int year) {
    TitleRule rule(titles.level1);
    std::vector<Level2Rows> level1;  // by the rule's title number
    std::string_view lastTitle;
    std::size_t lastNumber = 0;
    bool anyTitle = false;

    YearSummary summary;
    summary.year = year;
    summary.unreadableDates =
        forEachRecordOfYear(records, year, [&](std::string_view, const RecordFields& f, int month) {
            // Records come sorted by date and then title: the title before is
            // the likeliest.
            if (!anyTitle || f.title1 != lastTitle) {
                lastNumber = rule.titleOf(f.title1);
                lastTitle = f.title1;
                anyTitle = true;
                if (level1.size() < rule.size()) level1.resize(rule.size());
            }
            SummaryRow& row = level1[lastNumber].rowFor(f.title2);
            const AmountSums amounts = amountsOf(f);
            const std::size_t m = static_cast<std::size_t>(month - 1);
            row.expense[m] = wrapAdd(row.expense[m], amounts.expense);
            row.income[m] = wrapAdd(row.income[m], amounts.income);
            row.hasExpense = row.hasExpense || amounts.expense != 0;
            row.hasIncome = row.hasIncome || amounts.income != 0;
        });

    level1.resize(rule.size());
    for (std::size_t number : rule.shownOrder()) {
        Level2Rows& rows = level1[number];
        if (rows.rows.empty()) continue;  // a listed title no record of the year uses
        SummaryRow row;
        row.title = rule.title(number);
        row.listed = number < rule.listedCount();
        std::vector<std::string> names;
        for (const SummaryRow& r : rows.rows) names.push_back(r.title);
        const std::vector<std::string> listed =
            row.listed ? titles.level2Under(static_cast<int>(number)) : std::vector<std::string>{};
        for (std::size_t i : listedFirstOrder(names, listed)) {
            SummaryRow& sub = rows.rows[i];
            sub.listed = std::find(listed.begin(), listed.end(), sub.title) != listed.end();
            addRow(row, sub);
            row.level2.push_back(std::move(sub));
        }
        addInto(summary.expense, row.expense);
        addInto(summary.income, row.income);
        summary.rows.push_back(std::move(row));
    }
    return summary;
}

std::vector<std::string> RecordsOfCell(const LedgerRecords& records, const TitleLists& titles,
                                       const RecordFilter& filter) {
    TitleRule rule(titles.level1);
    std::vector<std::string> found;
    forEachRecordOfYear(records, filter.year,
                        [&](std::string_view line, const RecordFields& f, int month) {
                            if (month != filter.month) return;
                            if (filter.level2 && f.title2 != *filter.level2) return;
                            if (rule.title(rule.titleOf(f.title1)) != filter.title) return;
                            found.emplace_back(line);
                        });
    return found;
}

}  // namespace orvo::summary
