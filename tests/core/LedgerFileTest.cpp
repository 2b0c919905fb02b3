// The ledger data file: what SaveLedger writes and LoadLedger reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "CoreTestSupport.h"
#include "base/Amount.h"
#include "base/OrvoError.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerBook.h"
#include "support/SourceFolders.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

// Every day of the month can be drawn, the 29th to the 31st included.
int daysInMonth(int year, int month) {
    const LedgerDate first{year, month, 1};
    const LedgerDate next =
        month == 12 ? LedgerDate{year + 1, 1, 1} : LedgerDate{year, month + 1, 1};
    return next.serial() - first.serial();
}

std::string fixture(const std::string& name) {
    return orvo::testing::fixturesFolder() + "/ledger/" + name;
}

class LedgerFile : public ::testing::Test {
protected:
    void SetUp() override {
        book.ResetLedgerTable();
        book.setPickedDay({2026, 10, 1});
    }

    void open(const std::string& path) { book.openDataFile(path); }
    // Writes `lines` after the header `head`, opens that file and gives the
    // list adding them one by one gives, to compare with records().
    std::vector<std::string> openAndAddOneByOne(const std::string& head,
                                                const std::vector<std::string>& lines) {
        std::string file = head;
        LedgerRecords expected;
        for (const auto& l : lines) {
            file += l + "\r\n";
            expected.add(l);
        }
        writeFile(dir / "order.dat", file);
        open((dir / "order.dat").string());
        return recordLines(expected);
    }
    std::vector<std::string> records() const { return recordLines(book.records()); }

    testing::ScratchFolder scratch{"ledger"};
    const fs::path dir = scratch.path();
    LedgerBook book;
};

TEST_F(LedgerFile, NewLedgerSavedAtOnceGivesSeventeenLines) {
    for (int c = 0; c < 6; ++c) book.setColumnWidth(c, c == 0 ? 20 : c == 5 ? 160 : 90);
    book.setDataFileName((dir / "new.dat").string());
    book.SaveLedger();
    EXPECT_EQ(readFile(dir / "new.dat"),
              "572\r\n390\r\n6\r\n6\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n90\r\n90\r\n90\r\n"
              "90\r\n160\r\n"
              "勘定科目1\t勘定科目２\t支出\t収入\t摘要\r\n");
}

TEST_F(LedgerFile, LoadThenSaveIsByteIdentical) {
    for (const char* name : {"standard.dat", "out-of-order.dat"}) {
        open(fixture(name));
        book.setDataFileName((dir / name).string());
        book.SaveLedger();
        if (std::string(name) == "standard.dat") {
            EXPECT_EQ(readFile(dir / name), readFile(fixture(name))) << name;
        }
    }
    // Out-of-order records come back sorted; a second round trip changes nothing.
    open((dir / "out-of-order.dat").string());
    EXPECT_EQ(records(),
              (std::vector<std::string>{"2026/10/01\tA\t\t1\t0\t", "2026/10/02\tB\t\t2\t0\t",
                                        "2026/10/03\tC\t\t3\t0\t"}));
}

TEST_F(LedgerFile, LoadSetsWindowShapeTitlesTotalsAndTheDayView) {
    open(fixture("standard.dat"));
    EXPECT_EQ(book.windowWidth(), 600);
    EXPECT_EQ(book.windowHeight(), 420);
    EXPECT_EQ(book.table().columnWidth(5), 160);
    EXPECT_EQ(book.table().cell(2, 0), "勘定科目２");
    EXPECT_EQ(book.allOutText(), "\\17,200");  // 12000 - 500 + 1200 + 3000 + 1500
    EXPECT_EQ(book.allInText(), "\\5,000");
    EXPECT_EQ(book.dayOutText(), "\\12,700");
    EXPECT_EQ(book.table().cell(5, 1), "障子の張り替え\r\n和室二部屋");
    EXPECT_EQ(book.table().cell(3, 2), "-500");
    EXPECT_FALSE(book.dayViewChanged());
}

