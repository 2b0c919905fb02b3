// The Qt build: the print fonts' metrics and PDF output through the window
// layer's paper code, on the offscreen platform.

#include <QGuiApplication>
#include <memory>

#include "cli/PrintCliSupport.h"
#include "forms/print/PaperDocument.h"
#include "forms/print/PrintFontMetrics.h"
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
        forms::PaperRequest request;
        request.target = forms::PaperTarget::PdfFile;
        request.pdfPath = platform::fromNativePath(path);
        request.orientation = orientation;
        request.title = platform::fromCp932(print::titleBaseName(cp932DataFileName));
        paper_ = std::make_unique<forms::PaperDocument>(request, metrics_);
    }
    void addPage(const print::Page& page) override { paper_->addPage(page); }
    void finishPdf() override { paper_->finish(); }

private:
    forms::PrintFontMetrics metrics_;
    std::unique_ptr<forms::PaperDocument> paper_;
};

}  // namespace

bool fontPagesBuilt() {
    return true;
}

std::unique_ptr<FontPages> makeFontPages() {
    return std::make_unique<QtFontPages>();
}

}  // namespace orvo::cli
