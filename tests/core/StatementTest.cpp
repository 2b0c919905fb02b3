// Statement import: reading cells, dates, amounts and layouts; titles,
// duplicates and adding to the ledger.

#include <gtest/gtest.h>

#include <random>

#include "CoreTestSupport.h"
#include "ledger/LedgerBook.h"
#include "statement/FoldText.h"
#include "statement/StatementCells.h"
#include "statement/StatementImport.h"
#include "statement/StatementValues.h"
#include "support/SourceFolders.h"

namespace orvo::statement {
namespace {

std::string fixture(const std::string& name) {
    return readFile(orvo::testing::fixturesFolder() + "/statement/" + name);
}

TEST(StatementValues, DateForms) {
    const struct {
        const char* text;
        const char* expected;  // "" for none; "m/d" for a date without its year
    } cases[] = {
        {"2025/1/5", "2025/01/05"},
        {"2025/01/05", "2025/01/05"},
        {"2025-01-05", "2025/01/05"},
        {"2025.1.5", "2025/01/05"},
        {"20250105", "2025/01/05"},
        {"2025年1月5日", "2025/01/05"},
        {"25/01/05", "2025/01/05"},
        {"R7.1.5", "2025/01/05"},
        {"令和7年1月5日", "2025/01/05"},
        {"令和元年5月1日", "2019/05/01"},
        {"H31.4.30", "2019/04/30"},
        {"平成31年4月30日", "2019/04/30"},
        {"S64.1.7", "1989/01/07"},
        {"昭和63年12月31日", "1988/12/31"},
        {"２０２５／１／５", ""},
        {"２０２５年１月５日", "2025/01/05"},
        {" 2025/1/5 ", "2025/01/05"},
        {"1/5", "1/5"},
        {"01月05日", "1/5"},
        {"2/29", "2/29"},
        {"2025/2/30", ""},
        {"2024/2/29", "2024/02/29"},
        {"H31.5.1", ""},
        {"R1.4.30", ""},
        {"2025/1月5日", ""},
        {"2025年1月5", ""},
        {"2025/1/5/", ""},
        {"202515", ""},
        {"abc", ""},
        {"", ""},
        {"12/32", ""},
        {"99999/1/1", ""},
    };
    for (const auto& c : cases) {
        const auto parsed = parseCellDate(c.text);
        std::string got;
        if (parsed && parsed->date)
            got = parsed->date->format();
        else if (parsed)
            got = std::to_string(parsed->month) + "/" + std::to_string(parsed->day);
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(StatementValues, AmountForms) {
    const struct {
        const char* text;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {"1280", 1280},
        {"1,280", 1280},
        {"￥1,280", 1280},
        {"\\1,280", 1280},
        {"1,280円", 1280},
        {"１，２８０", 1280},
        {"-1,280", -1280},
        {"△1,280", -1280},
        {"▲1,280", -1280},
        {"(1,280)", -1280},
        {"（１２８０）", -1280},
        {"", 0},
        {" 0 ", 0},
        {"+5", 5},
        {"-￥5", -5},
        {"2147483647", 2147483647},
        {"-2147483647", -2147483647},
        {"-2147483648", std::nullopt},
        {"2147483648", std::nullopt},
        {"9999999999999999999", std::nullopt},
        {"12.5", std::nullopt},
        {"abc", std::nullopt},
        {"1,,000", std::nullopt},
        {",100", std::nullopt},
        {"100,", std::nullopt},
        {"(100", std::nullopt},
        {"-(100)", std::nullopt},
        {"円", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseCellAmount(c.text), c.expected) << c.text;
}

TEST(StatementCells, QuotesAndSeparators) {
    EXPECT_EQ(splitCells(R"(a, "1,280" ,"say ""hi""",)", ','),
              (std::vector<std::string>{"a", "1,280", "say \"hi\"", ""}));
    EXPECT_EQ(splitCells("x\t\"y\tz\"\t　w　", '\t'), (std::vector<std::string>{"x", "y\tz", "w"}));
    // A trail byte 0x5C or 0x81 is not taken for a separator or a blank.
    EXPECT_EQ(splitCells("ソ,表\x81\x40", ','), (std::vector<std::string>{"ソ", "表"}));
    EXPECT_EQ(detectSeparator("a\tb\t\"c,d,e\""), '\t');
    EXPECT_EQ(detectSeparator("a,b\tc,d"), ',');
}

TEST(StatementFold, SameShop) {
    const std::pair<const char*, const char*> same[] = {
        {"ｾﾌﾞﾝｲﾚﾌﾞﾝ 1234店", "セブンイレブン店"},
        {"ＡＢＣマート　２", "abcマート"},
        {"ﾊﾟﾝ ﾊﾞｽ ｳﾞｨ", "パンバスヴィ"},
        {"Coffee 12", "COFFEE"},
    };
    for (const auto& [a, b] : same) EXPECT_EQ(foldForMatching(a), foldForMatching(b)) << a;
    EXPECT_NE(foldForMatching("ﾊﾟﾝ"), foldForMatching("バン"));
}

// The rows of a fixture, one text each: state, date, amounts, description or reason.
std::vector<std::string> rowsOf(const std::string& name, const LedgerRecords& records = {},
                                const std::vector<ImportRule>& rules = {}) {
    const ReadStatement statement = readStatement(fixture(name), builtInLayouts());
    std::vector<std::string> out;
    for (const PreviewRow& r : preview(statement, records, rules)) {
        if (r.state == RowState::Error) {
            out.push_back("E" + std::to_string(r.row.line) + " " + r.row.error);
            continue;
        }
        out.push_back(std::string(r.state == RowState::New ? "N " : "D ") + r.row.date.format() +
                      " " + std::to_string(r.row.expense) + "/" + std::to_string(r.row.income) +
                      " " + r.row.description + " [" + r.title1 + "|" + r.title2 + "]");
    }
    return out;
}

TEST(StatementReader, EveryLayoutAndEncoding) {
    const struct {
        const char* file;
        std::vector<std::string> rows;
    } cases[] = {
        {"bank-hikidashi-cp932.csv",
         {"N 2025/01/05 1280/0 ｾﾌﾞﾝｲﾚﾌﾞﾝ 1234店 [未分類|]",
          "N 2025/01/06 0/200000 給与　テスト商事 [未分類|]",
          "N 2025/01/07 3000/0 カード \"引落\" [未分類|]",
          "N 2025/01/08 500/0 ATM,手数料 [未分類|]", "N 2025/01/09 1500/0 ＡＢＣマート [未分類|]",
          "N 2025/01/09 1500/0 ABCマート [未分類|]"}},
        {"bank-torihiki-utf8bom.csv",
         {"N 2025/01/05 1000/0 電気料金 [未分類|]",
          "N 2025/01/06 0/5000 振込 テストタロウ [未分類|]",
          "N 2025/01/07 200/0 コンビニ [未分類|]", "N 2025/01/08 300/0 コンビニ [未分類|]"}},
        {"bank-signed-utf16le.tsv",
         {"N 2025/01/05 1280/0 スーパーテスト [未分類|]", "N 2025/01/06 0/10000 振込 [未分類|]",
          "N 2025/01/07 500/0 手数料 [未分類|]", "N 2025/01/08 300/0 書店 [未分類|]",
          "N 2025/01/09 200/0 駐車場 [未分類|]"}},
        {"bank-shukkin-utf8.csv",
         {"N 2025/01/05 2000/0 水道 1月分 [未分類|]", "N 2025/01/06 3000/0 ガス [未分類|]",
          "E4 残高が一致しません", "E5 残高が一致しません"}},
        {"card-cp932.csv",
         {"N 2024/12/20 2980/0 ｽｰﾊﾟｰﾃｽﾄ 01 [未分類|]",
          "N 2025/01/05 4500/0 ガソリンスタンド [未分類|]",
          "N 2025/01/06 150/0 ｺｰﾋｰｼｮｯﾌﾟ [未分類|]", "N 2025/01/06 150/0 ｺｰﾋｰｼｮｯﾌﾟ [未分類|]",
          "N 2025/01/07 0/3000 返品　テスト衣料 [未分類|]"}},
        {"bank-kind-utf16be.csv",
         {"N 2019/04/30 1000/0 平成最後 [未分類|]", "N 2019/04/30 0/2000 平成の入金 [未分類|]",
          "N 2019/05/01 300/0 令和最初 [未分類|]", "N 1989/01/07 100/0 昭和最後 [未分類|]",
          "N 1988/12/31 0/50 昭和 [未分類|]", "E7 入出金区分 '振替' は入金でも出金でもありません"}},
        {"broken-values-cp932.csv",
         {"E2 '2025/2/30' は日付ではありません", "E3 '2025/13/1' は日付ではありません",
          "E4 'あした' は日付ではありません", "E5 '12.5' は整数ではありません",
          "E6 'abc' は整数ではありません", "E7 '9999999999' は整数ではありません",
          "N 2025/01/05 2147483647/0 上限 [未分類|]", "E9 '1,,000' は整数ではありません",
          "E10 'H31.5.1' は日付ではありません"}},
        {"broken-unencodable-utf8.csv",
         {"E2 文字 U+1F600 はShift-JISで表せません", "N 2025/01/06 200/0 カフェ [未分類|]"}},
        {"broken-odd-utf16le.csv",
         {"N 2025/01/05 1/0 x [未分類|]", "E3 文字 U+FFFD はShift-JISで表せません"}},
    };
    for (const auto& c : cases) EXPECT_EQ(rowsOf(c.file), c.rows) << c.file;
    EXPECT_EQ(errorOf([] { rowsOf("broken-no-layout.csv"); }), "明細の形式を判別できません");
}

TEST(StatementReader, NewestFirstBalancesAndGivenLayout) {
    // Newest first: from the disagreement on in time, i.e. it and the rows above it.
    const std::string text =
        "年月日,お引出し,お預入れ,お取り扱い内容,残高\n2025/1/7,100,,c,800\n2025/1/6,100,,b,900\n"
        "2025/1/5,100,,a,1100\n2025/1/4,100,,z,1200\n";
    const ReadStatement read = readStatement(text, builtInLayouts());
    ASSERT_EQ(read.rows.size(), 4u);
    EXPECT_FALSE(read.rows[0].ok());
    EXPECT_FALSE(read.rows[1].ok());
    EXPECT_TRUE(read.rows[2].ok());
    EXPECT_TRUE(read.rows[3].ok());

    // A layout by positions, without a header: data from line 1.
    StatementLayout manual = parseLayout("名前\tM\n日付\t#2\n金額\t#1\n摘要\t#3\n", "m.txt");
    ReadChoices choices;
    choices.layout = manual;
    choices.headerLine = 0;
    const ReadStatement positional = readStatement("-5,2025/1/5,x\n7,2025/1/6,y\n", {}, choices);
    ASSERT_EQ(positional.rows.size(), 2u);
    EXPECT_EQ(positional.rows[0].expense, 5);
    EXPECT_EQ(positional.rows[1].income, 7);
    EXPECT_EQ(parseLayout(layoutFileText(manual), "again").columns.size(), 3u);
    EXPECT_EQ(errorOf([] { parseLayout("日付\t#1\n", "x.txt"); }),
              "明細の形式 x.txt を読めません (名前)");
}

LedgerRecords ledgerOf(const std::vector<std::string>& lines) {
    LedgerRecords records;
    for (const auto& l : lines) records.add(l);
    return records;
}

TEST(StatementImport, TitlesFromRulesThenHistoryThenUnclassified) {
    const LedgerRecords records = ledgerOf({
        "2024/12/01\t食費\t外食\t150\t0\tコーヒーショップ 3号店",
        "2024/12/02\t食費\t菓子・飲料\t150\t0\tｺｰﾋｰｼｮｯﾌﾟ",
        "2024/12/03\t食費\t外食\t150\t0\tコーヒーショップ",
        "2024/12/04\t交通費\tガソリン代\t4000\t0\tガソリンスタンド",
    });
    const std::vector<ImportRule> rules = {{"ｶﾞｿﾘﾝ", "自動車", "燃料"}, {"衣料", "衣服費", ""}};
    const auto rows = rowsOf("card-cp932.csv", records, rules);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], "N 2025/01/05 4500/0 ガソリンスタンド [自動車|燃料]");
    EXPECT_EQ(rows[2], "N 2025/01/06 150/0 ｺｰﾋｰｼｮｯﾌﾟ [食費|外食]");
    EXPECT_EQ(rows[4], "N 2025/01/07 0/3000 返品　テスト衣料 [衣服費|]");
    EXPECT_EQ(rows[0], "N 2024/12/20 2980/0 ｽｰﾊﾟｰﾃｽﾄ 01 [未分類|]");

    const orvo::testing::ScratchFolder scratch("rules");
    const std::string dir = scratch.str();
    saveRules(rules, rulesFilePath(dir));
    EXPECT_EQ(readRules(rulesFilePath(dir)), rules);
    EXPECT_EQ(readFile(rulesFilePath(dir)), "ｶﾞｿﾘﾝ\t自動車\t燃料\r\n衣料\t衣服費\t\r\n");
    EXPECT_TRUE(readRules(dir + "/none.txt").empty());
    EXPECT_EQ(rulesFileText({{"a\tb", "T\r\n", ""}}), "a b\tT  \t\r\n");
}

TEST(StatementImport, DuplicatesCountedWithMultiplicity) {
    // One coffee in the ledger against two in the statement: one duplicate, one new.
    const LedgerRecords records = ledgerOf({
        "2025/01/06\t食費\t\t150\t0\tカード ｺｰﾋｰｼｮｯﾌﾟ 渋谷",
        "2025/01/05\t交通費\t\t4500\t0\tガソリンスタンド",
        "2025/01/07\t衣服費\t\t3000\t0\t返品 テスト衣料",  // expense, not income
    });
    const auto rows = rowsOf("card-cp932.csv", records);
    EXPECT_EQ(rows[1].substr(0, 2), "D ");
    EXPECT_EQ(rows[2].substr(0, 2), "D ");
    EXPECT_EQ(rows[3].substr(0, 2), "N ");
    EXPECT_EQ(rows[4].substr(0, 2), "N ");
}

// The day-by-day check against a plain model: every row against every record.
TEST(StatementImport, DuplicatesAgreeWithPlainModel) {
    std::mt19937 rng(24);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> lines;
        const char* shops[] = {"A店", "ｶﾌｪ", "カフェ 2", "B"};
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        for (int i = 0; i < 30; ++i)
            lines.push_back("2025/01/0" + std::to_string(1 + pick(4)) + "\tT\t\t" +
                            std::to_string(100 * pick(3)) + "\t0\t" + shops[pick(4)]);
        std::vector<PreviewRow> rows(20);
        for (auto& r : rows) {
            r.row.date = {2025, 1, 1 + pick(4)};
            r.row.expense = 100 * pick(3);
            r.row.description = shops[pick(4)];
            r.ticked = true;
        }
        std::vector<PreviewRow> fast = rows;
        markDuplicates(fast, ledgerOf(lines));
        // Model: per (day, expense, shop fold) the number of records minus the
        // rows before, for the exact case that this data makes (no containment
        // across different folds except "カフェ 2" = "カフェ").
        std::size_t modelDuplicates = 0;
        std::vector<bool> used(lines.size());
        for (const auto& r : rows) {
            for (std::size_t k = 0; k < lines.size(); ++k) {
                const auto f = [&](int i) {
                    std::size_t s = 0;
                    for (int t = 0; t < i; ++t) s = lines[k].find('\t', s) + 1;
                    return lines[k].substr(s, lines[k].find('\t', s) - s);
                };
                if (used[k] || f(0) != r.row.date.format() ||
                    f(3) != std::to_string(r.row.expense) ||
                    foldForMatching(f(5)) != foldForMatching(r.row.description))
                    continue;
                used[k] = true;
                ++modelDuplicates;
                break;
            }
        }
        EXPECT_EQ(countRows(fast).duplicates, modelDuplicates) << round;
    }
}

TEST(StatementImport, AddsTickedRowsAndTotals) {
    LedgerBook book;
    book.startNewLedger();
    book.addRecords({"2025/01/05\t食費\t\t100\t0\told"});
    book.setCumulativeTotals(100, 0);
    std::vector<PreviewRow> rows(3);
    rows[0].row = {2, {2025, 1, 9}, 500, 0, "a", ""};
    rows[1].row = {3, {2025, 1, 6}, 0, 70, "b\tc", ""};
    rows[2].row = {4, {2025, 1, 2}, 9, 0, "unticked", ""};
    rows[0].ticked = rows[1].ticked = true;
    rows[1].title1 = "給与";
    EXPECT_EQ(addTickedRows(book, rows), 2u);
    EXPECT_EQ(recordLines(book.records()),
              (std::vector<std::string>{"2025/01/05\t食費\t\t100\t0\told",
                                        "2025/01/06\t給与\t\t0\t70\tb c",
                                        "2025/01/09\t未分類\t\t500\t0\ta"}));
    EXPECT_EQ(book.totals().allOut, 600);
    EXPECT_EQ(book.totals().allIn, 70);
    EXPECT_EQ(book.pickedDay(), (LedgerDate{2025, 1, 6}));
    EXPECT_EQ(book.table().cell(kColDescription, 1), "b c");
}

}  // namespace
}  // namespace orvo::statement
