#include "print/TotalsReport.h"

#include <algorithm>
#include <cmath>

#include "print/FormatAmount.h"
#include "print/PageGeometry.h"

namespace orvo::print {

namespace {

constexpr int kAmountX = 300;
constexpr int kShareX = 600;
constexpr int kBarX = 1000;
constexpr int kBarGap = 10;
constexpr int kMonthTableColumns = 6;
constexpr int kMonthColumnChars = 7;
constexpr int kMonthAmountShift = -100;

std::string amountText(std::int32_t value) {
    return FormatAmount(std::to_string(value), kAmountWidth);
}

std::string groupedTenths(long long tenths) {
    const bool negative = tenths < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(tenths)
                                                  : static_cast<unsigned long long>(tenths);
    const std::string whole = std::to_string(magnitude / 10);
    std::string out = negative ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
        out += whole[i];
    }
    return out + "." + std::to_string(magnitude % 10);
}

}  // namespace

std::string formatShare(std::int32_t total, std::int32_t grandTotal) {
    if (grandTotal == 0) return "0.0%";
    const double share = static_cast<double>(total) * 100.0 / static_cast<double>(grandTotal);
    return groupedTenths(std::llround(share * 10.0)) + "%";
}

std::optional<int> barLength(std::int32_t total, std::int32_t maxTitleTotal) {
    if (maxTitleTotal <= 0 || total <= 0) return std::nullopt;
    return static_cast<int>(static_cast<double>(total) * kLongestBar /
                            static_cast<double>(maxTitleTotal));
}

namespace {

// Largest first, down to the bottom limit; returns the y below the last row.
int drawRankedList(PageBuilder& b, const PageGeometry& g, const TitleTotals& totals, int y) {
    const int left = g.left;
    for (auto entry = totals.entries.rbegin(); entry != totals.entries.rend(); ++entry) {
        b.text(left, y, entry->title);
        b.text(left + kAmountX, y, amountText(entry->total));
        b.text(left + kShareX, y, formatShare(entry->total, totals.grandTotal));
        if (const auto bar = barLength(entry->total, totals.maxTitleTotal))
            b.rect(left + kBarX, y, left + kBarX + *bar, y + g.linePitch - kBarGap, kBarColour);
        y += g.linePitch;
        if (y > g.bottomLimit) break;
    }
    return y;
}

// The month totals of the (up to) six largest titles, from y on.
void drawMonthTable(PageBuilder& b, const PageGeometry& g, const TitleTotals& totals, int y) {
    const int q = g.linePitch;
    const int columnPitch = kMonthColumnChars * g.charWidth;
    const int columns = std::min<int>(kMonthTableColumns, static_cast<int>(totals.entries.size()));
    auto kthLargest = [&](int k) -> const TitleTotal& {
        return totals.entries[totals.entries.size() - static_cast<std::size_t>(k)];
    };
    b.selectFont(headerFont(g.fontHeight));
    for (int k = 1; k <= columns; ++k) b.text(g.left + columnPitch * k, y, kthLargest(k).title);
    y += q;
    b.rule(y);
    y += q / 3;
    b.selectFont(bodyFont(g.fontHeight));
    for (std::size_t m = 1; m <= 12; ++m) {
        b.text(g.left, y, std::to_string(m) + "月");
        for (int k = 1; k <= columns; ++k)
            b.text(g.left + kMonthAmountShift + columnPitch * k, y,
                   amountText(kthLargest(k).monthly[m - 1]));
        y += q;
    }
}

}  // namespace

Page RenderTotalsReport(const TitleTotals& totals, const PrintSettings& settings,
                        const TextMeasurer& measurer, int pageNo) {
    const PageGeometry g = pageGeometry(settings, measurer);
    const int q = g.linePitch;
    PageBuilder b(g, measurer, pageNo);

    b.selectFont(titleFont(g.fontHeight));
    b.centredText(g.top, std::string("《") + titleBaseName(settings.dataFileName) +
                             " 勘定科目合計  " + totals.year + "年分》");
    b.selectFont(headerFont(g.fontHeight));
    b.text(g.left, g.top + 3 * q, "勘定科目");
    b.text(g.left + kAmountX + 2 * g.charWidth, g.top + 3 * q, "合計金額");
    b.text(g.left + kShareX, g.top + 3 * q, "割合");
    int y = g.top + 4 * q;
    b.rule(y);
    y += q / 3;
    b.selectFont(bodyFont(g.fontHeight));

    y = drawRankedList(b, g, totals, y) + q;
    b.rule(y);
    y += q / 3;
    b.text(g.left + kAmountX, y, amountText(totals.grandTotal));  // every title counts here
    drawMonthTable(b, g, totals, y + 3 * q);

    b.footer(settings.today);
    return b.take();
}

}  // namespace orvo::print
