#pragma once
// A ledger data file held in memory for reading: read whole into pages of its
// own, so that its lines never move and the pages behind the reader can be
// given back as soon as their lines are stored elsewhere; a load then needs
// little more memory than the list it builds. (Not a mapping of the file: one
// that another program cut short during the load would end the program.) A
// file whose size is not known beforehand (a pipe, say) is read into a string.
//
// Lines end at CR LF, CR or LF, as LineReader reads them.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo {

class LedgerFileBytes {
public:
    // No record is anywhere near this long; a file with a longer line (or none
    // at all, as a device of endless zeros) is no ledger and is not read on.
    static constexpr std::size_t kLongestLine = std::size_t{16} << 20;

    // Reads from the open descriptor `fd`, which stays the caller's. A file
    // whose size is not known beforehand is read only up to its first line
    // longer than kLongestLine.
    explicit LedgerFileBytes(int fd);
    ~LedgerFileBytes();
    LedgerFileBytes(const LedgerFileBytes&) = delete;
    LedgerFileBytes& operator=(const LedgerFileBytes&) = delete;

    bool atEnd() const { return pos_ == size_; }
    // Whether a line of the file is longer than kLongestLine.
    bool hasOverlongLine() const;
    // Reads up to the next line end and consumes it; at the end of the file
    // gives the empty text. The view is valid until its bytes are released.
    std::string_view nextLine();
    // Skips every byte with a code from 0 to 32 (blanks, TABs, line ends, controls).
    void skipControlsAndBlanks() {
        while (pos_ < size_ && static_cast<unsigned char>(data_[pos_]) <= 32) ++pos_;
    }

    // The next byte to be read.
    const char* position() const { return data_ + pos_; }
    // Gives back the whole pages before `byte`, which no line in use may reach into.
    void releaseBefore(const char* byte);

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;  // of the pages held
    std::size_t pos_ = 0;
    bool mapped_ = false;
    bool readCutShort_ = false;  // stopped on an overlong line
    std::size_t released_ = 0;
    std::string whole_;  // the file when it is not mapped
};

}  // namespace orvo
