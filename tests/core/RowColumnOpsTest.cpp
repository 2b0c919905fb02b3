#include "ledger/RowColumnOps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

// A table whose every cell names its original place ("r3c2"), titles "T1"..,
// column 0 "x3", rows 30 + r high and columns 100 + c wide, so that each
// moved text, height and width can be traced.
LedgerTable tracedTable(int cols, int rows) {
    LedgerTable t;
    t.setColumnCount(cols);
    t.setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        t.setRowHeight(r, 30 + r);
        for (int c = 0; c < cols; ++c) {
            std::string text = "r" + std::to_string(r) + "c" + std::to_string(c);
            if (r == 0) text = c == 0 ? "" : "T" + std::to_string(c);
            if (c == 0 && r > 0) text = "x" + std::to_string(r);
            t.setCell(c, r, text);
        }
    }
    for (int c = 0; c < cols; ++c) t.setColumnWidth(c, 100 + c);
    return t;
}

std::vector<std::string> column(const LedgerTable& t, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < t.rowCount(); ++r) out.push_back(t.cell(col, r));
    return out;
}

std::vector<std::string> row(const LedgerTable& t, int r) {
    std::vector<std::string> out;
    for (int c = 0; c < t.columnCount(); ++c) out.push_back(t.cell(c, r));
    return out;
}

std::vector<int> heights(const LedgerTable& t) {
    std::vector<int> out;
    for (int r = 0; r < t.rowCount(); ++r) out.push_back(t.rowHeight(r));
    return out;
}

std::vector<int> widths(const LedgerTable& t) {
    std::vector<int> out;
    for (int c = 0; c < t.columnCount(); ++c) out.push_back(t.columnWidth(c));
    return out;
}

// "left,top-right,bottom", readable in a failure.
std::string corners(const CellBlock& b) {
    return std::to_string(b.left) + "," + std::to_string(b.top) + "-" + std::to_string(b.right) +
           "," + std::to_string(b.bottom);
}

ConfirmDelete answering(bool yes, std::vector<std::string>* asked = nullptr) {
    return [yes, asked](const std::string& question) {
        if (asked) asked->push_back(question);
        return yes;
    };
}

TEST(InsertRows, EmptyRowsTakeTheBlockPlaceAndTheRestMovesDownWithHeights) {
    struct Case {
        int top, bottom;
        std::vector<std::string> column2;
        std::vector<int> heights;
    } cases[] = {
        // Rows 3..4 of 6: former 3, 4, 5 become 5, 6, 7.
        {3,
         4,
         {"T2", "r1c2", "r2c2", "", "", "r3c2", "r4c2", "r5c2"},
         {30, 31, 32, 20, 20, 33, 34, 35}},
        // Only the last row: the empty row goes above it.
        {5, 5, {"T2", "r1c2", "r2c2", "r3c2", "r4c2", "", "r5c2"}, {30, 31, 32, 33, 34, 20, 35}},
        // Every data row.
        {1,
         5,
         {"T2", "", "", "", "", "", "r1c2", "r2c2", "r3c2", "r4c2", "r5c2"},
         {30, 20, 20, 20, 20, 20, 31, 32, 33, 34, 35}},
    };
    for (const Case& k : cases) {
        LedgerTable t = tracedTable(6, 6);
        t.setSelection({2, k.top, 4, k.bottom});
        insertRows(t);
        EXPECT_EQ(column(t, 2), k.column2) << k.top << ".." << k.bottom;
        EXPECT_EQ(heights(t), k.heights) << k.top << ".." << k.bottom;
        EXPECT_EQ(t.columnCount(), 6);
        EXPECT_EQ(corners(t.selection()), corners({2, k.top, 4, k.bottom}));
    }
}

TEST(InsertRows, MovesEveryColumnAndClearsEveryCellOfTheNewRows) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({3, 2, 3, 2});
    insertRows(t);
    EXPECT_EQ(row(t, 2), std::vector<std::string>(6));
    EXPECT_EQ(row(t, 3), (std::vector<std::string>{"x2", "r2c1", "r2c2", "r2c3", "r2c4", "r2c5"}));
    EXPECT_EQ(row(t, 6), (std::vector<std::string>{"x5", "r5c1", "r5c2", "r5c3", "r5c4", "r5c5"}));
}

