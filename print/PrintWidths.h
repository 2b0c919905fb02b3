#pragma once
// The column print widths as the preview takes them from the print settings
// file's rows.

#include <string>
#include <vector>

namespace orvo::print {

// The rows come from the print settings file, or its defaults (settings/PrintWidths.h).

// The first five rows as whole numbers (fewer when there are fewer rows); a
// row that is no whole number throws "'%s' は整数ではありません".
std::vector<int> printWidthsFromRows(const std::vector<std::string>& rows);

}  // namespace orvo::print
