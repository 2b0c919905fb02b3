#pragma once
// A printed page as a replayable list of drawing operations, lengths in 0.1 mm
// (x to the right from the page's left edge, y down from its top edge). The
// preview, the printer and the PDF writer replay the same list; texts are CP932.

#include <string>
#include <variant>
#include <vector>

namespace orvo::print {

enum class FontFace { Mincho, Gothic };

struct PrintFont {
    FontFace face = FontFace::Mincho;
    int height = 0;  // 0.1 mm
    bool operator==(const PrintFont&) const = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Texts drawn after it use this font.
struct SelectFontOp {
    PrintFont font;
    bool operator==(const SelectFontOp&) const = default;
};

// Black text without background, anchored at its top-left corner.
struct TextOp {
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const TextOp&) const = default;
};

// A thin black line.
struct LineOp {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const LineOp&) const = default;
};

// A rectangle filled with `fill` and outlined thin black.
struct RectOp {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    Rgb fill;
    bool operator==(const RectOp&) const = default;
};

using PageOp = std::variant<SelectFontOp, TextOp, LineOp, RectOp>;

struct Page {
    int number = 0;  // the page number printed in the footer
    int width = 0;   // the page surface W x H
    int height = 0;
    std::vector<PageOp> ops;
};

}  // namespace orvo::print
