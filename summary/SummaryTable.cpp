#include "summary/SummaryTable.h"

#include "base/Amount.h"
#include "ledger/CsvLine.h"

namespace orvo::summary {

namespace {

using Line = std::vector<std::string>;

Line amountLine(std::string kind, std::string title, const MonthCells& cells) {
    Line line{std::move(kind), std::move(title)};
    for (std::int32_t cell : cells) line.push_back(std::to_string(cell));
    line.push_back(std::to_string(yearTotal(cells)));
    return line;
}

void addSection(std::vector<Line>& lines, const YearSummary& summary, TitleLevel level,
                const char* kind, MonthCells SummaryRow::*cells, bool SummaryRow::*has,
                const MonthCells& total) {
    for (const SummaryRow& row : summary.rows) {
        if (!(row.*has)) continue;
        if (level == TitleLevel::One) {
            lines.push_back(amountLine(kind, row.title, row.*cells));
            continue;
        }
        for (const SummaryRow& sub : row.level2)
            if (sub.*has)
                lines.push_back(amountLine(kind, row.title + "/" + sub.title, sub.*cells));
    }
    lines.push_back(amountLine(kind, "合計", total));
}

}  // namespace

std::vector<std::vector<std::string>> SummaryTableCells(const YearSummary& summary,
                                                        TitleLevel level) {
    std::vector<Line> lines;
    Line heading{"区分", "科目"};
    for (int m = 1; m <= 12; ++m) heading.push_back(std::to_string(m) + "月");
    heading.push_back("合計");
    lines.push_back(std::move(heading));
    addSection(lines, summary, level, "支出", &SummaryRow::expense, &SummaryRow::hasExpense,
               summary.expense);
    addSection(lines, summary, level, "収入", &SummaryRow::income, &SummaryRow::hasIncome,
               summary.income);
    lines.push_back(amountLine("収支", "", balanceOf(summary)));
    return lines;
}

std::string joinedTable(const std::vector<std::vector<std::string>>& cells,
                        const std::string& lineEnd) {
    std::string text;
    for (const Line& line : cells) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i > 0) text += '\t';
            text += line[i];
        }
        text += lineEnd;
    }
    return text;
}

std::string csvText(const std::vector<std::vector<std::string>>& cells) {
    std::string text;
    for (const Line& line : cells) appendCsvLine(joinedTable({line}, ""), text);
    return text;
}

}  // namespace orvo::summary
