#pragma once
// CP932 (Shift-JIS) byte rules and the conversion to and from UTF-8.
// The core keeps text as CP932 bytes; only the window layer and the CLI convert.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo::cp932 {

inline bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that may follow a lead byte. A lead byte before anything else (end of
// text, TAB, CR, LF, other controls) stands alone and swallows nothing.
inline bool isTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Length of the character starting at text[pos]: 2 for a lead byte followed by
// a trail byte, else 1.
inline std::size_t charLength(std::string_view text, std::size_t pos) {
    if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
        isTrailByte(static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

// Decodes CP932 to UTF-8. A byte sequence that is no CP932 character becomes
// U+FFFD; the core's bytes are never rewritten from this, so nothing is lost.
std::string toUtf8(std::string_view cp932);

// The result of encoding UTF-8 text to CP932.
struct Encoded {
    std::string bytes;        // the encodable part, in order
    std::string unencodable;  // UTF-8 of the characters CP932 has no code for (each once)
    bool ok() const { return unencodable.empty(); }
};

// Encodes UTF-8 to CP932. Characters without a CP932 code are never written as
// substitutes: they are left out of `bytes` and listed in `unencodable`.
Encoded fromUtf8(std::string_view utf8);

}  // namespace orvo::cp932
