#include "ledger/ClipboardBlock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

// Titles "T1".., column 0 "x3", data cells named by their place ("3,2" is
// column 3, row 2).
LedgerTable namedTable(int cols, int rows) {
    LedgerTable t;
    t.setColumnCount(cols);
    t.setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            std::string text = std::to_string(c) + "," + std::to_string(r);
            if (r == 0) text = c == 0 ? "" : "T" + std::to_string(c);
            if (c == 0 && r > 0) text = "x" + std::to_string(r);
            t.setCell(c, r, text);
        }
    return t;
}

// The cells where `after` differs from `before`, as "col,row=text" lines.
std::vector<std::string> changedCells(const LedgerTable& before, const LedgerTable& after) {
    std::vector<std::string> out;
    for (int r = 0; r < after.rowCount(); ++r)
        for (int c = 0; c < after.columnCount(); ++c)
            if (after.cell(c, r) != before.cell(c, r))
                out.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + after.cell(c, r));
    return out;
}

TEST(BlockText, JoinsCellsByTabAndEndsEveryRowWithEsc) {
    LedgerTable t = namedTable(6, 6);
    t.setCell(2, 3, "a");
    t.setCell(3, 3, "b");
    t.setCell(4, 3, "c");
    t.setCell(2, 4, "d");
    t.setCell(3, 4, "");
    t.setCell(4, 4, "f\r\ng");
    EXPECT_EQ(blockText(t, {2, 3, 4, 4}),
              "a\tb\tc\x1B"
              "d\t\tf\r\ng\x1B");
    EXPECT_EQ(blockText(t, {3, 3, 3, 3}), "b\x1B");
    EXPECT_EQ(blockText(t, {3, 4, 3, 4}), "\x1B");
    EXPECT_EQ(blockText(t, {3, 3, 6, 3}), "");  // runs past the last column
}

TEST(Paste, OneCopiedCellSetsExactlyOneCell) {
    LedgerTable t = namedTable(6, 6);
    t.setSelection({4, 2, 4, 2});
    const std::string text = copySelection(t);
    EXPECT_EQ(text, "4,2\x1B");
    const LedgerTable before = t;
    t.setSelection({1, 5, 3, 5});  // only the top-left cell anchors
    t.clearChanged();
    pasteAtSelection(t, text);
    EXPECT_TRUE(t.changed());
    EXPECT_EQ(changedCells(before, t), (std::vector<std::string>{"1,5=4,2"}));
}

TEST(Paste, CellsOutsideTheTableAreDroppedAndTheSizeStays) {
    const std::string block =
        "a\tb\tc\x1B"
        "d\te\tf\x1B"
        "g\th\ti\x1B"
        "j\tk\tl\x1B";
    struct Case {
        const char* what;
        int col, row;
        std::vector<std::string> changed;
    } cases[] = {
        {"anchor in the second-to-last column",
         4,
         1,
         {"4,1=a", "5,1=b", "4,2=d", "5,2=e", "4,3=g", "5,3=h", "4,4=j", "5,4=k"}},
        {"anchor in the last row", 1, 5, {"1,5=a", "2,5=b", "3,5=c"}},
        {"anchor in the last cell", 5, 5, {"5,5=a"}},
    };
    for (const Case& k : cases) {
        LedgerTable t = namedTable(6, 6);
        const LedgerTable before = t;
        pasteBlockText(t, k.col, k.row, block);
        EXPECT_EQ(changedCells(before, t), k.changed) << k.what;
        EXPECT_EQ(t.columnCount(), 6) << k.what;
        EXPECT_EQ(t.rowCount(), 6) << k.what;
    }
}

TEST(Paste, TextWithoutEscPastesNothing) {
    const char* texts[] = {"", "a\tb\r\nc\td\r\n", "single line"};
    for (const char* text : texts) {
        LedgerTable t = namedTable(6, 6);
        const LedgerTable before = t;
        t.setSelection({1, 1, 1, 1});
        t.clearChanged();
        pasteAtSelection(t, text);
        EXPECT_FALSE(t.changed()) << text;
        EXPECT_TRUE(changedCells(before, t).empty()) << text;
    }
}

