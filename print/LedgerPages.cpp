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

using CellLines = std::array<std::vector<std::string>, kPrintedColumns>;

constexpr std::size_t kDateField = 0;

// The date and the amounts print on one line whole: a figure wrapped would
// read as two wrong ones.
bool printsOnOneLine(std::size_t field) {
    return field == kDateField || field == kExpenseField || field == kIncomeField;
}

// Wraps the printed fields of a record line into `cellLines` (when drawing; a
// page that is only laid out needs the count alone). Returns its line count,
// that of its longest field.
int wrapRecord(std::string_view line, const PageGeometry& g, const TextMeasurer& measurer,
               std::vector<std::string>& fields, CellLines* cellLines) {
    splitRecordInto(line, fields);
    const PrintFont body = bodyFont(g.fontHeight);
    int lineCount = 0;
    for (std::size_t f = 0; f < static_cast<std::size_t>(g.columnCount); ++f) {
        std::vector<std::string>* lines = cellLines ? &(*cellLines)[f] : nullptr;
        if (lines) lines->clear();
        const std::string_view field = f < fields.size() ? fields[f] : std::string_view();
        if (printsOnOneLine(f)) {
            if (field.empty()) continue;
            if (lines) lines->emplace_back(field);
            lineCount = std::max(lineCount, 1);
            continue;
        }
        lineCount = std::max(
            lineCount, wrapField(field, g.columnWidth[f], g.charWidth, body, measurer, lines));
    }
    return lineCount;
}

// Line j of every field at y. An amount is formatted whole and right-aligned in
// its twelve places, or in its column when those are wider; a date or an amount
// wider than its column is drawn smaller.
void drawRecordLine(PageBuilder& b, const PageGeometry& g, const CellLines& cellLines,
                    std::size_t j, int y) {
    for (std::size_t f = 0; f < static_cast<std::size_t>(g.columnCount); ++f) {
        if (j >= cellLines[f].size()) continue;
        const std::string& line = cellLines[f][j];
        if (line.empty()) continue;
        const int x = g.columnX[f];
        if (f == kDateField) {
            std::string date = line;
            std::replace(date.begin(), date.end(), kPackedLineBreak, ' ');
            b.textInSpan(x, x, x + g.columnWidth[f], y, std::move(date));
        } else if (f == kExpenseField || f == kIncomeField) {
            b.textInSpan(x, x, x + g.columnWidth[f], y, FormatAmount(line, kAmountWidth));
        } else {
            b.text(x, y, line);
        }
    }
}

}  // namespace

RenderedLedgerPage RenderLedgerPage(const LedgerRecords& records, const PrintSettings& settings,
                                    const TextMeasurer& measurer, LedgerRenderState& state,
                                    PageOutput output) {
    const PageGeometry g = pageGeometry(settings, measurer);
    const bool draw = output == PageOutput::Draw;
    PageBuilder b(g, measurer, state.pageNo);
    if (draw) drawTitleAndHeader(b, g, settings);

    const int q = g.linePitch;
    LedgerRenderState next = state;
    next.nextRecord = records.size();  // unless the page fills up first
    std::vector<std::string> fields;
    CellLines cellLines;
    int y = g.top + 4 * q + q / 3;
    bool full = false;
    for (std::size_t i = state.nextRecord; i < records.size() && !full; ++i) {
        const int lineCount =
            wrapRecord(records[i], g, measurer, fields, draw ? &cellLines : nullptr);
        const int first = i == state.nextRecord && state.continuing
                              ? std::max(0, lineCount - state.pendingLines)
                              : 0;
        for (int j = first; j < lineCount && !full; ++j) {
            if (draw) drawRecordLine(b, g, cellLines, static_cast<std::size_t>(j), y);
            y += q;
            if (y <= g.bottomLimit) continue;
            full = true;
            const int remaining = lineCount - (j + 1);
            next.continuing = remaining > 0;
            next.pendingLines = remaining;
            next.nextRecord = remaining > 0 ? i : i + 1;
        }
    }
    if (!full) {
        next.continuing = false;
        next.pendingLines = 0;
    }
    const bool complete = next.nextRecord >= records.size() && !next.continuing;

    if (draw) b.footer(settings.today);
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
