#include "statement/StatementText.h"

#include <cstdio>

#include "base/Cp932.h"

namespace orvo::statement {

namespace {

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// Whether `bytes` is well-formed UTF-8 with at least one character beyond ASCII.
bool looksLikeUtf8(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t n = 0;
        if (b < 0x80)
            n = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            n = 2;
        else if (b >= 0xE0 && b <= 0xEF)
            n = 3;
        else if (b >= 0xF0 && b <= 0xF4)
            n = 4;
        else
            return false;
        if (i + n > bytes.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        if (n > 1) beyondAscii = true;
        i += n;
    }
    return beyondAscii;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 after its byte-order mark as UTF-8; a lone surrogate or an odd last
// byte becomes U+FFFD, which CP932 lacks, so its line is named.
std::string utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? (b << 8 | a) : (a << 8 | b);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        appendUtf8(out, c);
    }
    if (i < bytes.size()) appendUtf8(out, 0xFFFD);
    return out;
}

std::string describeCharacter(std::string_view utf8) {
    char32_t code = 0;
    const auto b0 = static_cast<unsigned char>(utf8.empty() ? 0 : utf8[0]);
    const std::size_t n = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
    code = n == 1 ? b0 : b0 & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n && k < utf8.size(); ++k)
        code = code << 6 | (static_cast<unsigned char>(utf8[k]) & 0x3F);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

// Calls f(line) for each line of `text`.
template <class F>
void forEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        f(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

}  // namespace

std::string encodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Cp932:
            return "Shift-JIS (CP932)";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Utf8Bom:
            return "UTF-8 (BOM付き)";
        case Encoding::Utf16Le:
            return "UTF-16 LE (BOM付き)";
        case Encoding::Utf16Be:
            return "UTF-16 BE (BOM付き)";
    }
    return {};
}

Encoding detectEncoding(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) return Encoding::Utf8Bom;
    if (startsWith(bytes, "\xFF\xFE")) return Encoding::Utf16Le;
    if (startsWith(bytes, "\xFE\xFF")) return Encoding::Utf16Be;
    return looksLikeUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932;
}

DecodedText decodeText(std::string_view bytes, std::optional<Encoding> encoding) {
    DecodedText decoded;
    decoded.encoding = encoding ? *encoding : detectEncoding(bytes);
    std::string utf8;
    bool isUtf8 = true;
    switch (decoded.encoding) {
        case Encoding::Cp932:
            isUtf8 = false;
            break;
        case Encoding::Utf8:
            utf8 = std::string(bytes);
            break;
        case Encoding::Utf8Bom:
            utf8 = std::string(startsWith(bytes, "\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
            break;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            const bool le = decoded.encoding == Encoding::Utf16Le;
            const bool bom = startsWith(bytes, le ? std::string_view("\xFF\xFE") : "\xFE\xFF");
            utf8 = utf16ToUtf8(bom ? bytes.substr(2) : bytes, le);
            break;
        }
    }
    std::size_t number = 0;
    forEachLine(isUtf8 ? std::string_view(utf8) : bytes, [&](std::string_view line) {
        TextLine out;
        out.number = ++number;
        if (!isUtf8) {
            out.text = std::string(line);
        } else {
            cp932::Encoded e = cp932::fromUtf8(line);
            out.text = std::move(e.bytes);
            if (!e.ok()) {
                // The first character only: fromUtf8 lists each once, in order.
                std::size_t n = 1;
                const auto b0 = static_cast<unsigned char>(e.unencodable[0]);
                if (b0 >= 0xC0) n = b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
                out.unencodable = describeCharacter(std::string_view(e.unencodable).substr(0, n));
            }
        }
        decoded.lines.push_back(std::move(out));
    });
    return decoded;
}

}  // namespace orvo::statement
