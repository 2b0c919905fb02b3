// Laying out the ledger's pages: the whole ledger once (where each page starts),
// a page far into the ledger through that index, and a print run's last pages,
// at 10k, 100k and 1M records, with the fixed-pitch measurer.

#include <benchmark/benchmark.h>

#include <map>

#include "bench/LedgerGenerator.h"
#include "ledger/LedgerRecords.h"
#include "print/LedgerPages.h"
#include "print/TotalsReport.h"

namespace {

using namespace orvo::print;

const orvo::LedgerRecords& ledger(std::size_t records) {
    static std::map<std::size_t, orvo::LedgerRecords> ledgers;
    auto& r = ledgers[records];
    if (r.empty()) {
        orvo::bench::GeneratorOptions o;
        o.records = records;
        r.addAll(orvo::bench::generateRecords(o));
    }
    return r;
}

PrintSettings settings() {
    PrintSettings s;
    s.printWidths = {233, 233, 233, 233, 233};
    s.today = "2026/12/08";
    return s;
}

const FixedPitchMeasurer kFixed;

void BM_IndexAllPages(benchmark::State& state) {
    const auto& records = ledger(static_cast<std::size_t>(state.range(0)));
    const PrintSettings s = settings();
    for (auto _ : state) {
        LedgerPageIndex index(records, s, kFixed);
        benchmark::DoNotOptimize(index.pageCount());
    }
}
BENCHMARK(BM_IndexAllPages)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// Drawing one page once its start is known costs the same wherever it is.
void BM_DrawLastPage(benchmark::State& state) {
    const auto& records = ledger(static_cast<std::size_t>(state.range(0)));
    const PrintSettings s = settings();
    LedgerPageIndex index(records, s, kFixed);
    const LedgerRenderState last = *index.startOf(index.pageCount());
    for (auto _ : state) {
        LedgerRenderState at = last;
        benchmark::DoNotOptimize(RenderLedgerPage(records, s, kFixed, at).page.ops.size());
    }
}
BENCHMARK(BM_DrawLastPage)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// Pages 990 to 999: the 989 before are laid out without being drawn.
void BM_PrintRunLastPagesOfTheCap(benchmark::State& state) {
    const auto& records = ledger(1'000'000);
    PrintSettings s = settings();
    s.firstPage = 990;
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintLedgerRun(records, s, kFixed, [](const Page&) {}));
}
BENCHMARK(BM_PrintRunLastPagesOfTheCap)->Unit(benchmark::kMillisecond);

void BM_GatherTitleTotals(benchmark::State& state) {
    const auto& records = ledger(1'000'000);
    const std::vector<std::string> titles = {"\x90\x48\x94\xEF", "\x8C\xF0\x92\xCA\x94\xEF"};
    for (auto _ : state)
        benchmark::DoNotOptimize(GatherTitleTotals(records, titles, "2001").grandTotal);
}
BENCHMARK(BM_GatherTitleTotals)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
