#include "settings/PageSettings.h"

#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace orvo {
namespace {

TEST(PageSettings, DefaultsResolveToPortraitMargins150AllPages) {
    const ResolvedPageSettings r = PageSettings{}.resolve();
    EXPECT_EQ(r.layout, (PageLayoutValues{PageOrientation::Portrait, 150, 150, 0, 11}));
    EXPECT_EQ(r.range, (PageRange{1, 999}));
    EXPECT_EQ(leftPositionChoices().size(), 10u);
    EXPECT_EQ(leftPositionChoices().back(), "-180");
    EXPECT_EQ(fontSizeChoices().front(), "8");
    EXPECT_EQ(fontSizeChoices().back(), "30");
}

TEST(PageSettings, TextsThatAreNoIntegers) {
    PageSettings p;
    p.orientation = PageOrientation::Landscape;
    p.topMargin = "1,5";
    p.leftMargin = "";
    p.leftPosition = "-40";
    p.fontSize = "big";
    EXPECT_EQ(p.layoutValues(), (PageLayoutValues{PageOrientation::Landscape, 0, 0, -40, 11}));
    p.fontSize = "0";
    EXPECT_EQ(p.layoutValues().fontSize, 11);

    p.leftPosition = "-4O";
    EXPECT_EQ(errorOf([&] { p.layoutValues(); }), "'-4O' は整数ではありません");
    // The layout is resolved first: its fault wins over a wrong page range.
    p.selection = PageSelection::PageRange;
    p.firstPage = "";
    EXPECT_EQ(errorOf([&] { p.resolve(); }), "'-4O' は整数ではありません");
}

TEST(PageSettings, PageRangeRules) {
    struct Case {
        const char* first;
        const char* last;
        std::optional<PageRange> range;
        const char* error;
    };
    const Case cases[] = {
        {"2", "3", PageRange{2, 3}, ""},
        {"3", "3", PageRange{3, 3}, ""},
        {"", "3", std::nullopt, ""},
        {"x", "", std::nullopt, ""},  // an empty field is found before a bad one
        {"3", "2", std::nullopt, ""},
        {"-2", "0", std::nullopt, ""},  // nothing could be printed
        {"0", "2", PageRange{0, 2}, ""},
        {"a", "3", std::nullopt, "'a' は整数ではありません"},
        {"1", "9x", std::nullopt, "'9x' は整数ではありません"},
    };
    for (const Case& c : cases) {
        PageSettings p;
        p.selection = PageSelection::PageRange;
        p.firstPage = c.first;
        p.lastPage = c.last;
        std::optional<PageRange> got;
        EXPECT_EQ(errorOf([&] { got = p.pageRange(); }), c.error) << c.first << ".." << c.last;
        EXPECT_EQ(got, c.range) << c.first << ".." << c.last;
    }
    PageSettings all;
    all.firstPage = "x";
    EXPECT_EQ(all.pageRange(), (PageRange{1, 999}));
    EXPECT_EQ(pageRangeMistakeText(), "ﾍﾟｰｼﾞ指定に誤りがあります");
}

}  // namespace
}  // namespace orvo
