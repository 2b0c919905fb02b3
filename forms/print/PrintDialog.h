#pragma once
// What the preview needs from the settings window: shown as the print dialog
// (confirm caption "印刷実行"), whether it was confirmed, its page settings and
// print widths, and where the print goes.

#include <QString>
#include <string>
#include <vector>

#include "paper/PaperDocument.h"
#include "settings/PageSettings.h"

namespace orvo::forms {

class PrintDialog {
public:
    virtual ~PrintDialog() = default;

    // Shows the window modally with the confirm caption "印刷実行", on its
    // print tab with the preview's font size `fontSize` (CP932); true when it
    // was closed with that button.
    virtual bool showAsPrintDialog(const std::string& fontSize) = 0;
    // The page settings as the window's controls hold them now.
    virtual PageSettings pageSettings() const = 0;
    // The print widths list's rows (CP932), columns 1, 2, ...
    virtual std::vector<std::string> printWidthRows() const = 0;
    // The printer, or a PDF file the user picks at the run.
    virtual paper::PaperTarget paperTarget() const = 0;
};

}  // namespace orvo::forms
