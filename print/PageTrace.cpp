#include "print/PageTrace.h"

#include <type_traits>

#include "base/Cp932.h"

namespace orvo::print {

namespace {

std::string utf8ForTrace(const std::string& cp932Text) {
    std::string out;
    for (char c : cp932::toUtf8(cp932Text)) {
        if (c == '\\')
            out += "\xC2\xA5";  // U+00A5 YEN SIGN
        else
            out += c;
    }
    return out;
}

std::string numbers(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += ' ';
        out += std::to_string(v);
    }
    return out;
}

}  // namespace

std::vector<std::string> traceLines(const Page& page) {
    std::vector<std::string> lines{std::string("page ") += std::to_string(page.number)};
    PrintFont font;
    for (const PageOp& op : page.ops) {
        std::visit(
            [&](const auto& o) {
                using Op = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<Op, SelectFontOp>) {
                    font = o.font;
                } else if constexpr (std::is_same_v<Op, TextOp>) {
                    const char* face = font.face == FontFace::Mincho ? "mincho" : "gothic";
                    lines.push_back("text" + numbers({o.x, o.y}) + " " + face +
                                    numbers({font.height}) + " " + utf8ForTrace(o.text));
                } else if constexpr (std::is_same_v<Op, LineOp>) {
                    lines.push_back("line" + numbers({o.x1, o.y1, o.x2, o.y2}));
                } else {
                    lines.push_back("rect" + numbers({o.left, o.top, o.right, o.bottom}) + " " +
                                    std::to_string(o.fill.red) + "," +
                                    std::to_string(o.fill.green) + "," +
                                    std::to_string(o.fill.blue));
                }
            },
            op);
    }
    return lines;
}

}  // namespace orvo::print
