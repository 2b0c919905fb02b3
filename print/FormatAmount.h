#pragma once
// Amounts on paper: the "\,0" pattern right-aligned in a field of half-width places.

#include <string>
#include <string_view>

namespace orvo::print {

// The amount as "\,0" (a backslash, which the Japanese fonts show as the yen
// sign; the value taken to the nearest whole number and grouped by three digits
// with ","; a minus sign before the backslash), right-aligned with blanks in a
// field of `width` characters. A longer figure is returned whole: a figure cut
// to its last places would be a wrong one. An empty text counts as "0"; a text
// that is no number throws "'%s' は浮動小数点数ではありません".
std::string FormatAmount(std::string_view text, int width);

}  // namespace orvo::print
