#pragma once
// Monthly budgets per level-1 title, kept in "予算.txt" beside the title
// files: CP932, one line per title "TITLE<TAB>AMOUNT", CR LF. A title
// without a line has no budget.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "summary/YearSummary.h"

namespace orvo::summary {

struct Budget {
    std::string title;  // CP932
    std::int32_t amount = 0;
    bool operator==(const Budget&) const = default;
};

// "予算.txt" as CP932 text, and its native path in `folder` (empty: the working folder).
std::string budgetFileName();
std::string budgetFilePath(const std::string& folder);

// The budgets a file's bytes hold, in file order, with the number (from 1)
// of the first line that cannot be read, 0 when every line could; the rules
// as ReadBudgets reads them.
struct ParsedBudgets {
    std::vector<Budget> budgets;
    std::size_t firstBadLine = 0;
};
ParsedBudgets parseBudgets(std::string_view bytes);

// Reads the budgets of `path` into `into` (emptied first), in file order; a
// missing file holds none. A title's later line replaces its earlier one;
// empty lines are skipped. A line without a TAB or whose amount is no whole
// number from 0 up is left out and, once the rest is read, reported as
// "予算.txt の N 行目は読めません" (the first such line). A file that is there
// but cannot be read throws "ファイル 予算.txt は開けません".
void ReadBudgets(std::vector<Budget>& into, const std::string& path);

// The file text of `budgets`.
std::string budgetFileText(const std::vector<Budget>& budgets);

// Replaces the file whole or not at all ("ファイル 予算.txt に書き込めません").
void SaveBudgets(const std::vector<Budget>& budgets, const std::string& path);

// Sets (or with no value, removes) one title's budget, keeping the others' order.
void setBudget(std::vector<Budget>& budgets, const std::string& title,
               std::optional<std::int32_t> amount);

struct BudgetRow {
    std::string title;
    std::int32_t budget = 0;
    std::int32_t spent = 0;
    std::int32_t remaining = 0;  // budget - spent, negative when over
    bool operator==(const BudgetRow&) const = default;
};

struct MonthBudget {
    // Every budgeted title: the listed ones in list order, then the others in
    // byte order.
    std::vector<BudgetRow> rows;
    BudgetRow total;  // the rows summed (32-bit, wrapping); title "合計"
};

// The budgets against the expense of `month` (1 to 12) in `summary`.
MonthBudget BudgetOfMonth(const YearSummary& summary, const std::vector<Budget>& budgets,
                          const std::vector<std::string>& listedTitles, int month);

}  // namespace orvo::summary
