#include <gtest/gtest.h>

#include <cstdio>

#include "CoreTestSupport.h"
#include "PrintTestSupport.h"
#include "print/FieldWrap.h"
#include "print/FormatAmount.h"
#include "print/LedgerPages.h"
#include "print/PageGeometry.h"
#include "print/PageRange.h"
#include "print/PageTarget.h"
#include "print/PrintWidths.h"
#include "settings/PrintWidths.h"

namespace orvo::print {
namespace {

const FixedPitchMeasurer kFixed;

PrintSettings standardSettings() {
    PrintSettings s;
    s.printWidths = {233, 233, 233, 233, 233};
    s.columnTitles = {"勘定科目1", "勘定科目２", "支出", "収入", "摘要"};
    s.dataFileName = "C:\\帳簿\\家計簿.dat";
    s.today = "2026/12/08";
    return s;
}

// Record k of a ledger of one-line records, told apart by its level-1 title.
std::string oneLineRecord(int k) {
    char line[64];
    std::snprintf(line, sizeof line, "2026/01/01\tr%05d\t\t100\t0\t", k);
    return line;
}

std::vector<std::string> oneLineRecords(int count) {
    std::vector<std::string> lines;
    for (int k = 0; k < count; ++k) lines.push_back(oneLineRecord(k));
    return lines;
}

std::vector<Page> printRun(const LedgerRecords& records, const PrintSettings& settings) {
    std::vector<Page> pages;
    PrintLedgerRun(records, settings, kFixed, [&](const Page& p) { pages.push_back(p); });
    return pages;
}

// The level-1 titles drawn on a page, with their y.
std::vector<std::pair<std::string, int>> titlesOn(const Page& page) {
    std::vector<std::pair<std::string, int>> out;
    for (const DrawnText& t : drawnTexts(page))
        if (t.x == 150 + 263 && t.font.face == FontFace::Mincho) out.emplace_back(t.text, t.y);
    return out;
}

TEST(PrintLedgerPages, WorkedExampleGeometry) {
    const PageGeometry g = pageGeometry(standardSettings(), kFixed);
    EXPECT_EQ(g.fontHeight, 38);
    EXPECT_EQ(g.charWidth, 38);
    EXPECT_EQ(g.linePitch, 45);
    EXPECT_EQ(g.bottomLimit, 2655);
    EXPECT_EQ(titleFont(g.fontHeight).height, 53);
    EXPECT_EQ(fontHeightForPoints(8), 28);
    EXPECT_EQ(fontHeightForPoints(30), 105);

    PrintSettings landscape = standardSettings();
    landscape.orientation = PageOrientation::Landscape;
    landscape.leftPosition = -40;
    const PageGeometry l = pageGeometry(landscape, kFixed);
    EXPECT_EQ(l.width, 2930);
    EXPECT_EQ(l.height, 2100);
}

TEST(PrintLedgerPages, WorkedExamplePage) {
    const LedgerRecords records = recordsOf(oneLineRecords(60));
    const std::vector<Page> pages = printRun(records, standardSettings());
    ASSERT_EQ(pages.size(), 2u);
    const Page& p = pages[0];

    const DrawnText title = findText(p, "《家計簿》");
    EXPECT_EQ(title.y, 150);
    EXPECT_EQ(title.font, (PrintFont{FontFace::Gothic, 53}));
    EXPECT_EQ(title.x, (2100 - 5 * 53) / 2);
    EXPECT_EQ(findText(p, "日付").y, 285);
    EXPECT_EQ(opsOf<LineOp>(p), (std::vector<LineOp>{{80, 330, 2000, 330}}));

    const auto titles = titlesOn(p);
    ASSERT_EQ(titles.size(), 52u);
    EXPECT_EQ(titles.front(), (std::pair<std::string, int>{"r00000", 345}));
    EXPECT_EQ(titles.back(), (std::pair<std::string, int>{"r00051", 2640}));
    EXPECT_EQ(titlesOn(pages[1]).front().first, "r00052");

    const DrawnText created = findText(p, "【作成日2026/12/08】");
    EXPECT_EQ(created.y, 2745);
    EXPECT_EQ(created.x + kFixed.width(created.font, created.text), 2100 - 150);
    const DrawnText number = findText(p, "-1-");
    EXPECT_EQ(number.y, 2790);
    EXPECT_EQ(number.x, (2100 - 3 * 19) / 2);
    // The amount, right-aligned in twelve places at the expense column.
    EXPECT_EQ(findText(p, "        \\100").x, 150 + 263 + 271 + 271);
}

TEST(PrintLedgerPages, PageCountsAndTheBottomLimit) {
    struct Case {
        int records;
        int topMargin;
        int pages;
        int lastLineY;  // of the last page
    } cases[] = {
        {0, 150, 1, 0},                          // an empty ledger still prints its frame once
        {10, 150, 1, 750},                       // fits on one page
        {52, 150, 1, 2640},                      // fills the page exactly: no empty page after it
        {53, 150, 2, 345},  {53, 120, 1, 2655},  // the last line stands exactly on the bottom limit
        {54, 120, 2, 315},
    };
    for (const Case& c : cases) {
        PrintSettings s = standardSettings();
        s.topMargin = c.topMargin;
        const LedgerRecords records = recordsOf(oneLineRecords(c.records));
        const std::vector<Page> pages = printRun(records, s);
        ASSERT_EQ(static_cast<int>(pages.size()), c.pages) << c.records << " records";
        const auto titles = titlesOn(pages.back());
        EXPECT_EQ(titles.empty() ? 0 : titles.back().second, c.lastLineY) << c.records;
    }
}

TEST(PrintLedgerPages, PreviewWalksThePagesAndStartsAgain) {
    const LedgerRecords records = recordsOf(oneLineRecords(60));
    LedgerRenderState state;
    const PrintSettings s = standardSettings();
    EXPECT_FALSE(RenderLedgerPage(records, s, kFixed, state).runComplete);
    EXPECT_EQ(state, (LedgerRenderState{52, false, 0, 2}));
    const RenderedLedgerPage second = RenderLedgerPage(records, s, kFixed, state);
    EXPECT_TRUE(second.runComplete);
    EXPECT_EQ(second.page.number, 2);
    EXPECT_EQ(state, LedgerRenderState{});  // the next page shown is page 1 again

    LedgerPageIndex index(records, s, kFixed);
    EXPECT_EQ(index.pageCount(), 2);
    EXPECT_EQ(index.startOf(2), (LedgerRenderState{52, false, 0, 2}));
    EXPECT_EQ(index.startOf(3), std::nullopt);
}

TEST(PrintLedgerPages, RecordsContinueOnTheNextPage) {
    // A description of three lines as the 52nd record: one line fits.
    std::vector<std::string> lines = oneLineRecords(51);
    lines.push_back(
        "2026/02/01\tlast\t\t1\t0\ta\x1B"
        "b\x1B"
        "c");
    std::vector<Page> pages = printRun(recordsOf(lines), standardSettings());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(findText(pages[0], "a").y, 2640);
    EXPECT_EQ(findText(pages[1], "b").y, 345);
    EXPECT_EQ(findText(pages[1], "c").y, 390);
    EXPECT_EQ(findText(pages[1], "日付").y, 285);  // below the next page's header
    EXPECT_EQ(findText(pages[1], "last").text, "");

    // The first record of the ledger, continued: a low top margin leaves 11 lines a page.
    PrintSettings s = standardSettings();
    s.topMargin = 2000;
    std::string description;
    for (int k = 0; k < 20; ++k)
        description += std::string(k ? "\x1B" : "") + "L" + std::to_string(k);
    pages = printRun(recordsOf({"2026/03/01\tfirst\t\t1\t0\t" + description}), s);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(findText(pages[0], "L10").y, 2195 + 10 * 45);
    EXPECT_EQ(findText(pages[1], "L11").y, 2195);
    EXPECT_EQ(findText(pages[1], "L19").y, 2195 + 8 * 45);
}

TEST(PrintLedgerPages, WrapsFieldsInsideTheirColumn) {
    // Column 233 wide, C = 38: a line ends once it is wider than 195.
    struct Case {
        std::string field;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"短い\x1B摘要", {"短い", "摘要"}},  // ESC ends even a short line
        {"\x1B\x1Bx", {"", "", "x"}},
        {"あいうえおかきくけこ",
         {"あいうえおか", "きくけこ"}},  // the sixth character overflows and stays
        {"aaaaaaaaaaabbb", {"aaaaaaaaaaa", "bbb"}},
        {"aaaaaaaaa漢字", {"aaaaaaaaa漢", "字"}},  // a double-byte character is never split
    };
    const PrintFont body = bodyFont(38);
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        EXPECT_EQ(wrapField(c.field, 233, 38, body, kFixed, &lines),
                  static_cast<int>(c.lines.size()));
        EXPECT_EQ(lines, c.lines) << c.field;
        EXPECT_EQ(wrapField(c.field, 233, 38, body, kFixed, nullptr),
                  static_cast<int>(lines.size()));
    }
    // Past 20 lines the rest is left out and the last kept line says so.
    std::string many;
    for (int k = 0; k < 25; ++k) many += "x\x1B";
    std::vector<std::string> lines;
    EXPECT_EQ(wrapField(many, 233, 38, body, kFixed, &lines), kMaxFieldLines);
    EXPECT_EQ(lines.back(), "x…");
    lines.clear();
    EXPECT_EQ(wrapField(many.substr(0, 40), 233, 38, body, kFixed, &lines), 20);
    EXPECT_EQ(lines.back(), "x");
}

