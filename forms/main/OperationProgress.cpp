#include "forms/main/OperationProgress.h"

#include <QProgressDialog>

#include "platform/Dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kSteps = 1000;  // the bar in thousandths: totals may exceed int
int showDelay = 500;

}  // namespace

OperationProgress::OperationProgress(QWidget* parent, QString label)
    : parent_(parent), label_(std::move(label)) {}

OperationProgress::~OperationProgress() = default;

void OperationProgress::setShowDelay(int milliseconds) {
    showDelay = milliseconds;
}

ProgressCallback OperationProgress::callback() {
    return [this](std::size_t done, std::size_t total) { return report(done, total); };
}

bool OperationProgress::report(std::size_t done, std::size_t total) {
    if (!dialog_) {
        // Made at the first report, so that the questions asked before the
        // work starts do not count towards the delay.
        dialog_ = std::make_unique<QProgressDialog>(label_, u"キャンセル"_s, 0, kSteps, parent_);
        dialog_->setObjectName(u"progressDialog"_s);
        dialog_->setWindowTitle(platform::applicationTitle());
        // Nothing else may change the ledger while the dialog lets events through.
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(showDelay);
    }
    const int step =
        total == 0
            ? kSteps
            : static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kSteps);
    dialog_->setValue(std::min(step, kSteps - 1));  // the maximum would end the dialog's modality
    return !dialog_->wasCanceled();
}

}  // namespace orvo::forms
