#pragma once
// The resolved numbers a print layout reads: the settings window's page
// settings, the preview's font size, the print widths and the grid's titles.
// The window layer fills it from its controls; texts are CP932.

#include <string>
#include <vector>

namespace orvo::print {

enum class PageOrientation { Portrait, Landscape };

inline constexpr int kAllPagesFirst = 1;
inline constexpr int kAllPagesLast = 999;

struct PrintSettings {
    PageOrientation orientation = PageOrientation::Portrait;
    int topMargin = 150;   // T
    int leftMargin = 150;  // L
    int leftPosition = 0;  // P_left, 0 down to -180; narrows the page surface
    int fontPoints = 11;   // the preview's font size
    int firstPage = kAllPagesFirst;
    int lastPage = kAllPagesLast;
    // Print widths of grid columns 1, 2, ... as the print settings file lists
    // them; the first five are used. A column without a width is not printed.
    std::vector<int> printWidths;
    // Row 0 of grid columns 1 to n - 1.
    std::vector<std::string> columnTitles;
    // The ledger's data file, for the title; empty when it has none.
    std::string dataFileName;
    // The creation date in the footer, "yyyy/mm/dd".
    std::string today;
};

}  // namespace orvo::print
