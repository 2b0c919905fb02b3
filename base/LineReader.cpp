#include "base/LineReader.h"

#include <cstring>

namespace orvo {

bool LineReader::fill() {
    if (pos_ == end_) {
        end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        pos_ = 0;
    }
    if (skipLf_ && pos_ < end_) {
        skipLf_ = false;
        if (buffer_[pos_] == '\n') ++pos_;
        return fill();
    }
    return pos_ < end_;
}

std::string_view LineReader::nextLine() {
    bool straddles = false;
    while (fill()) {
        const char* start = buffer_.data() + pos_;
        const std::size_t avail = end_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const char* cr = static_cast<const char*>(
            std::memchr(start, '\r', lf ? static_cast<std::size_t>(lf - start) : avail));
        const char* stop = cr ? cr : lf;
        if (!stop) {
            if (!straddles) straddling_.clear();
            straddling_.append(start, avail);
            if (straddling_.size() > kLongestLine) throw OverlongLine();
            straddles = true;
            pos_ = end_;
            continue;
        }
        const auto length = static_cast<std::size_t>(stop - start);
        pos_ += length + 1;
        if (*stop == '\r') {
            if (pos_ < end_) {
                if (buffer_[pos_] == '\n') ++pos_;
            } else {
                skipLf_ = true;  // looked at on the next read, which refills the buffer
            }
        }
        if (length > kLongestLine) throw OverlongLine();
        if (!straddles) return std::string_view(start, length);
        straddling_.append(start, length);
        if (straddling_.size() > kLongestLine) throw OverlongLine();
        return straddling_;
    }
    if (straddles) return straddling_;
    return {};
}

void LineReader::skipControlsAndBlanks() {
    while (fill()) {
        while (pos_ < end_) {
            if (static_cast<unsigned char>(buffer_[pos_]) > 32) return;
            ++pos_;
        }
    }
}

}  // namespace orvo
