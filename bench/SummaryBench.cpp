// The year's table by title and month (goal: under 100 ms on 1,000,000
// records): a ledger spread over many years, and one whose million records
// all fall in the year asked for.

#include <benchmark/benchmark.h>

#include <map>

#include "bench/LedgerGenerator.h"
#include "ledger/LedgerRecords.h"
#include "summary/YearSummary.h"

namespace {

using namespace orvo;

// The generator's titles, the last two left out of the list so that some
// records count under titles the list lacks.
const TitleLists kTitles{{"食費", "日用品", "交通費", "水道光熱費", "通信費", "住居費", "給与"},
                         {{"外食", 0}, {"食料品", 0}, {"電車・バス", 2}}};

const LedgerRecords& ledger(int perDay) {
    static std::map<int, LedgerRecords> ledgers;
    LedgerRecords& r = ledgers[perDay];
    if (r.empty()) {
        bench::GeneratorOptions o;
        o.records = 1'000'000;
        o.firstDay = {2026, 1, 1};
        o.minPerDay = perDay;
        o.maxPerDay = perDay;
        r.addAll(bench::generateRecords(o));
    }
    return r;
}

// Arg: records a day. 20 a day spread the million over 137 years; 2,740 a
// day put them all in 2026.
void BM_SummarizeYear(benchmark::State& state) {
    const LedgerRecords& records = ledger(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(summary::SummarizeYear(records, kTitles, 2026).expense[0]);
}
BENCHMARK(BM_SummarizeYear)->Arg(20)->Arg(2740)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