TEST_F(LedgerFile, OpenKeepsTheWindowMinimumAlsoWhenTheLoadStops) {
    const fs::path p = dir / "small.dat";
    writeFile(p, "100\r\n50\r\n6\r\nx\r\n");
    EXPECT_THROW(open(p.string()), OrvoError);
    EXPECT_EQ(book.windowWidth(), 572);
    EXPECT_EQ(book.windowHeight(), 321);
}

// Refused before the ledger in hand changes, so a save cannot replace them.
TEST_F(LedgerFile, FilesThatDoNotStartWithADigitAreRefused) {
    book.addRecords({"2026/10/01\tkept\t\t1\t0\t"});
    book.setDataFileName("mine.dat");
    for (const std::string first : {"0", "abc", " 572", ""}) {
        const fs::path p = dir / "odd.dat";
        writeFile(p, first + "\r\n390\r\n6\r\n6\r\n");
        EXPECT_THROW(book.openDataFile(p.string()), NotALedgerFile) << first;
        EXPECT_EQ(book.records().size(), 1u);
        EXPECT_EQ(book.dataFileName(), "mine.dat");
    }
    writeFile(dir / "empty.dat", "");
    book.setDataFileName((dir / "empty.dat").string());
    EXPECT_NO_THROW(book.LoadLedger());
}

TEST_F(LedgerFile, ShortTitlesLineKeepsTheOtherTitles) {
    open(fixture("short-titles.dat"));
    EXPECT_EQ(book.table().cell(1, 0), "項目");
    EXPECT_EQ(book.table().cell(3, 0), "出金");
    EXPECT_EQ(book.table().cell(4, 0), "収入");
    EXPECT_EQ(book.table().cell(5, 0), "摘要");
}

TEST_F(LedgerFile, BlankLinesAndLeadingBlanksBetweenRecordsAreSkipped) {
    open(fixture("blank-lines.dat"));
    EXPECT_EQ(records(),
              (std::vector<std::string>{"2026/10/01\tA\t\t1\t0\t", "2026/10/02\tB\t\t2\t0\t"}));
}

TEST_F(LedgerFile, LinesEndedByLfAloneAreRead) {
    open(fixture("lf-only.dat"));
    EXPECT_EQ(records().size(), 2u);
    EXPECT_EQ(book.table().columnWidth(5), 160);
}

TEST_F(LedgerFile, CaseOnlyDuplicatesBothStayLaterFirst) {
    open(fixture("case-duplicates.dat"));
    EXPECT_EQ(records(), (std::vector<std::string>{"2026/10/01\tfood\t\t1\t0\tCoffee",
                                                   "2026/10/01\tFood\t\t1\t0\tcoffee"}));
}

TEST_F(LedgerFile, LoneLeadByteAtALineEndSwallowsNothing) {
    open(fixture("truncated-dbcs.dat"));
    EXPECT_EQ(records(), (std::vector<std::string>{"2026/10/01\tA\t\t1\t0\tabc\x81",
                                                   "2026/10/02\tB\t\t2\t0\t\x95"}));
    book.setDataFileName((dir / "again.dat").string());
    book.SaveLedger();
    EXPECT_EQ(readFile(dir / "again.dat"), readFile(fixture("truncated-dbcs.dat")));
}

TEST_F(LedgerFile, BadHeaderIntegerStopsWithTheShapeReadSoFar) {
    EXPECT_EQ(errorOf([&] { open(fixture("bad-header.dat")); }), "'six' は整数ではありません");
    EXPECT_EQ(book.windowWidth(), 600);
    EXPECT_TRUE(book.records().empty());
    // Stopped before the end: no file name, so a plain save cannot replace it.
    EXPECT_EQ(book.dataFileName(), "");
}

