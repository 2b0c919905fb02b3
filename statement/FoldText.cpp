#include "statement/FoldText.h"

#include "base/Cp932.h"

namespace orvo::statement {

namespace {

// The full-width forms of the half-width katakana 0xA1 to 0xDF, in order.
constexpr const char kFullWidthKana[] =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

bool takesVoicedMark(unsigned char b) {
    return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);  // ｶ..ﾄ, ﾊ..ﾎ
}

}  // namespace

std::string foldForMatching(std::string_view text) {
    static_assert(sizeof kFullWidthKana == 63 * 2 + 1, "two bytes a character");
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t n = cp932::charLength(text, i);
        if (n == 1) {
            ++i;
            if (b == ' ' || b == '\t' || (b >= '0' && b <= '9')) continue;
            if (b >= 'A' && b <= 'Z') {
                out += static_cast<char>(b + 32);
            } else if (b >= 0xA1 && b <= 0xDF) {
                const char* full = kFullWidthKana + 2 * (b - 0xA1);
                unsigned char lead = static_cast<unsigned char>(full[0]);
                unsigned char trail = static_cast<unsigned char>(full[1]);
                const auto next = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
                if (next == 0xDE && takesVoicedMark(b)) {
                    trail += 1;
                    ++i;
                } else if (next == 0xDE && b == 0xB3) {  // ｳﾞ
                    lead = 0x83;
                    trail = 0x94;
                    ++i;
                } else if (next == 0xDF && b >= 0xCA && b <= 0xCE) {
                    trail += 2;
                    ++i;
                }
                out += static_cast<char>(lead);
                out += static_cast<char>(trail);
            } else {
                out += static_cast<char>(b);
            }
            continue;
        }
        const auto t = static_cast<unsigned char>(text[i + 1]);
        i += 2;
        if (b == 0x81 && t == 0x40) continue;               // full-width blank
        if (b == 0x82 && t >= 0x4F && t <= 0x58) continue;  // ０..９
        if (b == 0x82 && t >= 0x60 && t <= 0x79) {          // Ａ..Ｚ
            out += static_cast<char>('a' + (t - 0x60));
        } else if (b == 0x82 && t >= 0x81 && t <= 0x9A) {  // ａ..ｚ
            out += static_cast<char>('a' + (t - 0x81));
        } else {
            out += static_cast<char>(b);
            out += static_cast<char>(t);
        }
    }
    return out;
}

}  // namespace orvo::statement
