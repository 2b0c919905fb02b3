#include "base/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#ifdef _WIN32
#error "CP932 conversion on Windows uses code page 932; not built yet"
#else
#include <iconv.h>
#endif

namespace orvo::cp932 {

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One iconv descriptor per direction and thread; opening is the costly part.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false at the first bad or incomplete
    // sequence, leaving `in` pointing at it.
    bool convert(std::string_view& in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

std::size_t utf8Length(unsigned char b) {
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}

// ASCII text is the same bytes in both encodings (iconv maps the backslash and
// the tilde to themselves): it needs no converter, whose first use costs a
// short command a tenth of its run.
bool isAscii(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string toUtf8(std::string_view cp932) {
    if (isAscii(cp932)) return std::string(cp932);
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    while (!decoder().convert(cp932, out)) {
        out += kReplacement;
        cp932.remove_prefix(charLength(cp932, 0));
    }
    return out;
}

Encoded fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return {std::string(utf8), {}};
    Encoded result;
    result.bytes.reserve(utf8.size());
    while (!encoder().convert(utf8, result.bytes)) {
        std::size_t n = std::min(utf8Length(static_cast<unsigned char>(utf8[0])), utf8.size());
        std::string_view bad = utf8.substr(0, n);
        if (result.unencodable.find(bad) == std::string::npos) result.unencodable += bad;
        utf8.remove_prefix(n);
    }
    return result;
}

}  // namespace orvo::cp932
