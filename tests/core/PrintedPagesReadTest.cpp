// The pages read as a reader reads them, over a seeded sample of widths, font
// sizes and orientations: every amount whole once, no text over another,
// nothing on or below the footer but the footer.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "PrintTestSupport.h"
#include "print/FormatAmount.h"
#include "print/LedgerPages.h"
#include "print/PageGeometry.h"
#include "print/TotalsReport.h"

namespace orvo::print {
namespace {

const FixedPitchMeasurer kFixed;

struct Layout {
    int width;  // every grid column's
    int points;
    PageOrientation orientation;
};

// The corners of the grid, then a seeded sample of the rest.
std::vector<Layout> sampledLayouts() {
    std::vector<Layout> layouts;
    for (const auto o : {PageOrientation::Portrait, PageOrientation::Landscape})
        for (const int w : {60, 400})
            for (const int p : {8, 30}) layouts.push_back({w, p, o});
    std::mt19937 random(23);
    for (int k = 0; k < 24; ++k)
        layouts.push_back({std::uniform_int_distribution(60, 400)(random),
                           std::uniform_int_distribution(8, 30)(random),
                           k % 2 ? PageOrientation::Landscape : PageOrientation::Portrait});
    return layouts;
}

PrintSettings settingsFor(const Layout& l) {
    PrintSettings s;
    s.orientation = l.orientation;
    s.fontPoints = l.points;
    s.printWidths = std::vector<int>(5, l.width);
    s.columnTitles = {"勘定科目1", "勘定科目２", "支出", "収入", "摘要"};
    s.dataFileName = "家計簿.dat";
    s.today = "2026/12/08";
    return s;
}

std::string trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

// What a reader of one page sees wrong: two texts on each other, or anything
// but the footer's two texts (drawn last) reaching below the footer's top.
void expectPageReadable(const Page& page, int footerTop, const std::string& where) {
    struct Box {
        int left, top, right, bottom;
        std::string text;
    };
    std::vector<Box> boxes;
    for (const DrawnText& t : drawnTexts(page))
        boxes.push_back({t.x, t.y, t.x + kFixed.width(t.font, t.text),
                         t.y + kFixed.height(t.font, t.text), t.text});
    ASSERT_GE(boxes.size(), 2u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Box& a = boxes[i];
        if (i + 2 < boxes.size()) {
            EXPECT_LE(a.bottom, footerTop) << where << " below the footer's top: " << a.text;
        }
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& b = boxes[j];
            const bool apart =
                a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << where << " '" << a.text << "' over '" << b.text << "'";
        }
    }
    for (const RectOp& r : opsOf<RectOp>(page)) EXPECT_LE(r.bottom, footerTop) << where;
}

int footerTop(const Page& page, const PrintSettings& s) {
    return page.height - 5 * pageGeometry(s, kFixed).linePitch;
}

TEST(PrintedPagesRead, LedgerAmountsWholeOnceAndNothingOverlaps) {
    std::mt19937 random(2026);
    const std::vector<long long> extremes = {
        2147483648LL, -2147483648LL, 2147483647LL, 1234567890LL, -1, 0};
    for (const Layout& l : sampledLayouts()) {
        const std::string where =
            "width " + std::to_string(l.width) + ", " + std::to_string(l.points) + " points" +
            (l.orientation == PageOrientation::Landscape ? ", landscape" : "");
        std::vector<std::string> lines;
        std::map<std::string, int> expected;  // figure -> times it must be printed
        for (int k = 0; k < 40; ++k) {
            std::string amounts[2];
            for (std::string& a : amounts) {
                const long long value = random() % 3 == 0
                                            ? extremes[random() % extremes.size()]
                                            : std::uniform_int_distribution<long long>(
                                                  -2147483648LL, 2147483648LL)(random);
                a = std::to_string(value);
                ++expected[FormatAmount(a, 0)];
            }
            const std::string description =
                k % 3 ? "説明" + std::string(static_cast<std::size_t>(k), 'x') : "一\x1B二";
            lines.push_back("2026/11/02\t食費\t外食\t" + amounts[0] + "\t" + amounts[1] + "\t" +
                            description);
        }
        const PrintSettings s = settingsFor(l);
        std::map<std::string, int> printed;
        int dates = 0;
        PrintLedgerRun(recordsOf(lines), s, kFixed, [&](const Page& page) {
            expectPageReadable(page, footerTop(page, s), where);
            for (const DrawnText& t : drawnTexts(page)) {
                const std::string text = trimmed(t.text);
                if (text.find('\\') != std::string::npos) ++printed[text];
                dates += text == "2026/11/02";
            }
        });
        EXPECT_EQ(printed, expected) << where;
        EXPECT_EQ(dates, 40) << where;
    }
}

TEST(PrintedPagesRead, ReportOfSixtyTitlesContinuesOnFurtherPages) {
    std::vector<std::string> titles;
    std::vector<std::string> lines;
    for (int k = 1; k <= 60; ++k) {
        titles.push_back("科目" + std::to_string(k + 100));
        for (int month = 1; month <= 12; ++month)
            lines.push_back("2026/" + std::string(month < 10 ? "0" : "") + std::to_string(month) +
                            "/01\t" + titles.back() + "\t\t" + std::to_string(k * 2000000 + month) +
                            "\t0\t");
    }
    TitleTotals totals = GatherTitleTotals(recordsOf(lines), titles, "2026");
    SortTitlesByTotal(totals.entries, 0, static_cast<int>(totals.entries.size()) - 1);
    for (const Layout& l : sampledLayouts()) {
        const PrintSettings s = settingsFor(l);
        const std::vector<Page> pages = RenderTotalsReport(totals, s, kFixed);
        const std::string where = std::to_string(l.points) + " points";
        std::map<std::string, int> seen;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(pages[p].number, static_cast<int>(p) + 1);
            expectPageReadable(pages[p], footerTop(pages[p], s), where);
            for (const DrawnText& t : drawnTexts(pages[p]))
                if (t.font.face == FontFace::Mincho) ++seen[trimmed(t.text)];
        }
        EXPECT_GE(pages.size(), 2u) << where;
        for (const std::string& title : titles) EXPECT_EQ(seen[title], 1) << where << title;
        for (int month = 1; month <= 12; ++month)
            EXPECT_EQ(seen[std::to_string(month) + "月"], 1) << where;
        // The grand total wraps past 2^31, and is printed whole.
        EXPECT_EQ(seen[FormatAmount(std::to_string(totals.grandTotal), 0)], 1) << where;
    }
}

}  // namespace
}  // namespace orvo::print
