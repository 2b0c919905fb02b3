#include "base/LineReader.h"
#include "base/ReadFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace orvo {
namespace {

std::vector<std::string> linesOf(const std::string& text, std::size_t bufferSize) {
    OwnedFile f(std::tmpfile());
    std::fwrite(text.data(), 1, text.size(), f.get());
    std::rewind(f.get());
    LineReader in(f.get(), bufferSize);
    std::vector<std::string> lines;
    while (!in.atEnd()) lines.emplace_back(in.nextLine());
    return lines;
}

TEST(LineReader, LineEndsAreFoundWhereverTheBufferIsCut) {
    const std::string text = "first\r\nsecond\rthird\nfourth\r\n\r\nlast line without end";
    const std::vector<std::string> expected = {"first",  "second", "third",
                                               "fourth", "",       "last line without end"};
    // Small buffers cut lines, and CR LF pairs, at every possible place.
    for (std::size_t size : {1u, 2u, 3u, 5u, 7u, 8u, 13u, 1024u})
        EXPECT_EQ(linesOf(text, size), expected) << size;
}

TEST(LineReader, SkipsControlsAndBlanksAcrossBuffers) {
    OwnedFile f(std::tmpfile());
    const std::string text = "a\r\n \t\r\n\x01  b\r\n   ";
    std::fwrite(text.data(), 1, text.size(), f.get());
    std::rewind(f.get());
    LineReader in(f.get(), 3);
    EXPECT_EQ(in.nextLine(), "a");
    in.skipControlsAndBlanks();
    EXPECT_EQ(in.nextLine(), "b");
    in.skipControlsAndBlanks();
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.nextLine(), "");
}

}  // namespace
}  // namespace orvo
