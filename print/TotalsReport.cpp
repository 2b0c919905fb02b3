#include "print/TotalsReport.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

// The report's rows, placed down the pages: a row that would stand below the
// bottom limit starts a new page (unless the page has none yet).
class ReportPager {
public:
    enum class Header { List, MonthTable };

    ReportPager(const TitleTotals& totals, const PrintSettings& settings,
                const TextMeasurer& measurer)
        : totals_(totals),
          settings_(settings),
          measurer_(measurer),
          g_(pageGeometry(settings, measurer)),
          columns_(std::min<int>(kMonthTableColumns, static_cast<int>(totals.entries.size()))) {}

    std::vector<Page> render();

private:
    int q() const { return g_.linePitch; }
    int left() const { return g_.left; }
    const TitleTotal& kthLargest(int k) const {
        return totals_.entries[totals_.entries.size() - static_cast<std::size_t>(k)];
    }
    void startPage(Header header);
    void finishPage();
    // Where a block whose first row stands `rowOffset` below y goes: a new page
    // with `header` when that row would pass the bottom limit.
    void makeRoom(int rowOffset, Header header);
    void listHeader(int y);
    void monthHeader(int y);
    void titleRow(const TitleTotal& entry);
    void grandTotal();
    void monthTable();
    void amountAt(int x, int spanRight, std::int32_t value);

    const TitleTotals& totals_;
    const PrintSettings& settings_;
    const TextMeasurer& measurer_;
    const PageGeometry g_;
    const int columns_;
    std::optional<PageBuilder> b_;
    std::vector<Page> pages_;
    int y_ = 0;
    bool pageHasRows_ = false;
};

void ReportPager::startPage(Header header) {
    if (b_) finishPage();
    b_.emplace(g_, measurer_, static_cast<int>(pages_.size()) + 1);
    b_->selectFont(titleFont(g_.fontHeight));
    b_->centredText(g_.top, std::string("《") + titleBaseName(settings_.dataFileName) +
                                " 勘定科目合計  " + totals_.year + "年分》");
    b_->selectFont(headerFont(g_.fontHeight));
    if (header == Header::List)
        listHeader(g_.top + 3 * q());
    else
        monthHeader(g_.top + 3 * q());
    y_ = g_.top + 4 * q();
    b_->rule(y_);
    y_ += q() / 3;
    b_->selectFont(bodyFont(g_.fontHeight));
    pageHasRows_ = false;
}

void ReportPager::finishPage() {
    b_->footer(settings_.today);
    pages_.push_back(b_->take());
}

void ReportPager::makeRoom(int rowOffset, Header header) {
    if (y_ + rowOffset > g_.bottomLimit && pageHasRows_) startPage(header);
    pageHasRows_ = true;
}

// Each text keeps to its column: the title up to the amount, the amount up to
// the share, the share up to the bar, one full-width character apart.
void ReportPager::listHeader(int y) {
    const int c = g_.charWidth;
    b_->textInSpan(left(), left(), left() + kAmountX - c, y, "勘定科目");
    b_->textInSpan(left() + kAmountX + 2 * c, left() + kAmountX, left() + kShareX - c, y,
                   "合計金額");
    b_->textInSpan(left() + kShareX, left() + kShareX, left() + kBarX - c, y, "割合");
}

void ReportPager::monthHeader(int y) {
    const int pitch = kMonthColumnChars * g_.charWidth;
    for (int k = 1; k <= columns_; ++k)
        b_->textInSpan(left() + pitch * k, left() + pitch * k,
                       left() + pitch * (k + 1) - g_.charWidth, y, kthLargest(k).title);
}

void ReportPager::amountAt(int x, int spanRight, std::int32_t value) {
    b_->textInSpan(x, x, spanRight, y_, amountText(value));
}

void ReportPager::titleRow(const TitleTotal& entry) {
    makeRoom(0, Header::List);
    const int c = g_.charWidth;
    b_->textInSpan(left(), left(), left() + kAmountX - c, y_, entry.title);
    amountAt(left() + kAmountX, left() + kShareX - c, entry.total);
    b_->textInSpan(left() + kShareX, left() + kShareX, left() + kBarX - c, y_,
                   formatShare(entry.total, totals_.grandTotal));
    if (const auto bar = barLength(entry.total, totals_.maxTitleTotal))
        b_->rect(left() + kBarX, y_, left() + kBarX + *bar, y_ + q() - kBarGap, kBarColour);
    y_ += q();
}

// Below a blank line and a rule, every title's total (all titles count here).
void ReportPager::grandTotal() {
    makeRoom(q() + q() / 3, Header::List);
    y_ += q();
    b_->rule(y_);
    y_ += q() / 3;
    amountAt(left() + kAmountX, left() + kShareX - g_.charWidth, totals_.grandTotal);
}

// The month totals of the (up to) six largest titles: their titles as a header
// row three lines down, a rule, a row a month. A page it continues on has that
// header row at the top.
void ReportPager::monthTable() {
    const int pitch = kMonthColumnChars * g_.charWidth;
    const int headerOffset = 3 * q();
    const int firstRowOffset = headerOffset + q() + q() / 3;
    if (y_ + firstRowOffset > g_.bottomLimit) {
        startPage(Header::MonthTable);
    } else {
        y_ += headerOffset;
        b_->selectFont(headerFont(g_.fontHeight));
        monthHeader(y_);
        y_ += q();
        b_->rule(y_);
        y_ += q() / 3;
        b_->selectFont(bodyFont(g_.fontHeight));
    }
    pageHasRows_ = false;
    for (std::size_t m = 1; m <= 12; ++m) {
        makeRoom(0, Header::MonthTable);
        b_->text(left(), y_, std::to_string(m) + "月");
        for (int k = 1; k <= columns_; ++k) {
            const int x = left() + kMonthAmountShift + pitch * k;
            amountAt(x, x + pitch - g_.charWidth, kthLargest(k).monthly[m - 1]);
        }
        y_ += q();
    }
}

std::vector<Page> ReportPager::render() {
    startPage(Header::List);
    for (auto entry = totals_.entries.rbegin(); entry != totals_.entries.rend(); ++entry)
        titleRow(*entry);
    grandTotal();
    monthTable();
    finishPage();
    return std::move(pages_);
}

}  // namespace

std::vector<Page> RenderTotalsReport(const TitleTotals& totals, const PrintSettings& settings,
                                     const TextMeasurer& measurer) {
    return ReportPager(totals, settings, measurer).render();
}

}  // namespace orvo::print
