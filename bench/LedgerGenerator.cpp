#include "bench/LedgerGenerator.h"

#include <algorithm>
#include <random>

#include "ledger/RecordLine.h"

namespace orvo::bench {

namespace {

struct Title {
    const char* level1;
    std::vector<const char*> level2;
    std::vector<const char*> descriptions;
    int minAmount;
    int maxAmount;
    bool income;
    int weight;
};

const std::vector<Title>& titles() {
    static const std::vector<Title> t = {
        {"食費",
         {"食料品", "外食", "弁当・惣菜", "菓子・飲料", "ソース・調味料"},
         {"スーパーで食材", "八百屋", "昼食", "コンビニ", "表参道でランチ", "パン屋"},
         120,
         6000,
         false,
         30},
        {"日用品",
         {"消耗品", "台所用品", "洗剤・衛生用品"},
         {"ドラッグストア", "ティッシュ\x1Bトイレットペーパー", "百円ショップ"},
         100,
         3000,
         false,
         10},
        {"交通費",
         {"電車・バス", "タクシー", "ガソリン代", "駐車場代"},
         {"定期券", "ICカードにチャージ", "十日町まで往復"},
         150,
         8000,
         false,
         10},
        {"水道光熱費",
         {"電気代", "ガス代", "水道代"},
         {"口座振替", "検針票どおり"},
         2000,
         12000,
         false,
         3},
        {"通信費",
         {"携帯電話", "インターネット", "ソフト代"},
         {"月額料金", "ソフトウェア更新\x1B年間ライセンス"},
         500,
         9000,
         false,
         3},
        {"住居費",
         {"家賃", "修繕費", "家具・家電"},
         {"今月分", "障子の張り替え\x1B和室二部屋"},
         3000,
         85000,
         false,
         1},
        {"医療費",
         {"診察代", "薬代", "予防接種"},
         {"内科", "歯科\x1B次回予約あり", "処方せん薬局"},
         500,
         8000,
         false,
         2},
        {"教育費",
         {"教材・参考書", "塾・習い事", "発表会費"},
         {"参考書", "ピアノ教室 月謝"},
         800,
         12000,
         false,
         2},
        {"娯楽費",
         {"映画・音楽", "旅行", "芸能・観劇"},
         {"能楽堂\x1B\x1B薪能", "映画館", "日帰り温泉"},
         1000,
         20000,
         false,
         2},
        {"衣服費",
         {"衣類", "靴・かばん", "クリーニング"},
         {"冬物のコート", "クリーニング店"},
         500,
         15000,
         false,
         2},
        {"交際費", {"贈答品", "会食"}, {"お歳暮", "同窓会 会費"}, 2000, 10000, false, 2},
        {"保険料", {"生命保険", "自動車保険"}, {"口座振替"}, 3000, 15000, false, 1},
        {"税金", {"住民税", "固定資産税"}, {"第3期分"}, 5000, 40000, false, 1},
        {"給与", {"基本給", "賞与"}, {"今月分", "予定より多め"}, 150000, 350000, true, 1},
        {"雑収入",
         {"利息・配当", "不用品売却", "臨時収入"},
         {"ポイント還元", "返品による返金"},
         100,
         5000,
         true,
         2},
    };
    return t;
}

}  // namespace

std::vector<std::string> generateRecords(const GeneratorOptions& options) {
    std::mt19937 rng(options.seed);
    const auto& all = titles();
    std::vector<int> weights;
    for (const auto& t : all) weights.push_back(t.weight);
    std::discrete_distribution<std::size_t> pickTitle(weights.begin(), weights.end());

    std::vector<std::string> out;
    out.reserve(options.records);
    std::vector<std::string> day;
    for (LedgerDate date = options.firstDay; out.size() < options.records; date = date.addDays(1)) {
        const int n = std::uniform_int_distribution<int>(options.minPerDay, options.maxPerDay)(rng);
        day.clear();
        for (int i = 0; i < n; ++i) {
            const Title& t = all[pickTitle(rng)];
            const char* level2 =
                t.level2[std::uniform_int_distribution<std::size_t>(0, t.level2.size() - 1)(rng)];
            const char* text = t.descriptions[std::uniform_int_distribution<std::size_t>(
                0, t.descriptions.size() - 1)(rng)];
            int amount =
                std::uniform_int_distribution<int>(t.minAmount, t.maxAmount)(rng) / 10 * 10;
            // Now and then a refund or correction, booked as a negative expense.
            if (!t.income && std::uniform_int_distribution<int>(0, 40)(rng) == 0) amount = -amount;
            std::string line = date.format();
            line += '\t';
            line += t.level1;
            line += '\t';
            line += level2;
            line += '\t';
            line += t.income ? "0" : std::to_string(amount);
            line += '\t';
            line += t.income ? std::to_string(amount) : "0";
            line += '\t';
            line += text;
            day.push_back(std::move(line));
        }
        if (options.order == RecordOrder::ShuffledWithinDays)
            std::shuffle(day.begin(), day.end(), rng);
        else
            std::sort(day.begin(), day.end());
        for (auto& l : day) {
            if (out.size() == options.records) break;
            out.push_back(std::move(l));
        }
    }
    if (options.order == RecordOrder::Reversed) std::reverse(out.begin(), out.end());
    if (options.order == RecordOrder::Random) std::shuffle(out.begin(), out.end(), rng);
    return out;
}

std::string generateLedgerFile(const GeneratorOptions& options) {
    std::string file = "640\r\n480\r\n6\r\n6\r\n";
    for (int i = 0; i < 6; ++i) file += "20\r\n";
    file += "20\r\n90\r\n90\r\n90\r\n90\r\n200\r\n";
    file += "勘定科目1\t勘定科目２\t支出\t収入\t摘要\r\n";
    for (const auto& line : generateRecords(options)) {
        file += line;
        file += "\r\n";
    }
    return file;
}

}  // namespace orvo::bench
