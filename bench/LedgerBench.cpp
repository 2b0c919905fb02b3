// Load (with the records as the program saves them and shuffled inside each
// day, at 10k to 4M records), day change (write-back and show), the write-back
// of a day of 1,000 rows, save, and the scan from the first record that a day
// change would cost without bisection.

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

using orvo::bench::RecordOrder;

// /tmp/orvo-bench-N.dat, or -N-shuffled.dat with each day's records shuffled
// (-reversed, -random).
const fs::path& ledgerFile(std::size_t records, RecordOrder order = RecordOrder::Saved) {
    static std::map<std::pair<std::size_t, RecordOrder>, fs::path> files;
    auto& p = files[{records, order}];
    if (p.empty()) {
        const char* suffix = order == RecordOrder::ShuffledWithinDays ? "-shuffled"
                             : order == RecordOrder::Reversed         ? "-reversed"
                             : order == RecordOrder::Random           ? "-random"
                                                                      : "";
        p = fs::temp_directory_path() / ("orvo-bench-" + std::to_string(records) + suffix + ".dat");
        if (!fs::exists(p)) {
            orvo::bench::GeneratorOptions o;
            o.records = records;
            o.order = order;
            orvo::writeFileAtomically(p.string(), orvo::bench::generateLedgerFile(o));
        }
    }
    return p;
}

void load(LedgerBook& book, std::size_t records, RecordOrder order = RecordOrder::Saved) {
    book.openDataFile(ledgerFile(records, order).string());
}

LedgerDate lastDay(const LedgerBook& book) {
    return *LedgerDate::parse(book.records()[book.records().size() - 1].substr(0, 10));
}

void setRecordCounters(benchmark::State& state, std::size_t records) {
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
}

// range(1): 0 as saved, 1 shuffled inside each day, 2 reversed, 3 at random.
void BM_Load(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto order = static_cast<RecordOrder>(state.range(1));
    ledgerFile(n, order);
    for (auto _ : state) {
        LedgerBook book;
        load(book, n, order);
        benchmark::DoNotOptimize(book.records().size());
    }
    setRecordCounters(state, n);
    const double fileMB = static_cast<double>(fs::file_size(ledgerFile(n, order))) / 1e6;
    state.counters["file_MB"] = fileMB;
    // The process's peak so far, which only grows (bench/load-peak-memory
    // measures one load alone).
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_RSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}

void BM_ShowLateDay(benchmark::State& state) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    book.setPickedDay(lastDay(book).addDays(-3));
    for (auto _ : state) book.ShowDay();
}

// A change of day: the edited day is written back, the next one shown.
void changeDay(benchmark::State& state, int daysFromEnd) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    const LedgerDate base =
        daysFromEnd >= 0 ? lastDay(book).addDays(-daysFromEnd) : *LedgerDate::parse("2000/01/05");
    book.setPickedDay(base);
    book.ShowDay();
    bool forward = true;
    for (auto _ : state) {
        book.markDayViewChanged();
        book.editCell(3, 1, forward ? "1234" : "4321");
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
        benchmark::DoNotOptimize(orvo::bench::scanFromFirstRecord(book.records(), day));
        benchmark::DoNotOptimize(orvo::bench::scanFromFirstRecord(book.records(), day.addDays(1)));
    }
}

// The write-back of a day of 1,000 rows late in the ledger: the day's old
// records removed, the rows stored.
void BM_WriteBackThousandRows(benchmark::State& state) {
    LedgerBook book;
    load(book, static_cast<std::size_t>(state.range(0)));
    book.setPickedDay(lastDay(book).addDays(-3));
    book.ShowDay();
    book.changeDayView(orvo::StepKind::AppendRow,
                       [](orvo::LedgerTable& t) { t.setRowCount(1001); });
    for (int r = 1; r <= 1000; ++r) {
        book.editCell(1, r, r % 2 ? "食費" : "日用品");
        book.editCell(2, r, "食料品");
        book.editCell(3, r, std::to_string(r * 10));
        book.editCell(4, r, "0");
        book.editCell(5, r, "スーパーで食材 " + std::to_string(r));
    }
    for (auto _ : state) {
        book.markDayViewChanged();
        book.Recalculate();
    }
}

void BM_Save(benchmark::State& state) {
    LedgerBook book;
    const auto n = static_cast<std::size_t>(state.range(0));
    load(book, n);
    book.setDataFileName((fs::temp_directory_path() / "orvo-bench-save.dat").string());
    for (auto _ : state) book.SaveLedger();
    setRecordCounters(state, n);
    fs::remove(book.dataFileName());
}

#define SIZES ->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Load)
    ->ArgsProduct({{10'000, 100'000, 1'000'000, 4'000'000}, {0, 1}})
    ->Args({1'000'000, 2})
    ->Args({1'000'000, 3})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(BM_ShowLateDay) SIZES;
BENCHMARK(BM_ChangeLateDay) SIZES;
BENCHMARK(BM_ChangeEarlyDay) SIZES;
BENCHMARK(BM_WriteBackThousandRows)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeLateDayByScanFromFirstRecord) SIZES;
BENCHMARK(BM_Save) SIZES->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
