// The statement import at the sizes of its goals: the preview of a 10,000-row
// statement (goal under 0.3 s) and the whole import of it into a ledger of
// 1,000,000 records (goal under 1 s), with a tenth of the rows already in the
// ledger so that the duplicate check finds them.
//   statement_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/LedgerGenerator.h"
#include "ledger/LedgerBook.h"
#include "ledger/RecordLine.h"
#include "statement/StatementImport.h"

namespace {

using namespace orvo;
using namespace orvo::statement;

constexpr std::size_t kLedgerRecords = 1'000'000;
constexpr std::size_t kStatementRows = 10'000;

const std::vector<std::string>& ledgerLines() {
    static const std::vector<std::string> lines = [] {
        bench::GeneratorOptions o;
        o.records = kLedgerRecords;
        return bench::generateRecords(o);
    }();
    return lines;
}

// A bank statement (CP932, "年月日,お引出し,..." layout) whose running
// balance agrees: every tenth row copies a ledger record of the last days.
const std::string& statementBytes() {
    static const std::string bytes = [] {
        std::string text = "年月日,お引出し,お預入れ,お取り扱い内容,残高\r\n";
        const std::vector<std::string>& lines = ledgerLines();
        const char* shops[] = {"ｾﾌﾞﾝｲﾚﾌﾞﾝ", "スーパーテスト", "ＡＢＣマート",   "ガソリンスタンド",
                               "ｺｰﾋｰｼｮｯﾌﾟ", "書店",           "ドラッグストア", "電気料金"};
        long long balance = 100'000'000;
        std::vector<std::string> fields;
        for (std::size_t i = 0; i < kStatementRows; ++i) {
            splitRecordInto(lines[lines.size() - kStatementRows + i], fields);
            std::string description = fields.size() > 5 ? fields[5] : std::string();
            int expense = 100 + static_cast<int>(i % 50) * 37;
            if (i % 10 == 0 && fields.size() > 3) {
                expense = std::stoi(fields[3].empty() ? "0" : fields[3]);
            } else {
                description = std::string(shops[i % 8]) + " " + std::to_string(i % 97);
            }
            balance -= expense;
            text += fields[0] + "," + std::to_string(expense) + ",,\"" + description + "\"," +
                    std::to_string(balance) + "\r\n";
        }
        return text;
    }();
    return bytes;
}

void BM_PreviewTenThousandRows(benchmark::State& state) {
    LedgerRecords records;
    records.addAll(ledgerLines());
    const std::vector<StatementLayout> layouts = builtInLayouts();
    std::size_t duplicates = 0;
    for (auto _ : state) {
        const ReadStatement read = readStatement(statementBytes(), layouts);
        const std::vector<PreviewRow> rows = preview(read, records, {});
        duplicates = countRows(rows).duplicates;
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["duplicates"] = static_cast<double>(duplicates);
}

void BM_ImportIntoMillionRecords(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        LedgerBook book;
        book.startNewLedger();
        book.addRecords(ledgerLines());
        state.ResumeTiming();
        const ReadStatement read = readStatement(statementBytes(), builtInLayouts());
        const std::vector<PreviewRow> rows = preview(read, book.records(), {});
        state.counters["added"] = static_cast<double>(addTickedRows(book, rows));
    }
}

}  // namespace

BENCHMARK(BM_PreviewTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportIntoMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
