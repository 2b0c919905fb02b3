// Load, day change (write-back and show), save, and the scan from the first
// record that a day change would cost without bisection, at 10k, 100k and 1M records.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"
#include "bench/ScanFromFirstRecord.h"
#include "ledger/LedgerBook.h"

namespace {

namespace fs = std::filesystem;
using orvo::LedgerBook;
using orvo::LedgerDate;

const fs::path& ledgerFile(std::size_t records) {
    static std::map<std::size_t, fs::path> files;
    auto& p = files[records];
    if (p.empty()) {
        p = fs::temp_directory_path() / ("orvo-bench-" + std::to_string(records) + ".dat");
        if (!fs::exists(p)) {
            orvo::bench::GeneratorOptions o;
            o.records = records;
            orvo::writeFileAtomically(p.string(), orvo::bench::generateLedgerFile(o));
        }
    }
    return p;
}

void load(LedgerBook& book, std::size_t records) {
    book.openDataFile(ledgerFile(records).string());
}

LedgerDate lastDay(const LedgerBook& book) {
    return *LedgerDate::parse(book.records[book.records.size() - 1].substr(0, 10));
}

void setRecordCounters(benchmark::State& state, std::size_t records) {
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Load(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    ledgerFile(n);
    for (auto _ : state) {
        LedgerBook book;
        load(book, n);
        benchmark::DoNotOptimize(book.records.size());
    }
    setRecordCounters(state, n);
    const double fileMB = static_cast<double>(fs::file_size(ledgerFile(n))) / 1e6;
    state.counters["file_MB"] = fileMB;
    // The process's peak so far: the sizes run smallest first, so at each size
    // this is that size's peak (bench/load-peak-memory measures one load alone).
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_RSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}

void BM_ShowLateDay(benchmark::State& state) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    book.pickedDay = lastDay(book).addDays(-3);
    for (auto _ : state) book.ShowDay();
}

// A change of day: the edited day is written back, the next one shown.
void changeDay(benchmark::State& state, int daysFromEnd) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    const LedgerDate base =
        daysFromEnd >= 0 ? lastDay(book).addDays(-daysFromEnd) : *LedgerDate::parse("2000/01/05");
    book.pickedDay = base;
    book.ShowDay();
    bool forward = true;
    for (auto _ : state) {
        book.dayViewChanged = true;
        book.table.setCell(3, 1, forward ? "1234" : "4321");
        book.goToDay(base.addDays(forward ? 1 : 0));
        forward = !forward;
    }
}
void BM_ChangeLateDay(benchmark::State& state) {
    changeDay(state, 3);
}
void BM_ChangeEarlyDay(benchmark::State& state) {
    changeDay(state, -1);
}

// The same day change done by scanning from the first record, splitting every line.
void BM_ChangeLateDayByScanFromFirstRecord(benchmark::State& state) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    const LedgerDate day = lastDay(book).addDays(-3);
    for (auto _ : state) {
        // Write-back and show each scan up to the day.
        benchmark::DoNotOptimize(orvo::bench::scanFromFirstRecord(book.records, day));
        benchmark::DoNotOptimize(orvo::bench::scanFromFirstRecord(book.records, day.addDays(1)));
    }
}

void BM_Save(benchmark::State& state) {
    LedgerBook book;
    const auto n = static_cast<std::size_t>(state.range(0));
    load(book, n);
    book.dataFileName = (fs::temp_directory_path() / "orvo-bench-save.dat").string();
    for (auto _ : state) book.SaveLedger();
    setRecordCounters(state, n);
    fs::remove(book.dataFileName);
}

#define SIZES ->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Load) SIZES->Iterations(3);
BENCHMARK(BM_ShowLateDay) SIZES;
BENCHMARK(BM_ChangeLateDay) SIZES;
BENCHMARK(BM_ChangeEarlyDay) SIZES;
BENCHMARK(BM_ChangeLateDayByScanFromFirstRecord) SIZES;
BENCHMARK(BM_Save) SIZES->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