TEST_F(LedgerFile, BadAmountOrShortRecordIsReportedAfterEveryRecordIsLoaded) {
    EXPECT_EQ(errorOf([&] { open(fixture("bad-amount.dat")); }), "'12a' は整数ではありません");
    EXPECT_EQ(records().size(), 3u);
    EXPECT_EQ(book.totals().allOut, 4);  // the bad amount counts as nothing
    EXPECT_EQ(book.totals().allIn, 4);
    EXPECT_EQ(book.table().cell(1, 1), "A");                    // the day view is shown
    EXPECT_EQ(book.dataFileName(), fixture("bad-amount.dat"));  // all read: the name stays

    EXPECT_EQ(errorOf([&] { open(fixture("short-record.dat")); }),
              "リストのインデックスが範囲を超えています (3)");
    EXPECT_EQ(records().size(), 3u);
    const fs::path p = dir / "four.dat";
    writeFile(p, readFile(fixture("short-titles.dat")) + "2026/10/05\ta\tb\t1\r\n");
    EXPECT_EQ(errorOf([&] { open(p.string()); }), "リストのインデックスが範囲を超えています (4)");
}

// The header and titles of a ledger file, without records.
std::string headerOnly() {
    const std::string file = readFile(fixture("short-titles.dat"));
    return file.substr(0, file.find("2026/"));
}

// Records stand in a file in any order: the load gives the list that adding
// them one by one gives, however the days and the lines inside them stand.
TEST_F(LedgerFile, RecordsInAnyOrderLoadAsAddedOneByOne) {
    const std::string head = headerOnly();
    std::mt19937 rng(3);
    // ア's trail byte is an A: never folded.
    const char* titles[] = {"food", "Food", "FOOD", "表", "ソ", "b", "アa", "アA"};
    for (LineOrder order : kLineOrders) {
        std::vector<std::string> lines;
        for (int i = 0; i < 5000; ++i) {
            char date[32];
            const int month = 1 + static_cast<int>(rng() % 12);
            std::snprintf(date, sizeof date, "2026/%02d/%02d", month,
                          1 + static_cast<int>(rng() % daysInMonth(2026, month)));
            lines.push_back(std::string(date) + "\t" + titles[rng() % 8] + "\t\t" +
                            std::to_string(rng() % 3) + "\t0\t" + titles[rng() % 8]);
        }
        arrange(lines, order, rng);
        const std::vector<std::string> expected = openAndAddOneByOne(head, lines);
        EXPECT_EQ(records(), expected) << orderName(order);
    }
}

// Days newest first, each day's lines in any order, load as adding one by
// one gives; also when one day breaks that order, in the middle or last.
// One day is longer than a block of the list.
TEST_F(LedgerFile, DaysNewestFirstLoadAsAddedOneByOne) {
    const std::string head = headerOnly();
    std::mt19937 rng(13);
    const char* titles[] = {"food", "Food", "FOOD", "表", "アa", "アA"};
    std::vector<std::vector<std::string>> days(40);
    for (std::size_t d = 0; d < days.size(); ++d)
        for (int i = 0; i < (d == 30 ? 2600 : 30); ++i) {
            char date[32];
            std::snprintf(date, sizeof date, "2026/%02d/%02d", 1 + static_cast<int>(d / 28),
                          1 + static_cast<int>(d % 28));
            days[d].push_back(std::string(date) + "\t" + titles[rng() % 6] + "\t\t" +
                              std::to_string(rng() % 3) + "\t0\t");
        }
    for (const std::size_t moved : {std::size_t{0}, std::size_t{20}, std::size_t{39}}) {
        std::vector<std::string> lines;
        for (std::size_t d = days.size(); d-- > 0;)
            if (d != moved || moved == 0) lines.insert(lines.end(), days[d].begin(), days[d].end());
        if (moved != 0) {  // a day put among older ones, or the newest put last
            const auto at =
                lines.begin() + static_cast<std::ptrdiff_t>(moved == 20 ? 300 : lines.size());
            lines.insert(at, days[moved].begin(), days[moved].end());
        }
        const std::vector<std::string> expected = openAndAddOneByOne(head, lines);
        EXPECT_EQ(records(), expected) << moved;
    }
    // Lines written to the end of the file after it was opened are not in the
    // bytes read at first: they end the days newest first while a day is open.
    std::string file = head;
    LedgerRecords expected;
    for (std::size_t d = days.size(); d-- > 10;)
        for (const auto& l : days[d]) {
            file += l + "\r\n";
            expected.add(l);
        }
    writeFile(dir / "grown.dat", file);
    CheckedDataFile checked((dir / "grown.dat").string());
    std::string more;
    for (std::size_t d = 10; d-- > 0;)
        for (const auto& l : days[d]) {
            more += l + "\r\n";
            expected.add(l);
        }
    std::ofstream((dir / "grown.dat"), std::ios::binary | std::ios::app) << more;
    book.openDataFile((dir / "grown.dat").string(), checked, LedgerBook::OpenMode::ForReading);
    EXPECT_EQ(records(), recordLines(expected));
}

