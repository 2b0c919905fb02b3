#include "forms/print/SettingsPrintDialog.h"

#include "forms/settings/Unit2.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

bool SettingsPrintDialog::showAsPrintDialog(const std::string& fontSize) {
    window_.setConfirmCaption(u"印刷実行"_s);
    window_.showPrintTab(fontSize);
    return window_.showModally();
}

PageSettings SettingsPrintDialog::pageSettings() const {
    return window_.pageSettings();
}

std::vector<std::string> SettingsPrintDialog::printWidthRows() const {
    return window_.printWidths();
}

paper::PaperTarget SettingsPrintDialog::paperTarget() const {
    return window_.printsToPdf() ? paper::PaperTarget::PdfFile : paper::PaperTarget::Printer;
}

}  // namespace orvo::forms
