// The print preview and the print run in the print fonts, timed on a generated
// ledger (1M records unless given): "次ﾍﾟｰｼﾞ" in the preview, a print run of
// pages 20,000 to 20,001, and 1,000 pages as a PDF file. Prints the figures.
//   print_window_bench [RECORDS]

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/LedgerGenerator.h"
#include "forms/print/PrintDialog.h"
#include "forms/print/Unit3.h"
#include "ledger/LedgerBook.h"
#include "paper/PaperDocument.h"
#include "paper/PrintFontMetrics.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "print/LedgerPages.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class BenchPrintDialog : public orvo::forms::PrintDialog {
public:
    bool showAsPrintDialog(const std::string&) override { return true; }
    orvo::PageSettings pageSettings() const override { return page; }
    std::vector<std::string> printWidthRows() const override {
        return {"233", "233", "233", "233", "233"};
    }
    orvo::paper::PaperTarget paperTarget() const override {
        return orvo::paper::PaperTarget::PdfFile;
    }
    orvo::PageSettings page;
};

double msSince(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    orvo::platform::installFontSubstitutions();
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;

    orvo::LedgerBook book;
    book.startNewLedger();
    orvo::bench::GeneratorOptions options;
    options.records = records;
    book.addRecords(orvo::bench::generateRecords(options));
    book.setDataFileName("/tmp/bench.dat");
    std::printf("ledger: %zu records\n", book.records().size());

    QTemporaryDir dir;
    orvo::testing::ScriptedDialogs dialogs;
    BenchPrintDialog printDialog;

    // The preview: opening on page 1, then "次ﾍﾟｰｼﾞ" 200 times.
    {
        QElapsedTimer t;
        t.start();
        orvo::forms::TForm3 preview(book, printDialog, "2026/12/08");
        preview.show();
        preview.showLedgerPreview();
        QApplication::processEvents();
        std::printf("preview opened on page 1: %.1f ms\n", msSince(t));
        auto* next = preview.findChild<QPushButton*>(u"Button3"_s);
        double worst = 0;
        double total = 0;
        constexpr int kClicks = 200;
        for (int i = 0; i < kClicks; ++i) {
            QElapsedTimer click;
            click.start();
            QTest::mouseClick(next, Qt::LeftButton);
            QApplication::processEvents();
            const double ms = msSince(click);
            worst = std::max(worst, ms);
            total += ms;
        }
        std::printf("次ﾍﾟｰｼﾞ: %.1f ms on average, %.1f ms at most (%d clicks)\n", total / kClicks,
                    worst, kClicks);

        // The print run of pages 20,000 to 20,001 to a PDF file, from "印刷".
        printDialog.page.selection = orvo::PageSelection::PageRange;
        printDialog.page.firstPage = "20000";
        printDialog.page.lastPage = "20001";
        dialogs.answerFile(dir.filePath(u"range.pdf"_s));
        QElapsedTimer run;
        run.start();
        QTest::mouseClick(preview.findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
        std::printf("print run of pages 20,000-20,001: %.2f s (%s)\n", msSince(run) / 1000,
                    qPrintable(dialogs.last().text));
    }

    // 1,000 pages as a PDF file.
    {
        orvo::paper::PrintFontMetrics metrics;
        orvo::print::PrintSettings s;
        s.printWidths = {233, 233, 233, 233, 233};
        s.today = "2026/12/08";
        s.lastPage = 1000;
        QElapsedTimer t;
        t.start();
        orvo::paper::PaperDocument paper(
            {orvo::paper::PaperTarget::PdfFile, dir.filePath(u"thousand.pdf"_s),
             orvo::print::PageOrientation::Portrait, u"bench"_s},
            metrics);
        const int pages = orvo::print::PrintLedgerRun(
            book.records(), s, metrics, [&](const orvo::print::Page& p) { paper.addPage(p); });
        paper.finish();
        std::printf("PDF of %d pages: %.2f s\n", pages, msSince(t) / 1000);
    }
    return 0;
}