// A large file out of order is laid out by month on two threads, each
// building blocks of its own: the load still gives what adding one by one
// gives. So does adding the lines at once (as an import does), by day on two
// threads that meet in a block of the list.
TEST_F(LedgerFile, ALargeFileOutOfOrderLoadsAsAddedOneByOne) {
    const std::string head = headerOnly();
    std::mt19937 rng(7);
    const char* titles[] = {"food", "Food", "FOOD", "表", "b"};
    std::vector<std::string> lines;
    for (int i = 0; i < 90000; ++i) {
        char date[32];
        const int year = 2024 + static_cast<int>(rng() % 3);
        const int month = 1 + static_cast<int>(rng() % 12);
        std::snprintf(date, sizeof date, "%d/%02d/%02d", year, month,
                      1 + static_cast<int>(rng() % daysInMonth(year, month)));
        lines.push_back(std::string(date) + "\t" + titles[rng() % 5] + "\t\t" +
                        std::to_string(rng() % 3) + "\t0\t" + titles[rng() % 5]);
    }
    for (LineOrder order :
         {LineOrder::ShuffledWithinDays, LineOrder::Reversed, LineOrder::Random}) {
        arrange(lines, order, rng);
        const std::vector<std::string> expected = openAndAddOneByOne(head, lines);
        EXPECT_EQ(records(), expected) << orderName(order);
        LedgerRecords added;
        added.addAll(lines);
        EXPECT_EQ(recordLines(added), expected) << orderName(order) << ", added at once";
    }
    // Days in order, each shuffled, are sorted by a second thread: also where
    // a run of another form of date follows such a day, and where a day put
    // among earlier ones ends the order after many such days.
    arrange(lines, LineOrder::ShuffledWithinDays, rng);
    const auto october = std::find_if(
        lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("2025/10/"); });
    lines.insert(october, {"2025/1/05\tb\t\t1\t0\t", "2025/1/05\ta\t\t1\t0\t"});
    std::vector<std::string> expected = openAndAddOneByOne(head, lines);
    EXPECT_EQ(records(), expected) << "another form of date";
    const auto lastDay = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.compare(0, 10, lines.back(), 0, 10) == 0;
    });
    std::vector<std::string> moved(lastDay, lines.end());
    lines.erase(lastDay, lines.end());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2), moved.begin(),
                 moved.end());
    expected = openAndAddOneByOne(head, lines);
    EXPECT_EQ(records(), expected) << "a day out of place";
}

// Out of order, with lines of no date written "yyyy/mm/dd" among them, a day
// of thousands of lines and months millennia apart: as added one by one.
TEST_F(LedgerFile, AwkwardLinesOutOfOrderLoadAsAddedOneByOne) {
    const std::string head = headerOnly();
    std::mt19937 rng(17);
    const char* odd[] = {"2026/2/3", "abc", "ABC", "0001/01/01", "9999/12/31", "2024/02/29"};
    const char* pieces[] = {"a", "A", "b", "表"};
    std::vector<std::string> lines;
    for (int i = 0; i < 12000; ++i) {
        std::string l = rng() % 3 ? "2026/02/03" : odd[rng() % 6];
        l += '\t';
        for (int k = 0; k < 3; ++k) l += pieces[rng() % 4];
        lines.push_back(l + "\t\t1\t0\t");
    }
    const std::vector<std::string> expected = openAndAddOneByOne(head, lines);
    EXPECT_EQ(records(), expected);
}

