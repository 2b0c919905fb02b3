#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "CoreTestSupport.h"
#include "PrintTestSupport.h"
#include "base/Amount.h"
#include "ledger/LedgerDate.h"
#include "ledger/RecordAmountSums.h"
#include "ledger/RecordLine.h"
#include "print/TitleTotals.h"
#include "summary/Budgets.h"
#include "summary/SummaryTable.h"
#include "summary/TitleRule.h"
#include "summary/YearSummary.h"

namespace orvo::summary {
namespace {

using print::recordsOf;

// "食" before "食費": a record titled "食費" is 食費's, one titled "外食費" 食's.
TitleLists kTitles{{"食", "食費", "交通費"}, {{"外食", 1}, {"米", 1}, {"電車", 2}}};

// The plain reading: each record split, its date checked, its title looked up.
struct PlainCell {
    std::int32_t expense = 0, income = 0;
};
std::map<std::pair<std::string, std::string>, std::array<PlainCell, 12>> plainTable(
    const std::vector<std::string>& lines, int year, std::size_t& unreadable) {
    std::map<std::pair<std::string, std::string>, std::array<PlainCell, 12>> table;
    unreadable = 0;
    for (const std::string& line : lines) {
        std::vector<std::string> f;
        splitRecordInto(line, f);
        f.resize(5);
        if (!LedgerDate::isCanonical(f[0])) {
            ++unreadable;
            continue;
        }
        if (std::stoi(f[0].substr(0, 4)) != year) continue;
        std::string title = f[1];
        for (const std::string& t : kTitles.level1)
            if (f[1] == t) goto found;
        for (const std::string& t : kTitles.level1)
            if (f[1].find(t) != std::string::npos) {  // ASCII-safe titles below
                title = t;
                break;
            }
    found:
        PlainCell& cell = table[{title, f[2]}][std::stoi(f[0].substr(5, 2)) - 1];
        AmountSums sums;
        addAmountFields(f[3], f[4], sums);
        cell.expense = wrapAdd(cell.expense, sums.expense);
        cell.income = wrapAdd(cell.income, sums.income);
    }
    return table;
}

TEST(YearSummary, AgreesWithThePlainReadingAndTheLedgersTotals) {
    const char* dates[] = {"2026/01/31", "2026/02/28", "2026/12/01", "2025/12/31", "2026/02/30",
                           "2026/13/01", "2026/1/05",  "abc",        "",           "2027/01/01"};
    const char* titles1[] = {"食費", "交通費", "外食費", "雑費", "", "食", "雑費x"};
    const char* titles2[] = {"外食", "米", "電車", "", "ﾀｸｼｰ"};
    const char* amounts[] = {"100", "", "x", "-7", "2000000000", "0", "1500", "   12"};
    std::mt19937 rng(26);
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        const auto pick = [&](const auto& a) { return a[rng() % std::size(a)]; };
        lines.push_back(std::string(pick(dates)) + "\t" + pick(titles1) + "\t" + pick(titles2) +
                        "\t" + pick(amounts) + "\t" + pick(amounts) + "\tdesc");
    }
    lines.push_back("2026/03/03");  // no fields but the date
    const LedgerRecords records = recordsOf(lines);
    const YearSummary s = SummarizeYear(records, kTitles, 2026);

    std::size_t unreadable = 0;
    const auto plain = plainTable(lines, 2026, unreadable);
    EXPECT_EQ(s.unreadableDates, unreadable);
    std::size_t cells = 0;
    for (const SummaryRow& row : s.rows) {
        MonthCells expense{}, income{};
        for (const SummaryRow& sub : row.level2) {
            const auto found = plain.find({row.title, sub.title});
            ASSERT_NE(found, plain.end()) << row.title << "/" << sub.title;
            for (std::size_t m = 0; m < 12; ++m) {
                EXPECT_EQ(sub.expense[m], found->second[m].expense);
                EXPECT_EQ(sub.income[m], found->second[m].income);
                expense[m] = wrapAdd(expense[m], sub.expense[m]);
                income[m] = wrapAdd(income[m], sub.income[m]);
            }
            ++cells;
        }
        EXPECT_EQ(row.expense, expense) << row.title;
        EXPECT_EQ(row.income, income) << row.title;
    }
    EXPECT_EQ(cells, plain.size());

