// TForm1: the CSV commands of the File menu and the search window's entry.

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/OperationProgress.h"
#include "forms/main/Unit1.h"
#include "ledger/CsvExport.h"
#include "ledger/CsvImport.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

using platform::dialogs;
using platform::MessageKind;

std::optional<QString> TForm1::askCsvFileName(const QString& filter, FileDialogPurpose purpose) {
    platform::FileDialogRequest csvSetUp = OpenDialog1;
    csvSetUp.acceptLabel = acceptLabelFor(purpose);
    csvSetUp.title = titleFor(purpose);
    csvSetUp.defaultSuffix = u"csv"_s;
    csvSetUp.filter = filter;
    csvSetUp.fileName = csvFileName_;
    std::optional<QString> chosen = dialogs().openFile(csvSetUp);
    if (chosen) csvFileName_ = *chosen;
    return chosen;
}

void TForm1::CSV1Click() {
    if (!askToSaveFirst()) return;
    const std::optional<QString> chosen = askCsvFileName(
        u"CSVﾌｧｲﾙ(*.csv)|*.csv;*.txt|すべてのﾌｧｲﾙ(*.*)|*.*"_s, FileDialogPurpose::Open);
    if (!chosen) return;
    cellDelegate->commitOpenEditor();

    OperationProgress progress(this, u"CSVﾌｧｲﾙを読み込んでいます"_s);
    CsvImportHooks hooks;
    hooks.firstLineHoldsTitles = [] {
        return dialogs().message(MessageKind::Confirmation, platform::fromCp932(csvTitleQuestion()),
                                 platform::Yes | platform::No) == platform::Yes;
    };
    hooks.progress = progress.callback();
    // A file that cannot be read leaves the ledger as it was (the error box follows).
    const CsvImportResult result = importCsv(book, platform::toNativePath(*chosen), hooks);
    if (result.cancelled) return;

    // The ledger now has no file; what was added shows before any message.
    showCreditCaption();
    setEditMode(true);
    refreshFromBook();
    if (result.fault) dialogs().showError(*result.fault);
    if (result.emptyTitleRecords > 0)
        dialogs().message(MessageKind::Information, platform::fromCp932(emptyTitleNotice(result)),
                          platform::Ok);
    if (result.badAmountRecords > 0)
        dialogs().message(MessageKind::Information, platform::fromCp932(badAmountNotice(result)),
                          platform::Ok);
}

void TForm1::CSV2Click() {
    dialogs().message(MessageKind::Confirmation, u"CSVﾌｧｲﾙ名を指定してください"_s, platform::Ok);
    const std::optional<QString> chosen =
        askCsvFileName(u"CSVﾌｧｲﾙ(*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*"_s, FileDialogPurpose::Save);
    if (!chosen) return;
    cellDelegate->commitOpenEditor();

    OperationProgress progress(this, u"CSVﾌｧｲﾙに書き込んでいます"_s);
    try {
        exportCsv(book, platform::toNativePath(*chosen), progress.callback());
    } catch (...) {
        refreshFromBook();
        throw;
    }
    refreshFromBook();
}

// "検索･置換": the search works on the ledger with the day view's latest edits.
void TForm1::Find1Click() {
    Recalculate();
    if (searchWindow_) showCompanion(searchWindow_);
}

void TForm1::setSearchWindow(QWidget* searchWindow) {
    searchWindow_ = searchWindow;
}

void TForm1::showLedger() {
    setPickedDay(book.pickedDay());
    refreshFromBook();
}

}  // namespace orvo::forms