// Records with TABs anywhere, a short field 0 among them: the totals and the
// first fault are those a plain split of each record at its TABs gives.
TEST_F(LedgerFile, AmountsAreReadFieldByFieldWhereverTheTabsStand) {
    const char* pieces[] = {"\t", "\t", "\t", "a", "12", "7", "x", "2026/10/01", "表", "-3"};
    std::mt19937 rng(21);
    for (int round = 0; round < 20; ++round) {
        std::string file = headerOnly();
        std::int32_t out = 0;
        std::int32_t in = 0;
        std::string fault;
        const auto addUp = [&](const std::string& text, std::int32_t& total) {
            if (text.empty()) return;
            if (const auto v = parseAmount(text))
                total = wrapAdd(total, *v);
            else if (fault.empty())
                fault = notAnInteger(text).what();
        };
        for (int i = 0; i < 200; ++i) {
            std::string line = "ab";
            for (int k = 1 + static_cast<int>(rng() % 12); k > 0; --k) line += pieces[rng() % 10];
            file += line + "\r\n";
            std::vector<std::string> fields(1);
            for (char c : line) {
                if (c == '\t')
                    fields.emplace_back();
                else
                    fields.back().push_back(c);
            }
            if (fields.size() <= 3) {
                if (fault.empty()) fault = listIndexOutOfBounds(3).what();
                continue;
            }
            addUp(fields[3], out);
            if (fields.size() <= 4) {
                if (fault.empty()) fault = listIndexOutOfBounds(4).what();
                continue;
            }
            addUp(fields[4], in);
        }
        writeFile(dir / "tabs.dat", file);
        EXPECT_EQ(errorOf([&] { open((dir / "tabs.dat").string()); }), fault) << round;
        EXPECT_EQ(book.totals().allOut, out) << round;
        EXPECT_EQ(book.totals().allIn, in) << round;
    }
}

// The loaded list's lines point into the bytes read; edits afterwards (adds
// into those blocks, removals, replacements, splits) keep it equal to a plain
// sorted vector, and it saves what the vector holds.
TEST_F(LedgerFile, EditsOfALoadedListKeepItsOrderAndBytes) {
    const std::string head = headerOnly();
    std::mt19937 rng(5);
    const auto randomLine = [&](int day) {
        char date[16];
        std::snprintf(date, sizeof date, "2026/10/%02d", day);
        return std::string(date) + "\t" + std::string(1 + rng() % 60, "aAb表"[rng() % 4]) +
               "\t\t1\t0\t";
    };
    // The model's lines are views of texts kept aside, so that its inserts
    // and erases move plain views (test code is compiled unoptimized).
    std::deque<std::string> texts;
    const auto kept = [&](std::string line) -> std::string_view {
        return texts.emplace_back(std::move(line));
    };
    const auto asStrings = [](const std::vector<std::string_view>& views) {
        return std::vector<std::string>(views.begin(), views.end());
    };
    std::vector<std::string_view> model;
    for (int i = 0; i < 30000; ++i)
        model.push_back(kept(randomLine(1 + static_cast<int>(rng() % 6))));
    std::string file = head;
    for (const auto l : model) (file += l) += "\r\n";
    writeFile(dir / "loaded.dat", file);
    book.setPickedDay({2026, 12, 1});  // a day without records: the save writes back no grid
    open((dir / "loaded.dat").string());
    LedgerRecords expected;
    for (const auto& l : model) expected.add(l);
    model.clear();
    for (const std::string& l : recordLines(expected)) model.push_back(kept(l));
    ASSERT_EQ(records(), asStrings(model));
    const auto less = [](std::string_view a, std::string_view b) {
        return compareRecordLines(a, b) < 0;
    };
    // Adds go to one day and replacements to the first lines, so that blocks
    // split and rewritten blocks compact.
    for (int step = 0; step < 8000; ++step) {
        std::size_t i = rng() % model.size();
        if (const int op = static_cast<int>(rng() % 3); op == 0) {
            const std::string_view l = kept(randomLine(3));
            model.insert(std::lower_bound(model.begin(), model.end(), l, less), l);
            book.addRecords({std::string(l)});
        } else if (op == 1) {
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
            book.removeRecords({i});
        } else {
            i %= 50;
            std::string changed(model[i]);
            changed[11] = changed[11] == 'a'   ? 'A'
                          : changed[11] == 'A' ? 'a'
                                               : changed[11];  // same place in the order
            const std::string_view l = kept(std::move(changed));
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
            model.insert(std::lower_bound(model.begin(), model.end(), l, less), l);
            book.rewriteRecords({{i, std::string(l)}});  // placed again, before lines equal to it
        }
    }
    ASSERT_EQ(records(), asStrings(model));
    book.SaveLedgerAs((dir / "saved.dat").string());
    std::string saved;
    for (const auto l : model) (saved += l) += "\r\n";
    const std::string text = readFile(dir / "saved.dat");
    ASSERT_GT(text.size(), saved.size());
    EXPECT_EQ(text.substr(text.size() - saved.size()), saved);
}

