// CSV lines: the splitting of a line into fields, the reading of a file
// line by line, and the line the export writes.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ledger/CsvLine.h"
#include "ledger/CsvLineReader.h"

namespace orvo {
namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
    CsvFields fields;
    splitCsvLine(line, fields);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < fields.size(); ++i) out.emplace_back(fields[i]);
    return out;
}

struct SplitCase {
    const char* rule;
    std::string line;
    std::vector<std::string> fields;
};

TEST(CsvLine, SplitsAsTheReaderRulesSay) {
    const SplitCase cases[] = {
        {"a record",
         "2002/05/20,食費,外食,1200,,昼食",
         {"2002/05/20", "食費", "外食", "1200", "", "昼食"}},
        {"codes 1 to 32 around fields", " \t a ,\x01 b  ", {"a", "b"}},
        {"a blank in an unquoted text", "昼食 代", {"昼食", "代"}},
        {"a blank in a long unquoted line",
         "2002/05/20,昼食 代,1200,0,x",
         {"2002/05/20", "昼食", "代", "1200", "0", "x"}},
        {"a control character ends a field",
         "a\x1B"
         "b,c",
         {"a", "b", "c"}},
        {"quoted commas and blanks", "\"昼食 代\",\"a,b\"", {"昼食 代", "a,b"}},
        {"a pair of quotes is one", "\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"an empty quoted field", "\"\",x", {"", "x"}},
        {"text right after the closing quote", "\"ab\"cd", {"ab", "cd"}},
        {"a trailing comma", "a,b,", {"a", "b", ""}},
        {"a trailing comma, long line", "2002/05/20,,a,,1,", {"2002/05/20", "", "a", "", "1", ""}},
        {"a quote in a long line", "2002/05/20,a,\"b,c\"", {"2002/05/20", "a", "b,c"}},
        {"a comma and blanks at the end", "a,b, ", {"a", "b"}},
        {"a leading comma", ",a", {"", "a"}},
        {"two commas", "a,,b", {"a", "", "b"}},
        {"an empty line", "", {}},
        {"a line of blanks", " \t ", {}},
        {"0x5C trail bytes", "ソ表,\"ソ表\"x", {"ソ表", "ソ表", "x"}},
        {"a lead byte before a comma stands alone", "\x83,b", {"\x83", "b"}},
        {"an unclosed quote runs to the end", "a,\"b, c", {"a", "b, c"}},
        {"a quoted TAB becomes a blank", "\"a\tb\",c", {"a b", "c"}},
        {"a CR is dropped", "a\rb,\rc", {"ab", "c"}},
        {"a CR in a long line", "2002/05/20,a\rb,1,2", {"2002/05/20", "ab", "1", "2"}},
        {"NUL is no separator", std::string("a\0b,c", 5), {std::string("a\0b", 3), "c"}},
    };
    for (const auto& c : cases) EXPECT_EQ(fieldsOf(c.line), c.fields) << c.rule;
}

TEST(CsvLine, FieldsJoinedByTabMakeTheRecordLine) {
    CsvFields fields;
    splitCsvLine("2002/05/20,食費,,1200,,\"a,b\",", fields);
    EXPECT_EQ(fields.recordLine(), "2002/05/20\t食費\t\t1200\t\ta,b\t");
}

// The lines of a text, read from memory and streamed from a file through a
// buffer of four bytes, so that lines straddle refills.
std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> out;
    std::string_view line;
    CsvLineReader inMemory(text);
    while (inMemory.next(line)) out.emplace_back(line);

    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CsvLineReader streamed(file, 4);
    std::vector<std::string> streamedLines;
    while (streamed.next(line)) streamedLines.emplace_back(line);
    std::fclose(file);
    EXPECT_EQ(streamedLines, out) << text;
    return out;
}

struct CutCase {
    const char* rule;
    std::string text;
    std::vector<std::string> lines;
};

TEST(CsvLine, ReadsAFileLineByLine) {
    const CutCase cases[] = {
        {"CR LF and LF", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"the last line without a line end", "a\r\nb", {"a", "b"}},
        {"a CR before LF ends the line, others stay", "a\rb\r\r\nc\r", {"a\rb\r", "c"}},
        {"0x1A ends the file",
         "a\r\n\x1A"
         "b\r\n",
         {"a"}},
        {"an empty last line", "a\r\n\r\n", {"a", ""}},
        {"an empty file", "", {}},
        {"a trail byte is no line end", "ソ\r\n表", {"ソ", "表"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.text), c.lines) << c.rule;
}

TEST(CsvLine, ExportQuotesOnlyTheFieldsThatNeedIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"2002/05/20\t食費\t\t1200\t0\tソ表", "2002/05/20,食費,,1200,0,ソ表"},
        {"x", "x"},
        {"2002/05/20\t食費\t\t1200\t0\tイオン まとめ買い",
         "2002/05/20,食費,,1200,0,\"イオン まとめ買い\""},
        {"a,b\t\"q\"\t\x1Bz\t\x01\t", "\"a,b\",\"\"\"q\"\"\",\"\x1Bz\",\"\x01\","},
        {std::string("a\0b", 3), std::string("\"a\0b\"", 5)},
        {"short, line", "\"short, line\""},
    };
    for (const auto& [record, line] : cases) {
        std::string out = "x";
        appendCsvLine(record, out);
        EXPECT_EQ(out, "x" + line + "\r\n") << record;
    }
}

}  // namespace
}  // namespace orvo
