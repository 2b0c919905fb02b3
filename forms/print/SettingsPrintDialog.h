#pragma once
// The settings window `TForm2` as the preview's print dialog.

#include "forms/print/PrintDialog.h"

namespace orvo::forms {

class TForm2;

class SettingsPrintDialog final : public PrintDialog {
public:
    explicit SettingsPrintDialog(TForm2& window) : window_(window) {}

    bool showAsPrintDialog(const std::string& fontSize) override;
    PageSettings pageSettings() const override;
    std::vector<std::string> printWidthRows() const override;
    paper::PaperTarget paperTarget() const override;

private:
    TForm2& window_;
};

}  // namespace orvo::forms