// A bad amount and a short record in the middle of a file out of order are
// reported as in a sorted one, every record loaded, the amounts summed.
TEST_F(LedgerFile, FaultsInAFileOutOfOrderAreReportedAsInASortedOne) {
    const std::string head = headerOnly();
    std::vector<std::string> lines;
    for (int day = 1; day <= 28; ++day)
        for (const char* rest : {"\tb\t\t1\t2\t", "\ta\t\t10\t20\t", "\tA\t\t100\t0\t"}) {
            char date[16];
            std::snprintf(date, sizeof date, "2026/10/%02d", day);
            lines.push_back(date + std::string(rest));
        }
    lines[40] = "2026/10/14\tbad\t\t12a\t0\t";
    lines[41] = "2026/10/14\tshort\t";
    std::mt19937 rng(9);
    std::string firstError;
    std::vector<std::string> firstRecords;
    for (LineOrder order : kLineOrders) {
        std::vector<std::string> arranged = lines;
        arrange(arranged, order, rng);
        std::string file = head;
        for (const auto& l : arranged) file += l + "\r\n";
        writeFile(dir / "faults.dat", file);
        const std::string error = errorOf([&] { open((dir / "faults.dat").string()); });
        // Which fault comes first depends on the order the lines stand in.
        const auto bad = std::find(arranged.begin(), arranged.end(), lines[40]);
        const auto shortOne = std::find(arranged.begin(), arranged.end(), lines[41]);
        EXPECT_EQ(error, bad < shortOne ? "'12a' は整数ではありません"
                                        : "リストのインデックスが範囲を超えています (3)")
            << orderName(order);
        EXPECT_EQ(book.totals().allOut, 27 * 111 + 1) << orderName(order);
        EXPECT_EQ(book.totals().allIn, 27 * 22 + 2) << orderName(order);
        if (firstRecords.empty()) firstRecords = records();
        EXPECT_EQ(records(), firstRecords) << orderName(order);
        EXPECT_EQ(records().size(), lines.size());
    }
}

// What the day view shows of a ledger, its totals and its fault.
std::vector<std::string> dayViewOf(const LedgerBook& book, const std::string& error) {
    std::vector<std::string> view{
        error,
        book.dayOutText() + " " + book.dayInText() + " " + book.allOutText() + " " +
            book.allInText(),
        std::to_string(book.records().indicesOfDay(book.pickedDay()).size())};
    for (int r = 0; r < book.table().rowCount(); ++r)
        for (int c = 0; c < book.table().columnCount(); ++c)
            view.push_back(book.table().cell(c, r));
    return view;
}

