#include "ledger/LedgerFileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvo {

namespace {

// Large enough that a read costs little per line, small enough to stay in
// the processor's cache while its lines are copied out.
constexpr std::size_t kPieceSize = 256 * 1024;

}  // namespace

LedgerFileBytes::LedgerFileBytes(int fd) {
    struct stat info {};
    in_.fd = fd;
    in_.seekable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (in_.seekable) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        in_.offset = at > 0 ? static_cast<std::uint64_t>(at) : 0;
    }
    in_.buffer.resize(kPieceSize);
}

bool LedgerFileBytes::Cursor::readMore() {
    if (eof) return false;
    if (pos > 0) {
        std::memmove(buffer.data(), buffer.data() + pos, end - pos);
        end -= pos;
        pos = 0;
    }
    // A line longer than the buffer: it grows, up to the longest line.
    if (end > kLongestLine) throw OverlongLine();
    if (buffer.size() - end < kPieceSize / 2) buffer.resize(buffer.size() * 2);
    for (;;) {
        const std::size_t room = buffer.size() - end;
        const ssize_t n = seekable
                              ? ::pread(fd, buffer.data() + end, room, static_cast<off_t>(offset))
                              : ::read(fd, buffer.data() + end, room);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {  // a read error ends the file there
            eof = true;
            return false;
        }
        end += static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
        return true;
    }
}

bool LedgerFileBytes::Cursor::fill() {
    return pos < end || readMore();
}

std::string_view LedgerFileBytes::Cursor::nextLine() {
    std::size_t scanned = 0;  // bytes from pos known to hold no line end
    for (;;) {
        const char* start = buffer.data() + pos;
        const std::size_t avail = end - pos;
        const char* from = start + scanned;
        // The library's search passes the line twice (LF, then CR before
        // it) and still costs less than one pass of our own.
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', avail - scanned));
        const char* stop = static_cast<const char*>(
            std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : avail - scanned));
        if (!stop) stop = lf;
        // A CR at the buffer's end may be followed by an LF not read yet.
        const bool crAtEnd = stop && *stop == '\r' && stop + 1 == start + avail && !eof;
        if (stop && !crAtEnd) {
            const std::size_t length = static_cast<std::size_t>(stop - start);
            pos += length + 1;
            if (*stop == '\r' && pos < end && buffer[pos] == '\n') ++pos;
            return {start, length};
        }
        scanned = stop ? static_cast<std::size_t>(stop - start) : avail;
        if (!readMore()) {
            if (stop) continue;  // the CR ends the line after all
            const std::string_view line(buffer.data() + pos, end - pos);
            pos = end;
            return line;
        }
    }
}

void LedgerFileBytes::Cursor::skipControlsAndBlanks() {
    while (fill()) {
        while (pos < end) {
            if (static_cast<unsigned char>(buffer[pos]) > 32) return;
            ++pos;
        }
    }
}

bool LedgerFileBytes::hasOverlongLine() const {
    struct stat info {};
    if (!in_.seekable || ::fstat(in_.fd, &info) != 0) return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    std::uint64_t start = in_.offset - (in_.end - in_.pos);  // the next byte to read
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
            const ssize_t n = ::pread(in_.fd, piece.data(), want, static_cast<off_t>(from));
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

bool LedgerFileBytes::forEachRecordLineAhead(
    const std::function<void(std::string_view)>& visit) const {
    if (!in_.seekable) return false;
    Cursor ahead;
    ahead.fd = in_.fd;
    ahead.seekable = true;
    ahead.offset = in_.offset;
    ahead.eof = in_.eof;
    ahead.buffer.assign(in_.buffer.begin() + static_cast<std::ptrdiff_t>(in_.pos),
                        in_.buffer.begin() + static_cast<std::ptrdiff_t>(in_.end));
    ahead.end = ahead.buffer.size();
    ahead.buffer.resize(std::max(ahead.buffer.size(), kPieceSize));
    for (;;) {
        ahead.skipControlsAndBlanks();
        if (!ahead.fill()) return true;
        visit(ahead.nextLine());
    }
}

}  // namespace orvo
