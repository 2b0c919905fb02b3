#pragma once
// Reads a CSV file line by line: a line ends at LF (a CR just before it is
// part of the line end), the byte 0x1A ends the file, and the last line needs
// no line end. Other CRs stay in the line for splitCsvLine, which drops them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "ledger/FileBytesCursor.h"

namespace orvo {

class LoadedBytes;

class CsvLineReader {
public:
    // Reads the open descriptor `fd` from `from` on (FileBytesCursor: a plain
    // file is read whole into loaded bytes).
    CsvLineReader(int fd, std::uint64_t from);
    // Reads a text already in memory.
    explicit CsvLineReader(std::string_view text);

    // The next line, valid until the next call (or as long as loadedBytes()
    // when it stands in them); false at the end of the file. A read error
    // ends the file too; failed() tells. Throws OverlongLine rather than read
    // on past kLongestLine bytes without a line end.
    bool next(std::string_view& line);
    bool failed() const { return file_ && file_->failed(); }
    // Bytes consumed so far, counted from where the reading began.
    std::size_t consumed() const;

    // The bytes a plain file is read into, which the lines given so far may
    // stand in; null for a text or a pipe.
    std::shared_ptr<LoadedBytes> loadedBytes() const;
    // Where `line`, the last line given, may be overwritten by something no
    // longer than it: in the loaded bytes, where it stands; null when it
    // stands elsewhere.
    char* placeOf(std::string_view line) const;

private:
    void more();  // the bytes from start_ on, and more of the file after them

    std::optional<FileBytesCursor> file_;
    std::uint64_t from_ = 0;
    std::string_view text_;  // the bytes at hand; those not yet handed out: [start_, text_.size())
    std::size_t start_ = 0;
    std::size_t searched_ = 0;  // bytes of text_ looked through for 0x1A
    bool ended_ = false;        // no more bytes to read (end of file or 0x1A)
};

}  // namespace orvo