// A look at one day keeps only the records its view reads, streamed from the
// file: it shows what opening the whole ledger shows, on every day, with
// lines of other date forms and none, equal lines and faults, in any order.
TEST_F(LedgerFile, ALookAtOneDayShowsWhatOpeningTheWholeLedgerShows) {
    const std::string head = headerOnly();
    std::vector<std::string> lines;
    for (int day = 2; day <= 6; day += 2)
        for (const char* rest : {"\tb\t\t1\t2\tx", "\ta\t\t10\t20\t", "\tA\t\t100\t0\ty"}) {
            char date[16];
            std::snprintf(date, sizeof date, "2026/10/%02d", day);
            lines.push_back(date + std::string(rest));
        }
    const std::vector<std::string> awkward = {
        "2026/10/4\todd\t\t5\t0\t", "2026/10/04 \tblank\t\t6\t0\t",
        "2026/10/04x\tno date\t\t7\t0\t", "xyz\tlast\t\t8\t0\t",
        "2026/10/05 zzz\tbetween\t\t3\t0\t"};
    std::mt19937 rng(5);
    // A line without a date before all others; a bad amount and a date alone,
    // whose faults the load reports in place of the view's.
    for (const char* extra :
         {"", "!abc\tfirst\t\t9\t0\t", "2026/10/06\tbad\t\t1x\t0\t", "2026/10/04"}) {
        std::vector<std::string> all = lines;
        all.insert(all.end(), awkward.begin(), awkward.end());
        if (*extra) all.push_back(extra);
        for (LineOrder order : kLineOrders) {
            arrange(all, order, rng);
            std::string file = head;
            for (const auto& l : all) file += l + "\r\n";
            const std::string path = (dir / "day.dat").string();
            writeFile(path, file);
            for (int day = 1; day <= 7; ++day) {
                LedgerBook whole;
                LedgerBook picked;
                for (LedgerBook* b : {&whole, &picked}) {
                    b->startNewLedger();
                    b->setPickedDay({2026, 10, day});
                }
                const std::string wholeError = errorOf([&] { whole.openDataFile(path); });
                CheckedDataFile streamed(path, PipeUse::Refused, FileReading::Streamed);
                const std::string pickedError =
                    errorOf([&] { picked.openPickedDay(path, streamed); });
                EXPECT_EQ(dayViewOf(picked, pickedError), dayViewOf(whole, wholeError))
                    << orderName(order) << " day " << day << " " << extra;
                EXPECT_EQ(picked.dataFileName(), "");
                EXPECT_LT(picked.records().size(), whole.records().size());
            }
        }
    }
}

TEST_F(LedgerFile, FaultsAreReportedInTheOrderTheFieldsAreRead) {
    const std::string head = readFile(fixture("short-titles.dat"));
    struct Case {
        std::string record;
        std::string error;
    } cases[] = {
        {"2026/10/05\ta\tb\tx", "'x' は整数ではありません"},  // field 3 before the missing field 4
        {"2026/10/05\ta\tb\t1", "リストのインデックスが範囲を超えています (4)"},
        {"2026/10/05\ta\tb", "リストのインデックスが範囲を超えています (3)"},
        {"2026/10/05\ta\tb\t1\ty", "'y' は整数ではありません"},
    };
    for (const Case& c : cases) {
        writeFile(dir / "f.dat", head + c.record + "\r\n");
        EXPECT_EQ(errorOf([&] { open((dir / "f.dat").string()); }), c.error) << c.record;
    }
}

TEST_F(LedgerFile, ATinyFileCannotAskForAHugeTable) {
    for (const std::string shape :
         {"1000000\r\n100\r\n", "1000\r\n10000\r\n", "1\r\n6\r\n", "6\r\n0\r\n"}) {
        writeFile(dir / "huge.dat", "640\r\n480\r\n" + shape);
        EXPECT_EQ(errorOf([&] { open((dir / "huge.dat").string()); }).find("表の大きさ"), 0u)
            << shape;
        EXPECT_EQ(book.table().rowCount(), 6);  // the table was not reshaped
    }
    // Within the bounds, but the file ends before the sizes it announces.
    writeFile(dir / "short.dat", "640\r\n480\r\n1000000\r\n4\r\n");
    EXPECT_EQ(errorOf([&] { open((dir / "short.dat").string()); }), "'' は整数ではありません");
    EXPECT_EQ(book.table().rowCount(), 6);
}

