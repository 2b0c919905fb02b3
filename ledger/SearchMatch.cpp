#include "ledger/SearchMatch.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "ledger/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr std::string_view kResultSeparator = "\t     ";

inline unsigned char upperByte(unsigned char c) {
    return c >= 0x61 && c <= 0x7A ? static_cast<unsigned char>(c - 0x20) : c;
}

// Eight bytes at a time: the search folds every record of the ledger.
void upperCaseInto(std::string_view text, std::string& out) {
    out.resize(text.size());
    const char* in = text.data();
    char* to = out.data();
    std::size_t i = 0;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, in + i, 8);
        const std::uint64_t low7 = w & ~kHighs;
        // High bit of each byte: its low seven bits are at least 0x61, at
        // least 0x7B; a letter is the first without the second, high bit clear.
        const std::uint64_t atLeastA = low7 + kOnes * (0x80 - 0x61);
        const std::uint64_t pastZ = low7 + kOnes * (0x80 - 0x7B);
        const std::uint64_t letters = atLeastA & ~pastZ & ~w & kHighs;
        w -= letters >> 2;  // 0x80 >> 2 is 0x20
        std::memcpy(to + i, &w, 8);
    }
    for (; i < text.size(); ++i)
        to[i] = static_cast<char>(upperByte(static_cast<unsigned char>(in[i])));
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
    std::string out;
    upperCaseInto(text, out);
    return out;
}

KeywordMatcher::KeywordMatcher(std::string_view keyword) : key_(upperCaseBytes(keyword)) {}

bool KeywordMatcher::matches(std::string_view line) const {
    if (key_.empty() || key_.size() > line.size()) return false;
    upperCaseInto(line, folded_);
    // Upper-casing turns letters into letters, which are never lead bytes, so
    // the folded line has the original's character boundaries.
    std::size_t boundary = 0;
    std::size_t from = 0;
    for (;;) {
        const void* hit =
            memmem(folded_.data() + from, folded_.size() - from, key_.data(), key_.size());
        if (!hit) return false;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - folded_.data());
        while (boundary < at) boundary += cp932::charLength(line, boundary);
        if (boundary == at) return true;
        from = at + 1;
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
