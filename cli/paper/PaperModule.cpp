// The module orvokakei-cli loads for the print fonts' metrics and PDF output:
// the paper library on Qt's offscreen platform. Nothing else of the program's
// commands needs Qt.

#include <QGuiApplication>
#include <memory>
#include <type_traits>

#include "cli/FontPages.h"
#include "paper/PaperDocument.h"
#include "paper/PrintFontMetrics.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "print/PageGeometry.h"

namespace orvo::cli {

namespace {

// The application object fonts and PDF writing need, made once; no display.
void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    static int argc = 3;
    static char name[] = "orvokakei-cli";
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {name, platformOption, offscreen, nullptr};
    static QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
}

class QtFontPages final : public FontPages {
public:
    QtFontPages() { ensureGuiApplication(); }

    const print::TextMeasurer& measurer() const override { return metrics_; }

    void beginPdf(const std::string& path, print::PageOrientation orientation,
                  const std::string& cp932DataFileName) override {
        paper::PaperRequest request;
        request.target = paper::PaperTarget::PdfFile;
        request.pdfPath = platform::fromNativePath(path);
        request.orientation = orientation;
        request.title = platform::fromCp932(print::titleBaseName(cp932DataFileName));
        paper_ = std::make_unique<paper::PaperDocument>(request, metrics_);
    }
    void addPage(const print::Page& page) override { paper_->addPage(page); }
    void finishPdf() override { paper_->finish(); }

private:
    paper::PrintFontMetrics metrics_;
    std::unique_ptr<paper::PaperDocument> paper_;
};

}  // namespace

}  // namespace orvo::cli

// Looked up by name (kMakeFontPagesSymbol), hence unmangled.
extern "C" __attribute__((visibility("default"))) orvo::cli::FontPages* orvoMakeFontPages() {
    return new orvo::cli::QtFontPages();
}

// The type the loader expects.
static_assert(std::is_same_v<decltype(&orvoMakeFontPages), orvo::cli::MakeFontPagesFunction>);
