#include "ledger/LedgerFileBytes.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvo {

namespace {

// read(2) until `n` bytes or the end; a read error ends the file there, as
// it ends a buffered read.
std::size_t readFully(int fd, char* to, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::read(fd, to + done, n - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += static_cast<std::size_t>(r);
    }
    return done;
}

const std::size_t kPageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

}  // namespace

LedgerFileBytes::LedgerFileBytes(int fd, std::size_t pieceSize)
    : fd_(fd), pieceSize_(pieceSize == 0 ? 1 : pieceSize) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (p != MAP_FAILED) {
            data_ = static_cast<char*>(p);
            capacity_ = size;
            return;
        }
    }
    // Not a plain file (its size unknown beforehand), empty, or no mapping to
    // be had: read it whole.
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = readFully(fd_, buffer, sizeof buffer);
        whole_.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    data_ = whole_.data();
    loaded_ = whole_.size();
    complete_ = true;
}

LedgerFileBytes::~LedgerFileBytes() {
    if (capacity_ != 0) ::munmap(data_, capacity_);
}

bool LedgerFileBytes::readPiece() {
    if (complete_) return false;
    const std::size_t n = std::min(pieceSize_, capacity_ - loaded_);
#ifdef MADV_POPULATE_WRITE
    // The piece's pages in one call rather than a fault each (a hint; older
    // kernels refuse it and the read faults them in as before).
    if (n != 0)
        ::madvise(data_ + loaded_ / kPageSize * kPageSize, n + loaded_ % kPageSize,
                  MADV_POPULATE_WRITE);
#endif
    const std::size_t got = n == 0 ? 0 : readFully(fd_, data_ + loaded_, n);
    loaded_ += got;
    // A file that grew since it was measured is read as long as it was then.
    if (got < n || loaded_ == capacity_) complete_ = true;
    return got > 0;
}

bool LedgerFileBytes::atEnd() {
    while (pos_ == loaded_)
        if (!readPiece()) return true;
    return false;
}

std::string_view LedgerFileBytes::nextLine() {
    std::size_t scanned = pos_;
    for (;;) {
        const char* start = data_ + scanned;
        const std::size_t avail = loaded_ - scanned;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const char* cr = static_cast<const char*>(
            std::memchr(start, '\r', lf ? static_cast<std::size_t>(lf - start) : avail));
        if (const char* stop = cr ? cr : lf) {
            const std::string_view line(data_ + pos_,
                                        static_cast<std::size_t>(stop - data_) - pos_);
            pos_ = static_cast<std::size_t>(stop - data_) + 1;
            if (*stop == '\r' && !atEnd() && data_[pos_] == '\n') ++pos_;
            return line;
        }
        scanned = loaded_;
        if (!readPiece()) {
            const std::string_view line(data_ + pos_, loaded_ - pos_);
            pos_ = loaded_;
            return line;
        }
    }
}

void LedgerFileBytes::skipControlsAndBlanks() {
    do {
        while (pos_ < loaded_) {
            if (static_cast<unsigned char>(data_[pos_]) > 32) return;
            ++pos_;
        }
    } while (readPiece());
}

void LedgerFileBytes::releaseBefore(const char* byte) {
    if (capacity_ == 0 || byte < data_) return;
    const std::size_t upTo = static_cast<std::size_t>(byte - data_) / kPageSize * kPageSize;
    if (upTo <= released_) return;
    ::madvise(data_ + released_, upTo - released_, MADV_DONTNEED);
    released_ = upTo;
}

}  // namespace orvo
