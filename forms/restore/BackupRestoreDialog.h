#pragma once
// The window "バックアップから復元": the daily copies of the ledger's file, one
// line each with its day, size and number of records; "開く" (or a double
// click on a line) closes it with that copy chosen.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "ledger/BackupGenerations.h"

class QPushButton;
class QTreeWidget;

namespace orvo::forms {

class BackupRestoreDialog : public QDialog {
    Q_OBJECT
public:
    // `copies` newest first, as backupCopiesOf() gives them.
    explicit BackupRestoreDialog(std::vector<BackupCopy> copies, QWidget* parent = nullptr);

    // The copy chosen (a native path), once the window was accepted.
    std::optional<std::string> chosen() const;

private:
    void fillList();

    std::vector<BackupCopy> copies_;
    QTreeWidget* copyList_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

}  // namespace orvo::forms
