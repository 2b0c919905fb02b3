#pragma once
// The column print widths as the preview takes them from the print settings
// file's rows.

#include <string>
#include <vector>

namespace orvo::print {

// The rows come from the print settings file, or its defaults (settings/PrintWidths.h).

// A print width in 0.1 mm: up to a metre, so that no sum of widths overflows.
inline constexpr int kMinPrintWidth = 1;
inline constexpr int kMaxPrintWidth = 10000;

// The first five rows as whole numbers (fewer when there are fewer rows); a
// row that is no whole number throws "'%s' は整数ではありません", one outside
// 1 to 10000 "'%s' は 1 から 10000 までの整数ではありません".
std::vector<int> printWidthsFromRows(const std::vector<std::string>& rows);

}  // namespace orvo::print
