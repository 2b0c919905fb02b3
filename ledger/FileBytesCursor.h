#pragma once
// A reading position in a file with the bytes behind it, for the readers
// that cut a file into lines (each by its own rule). A plain file is read
// into bytes of the size it had when opened (LoadedBytes), where the lines
// can stay for the list to point into; a second thread reads it there, ahead
// of the cutting, so that the system's copying and the zeroing of fresh
// memory run beside it. What the file holds beyond that size, and a pipe, are
// read through a buffer of its own. (Not a mapping of the file: one that
// another program cut short or rewrote would end the program or change the
// lines under it.)

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/LineReader.h"

namespace orvo {

class LoadedBytes;
class LoadedBytesFiller;

// Whether a plain file is read whole into loaded bytes (its lines kept), or
// streamed through a buffer like a pipe (for a reader that keeps few lines:
// fresh memory for the whole file costs more than reading it).
enum class FileReading { Loaded, Streamed };

class FileBytesCursor {
public:
    // Reads from the open descriptor `fd` from `from` on (a plain file), or
    // from where it stands (a pipe). `fd` stays the caller's and must stay
    // open while this reads.
    FileBytesCursor(int fd, std::uint64_t from, FileReading reading = FileReading::Loaded);
    ~FileBytesCursor();
    FileBytesCursor(const FileBytesCursor&) = delete;
    FileBytesCursor& operator=(const FileBytesCursor&) = delete;

    // The bytes at hand are data[pos, end); the reader moves pos.
    char* data = nullptr;
    std::size_t pos = 0;
    std::size_t end = 0;

    bool fill() { return pos < end || readMore(); }  // true when a byte is available
    // Keeps the bytes from pos on (where they are in the loaded bytes; else
    // they may move to the front) and adds what the file holds next; false
    // at its end. Throws OverlongLine rather than keep more than `longest`
    // bytes from pos on (a line without its end).
    bool readMore(std::size_t longest = kLongestLine);

    // The bytes the reading fills while they have room; null for a pipe.
    const std::shared_ptr<LoadedBytes>& loaded() const { return loaded_; }
    bool inLoaded() const { return inLoaded_; }
    // Whether the file's end was met, and whether a read failed (the file
    // then ends there).
    bool ended() const { return eof_; }
    bool failed() const { return failed_; }

    int fd() const { return fd_; }
    bool seekable() const { return seekable_; }
    // The offset in the file of the bytes' end.
    std::uint64_t offset() const { return offset_; }

private:
    void useOwnBuffer();

    std::shared_ptr<LoadedBytes> loaded_;
    std::unique_ptr<LoadedBytesFiller> filler_;  // stopped before loaded_ goes
    int fd_ = -1;
    bool seekable_ = false;     // a plain file, read with pread
    std::uint64_t offset_ = 0;  // in the file, of the bytes' end
    bool eof_ = false;
    bool failed_ = false;
    std::size_t capacity_ = 0;
    bool inLoaded_ = false;  // data are the loaded bytes, filled by `filler_` up to its mark
    std::vector<char> own_;
};

}  // namespace orvo
