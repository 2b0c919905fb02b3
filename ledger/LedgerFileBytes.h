#pragma once
// A ledger data file read line by line in large pieces (FileBytesCursor: a
// plain file read into loaded bytes, where the lines stay for the list to
// point into).
//
// Lines end at CR LF, CR or LF, as LineReader reads them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/LineReader.h"
#include "ledger/FileBytesCursor.h"

namespace orvo {

class LedgerFileBytes {
public:
    // A file with a longer line is no ledger and is not read on.
    static constexpr std::size_t kLongestLine = orvo::kLongestLine;

    // Reads from the open descriptor `fd`, which stays the caller's and must
    // stay open while this reads.
    explicit LedgerFileBytes(int fd, FileReading reading = FileReading::Loaded);
    ~LedgerFileBytes();
    LedgerFileBytes(const LedgerFileBytes&) = delete;
    LedgerFileBytes& operator=(const LedgerFileBytes&) = delete;

    bool atEnd() { return in_.pos == in_.end && !in_.fill(); }
    // The next byte, or -1 at the end of the file.
    int peek() { return atEnd() ? -1 : static_cast<unsigned char>(in_.data[in_.pos]); }
    // Whether the rest of a plain file holds a line longer than kLongestLine,
    // found by looking at a few bytes per kLongestLine of it; false for a pipe,
    // whose reading throws OverlongLine when it meets one.
    bool hasOverlongLine() const;
    // Reads up to the next line end and consumes it; at the end of the file
    // gives the empty text. The view is valid until the next call, or as long
    // as loadedBytes() when it points into them. Throws
    // OverlongLine rather than read on past kLongestLine bytes without a line end.
    std::string_view nextLine();
    // Skips every byte with a code from 0 to 32 (blanks, TABs, line ends, controls).
    void skipControlsAndBlanks() {
        if (in_.pos != in_.end && static_cast<unsigned char>(in_.data[in_.pos]) > 32) return;
        skipMoreControlsAndBlanks();
    }

    // The bytes lines are read into, shared with the list that keeps lines
    // pointing into them; null for a pipe.
    std::shared_ptr<const LoadedBytes> loadedBytes() const { return in_.loaded(); }

private:
    void skipMoreControlsAndBlanks();

    FileBytesCursor in_;
};

}  // namespace orvo