TEST(PrintLedgerPages, HeadersCentredOverUnequalColumns) {
    PrintSettings s = standardSettings();
    s.printWidths = {100, 200, 300, 400, 500};
    const LedgerRecords records = recordsOf({"2026/01/02\tA\tB\t5\t6\tD"});
    const std::vector<Page> pages = printRun(records, s);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    // Columns start at L + 0, 263, 401, 639, 977, 1415.
    EXPECT_EQ(findText(p, "日付").x, 150 + (225 - 76) / 2);
    // Wider than its column (171): the largest height that fits, 4 x 22 + 11.
    const DrawnText narrowHeading = findText(p, "勘定科目1");
    EXPECT_EQ(narrowHeading.font, (PrintFont{FontFace::Gothic, 22}));
    EXPECT_EQ(narrowHeading.x, 150 + 263);
    EXPECT_EQ(narrowHeading.y, 285 + 38 - 22);
    EXPECT_EQ(findText(p, "支出").x, 150 + 639 + (300 - 76) / 2);
    EXPECT_EQ(findText(p, "摘要").x, 150 + 1415 + (500 - 76) / 2);
    EXPECT_EQ(findText(p, "D").x, 150 + 1415);
    EXPECT_EQ(findText(p, "B").x, 150 + 401);

    // Only three widths: the columns without one are neither headed nor printed.
    s.printWidths = {100, 200, 300};
    const Page narrow = printRun(records, s)[0];
    EXPECT_EQ(findText(narrow, "収入").text, "");
    EXPECT_EQ(findText(narrow, "D").text, "");
    EXPECT_EQ(findText(narrow, "支出").x, 150 + 639 + (300 - 76) / 2);
}

