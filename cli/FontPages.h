#pragma once
// Pages in the print fonts' own metrics and as a PDF file. They need Qt (the
// offscreen platform, so no display), which the Qt build keeps in a module of
// its own, loaded only by the commands that ask for them: every other command
// starts without Qt.

#include <memory>
#include <string>

#include "print/PageOps.h"
#include "print/PrintSettings.h"
#include "print/TextMeasurer.h"

namespace orvo::cli {

class FontPages {
public:
    virtual ~FontPages() = default;
    virtual const print::TextMeasurer& measurer() const = 0;
    // Begins the PDF file `path` (native); the file is replaced only by finishPdf().
    virtual void beginPdf(const std::string& path, print::PageOrientation orientation,
                          const std::string& cp932DataFileName) = 0;
    virtual void addPage(const print::Page& page) = 0;
    virtual void finishPdf() = 0;
};

// Whether this build has them; makeFontPages() gives nothing when not. In the
// Qt build it loads the module, and throws OrvoError when it cannot.
bool fontPagesBuilt();
std::unique_ptr<FontPages> makeFontPages();

// What the module exports: a new FontPages, the caller's to delete.
inline constexpr const char* kMakeFontPagesSymbol = "orvoMakeFontPages";
using MakeFontPagesFunction = FontPages* (*)();

}  // namespace orvo::cli
