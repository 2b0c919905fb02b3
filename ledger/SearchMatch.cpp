#include "ledger/SearchMatch.h"

#include <algorithm>
#include <cstring>

#include "base/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr std::string_view kResultSeparator = "\t     ";

inline unsigned char upperByte(unsigned char c) {
    return c >= 0x61 && c <= 0x7A ? static_cast<unsigned char>(c - 0x20) : c;
}

// Sixteen bytes upper-cased: a loop of fixed length the compiler turns into
// a few vector instructions.
inline void upperCase16(const char* in, char* to) {
    unsigned char b[16];
    std::memcpy(b, in, 16);
    for (int k = 0; k < 16; ++k)
        b[k] = static_cast<unsigned char>(
            b[k] - (static_cast<unsigned char>(b[k] - 0x61) < 26 ? 0x20 : 0));
    std::memcpy(to, b, 16);
}

// Writes `text` upper-cased to `to`; a search folds every record. The last
// block overlaps the one before, reading the text again.
void upperCaseInto(std::string_view text, char* to) {
    const char* in = text.data();
    const std::size_t n = text.size();
    if (n < 16) {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = static_cast<char>(upperByte(static_cast<unsigned char>(in[i])));
        return;
    }
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) upperCase16(in + i, to + i);
    if (i < n) upperCase16(in + n - 16, to + n - 16);
}

// ASCII letters upper-cased, the second byte of a double-byte character kept.
std::string upperCaseAsciiCharacters(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = cp932::charLength(out, i);
        if (n == 1) out[i] = static_cast<char>(upperByte(static_cast<unsigned char>(out[i])));
        i += n;
    }
    return out;
}

}  // namespace

std::string upperCaseBytes(std::string_view text) {
    std::string out(text.size(), '\0');
    upperCaseInto(text, out.data());
    return out;
}

KeywordMatcher::KeywordMatcher(std::string_view keyword) : key_(upperCaseBytes(keyword)) {}

bool KeywordMatcher::matches(std::string_view line) const {
    return !matchingLines(std::span(&line, 1)).empty();
}

std::vector<std::size_t> KeywordMatcher::matchingLines(
    std::span<const std::string_view> lines) const {
    std::vector<std::size_t> found;
    // A record line holds no LF, so a keyword with one is found nowhere, and
    // no hit runs from one line into the next.
    if (key_.empty() || key_.find('\n') != std::string::npos) return found;
    std::size_t total = 0;
    for (std::string_view line : lines) total += line.size() + 1;
    if (folded_.size() < total) folded_.resize(total);  // only grows: no refilling
    starts_.resize(lines.size());
    char* to = folded_.data();
    std::size_t end = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        starts_[i] = end;
        upperCaseInto(lines[i], to + end);
        end += lines[i].size();
        to[end++] = '\n';
    }
    std::size_t from = 0;
    for (;;) {
        const void* hit = memmem(folded_.data() + from, end - from, key_.data(), key_.size());
        if (!hit) return found;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - folded_.data());
        const auto i = static_cast<std::size_t>(
            std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin() - 1);
        // Upper-casing turns letters into letters, which are never lead bytes,
        // so the folded line has the original's character boundaries.
        const std::string_view line = lines[i];
        const std::size_t offset = at - starts_[i];
        std::size_t boundary = 0;
        while (boundary < offset) boundary += cp932::charLength(line, boundary);
        if (boundary == offset) {
            found.push_back(i);
            from = starts_[i] + line.size() + 1;
        } else {
            from = at + 1;
        }
    }
}

std::string resultLineOf(std::string_view recordLine) {
    std::string out;
    out.reserve(recordLine.size() + 40);
    for (char c : recordLine) {
        if (c == kFieldSeparator)
            out += kResultSeparator;
        else
            out += c;
    }
    return out;
}

std::string_view dateFieldOfResultLine(std::string_view resultLine) {
    return resultLine.substr(0, resultLine.find(kFieldSeparator));
}

std::string replaceIgnoringAsciiCase(std::string_view line, std::string_view keyword,
                                     std::string_view newText) {
    if (keyword.empty()) return std::string(line);
    const std::string key = upperCaseAsciiCharacters(keyword);
    const std::string folded = upperCaseAsciiCharacters(line);
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (std::string_view(folded).substr(i, key.size()) == key) {
            out += newText;
            i += key.size();
            continue;
        }
        const std::size_t n = cp932::charLength(line, i);
        out.append(line.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace orvo
