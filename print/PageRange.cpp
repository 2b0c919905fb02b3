#include "print/PageRange.h"

#include "base/Amount.h"
#include "base/OrvoError.h"

namespace orvo::print {

namespace {
OrvoError badPageRange() {
    return OrvoError("ﾍﾟｰｼﾞ指定に誤りがあります");
}
}  // namespace

PageRange parsePageRange(std::string_view firstText, std::string_view lastText) {
    if (firstText.empty() || lastText.empty()) throw badPageRange();
    const PageRange range{amountOrThrow(firstText), amountOrThrow(lastText)};
    if (range.last < range.first) throw badPageRange();
    return range;
}

}  // namespace orvo::print
