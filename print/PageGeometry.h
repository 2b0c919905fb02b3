#pragma once
// The page geometry both printouts share, in 0.1 mm, and the page parts they
// draw alike (title, rules, footer).

#include <array>
#include <string>
#include <string_view>

#include "print/PageOps.h"
#include "print/PrintSettings.h"
#include "print/TextMeasurer.h"

namespace orvo::print {

inline constexpr int kDateColumnWidth = 225;
inline constexpr int kPrintedColumns = 6;  // the date and grid columns 1 to 5
inline constexpr int kAmountWidth = 12;    // amounts are right-aligned in 12 half-width places

// The font sizes the preview offers, in points; a size outside throws.
inline constexpr int kMinFontPoints = 8;
inline constexpr int kMaxFontPoints = 30;

// Trunc(points x 3.5277): 11 points give 38.
int fontHeightForPoints(int points);

// The largest height of `font`'s face, up to its own, at which `text` is at
// most `width` wide; 1 when none is.
PrintFont fittedFont(const PrintFont& font, std::string_view text, int width,
                     const TextMeasurer& measurer);

enum class Align { Left, Centre, Right };

PrintFont bodyFont(int fontHeight);
PrintFont headerFont(int fontHeight);
PrintFont titleFont(int fontHeight);  // 1.4 times as high

struct PageGeometry {
    int width = 0;   // W, narrowed by the left position
    int height = 0;  // H
    int left = 0;    // L
    int top = 0;     // T
    int fontHeight = 0;
    int charWidth = 0;    // C: the width of a full-width character in the body font
    int linePitch = 0;    // Q
    int bottomLimit = 0;  // B = H - 7Q
    // Columns that are printed: the date column and every grid column 1 to 5
    // that has a print width.
    int columnCount = 1;
    std::array<int, kPrintedColumns> columnX{};  // L + X_f
    std::array<int, kPrintedColumns> columnWidth{};
};

// Throws notAnIntegerWithin for a font size or a print width out of range
// (settings filled by code that did not check them).
PageGeometry pageGeometry(const PrintSettings& settings, const TextMeasurer& measurer);

// The data file's name without its folder, cut before its first "."; empty
// when the name has no ".". CP932, cut at whole characters.
std::string titleBaseName(std::string_view dataFileName);

// Appends a page's operations, tracking the font texts are measured in.
class PageBuilder {
public:
    PageBuilder(const PageGeometry& geometry, const TextMeasurer& measurer, int pageNo);

    void selectFont(const PrintFont& font);
    void text(int x, int y, std::string text);
    // Centred on the page: x = (W - width) div 2; smaller when wider than the page.
    void centredText(int y, std::string text);
    // Centred in a column: x = columnX + (columnWidth - width) div 2; smaller
    // when wider than the column.
    void textCentredIn(int columnX, int columnWidth, int y, std::string text);
    // One line in the span [left, left + width), aligned in it: in the current
    // font when it fits, else in the fitted height of the same face with its
    // foot on the line's foot. Never cut, never wrapped.
    void fittedText(int left, int width, int y, std::string text, Align align);
    // At x when it ends by spanRight; else, its leading blanks (which only
    // align it) dropped, right-aligned in [spanLeft, spanRight), smaller if need be.
    void textInSpan(int x, int spanLeft, int spanRight, int y, std::string text);
    // The thin rule across the page, from x = 80 to W - 100.
    void rule(int y);
    void rect(int left, int top, int right, int bottom, Rgb fill);
    // The creation date, right edge at W - L, and the page number, centred.
    void footer(const std::string& today);

    int textWidth(std::string_view text) const { return measurer_.width(font_, text); }
    Page take() { return std::move(page_); }

private:
    const PageGeometry& geometry_;
    const TextMeasurer& measurer_;
    PrintFont font_;
    Page page_;
};

}  // namespace orvo::print
