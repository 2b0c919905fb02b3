// The search: matching, result lines, jump, and the bulk replace of the
// listed records.

#include <gtest/gtest.h>

#include <algorithm>

#include "CoreTestSupport.h"
#include "ledger/LedgerBook.h"
#include "ledger/SearchList.h"
#include "ledger/SearchMatch.h"

namespace orvo {
namespace {

struct MatchCase {
    const char* keyword;
    const char* line;
    bool found;
};

TEST(SearchMatch, UpperCasesEveryByteAndMatchesAtCharacterBoundaries) {
    const MatchCase cases[] = {
        {"abc", "2002/05/20\tx\t\t1\t0\tABC", true},
        {"ABC", "2002/05/20\tx\t\t1\t0\taBc", true},
        {"abc", "xAbC", true},  // lines of every length fold alike
        {"abc", "1234567aBc", true},
        {"ア", "2002/05/20\tヂ", true},  // 83 61 upper-cases to 83 41
        {"ヂ", "2002/05/20\tア", true},
        {"A", "2002/05/20\tア", false},   // 0x41 only as a trail byte
        {"\\", "2002/05/20\tソ", false},  // 0x5C only as a trail byte
        {"A", "2002/05/20\tアa", true},   // a later hit on a boundary
        {"食費\t外", "2002/05/20\t食費\t外食", true},
        {"2002/05", "2002/05/20\t食費", true},
        {"", "2002/05/20\t食費", false},
        {"2002/05/20\t食費\tx", "2002/05/20\t食費", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeywordMatcher(c.keyword).matches(c.line), c.found)
            << c.keyword << " in " << c.line;
}

TEST(SearchMatch, ResultLineFollowsEveryFieldButTheLastWithTabAndFiveBlanks) {
    EXPECT_EQ(resultLineOf("2002/05/20\t食費\t外食\t1200\t\t昼食"),
              "2002/05/20\t     食費\t     外食\t     1200\t     \t     昼食");
}

struct ReplaceCase {
    const char* line;
    const char* keyword;
    const char* newText;
    const char* result;
};

TEST(SearchMatch, ReplacesLeftToRightWithoutOverlapIgnoringAsciiCase) {
    const ReplaceCase cases[] = {
        {"aaaa", "aa", "b", "bb"},
        {"AAA", "aa", "x", "xA"},
        {"ab", "a", "aa", "aab"},  // the inserted text is not searched again
        {"Gaishoku GAISHOKU", "gaishoku", "Kaishoku", "Kaishoku Kaishoku"},
        {"ヂ", "ア", "x", "ヂ"},  // trail bytes compare exactly
        {"ヂア", "ア", "x", "ヂx"},
        {"ソ\\", "\\", "/", "ソ/"},  // not the trail byte of ソ
        {"外食", "", "x", "外食"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replaceIgnoringAsciiCase(c.line, c.keyword, c.newText), c.result) << c.line;
}

class Search : public ::testing::Test {
protected:
    void SetUp() override {
        book.ResetLedgerTable();
        book.setPickedDay({2002, 5, 20});
        for (const char* r :
             {"2002/05/19\t食費\t外食\t1000\t0\t", "2002/05/20\t食費\t外食\t1200\t0\t昼食",
              "2002/05/20\t食費\t食料品\t300\t0\t外食の材料",
              "2002/05/21\t交際費\t会食\t5000\t0\t"})
            book.addRecords({r});
        book.setCumulativeTotals(7500, 0);
        book.ShowDay();
    }
    std::vector<std::string> listed() const {
        std::vector<std::string> out;
        for (std::size_t k = 0; k < list.size(); ++k) out.push_back(list.resultLine(k));
        return out;
    }
    std::vector<std::string> records() const { return recordLines(book.records()); }

    LedgerBook book;
    SearchList list;
};

TEST_F(Search, ListsMatchingRecordsInLedgerOrderAndRemovesLines) {
    EXPECT_EQ(list.search(book.records(), "外食"), 3u);
    list.removeAt(0);
    EXPECT_EQ(listed(),
              (std::vector<std::string>{
                  "2002/05/20\t     食費\t     外食\t     1200\t     0\t     昼食",
                  "2002/05/20\t     食費\t     食料品\t     300\t     0\t     外食の材料"}));
    EXPECT_EQ(list.search(book.records(), "会食"), 1u);  // a new search replaces the list
    EXPECT_EQ(list.recordLine(0), "2002/05/21\t交際費\t会食\t5000\t0\t");
}

TEST_F(Search, JumpShowsTheListedLinesOwnDate) {
    list.search(book.records(), "会食");
    jumpToResult(book, list, 0);
    EXPECT_EQ(book.pickedDay(), (LedgerDate{2002, 5, 21}));
    EXPECT_EQ(book.table().cell(1, 1), "交際費");
    EXPECT_EQ(errorOf([] { dateOfResultLine("abc\t     x"); }), "'abc' は日付ではありません");
}

TEST_F(Search, ReplaceChangesOnlyListedRecordsMovesRedatedOnesAndResumsTotals) {
    list.search(book.records(), "05/20\t食費");
    list.removeAt(1);  // leaves the record with 食料品 out
    const auto outcome = replaceListed(book, list, "05/20", "05/22");
    EXPECT_EQ(outcome.changed, 1u);
    EXPECT_EQ(records(), (std::vector<std::string>{"2002/05/19\t食費\t外食\t1000\t0\t",
                                                   "2002/05/20\t食費\t食料品\t300\t0\t外食の材料",
                                                   "2002/05/21\t交際費\t会食\t5000\t0\t",
                                                   "2002/05/22\t食費\t外食\t1200\t0\t昼食"}));
    EXPECT_EQ(book.totals().allOut, 7500);
    EXPECT_EQ(book.totals().dayOut, 300);  // the picked day shown again
    EXPECT_EQ(book.table().cell(2, 1), "食料品");
}

TEST_F(Search, ReplaceAfterTheLedgerChangedActsOnlyOnRecordsTheListShows) {
    list.search(book.records(), "外食");
    // The listed day is edited and written back: one listed record changed,
    // and a record added before it shifts every position.
    book.markDayViewChanged();
    book.editCell(5, 1, "夕食");
    book.Recalculate();
    book.addRecords({"2002/05/01\t外食\t\t1\t0\t"});
    replaceListed(book, list, "外食", "会食");
    EXPECT_EQ(records(), (std::vector<std::string>{"2002/05/01\t外食\t\t1\t0\t",
                                                   "2002/05/19\t食費\t会食\t1000\t0\t",
                                                   "2002/05/20\t食費\t外食\t1200\t0\t夕食",
                                                   "2002/05/20\t食費\t食料品\t300\t0\t会食の材料",
                                                   "2002/05/21\t交際費\t会食\t5000\t0\t"}));
}

TEST_F(Search, ALineBreakOrTabInTheNewTextStaysInsideTheField) {
    list.search(book.records(), "会食");
    replaceListed(book, list, "会食", "会\r\n食\n\tx");
    EXPECT_EQ(records().back(), "2002/05/21\t交際費\t会\x1B食\x1B x\t5000\t0\t");
}

TEST_F(Search, EqualListedLinesStandForAsManyRecords) {
    book.addRecords({"2002/05/19\t食費\t外食\t1000\t0\t"});
    list.search(book.records(), "05/19");
    book.removeRecords({0});  // one of the two is gone
    const auto outcome = replaceListed(book, list, "外食", "会食");
    EXPECT_EQ(outcome.changed, 1u);
    EXPECT_EQ(outcome.missing, 1u);
    EXPECT_EQ(records()[0], "2002/05/19\t食費\t会食\t1000\t0\t");
}

TEST_F(Search, OfTwoEqualListedLinesOneTakenOutTheOtherStandsForOneRecordAfterAShift) {
    book.addRecords({"2002/05/19\t食費\t外食\t1000\t0\t"});
    EXPECT_EQ(list.search(book.records(), "05/19"), 2u);
    list.removeAt(1);
    book.addRecords({"2002/05/01\t交際費\t\t1\t0\t"});  // every position shifts
    const auto outcome = replaceListed(book, list, "外食", "会食");
    EXPECT_EQ(outcome.changed, 1u);
    EXPECT_EQ(outcome.missing, 0u);
    const auto lines = records();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "2002/05/19\t食費\t外食\t1000\t0\t"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "2002/05/19\t食費\t会食\t1000\t0\t"), 1);
}

TEST_F(Search, ManyChangesKeepTheOrderOfTheRecordsLeftAlone) {
    book.startNewLedger();
    for (int i = 0; i < 1500; ++i) book.addRecords({"2002/05/20\ta\t\t1\t0\t"});
    book.addRecords({"2002/05/19\tx\t\t1\t0\t"});
    book.addRecords({"2002/05/19\tX\t\t1\t0\t"});  // stands first, compares equal
    const auto before = records();
    list.search(book.records(), "a");
    EXPECT_EQ(replaceListed(book, list, "a", "b").changed, 1500u);
    const auto after = records();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after.back(), "2002/05/20\tb\t\t1\t0\t");
    EXPECT_EQ(book.totals().allOut, 1502);
}

}  // namespace
}  // namespace orvo
