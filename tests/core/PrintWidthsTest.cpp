#include "settings/PrintWidths.h"

#include <gtest/gtest.h>

#include "TitleShape.h"
#include "settings/ColumnSettings.h"

namespace orvo {
namespace {

using testing::ScratchFolder;

TEST(PrintWidths, WithoutAFileSixColumnsGiveFiveRowsOf233AndAreWrittenWithCrLf) {
    ScratchFolder dir{"settings"};
    const std::string path = dir.str() + "/Prin.ini";
    const std::vector<std::string> rows = ReadPrintWidths(path, 6);
    EXPECT_EQ(rows, std::vector<std::string>(5, "233"));
    EXPECT_EQ(DefaultPrintWidths(8), std::vector<std::string>(7, "175"));
    WritePrintWidths(path, rows);
    EXPECT_EQ(readFile(path), "233\r\n233\r\n233\r\n233\r\n233\r\n");
}

TEST(PrintWidths, RowsRoundTripAsTextAndMissingRowsTakeTheDefault) {
    ScratchFolder dir{"settings"};
    const std::string path = dir.str() + "/Prin.ini";
    const std::vector<std::string> rows{"200", "2,5", "", "-1", "300", "450"};
    WritePrintWidths(path, rows);
    EXPECT_EQ(ReadPrintWidths(path, 6), rows);

    writeFile(path, "210\r310\n410");
    EXPECT_EQ(ReadPrintWidths(path, 6),
              (std::vector<std::string>{"210", "310", "410", "233", "233"}));
}

TEST(PrintWidths, AFailedWriteKeepsTheOldFile) {
    ScratchFolder dir{"settings"};
    const std::string path = dir.str() + "/Prin.ini";
    WritePrintWidths(path, {"100"});
    WriteFaults noRename;
    noRename.failRename = true;
    EXPECT_THROW(WritePrintWidths(path, {"1", "2"}, noRename), OrvoError);
    EXPECT_EQ(readFile(path), "100\r\n");
}

LedgerTable gridOf(int columns) {
    LedgerTable t;
    t.setColumnCount(columns, 64);
    t.setRowCount(2);
    return t;
}

TEST(ColumnSettings, AppliesUpToABadWidthWithTheColumnsBeforeItApplied) {
    LedgerTable grid = gridOf(6);
    const ColumnLists lists{{"a", "b", "c", "d", "e"}, {"100", " 90", "8O", "70", "60"}};
    EXPECT_EQ(errorOf([&] { ApplyColumnSettings(grid, lists); }), "'8O' は整数ではありません");
    const ColumnLists now = ColumnListsFromGrid(grid);
    EXPECT_EQ(now.titles, (std::vector<std::string>{"a", "b", "c", "", ""}));
    EXPECT_EQ(now.displayWidths, (std::vector<std::string>{"100", "90", "64", "64", "64"}));
}

TEST(ColumnSettings, RowsBeyondTheGridAreLeftOutAndAnEmptyAnswerKeepsTheRow) {
    LedgerTable grid = gridOf(3);
    ApplyColumnSettings(grid, {{"x", "y", "z"}, {"10", "20", "bad"}});
    EXPECT_EQ(ColumnListsFromGrid(grid), (ColumnLists{{"x", "y"}, {"10", "20"}}));
    EXPECT_EQ(editedRow("200", ""), "200");
    EXPECT_EQ(editedRow("200", "abc"), "abc");
}

}  // namespace
}  // namespace orvo
