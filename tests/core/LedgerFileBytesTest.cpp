#include "ledger/LedgerFileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace orvo {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::unique_ptr<std::FILE, FileCloser> fileHolding(const std::string& text) {
    std::unique_ptr<std::FILE, FileCloser> f(std::tmpfile());
    std::fwrite(text.data(), 1, text.size(), f.get());
    std::fflush(f.get());
    std::rewind(f.get());
    return f;
}

// The record lines still to come, as a load reads them.
std::vector<std::string> recordLinesLeft(LedgerFileBytes& in) {
    std::vector<std::string> lines;
    for (;;) {
        in.skipControlsAndBlanks();
        if (in.atEnd()) return lines;
        lines.emplace_back(in.nextLine());
    }
}

TEST(LedgerFileBytes, LinesEndAtCrLfCrOrLf) {
    const std::string text = "first\r\nsecond\rthird\nfourth\r\n\r\nlast line without end";
    auto f = fileHolding(text);
    LedgerFileBytes in(::fileno(f.get()));
    std::vector<std::string> lines;
    while (!in.atEnd()) lines.emplace_back(in.nextLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "fourth", "",
                                               "last line without end"}));
    EXPECT_EQ(in.nextLine(), "");
}

// The file is read in pieces of 256 KiB: lines across a piece's end, a CR
// LF split by it and a line longer than a piece read as in one piece.
TEST(LedgerFileBytes, LinesAcrossPieces) {
    const std::size_t piece = 256 * 1024;
    std::string text = "a\r\n \t\r\n\x01  b\r\n";
    text += std::string(piece - text.size() - 1, 'x') + "\r\n";  // CR ends the first piece
    text += std::string(3 * piece, 'y') + "\r";
    text += "  c\n\rd";
    auto f = fileHolding(text);
    LedgerFileBytes in(::fileno(f.get()));
    EXPECT_EQ(in.nextLine(), "a");
    in.skipControlsAndBlanks();
    EXPECT_EQ(in.nextLine(), "b");
    const std::vector<std::string> read = recordLinesLeft(in);
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0], std::string(piece - 14, 'x'));
    EXPECT_EQ(read[1], std::string(3 * piece, 'y'));
    EXPECT_EQ(read[2], "c");
    EXPECT_EQ(read[3], "d");
}

// A plain file is read into bytes of the size it had when opened; what it
// grew by meanwhile is read on all the same, a line across that size too,
// by the reading.
TEST(LedgerFileBytes, AFileThatGrowsWhileReadIsReadToItsEnd) {
    const std::string first = std::string(2u << 20, 'a') + "\r\nb\r\nhalf";
    auto f = fileHolding(first);
    LedgerFileBytes in(::fileno(f.get()));
    std::fseek(f.get(), 0, SEEK_END);
    const std::string more = " of c\r\n" + std::string(300 * 1024, 'd') + "\ne";
    std::fwrite(more.data(), 1, more.size(), f.get());
    std::fflush(f.get());
    EXPECT_EQ(in.nextLine().size(), 2u << 20);
    const std::vector<std::string> expected = {"b", "half of c", std::string(300 * 1024, 'd'), "e"};
    EXPECT_EQ(recordLinesLeft(in), expected);
}

// Cut short while it is read (by another program, say), a file ends where
// the reading met its end: the lines read are whole ones of it, and the
// reading comes to an end, wherever the second thread stood.
TEST(LedgerFileBytes, AFileCutShortWhileReadEndsThere) {
    std::string text;
    while (text.size() < (3u << 20))
        text += "2026/10/01\tline " + std::to_string(text.size()) + "\r\n";
    for (int round = 0; round < 100; ++round) {
        auto f = fileHolding(text);
        LedgerFileBytes in(::fileno(f.get()));
        ASSERT_EQ(::ftruncate(::fileno(f.get()), round % 2 ? 0 : 1 << 20), 0);
        std::size_t bytes = 0;
        for (;;) {
            in.skipControlsAndBlanks();
            if (in.atEnd()) break;
            const std::string_view line = in.nextLine();
            ASSERT_EQ(text.compare(bytes, line.size(), line), 0) << round;
            bytes += line.size() + 2;
        }
        EXPECT_LE(bytes, text.size() + 2) << round;
    }
}

TEST(LedgerFileBytes, APipeIsRead) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text = "1\r\n2\n";
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    LedgerFileBytes in(fds[0]);
    EXPECT_EQ(in.nextLine(), "1");
    EXPECT_EQ(in.nextLine(), "2");
    EXPECT_TRUE(in.atEnd());
    ::close(fds[0]);
}

}  // namespace
}  // namespace orvo
