#pragma once
// Reading laid-out pages back in the tests.

#include <string>
#include <variant>
#include <vector>

#include "ledger/LedgerRecords.h"
#include "print/PageOps.h"

namespace orvo::print {

struct DrawnText {
    int x = 0;
    int y = 0;
    std::string text;
    PrintFont font;
};

// The page's texts with the font each is drawn in.
inline std::vector<DrawnText> drawnTexts(const Page& page) {
    std::vector<DrawnText> out;
    PrintFont font;
    for (const PageOp& op : page.ops) {
        if (const auto* f = std::get_if<SelectFontOp>(&op)) font = f->font;
        if (const auto* t = std::get_if<TextOp>(&op)) out.push_back({t->x, t->y, t->text, font});
    }
    return out;
}

// The first text drawn exactly as `text`, or one with an empty text.
inline DrawnText findText(const Page& page, const std::string& text) {
    for (const DrawnText& t : drawnTexts(page))
        if (t.text == text) return t;
    return {};
}

// The first text drawn as `text` in a font of `face`.
inline DrawnText findText(const Page& page, const std::string& text, FontFace face) {
    for (const DrawnText& t : drawnTexts(page))
        if (t.text == text && t.font.face == face) return t;
    return {};
}

template <class Op>
std::vector<Op> opsOf(const Page& page) {
    std::vector<Op> out;
    for (const PageOp& op : page.ops)
        if (const auto* o = std::get_if<Op>(&op)) out.push_back(*o);
    return out;
}

inline LedgerRecords recordsOf(const std::vector<std::string>& lines) {
    LedgerRecords records;
    records.addAll(lines);
    return records;
}

}  // namespace orvo::print
