// CSV lines: the splitting of a line into fields, the reading of a file
// line by line, and the line the export writes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
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

std::vector<std::string> linesFrom(CsvLineReader& reader) {
    std::vector<std::string> out;
    std::string_view line;
    while (reader.next(line)) out.emplace_back(line);
    return out;
}

// The lines of a text, read from memory, from a file (read whole into the
// loaded bytes) and from a pipe (read in pieces of what the pipe holds, so
// that lines straddle reads), which must agree.
std::vector<std::string> linesOf(const std::string& text) {
    CsvLineReader inMemory(text);
    const std::vector<std::string> out = linesFrom(inMemory);

    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    {
        CsvLineReader fromFile(::fileno(file), 0);
        EXPECT_EQ(linesFrom(fromFile), out) << text;
        EXPECT_FALSE(fromFile.failed());
    }
    std::fclose(file);

    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
        for (std::size_t at = 0; at < text.size();) {
            const ssize_t n = ::write(fds[1], text.data() + at, text.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
    });
    {
        CsvLineReader fromPipe(fds[0], 0);
        EXPECT_EQ(linesFrom(fromPipe), out) << text;
    }
    writer.join();
    ::close(fds[0]);
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

// Lines across the pieces a file is read in, longer than a piece, and the
// end of the file (0x1A) far from the start.
TEST(CsvLine, ReadsLinesAcrossPieces) {
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; text.size() < (1u << 20); ++i) {
        lines.push_back("2026/12/" + std::to_string(10 + i % 20) + ",line," + std::to_string(i));
        text += lines.back() + (i % 3 ? "\r\n" : "\n");
    }
    lines.push_back(std::string(600 * 1024, 'x'));
    text += lines.back() + "\r\nlast\x1A" + "after the end\r\n";
    lines.push_back("last");
    EXPECT_EQ(linesOf(text), lines);
}

// A line read from a file stands in the loaded bytes, where its record may
// take its place; one from a pipe or a text does not.
TEST(CsvLine, ALineFromAFileMayBeOverwrittenWhereItStands) {
    std::FILE* file = std::tmpfile();
    std::fputs("a,b\r\nc,d\n", file);
    std::fflush(file);
    CsvLineReader fromFile(::fileno(file), 0);
    std::string_view line;
    ASSERT_TRUE(fromFile.next(line));
    char* place = fromFile.placeOf(line);
    ASSERT_EQ(place, line.data());
    place[1] = '\t';
    EXPECT_EQ(line, "a\tb");
    ASSERT_TRUE(fromFile.next(line));
    EXPECT_EQ(line, "c,d");
    EXPECT_EQ(fromFile.consumed(), 9u);  // the whole file
    std::fclose(file);

    CsvLineReader inMemory(std::string_view("a,b\n"));
    ASSERT_TRUE(inMemory.next(line));
    EXPECT_EQ(inMemory.placeOf(line), nullptr);
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
