#include "ledger/LedgerFileBytes.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvo {

namespace {

const std::size_t kPageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

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
    // mapped: read it whole. A read error ends the file there.
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        whole_.append(buffer, static_cast<std::size_t>(n));
    }
    data_ = whole_.data();
    size_ = whole_.size();
}

LedgerFileBytes::~LedgerFileBytes() {
    if (mapped_) ::munmap(const_cast<char*>(data_), capacity_);
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
