#include "print/PageGeometry.h"

#include <algorithm>
#include <cstdint>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "print/PrintWidths.h"

namespace orvo::print {

namespace {
constexpr int kPortraitWidth = 2100;
constexpr int kPortraitHeight = 2970;
constexpr int kRuleLeft = 80;
constexpr int kRuleRightInset = 100;
}  // namespace

// Integer arithmetic, so that 1.2 and 1.4 cannot fall a hair short of a whole number.
int fontHeightForPoints(int points) {
    return static_cast<int>(static_cast<std::int64_t>(points) * 35277 / 10000);
}

PrintFont fittedFont(const PrintFont& font, std::string_view text, int width,
                     const TextMeasurer& measurer) {
    if (measurer.width(font, text) <= width) return font;
    // Widths grow with the height: the largest height that fits, by halving.
    int fits = 1;
    int tooWide = font.height;
    while (tooWide - fits > 1) {
        const int middle = fits + (tooWide - fits) / 2;
        if (measurer.width({font.face, middle}, text) <= width)
            fits = middle;
        else
            tooWide = middle;
    }
    return {font.face, fits};
}

PrintFont bodyFont(int fontHeight) {
    return {FontFace::Mincho, fontHeight};
}
PrintFont headerFont(int fontHeight) {
    return {FontFace::Gothic, fontHeight};
}
PrintFont titleFont(int fontHeight) {
    return {FontFace::Gothic, fontHeight * 14 / 10};
}

PageGeometry pageGeometry(const PrintSettings& settings, const TextMeasurer& measurer) {
    if (settings.fontPoints < kMinFontPoints || settings.fontPoints > kMaxFontPoints)
        throw notAnIntegerWithin(std::to_string(settings.fontPoints), kMinFontPoints,
                                 kMaxFontPoints);
    PageGeometry g;
    const bool portrait = settings.orientation == PageOrientation::Portrait;
    g.height = portrait ? kPortraitHeight : kPortraitWidth;
    g.width = (portrait ? kPortraitWidth : kPortraitHeight) + settings.leftPosition;
    g.left = settings.leftMargin;
    g.top = settings.topMargin;
    g.fontHeight = fontHeightForPoints(settings.fontPoints);
    const PrintFont body = bodyFont(g.fontHeight);
    g.charWidth = measurer.width(body, "項");
    g.linePitch = measurer.height(body, "項") * 6 / 5;
    g.bottomLimit = g.height - 7 * g.linePitch;

    const int widths =
        std::min<int>(static_cast<int>(settings.printWidths.size()), kPrintedColumns - 1);
    g.columnCount = 1 + widths;
    g.columnWidth[0] = kDateColumnWidth;
    for (int f = 1; f < g.columnCount; ++f) {
        const int width = settings.printWidths[static_cast<std::size_t>(f - 1)];
        if (width < kMinPrintWidth || width > kMaxPrintWidth)
            throw notAnIntegerWithin(std::to_string(width), kMinPrintWidth, kMaxPrintWidth);
        g.columnWidth[static_cast<std::size_t>(f)] = width;
    }
    int x = 0;
    for (std::size_t f = 0; f < kPrintedColumns; ++f) {
        g.columnX[f] = g.left + x;
        x += g.columnWidth[f] + g.charWidth;
    }
    return g;
}

std::string titleBaseName(std::string_view dataFileName) {
    std::size_t nameStart = 0;
    for (std::size_t pos = 0; pos < dataFileName.size();) {
        const std::size_t length = cp932::charLength(dataFileName, pos);
        pos += length;
        if (length == 1 && (dataFileName[pos - 1] == '\\' || dataFileName[pos - 1] == '/'))
            nameStart = pos;
    }
    const std::string_view name = dataFileName.substr(nameStart);
    for (std::size_t pos = 0; pos < name.size(); pos += cp932::charLength(name, pos))
        if (name[pos] == '.') return std::string(name.substr(0, pos));
    return {};
}

PageBuilder::PageBuilder(const PageGeometry& geometry, const TextMeasurer& measurer, int pageNo)
    : geometry_(geometry), measurer_(measurer), font_(bodyFont(geometry.fontHeight)) {
    page_.number = pageNo;
    page_.width = geometry.width;
    page_.height = geometry.height;
}

void PageBuilder::selectFont(const PrintFont& font) {
    font_ = font;
    page_.ops.emplace_back(SelectFontOp{font});
}

void PageBuilder::text(int x, int y, std::string text) {
    if (text.empty()) return;
    page_.ops.emplace_back(TextOp{x, y, std::move(text)});
}

void PageBuilder::centredText(int y, std::string text) {
    fittedText(0, geometry_.width, y, std::move(text), Align::Centre);
}

void PageBuilder::textCentredIn(int columnX, int columnWidth, int y, std::string text) {
    fittedText(columnX, columnWidth, y, std::move(text), Align::Centre);
}

void PageBuilder::fittedText(int left, int width, int y, std::string text, Align align) {
    if (text.empty()) return;
    const PrintFont font = font_;
    const PrintFont fitted = fittedFont(font, text, width, measurer_);
    const int shown = measurer_.width(fitted, text);
    int x = left;
    if (align == Align::Centre) x = left + (width - shown) / 2;
    if (align == Align::Right) x = left + width - shown;
    if (fitted == font) {
        this->text(x, y, std::move(text));
        return;
    }
    selectFont(fitted);
    this->text(x, y + font.height - fitted.height, std::move(text));
    selectFont(font);
}

void PageBuilder::textInSpan(int x, int spanLeft, int spanRight, int y, std::string text) {
    if (x + textWidth(text) <= spanRight) {
        this->text(x, y, std::move(text));
        return;
    }
    text.erase(0, text.find_first_not_of(' '));
    fittedText(spanLeft, spanRight - spanLeft, y, std::move(text), Align::Right);
}

void PageBuilder::rule(int y) {
    page_.ops.emplace_back(LineOp{kRuleLeft, y, geometry_.width - kRuleRightInset, y});
}

void PageBuilder::rect(int left, int top, int right, int bottom, Rgb fill) {
    page_.ops.emplace_back(RectOp{left, top, right, bottom, fill});
}

void PageBuilder::footer(const std::string& today) {
    selectFont(bodyFont(geometry_.fontHeight));
    const int q = geometry_.linePitch;
    std::string created = "【作成日" + today + "】";
    const int x = geometry_.width - geometry_.left - textWidth(created);
    text(x, geometry_.height - 5 * q, std::move(created));
    std::string number = "-";
    number += std::to_string(page_.number);
    number += '-';
    centredText(geometry_.height - 4 * q, std::move(number));
}

}  // namespace orvo::print
