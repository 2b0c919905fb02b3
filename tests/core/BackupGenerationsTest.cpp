// The daily copies a save keeps in "NAME.dat.backups": which days stay, what a
// save keeps, and that a copy that cannot be made stops no save.

#include <gtest/gtest.h>

#include <filesystem>

#include "CoreTestSupport.h"
#include "ledger/BackupGenerations.h"
#include "ledger/LedgerBook.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

LedgerDate d(const char* text) {
    return *LedgerDate::parse(text);
}

std::vector<LedgerDate> everyDay(const char* from, const char* to) {
    std::vector<LedgerDate> days;
    for (LedgerDate day = d(from); day <= d(to); day = day.addDays(1)) days.push_back(day);
    return days;
}

std::vector<std::string> texts(const std::vector<LedgerDate>& days) {
    std::vector<std::string> out;
    for (const LedgerDate& day : days) out.push_back(day.format());
    return out;
}

TEST(BackupRetention, KeepsTheLastSevenAndTheFirstOfEachOfTwelveMonths) {
    struct Case {
        const char* what;
        std::vector<LedgerDate> days;
        const char* today;
        std::vector<std::string> kept;  // newest first
    };
    const Case cases[] = {
        {"a save every day of the year before",
         everyDay("2025/11/20", "2026/12/09"),
         "2026/12/09",
         {"2026/12/09", "2026/12/08", "2026/12/07", "2026/12/06", "2026/12/05", "2026/12/04",
          "2026/12/03", "2026/12/01", "2026/11/01", "2026/10/01", "2026/09/01", "2026/08/01",
          "2026/07/01", "2026/06/01", "2026/05/01", "2026/04/01", "2026/03/01", "2026/02/01",
          "2026/01/01"}},
        {"the seven run back over the year's end; January a year ago is gone",
         everyDay("2026/01/01", "2027/01/03"),
         "2027/01/03",
         {"2027/01/03", "2027/01/02", "2027/01/01", "2026/12/31", "2026/12/30", "2026/12/29",
          "2026/12/28", "2026/12/01", "2026/11/01", "2026/10/01", "2026/09/01", "2026/08/01",
          "2026/07/01", "2026/06/01", "2026/05/01", "2026/04/01", "2026/03/01", "2026/02/01"}},
        {"month ends: the twelve months run from February to January",
         {d("2025/01/31"), d("2025/02/01"), d("2025/02/28"), d("2025/12/31"), d("2026/01/01"),
          d("2026/01/02"), d("2026/01/03"), d("2026/01/04"), d("2026/01/05"), d("2026/01/06")},
         "2026/01/31",
         {"2026/01/06", "2026/01/05", "2026/01/04", "2026/01/03", "2026/01/02", "2026/01/01",
          "2025/12/31", "2025/02/01"}},
        {"a leap day is its month's first copy",
         {d("2028/02/29"), d("2028/03/31"), d("2028/04/30"), d("2028/05/31"), d("2028/06/30"),
          d("2028/07/31"), d("2028/08/31"), d("2028/09/30"), d("2028/10/31")},
         "2028/12/31",
         {"2028/10/31", "2028/09/30", "2028/08/31", "2028/07/31", "2028/06/30", "2028/05/31",
          "2028/04/30", "2028/03/31", "2028/02/29"}},
        {"rare saves: the seven newest stay however old",
         {d("2019/05/05"), d("2021/06/30"), d("2023/02/28")},
         "2026/12/09",
         {"2023/02/28", "2021/06/30", "2019/05/05"}},
        {"a clock put back: the newer copies count among the seven",
         everyDay("2026/12/01", "2026/12/10"),
         "2026/11/15",
         {"2026/12/10", "2026/12/09", "2026/12/08", "2026/12/07", "2026/12/06", "2026/12/05",
          "2026/12/04"}},
        {"none", {}, "2026/12/09", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texts(backupDaysToKeep(c.days, d(c.today))), c.kept) << c.what;
}

class BackupGenerationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = (dir / "book.dat").string();
        book.startNewLedger();
        book.setPickedDay({2026, 12, 9});
        book.backups().setClock([this] { return today; });
    }

    // Saves the ledger with one record more, `amount`.
    void saveWith(int amount) {
        book.addRecords({"2026/12/09\t食費\t外食\t" + std::to_string(amount) + "\t0\t"});
        book.ShowDay();
        book.setDataFileName(file);
        book.SaveLedger();
    }

    const testing::ScratchFolder scratch{"backups"};
    const fs::path& dir = scratch.path();
    std::string file;
    LedgerBook book;
    LedgerDate today{2026, 12, 9};
};

