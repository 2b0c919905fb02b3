#pragma once
// Sending the ledger's pages to a paper document: pages before the range are
// laid out, not sent; a long run shows its progress and can be cancelled.

#include <QWidget>

#include "ledger/LedgerRecords.h"
#include "paper/PaperDocument.h"
#include "print/PrintSettings.h"

namespace orvo::forms {

enum class RunEnd { Complete, Cancelled };

// Lays out from the first record and hands the pages from settings.firstPage
// to settings.lastPage (up to the last page) to `paper`. The progress dialog
// (over `parent`) shows once the run takes a moment.
RunEnd sendLedgerPages(const LedgerRecords& records, const print::PrintSettings& settings,
                       const paper::PrintFontMetrics& metrics, paper::PaperDocument& paper,
                       QWidget* parent);

}  // namespace orvo::forms
