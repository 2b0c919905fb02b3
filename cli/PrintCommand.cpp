// orvokakei-cli print LEDGER.dat (--pdf OUT.pdf | --trace) [--metrics fixed]
//   [--font-size N] [--landscape] [--pages A-B] [--widths W1,...] [--today yyyy/mm/dd]
// The pages a print run sends to the printer, with the settings window at its
// start-up defaults. Widths from --widths, else "Prin.ini" beside this
// executable, else the settings window's default.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/PrintCliSupport.h"
#include "print/LedgerPages.h"
#include "print/PageRange.h"
#include "print/PrintWidths.h"
#include "print/TextMeasurer.h"
#include "settings/PrintWidths.h"

namespace orvo::cli {

namespace {

constexpr const char* kUsage =
    "LEDGER.dat (--pdf OUT.pdf | --trace) [--metrics fixed] [--font-size N] [--landscape] "
    "[--pages A-B] [--widths W1,W2,W3,W4,W5] [--today yyyy/mm/dd]";

// "Prin.ini" beside the running executable, read as the settings window reads
// it (short files padded with the default widths); the defaults without one.
std::vector<std::string> printSettingsFileRows(int columnCount) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return DefaultPrintWidths(columnCount);
    return ReadPrintWidths((exe.parent_path() / printWidthsFileName()).string(), columnCount);
}

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

int runPrint(const std::vector<std::string>& args) {
    if (args.empty()) return usageOf("print");
    PageOptions options;
    bool landscape = false;
    int fontPoints = 11;
    std::optional<std::string> pages;
    std::optional<std::string> widths;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const int shared = options.parse(args, i);
        if (shared > 0) return shared;
        if (shared == 0) continue;
        if (args[i] == "--landscape") {
            landscape = true;
        } else if (args[i] == "--font-size") {
            auto value = optionValue(args, i);
            if (!value) return kExitUsage;
            fontPoints = std::atoi(value->c_str());
            if (fontPoints < 8 || fontPoints > 30 || std::to_string(fontPoints) != *value) {
                std::fprintf(stderr, "font size '%s' is none of 8 to 30.\n", value->c_str());
                return kExitUsage;
            }
        } else if (args[i] == "--pages") {
            if (!(pages = optionValue(args, i))) return kExitUsage;
            if (pages->find('-', 1) == std::string::npos) {
                std::fprintf(stderr, "--pages takes A-B.\n");
                return kExitUsage;
            }
        } else if (args[i] == "--widths") {
            if (!(widths = optionValue(args, i))) return kExitUsage;
        } else {
            return usageOf("print");
        }
    }
    if (options.target == PageTarget::Text) return usageOf("print");
    if (!options.pagesAvailable()) return kExitUsage;

    std::optional<OrvoError> loadFault;
    const LedgerBook book = loadedBook(args[0], loadFault);
    print::PrintSettings settings = startupSettings(book, todayText(options.today));
    settings.orientation =
        landscape ? print::PageOrientation::Landscape : print::PageOrientation::Portrait;
    settings.fontPoints = fontPoints;
    if (pages) {
        const std::size_t dash = pages->find('-', 1);
        const print::PageRange range =
            print::parsePageRange(pages->substr(0, dash), pages->substr(dash + 1));
        settings.firstPage = range.first;
        settings.lastPage = range.last;
    }
    settings.printWidths = print::printWidthsFromRows(
        widths ? splitAtCommas(*widths) : printSettingsFileRows(book.table().columnCount()));

    std::unique_ptr<FontPages> fontPages;
    const print::TextMeasurer& measurer = pageMeasurer(options, fontPages);
    if (options.target == PageTarget::Pdf) {
        fontPages->beginPdf(options.pdfPath, settings.orientation, settings.dataFileName);
        print::PrintLedgerRun(book.records(), settings, measurer,
                              [&](const print::Page& page) { fontPages->addPage(page); });
        fontPages->finishPdf();
    } else {
        print::PrintLedgerRun(book.records(), settings, measurer, printTrace);
    }
    std::fflush(stdout);
    if (loadFault) throw *loadFault;
    return kExitOk;
}

const RegisterCommand registered({"print", kUsage, &runPrint});

}  // namespace

}  // namespace orvo::cli
