#pragma once
// The progress dialog of a long operation of the main window (a large CSV
// import or export): it appears only once the operation has lasted a moment,
// and its Cancel button cancels the operation.

#include <QPointer>
#include <QString>
#include <memory>

#include "ledger/Progress.h"

class QProgressDialog;
class QWidget;

namespace orvo::forms {

class OperationProgress {
public:
    OperationProgress(QWidget* parent, QString label);
    ~OperationProgress();
    OperationProgress(const OperationProgress&) = delete;
    OperationProgress& operator=(const OperationProgress&) = delete;

    // For the operation's progress hook; false once the user cancelled.
    ProgressCallback callback();

    // How long an operation runs before the dialog appears (tests shorten it).
    static void setShowDelay(int milliseconds);

private:
    bool report(std::size_t done, std::size_t total);

    QPointer<QWidget> parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;  // made at the first report
};

}  // namespace orvo::forms