TEST(PrintLedgerPages, PageRangeAndTheCap) {
    PrintSettings s = standardSettings();
    s.firstPage = 2;
    s.lastPage = 3;
    const LedgerRecords five = recordsOf(oneLineRecords(52 * 4 + 10));
    const std::vector<Page> pages = printRun(five, s);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].number, 2);
    ASSERT_FALSE(titlesOn(pages[0]).empty());
    EXPECT_EQ(titlesOn(pages[0]).front().first, "r00052");
    EXPECT_EQ(pages[1].number, 3);

    EXPECT_EQ(parsePageRange("2", "3"), (PageRange{2, 3}));
    EXPECT_EQ(errorOf([] { parsePageRange("3", "2"); }), "ﾍﾟｰｼﾞ指定に誤りがあります");
    EXPECT_EQ(errorOf([] { parsePageRange("", "2"); }), "ﾍﾟｰｼﾞ指定に誤りがあります");
    EXPECT_EQ(errorOf([] { parsePageRange("1", "x"); }), "'x' は整数ではありません");

    // All pages: at most 999 are printed.
    const LedgerRecords huge = recordsOf(oneLineRecords(52 * 1000 + 1));
    int printed = PrintLedgerRun(huge, standardSettings(), kFixed, [](const Page&) {});
    EXPECT_EQ(printed, 999);
}

TEST(PrintLedgerPages, TitleBaseName) {
    struct Case {
        const char* path;
        const char* base;
    } cases[] = {
        {"C:\\帳簿\\家計簿.dat", "家計簿"},
        {"/home/u/kakei.2026.dat", "kakei"},
        {"kakei", ""},     // no "." gives the two brackets alone
        {"表.dat", "表"},  // the trail byte of "表" is no folder separator
    };
    for (const Case& c : cases) EXPECT_EQ(titleBaseName(c.path), c.base) << c.path;
    PrintSettings s = standardSettings();
    s.dataFileName = "kakei";
    EXPECT_EQ(findText(printRun(LedgerRecords(), s)[0], "《》").y, 150);
}

