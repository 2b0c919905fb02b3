#include "ledger/LedgerFileBytes.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvo {

namespace {

const std::size_t kPageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

// The number of bytes after the last CR or LF of `bytes`, or `size` when there is none.
std::size_t bytesAfterLastLineEnd(const char* bytes, std::size_t size) {
    const void* lf = ::memrchr(bytes, '\n', size);
    const char* from = lf ? static_cast<const char*>(lf) + 1 : bytes;
    const void* cr = ::memrchr(from, '\r', size - static_cast<std::size_t>(from - bytes));
    if (cr) from = static_cast<const char*>(cr) + 1;
    if (!lf && !cr) return size;
    return size - static_cast<std::size_t>(from - bytes);
}

}  // namespace

LedgerFileBytes::LedgerFileBytes(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        // Read into memory of our own rather than mapping the file: a mapped
        // file that another program cuts short would end the program in the
        // middle of the load. Its pages can still be given back behind the reader.
        const auto size = static_cast<std::size_t>(info.st_size);
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            char* bytes = static_cast<char*>(p);
            std::size_t got = 0;
            while (got < size) {  // a file cut short meanwhile ends where it ends
                const ssize_t n = ::read(fd, bytes + got, size - got);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                got += static_cast<std::size_t>(n);
            }
            data_ = bytes;
            size_ = got;
            capacity_ = size;
            mapped_ = true;
            return;
        }
    }
    // Not a plain file (its size unknown beforehand), empty, or not to be
    // mapped: read it whole, but never on past an overlong line. A read error
    // ends the file there.
    char buffer[1 << 16];
    std::size_t sinceLineEnd = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const auto got = static_cast<std::size_t>(n);
        whole_.append(buffer, got);
        const std::size_t tail = bytesAfterLastLineEnd(buffer, got);
        sinceLineEnd = tail < got ? tail : sinceLineEnd + got;
        if (sinceLineEnd > kLongestLine) {
            readCutShort_ = true;
            break;
        }
    }
    data_ = whole_.data();
    size_ = whole_.size();
}

LedgerFileBytes::~LedgerFileBytes() {
    if (mapped_) ::munmap(const_cast<char*>(data_), capacity_);
}

bool LedgerFileBytes::hasOverlongLine() const {
    if (readCutShort_) return true;
    // From each line start, the last line end within reach of it: records are
    // short, so this looks at a few bytes per kLongestLine of the file.
    std::size_t start = pos_;
    while (size_ - start > kLongestLine) {
        const std::size_t reach = kLongestLine + 1;  // the line and its end
        const std::size_t tail = bytesAfterLastLineEnd(data_ + start, reach);
        if (tail == reach) return true;
        start += reach - tail;
    }
    return false;
}

std::string_view LedgerFileBytes::nextLine() {
    const char* start = data_ + pos_;
    const std::size_t avail = size_ - pos_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
    const char* cr = static_cast<const char*>(
        std::memchr(start, '\r', lf ? static_cast<std::size_t>(lf - start) : avail));
    const char* stop = cr ? cr : lf;
    if (!stop) {
        pos_ = size_;
        return {start, avail};
    }
    const std::string_view line(start, static_cast<std::size_t>(stop - start));
    pos_ = static_cast<std::size_t>(stop - data_) + 1;
    if (*stop == '\r' && pos_ < size_ && data_[pos_] == '\n') ++pos_;
    return line;
}

void LedgerFileBytes::releaseBefore(const char* byte) {
    if (!mapped_ || byte < data_) return;
    const std::size_t upTo = static_cast<std::size_t>(byte - data_) / kPageSize * kPageSize;
    if (upTo <= released_) return;
    // Nothing reads behind the reader again, so the pages can go.
    ::madvise(const_cast<char*>(data_) + released_, upTo - released_, MADV_DONTNEED);
    released_ = upTo;
}

}  // namespace orvo