TEST_F(BackupGenerationsTest, TheFirstSaveOfADayKeepsTheFileAsItWasBefore) {
    EXPECT_EQ(backupFolderOf(file), file + ".backups");
    EXPECT_EQ(backupCopyOf(file, today), file + ".backups/book.2026-12-09.dat");
    EXPECT_EQ(backupCopyOf((dir / "家計").string(), today),
              (dir / "家計.backups/家計.2026-12-09").string());

    saveWith(100);  // nothing to keep yet
    EXPECT_FALSE(fs::exists(backupFolderOf(file)));
    const std::string first = readFile(file);
    saveWith(200);
    const std::string copy = backupCopyOf(file, today);
    EXPECT_EQ(readFile(copy), first);
    saveWith(300);  // the day has its copy: it stays as it was
    EXPECT_EQ(readFile(copy), first);

    // Files in the folder that are no copies stay and are not listed.
    writeFile(backupFolderOf(file) + "/notes.txt", "x");
    writeFile(backupFolderOf(file) + "/book.2026-02-30.dat", "x");
    writeFile(backupFolderOf(file) + "/other.2026-12-01.dat", "x");
    const std::string beforeNextDay = readFile(file);
    today = {2026, 12, 10};
    saveWith(400);
    const std::vector<BackupCopy> copies = backupCopiesOf(file);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].day, today);
    EXPECT_EQ(readFile(copies[0].path), beforeNextDay);
    EXPECT_EQ(copies[0].size, beforeNextDay.size());
    EXPECT_EQ(recordCountOf(copies[0].path), 3u);
    EXPECT_EQ(recordCountOf(copies[1].path), 1u);
    EXPECT_TRUE(fs::exists(backupFolderOf(file) + "/notes.txt"));
    EXPECT_TRUE(fs::exists(backupFolderOf(file) + "/other.2026-12-01.dat"));
}

TEST_F(BackupGenerationsTest, ADaysFirstSaveRemovesWhatTheRuleNoLongerKeeps) {
    saveWith(100);
    fs::create_directory(backupFolderOf(file));
    for (const LedgerDate& day : everyDay("2025/12/01", "2026/12/09"))
        writeFile(backupCopyOf(file, day), "old");
    today = {2026, 12, 10};
    saveWith(200);
    std::vector<LedgerDate> left;
    for (const BackupCopy& c : backupCopiesOf(file)) left.push_back(c.day);
    EXPECT_EQ(left, backupDaysToKeep(everyDay("2025/12/01", "2026/12/10"), today));
    EXPECT_EQ(left.size(), 7u + 12u);  // 12/04 to 12/10, and the firsts of January to December
}

TEST_F(BackupGenerationsTest, ACopyThatCannotBeMadeIsReportedOnceAndStopsNoSave) {
    saveWith(100);
    writeFile(backupFolderOf(file), "a file where the folder would be");
    saveWith(200);
    EXPECT_NE(readFile(file).find("\t200\t"), std::string::npos);  // saved all the same
    const std::optional<OrvoError> failure = book.backups().takeFailure();
    ASSERT_TRUE(failure);
    EXPECT_EQ(std::string(failure->what()),
              "ファイル " + backupCopyOf(file, today) + " を作成できません");
    saveWith(300);
    EXPECT_NE(readFile(file).find("\t300\t"), std::string::npos);
    EXPECT_FALSE(book.backups().takeFailure());  // once for the day
    today = {2026, 12, 10};
    saveWith(400);
    EXPECT_TRUE(book.backups().takeFailure());
    fs::remove(backupFolderOf(file));
    saveWith(500);  // tried again: made now
    EXPECT_FALSE(book.backups().takeFailure());
    EXPECT_NE(readFile(backupCopyOf(file, today)).find("\t400\t"), std::string::npos);
}

TEST(BackupRecordCount, CountsAsALoadReadsAndRefusesWhatIsNoLedger) {
    const testing::ScratchFolder scratch("backup-count");
    const fs::path& dir = scratch.path();
    const std::string head = "572\r\n390\r\n2\r\n2\r\n20\r\n20\r\n20\r\n90\r\n勘定科目1\r\n";
    const std::pair<std::string, std::optional<std::size_t>> cases[] = {
        {"", 0},
        {head, 0},
        {head + "2026/12/09\ta\tb\t1\t0\t\r\n\r\n  \r\n2026/12/10\ta\tb\t1\t0\t", 2},
        {"572\r\n390\r\n2\r\n", std::nullopt},       // cut short in the header
        {"572\r\n390\r\nx\r\n2\r\n", std::nullopt},  // no table size
        {"PK\x03\x04 an archive", std::nullopt},     // no ledger
    };
    for (const auto& [bytes, count] : cases) {
        writeFile(dir / "copy.dat", bytes);
        EXPECT_EQ(recordCountOf((dir / "copy.dat").string()), count) << bytes;
    }
    EXPECT_EQ(recordCountOf((dir / "none.dat").string()), std::nullopt);
}

}  // namespace
}  // namespace orvo
