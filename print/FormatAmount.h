#pragma once
// Amounts on paper: the "\,0" pattern right-aligned in a field of half-width places.

#include <string>
#include <string_view>

namespace orvo::print {

// `width` blanks, then the amount as "\,0" (a backslash, which the Japanese
// fonts show as the yen sign; the value taken to the nearest whole number and
// grouped by three digits with ","; a minus sign before the backslash), of
// which the last `width` characters are returned. An empty text counts as "0";
// a text that is no number throws "'%s' は浮動小数点数ではありません".
std::string FormatAmount(std::string_view text, int width);

}  // namespace orvo::print
