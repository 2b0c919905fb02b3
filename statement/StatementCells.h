#pragma once
// A statement line cut into cells: comma or TAB separated, a cell in double
// quotes may hold the separator, a pair of double quotes standing for one.

#include <string>
#include <string_view>
#include <vector>

namespace orvo::statement {

// The separator of a statement: TAB when the line holds more TABs outside
// quotes than commas, else comma.
char detectSeparator(std::string_view line);

// The cells of `line` (CP932), each without its quotes and the blanks around it.
std::vector<std::string> splitCells(std::string_view line, char separator);

// The text without blanks (ASCII and full-width) at either end.
std::string_view trimBlanks(std::string_view text);

}  // namespace orvo::statement
