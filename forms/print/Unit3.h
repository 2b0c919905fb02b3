#pragma once
// The print preview `TForm3` ("印刷ﾌﾟﾚﾋﾞｭｰ"): one page of the ledger at a time,
// scaled into `Image1`, "次ﾍﾟｰｼﾞ" walking on (back to page 1 after the last),
// and "印刷" running the print through the settings window as print dialog. In
// report mode it shows the account-totals pages ("次ﾍﾟｰｼﾞ" when there is more
// than one), and "合計印刷" prints them.
// Created for each preview and destroyed when it closes.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "forms/print/PrintDialog.h"
#include "ledger/LedgerBook.h"
#include "paper/PrintFontMetrics.h"
#include "print/LedgerPages.h"
#include "print/TitleTotals.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace orvo::forms {

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // Takes the print widths from `dialog` (a width that is no whole number
    // throws "'%s' は整数ではありません" and no window is made). `book` and
    // `dialog` outlive the window; `today` is "yyyy/mm/dd".
    TForm3(const LedgerBook& book, PrintDialog& dialog, std::string today,
           QWidget* parent = nullptr);
    ~TForm3() override;

    // The ledger preview: page 1.
    void showLedgerPreview();
    // Report mode: "合計印刷" over "印刷", the report's first page; "次ﾍﾟｰｼﾞ"
    // only when the report has more than one.
    void showReport(print::TitleTotals totals);

    // The page last drawn into the preview, for tests.
    const print::Page& shownPage() const { return shown_; }

private:
    void FormCreate();
    void buildWindow();
    // Runs a handler; what it throws goes to the central error display.
    void runShowingErrors(void (TForm3::*handler)());
    void Button1Click();           // "印刷"
    void Button3Click();           // "次ﾍﾟｰｼﾞ"
    void ComboBox1Select();        // "文字ｻｲｽﾞ"
    void BtnKanjoKeiPrintClick();  // "合計印刷"

    // The settings as the print dialog holds them now, the font size ours.
    print::PrintSettings currentSettings() const;
    void RenderLedgerPage();
    // Lays the report out again (the font size may have changed) and shows its page `index`.
    void RenderTotalsReport(std::size_t index);
    void showPage(print::Page page, print::PageOrientation orientation);
    // The paper document the print dialog's choice asks for; nothing when the
    // user cancelled the choice of a PDF file.
    std::optional<paper::PaperRequest> paperRequest(print::PageOrientation orientation);

    const LedgerBook& book_;
    PrintDialog& dialog_;
    std::string today_;
    paper::PrintFontMetrics metrics_;

    std::vector<int> printWidths;
    print::LedgerRenderState state;
    std::optional<print::TitleTotals> report_;
    std::size_t reportPage_ = 0;  // the report page shown, from 0
    print::Page shown_;

    QPushButton* Button1 = nullptr;           // "印刷"
    QPushButton* Button2 = nullptr;           // "閉じる"
    QPushButton* Button3 = nullptr;           // "次ﾍﾟｰｼﾞ"
    QPushButton* BtnKanjoKeiPrint = nullptr;  // "合計印刷"
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label1 = nullptr;  // the page label
    QLabel* Label2 = nullptr;  // "文字ｻｲｽﾞ"
    QLabel* Image1 = nullptr;
};

}  // namespace orvo::forms
