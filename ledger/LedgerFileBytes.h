#pragma once
// A ledger data file held in memory, read a piece at a time into one
// anonymous mapping, so that lines never move and the pages behind the reader
// can be given back as soon as their lines are stored elsewhere: a load then
// needs little more memory than the list it builds.
//
// Not a mapping of the file itself: a file that shrank while being read would
// end the program with a bus error.
//
// Lines end at CR LF, CR or LF, as LineReader reads them.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo {

class LedgerFileBytes {
public:
    static constexpr std::size_t kPieceSize = 1 << 20;

    // Reads from the open descriptor `fd`, which stays the caller's.
    explicit LedgerFileBytes(int fd, std::size_t pieceSize = kPieceSize);
    ~LedgerFileBytes();
    LedgerFileBytes(const LedgerFileBytes&) = delete;
    LedgerFileBytes& operator=(const LedgerFileBytes&) = delete;

    bool atEnd();
    // Reads up to the next line end and consumes it; at the end of the file
    // gives the empty text. The view is valid until its bytes are released.
    std::string_view nextLine();
    // Skips every byte with a code from 0 to 32 (blanks, TABs, line ends, controls).
    void skipControlsAndBlanks();

    // The next byte to be read.
    const char* position() const { return data_ + pos_; }
    // Gives back the whole pages before `byte`, which no line in use may reach into.
    void releaseBefore(const char* byte);

private:
    bool readPiece();  // false at the end of the file

    int fd_;
    std::size_t pieceSize_;
    char* data_ = nullptr;
    std::size_t capacity_ = 0;  // of the mapping; 0 when the file is read whole into `whole_`
    std::size_t loaded_ = 0;
    std::size_t pos_ = 0;
    std::size_t released_ = 0;
    bool complete_ = false;
    std::string whole_;
};

}  // namespace orvo
