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

TEST(LedgerFileBytes, SkipsControlsAndBlanksAndReadsOnAfterARelease) {
    std::string text = "a\r\n \t\r\n\x01  b\r\n   ";
    text += std::string(3 * 65536, 'x') + "\r\nc\r\n";
    auto f = fileHolding(text);
    LedgerFileBytes in(::fileno(f.get()));
    EXPECT_EQ(in.nextLine(), "a");
    in.skipControlsAndBlanks();
    EXPECT_EQ(in.nextLine(), "b");
    in.skipControlsAndBlanks();
    const std::string_view x = in.nextLine();
    in.releaseBefore(x.data() + x.size() - 1);  // the pages wholly before the line's end
    EXPECT_EQ(x.substr(x.size() - 1), "x");
    EXPECT_EQ(in.nextLine(), "c");
    in.skipControlsAndBlanks();
    EXPECT_TRUE(in.atEnd());
}

TEST(LedgerFileBytes, AFileWithoutAKnownSizeIsReadWhole) {
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
