#include "base/Cp932.h"

#include <gtest/gtest.h>

#include "ledger/LedgerRecords.h"

namespace orvo::cp932 {
namespace {

TEST(Cp932, CharacterLengthNeverSplitsADoubleByteCharacter) {
    struct Case {
        std::string text;
        std::size_t pos;
        std::size_t expected;
    } cases[] = {
        {"表", 0, 2},                            // 0x95 0x5C: the trail byte is a backslash
        {"a表", 1, 2},      {"\x81", 0, 1},      // lone lead byte at the end
        {"\x81\t", 0, 1},                        // lead byte before TAB swallows nothing
        {"\x81\r\n", 0, 1}, {"\x81\x7F", 0, 1},  // 0x7F is no trail byte
        {"\xA0", 0, 1},                          // single-byte area between the lead ranges
        {"\xFC\xFC", 0, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(charLength(c.text, c.pos), c.expected) << c.text;
}

TEST(Cp932, LeadByteRangesEndExactlyWhereTheyShould) {
    const struct {
        unsigned char byte;
        bool lead;
    } edges[] = {{0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false},
                 {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}};
    for (const auto& e : edges) {
        const std::string b(1, static_cast<char>(e.byte));
        EXPECT_EQ(isLeadByte(e.byte), e.lead) << int(e.byte);
        EXPECT_EQ(charLength(b + "A", 0), e.lead ? 2u : 1u) << int(e.byte);
        // A trail byte is never case-folded: after a lead byte "A" and "a" differ.
        EXPECT_EQ(compareRecordLines(b + "A", b + "a") != 0, e.lead) << int(e.byte);
    }
}

TEST(Cp932, DecodesTrailBackslashAndControlBytesAsThemselves) {
    EXPECT_EQ(toUtf8("表ソ十能予"), reinterpret_cast<const char*>(u8"表ソ十能予"));
    EXPECT_EQ(toUtf8("\x1A\x1C\x7F\x1B"), "\x1A\x1C\x7F\x1B");
    EXPECT_EQ(toUtf8("\\"), "\\");
}

// ASCII alone skips the converter: each byte as the converter gives it
// within text that needs it.
TEST(Cp932, AsciiAloneConvertsAsWithinOtherText) {
    const std::string kanji = "\x95\x5C";  // CP932 of U+8868, whose trail byte is a backslash
    const std::string kanjiUtf8 = "\xE8\xA1\xA8";
    std::string all;
    for (int b = 0; b < 0x80; ++b) all += static_cast<char>(b);
    for (const std::string& ascii : {all, std::string("\\~"), std::string()}) {
        EXPECT_EQ(toUtf8(ascii) + kanjiUtf8, toUtf8(ascii + kanji));
        const Encoded alone = fromUtf8(ascii);
        const Encoded within = fromUtf8(ascii + kanjiUtf8);
        EXPECT_TRUE(alone.ok() && within.ok());
        EXPECT_EQ(alone.bytes + kanji, within.bytes);
    }
}

TEST(Cp932, UndecodableBytesBecomeReplacementWithoutSwallowingTheNextCharacter) {
    EXPECT_EQ(toUtf8("\x81\tA"), "\xEF\xBF\xBD\tA");
    EXPECT_EQ(toUtf8("A\x81"), "A\xEF\xBF\xBD");
}

TEST(Cp932, RoundTripsTheNecAndIbmRows) {
    // NEC row 13 (circled digits) and IBM extensions survive decode and encode.
    std::string text = "\x87\x40\xFA\x40\xFA\x5C";
    Encoded back = fromUtf8(toUtf8(text));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, text);
}

TEST(Cp932, UnencodableCharactersAreReportedNotSubstituted) {
    // Outside the assertion macros: they stringify their arguments into the
    // CP932 execution character set, which has no emoji.
    const std::string utf8 = reinterpret_cast<const char*>(u8"a😀b한😀");
    const std::string expectedBad = reinterpret_cast<const char*>(u8"😀한");
    Encoded e = fromUtf8(utf8);
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(e.bytes, "ab");
    EXPECT_EQ(e.unencodable, expectedBad);
}

}  // namespace
}  // namespace orvo::cp932
