// One search pass, the CSV export and the CSV import at 1M records; the
// files live in the temporary folder, where compare-csv-search.sh times
// grep, cp and wc on the same bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"
#include "ledger/CsvExport.h"
#include "ledger/CsvImport.h"
#include "ledger/LedgerBook.h"
#include "ledger/SearchList.h"

namespace {

namespace fs = std::filesystem;
using orvo::LedgerBook;

constexpr std::size_t kRecords = 1'000'000;
// "ピアノ" in CP932: in about 1.4% of the generated records.
constexpr const char* kKeyword = "\x83\x73\x83\x41\x83\x6D";

fs::path benchFile(const char* extension) {
    return fs::temp_directory_path() / ("orvo-bench-" + std::to_string(kRecords) + extension);
}

LedgerBook& loadedBook() {
    static LedgerBook book = [] {
        const fs::path dat = benchFile(".dat");
        if (!fs::exists(dat)) {
            orvo::bench::GeneratorOptions o;
            o.records = kRecords;
            orvo::writeFileAtomically(dat.string(), orvo::bench::generateLedgerFile(o));
        }
        LedgerBook b;
        b.openDataFile(dat.string());
        return b;
    }();
    return book;
}

void BM_SearchPass(benchmark::State& state) {
    const LedgerBook& book = loadedBook();
    orvo::SearchList list;
    for (auto _ : state) benchmark::DoNotOptimize(list.search(book.records(), kKeyword));
    state.counters["found"] = static_cast<double>(list.size());
}

void BM_CsvExport(benchmark::State& state) {
    const LedgerBook& book = loadedBook();
    for (auto _ : state) orvo::writeCsv(book.records(), benchFile(".csv").string());
    state.counters["file_MB"] = static_cast<double>(fs::file_size(benchFile(".csv"))) / 1e6;
}

void BM_CsvImport(benchmark::State& state) {
    if (!fs::exists(benchFile(".csv")))
        orvo::writeCsv(loadedBook().records(), benchFile(".csv").string());
    orvo::CsvImportHooks hooks;
    hooks.firstLineHoldsTitles = [] { return false; };
    for (auto _ : state) {
        LedgerBook book;
        book.ResetLedgerTable();
        const auto result = orvo::importCsv(book, benchFile(".csv").string(), hooks);
        benchmark::DoNotOptimize(result.records);
    }
}

// The bulk replace of every record the search lists, to "ピアノ!" and back,
// so that every round changes the same records.
void BM_ReplaceListed(benchmark::State& state) {
    LedgerBook& book = loadedBook();
    orvo::SearchList list;
    const std::string there = kKeyword;
    const std::string back = there + "!";
    bool forth = true;
    for (auto _ : state) {
        state.PauseTiming();
        list.search(book.records(), forth ? there : back);
        state.ResumeTiming();
        orvo::replaceListed(book, list, forth ? there : back, forth ? back : there);
        forth = !forth;
    }
    state.counters["listed"] = static_cast<double>(list.size());
}

BENCHMARK(BM_SearchPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceListed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
