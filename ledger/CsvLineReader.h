#pragma once
// Reads a CSV file line by line: a line ends at LF (a CR just before it is
// part of the line end), the byte 0x1A ends the file, and the last line needs
// no line end. Other CRs stay in the line for splitCsvLine, which drops them.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace orvo {

class CsvLineReader {
public:
    // Streams the file through a buffer of its own.
    explicit CsvLineReader(std::FILE* file, std::size_t bufferSize = 1 << 20);
    // Reads a text already in memory.
    explicit CsvLineReader(std::string_view text);

    // The next line, valid until the next call; false at the end of the file.
    // A read error ends the file too; failed() tells. Throws OverlongLine
    // rather than read on past kLongestLine bytes without a line end.
    bool next(std::string_view& line);
    bool failed() const { return failed_; }
    // Bytes consumed so far, counted from the beginning.
    std::size_t consumed() const { return consumedBefore_ + start_; }

private:
    bool refill();  // true when more bytes came

    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::string_view text_;  // the bytes read and not yet handed out: [start_, text_.size())
    std::size_t start_ = 0;
    std::size_t consumedBefore_ = 0;  // bytes dropped from the buffer's front
    bool ended_ = false;              // no more bytes to read (end of file or 0x1A)
    bool failed_ = false;
};

}  // namespace orvo
