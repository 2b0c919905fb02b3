#pragma once
// The ledger printout: every record, page after page, with long fields wrapped
// inside their columns and records continued across pages.

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "ledger/LedgerRecords.h"
#include "print/PageOps.h"
#include "print/PrintSettings.h"
#include "print/TextMeasurer.h"

namespace orvo::print {

// Where a page starts.
struct LedgerRenderState {
    std::size_t nextRecord = 0;  // the record the page starts with
    bool continuing = false;     // that record was cut at the end of the page before
    int pendingLines = 0;        // its lines still to be drawn, when continuing
    int pageNo = 1;
    bool operator==(const LedgerRenderState&) const = default;
};

// Pages before a print range are laid out, to find where the next one starts,
// but not drawn.
enum class PageOutput { Draw, LayOutOnly };

struct RenderedLedgerPage {
    Page page;
    bool runComplete = false;  // the last line of the last record is on this page
};

// Lays out page `state.pageNo` from `state` and moves `state` to the start of
// the next page; after the last page, back to page 1 at the first record.
// An amount that is no number throws, leaving `state` as it was.
RenderedLedgerPage RenderLedgerPage(const LedgerRecords& records, const PrintSettings& settings,
                                    const TextMeasurer& measurer, LedgerRenderState& state,
                                    PageOutput output = PageOutput::Draw);

// A print run from the first record: hands the pages from settings.firstPage to
// settings.lastPage (at most up to the last page) to `print` in order. Returns
// the number of pages printed.
int PrintLedgerRun(const LedgerRecords& records, const PrintSettings& settings,
                   const TextMeasurer& measurer, const std::function<void(const Page&)>& print);

// Where each page starts, found by laying the pages out once, in order, and
// kept: the preview can show any page again without laying out those before it.
// The records and settings must not change while the index is in use.
class LedgerPageIndex {
public:
    LedgerPageIndex(const LedgerRecords& records, const PrintSettings& settings,
                    const TextMeasurer& measurer);

    // The state page `pageNo` (from 1) starts with, or nothing when the ledger
    // ends before that page.
    std::optional<LedgerRenderState> startOf(int pageNo);
    // The number of pages (lays out all of them).
    int pageCount();

private:
    const LedgerRecords& records_;
    const PrintSettings& settings_;
    const TextMeasurer& measurer_;
    std::vector<LedgerRenderState> starts_;
    bool complete_ = false;
};

}  // namespace orvo::print