TEST(RowColumnOps, BlocksOutsideTheDataCellsChangeNothing) {
    const CellBlock notData[] = {{0, 0, 0, 0}, {1, 0, 2, 2}, {0, 1, 2, 2},
                                 {1, 3, 2, 6}, {1, 1, 6, 1}, {2, 3, 1, 3}};
    for (const CellBlock& b : notData) {
        LedgerTable t = tracedTable(6, 6);
        t.setSelection(b);
        t.clearChanged();
        int asked = 0;
        const ConfirmDelete yes = [&asked](const std::string&) { return ++asked, true; };
        insertRows(t);
        insertColumns(t);
        deleteRows(t, yes);
        deleteColumns(t, yes);
        erase(t);
        const LedgerTable fresh = tracedTable(6, 6);
        EXPECT_EQ(t.rowCount(), 6);
        EXPECT_EQ(t.columnCount(), 6);
        for (int r = 0; r < 6; ++r) EXPECT_EQ(row(t, r), row(fresh, r));
        EXPECT_EQ(asked, 0);
    }
}

TEST(DeleteRows, RowsBelowMoveUpWhileHeightsStayWithPositions) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({1, 2, 1, 3});
    t.clearChanged();
    std::vector<std::string> asked;
    deleteRows(t, answering(true, &asked));
    EXPECT_TRUE(t.changed());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "2行目から3行目までを削除しますか？");
    EXPECT_EQ(column(t, 2), (std::vector<std::string>{"T2", "r1c2", "r4c2", "r5c2"}));
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"", "x1", "x4", "x5"}));
    EXPECT_EQ(heights(t), (std::vector<int>{30, 31, 32, 33}));
}

TEST(DeleteRows, EveryDataRowLeavesOneEmptyRowAndTheTitles) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({2, 1, 3, 5});
    t.clearChanged();
    deleteRows(t, answering(true));
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"", "T1", "T2", "T3", "T4", "T5"}));
    EXPECT_EQ(row(t, 1), std::vector<std::string>(6));
    EXPECT_EQ(heights(t), (std::vector<int>{30, 31}));
    EXPECT_EQ(corners(t.selection()), "2,1-3,1");
}

TEST(DeleteRows, DeclinedLeavesTheTableUnchanged) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({1, 2, 5, 4});
    t.clearChanged();
    deleteRows(t, answering(false));
    EXPECT_FALSE(t.changed());
    const LedgerTable fresh = tracedTable(6, 6);
    ASSERT_EQ(t.rowCount(), 6);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(row(t, r), row(fresh, r));
}

TEST(DeleteRows, SelectionAndCurrentCellStayInsideTheSmallerTable) {
    struct Case {
        CellBlock selected;
        CellBlock after;
    } cases[] = {
        {{1, 4, 2, 5}, {1, 3, 2, 3}},  // the last rows go: pulled up to the new last row
        {{1, 2, 2, 3}, {1, 2, 2, 3}},  // still inside: stays where it was
        {{3, 1, 3, 5}, {3, 1, 3, 1}},  // every data row
    };
    for (const Case& k : cases) {
        LedgerTable t = tracedTable(6, 6);
        t.setSelection(k.selected);
        t.clearChanged();
        deleteRows(t, answering(true));
        EXPECT_EQ(corners(t.selection()), corners(k.after));
    }
}

TEST(AppendRow, AfterADeleteTheNewRowIsEmptyAndOfDefaultHeight) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({1, 4, 1, 5});
    t.clearChanged();
    deleteRows(t, answering(true));
    appendRow(t);
    appendRow(t);
    ASSERT_EQ(t.rowCount(), 6);
    EXPECT_EQ(row(t, 4), std::vector<std::string>(6));
    EXPECT_EQ(row(t, 5), std::vector<std::string>(6));
    EXPECT_EQ(t.rowHeight(5), t.defaultRowHeight());
    EXPECT_EQ(row(t, 3), (std::vector<std::string>{"x3", "r3c1", "r3c2", "r3c3", "r3c4", "r3c5"}));
}

