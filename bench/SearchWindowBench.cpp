// The search window's result list: a search that lists every record found,
// filled and painted, at 10,000 and 1,000,000 results (the keyword "/" is in
// every record's date). Runs on Qt's offscreen platform unless another is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "bench/LedgerGenerator.h"
#include "forms/LedgerAccess.h"
#include "forms/search/Unit5.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class BookHost : public orvo::forms::LedgerAccess {
public:
    orvo::LedgerBook& ledger() override { return book; }
    void showLedger() override {}
    orvo::LedgerBook book;
};

void BM_ResultListFilledAndShown(benchmark::State& state) {
    BookHost host;
    orvo::bench::GeneratorOptions options;
    options.records = static_cast<std::size_t>(state.range(0));
    host.book.addRecords(orvo::bench::generateRecords(options));

    orvo::forms::TForm5 window(host);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QLineEdit*>(u"Edit1"_s)->setText(u"/"_s);
    auto* search = window.findChild<QPushButton*>(u"Button1"_s);
    auto* list = window.findChild<QListView*>(u"ListBox1"_s);
    for (auto _ : state) {
        search->click();
        QCoreApplication::processEvents();
        window.repaint();
    }
    state.counters["results"] = list->model()->rowCount();
}
BENCHMARK(BM_ResultListFilledAndShown)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
