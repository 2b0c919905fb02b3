#pragma once
// A ledger data file read line by line in large pieces. A plain file is read
// into bytes of the size it had when opened (LoadedBytes), where the lines
// stay for the list to point into; a second thread reads it there, ahead of
// the lines' reading, so that the system's copying and the zeroing of fresh
// memory run beside the parsing. What the file holds beyond that size, and a
// pipe, are read through a buffer of their own. (Not a mapping of the file:
// one that another program cut short or rewrote would end the program or
// change the lines under it.)
//
// Lines end at CR LF, CR or LF, as LineReader reads them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/LineReader.h"

namespace orvo {

class LoadedBytes;
class LoadedBytesFiller;

class LedgerFileBytes {
public:
    // A file with a longer line is no ledger and is not read on.
    static constexpr std::size_t kLongestLine = orvo::kLongestLine;

    // Reads from the open descriptor `fd`, which stays the caller's and must
    // stay open while this reads.
    explicit LedgerFileBytes(int fd);
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
    std::string_view nextLine() { return in_.nextLine(); }
    // Skips every byte with a code from 0 to 32 (blanks, TABs, line ends, controls).
    void skipControlsAndBlanks() {
        if (in_.pos != in_.end && static_cast<unsigned char>(in_.data[in_.pos]) > 32) return;
        in_.skipControlsAndBlanks();
    }

    // The bytes lines are read into, shared with the list that keeps lines
    // pointing into them; null for a pipe.
    std::shared_ptr<const LoadedBytes> loadedBytes() const { return loaded_; }

private:
    // A reading position in the file with the bytes behind it: the loaded
    // bytes while they have room, then a buffer of its own.
    struct Cursor {
        LoadedBytesFiller* filler = nullptr;  // what fills the loaded bytes
        int fd = -1;
        bool seekable = false;     // a plain file, read with pread
        std::uint64_t offset = 0;  // in the file, of the bytes' end
        bool eof = false;
        char* data = nullptr;
        std::size_t capacity = 0;
        bool inLoaded = false;  // data are the loaded bytes, filled by `filler` up to its mark
        std::vector<char> own;
        std::size_t pos = 0;
        std::size_t end = 0;

        bool fill();      // true when a byte is available
        bool readMore();  // keeps the bytes from pos on, appends what the file holds next
        void useOwnBuffer();
        std::string_view nextLine();
        void skipControlsAndBlanks();
    };
    std::shared_ptr<LoadedBytes> loaded_;
    std::unique_ptr<LoadedBytesFiller> filler_;  // stopped before loaded_ goes
    Cursor in_;
};

}  // namespace orvo
