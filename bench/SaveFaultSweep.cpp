// Makes a save of a 10k-record ledger fail after every N bytes (N from 0 in
// steps of STEP, and at every multiple of the writer's buffer +-1) and checks
// each time that the old file is byte-identical and no temporary file is left.
// Usage: save-fault-sweep FOLDER [STEP]   (prints the saves tried and failures)

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "bench/LedgerGenerator.h"
#include "ledger/LedgerBook.h"

namespace fs = std::filesystem;
using namespace orvo;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: save-fault-sweep FOLDER [STEP]\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const std::size_t step = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 97;
    fs::create_directories(dir);
    const fs::path file = dir / "sweep.dat";
    bench::GeneratorOptions options;
    options.records = 10'000;
    { std::ofstream(file, std::ios::binary) << bench::generateLedgerFile(options); }
    LedgerBook book;
    book.openDataFile(file.string());
    book.SaveLedger();  // the program's own form of it, and its backup
    const std::string old = readAll(file);
    const std::set<std::string> namesBefore = [&] {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
        return names;
    }();
    // Another ledger to save over it: the same with one more record.
    book.addRecords({"2026/12/08\t食費\t\t100\t0\textra"});

    std::set<std::size_t> points;
    for (std::size_t n = 0; n <= old.size() + 64; n += step) points.insert(n);
    for (std::size_t b = 1 << 18; b <= old.size() + (1 << 18); b += 1 << 18)
        for (std::size_t n : {b - 1, b, b + 1}) points.insert(n);
    std::size_t tried = 0;
    std::size_t bad = 0;
    for (std::size_t n : points) {
        WriteFaults faults;
        faults.failAfterBytes = n;
        bool failed = false;
        try {
            book.SaveLedger(faults);
        } catch (const OrvoError&) {
            failed = true;
        }
        ++tried;
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
        if (!failed) break;  // past the end: the save went through
        if (readAll(file) != old || names != namesBefore) {
            ++bad;
            std::printf("failure after %zu bytes: old file changed or a file left\n", n);
        }
    }
    std::printf(
        "%zu saves failed on purpose (file %zu bytes, step %zu): %zu left the old file "
        "changed or a temporary file behind\n",
        tried, old.size(), step, bad);
    return bad == 0 ? 0 : 1;
}