TEST_F(LedgerFile, AmountsAddUpAndWrap) {
    const std::string head = readFile(fixture("short-titles.dat"));
    writeFile(dir / "sum.dat",
              head +
                  "2026/10/02\ta\t\t-500\t\t\r\n2026/10/03\tb\t\t1200\t2147483647\t\r\n"
                  "2026/10/04\tc\t\t\t1\t\r\n");
    open((dir / "sum.dat").string());
    EXPECT_EQ(book.totals().allOut, 700 + 12000);
    EXPECT_EQ(book.totals().allIn, INT32_MIN);
}

TEST_F(LedgerFile, MissingFileAndUnreadableFile) {
    EXPECT_EQ(errorOf([&] { open((dir / "none.dat").string()); }),
              "ファイル " + (dir / "none.dat").string() + " が見つかりません");
    EXPECT_EQ(errorOf([&] { open(dir.string()); }).rfind("ファイル ", 0), 0u);
}

TEST_F(LedgerFile, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const fs::path p = dir / "ledger.dat";
    // Files in the folder but the ledger's backups, which are no temporary files.
    auto filesBesidesBackup = [&] {
        return std::count_if(fs::directory_iterator(dir), fs::directory_iterator(),
                             [](const fs::directory_entry& e) {
                                 return e.path().extension() != ".bak" &&
                                        e.path().extension() != ".backups";
                             });
    };
    writeFile(p, readFile(fixture("standard.dat")));
    open(p.string());
    book.markDayViewChanged();
    book.editCell(1, 4, "新しい行");
    for (WriteFaults f :
         {WriteFaults{0, false}, WriteFaults{100, false}, WriteFaults{std::nullopt, true}}) {
        EXPECT_EQ(errorOf([&] { book.SaveLedger(f); }).rfind("ファイル ", 0), 0u);
        EXPECT_EQ(readFile(p), readFile(fixture("standard.dat")));
        EXPECT_EQ(filesBesidesBackup(), 1);
    }
    // A folder that cannot be synced leaves the save unsure: it is reported.
    WriteFaults noFolderSync;
    noFolderSync.failFolderSync = true;
    EXPECT_EQ(errorOf([&] { book.SaveLedger(noFolderSync); }),
              "ファイル " + p.string() + " に書き込めません");
    EXPECT_EQ(filesBesidesBackup(), 1);
    book.SaveLedger();
    EXPECT_NE(readFile(p).find("新しい行"), std::string::npos);
}

TEST_F(LedgerFile, SaveStoppedByABadAmountWritesNothing) {
    const fs::path p = dir / "ledger.dat";
    writeFile(p, readFile(fixture("standard.dat")));
    open(p.string());
    book.editCell(3, 1, "abc");
    EXPECT_EQ(errorOf([&] { book.SaveLedger(); }), "'abc' は整数ではありません");
    EXPECT_EQ(readFile(p), readFile(fixture("standard.dat")));
    EXPECT_EQ(records().size(), 6u);
}

TEST_F(LedgerFile, SaveKeepsTheFilePermissions) {
    const fs::path p = dir / "ledger.dat";
    writeFile(p, "");
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    book.setDataFileName(p.string());
    book.SaveLedger();
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(LedgerFile, SaveIntoAFolderThatCannotBeWrittenSaysSo) {
    book.setDataFileName((dir / "no-such-folder" / "x.dat").string());
    EXPECT_EQ(errorOf([&] { book.SaveLedger(); }).rfind("ファイル ", 0), 0u);
}

}  // namespace
}  // namespace orvo
