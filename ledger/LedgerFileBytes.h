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
    // Reads from the open descriptor `fd`, which stays the caller's.
    explicit LedgerFileBytes(int fd);
    ~LedgerFileBytes();
    LedgerFileBytes(const LedgerFileBytes&) = delete;
    LedgerFileBytes& operator=(const LedgerFileBytes&) = delete;

    bool atEnd() const { return pos_ == size_; }
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
    std::size_t released_ = 0;
    std::string whole_;  // the file when it is not mapped
};

}  // namespace orvo