TEST(InsertColumns, TitlesTravelAndTheNewColumnsAreEmptyAndNarrow) {
    LedgerTable t = tracedTable(6, 3);
    t.setSelection({2, 1, 3, 2});
    insertColumns(t);
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"", "T1", "", "", "T2", "T3", "T4", "T5"}));
    EXPECT_EQ(row(t, 2),
              (std::vector<std::string>{"x2", "r2c1", "", "", "r2c2", "r2c3", "r2c4", "r2c5"}));
    EXPECT_EQ(widths(t), (std::vector<int>{100, 101, 20, 20, 102, 103, 104, 105}));
}

TEST(InsertColumns, AtTheLastColumnPutsTheEmptyColumnBeforeIt) {
    LedgerTable t = tracedTable(6, 3);
    t.setSelection({5, 2, 5, 2});
    insertColumns(t);
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"", "T1", "T2", "T3", "T4", "", "T5"}));
    EXPECT_EQ(widths(t), (std::vector<int>{100, 101, 102, 103, 104, 20, 105}));
}

TEST(AppendColumn, IsEmptyWithTitleAndOfDefaultWidth) {
    LedgerTable t = tracedTable(6, 3);
    appendColumn(t);
    ASSERT_EQ(t.columnCount(), 7);
    EXPECT_EQ(column(t, 6), std::vector<std::string>(3));
    EXPECT_EQ(t.columnWidth(6), 64);
    EXPECT_EQ(row(t, 1).at(5), "r1c5");
}

TEST(DeleteColumns, ColumnsRightMoveLeftWhileWidthsStayWithPositions) {
    LedgerTable t = tracedTable(6, 3);
    t.setSelection({2, 2, 3, 2});
    std::vector<std::string> asked;
    deleteColumns(t, answering(true, &asked));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "2列目から3列目までを削除しますか？");
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"", "T1", "T4", "T5"}));
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"x1", "r1c1", "r1c4", "r1c5"}));
    EXPECT_EQ(widths(t), (std::vector<int>{100, 101, 102, 103}));
    EXPECT_EQ(heights(t), (std::vector<int>{30, 31, 32}));
}

TEST(DeleteColumns, EveryDataColumnLeavesOneEmptyUntitledColumn) {
    LedgerTable t = tracedTable(6, 3);
    t.setSelection({1, 1, 5, 2});
    deleteColumns(t, answering(true));
    ASSERT_EQ(t.columnCount(), 2);
    EXPECT_EQ(column(t, 1), std::vector<std::string>(3));
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"", "x1", "x2"}));
    EXPECT_EQ(widths(t), (std::vector<int>{100, 101}));
    EXPECT_EQ(corners(t.selection()), "1,1-1,2");
}

TEST(DeleteColumns, DeclinedChangesNothing) {
    LedgerTable t = tracedTable(6, 3);
    t.setSelection({1, 1, 2, 1});
    deleteColumns(t, answering(false));
    EXPECT_EQ(t.columnCount(), 6);
    EXPECT_EQ(widths(t), widths(tracedTable(6, 3)));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(row(t, r), row(tracedTable(6, 3), r));
}

TEST(Erase, EmptiesTheBlockOnlyAndMarksTheDayView) {
    LedgerTable t = tracedTable(6, 6);
    t.setSelection({2, 2, 3, 4});
    t.clearChanged();
    erase(t);
    EXPECT_TRUE(t.changed());
    EXPECT_EQ(t.rowCount(), 6);
    EXPECT_EQ(t.columnCount(), 6);
    EXPECT_EQ(heights(t), (std::vector<int>{30, 31, 32, 33, 34, 35}));
    const LedgerTable fresh = tracedTable(6, 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c) {
            const bool inBlock = c >= 2 && c <= 3 && r >= 2 && r <= 4;
            EXPECT_EQ(t.cell(c, r), inBlock ? std::string() : fresh.cell(c, r)) << c << "," << r;
        }
}

}  // namespace
}  // namespace orvo