TEST(PrintLedgerPages, FormatAmount) {
    struct Case {
        const char* text;
        const char* formatted;
    } cases[] = {
        {"1234567", "  \\1,234,567"},
        {"", "          \\0"},
        {"0", "          \\0"},
        {"-500", "       -\\500"},
        {"2.5", "          \\3"},
        {"-0.4", "          \\0"},
        {" 12 ", "         \\12"},
        {"1234567890123", "\\1,234,567,890,123"},  // longer than the field: whole
        {"-2147483648", "-\\2,147,483,648"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatAmount(c.text, 12), c.formatted) << c.text;
    EXPECT_EQ(errorOf([] { FormatAmount("12x", 12); }), "'12x' は浮動小数点数ではありません");
    // An amount that is no number stops the page.
    LedgerRenderState state;
    const LedgerRecords bad = recordsOf({"2026/01/01\tA\t\t1,000\t0\t"});
    EXPECT_EQ(errorOf([&] { RenderLedgerPage(bad, standardSettings(), kFixed, state); }),
              "'1,000' は浮動小数点数ではありません");
    EXPECT_EQ(state, LedgerRenderState{});
}

TEST(PrintLedgerPages, AmountsAndDatesPrintWholeOnOneLine) {
    struct Case {
        int width;   // of the expense column
        int points;  // 11: height 38, a half-width place 19
        const char* amount;
        DrawnText shown;  // x, y relative to the column and the line
    } cases[] = {
        {233, 11, "1234567", {0, 0, "  \\1,234,567", bodyFont(38)}},       // the worked example
        {400, 11, "2147483647", {0, 0, "\\2,147,483,647", bodyFont(38)}},  // the field grows
        // Wider than the column: right-aligned in it, smaller when the figure needs it.
        {233, 11, "2147483647", {233 - 14 * 16, 5, "\\2,147,483,647", bodyFont(33)}},
        {120, 11, "1234567890", {120 - 14 * 8, 21, "\\1,234,567,890", bodyFont(17)}},
        {120, 11, "1234567", {120 - 10 * 12, 13, "\\1,234,567", bodyFont(25)}},
        {233, 24, "12000", {233 - 7 * 33, 84 - 67, "\\12,000", bodyFont(67)}},
    };
    for (const Case& c : cases) {
        PrintSettings s = standardSettings();
        s.fontPoints = c.points;
        s.printWidths[2] = c.width;
        const std::vector<Page> pages =
            printRun(recordsOf({std::string("2026/11/02\tA\t\t") + c.amount + "\t\t"}), s);
        ASSERT_EQ(pages.size(), 1u);
        const PageGeometry g = pageGeometry(s, kFixed);
        const DrawnText date = findText(pages[0], "2026/11/02");
        const DrawnText shown = findText(pages[0], c.shown.text);
        EXPECT_EQ(shown.x - g.columnX[3], c.shown.x) << c.amount << " at " << c.width;
        EXPECT_EQ(shown.y - (g.top + 4 * g.linePitch + g.linePitch / 3), c.shown.y) << c.amount;
        EXPECT_EQ(shown.font, c.shown.font) << c.amount << " at " << c.width;
        // The date stays whole in its 225, smaller from 14 points up.
        EXPECT_LE(kFixed.width(date.font, date.text), 225);
        EXPECT_EQ(date.font.height < g.fontHeight, c.points >= 14);
    }
}

TEST(PrintLedgerPages, PreviewScale) {
    const PixelSize portrait = previewImageSize(PageOrientation::Portrait);
    EXPECT_EQ(portrait, (PixelSize{700, 987}));
    EXPECT_EQ(previewPageRect(PageOrientation::Portrait, portrait, 2100, 2970),
              (PixelSize{700, 989}));
    const PixelSize landscape = previewImageSize(PageOrientation::Landscape);
    EXPECT_EQ(previewPageRect(PageOrientation::Landscape, landscape, 2970, 2100),
              (PixelSize{989, 700}));
}

TEST(PrintLedgerPages, PrintWidthRows) {
    EXPECT_EQ(DefaultPrintWidths(6), std::vector<std::string>(5, "233"));
    EXPECT_EQ(printWidthsFromRows({"100", "200", "300", "400", "500", "x"}),
              (std::vector<int>{100, 200, 300, 400, 500}));
    EXPECT_EQ(errorOf([] { printWidthsFromRows({"100", "2cm"}); }), "'2cm' は整数ではありません");
    // Widths a page can hold arithmetic on, checked where they are read.
    for (const char* bad : {"0", "-5", "10001"})
        EXPECT_EQ(errorOf([&] {
                      printWidthsFromRows({"100", bad});
                  }),
                  std::string("'") + bad + "' は 1 から 10000 までの整数ではありません");
    EXPECT_EQ(printWidthsFromRows({"1", "10000"}), (std::vector<int>{1, 10000}));
    PrintSettings s = standardSettings();
    s.printWidths = {2147483647, 1, 1, 1, 1};
    EXPECT_EQ(errorOf([&] { pageGeometry(s, kFixed); }),
              "'2147483647' は 1 から 10000 までの整数ではありません");
    s = standardSettings();
    s.fontPoints = 31;
    EXPECT_EQ(errorOf([&] { pageGeometry(s, kFixed); }),
              "'31' は 8 から 30 までの整数ではありません");
}

}  // namespace
}  // namespace orvo::print
