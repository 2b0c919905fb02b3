#include "ledger/CsvLineReader.h"

#include <cstring>

#include "base/LineReader.h"
#include "ledger/LoadedBytes.h"

namespace orvo {

namespace {
constexpr char kEndOfFile = '\x1A';
constexpr std::size_t kLongestWithCr = kLongestLine + 1;  // the CR of CR LF
}  // namespace

CsvLineReader::CsvLineReader(int fd, std::uint64_t from) : from_(from) {
    file_.emplace(fd, from);
    text_ = std::string_view(file_->data, 0);
}

CsvLineReader::CsvLineReader(std::string_view text) : text_(text), ended_(true) {
    if (const void* end = std::memchr(text.data(), kEndOfFile, text.size()))
        text_ =
            text.substr(0, static_cast<std::size_t>(static_cast<const char*>(end) - text.data()));
}

std::size_t CsvLineReader::consumed() const {
    if (!file_) return start_;
    return static_cast<std::size_t>(file_->offset() - from_) - (file_->end - start_);
}

std::shared_ptr<LoadedBytes> CsvLineReader::loadedBytes() const {
    return file_ ? file_->loaded() : nullptr;
}

char* CsvLineReader::placeOf(std::string_view line) const {
    LoadedBytes* loaded = file_ ? file_->loaded().get() : nullptr;
    if (!loaded || line.empty() || !loaded->holds(line.data())) return nullptr;
    return loaded->data() + (line.data() - loaded->data());
}

void CsvLineReader::more() {
    // The bytes from the line's start on stay; they may move to the front.
    file_->pos = start_;
    const bool got = file_->readMore(kLongestWithCr);
    searched_ -= start_ - file_->pos;
    start_ = file_->pos;
    text_ = std::string_view(file_->data, file_->end);
    if (const void* end =
            std::memchr(text_.data() + searched_, kEndOfFile, text_.size() - searched_)) {
        text_ =
            text_.substr(0, static_cast<std::size_t>(static_cast<const char*>(end) - text_.data()));
        ended_ = true;
    }
    searched_ = text_.size();
    if (!got) ended_ = true;
}

bool CsvLineReader::next(std::string_view& line) {
    std::size_t scanned = 0;  // bytes from start_ known to hold no LF
    for (;;) {
        const char* start = text_.data() + start_;
        const std::size_t avail = text_.size() - start_;
        const char* lf =
            static_cast<const char*>(std::memchr(start + scanned, '\n', avail - scanned));
        if (lf || (ended_ && avail > 0)) {
            const std::size_t length = lf ? static_cast<std::size_t>(lf - start) : avail;
            if (length > kLongestWithCr) throw OverlongLine();
            start_ += lf ? length + 1 : length;
            line = std::string_view(start, length);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        if (avail > kLongestWithCr) throw OverlongLine();
        if (ended_) return false;
        scanned = avail;
        more();
    }
}

}  // namespace orvo
