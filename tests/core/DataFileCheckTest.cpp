// A file that is plainly no ledger is refused before the ledger in hand changes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>
#include <csignal>

#include "CoreTestSupport.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerBook.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

TEST(DataFileCheck, ANonEmptyFileNotStartingWithADigitFromOneIsRefused) {
    const testing::ScratchFolder scratch("data-file-check");
    const fs::path& dir = scratch.path();
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
        EXPECT_EQ(errorOf([&] { CheckedDataFile{p.string()}; }),
                  c.refused ? "ファイル " + p.string() + " は家計簿のデータではありません" : "")
            << c.name;
    }

    // Opening it leaves the ledger in hand, its records and its file, as they were.
    LedgerBook book;
    book.setDataFileName("mine.dat");
    book.addRecords({"2026/10/01\tA\t\t1\t0\t"});
    EXPECT_THROW(book.openDataFile((dir / "letter.txt").string()), NotALedgerFile);
    EXPECT_EQ(book.dataFileName(), "mine.dat");
    EXPECT_EQ(book.records().size(), 1u);
}

TEST(DataFileCheck, ALineTooLongForAnyRecordIsRefusedWithoutReadingOn) {
    const testing::ScratchFolder scratch("data-file-long-line");
    const fs::path& dir = scratch.path();
    const std::size_t longest = LedgerFileBytes::kLongestLine;
    const std::string header = "640\r\n480\r\n";
    const struct {
        const char* name;
        std::string text;
        bool refused;
    } cases[] = {
        {"longest.dat", header + std::string(longest, 'a') + "\r\nb\r\n", false},
        {"cr-ended.dat", header + std::string(longest, 'a') + "\rb", false},
        {"unended-longest.dat", header + std::string(longest, 'a'), false},
        {"one-over.dat", header + std::string(longest + 1, 'a') + "\r\n", true},
        {"no-line-end.dat", "6" + std::string(longest + 1, '0'), true},
    };
    for (const auto& c : cases) {
        const fs::path p = dir / c.name;
        std::ofstream(p, std::ios::binary) << c.text;
        EXPECT_EQ(!errorOf([&] { CheckedDataFile{p.string()}; }).empty(), c.refused) << c.name;
    }

    // A pipe of endless bytes is read no further than one line too many.
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::size_t written = 0;
    std::thread writer([&] {
        const std::string chunk = "6" + std::string(65535, '0');
        for (;;) {
            const ssize_t n = ::write(ends[1], chunk.data(), chunk.size());
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        ::close(ends[1]);
    });
    const std::string endless = "/dev/fd/" + std::to_string(ends[0]);
    LedgerBook book;
    EXPECT_EQ(errorOf([&] { book.openDataFile(endless); }),
              "ファイル " + endless + " には長すぎる行 (16 MB 超) があり、読み込めません");
    EXPECT_EQ(book.dataFileName(), "");  // so no save replaces what it came from
    ::close(ends[0]);
    writer.join();
    EXPECT_LT(written, 2 * longest);
}

}  // namespace
}  // namespace orvo
