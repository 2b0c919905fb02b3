// The window "家計の推移" on a large ledger (1M records unless given, 20 a
// day from 2000): opened from the Tools menu and painted (goal < 0.5 s), and
// the year changed with "▶" up to the end of its repaint (goal < 100 ms).
// Runs on Qt's offscreen platform unless another is set.
//   summary_window_bench [RECORDS] [STEPS]

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"
#include "bench/WindowOnGeneratedLedger.h"
#include "forms/main/Unit1.h"
#include "forms/summary/SummaryWindow.h"
#include "platform/Fonts.h"
#include "platform/ProgramFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orvo::platform::installFontSubstitutions();
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;

    QTemporaryDir dir;
    const QString record = orvo::bench::writeGeneratedLedgerFolder(dir, records);
    orvo::forms::TForm1 window(orvo::forms::StartOptions{{2040, 1, 1}, record});
    window.show();
    settle();
    std::printf("ledger: %zu records\n", window.ledger().records().size());

    // Wall time, and the process's CPU time, which a machine busy with other
    // work does not stretch.
    QElapsedTimer t;
    t.start();
    std::clock_t cpu = std::clock();
    window.findChild<QAction*>(u"mnuSuii"_s)->trigger();
    auto* summary = window.findChild<orvo::forms::SummaryWindow*>(u"SummaryWindow"_s);
    summary->repaint();
    settle();
    std::printf("opened and painted: %.1f ms (CPU %.1f ms)\n",
                static_cast<double>(t.nsecsElapsed()) / 1e6,
                1e3 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);

    auto* next = summary->findChild<QPushButton*>(u"NextYear"_s);
    std::vector<double> ms;
    cpu = std::clock();
    for (int i = 0; i < steps; ++i) {
        t.restart();
        QTest::mouseClick(next, Qt::LeftButton);
        summary->repaint();
        settle();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("\"▶\" clicked: median %.1f ms, max %.1f ms over %d steps (CPU %.1f ms a step)\n",
                ms[ms.size() / 2], ms.back(), steps,
                1e3 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC / steps);
    return 0;
}
