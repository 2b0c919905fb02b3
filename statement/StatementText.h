#pragma once
// A statement file's bytes as CP932 lines: the encoding is detected (CP932,
// UTF-8 with or without the byte-order mark, UTF-16 with it) and converted
// line by line, so that a character CP932 lacks spoils only its own line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::statement {

enum class Encoding { Cp932, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The name the window and the help show for an encoding (CP932).
std::string encodingName(Encoding encoding);
inline constexpr Encoding kAllEncodings[] = {Encoding::Cp932, Encoding::Utf8, Encoding::Utf8Bom,
                                             Encoding::Utf16Le, Encoding::Utf16Be};

struct TextLine {
    std::size_t number = 0;   // 1-based, in the file
    std::string text;         // CP932, without the line end
    std::string unencodable;  // the first character CP932 lacks, as its description; else empty
};

struct DecodedText {
    Encoding encoding = Encoding::Cp932;
    std::vector<TextLine> lines;
};

// The encoding the bytes are in: a byte-order mark decides; else UTF-8 when
// they are valid UTF-8 holding more than ASCII; else CP932.
Encoding detectEncoding(std::string_view bytes);

// The lines of `bytes` read in `encoding` (detected when not given). Lines end
// at LF, CR LF or a lone CR; a byte-order mark is dropped.
DecodedText decodeText(std::string_view bytes, std::optional<Encoding> encoding = std::nullopt);

}  // namespace orvo::statement
