// A renamed account title carried into the records.

#include "ledger/TitleRename.h"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace orvo {
namespace {

class TitleRename : public ::testing::Test {
protected:
    void SetUp() override {
        book.startNewLedger();
        book.setPickedDay({2026, 11, 20});
        for (const char* line :
             {"2026/11/19\t給与\t基本給\t0\t1000\t", "2026/11/20\t食費\t外食\t10\t0\t",
              "2026/11/21\t食費\t外食\t20\t0\tx", "2026/11/21\t交際費\t外食\t30\t0\t",
              "2026/11/22\t食費\t主食\t40\t0\t", "2026/11/23\t食費費\t\t50\t0\t"})
            book.addRecords({line});
        book.setCumulativeTotals(150, 1000);
        book.ShowDay();
    }
    LedgerBook book;
};

TEST_F(TitleRename, ALevel1TitleTakesItsNewNameInEveryRecordThatCarriesIt) {
    book.editCell(kColTitle1, 2, "食費");  // typed on the day shown, not yet written back
    book.editCell(kColExpense, 2, "5");
    book.markDayViewChanged();
    const RecordTitle food{"食費", ""};
    EXPECT_EQ(countRecordsTitled(book.records(), food), 3u);  // as last written back
    EXPECT_EQ(renameTitleInRecords(book, food, "食料費"), 4u);
    EXPECT_EQ(recordLines(book.records()),
              (std::vector<std::string>{
                  "2026/11/19\t給与\t基本給\t0\t1000\t", "2026/11/20\t食料費\t\t5\t0\t",
                  "2026/11/20\t食料費\t外食\t10\t0\t", "2026/11/21\t交際費\t外食\t30\t0\t",
                  "2026/11/21\t食料費\t外食\t20\t0\tx", "2026/11/22\t食料費\t主食\t40\t0\t",
                  "2026/11/23\t食費費\t\t50\t0\t"}));
    EXPECT_EQ(book.table().cell(kColTitle1, 1), "食料費");  // the day shown again
    EXPECT_EQ(book.totals().allOut, 155);
}

TEST_F(TitleRename, ALevel2TitleChangesOnlyUnderItsParent) {
    EXPECT_EQ(countRecordsTitled(book.records(), {"食費", "外食"}), 2u);
    EXPECT_EQ(renameTitleInRecords(book, {"食費", "外食"}, "レストラン"), 2u);
    EXPECT_EQ(countRecordsTitled(book.records(), {"食費", "レストラン"}), 2u);
    EXPECT_EQ(countRecordsTitled(book.records(), {"交際費", "外食"}), 1u);
    EXPECT_EQ(countRecordsTitled(book.records(), {"食費", "主食"}), 1u);
}

TEST_F(TitleRename, ABadAmountInTheDayViewStopsItBeforeAnythingChanges) {
    book.editCell(kColExpense, 1, "1,50");
    book.markDayViewChanged();
    const auto before = recordLines(book.records());
    EXPECT_FALSE(errorOf([&] { renameTitleInRecords(book, {"食費", ""}, "食料費"); }).empty());
    EXPECT_EQ(recordLines(book.records()), before);
}

}  // namespace
}  // namespace orvo
