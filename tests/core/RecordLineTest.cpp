#include "ledger/RecordLine.h"

#include <gtest/gtest.h>

#include "ledger/LedgerBook.h"

namespace orvo {
namespace {

TEST(SplitRecord, CutsAtEveryTabIntoTheSharedList) {
    struct Case {
        std::string line;
        std::vector<std::string> fields;
    } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\tb", {"a", "b"}},
        {"a\t\tb", {"a", "", "b"}},
        {"\t", {"", ""}},
        {"2026/12/08\t食費\t外食\t1200\t0\t表参道",
         {"2026/12/08", "食費", "外食", "1200", "0", "表参道"}},
        // A lone lead byte before TAB does not take the TAB with it.
        {"\x81\tx", {"\x81", "x"}},
    };
    LedgerBook book;
    book.SplitRecord("stale\tfields\tfrom before");
    for (const Case& c : cases) {
        book.SplitRecord(c.line);
        EXPECT_EQ(book.recordFields(), c.fields) << c.line;
    }
}

TEST(LineBreaks, PackAndUnpackTheLastColumn) {
    EXPECT_EQ(PackLineBreaks("one\r\ntwo"), "one\x1Btwo");
    EXPECT_EQ(PackLineBreaks("a\r\nb\r\nc"),
              "a\x1B"
              "b\x1B"
              "c");
    EXPECT_EQ(PackLineBreaks("plain"), "plain");
    EXPECT_EQ(UnpackLineBreaks("a\x1B"
                               "b\x1B"
                               "c"),
              "a\r\nb\r\nc");
    EXPECT_EQ(UnpackLineBreaks("plain"), "plain");
}

TEST(LineBreaks, StrayBreaksAndTabsNeverCutTheRecord) {
    // A lone CR or LF is a line break too; a TAB would start a new field.
    EXPECT_EQ(PackLineBreaks("a\nb\rc"),
              "a\x1B"
              "b\x1B"
              "c");
    EXPECT_EQ(PackLineBreaks("a\tb"), "a b");
    const std::string packed = PackLineBreaks("x\r\n\r\ny\n\tz");
    EXPECT_EQ(packed.find_first_of("\r\n\t"), std::string::npos);
}

TEST(LineBreaks, DoubleByteCharactersWithBackslashTrailSurvive) {
    const std::string text = "表\r\nソ十能予";
    EXPECT_EQ(UnpackLineBreaks(PackLineBreaks(text)), text);
}

}  // namespace
}  // namespace orvo
