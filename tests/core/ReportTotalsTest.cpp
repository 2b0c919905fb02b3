#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "PrintTestSupport.h"
#include "print/PageGeometry.h"
#include "print/TotalsReport.h"

namespace orvo::print {
namespace {

const FixedPitchMeasurer kFixed;

PrintSettings reportSettings() {
    PrintSettings s;
    s.dataFileName = "kakei.dat";
    s.today = "2026/12/08";
    return s;
}

TitleTotals sortedTotals(const std::vector<std::string>& lines,
                         const std::vector<std::string>& titles, const char* year = "2026") {
    TitleTotals totals = GatherTitleTotals(recordsOf(lines), titles, year);
    if (!totals.entries.empty())
        SortTitlesByTotal(totals.entries, 0, static_cast<int>(totals.entries.size()) - 1);
    return totals;
}

const std::vector<std::string> kExample = {
    "2026/01/10\t食費\t\t1000\t0\t",   "2026/03/05\t食費\t\t3000\t0\t",
    "2026/03/06\t交通費\t\t2000\t0\t",
    "2025/03/06\t食費\t\t9000\t0\t",    // another year
    "2026/04/01\t交通費\t\t0\t5000\t",  // an income
};

TEST(ReportTotals, WorkedExample) {
    const TitleTotals t = sortedTotals(kExample, {"食費", "交通費"});
    ASSERT_EQ(t.entries.size(), 2u);
    EXPECT_EQ(t.entries[1].title, "食費");
    EXPECT_EQ(t.entries[1].total, 4000);
    EXPECT_EQ(t.entries[1].monthly[0], 1000);
    EXPECT_EQ(t.entries[1].monthly[2], 3000);
    EXPECT_EQ(t.grandTotal, 6000);
    EXPECT_EQ(t.maxTitleTotal, 4000);

    const std::vector<Page> pages = RenderTotalsReport(t, reportSettings(), kFixed);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    EXPECT_EQ(findText(p, "《kakei 勘定科目合計  2026年分》").y, 150);
    EXPECT_EQ(findText(p, "合計金額").x, 150 + 300 + 76);
    const DrawnText food = findText(p, "食費");
    EXPECT_EQ(food.y, 345);  // largest first
    EXPECT_EQ(findText(p, "交通費").y, 390);
    EXPECT_EQ(findText(p, "      \\4,000").x, 450);
    EXPECT_EQ(findText(p, "66.7%").y, 345);
    EXPECT_EQ(findText(p, "33.3%").y, 390);
    EXPECT_EQ(opsOf<RectOp>(p), (std::vector<RectOp>{{1150, 345, 1850, 380, kBarColour},
                                                     {1150, 390, 1500, 425, kBarColour}}));
    // The grand total below the second rule; the month table below the third.
    const std::vector<LineOp> rules = opsOf<LineOp>(p);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[1].y1, 480);
    EXPECT_EQ(findText(p, "      \\6,000").y, 495);
    EXPECT_EQ(findText(p, "食費", FontFace::Gothic).x, 150 + 7 * 38);
    const DrawnText column2 = findText(p, "交通費", FontFace::Gothic);
    EXPECT_EQ(column2.x, 150 + 7 * 38 * 2);
    EXPECT_EQ(column2.y, 495 + 3 * 45);
    EXPECT_EQ(findText(p, "1月").y, 630 + 45 + 15);
    EXPECT_EQ(findText(p, "      \\1,000").x, 150 - 100 + 7 * 38);
    EXPECT_EQ(findText(p, "      \\1,000").y, 690);
}

TEST(ReportTotals, WhatIsCounted) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::string> titles;
        std::vector<std::int32_t> totals;  // in title-list order
    } cases[] = {
        {"first listed title wins", {"2026/01/01\t外食費\t\t100\t0\t"}, {"食", "食費"}, {100, 0}},
        {"empty title matches nothing", {"2026/01/01\tA\t\t100\t0\t"}, {"", "A"}, {0, 100}},
        {"whole characters only, else under its own name",
         {"2026/01/01\t表\t\t100\t0\t"},
         {"\\"},
         {0, 100}},
        {"odd dates",
         {"2026/1/05\tA\t\t1\t0\t", "2026/13/01\tA\t\t2\t0\t", "2026/12/31\tA\t\t4\t0\t"},
         {"A"},
         {4}},
        {"empty expense", {"2026/05/01\tA\t\t\t0\t", "2026/05/01\tA"}, {"A"}, {0}},
    };
    for (const Case& c : cases) {
        const TitleTotals t = GatherTitleTotals(recordsOf(c.lines), c.titles, "2026");
        std::vector<std::int32_t> totals;
        for (const TitleTotal& e : t.entries) totals.push_back(e.total);
        EXPECT_EQ(totals, c.totals) << c.name;
    }
    EXPECT_EQ(
        errorOf([] { GatherTitleTotals(recordsOf({"2026/01/01\tA\t\tx\t0\t"}), {"A"}, "2026"); }),
        "'x' は整数ではありません");
    EXPECT_EQ(defaultReportYear("2026/12/08"), "2026");
}

