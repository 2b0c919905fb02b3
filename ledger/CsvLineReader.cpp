#include "ledger/CsvLineReader.h"

#include <cstring>

#include "base/LineReader.h"

namespace orvo {

namespace {
constexpr char kEndOfFile = '\x1A';
}  // namespace

CsvLineReader::CsvLineReader(std::FILE* file, std::size_t bufferSize)
    : file_(file), buffer_(bufferSize, '\0'), text_(buffer_.data(), 0) {}

CsvLineReader::CsvLineReader(std::string_view text) : text_(text), ended_(true) {
    if (const void* end = std::memchr(text.data(), kEndOfFile, text.size()))
        text_ =
            text.substr(0, static_cast<std::size_t>(static_cast<const char*>(end) - text.data()));
}

bool CsvLineReader::refill() {
    if (ended_) return false;
    // Keep the unfinished line, at the front; a line longer than half the
    // buffer doubles it.
    const std::size_t kept = text_.size() - start_;
    std::memmove(buffer_.data(), text_.data() + start_, kept);
    consumedBefore_ += start_;
    start_ = 0;
    if (kept * 2 > buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, file_);
    if (got == 0) {
        failed_ = std::ferror(file_) != 0;
        ended_ = true;
        text_ = std::string_view(buffer_.data(), kept);
        return false;
    }
    std::size_t size = kept + got;
    if (const void* end = std::memchr(buffer_.data() + kept, kEndOfFile, got)) {
        size = static_cast<std::size_t>(static_cast<const char*>(end) - buffer_.data());
        ended_ = true;
    }
    text_ = std::string_view(buffer_.data(), size);
    return true;
}

bool CsvLineReader::next(std::string_view& line) {
    for (;;) {
        const char* start = text_.data() + start_;
        const std::size_t avail = text_.size() - start_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        if (lf || (ended_ && avail > 0)) {
            const std::size_t length = lf ? static_cast<std::size_t>(lf - start) : avail;
            if (length > kLongestLine + 1) throw OverlongLine();  // + 1: the CR of CR LF
            start_ += lf ? length + 1 : length;
            line = std::string_view(start, length);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        if (avail > kLongestLine + 1) throw OverlongLine();
        if (!refill() && ended_ && text_.size() == start_) return false;
    }
}

}  // namespace orvo
