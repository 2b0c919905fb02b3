#pragma once
// The account-totals report: the ranked list with shares and bars, the grand
// total, and the month table of the six largest titles, continued on further
// pages when they do not fit above the footer.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "print/PageOps.h"
#include "print/PrintSettings.h"
#include "print/TextMeasurer.h"
#include "print/TitleTotals.h"

namespace orvo::print {

inline constexpr Rgb kBarColour{0, 128, 0};
inline constexpr int kLongestBar = 700;

// The share of `total` in `grandTotal` as ",0.0%" shows it ("66.7%",
// "1,234.5%"); "0.0%" when the grand total is 0.
std::string formatShare(std::int32_t total, std::int32_t grandTotal);

// The length of a title's bar: Trunc(total x 700 / largest total); nothing is
// drawn for a total of 0 or less, nor when no title has a positive total.
std::optional<int> barLength(std::int32_t total, std::int32_t maxTitleTotal);

// Lays out the report pages for `totals`, whose entries are sorted by
// ascending total (SortTitlesByTotal), numbered from 1. Every page has the
// title, a header row (the list's, or the month table's once the list is done)
// and the footer; a row that would pass the bottom limit goes to the next page.
// Settings' page range is not used.
std::vector<Page> RenderTotalsReport(const TitleTotals& totals, const PrintSettings& settings,
                                     const TextMeasurer& measurer);

}  // namespace orvo::print
