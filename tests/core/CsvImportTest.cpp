// The CSV import and export on a whole ledger.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CoreTestSupport.h"
#include "ledger/CsvExport.h"
#include "ledger/CsvImport.h"
#include "ledger/LedgerBook.h"
#include "support/SourceFolders.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

class CsvImport : public ::testing::Test {
protected:
    void SetUp() override {
        book.ResetLedgerTable();
        book.setPickedDay({2002, 5, 20});
    }

    std::string file(const std::string& name, const std::string& bytes) {
        const std::string p = (dir / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    CsvImportResult import(const std::string& csv, bool titles = false) {
        CsvImportHooks hooks;
        hooks.firstLineHoldsTitles = [titles] { return titles; };
        return importCsv(book, file("in.csv", csv), hooks);
    }
    // An existing ledger, to see that a failed import leaves it alone.
    void ledgerWithOneRecord() {
        book.startNewLedger();
        book.setDataFileName("old.dat");
        book.addRecords({"2001/01/01\t食費\t\t5\t0\t"});
        book.setCumulativeTotals(5, 0);
        book.editCell(1, 0, "自分の題");
    }
    void expectLedgerUntouched() {
        EXPECT_EQ(book.dataFileName(), "old.dat");
        EXPECT_EQ(recordLines(book.records()),
                  std::vector<std::string>{"2001/01/01\t食費\t\t5\t0\t"});
        EXPECT_EQ(book.totals().allOut, 5);
        EXPECT_EQ(book.table().cell(1, 0), "自分の題");
    }

    testing::ScratchFolder scratch{"csv"};
    const fs::path dir = scratch.path();
    LedgerBook book;
};

TEST_F(CsvImport, ReplacesTheLedgerGrowingColumnsAndSummingTotals) {
    ledgerWithOneRecord();
    book.setColumnWidth(1, 300);
    const auto r = import(
        "2002/05/21,食費,外食,x,,\r\n"
        "2002/05/20,食費,外食,1200,,昼食\r\n"
        "2002/05/20,給与,,0,300000,a,b\r\n");
    EXPECT_FALSE(r.fault);
    EXPECT_EQ(r.records, 3u);
    EXPECT_EQ(book.dataFileName(), "");
    EXPECT_EQ(recordLines(book.records()),
              (std::vector<std::string>{"2002/05/20\t給与\t\t0\t300000\ta\tb",
                                        "2002/05/20\t食費\t外食\t1200\t\t昼食",
                                        "2002/05/21\t食費\t外食\tx\t\t"}));
    EXPECT_EQ(book.table().columnCount(), 8);  // seven fields
    EXPECT_EQ(book.table().cell(1, 0), "勘定科目1");
    EXPECT_EQ(book.table().columnWidth(1), 90);  // the standard sizes
    EXPECT_EQ(book.totals().allOut, 1200);     // "x" counts as nothing
    EXPECT_EQ(book.totals().allIn, 300000);
    EXPECT_EQ(book.table().cell(1, 1), "給与");  // the day view of the picked day
    EXPECT_EQ(book.table().cell(5, 2), "昼食");
    EXPECT_EQ(book.totals().dayOut, 1200);
}

TEST_F(CsvImport, TitleLineNamesTheColumnsOrStopsWhenShort) {
    auto r = import("日付,科目,細目,出,入,摘,余り\r\n2002/05/20,a,b,1,2,c\r\n", true);
    EXPECT_FALSE(r.fault);
    EXPECT_EQ(book.table().columnCount(), 8);
    EXPECT_EQ(book.table().cell(1, 0), "日付");
    EXPECT_EQ(book.table().cell(7, 0), "余り");
    EXPECT_EQ(book.records().size(), 1u);

    ledgerWithOneRecord();
    r = import("a,b,c\r\n2002/05/20,a,b,1,2,c\r\n", true);
    ASSERT_TRUE(r.fault);
    EXPECT_STREQ(r.fault->what(), "リストのインデックスが範囲を超えています (3)");
    EXPECT_TRUE(book.records().empty());
    EXPECT_EQ(book.dataFileName(), "");
}

struct BadLineCase {
    const char* what;
    std::string csv;
    const char* message;
    std::size_t kept;
    std::int32_t allOut;
};

TEST_F(CsvImport, StopsOnABadLineKeepingWhatCameBeforeWithTotalsToMatch) {
    const std::string good = "2002/05/20,a,,100,5,\r\n";
    const BadLineCase cases[] = {
        {"an empty line", good + "\r\n" + good, "リストのインデックスが範囲を超えています (-1)", 1,
         100},
        {"an empty last line", good + good + "\r\n",
         "リストのインデックスが範囲を超えています (-1)", 2, 200},
        {"three fields", good + "2002/05/20,b,c\r\n" + good,
         "リストのインデックスが範囲を超えています (3)", 2, 100},
        {"four fields", good + "2002/05/20,b,c,7\r\n" + good,
         "リストのインデックスが範囲を超えています (4)", 2, 107},
        {"a line wider than a ledger can be", good + std::string(10'000, ','),
         "表の大きさ (10002) が範囲を超えています", 1, 100},
    };
    for (const auto& c : cases) {
        book.setPickedDay({2002, 5, 20});
        const auto r = import(c.csv);
        ASSERT_TRUE(r.fault) << c.what;
        EXPECT_STREQ(r.fault->what(), c.message) << c.what;
        EXPECT_EQ(book.records().size(), c.kept) << c.what;
        EXPECT_EQ(book.totals().allOut, c.allOut) << c.what;
        EXPECT_EQ(book.totals().dayOut, c.allOut) << c.what;  // the day view was shown
        EXPECT_EQ(book.table().cell(1, 1), "a") << c.what;
        // A write-back of the unchanged day keeps the totals right.
        book.markDayViewChanged();
        book.Recalculate();
        EXPECT_EQ(book.totals().allOut, c.allOut) << c.what;
    }
}

TEST_F(CsvImport, ReportsRecordsWithoutALevel1Title) {
    const auto r = import(
        "2002/06/01,,b,1,0,\r\n2002/05/20,a,,1,0,\r\n2002/05/25,,,1,0,\r\n2002/05/30,,,1,0,\r\n");
    EXPECT_EQ(r.emptyTitleRecords, 3u);
    EXPECT_EQ(r.firstEmptyTitleDate, "2002/05/25");  // first in ledger order
    EXPECT_EQ(book.records().size(), 4u);              // nothing changed in them
    EXPECT_NE(emptyTitleNotice(r).find("3"), std::string::npos);
    EXPECT_NE(emptyTitleNotice(r).find("2002/05/25"), std::string::npos);
}

TEST_F(CsvImport, AFileThatCannotBeReadLeavesTheLedgerAsItWas) {
    ledgerWithOneRecord();
    CsvImportHooks hooks;
    EXPECT_EQ(errorOf([&] { importCsv(book, (dir / "missing.csv").string(), hooks); }),
              "ファイル " + (dir / "missing.csv").string() + " が見つかりません");
    EXPECT_NE(errorOf([&] { importCsv(book, dir.string(), hooks); }), "");
    expectLedgerUntouched();
}

TEST_F(CsvImport, AFileThatIsNoCsvTextIsRefusedAsSuch) {
    using namespace std::string_literals;
    ledgerWithOneRecord();
    const std::string cases[] = {
        "\xFF\xFE\x32\0\x30\0"s,                                     // UTF-16
        "2002/05/19,a,b,1,0,\r\n\x7F\x45LF\0\0"s,                    // binary
        "640\r\n480\r\n2\r\n6\r\n20\r\n20\r\n90\r\n90\r\nA\tB\r\n",  // a ledger
    };
    for (const std::string& bytes : cases) {
        writeFile(dir / "in.csv", bytes);
        CsvImportHooks hooks;
        EXPECT_EQ(errorOf([&] { importCsv(book, (dir / "in.csv").string(), hooks); }),
                  "ファイル " + (dir / "in.csv").string() + " はCSVのテキストではありません");
    }
    expectLedgerUntouched();
}

TEST_F(CsvImport, Utf8WithByteOrderMarkIsConvertedOrRefusedWhole) {
    // "食費" and "昼食" in UTF-8.
    const std::string shokuhi = "\xE9\xA3\x9F\xE8\xB2\xBB";
    const std::string chushoku = "\xE6\x98\xBC\xE9\xA3\x9F";
    import(
        "\xEF\xBB\xBF"
        "2002/05/20," +
        shokuhi + ",,1,0," + chushoku + "\r\n");
    EXPECT_EQ(recordLines(book.records()),
              std::vector<std::string>{"2002/05/20\t食費\t\t1\t0\t昼食"});

    ledgerWithOneRecord();
    const std::string emoji = "\xF0\x9F\x98\x80";  // U+1F600, which CP932 lacks
    const std::string bad =
        "\xEF\xBB\xBF"
        "2002/05/20,a,,1,0,\r\n2002/05/20,a,,1,0,x" +
        emoji + "\r\n";
    EXPECT_EQ(errorOf([&] { import(bad); }),
              "CSVファイルの 2 行目の文字 U+1F600 はShift-JISで表せないため、読み込めません");
    expectLedgerUntouched();
}

TEST_F(CsvImport, CancellingLeavesTheLedgerAsItWas) {
    ledgerWithOneRecord();
    std::string csv;
    for (int i = 0; i < 40000; ++i) csv += "2002/05/20,a,,1,0,\r\n";
    CsvImportHooks hooks;
    std::size_t calls = 0;
    hooks.progress = [&](std::size_t done, std::size_t total) {
        EXPECT_LE(done, total);
        return ++calls < 2;
    };
    const auto r = importCsv(book, file("big.csv", csv), hooks);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(calls, 2u);
    expectLedgerUntouched();
}

TEST_F(CsvImport, ExportWritesBackTheDayAndImportGivesTheSameRecords) {
    book.addRecords({"2002/05/19\t食費\t外食\t1200\t0\t昼食"});
    book.addRecords({"2002/05/21\t給与\t基本給\t0\t300000\tソ表"});
    book.ShowDay();
    book.editCell(1, 1, "交通費");  // typed, not yet written back
    book.editCell(3, 1, "230");
    const std::string csv = (dir / "out.csv").string();
    ASSERT_TRUE(exportCsv(book, csv));
    EXPECT_EQ(read(csv),
              "2002/05/19,食費,外食,1200,0,昼食\r\n"
              "2002/05/20,交通費,,230,0,\r\n"
              "2002/05/21,給与,基本給,0,300000,ソ表\r\n");

    const auto before = recordLines(book.records());
    CsvImportHooks hooks;
    importCsv(book, csv, hooks);
    EXPECT_EQ(recordLines(book.records()), before);
}

TEST_F(CsvImport, CountsTheRecordsWhoseAmountIsNoWholeNumber) {
    const auto r = import(
        "2002/05/21,食費,,\"1,280\",0,\r\n2002/05/20,食費,,100,,\r\n"
        "2002/05/20,給与,,0,\"198,720\",\r\n2002/05/22,食費,,,,\r\n2002/05/23,食費,,-5,+7,\r\n");
    EXPECT_EQ(r.badAmountRecords, 2u);
    EXPECT_EQ(r.firstBadAmountDate, "2002/05/20");
    EXPECT_FALSE(r.fault);  // the notice tells of the day shown too
    EXPECT_EQ(badAmountNotice(r),
              "支出か収入が整数でないデータが 2 件あります (最初は 2002/05/20)。"
              "合計には数えられません。その日の表で整数に直してください");
    EXPECT_EQ(import("2002/05/20,食費,,1,0,\r\n").badAmountRecords, 0u);
}

// Export then import gives back the records exactly: those of every ledger
// and CSV file of the fuzz corpus and the sample, and records whose fields
// need quotes.
TEST_F(CsvImport, ExportThenImportGivesBackEveryRecord) {
    std::vector<fs::path> sources{fs::path(orvo::testing::sampleFolder()) / "sample.dat"};
    for (const char* corpus : {"ledger_file", "csv_import"})
        for (const auto& entry : fs::directory_iterator(fs::path(orvo::testing::sampleFolder()) /
                                                        ".." / "fuzz" / "corpus" / corpus))
            sources.push_back(entry.path());
    std::vector<std::vector<std::string>> ledgers;
    for (const fs::path& source : sources) {
        try {
            if (source.extension() == ".csv")
                importCsv(book, source.string(), {});
            else
                book.openDataFile(source.string());
        } catch (const OrvoError&) {
            // what was read before the fault is a ledger still
        }
        // A record of fewer than five fields (a hand-edited ledger) stops any
        // import, as a short CSV line does: those are not exported to come back.
        std::vector<std::string> lines;
        for (const std::string& line : recordLines(book.records()))
            if (std::count(line.begin(), line.end(), '\t') >= 4) lines.push_back(line);
        ledgers.push_back(lines);
    }
    ledgers.push_back({"2026/11/03\t食費\t\t1980\t0\tイオン まとめ買い",
                       "2026/11/04\t\"a\",b\t\t1\t0\t \"say \"\"hi\"\"\" \x1Bline\x01",
                       "2026/11/05\t\t\t0\t0\t\"",
                       "2026/11/06\t食費\t外食\t1,280\t\t" + std::string(40, ' ')});
    for (const auto& lines : ledgers) {
        LedgerRecords records;
        for (const auto& line : lines) records.add(line);
        const std::string csv = (dir / "round.csv").string();
        ASSERT_TRUE(writeCsv(records, csv));
        importCsv(book, csv, {});
        EXPECT_EQ(recordLines(book.records()), lines) << read(csv);
    }
}

TEST_F(CsvImport, ARecordLongerThanTheWriteBufferIsWrittenWhole) {
    book.addRecords({"2002/05/19\ta\t\t1\t0\t" + std::string(600'000, 'x')});
    book.addRecords({"2002/05/20\tb\t\t1\t0\t"});
    const std::string csv = (dir / "out.csv").string();
    ASSERT_TRUE(writeCsv(book.records(), csv));
    EXPECT_EQ(read(csv),
              "2002/05/19,a,,1,0," + std::string(600'000, 'x') + "\r\n2002/05/20,b,,1,0,\r\n");
}

TEST_F(CsvImport, CancelledExportLeavesTheFileAsItWas) {
    for (int i = 0; i < 20000; ++i) book.addRecords({"2002/05/19\ta\t\t1\t0\t"});
    const std::string csv = file("out.csv", "old");
    EXPECT_FALSE(writeCsv(book.records(), csv, [](std::size_t, std::size_t) { return false; }));
    EXPECT_EQ(read(csv), "old");
}

}  // namespace
}  // namespace orvo
