#include "settings/DefaultTitles.h"

#include <gtest/gtest.h>

#include "TitleShape.h"
#include "base/Cp932.h"
#include "support/SourceFolders.h"

namespace orvo {
namespace {

TEST(TitleDefaults, HouseholdLevel1TitlesEachWithLevel2Titles) {
    const TitleLists d = DefaultTitleLists();
    EXPECT_EQ(d.level1,
              (std::vector<std::string>{"食費", "住居費", "水道光熱費", "通信費", "交通費",
                                        "医療費", "教育費", "娯楽費", "衣服費", "日用品", "交際費",
                                        "保険料", "税金", "給与", "雑収入"}));
    for (int i = 0; i < static_cast<int>(d.level1.size()); ++i)
        EXPECT_FALSE(d.level2Under(i).empty()) << d.level1[static_cast<std::size_t>(i)];
    int withTrailBackslash = 0;
    for (const Level2Title& t : d.level2) {
        for (std::size_t pos = 0; pos < t.title.size(); pos += cp932::charLength(t.title, pos))
            if (cp932::charLength(t.title, pos) == 2 && t.title[pos + 1] == '\\') {
                ++withTrailBackslash;
                break;
            }
    }
    EXPECT_GE(withTrailBackslash, 5);
}

TEST(TitleDefaults, SampleTitleFilesAreTheBundledDefaults) {
    const TitleLists d = DefaultTitleLists();
    const std::string sample = orvo::testing::sampleFolder();
    EXPECT_EQ(readFile(level1FilePath(sample)), level1FileText(d));
    EXPECT_EQ(readFile(level2FilePath(sample)), level2FileText(d));
}

}  // namespace
}  // namespace orvo
