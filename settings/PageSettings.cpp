#include "settings/PageSettings.h"

#include "base/Amount.h"

namespace orvo {

namespace {

constexpr int kDefaultFontSize = 11;

int integerOr(const std::string& text, int fallback) {
    const auto value = parseAmount(text);
    return value ? *value : fallback;
}

}  // namespace

PageLayoutValues PageSettings::layoutValues() const {
    PageLayoutValues values;
    values.orientation = orientation;
    values.topMargin = integerOr(topMargin, 0);
    values.leftMargin = integerOr(leftMargin, 0);
    values.leftPosition = amountOrThrow(leftPosition);
    const int size = integerOr(fontSize, kDefaultFontSize);
    values.fontSize = size >= 1 ? size : kDefaultFontSize;
    return values;
}

std::optional<PageRange> PageSettings::pageRange() const {
    if (selection == PageSelection::AllPages) return PageRange{1, 999};
    if (firstPage.empty() || lastPage.empty()) return std::nullopt;
    const PageRange range{amountOrThrow(firstPage), amountOrThrow(lastPage)};
    // A range that ends before page 1 would print nothing and still report success.
    if (range.last < range.first || range.last < 1) return std::nullopt;
    return range;
}

ResolvedPageSettings PageSettings::resolve() const {
    ResolvedPageSettings resolved;
    resolved.layout = layoutValues();
    resolved.range = pageRange();
    return resolved;
}

std::string pageRangeMistakeText() {
    return "ﾍﾟｰｼﾞ指定に誤りがあります";
}

std::vector<std::string> leftPositionChoices() {
    std::vector<std::string> items;
    for (int v = 0; v >= -180; v -= 20) items.push_back(std::to_string(v));
    return items;
}

std::vector<std::string> fontSizeChoices() {
    std::vector<std::string> items;
    for (int v = 8; v <= 30; ++v) items.push_back(std::to_string(v));
    return items;
}

}  // namespace orvo