    // The ledger cut to the year's valid dates shows the same totals.
    std::vector<std::string> ofYear;
    for (const std::string& l : lines)
        if (LedgerDate::isCanonical(l.substr(0, 10)) && l.compare(0, 5, "2026/") == 0)
            ofYear.push_back(l);
    const AmountSums ledger = sumRecordAmounts(recordsOf(ofYear));
    EXPECT_EQ(yearTotal(s.expense), ledger.expense);
    EXPECT_EQ(yearTotal(s.income), ledger.income);

    // Listed titles in list order, the others after them in byte order.
    std::vector<std::string> order;
    for (const SummaryRow& row : s.rows) order.push_back(row.title);
    EXPECT_EQ(order, (std::vector<std::string>{"食", "食費", "交通費", "", "雑費", "雑費x"}));
    std::vector<std::string> food;
    for (const SummaryRow& sub : s.rows[1].level2) food.push_back(sub.title);
    EXPECT_EQ(food, (std::vector<std::string>{"外食", "米", "", "電車", "ﾀｸｼｰ"}));
}

TEST(YearSummary, TableCellsAsTheCommandPrintsThem) {
    const LedgerRecords records = recordsOf({
        "2026/01/05\t食費\t米\t1000\t0\t",
        "2026/01/06\t給与\t\t0\t300000\t",
        "2026/03/01\t雑費\t\t500\t0\t",
        "2026/03/02\t交通費\t電車\t0\t0\t",  // neither expense nor income
        "2026/02/30\t食費\t\t9\t0\t",
    });
    const YearSummary s = SummarizeYear(records, kTitles, 2026);
    EXPECT_EQ(s.unreadableDates, 1u);
    const std::string table = joinedTable(SummaryTableCells(s, TitleLevel::One), "\n");
    EXPECT_EQ(table,
              "区分\t科目\t1月\t2月\t3月\t4月\t5月\t6月\t7月\t8月\t9月\t10月\t11月\t12月\t合計\n"
              "支出\t食費\t1000\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1000\n"
              "支出\t雑費\t0\t0\t500\t0\t0\t0\t0\t0\t0\t0\t0\t0\t500\n"
              "支出\t合計\t1000\t0\t500\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1500\n"
              "収入\t給与\t300000\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t300000\n"
              "収入\t合計\t300000\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t300000\n"
              "収支\t\t299000\t0\t-500\t0\t0\t0\t0\t0\t0\t0\t0\t0\t298500\n");
    const auto level2 = SummaryTableCells(s, TitleLevel::Two);
    EXPECT_EQ(level2[1][1], "食費/米");
    EXPECT_EQ(level2[2][1], "雑費/");
    // 32-bit totals wrap as the ledger's do.
    const YearSummary big = SummarizeYear(
        recordsOf({"2026/01/01\tA\t\t2147483647\t0", "2026/02/01\tA\t\t1\t0"}), kTitles, 2026);
    EXPECT_EQ(SummaryTableCells(big, TitleLevel::One)[1].back(), "-2147483648");
}

TEST(YearSummary, RecordsOfACell) {
    const LedgerRecords records = recordsOf({
        "2026/01/05\t食費\t米\t1000\t0\tA",
        "2026/01/06\t外食費\t\t10\t0\tB",
        "2026/01/07\t食費\t外食\t5\t0\tC",
        "2026/02/07\t食費\t米\t5\t0\tD",
        "2026/01/08\t雑費\t\t5\t0\tE",
    });
    const auto descriptions = [&](RecordFilter filter) {
        std::string out;
        for (const std::string& line : RecordsOfCell(records, kTitles, filter)) out += line.back();
        return out;
    };
    EXPECT_EQ(descriptions({2026, 1, "食費", {}}), "AC");
    EXPECT_EQ(descriptions({2026, 1, "食", {}}), "B");
    EXPECT_EQ(descriptions({2026, 1, "食費", "米"}), "A");
    EXPECT_EQ(descriptions({2026, 1, "雑費", {}}), "E");
    EXPECT_EQ(descriptions({2026, 3, "食費", {}}), "");
}

TEST(Budgets, FileLinesAndTheMonthsFigures) {
    struct Case {
        const char* bytes;
        std::vector<Budget> budgets;
        std::size_t firstBad;
    } cases[] = {
        {"", {}, 0},
        {"食費\t30000\r\n交通費\t5000\r\n", {{"食費", 30000}, {"交通費", 5000}}, 0},
        {"食費\t1\n\n食費\t2\r", {{"食費", 2}}, 0},  // LF, CR, a later line wins
        {"A\tx\r\nB\t5\r\nC\r\nD\t-1\r\n", {{"B", 5}}, 1},
        {"A\t1\r\nB 2\r\n", {{"A", 1}}, 2},
    };
    for (const Case& c : cases) {
        const ParsedBudgets p = parseBudgets(c.bytes);
        EXPECT_EQ(p.budgets, c.budgets) << c.bytes;
        EXPECT_EQ(p.firstBadLine, c.firstBad) << c.bytes;
    }

    const YearSummary s =
        SummarizeYear(recordsOf({"2026/04/01\t食費\t\t32000\t0", "2026/04/02\t雑費\t\t100\t0",
                                 "2026/05/01\t交通費\t\t999\t0"}),
                      kTitles, 2026);
    const MonthBudget m = BudgetOfMonth(
        s, {{"雑費", 50}, {"交通費", 5000}, {"食費", 30000}, {"娯楽", 0}}, kTitles.level1, 4);
    EXPECT_EQ(m.rows, (std::vector<BudgetRow>{{"食費", 30000, 32000, -2000},
                                              {"交通費", 5000, 0, 5000},
                                              {"娯楽", 0, 0, 0},
                                              {"雑費", 50, 100, -50}}));
    EXPECT_EQ(m.total, (BudgetRow{"合計", 35050, 32100, 2950}));
}

TEST(Budgets, ReadKeepsTheRestOfABadFileAndSaveWritesItBack) {
    const orvo::testing::ScratchFolder dir("budgets");
    const std::string path = budgetFilePath(dir.path().string());
    std::vector<Budget> budgets{{"x", 1}};
    ReadBudgets(budgets, path);  // missing: none
    EXPECT_TRUE(budgets.empty());

    writeFile(path, "食費\t100\r\n交通費\t1,000\r\n雑費\t7\r\n");
    EXPECT_EQ(errorOf([&] { ReadBudgets(budgets, path); }), "予算.txt の 2 行目は読めません");
    EXPECT_EQ(budgets, (std::vector<Budget>{{"食費", 100}, {"雑費", 7}}));

    setBudget(budgets, "食費", std::nullopt);
    setBudget(budgets, "雑費", 8);
    setBudget(budgets, "娯楽", 9);
    SaveBudgets(budgets, path);
    EXPECT_EQ(readFile(path), "雑費\t8\r\n娯楽\t9\r\n");
}

TEST(ReportTotals, TitlesTheListLacksComeAfterItSoTheTotalIsTheYearsExpense) {
    const std::vector<std::string> lines = {
        "2026/01/10\t食費\t\t1000\t0\t", "2026/02/10\t雑貨\t\t300\t0\t",
        "2026/02/11\t\t\t20\t0\t",       "2026/03/10\tお祝い\t\t50\t0\t",
        "2026/03/11\t給与\t\t\t9000\t",  // no expense: no entry
    };
    const print::TitleTotals t =
        print::GatherTitleTotals(recordsOf(lines), {"交通費", "食費"}, "2026");
    std::vector<std::string> titles;
    for (const print::TitleTotal& e : t.entries)
        titles.push_back(e.title + ":" + std::to_string(e.total));
    EXPECT_EQ(titles,
              (std::vector<std::string>{"交通費:0", "食費:1000", ":20", "お祝い:50", "雑貨:300"}));
    EXPECT_EQ(t.grandTotal, sumRecordAmounts(recordsOf(lines)).expense);
    EXPECT_EQ(t.entries[4].monthly[1], 300);
}

}  // namespace
}  // namespace orvo::summary
