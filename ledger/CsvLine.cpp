#include "ledger/CsvLine.h"

#include <cstring>

#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char kEndOfFile = '\x1A';

// Codes 1 to 32 separate fields; NUL does not.
inline bool isBlank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

// Double-byte characters need no stepping of their own here: a trail byte is
// 0x40 to 0xFC, so it can never be a comma, a double quote or a code up to 32,
// and a lead byte before anything else stands alone. Scanning byte by byte
// therefore ends fields exactly where stepping over whole characters would.
std::size_t skipBlanks(std::string_view line, std::size_t i) {
    while (i < line.size() && isBlank(line[i])) ++i;
    return i;
}

}  // namespace

std::string_view CsvFields::operator[](std::size_t i) const {
    const std::size_t start = starts_[i];
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - 1 : text_.size();
    return std::string_view(text_).substr(start, end - start);
}

void splitCsvLine(std::string_view line, CsvFields& fields) {
    std::string& out = fields.text_;
    out.clear();
    fields.starts_.clear();
    std::size_t i = skipBlanks(line, 0);
    while (i < line.size()) {
        if (!fields.starts_.empty()) out += kFieldSeparator;
        fields.starts_.push_back(out.size());
        if (line[i] == kQuote) {
            ++i;
            while (i < line.size()) {
                const char c = line[i];
                if (c == kQuote) {
                    if (i + 1 < line.size() && line[i + 1] == kQuote) {
                        out += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += c == kFieldSeparator ? ' ' : c;
                ++i;
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && line[i] != kComma && !isBlank(line[i])) ++i;
            out.append(line.substr(start, i - start));
        }
        i = skipBlanks(line, i);
        if (i < line.size() && line[i] == kComma) {
            if (i + 1 == line.size()) {
                out += kFieldSeparator;
                fields.starts_.push_back(out.size());
            }
            i = skipBlanks(line, i + 1);
        }
    }
}

std::string_view csvTextBeforeEnd(std::string_view text) {
    const void* end = std::memchr(text.data(), kEndOfFile, text.size());
    if (!end) return text;
    return text.substr(0, static_cast<std::size_t>(static_cast<const char*>(end) - text.data()));
}

CsvLineCutter::CsvLineCutter(std::string_view text) : text_(csvTextBeforeEnd(text)) {}

bool CsvLineCutter::next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const char* start = text_.data() + pos_;
    const std::size_t avail = text_.size() - pos_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
    std::size_t length = lf ? static_cast<std::size_t>(lf - start) : avail;
    pos_ += lf ? length + 1 : length;
    line = std::string_view(start, length);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::memchr(line.data(), '\r', line.size())) {
        withoutCr_.clear();
        for (char c : line)
            if (c != '\r') withoutCr_ += c;
        line = withoutCr_;
    }
    return true;
}

void appendCsvLine(std::string_view recordLine, std::string& out) {
    const std::size_t from = out.size();
    out.append(recordLine);
    for (std::size_t i = from; i < out.size(); ++i)
        if (out[i] == kFieldSeparator) out[i] = kComma;
    out += "\r\n";
}

}  // namespace orvo
