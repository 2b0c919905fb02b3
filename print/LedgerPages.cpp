#include "print/LedgerPages.h"

#include <algorithm>
#include <array>
#include <string>

#include "ledger/RecordLine.h"
#include "print/FieldWrap.h"
#include "print/FormatAmount.h"
#include "print/PageGeometry.h"

namespace orvo::print {

namespace {

constexpr std::size_t kExpenseField = 3;
constexpr std::size_t kIncomeField = 4;

void drawTitleAndHeader(PageBuilder& b, const PageGeometry& g, const PrintSettings& settings) {
    b.selectFont(titleFont(g.fontHeight));
    b.centredText(g.top, std::string("《") + titleBaseName(settings.dataFileName) + "》");
    const int q = g.linePitch;
    b.selectFont(headerFont(g.fontHeight));
    b.textCentredIn(g.left, g.columnWidth[0], g.top + 3 * q, "日付");
    for (int c = 1; c < g.columnCount; ++c) {
        const auto col = static_cast<std::size_t>(c);
        if (col > settings.columnTitles.size()) break;
        b.textCentredIn(g.columnX[col], g.columnWidth[col], g.top + 3 * q,
                        settings.columnTitles[col - 1]);
    }
    b.rule(g.top + 4 * q);
    b.selectFont(bodyFont(g.fontHeight));
}

}  // namespace

RenderedLedgerPage RenderLedgerPage(const LedgerRecords& records, const PrintSettings& settings,
                                    const TextMeasurer& measurer, LedgerRenderState& state,
                                    PageOutput output) {
    const PageGeometry g = pageGeometry(settings, measurer);
    const bool draw = output == PageOutput::Draw;
    PageBuilder b(g, measurer, state.pageNo);
    if (draw) drawTitleAndHeader(b, g, settings);

    const PrintFont body = bodyFont(g.fontHeight);
    const int q = g.linePitch;
    const auto columns = static_cast<std::size_t>(g.columnCount);
    LedgerRenderState next = state;
    std::vector<std::string> fields;
    std::array<std::vector<std::string>, kPrintedColumns> cellLines;
    int y = g.top + 4 * q + q / 3;
    bool full = false;
    std::size_t i = state.nextRecord;
    for (; i < records.size() && !full; ++i) {
        splitRecordInto(records[i], fields);
        int lineCount = 0;
        for (std::size_t f = 0; f < columns; ++f) {
            cellLines[f].clear();
            const std::string_view field = f < fields.size() ? fields[f] : std::string_view();
            lineCount = std::max(lineCount, wrapField(field, g.columnWidth[f], g.charWidth, body,
                                                      measurer, draw ? &cellLines[f] : nullptr));
        }
        const int first = next.continuing ? std::max(0, lineCount - next.pendingLines) : 0;
        next.continuing = false;
        next.pendingLines = 0;
        for (int j = first; j < lineCount; ++j) {
            for (std::size_t f = 0; draw && f < columns; ++f) {
                const auto& lines = cellLines[f];
                if (static_cast<std::size_t>(j) >= lines.size()) continue;
                const std::string& line = lines[static_cast<std::size_t>(j)];
                if (line.empty()) continue;
                const bool amount = f == kExpenseField || f == kIncomeField;
                b.text(g.columnX[f], y, amount ? FormatAmount(line, kAmountWidth) : line);
            }
            y += q;
            if (y > g.bottomLimit) {
                full = true;
                const int remaining = lineCount - (j + 1);
                if (remaining > 0) {
                    next.continuing = true;
                    next.pendingLines = remaining;
                }
                break;
            }
        }
        next.nextRecord = next.continuing ? i : i + 1;
    }
    if (!full) next.nextRecord = records.size();
    const bool complete = next.nextRecord >= records.size() && !next.continuing;

    if (draw) {
        b.footer(settings.today);
    }
    if (complete) {
        next = LedgerRenderState{};
    } else {
        next.pageNo = state.pageNo + 1;
    }
    state = next;
    return {b.take(), complete};
}

int PrintLedgerRun(const LedgerRecords& records, const PrintSettings& settings,
                   const TextMeasurer& measurer, const std::function<void(const Page&)>& print) {
    LedgerRenderState state;
    int printed = 0;
    for (;;) {
        const int pageNo = state.pageNo;
        const bool inRange = settings.firstPage <= pageNo && pageNo <= settings.lastPage;
        RenderedLedgerPage rendered =
            RenderLedgerPage(records, settings, measurer, state,
                             inRange ? PageOutput::Draw : PageOutput::LayOutOnly);
        if (inRange) {
            print(rendered.page);
            ++printed;
        }
        if (rendered.runComplete || pageNo >= settings.lastPage) return printed;
    }
}

LedgerPageIndex::LedgerPageIndex(const LedgerRecords& records, const PrintSettings& settings,
                                 const TextMeasurer& measurer)
    : records_(records), settings_(settings), measurer_(measurer), starts_{LedgerRenderState{}} {}

std::optional<LedgerRenderState> LedgerPageIndex::startOf(int pageNo) {
    if (pageNo < 1) return std::nullopt;
    const auto wanted = static_cast<std::size_t>(pageNo);
    while (starts_.size() < wanted && !complete_) {
        LedgerRenderState state = starts_.back();
        complete_ = RenderLedgerPage(records_, settings_, measurer_, state, PageOutput::LayOutOnly)
                        .runComplete;
        if (!complete_) starts_.push_back(state);
    }
    if (starts_.size() < wanted) return std::nullopt;
    return starts_[wanted - 1];
}

int LedgerPageIndex::pageCount() {
    startOf(1 << 30);
    return static_cast<int>(starts_.size());
}

}  // namespace orvo::print
