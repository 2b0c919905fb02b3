#include "ledger/LedgerFileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orvo {

namespace {

// Where the descriptor stands: the file may begin with bytes read before.
std::uint64_t positionOf(int fd) {
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    return at > 0 ? static_cast<std::uint64_t>(at) : 0;
}

}  // namespace

LedgerFileBytes::LedgerFileBytes(int fd, FileReading reading) : in_(fd, positionOf(fd), reading) {}

LedgerFileBytes::~LedgerFileBytes() = default;

std::string_view LedgerFileBytes::nextLine() {
    std::size_t scanned = 0;  // bytes from pos known to hold no line end
    for (;;) {
        const char* start = in_.data + in_.pos;
        const std::size_t avail = in_.end - in_.pos;
        const char* from = start + scanned;
        // The library's search passes the line twice (LF, then CR before
        // it) and still costs less than one pass of our own.
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', avail - scanned));
        const char* stop = static_cast<const char*>(
            std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : avail - scanned));
        if (!stop) stop = lf;
        // A CR at the buffer's end may be followed by an LF not read yet.
        const bool crAtEnd = stop && *stop == '\r' && stop + 1 == start + avail && !in_.ended();
        if (stop && !crAtEnd) {
            const std::size_t length = static_cast<std::size_t>(stop - start);
            in_.pos += length + 1;
            if (*stop == '\r' && in_.pos < in_.end && in_.data[in_.pos] == '\n') ++in_.pos;
            return {start, length};
        }
        scanned = stop ? static_cast<std::size_t>(stop - start) : avail;
        if (!in_.readMore()) {
            if (stop) continue;  // the CR ends the line after all
            const std::string_view line(in_.data + in_.pos, in_.end - in_.pos);
            in_.pos = in_.end;
            return line;
        }
    }
}

void LedgerFileBytes::skipMoreControlsAndBlanks() {
    while (in_.fill()) {
        while (in_.pos < in_.end) {
            if (static_cast<unsigned char>(in_.data[in_.pos]) > 32) return;
            ++in_.pos;
        }
    }
}

bool LedgerFileBytes::hasOverlongLine() const {
    struct stat info {};
    if (!in_.seekable() || ::fstat(in_.fd(), &info) != 0) return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    std::uint64_t start = in_.offset() - (in_.end - in_.pos);  // the next byte to read
    std::vector<char> piece(64 * 1024);
    // From each line start, the last line end within reach of it (the line
    // and its end), read backwards: records are short, so one small read
    // finds it and moves on by almost kLongestLine bytes.
    while (size > start && size - start > kLongestLine) {
        std::uint64_t to = start + kLongestLine + 1;
        bool found = false;
        while (!found && to > start) {
            const std::uint64_t from =
                std::max<std::uint64_t>(start, to - std::min<std::uint64_t>(to, piece.size()));
            const auto want = static_cast<std::size_t>(to - from);
            const ssize_t n = ::pread(in_.fd(), piece.data(), want, static_cast<off_t>(from));
            if (n != static_cast<ssize_t>(want))
                return false;  // changed meanwhile: the reading decides
            const void* lf = ::memrchr(piece.data(), '\n', want);
            const void* cr = ::memrchr(piece.data(), '\r', want);
            const char* last = static_cast<const char*>(lf);
            if (cr && (!last || static_cast<const char*>(cr) > last))
                last = static_cast<const char*>(cr);
            if (last) {
                start = from + static_cast<std::uint64_t>(last - piece.data()) + 1;
                found = true;
            }
            to = from;
        }
        if (!found) return true;
    }
    return false;
}

}  // namespace orvo
