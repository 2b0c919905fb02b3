// A load stopped by something other than a fault of the file (memory running
// out, here, at one allocation after another, on whichever thread meets it)
// leaves no ledger behind under the file's name for the next save to write
// over the file. The allocations are counted by this binary's operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "base/OrvoError.h"
#include "ledger/LedgerBook.h"
#include "support/ScratchFolder.h"

namespace {
// Allocations still allowed before one fails; below 0, no limit.
std::atomic<long> allocationsLeft{-1};
std::atomic<long> allocationsMade{0};
}  // namespace

void* operator new(std::size_t size) {
    allocationsMade.fetch_add(1, std::memory_order_relaxed);
    if (allocationsLeft.load(std::memory_order_relaxed) >= 0 && allocationsLeft.fetch_sub(1) == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// (This operator new takes its memory from malloc, so free is its delete.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace orvo {
namespace {

namespace fs = std::filesystem;

// A ledger of `lines` records, in file order or shuffled: over a MiB, so the
// load reads and sorts on threads of its own.
std::string ledgerBytes(bool shuffled) {
    std::vector<std::string> lines;
    for (int i = 0; i < 60000; ++i)
        lines.push_back("2026/" + std::to_string(10 + i % 3) + "/" + std::to_string(10 + i % 19) +
                        "\tline " + std::to_string(i) + "\t\t" + std::to_string(i) + "\t0\t");
    if (shuffled) std::shuffle(lines.begin(), lines.end(), std::mt19937(28));
    std::string out =
        "640\r\n480\r\n2\r\n6\r\n20\r\n20\r\n20\r\n90\r\n90\r\n90\r\n90\r\n160\r\n"
        "A\tB\tC\tD\tE\r\n";
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

TEST(LoadOutOfMemory, DropsTheFileNameAndItsLockWhereverItStops) {
    const testing::ScratchFolder scratch("out-of-memory");
    const std::string ledger = (scratch / "book.dat").string();
    for (const bool shuffled : {false, true}) {
        std::ofstream(ledger, std::ios::binary | std::ios::trunc) << ledgerBytes(shuffled);
        long needed = 0;
        {
            LedgerBook book;
            const long before = allocationsMade.load();
            book.openDataFile(ledger, LedgerBook::OpenMode::ForWriting);
            needed = allocationsMade.load() - before;
        }
        ASSERT_GT(needed, 4);
        int failed = 0;
        for (long at = 0; at < needed; at += std::max(1L, needed / 40)) {
            LedgerBook book;
            book.setDataFileName("before.dat");
            book.addRecords({"2026/01/01\tkept\t\t1\t0\t"});
            allocationsLeft = at;
            try {
                book.openDataFile(ledger, LedgerBook::OpenMode::ForWriting);
            } catch (const OrvoError& e) {
                ADD_FAILURE() << "at " << at << ": " << e.what();
            } catch (const std::bad_alloc&) {
                ++failed;
                // Stopped before the ledger changed, or it has no file name.
                if (book.dataFileName() == "before.dat")
                    EXPECT_EQ(book.records().size(), 1u) << "at " << at;
                else
                    EXPECT_EQ(book.dataFileName(), "") << "at " << at;
                EXPECT_FALSE(book.readOnly()) << "at " << at;
                // No lock left behind: the ledger opens for writing at once.
                allocationsLeft = -1;
                LedgerBook next;
                EXPECT_NO_THROW(next.openDataFile(ledger, LedgerBook::OpenMode::ForWriting))
                    << "at " << at;
            }
            allocationsLeft = -1;
        }
        EXPECT_GT(failed, 10) << (shuffled ? "shuffled" : "in order");
    }
}

}  // namespace
}  // namespace orvo
