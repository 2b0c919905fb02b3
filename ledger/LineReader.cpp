#include "ledger/LineReader.h"

#include <cstring>

namespace orvo {

bool LineReader::fill() {
    if (pos_ < end_) return true;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    return end_ > 0;
}

void LineReader::readLine(std::string& line) {
    line.clear();
    while (fill()) {
        const char* start = buffer_.data() + pos_;
        const std::size_t avail = end_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', lf ? static_cast<std::size_t>(lf - start) : avail));
        const char* stop = cr ? cr : lf;
        if (!stop) {
            line.append(start, avail);
            pos_ = end_;
            continue;
        }
        line.append(start, static_cast<std::size_t>(stop - start));
        pos_ += static_cast<std::size_t>(stop - start) + 1;
        if (*stop == '\r' && fill() && buffer_[pos_] == '\n') ++pos_;
        return;
    }
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
