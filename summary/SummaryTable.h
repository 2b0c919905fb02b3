#pragma once
// The year's table as text cells (CP932), as `orvokakei-cli summary` prints
// it and the window copies it: a heading line "区分 科目 1月 … 12月 合計"; a
// "支出" line per title with an expense in the year (level 2: "TITLE1/TITLE2"),
// then "支出 合計"; the same for "収入"; last "収支" (income less expense).
// Amounts are plain integers.

#include <string>
#include <vector>

#include "summary/YearSummary.h"

namespace orvo::summary {

enum class TitleLevel { One, Two };

std::vector<std::vector<std::string>> SummaryTableCells(const YearSummary& summary,
                                                        TitleLevel level);

// The cells joined by TAB, one line each ending in `lineEnd`.
std::string joinedTable(const std::vector<std::vector<std::string>>& cells,
                        const std::string& lineEnd);

// The cells as CSV lines, as "CSV書き込み" writes records (CR LF).
std::string csvText(const std::vector<std::vector<std::string>>& cells);

}  // namespace orvo::summary
