// TForm1: the print preview of the ledger and the account-totals report, both
// shown in a preview window made for the occasion.

#include <QComboBox>
#include <QDate>

#include "forms/main/Unit1.h"
#include "forms/print/Unit3.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "print/TitleTotals.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// "yyyy/mm/dd", the program's date format.
std::string todayText() {
    return platform::toCp932(QDate::currentDate().toString(u"yyyy/MM/dd"_s)).bytes;
}

}  // namespace

void TForm1::PrintPreview1Click() {
    if (!printDialog_) return;
    Recalculate();
    TForm3 preview(book, *printDialog_, todayText(), this);
    preview.showLedgerPreview();
    preview.exec();
}

void TForm1::mnuKanjoKeiPrintClick() {
    if (book.records().empty() || !printDialog_) return;
    // The records as they stand: the day view's pending edits are not written back.
    const std::string today = todayText();
    const QString year = platform::dialogs().inputBox(
        u"集計年度を指定"_s, u"西暦年度４けたで集計年度を指定してください"_s,
        platform::fromCp932(print::defaultReportYear(today)));
    if (year.isEmpty()) return;
    std::vector<std::string> titles;
    for (int i = 0; i < ComboBox1->count(); ++i)
        titles.push_back(platform::toCp932(ComboBox1->itemText(i)).bytes);
    print::TitleTotals totals =
        print::GatherTitleTotals(book.records(), titles, platform::toCp932(year).bytes);
    TForm3 preview(book, *printDialog_, today, this);
    preview.showReport(std::move(totals));
    preview.exec();
}

}  // namespace orvo::forms
