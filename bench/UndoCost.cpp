// undo-cost [RECORDS]: what the history of changes costs on a large ledger.
// A bulk replace that changes every record, undone and redone; then 10,000
// cell edits, and the memory their steps hold.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/LedgerGenerator.h"
#include "ledger/LedgerBook.h"
#include "ledger/SearchList.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The resident memory now, in MB.
double residentMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

template <class F>
double timed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvo;
    bench::GeneratorOptions options;
    options.records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    // Every description ends in "x", so the replace below changes every record.
    std::vector<std::string> lines = bench::generateRecords(options);
    for (std::string& line : lines) line += 'x';

    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay({2000, 1, 1});
    book.addRecords(lines);
    lines.clear();
    lines.shrink_to_fit();

    SearchList list;
    list.search(book.records(), "x");
    const double replace = timed([&] { replaceListed(book, list, "x", "y"); });
    const double undo = timed([&] { book.undo(); });
    const double redo = timed([&] { book.redo(); });
    std::printf("bulk replace of %zu records: replace %.3f s, undo %.3f s, redo %.3f s\n",
                book.records().size(), replace, undo, redo);

    // Cell edits on a fresh history: each a step of its own.
    book.startNewLedger();
    const double before = residentMB();
    constexpr int kEdits = 10'000;
    const double edits = timed([&] {
        for (int i = 0; i < kEdits; ++i)
            book.editCell(kColDescription, 1 + i % 5, "edit " + std::to_string(i));
    });
    // The history keeps the newest 1,000: what 10,000 would hold follows from them.
    const double perStep =
        static_cast<double>(book.history().bytes()) / static_cast<double>(book.history().steps());
    std::printf(
        "%d cell edits: %.3f s; history keeps %zu steps, %.0f bytes a step (10,000 steps: %.2f "
        "MB), resident +%.2f MB\n",
        kEdits, edits, book.history().steps(), perStep, perStep * kEdits / 1e6,
        residentMB() - before);
    return 0;
}
