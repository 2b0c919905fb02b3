#include "ledger/FileBytesCursor.h"

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
// the processor's cache while its lines are cut out.
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
    // ended (or failed) before the bytes were full, and whether it failed.
    bool sawEnd() const { return sawEnd_; }
    bool failed() const { return failed_; }

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
            if (n <= 0) {  // a read error ends the file there
                failed_ = n < 0;
                break;
            }
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
    bool sawEnd_ = false;  // both written before the mark says done
    bool failed_ = false;
    std::thread thread_;  // last: started once the rest is set up
};

FileBytesCursor::FileBytesCursor(int fd, std::uint64_t from, FileReading reading) : fd_(fd) {
    struct stat info {};
    seekable_ = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (seekable_) {
        offset_ = from;
        const auto size = static_cast<std::uint64_t>(info.st_size);
        if (size > offset_ && reading == FileReading::Loaded) {
            loaded_ = std::make_shared<LoadedBytes>(static_cast<std::size_t>(size - offset_));
            data = loaded_->data();
            capacity_ = loaded_->capacity();
            inLoaded_ = true;
            filler_ = std::make_unique<LoadedBytesFiller>(fd, offset_, data, capacity_);
            return;
        }
    }
    useOwnBuffer();
}

FileBytesCursor::~FileBytesCursor() = default;

// Moves the bytes from pos on into a buffer of its own, which reading then fills.
void FileBytesCursor::useOwnBuffer() {
    std::vector<char> bytes(std::max(kPieceSize, 2 * (end - pos)));
    if (end > pos) std::memcpy(bytes.data(), data + pos, end - pos);
    own_ = std::move(bytes);
    end -= pos;
    pos = 0;
    data = own_.data();
    capacity_ = own_.size();
    inLoaded_ = false;
}

bool FileBytesCursor::readMore(std::size_t longest) {
    if (eof_) return false;
    if (inLoaded_) {
        if (end - pos > longest) throw OverlongLine();
        const std::size_t filled = filler_->waitBeyond(end);
        if (filled > end) {
            offset_ += filled - end;
            end = filled;
            return true;
        }
        if (filler_->sawEnd()) {
            failed_ = filler_->failed();
            eof_ = true;
            return false;
        }
        useOwnBuffer();  // the file grew since it was opened: read on here
    }
    if (!inLoaded_ && pos > 0) {
        std::memmove(data, data + pos, end - pos);
        end -= pos;
        pos = 0;
    }
    // A line longer than the buffer: it grows, up to the longest line.
    if (end - pos > longest) throw OverlongLine();
    if (!inLoaded_ && capacity_ - end < kPieceSize / 2) {
        own_.resize(own_.size() * 2);
        data = own_.data();
        capacity_ = own_.size();
    }
    for (;;) {
        const std::size_t room = std::min(capacity_ - end, kPieceSize);
        const ssize_t n = seekable_ ? ::pread(fd_, data + end, room, static_cast<off_t>(offset_))
                                    : ::read(fd_, data + end, room);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {  // a read error ends the file there
            failed_ = n < 0;
            eof_ = true;
            return false;
        }
        end += static_cast<std::size_t>(n);
        offset_ += static_cast<std::uint64_t>(n);
        return true;
    }
}

}  // namespace orvo
