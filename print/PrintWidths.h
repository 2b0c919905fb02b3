#pragma once
// The column print widths as the preview takes them from the print settings
// file's rows.

#include <string>
#include <vector>

namespace orvo::print {

// The rows the settings window holds without a print settings file:
// columnCount - 1 rows of 1400 div columnCount.
std::vector<std::string> defaultPrintWidthRows(int columnCount);

// The first five rows as whole numbers (fewer when there are fewer rows); a
// row that is no whole number throws "'%s' は整数ではありません".
std::vector<int> printWidthsFromRows(const std::vector<std::string>& rows);

}  // namespace orvo::print
