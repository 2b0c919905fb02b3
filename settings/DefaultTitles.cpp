#include "settings/DefaultTitles.h"

#include <utility>
#include <vector>

namespace orvo {

namespace {

struct TitleGroup {
    const char* level1;
    std::vector<const char*> level2;
};

// Some titles hold characters whose second byte is 0x5C (ソ, 予, 表, 能),
// which any byte-wise handling of the files must leave alone.
const std::vector<TitleGroup>& defaultGroups() {
    static const std::vector<TitleGroup> groups = {
        {"食費", {"食料品", "外食", "弁当・惣菜", "菓子・飲料", "酒類", "ソース・調味料"}},
        {"住居費", {"家賃", "住宅ローン", "管理費", "修繕費", "家具・家電"}},
        {"水道光熱費", {"電気代", "ガス代", "水道代", "灯油代"}},
        {"通信費", {"携帯電話", "固定電話", "インターネット", "郵便・宅配", "ソフト代"}},
        {"交通費", {"電車・バス", "タクシー", "ガソリン代", "駐車場代", "高速道路料金"}},
        {"医療費", {"診察代", "薬代", "歯科", "予防接種"}},
        {"教育費", {"授業料", "教材・参考書", "塾・習い事", "給食費", "発表会費"}},
        {"娯楽費", {"趣味", "旅行", "書籍・雑誌", "映画・音楽", "芸能・観劇"}},
        {"衣服費", {"衣類", "靴・かばん", "クリーニング"}},
        {"日用品", {"消耗品", "洗剤・衛生用品", "台所用品", "理美容"}},
        {"交際費", {"贈答品", "冠婚葬祭", "会食", "お祝い・お見舞い"}},
        {"保険料", {"生命保険", "医療保険", "火災保険", "自動車保険"}},
        {"税金", {"所得税", "住民税", "固定資産税", "自動車税"}},
        {"給与", {"基本給", "賞与", "諸手当"}},
        {"雑収入", {"利息・配当", "不用品売却", "臨時収入", "児童手当"}},
    };
    return groups;
}

}  // namespace

TitleLists DefaultTitleLists() {
    TitleLists lists;
    for (const TitleGroup& group : defaultGroups()) {
        const int parent = static_cast<int>(lists.level1.size());
        lists.level1.emplace_back(group.level1);
        for (const char* title : group.level2) lists.level2.push_back({title, parent});
    }
    return lists;
}

}  // namespace orvo
