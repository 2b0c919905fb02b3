// A file that is plainly no ledger is refused before the ledger in hand changes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CoreTestSupport.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerBook.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

TEST(DataFileCheck, ANonEmptyFileNotStartingWithADigitFromOneIsRefused) {
    const fs::path dir = fs::temp_directory_path() / "orvo-data-file-check";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const struct {
        const char* name;
        const char* text;  // nullptr: no such file
        bool refused;
    } cases[] = {
        {"ledger.dat", "640\r\n480\r\n", false},
        {"blank-first.dat", " 572\r\n", true},
        {"empty.dat", "", false},
        {"missing.dat", nullptr, false},
        {"letter.txt", "Dear Sir,\r\n", true},
        {"blank-line.dat", "\r\n640\r\n", true},
    };
    for (const auto& c : cases) {
        const fs::path p = dir / c.name;
        if (c.text) std::ofstream(p, std::ios::binary) << c.text;
        EXPECT_EQ(errorOf([&] { requireLedgerFile(p.string()); }),
                  c.refused ? "ファイル " + p.string() + " は家計簿のデータではありません" : "")
            << c.name;
    }

    // Opening it leaves the ledger in hand, its records and its file, as they were.
    LedgerBook book;
    book.dataFileName = "mine.dat";
    book.records.add("2026/10/01\tA\t\t1\t0\t");
    EXPECT_THROW(book.openDataFile((dir / "letter.txt").string()), NotALedgerFile);
    EXPECT_EQ(book.dataFileName, "mine.dat");
    EXPECT_EQ(book.records.size(), 1u);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace orvo
