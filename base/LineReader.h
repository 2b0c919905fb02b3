#pragma once
// Buffered reading of a text file line by line; lines end at CR LF, CR or LF.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class LineReader {
public:
    explicit LineReader(std::FILE* file, std::size_t bufferSize = 1 << 20)
        : file_(file), buffer_(bufferSize) {}

    bool atEnd() { return !fill(); }
    // Reads up to the next line end and consumes it; at the end of the file
    // gives the empty text, as reading past the end does. The view is valid
    // until the next call.
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