TEST(ReportTotals, SortLeavesEqualTotalsAsThePartitionDoes) {
    std::vector<TitleTotal> entries = {{"a", 5, {}}, {"b", 5, {}}, {"c", 5, {}}};
    SortTitlesByTotal(entries, 0, 2);
    EXPECT_EQ(entries[0].title + entries[1].title + entries[2].title, "cba");
    entries = {{"x", 3, {}}, {"y", -1, {}}, {"z", 2, {}}, {"w", 9, {}}, {"v", 2, {}}};
    SortTitlesByTotal(entries, 0, 4);
    std::string order;
    for (const TitleTotal& e : entries) order += e.title;
    EXPECT_EQ(order, "yvzxw");
}

TEST(ReportTotals, TensOfMillionsAndAYearWithoutExpenses) {
    const TitleTotals big = sortedTotals(
        {"2026/01/01\tA\t\t30000000\t0\t", "2026/02/01\tB\t\t10000000\t0\t"}, {"A", "B"});
    const Page p = RenderTotalsReport(big, reportSettings(), kFixed).at(0);
    EXPECT_EQ(findText(p, "75.0%").y, 345);
    EXPECT_EQ(findText(p, "25.0%").y, 390);
    EXPECT_EQ(findText(p, " \\40,000,000").x, 450);
    const std::vector<RectOp> bars = opsOf<RectOp>(p);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[1].right - bars[1].left, 233);
    EXPECT_EQ(formatShare(2, 3), "66.7%");
    EXPECT_EQ(formatShare(-30000, 20), "-150,000.0%");

    const TitleTotals none = sortedTotals({"2025/01/01\tA\t\t1\t0\t"}, {"A", "B"});
    const Page empty = RenderTotalsReport(none, reportSettings(), kFixed).at(0);
    EXPECT_TRUE(opsOf<RectOp>(empty).empty());
    EXPECT_EQ(findText(empty, "0.0%").y, 345);
}

TEST(ReportTotals, LongTitleListContinuesOnTheNextPage) {
    std::vector<std::string> titles;
    std::vector<std::string> lines;
    for (int k = 1; k <= 100; ++k) {
        titles.push_back("T" + std::to_string(k));
        lines.push_back("2026/06/01\tT" + std::to_string(k) + "\t\t" + std::to_string(k) + "\t0\t");
    }
    // "T1" is inside "T10" and the others, so those count for the longer titles listed first.
    std::reverse(titles.begin(), titles.end());
    const TitleTotals t = sortedTotals(lines, titles);
    EXPECT_EQ(t.grandTotal, 5050);
    const std::vector<Page> pages = RenderTotalsReport(t, reportSettings(), kFixed);
    ASSERT_EQ(pages.size(), 3u);
    // 52 rows from 345 until y passes 2655, the other 48 below the next page's header.
    EXPECT_EQ(opsOf<RectOp>(pages[0]).size(), 52u);
    EXPECT_EQ(findText(pages[0], "T100").y, 345);
    EXPECT_EQ(findText(pages[1], "T48").y, 345);
    EXPECT_EQ(findText(pages[1], "勘定科目").y, 285);
    EXPECT_EQ(findText(pages[1], "-2-").y, 2790);
    // The grand total below the last row; the month table then no longer fits
    // above the bottom limit (its first month would stand at 48 x 45 + 345 + 225)
    // and starts the third page, its header row where the list's stood.
    EXPECT_EQ(findText(pages[1], "      \\5,050").y, 345 + 48 * 45 + 60);
    EXPECT_EQ(findText(pages[2], "T100", FontFace::Gothic).y, 285);
    EXPECT_EQ(findText(pages[2], "T95", FontFace::Gothic).x, 150 + 7 * 38 * 6);
    EXPECT_EQ(findText(pages[2], "1月").y, 345);
    EXPECT_EQ(findText(pages[2], "12月").y, 345 + 11 * 45);
}

TEST(ReportTotals, TotalsPrintWholeInTheirColumns) {
    // ¥2,000,001,000 is fourteen places (266): wider than its column up to the
    // share's (300 - 38), it is right-aligned there a little smaller.
    const TitleTotals t =
        sortedTotals({"2026/01/01\tA\t\t2000001000\t0\t", "2026/02/01\tB\t\t1\t0\t"}, {"A", "B"});
    const Page p = RenderTotalsReport(t, reportSettings(), kFixed).at(0);
    const DrawnText total = findText(p, "\\2,000,001,000");
    EXPECT_EQ(total.x + kFixed.width(total.font, total.text), 150 + 600 - 38);
    EXPECT_EQ(total.font.height, 37);
    const DrawnText monthly = findText(p, "\\2,000,001,000", FontFace::Mincho);
    EXPECT_EQ(monthly.y + monthly.font.height, 345 + 38);  // its foot on the row's foot
    int inMonthTable = 0;
    for (const DrawnText& d : drawnTexts(p))
        if (d.text == "\\2,000,001,000" && d.y + d.font.height == 690 + 38) {
            ++inMonthTable;
            EXPECT_LE(kFixed.width(d.font, d.text), 6 * 38);  // shrunk into its 6 places
        }
    EXPECT_EQ(inMonthTable, 1);
}

}  // namespace
}  // namespace orvo::print
