// TForm1: the document commands of the File menu, the close question, the
// last-file record and help.

#include <QCloseEvent>
#include <QFileInfo>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/Unit1.h"
#include "forms/restore/BackupRestoreDialog.h"
#include "ledger/LedgerLock.h"
#include "platform/Help.h"
#include "platform/ProgramFiles.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

using platform::dialogs;
using platform::MessageKind;

QString TForm1::acceptLabelFor(FileDialogPurpose purpose) {
    return purpose == FileDialogPurpose::Save ? platform::saveAcceptLabel() : QString();
}

QString TForm1::titleFor(FileDialogPurpose purpose) {
    return purpose == FileDialogPurpose::Save ? platform::saveAcceptLabel() : u"開く"_s;
}

std::optional<QString> TForm1::askDataFileName(FileDialogPurpose purpose) {
    OpenDialog1.acceptLabel = acceptLabelFor(purpose);
    OpenDialog1.title = titleFor(purpose);
    return dialogs().openFile(OpenDialog1);
}

void TForm1::saveAsDataFile(const QString& path) {
    writeLedgerWith([&] { book.SaveLedgerAs(platform::toNativePath(path)); });
    OpenDialog1.fileName = path;
    RecordLastFile();
}

void TForm1::writeLedgerWith(const std::function<void()>& save) {
    cellDelegate->commitOpenEditor();
    book.setWindowSize(width(), height());
    try {
        save();
    } catch (...) {
        refreshFromBook();
        throw;
    }
    refreshFromBook();
    // The ledger is saved; the copy is reported as a save's own backup would be.
    if (const std::optional<OrvoError> failure = book.backups().takeFailure())
        dialogs().showError(*failure);
}

bool TForm1::SaveLedger() {
    if (book.dataFileName().empty() || book.readOnly()) {
        const std::optional<QString> chosen = askDataFileName(FileDialogPurpose::Save);
        if (!chosen) return false;
        saveAsDataFile(*chosen);
        return true;
    }
    if (book.fileChangedOnDisk() &&
        dialogs().message(MessageKind::Warning,
                          u"ファイル "_s + platform::fromNativePath(book.dataFileName()) +
                              u" は読み込んだ後にほかで変更されています\r\n上書きしますか？"_s,
                          platform::Yes | platform::No) != platform::Yes)
        return false;
    writeLedgerWith([this] { book.SaveLedger(); });
    return true;
}

void TForm1::RecordLastFile() {
    const QString path = platform::fromNativePath(book.dataFileName());
    platform::writeLastFileRecord(lastFileRecordPath, path);
    setWindowTitle(u"OrvoKakei["_s + path + (book.readOnly() ? u" (読み取り専用)"_s : QString()) +
                   u']');
}

// "現ﾃﾞｰﾀを保存しますか" before Open and New. False when the user asked to
// save but then cancelled the name question: the command stops, nothing lost.
bool TForm1::askToSaveFirst() {
    if (!book.modified()) return true;  // as last opened or saved, or undone back to it
    if (dialogs().message(MessageKind::Confirmation, u"現ﾃﾞｰﾀを保存しますか"_s,
                          platform::Yes | platform::No) != platform::Yes)
        return true;
    return SaveLedger();
}

void TForm1::Save1Click() {
    SaveLedger();
}

void TForm1::SaveAs1Click() {
    if (const std::optional<QString> chosen = askDataFileName(FileDialogPurpose::Save))
        saveAsDataFile(*chosen);
}

void TForm1::mnuRestoreClick() {
    // The copies of the ledger in hand, also when a save below gives it another name.
    const std::string file = book.dataFileName();
    if (file.empty() || backupCopiesOf(file).empty()) {
        dialogs().message(MessageKind::Information, u"バックアップはありません"_s, platform::Ok);
        return;
    }
    if (!askToSaveFirst()) return;
    BackupRestoreDialog window(backupCopiesOf(file), this);
    window.exec();
    const std::optional<std::string> chosen = window.chosen();
    if (!chosen) return;
    cellDelegate->commitOpenEditor();
    setEditMode(true);
    book.setWindowSize(width(), height());
    // A copy that is no ledger leaves all as it was; one read in part has replaced it.
    const auto showBook = [this] {
        if (book.dataFileName().empty()) showCreditCaption();
        applyWindowSizeFromBook();
        refreshFromBook();
    };
    try {
        book.openAsUnnamed(*chosen);
    } catch (...) {
        showBook();
        throw;
    }
    showBook();
}

void TForm1::Open1Click() {
    if (!askToSaveFirst()) return;
    OpenDialog1.fileName.clear();
    const std::optional<QString> chosen = askDataFileName();
    if (!chosen) return;
    OpenDialog1.fileName = *chosen;
    openLedgerFile(*chosen);
}

void TForm1::New1Click() {
    if (!askToSaveFirst()) return;
    dialogs().message(MessageKind::Information, u"新しいﾃﾞｰﾀとその保存先を設定します"_s,
                      platform::Ok);
    const std::optional<QString> chosen = askDataFileName(FileDialogPurpose::Save);
    if (!chosen) return;
    if (QFileInfo::exists(*chosen) &&
        dialogs().message(MessageKind::Warning, u"同一ﾌｧｲﾙが存在します\r\n上書きしますか？"_s,
                          platform::Yes | platform::No | platform::Cancel) != platform::Yes)
        return;
    // Refused before the ledger in hand is given up.
    if (const std::optional<LedgerInUse> inUse =
            book.heldElsewhere(platform::toNativePath(*chosen)))
        throw *inUse;
    startNewLedger();
    saveAsDataFile(*chosen);
}

void TForm1::Exit1Click() {
    close();
}
void TForm1::Button4Click() {
    close();
}

void TForm1::Help1Click() {
    platform::showHelpContents(this);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormCloseQuery() {
    cellDelegate->commitOpenEditor();
    if (!book.modified()) return true;
    switch (dialogs().message(MessageKind::Confirmation, u"終了する前に現ﾃﾞｰﾀを保存しますか"_s,
                              platform::Yes | platform::No | platform::Cancel)) {
        case platform::No:
            return true;
        case platform::Yes: {
            // A failed or cancelled save keeps the window, and the ledger, open.
            bool saved = false;
            runShowingErrors([&] { saved = SaveLedger(); });
            return saved;
        }
        default:
            return false;
    }
}

}  // namespace orvo::forms
