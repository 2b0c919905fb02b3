// TForm1: "明細の取り込み..." of the File menu.

#include <algorithm>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/Unit1.h"
#include "forms/statement/StatementImportWindow.h"
#include "platform/Text.h"
#include "settings/TitleForest.h"
#include "statement/StatementImport.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

using platform::dialogs;
using platform::MessageKind;

namespace {

// Rows titled "未分類" need that title in the level-1 list to be picked again;
// the user is asked before the title files change. True when they did.
bool offerUnclassifiedTitle(const std::vector<statement::PreviewRow>& rows, TitleLists& lists) {
    const std::string unclassified = statement::unclassifiedTitle();
    const bool used = std::any_of(rows.begin(), rows.end(), [&](const statement::PreviewRow& r) {
        return r.ticked && r.title1 == unclassified;
    });
    if (!used ||
        std::find(lists.level1.begin(), lists.level1.end(), unclassified) != lists.level1.end())
        return false;
    if (dialogs().message(MessageKind::Confirmation, u"勘定科目1に「未分類」を追加しますか"_s,
                          platform::Yes | platform::No) != platform::Yes)
        return false;
    TitleForest forest;
    LoadTitleTree(forest);
    forest.addLastChild(kNoTitle, unclassified);
    SaveTitleTree(forest);
    return true;
}

}  // namespace

void TForm1::StatementImportClick() {
    platform::FileDialogRequest request = OpenDialog1;
    request.filter = u"明細ﾌｧｲﾙ(*.csv;*.tsv;*.txt)|*.csv;*.tsv;*.txt|すべてのﾌｧｲﾙ(*.*)|*.*"_s;
    request.defaultSuffix = u"csv"_s;
    request.fileName = statementFileName_;
    const std::optional<QString> chosen = dialogs().openFile(request);
    if (!chosen) return;
    statementFileName_ = *chosen;
    cellDelegate->commitOpenEditor();
    Recalculate();  // the day view's edits belong to the ledger the statement is checked against

    std::string bytes = statement::readWholeFile(platform::toNativePath(*chosen));
    StatementImportWindow window(std::move(bytes), book.records(), titleLists,
                                 statement::rulesFilePath(), statement::userLayoutFolder(), this);
    if (window.exec() != QDialog::Accepted) return;

    const bool titlesChanged = offerUnclassifiedTitle(window.rows(), titleLists);
    // The one change of the ledger: every ticked row at once.
    const std::size_t added = statement::addTickedRows(book, window.rows());
    if (titlesChanged) LoadTitleLists();
    refreshFromBook();
    dialogs().message(MessageKind::Information,
                      platform::fromCp932(statement::importedMessage(added)), platform::Ok);
}

}  // namespace orvo::forms