TEST(Paste, AnchorInTheFixedRowOrColumnPastesNothing) {
    for (const CellBlock& anchor :
         {CellBlock{0, 0, 0, 0}, CellBlock{0, 2, 0, 2}, CellBlock{2, 0, 2, 0}}) {
        LedgerTable t = namedTable(6, 6);
        const LedgerTable before = t;
        t.setSelection(anchor);
        t.clearChanged();
        pasteAtSelection(t, "a\tb\x1B");
        EXPECT_FALSE(t.changed());
        EXPECT_TRUE(changedCells(before, t).empty()) << anchor.left << "," << anchor.top;
    }
}

TEST(Paste, TextAfterTheLastEscIsIgnored) {
    LedgerTable t = namedTable(6, 6);
    const LedgerTable before = t;
    pasteBlockText(t, 2, 2,
                   "a\x1B"
                   "b\tc");
    EXPECT_EQ(changedCells(before, t), (std::vector<std::string>{"2,2=a"}));
}

TEST(Paste, ATwoRowFiveColumnBlockWithMultiLineDescriptionsRoundTrips) {
    LedgerTable t = namedTable(6, 6);
    const std::vector<std::string> row1 = {"食費", "外食", "1200", "", "昼\r\n定食"};
    const std::vector<std::string> row2 = {"交通費", "", "", "300", "一行目\r\n二行目\r\n三行目"};
    for (int c = 1; c <= 5; ++c) {
        t.setCell(c, 1, row1[static_cast<std::size_t>(c - 1)]);
        t.setCell(c, 2, row2[static_cast<std::size_t>(c - 1)]);
    }
    t.setSelection({1, 1, 5, 2});
    const std::string text = copySelection(t);
    t.setSelection({1, 4, 1, 4});
    t.clearChanged();
    pasteAtSelection(t, text);
    for (int c = 1; c <= 5; ++c) {
        EXPECT_EQ(t.cell(c, 4), row1[static_cast<std::size_t>(c - 1)]) << c;
        EXPECT_EQ(t.cell(c, 5), row2[static_cast<std::size_t>(c - 1)]) << c;
    }
    EXPECT_EQ(t.cell(0, 4), "x4");
}

// Positions past 255 must land where they belong: an 8-bit counter would
// wrap into the title row and column 0.
TEST(Paste, LargeBlocksLandInPlacePastRowAndColumn255) {
    LedgerTable t = namedTable(300, 600);
    std::string text;
    for (int r = 0; r < 400; ++r) {
        for (int c = 0; c < 290; ++c) {
            if (c > 0) text += '\t';
            text += "p" + std::to_string(c) + "." + std::to_string(r);
        }
        text += '\x1B';
    }
    const LedgerTable before = t;
    pasteBlockText(t, 20, 300, text);
    int changed = 0;
    for (int r = 0; r < 600; ++r)
        for (int c = 0; c < 300; ++c) {
            const bool pasted = c >= 20 && r >= 300;
            const std::string expected =
                pasted ? "p" + std::to_string(c - 20) + "." + std::to_string(r - 300)
                       : before.cell(c, r);
            if (t.cell(c, r) != expected) {
                ADD_FAILURE() << "cell " << c << "," << r << " is " << t.cell(c, r);
                if (++changed > 5) return;
            }
        }
    EXPECT_EQ(t.rowCount(), 600);
    EXPECT_EQ(t.columnCount(), 300);
}

TEST(Move, ReturnsTheBlockAndLeavesItsCellsEmpty) {
    LedgerTable t = namedTable(6, 6);
    const LedgerTable before = t;
    t.setSelection({2, 3, 3, 4});
    t.clearChanged();
    const std::string text = moveSelection(t);
    EXPECT_EQ(text,
              "2,3\t3,3\x1B"
              "2,4\t3,4\x1B");
    EXPECT_TRUE(t.changed());
    EXPECT_EQ(changedCells(before, t), (std::vector<std::string>{"2,3=", "3,3=", "2,4=", "3,4="}));
}

}  // namespace
}  // namespace orvo
