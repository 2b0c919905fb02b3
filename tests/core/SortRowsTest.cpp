#include "ledger/SortRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

// Rows 1.. get the keys in column 3 and a tag naming their former row in
// column 1; column 0 holds "x<row>" and rows are 30 + r high, which a sort
// must leave in place.
LedgerTable keyedTable(const std::vector<std::string>& keys) {
    LedgerTable t;
    t.setColumnCount(6);
    t.setRowCount(static_cast<int>(keys.size()) + 1);
    for (int c = 1; c < 6; ++c) t.setCell(c, 0, "T" + std::to_string(c));
    for (int r = 1; r < t.rowCount(); ++r) {
        t.setCell(0, r, "x" + std::to_string(r));
        t.setCell(1, r, "row" + std::to_string(r));
        t.setCell(3, r, keys[static_cast<std::size_t>(r - 1)]);
        t.setCell(5, r, "d" + std::to_string(r));
        t.setRowHeight(r, 30 + r);
    }
    return t;
}

std::vector<std::string> column(const LedgerTable& t, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < t.rowCount(); ++r) out.push_back(t.cell(col, r));
    return out;
}

TEST(CompareBytes, UnsignedBytesThenLength) {
    struct Case {
        std::string a, b;
        int sign;
    } cases[] = {
        {"1000", "200", -1},
        {"", "a", -1},
        {"A", "AB", -1},
        {"Z", "a", -1},            // upper case before lower case
        {"~", "\xB1", -1},         // half-width katakana after ASCII
        {"\x7F", "\x82\xA0", -1},  // a lead byte is above every ASCII byte
        {"\x82\xA0", "\xB1", -1},  // and bytes decide, not character classes
        {"\x82\xA0", "\x82\xA0", 0},
        {"abc", "abc", 0},
    };
    for (const Case& k : cases) {
        const int ab = compareBytes(k.a, k.b);
        const int ba = compareBytes(k.b, k.a);
        EXPECT_EQ((ab > 0) - (ab < 0), k.sign) << k.a << " vs " << k.b;
        EXPECT_EQ((ba > 0) - (ba < 0), -k.sign) << k.b << " vs " << k.a;
    }
}

TEST(SortRows, KeysAreOrderedAsBytes) {
    struct Case {
        const char* what;
        std::vector<std::string> keys;
        SortOrder order;
        std::vector<std::string> sorted;
    } cases[] = {
        {"amounts ascending", {"50", "1000", "200"}, SortOrder::Ascending, {"1000", "200", "50"}},
        {"amounts descending", {"50", "1000", "200"}, SortOrder::Descending, {"50", "200", "1000"}},
        {"empty first ascending", {"b", "", "a", ""}, SortOrder::Ascending, {"", "", "a", "b"}},
        {"empty last descending", {"", "b", "", "a"}, SortOrder::Descending, {"b", "a", "", ""}},
        {"lower case after upper",
         {"a", "Z", "B", "b"},
         SortOrder::Ascending,
         {"B", "Z", "a", "b"}},
        {"katakana and kanji after ASCII",
         {"ｱ", "z", "食費", "A", "あ"},
         SortOrder::Ascending,
         {"A", "z", "あ", "食費", "ｱ"}},
    };
    for (const Case& k : cases) {
        LedgerTable t = keyedTable(k.keys);
        sortRows(t, 3, k.order);
        EXPECT_EQ(column(t, 3), k.sorted) << k.what;
    }
}

TEST(SortRows, EqualKeysEndInTheOrderTheExchangesGive) {
    struct Case {
        std::vector<std::string> keys;
        SortOrder order;
        std::vector<std::string> formerRows;
    } cases[] = {
        // Rows 1 and 3 exchange in the first pass; the two B's are then equal.
        {{"B", "B", "A"}, SortOrder::Ascending, {"row3", "row2", "row1"}},
        {{"A", "A", "B"}, SortOrder::Descending, {"row3", "row2", "row1"}},
        {{"B", "A", "B", "A"}, SortOrder::Ascending, {"row2", "row4", "row3", "row1"}},
        {{"A", "A", "A"}, SortOrder::Ascending, {"row1", "row2", "row3"}},
    };
    for (const Case& k : cases) {
        LedgerTable t = keyedTable(k.keys);
        sortRows(t, 3, k.order);
        EXPECT_EQ(column(t, 1), k.formerRows);
    }
}

TEST(SortRows, WholeRowsMoveButColumn0HeightsAndTitlesStay) {
    LedgerTable t = keyedTable({"c", "a", "b"});
    sortRows(t, 3, SortOrder::Ascending);
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"row2", "row3", "row1"}));
    EXPECT_EQ(column(t, 5), (std::vector<std::string>{"d2", "d3", "d1"}));
    EXPECT_EQ(column(t, 0), (std::vector<std::string>{"x1", "x2", "x3"}));
    EXPECT_EQ(t.cell(3, 0), "T3");
    for (int r = 1; r < t.rowCount(); ++r) EXPECT_EQ(t.rowHeight(r), 30 + r);
}

TEST(SortRows, FewerThanTwoDataRowsOrAKeyOutsideChangeNothing) {
    LedgerTable one = keyedTable({"z"});
    sortRows(one, 3, SortOrder::Ascending);
    EXPECT_EQ(column(one, 3), (std::vector<std::string>{"z"}));

    LedgerTable outside = keyedTable({"b", "a"});
    sortRows(outside, 6, SortOrder::Ascending);
    sortRows(outside, -1, SortOrder::Ascending);
    EXPECT_EQ(column(outside, 3), (std::vector<std::string>{"b", "a"}));
}

}  // namespace
}  // namespace orvo
