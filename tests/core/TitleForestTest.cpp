#include "settings/TitleForest.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "TitleShape.h"

namespace orvo {
namespace {

using testing::abcForest;
using testing::shapeOf;
using testing::titleNamed;

TEST(TitleForest, DisplayOrderIsDepthFirstAndLevelsCountFromTheTop) {
    const TitleForest f = abcForest();
    std::string order;
    for (TitleId id : f.displayOrder()) order += f.text(id) + std::to_string(f.level(id)) + " ";
    EXPECT_EQ(order, "A0 B0 B11 B1a2 B21 C0 ");
}

TEST(TitleForest, TextsAreOneLine) {
    TitleForest f;
    const TitleId id = f.addLastChild(kNoTitle, "a\r\nb");
    EXPECT_EQ(f.text(id), "a  b");
    f.setText(id, "表\nソ\r");
    EXPECT_EQ(f.text(id), "表 ソ ");
}

TEST(TitleForest, IsInSubtreeFindsDescendantsAtAnyDepthOnly) {
    const TitleForest f = abcForest();
    const TitleId b = titleNamed(f, "B");
    const TitleId b1 = titleNamed(f, "B1");
    struct Case {
        const char* target;
        const char* node;
        bool expected;
    } cases[] = {
        {"B1", "B", true},   {"B1a", "B", true}, {"B2", "B", true}, {"B1a", "B1", true},
        {"B", "B", false},   {"B", "B1", false}, {"C", "B", false}, {"B2", "B1", false},
        {"B1a", "A", false}, {"A", "C", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInSubtree(f, titleNamed(f, c.target), titleNamed(f, c.node)), c.expected)
            << c.target << " in " << c.node;
    EXPECT_FALSE(IsInSubtree(f, kNoTitle, b));
    EXPECT_FALSE(IsInSubtree(f, kNoTitle, b1));
}

TEST(TitleForest, MoveSubtreeMakesTheTitleTheTargetsLastChildWithItsSubtitles) {
    struct Case {
        const char* node;
        const char* target;  // nullptr: below the last title
        const char* expected;
    } cases[] = {
        {"B", "A", "A(B(B1(B1a),B2));C"},    {"B", "C", "A;C(B(B1(B1a),B2))"},
        {"B1", "C", "A;B(B2);C(B1(B1a))"},   {"B1a", "B", "A;B(B1,B2,B1a);C"},
        {"B1", "B", "A;B(B2,B1(B1a));C"},  // onto its own parent: to the end of its siblings
        {"A", nullptr, "B(B1(B1a),B2);C;A"}, {"B1a", nullptr, "A;B(B1,B2);C;B1a"},
    };
    for (const Case& c : cases) {
        TitleForest f = abcForest();
        const TitleId node = titleNamed(f, c.node);
        MoveSubtree(f, c.target ? titleNamed(f, c.target) : kNoTitle, node);
        EXPECT_EQ(shapeOf(f), c.expected) << c.node << " onto " << (c.target ? c.target : "-");
        EXPECT_EQ(f.text(node), c.node);  // the title keeps its id
    }
}

TEST(TitleForest, MoveSubtreeRefusesItselfAndItsOwnSubtree) {
    for (const char* target : {"B", "B1", "B1a", "B2"}) {
        TitleForest f = abcForest();
        EXPECT_THROW(MoveSubtree(f, titleNamed(f, target), titleNamed(f, "B")),
                     std::invalid_argument)
            << target;
        EXPECT_EQ(shapeOf(f), "A;B(B1(B1a),B2);C");
    }
}

TEST(TitleForest, AddInsertsBeforeTheSelectedTitleOnItsLevel) {
    struct Case {
        const char* selected;  // nullptr: nothing selected
        const char* expected;
    } cases[] = {
        {"A", "新しい科目1;A;B(B1(B1a),B2);C"},     {"B", "A;新しい科目1;B(B1(B1a),B2);C"},
        {"B2", "A;B(B1(B1a),新しい科目1,B2);C"},    {"B1a", "A;B(B1(新しい科目1,B1a),B2);C"},
        {nullptr, "A;B(B1(B1a),B2);C;新しい科目1"},
    };
    for (const Case& c : cases) {
        TitleForest f = abcForest();
        const TitleId added = AddTitleBefore(f, c.selected ? titleNamed(f, c.selected) : kNoTitle);
        EXPECT_EQ(shapeOf(f), c.expected) << (c.selected ? c.selected : "-");
        EXPECT_EQ(f.text(added), "新しい科目1");
    }
}

TEST(TitleForest, AddBelowAppendsALastChild) {
    struct Case {
        const char* selected;
        const char* expected;
    } cases[] = {
        {"A", "A(新しい科目2);B(B1(B1a),B2);C"},
        {"B", "A;B(B1(B1a),B2,新しい科目2);C"},
        {"B1a", "A;B(B1(B1a(新しい科目2)),B2);C"},
        {nullptr, "A;B(B1(B1a),B2);C;新しい科目2"},
    };
    for (const Case& c : cases) {
        TitleForest f = abcForest();
        const TitleId added = AddSubTitle(f, c.selected ? titleNamed(f, c.selected) : kNoTitle);
        EXPECT_EQ(shapeOf(f), c.expected) << (c.selected ? c.selected : "-");
        EXPECT_EQ(f.text(added), "新しい科目2");
    }
}

TEST(TitleForest, RemoveTakesTheWholeSubtree) {
    TitleForest f = abcForest();
    const TitleId b1a = titleNamed(f, "B1a");
    f.remove(titleNamed(f, "B"));
    EXPECT_EQ(shapeOf(f), "A;C");
    EXPECT_EQ(f.size(), 2u);
    EXPECT_FALSE(f.contains(b1a));
    f.remove(titleNamed(f, "A"));
    f.remove(titleNamed(f, "C"));
    EXPECT_TRUE(f.empty());
}

TEST(TitleForest, UnknownTitlesAreRefusedWithoutChange) {
    TitleForest f = abcForest();
    const TitleId gone = titleNamed(f, "B2");
    f.remove(gone);
    EXPECT_THROW(f.text(gone), std::out_of_range);
    EXPECT_THROW(f.addLastChild(gone, "x"), std::out_of_range);
    EXPECT_THROW(f.insertBefore(gone, "x"), std::out_of_range);
    EXPECT_EQ(shapeOf(f), "A;B(B1(B1a));C");
}

}  // namespace
}  // namespace orvo
