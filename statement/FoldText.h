#pragma once
// Descriptions compared as the same shop: half-width katakana folded to full
// width (ｾﾌﾞﾝ = セブン), full-width letters to ASCII, ASCII case ignored, and
// blanks and digits (store numbers) dropped. Rules, history and the duplicate
// check all compare this way.

#include <string>
#include <string_view>

namespace orvo::statement {

// `cp932` folded; two texts name the same shop when their folds are equal.
std::string foldForMatching(std::string_view cp932);

}  // namespace orvo::statement
