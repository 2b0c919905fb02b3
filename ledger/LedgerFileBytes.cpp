#include "ledger/LedgerFileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "ledger/LoadedBytes.h"

namespace orvo {

namespace {

// Large enough that a read costs little per line, small enough to stay in
// the processor's cache while its lines are copied out.
constexpr std::size_t kPieceSize = 256 * 1024;

}  // namespace

// Reads a plain file into the loaded bytes, from front to back in pieces, on
// a thread of its own; each piece read is published by the mark.
class LoadedBytesFiller {
public:
    LoadedBytesFiller(int fd, std::uint64_t from, char* data, std::size_t capacity)
        : thread_([=, this] { fill(fd, from, data, capacity); }) {}
    ~LoadedBytesFiller() {
        stop_.store(true, std::memory_order_relaxed);
        thread_.join();
    }
    LoadedBytesFiller(const LoadedBytesFiller&) = delete;
    LoadedBytesFiller& operator=(const LoadedBytesFiller&) = delete;

    // Waits until more than `have` bytes are read or the reading is over;
    // the bytes read so far.
    std::size_t waitBeyond(std::size_t have) {
        for (;;) {
            const std::uint64_t mark = mark_.load(std::memory_order_acquire);
            const auto filled = static_cast<std::size_t>(mark & ~kDone);
            if (filled > have || (mark & kDone)) return filled;
            mark_.wait(mark, std::memory_order_acquire);
        }
    }
    // Once waitBeyond() has come back without more bytes: whether the file
    // ended (or failed) before the bytes were full.
    bool sawEnd() const { return sawEnd_; }

private:
    // Set in the mark with the last count, so that the mark changes, and
    // wakes a wait, even when the end brings no more bytes.
    static constexpr std::uint64_t kDone = std::uint64_t{1} << 63;

    void fill(int fd, std::uint64_t from, char* data, std::size_t capacity) {
        std::size_t filled = 0;
        while (filled < capacity && !stop_.load(std::memory_order_relaxed)) {
            const ssize_t n = ::pread(fd, data + filled, std::min(capacity - filled, kPieceSize),
                                      static_cast<off_t>(from + filled));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;  // a read error ends the file there
            filled += static_cast<std::size_t>(n);
            mark_.store(filled, std::memory_order_release);
            mark_.notify_all();
        }
        sawEnd_ = filled < capacity;  // stopped counts as ended
        mark_.store(filled | kDone, std::memory_order_release);
        mark_.notify_all();
    }

    std::atomic<std::uint64_t> mark_{0};  // bytes read, and kDone
    std::atomic<bool> stop_{false};
    bool sawEnd_ = false;  // written before the mark says done
    std::thread thread_;   // last: started once the rest is set up
};

LedgerFileBytes::LedgerFileBytes(int fd) {
    struct stat info {};
    in_.fd = fd;
    in_.seekable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (in_.seekable) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        in_.offset = at > 0 ? static_cast<std::uint64_t>(at) : 0;
        const auto size = static_cast<std::uint64_t>(info.st_size);
        if (size > in_.offset) {
            loaded_ = std::make_shared<LoadedBytes>(static_cast<std::size_t>(size - in_.offset));
            in_.data = loaded_->data();
            in_.capacity = loaded_->capacity();
            in_.inLoaded = true;
            filler_ = std::make_unique<LoadedBytesFiller>(fd, in_.offset, in_.data, in_.capacity);
            in_.filler = filler_.get();
            return;
        }
    }
    in_.useOwnBuffer();
}

LedgerFileBytes::~LedgerFileBytes() = default;

// Moves the bytes from pos on into a buffer of its own, which reading then fills.
void LedgerFileBytes::Cursor::useOwnBuffer() {
    std::vector<char> bytes(std::max(kPieceSize, 2 * (end - pos)));
    if (end > pos) std::memcpy(bytes.data(), data + pos, end - pos);
    own = std::move(bytes);
    end -= pos;
    pos = 0;
    data = own.data();
    capacity = own.size();
    inLoaded = false;
}

bool LedgerFileBytes::Cursor::readMore() {
    if (eof) return false;
    if (inLoaded) {
        if (end - pos > kLongestLine) throw OverlongLine();
        const std::size_t filled = filler->waitBeyond(end);
        if (filled > end) {
            offset += filled - end;
            end = filled;
            return true;
        }
        if (filler->sawEnd()) {
            eof = true;
            return false;
        }
        useOwnBuffer();  // the file grew since it was opened: read on here
    }
    if (!inLoaded && pos > 0) {
        std::memmove(data, data + pos, end - pos);
        end -= pos;
        pos = 0;
    }
    // A line longer than the buffer: it grows, up to the longest line.
    if (end - pos > kLongestLine) throw OverlongLine();
    if (!inLoaded && capacity - end < kPieceSize / 2) {
        own.resize(own.size() * 2);
        data = own.data();
        capacity = own.size();
    }
    for (;;) {
        const std::size_t room = std::min(capacity - end, kPieceSize);
        const ssize_t n = seekable ? ::pread(fd, data + end, room, static_cast<off_t>(offset))
                                   : ::read(fd, data + end, room);
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
        const char* start = data + pos;
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
            if (*stop == '\r' && pos < end && data[pos] == '\n') ++pos;
            return {start, length};
        }
        scanned = stop ? static_cast<std::size_t>(stop - start) : avail;
        if (!readMore()) {
            if (stop) continue;  // the CR ends the line after all
            const std::string_view line(data + pos, end - pos);
            pos = end;
            return line;
        }
    }
}

void LedgerFileBytes::Cursor::skipControlsAndBlanks() {
    while (fill()) {
        while (pos < end) {
            if (static_cast<unsigned char>(data[pos]) > 32) return;
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

}  // namespace orvo
