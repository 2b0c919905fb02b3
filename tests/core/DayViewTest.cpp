// The day-view cycle: ShowDay fills the grid, Recalculate writes it back.

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "base/OrvoError.h"
#include "ledger/LedgerBook.h"

namespace orvo {
namespace {

class DayView : public ::testing::Test {
protected:
    void SetUp() override {
        book.ResetLedgerTable();
        book.setPickedDay({2026, 12, 8});
    }
    void typeRow(int row, const std::string& t1, const std::string& t2, const std::string& out,
                 const std::string& in, const std::string& text = "") {
        book.markDayViewChanged();  // entering the grid marks the day view
        book.editCell(1, row, t1);
        book.editCell(2, row, t2);
        book.editCell(3, row, out);
        book.editCell(4, row, in);
        book.editCell(5, row, text);
    }
    std::vector<std::string> records() const { return recordLines(book.records()); }
    LedgerBook book;
};

TEST_F(DayView, NewLedgerShowsZeroEverywhere) {
    EXPECT_EQ(book.table().columnCount(), 6);
    EXPECT_EQ(book.table().rowCount(), 6);
    const char* titles[] = {"", "勘定科目1", "勘定科目２", "支出", "収入", "摘要"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(book.table().cell(c, 0), titles[c]);
    auto labels = [&] {
        return std::vector<std::string>{book.dayOutText(), book.dayInText(),  book.allOutText(),
                                        book.allInText(),  book.dayZanText(), book.allZanText()};
    };
    // A reset writes the plain "0"; the display form comes with the first
    // day shown (daily labels) and the first write-back or load (all).
    EXPECT_EQ(labels(), std::vector<std::string>(6, "0"));
    book.ShowDay();
    EXPECT_EQ(labels(), (std::vector<std::string>{"\\0", "\\0", "0", "0", "\\0", "0"}));
    book.markDayViewChanged();
    book.Recalculate();
    EXPECT_EQ(labels(), std::vector<std::string>(6, "\\0"));
    book.ResetLedgerTable();
    EXPECT_EQ(labels(), std::vector<std::string>(6, "0"));
    book.setCumulativeTotals(5, 0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"0", "0", "\\5", "\\0", "0", "-\\5"}));
}

TEST_F(DayView, RecalculateStoresTitledRowsAndUpdatesAllSixTotals) {
    typeRow(1, "食費", "", "1200", "");
    book.Recalculate();
    EXPECT_EQ(book.dayOutText(), "\\1,200");
    EXPECT_EQ(book.allOutText(), "\\1,200");
    EXPECT_EQ(book.dayInText(), "\\0");
    EXPECT_EQ(book.allInText(), "\\0");
    EXPECT_EQ(book.dayZanText(), "-\\1,200");
    EXPECT_EQ(book.allZanText(), "-\\1,200");
    EXPECT_EQ(book.table().cell(4, 1), "0");
    EXPECT_EQ(records(), std::vector<std::string>{"2026/12/08\t食費\t\t1200\t0\t"});
    EXPECT_FALSE(book.dayViewChanged());
}

TEST_F(DayView, RowsWithoutLevel1TitleAreNeitherStoredNorCounted) {
    typeRow(1, "", "外食", "500", "", "no title");
    book.goToDay({2026, 12, 9});
    book.goToDay({2026, 12, 8});
    EXPECT_TRUE(records().empty());
    EXPECT_EQ(book.table().cell(3, 1), "");
    EXPECT_EQ(book.allOutText(), "\\0");
}

TEST_F(DayView, RowsComeBackSortedAfterMovingAway) {
    typeRow(1, "B", "", "1", "");
    typeRow(2, "A", "", "2", "");
    book.goToDay({2026, 12, 9});
    book.goToDay({2026, 12, 8});
    EXPECT_EQ(book.table().cell(1, 1), "A");
    EXPECT_EQ(book.table().cell(1, 2), "B");
}

TEST_F(DayView, EditingAnAmountChangesTheCumulativeTotalByTheDifference) {
    typeRow(1, "食費", "", "1000", "");
    book.Recalculate();
    book.markDayViewChanged();
    book.editCell(3, 1, "1500");
    book.Recalculate();
    EXPECT_EQ(book.totals().allOut, 1500);
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(DayView, SecondRecalculateDoesNothing) {
    typeRow(1, "食費", "", "1000", "");
    book.Recalculate();
    const auto written = records();
    book.Recalculate();
    EXPECT_EQ(records(), written);
    EXPECT_EQ(book.totals().allOut, 1000);
}

TEST_F(DayView, ADayWithMoreRecordsThanRowsGrowsTheTable) {
    for (int i = 0; i < 7; ++i)
        book.addRecords({"2026/12/08\t科目" + std::to_string(i) + "\t\t1\t0\t"});
    book.ShowDay();
    EXPECT_EQ(book.table().rowCount(), 8);
    EXPECT_EQ(book.dayOutText(), "\\7");
    book.setPickedDay({2026, 12, 9});
    book.ShowDay();
    EXPECT_EQ(book.table().rowCount(), 8);  // never shrinks here
    EXPECT_EQ(book.table().cell(1, 1), "");
}

TEST_F(DayView, MultiLineDescriptionRoundTripsThroughTheRecord) {
    typeRow(1, "食費", "外食", "800", "0", "一行目\r\n二行目\r\n三行目");
    book.goToDay({2026, 12, 9});
    EXPECT_EQ(records(), std::vector<std::string>{
                             "2026/12/08\t食費\t外食\t800\t0\t一行目\x1B二行目\x1B三行目"});
    book.goToDay({2026, 12, 8});
    EXPECT_EQ(book.table().cell(5, 1), "一行目\r\n二行目\r\n三行目");
}

TEST_F(DayView, ChangingTheDayWithoutAnEditWritesNothingBack) {
    book.addRecords({"2026/12/08\t食費\t\t100\t0\t"});
    book.ShowDay();
    const bool undoBefore = book.canUndo();
    book.goToDay({2026, 12, 9});
    EXPECT_EQ(records(), std::vector<std::string>{"2026/12/08\t食費\t\t100\t0\t"});
    EXPECT_EQ(book.canUndo(), undoBefore);  // only the view moved: nothing to undo
}

TEST_F(DayView, BadAmountStopsTheWriteBackBeforeAnyRecordIsRemoved) {
    book.addRecords({"2026/12/08\t食費\t\t100\t0\tkept"});
    book.addRecords({"2026/12/08\t日用品\t\t200\t0\tkept too"});
    book.setCumulativeTotals(300, 0);
    book.ShowDay();
    book.markDayViewChanged();
    book.editCell(3, 2, "2OO");
    try {
        book.Recalculate();
        FAIL();
    } catch (const OrvoError& e) {
        EXPECT_STREQ(e.what(), "'2OO' は整数ではありません");
        ASSERT_TRUE(e.cell());
        EXPECT_EQ(*e.cell(), (CellRef{3, 2}));
    }
    EXPECT_EQ(records().size(), 2u);
    EXPECT_TRUE(book.dayViewChanged());  // the edits are still to be written back
    EXPECT_EQ(book.totals().allOut, 300);
    book.editCell(3, 2, "250");
    book.Recalculate();
    EXPECT_EQ(book.totals().allOut, 350);
}

TEST_F(DayView, ADayChangeWhoseWriteBackFailsStaysOnTheDay) {
    typeRow(1, "A", "", "x", "0");
    EXPECT_THROW(book.goToDay({2026, 12, 9}), OrvoError);
    EXPECT_EQ(book.pickedDay(), (LedgerDate{2026, 12, 8}));
    EXPECT_EQ(book.table().cell(3, 1), "x");
    EXPECT_TRUE(book.records().empty());
}

TEST_F(DayView, ShowDayShowsEveryRecordEvenPastABadAmount) {
    book.addRecords({"2026/12/08\tB\t\t5\t0\t"});
    EXPECT_THROW(book.addRecords({"2026/12/08\tA\t\tx1\t0\t"}), OrvoError);  // shown, then refused
    EXPECT_THROW(book.ShowDay(), OrvoError);
    EXPECT_EQ(book.table().cell(1, 2), "B");
    EXPECT_EQ(book.totals().dayOut, 5);
}

TEST_F(DayView, OddlyWrittenDatesBelongOnlyToTheirOwnDay) {
    book.addRecords({"2026/12/7\tother day\t\t100\t0\t"});
    book.addRecords({"2026/12/8\tthis day\t\t50\t0\t"});
    book.setCumulativeTotals(150, 0);
    book.ShowDay();
    EXPECT_EQ(book.table().cell(1, 1), "this day");
    EXPECT_EQ(book.table().cell(1, 2), "");
    book.markDayViewChanged();
    book.Recalculate();
    // This day's record is rewritten in the canonical form; the other stays as it was.
    EXPECT_EQ(records(), (std::vector<std::string>{"2026/12/08\tthis day\t\t50\t0\t",
                                                   "2026/12/7\tother day\t\t100\t0\t"}));
    EXPECT_EQ(book.totals().allOut, 150);
}

TEST_F(DayView, RecordsWithMoreOrFewerFieldsThanColumnsLoseNoText) {
    book.addRecords({"2026/12/08\t短い"});
    book.addRecords({"2026/12/08\tlong\tb\t1\t2\tdesc\textra1\textra2"});
    book.ShowDay();
    EXPECT_EQ(book.table().cell(1, 1), "long");
    EXPECT_EQ(book.table().cell(5, 1), "desc\r\nextra1\r\nextra2");
    EXPECT_EQ(book.table().cell(1, 2), "短い");
    EXPECT_EQ(book.table().cell(2, 2), "");
    book.markDayViewChanged();
    book.Recalculate();
    // Not edited: every field as it was. Edited: the extras folded into the last field.
    EXPECT_EQ(records(),
              (std::vector<std::string>{"2026/12/08\tlong\tb\t1\t2\tdesc\textra1\textra2",
                                        "2026/12/08\t短い\t\t0\t0\t"}));
    book.ShowDay();
    book.editCell(2, 1, "B");
    book.markDayViewChanged();
    book.Recalculate();
    EXPECT_EQ(records()[0],
              "2026/12/08\tlong\tB\t1\t2\tdesc\x1B"
              "extra1\x1B"
              "extra2");
}

// Columns deleted down to two: what is written back is still a whole record.
TEST_F(DayView, ANarrowDayViewWritesWholeRecordsAndKeepsUneditedOnes) {
    book.addRecords({"2026/12/08\t食費\t外食\t1200\t0\t昼"});
    book.setCumulativeTotals(1200, 0);
    book.changeDayView(StepKind::DeleteColumns, [](LedgerTable& t) { t.setColumnCount(2); });
    book.ShowDay();
    EXPECT_EQ(book.table().cell(1, 1), "食費\r\n外食\r\n1200\r\n0\r\n昼");
    book.markDayViewChanged();
    book.editCell(1, 2, "新");
    book.Recalculate();
    EXPECT_EQ(records(), (std::vector<std::string>{"2026/12/08\t食費\t外食\t1200\t0\t昼",
                                                   "2026/12/08\t新\t\t0\t0\t"}));
    EXPECT_EQ(book.totals().allOut, 1200);
    EXPECT_EQ(book.totals().dayOut, 1200);
}

TEST_F(DayView, UndatedRecordReachedByTheScanIsReportedAfterTheDayIsShown) {
    book.addRecords({"2026/12/08\tA\t\t1\t0\t"});
    EXPECT_THROW(book.addRecords({"2026/12/03x\tbroken\t\t1\t0\t"}), OrvoError);
    try {
        book.ShowDay();
        FAIL();
    } catch (const OrvoError& e) {
        EXPECT_STREQ(e.what(), "'2026/12/03x' は日付ではありません");
    }
    EXPECT_EQ(book.table().cell(1, 1), "A");
    // A record dated later than the day stops the scan before it.
    book.setPickedDay({2026, 12, 1});
    book.addRecords({"2026/12/02\tB\t\t1\t0\t"});
    EXPECT_NO_THROW(book.ShowDay());
}

TEST_F(DayView, TotalsWrapAroundIn32Bits) {
    typeRow(1, "収入", "", "0", "2147483647");
    typeRow(2, "収入", "", "0", "1");
    book.Recalculate();
    EXPECT_EQ(book.totals().dayIn, INT32_MIN);
    EXPECT_EQ(book.dayInText(), "-\\2,147,483,648");
}

}  // namespace
}  // namespace orvo
