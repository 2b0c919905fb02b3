#pragma once
// The print range the settings window's two page fields give.

#include <string_view>

namespace orvo::print {

struct PageRange {
    int first = 1;
    int last = 999;
    bool operator==(const PageRange&) const = default;
};

// Both fields filled with whole numbers, the last not before the first. An
// empty field, or a last page before the first, throws
// "ﾍﾟｰｼﾞ指定に誤りがあります"; a text that is no whole number throws
// "'%s' は整数ではありません".
PageRange parsePageRange(std::string_view firstText, std::string_view lastText);

}  // namespace orvo::print
