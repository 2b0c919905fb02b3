#include "forms/print/PaperRun.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>

#include "print/LedgerPages.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressShowsAfterMs = 700;
constexpr int kProgressUpdateMs = 50;

// How far the run is: through the records, or through the pages up to the
// range's last, whichever is further.
int progressStep(std::size_t nextRecord, std::size_t records, int pageNo, int lastPage) {
    const double byRecords =
        records == 0 ? 0 : static_cast<double>(nextRecord) / static_cast<double>(records);
    const double byPages = lastPage <= 0 ? 0 : static_cast<double>(pageNo) / lastPage;
    return std::min(kProgressSteps - 1,
                    static_cast<int>(std::max(byRecords, byPages) * kProgressSteps));
}

}  // namespace

RunEnd sendLedgerPages(const LedgerRecords& records, const print::PrintSettings& settings,
                       const paper::PrintFontMetrics& metrics, paper::PaperDocument& paper,
                       QWidget* parent) {
    QProgressDialog progress(u"印刷しています..."_s, u"キャンセル"_s, 0, kProgressSteps, parent);
    progress.setObjectName(u"PrintProgress"_s);
    progress.setWindowTitle(u"印刷"_s);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressShowsAfterMs);
    progress.setAutoReset(false);
    progress.setValue(0);
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();

    print::LedgerRenderState state;
    for (;;) {
        const int pageNo = state.pageNo;
        const bool inRange = settings.firstPage <= pageNo && pageNo <= settings.lastPage;
        const print::RenderedLedgerPage rendered = print::RenderLedgerPage(
            records, settings, metrics, state,
            inRange ? print::PageOutput::Draw : print::PageOutput::LayOutOnly);
        if (inRange) paper.addPage(rendered.page);
        if (rendered.runComplete || pageNo >= settings.lastPage) break;
        if (sinceUpdate.elapsed() >= kProgressUpdateMs) {
            sinceUpdate.restart();
            progress.setLabelText(u"印刷しています... %1ﾍﾟｰｼﾞ"_s.arg(pageNo));
            progress.setValue(
                progressStep(state.nextRecord, records.size(), pageNo, settings.lastPage));
            if (progress.wasCanceled()) return RunEnd::Cancelled;
        }
    }
    return RunEnd::Complete;
}

}  // namespace orvo::forms
