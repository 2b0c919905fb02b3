#pragma once
// Buffered reading of a text file line by line; lines end at CR LF, CR or LF.

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// No line of any file the program reads is anywhere near this long; a file
// with a longer line (or none at all, as a device of endless bytes) is not
// read on.
inline constexpr std::size_t kLongestLine = std::size_t{16} << 20;

// Thrown by the reading when a line is longer than kLongestLine.
class OverlongLine : public std::runtime_error {
public:
    OverlongLine() : std::runtime_error("line too long") {}
};

class LineReader {
public:
    explicit LineReader(std::FILE* file, std::size_t bufferSize = 1 << 20)
        : file_(file), buffer_(bufferSize) {}

    bool atEnd() { return !fill(); }
    // Reads up to the next line end and consumes it; at the end of the file
    // gives the empty text, as reading past the end does. The view is valid
    // until the next call. Throws OverlongLine rather than read on past
    // kLongestLine bytes without a line end.
    std::string_view nextLine();
    void readLine(std::string& line) { line = nextLine(); }
    // Skips every byte with a code from 0 to 32 (blanks, TABs, line ends, controls).
    void skipControlsAndBlanks();

private:
    bool fill();  // true when a byte is available

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::string straddling_;  // a line that runs over the end of the buffer
    bool skipLf_ = false;     // the last line ended with CR at the buffer's end
};

}  // namespace orvo
