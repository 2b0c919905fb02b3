// LedgerBook: the steps its changes make, and undoing and redoing them.

#include "ledger/LedgerBook.h"

namespace orvo {

LedgerBook::StepScope::StepScope(LedgerBook& book, StepKind kind) : book_(book) {
    book_.openStep(kind);
}

LedgerBook::StepScope::~StepScope() {
    book_.closeStep();
}

void LedgerBook::openStep(StepKind kind) {
    if (stepDepth_++ > 0) return;
    pending_ = Step{};
    pending_.kind = kind;
    pending_.view = viewState();
    table_.setJournal(&pending_.table);
}

void LedgerBook::closeStep() noexcept {
    if (--stepDepth_ > 0) return;
    table_.setJournal(nullptr);
    Step step = std::move(pending_);
    pending_ = Step{};
    const bool recordsMoved = !step.records.empty();
    if (!recordsMoved && step.table.empty() && !step.view.differsFrom(viewState())) return;
    // A write-back that moved records at a change of date is a change of
    // the ledger; one before a save or a print only catches up with it.
    step.silent = onlyShows(step.kind) && (!recordsMoved || step.kind != StepKind::DayChange);
    try {
        step.bytes = sizeof(Step) + step.table.bytes() + step.records.bytes();
        history_.push(std::move(step));
    } catch (...) {
        // Without memory for the step, no step can be trusted to undo.
        history_.clear();
    }
}

DayViewState LedgerBook::viewState() const {
    return {pickedDay_,           totals_,          dailyLabelsSet_,
            cumulativeLabelsSet_, table_.changed(), foldedRecords_};
}

void LedgerBook::setViewState(DayViewState state) {
    pickedDay_ = state.pickedDay;
    totals_ = state.totals;
    dailyLabelsSet_ = state.dailyLabelsSet;
    cumulativeLabelsSet_ = state.cumulativeLabelsSet;
    if (state.dayViewChanged)
        table_.markChanged();
    else
        table_.clearChanged();
    foldedRecords_ = std::move(state.folded);
}

void LedgerBook::applyStep(Step& step, Direction direction) {
    DayViewState now = viewState();  // before the table's own flag is exchanged with it
    step.records.exchangeWith(records_, direction);
    step.table.exchangeWith(table_, direction);
    setViewState(std::move(step.view));
    step.view = std::move(now);
    if (auto block = step.table.changedBlock()) table_.setSelection(*block);
}

void LedgerBook::asOneStep(StepKind kind, const std::function<void()>& change) {
    StepScope step(*this, kind);
    change();
}

void LedgerBook::undo() {
    history_.undo([this](Step& step, Direction d) { applyStep(step, d); });
}

void LedgerBook::redo() {
    history_.redo([this](Step& step, Direction d) { applyStep(step, d); });
}

void LedgerBook::addRecord(std::string_view line) {
    const std::size_t index = records_.add(line);
    if (stepDepth_ > 0 && !pending_.records.whole)
        pending_.records.entries.push_back({RecordsJournal::Op::Insert, index, std::string(line)});
}

void LedgerBook::removeRecordAt(std::size_t index) {
    if (stepDepth_ > 0 && !pending_.records.whole)
        pending_.records.entries.push_back(
            {RecordsJournal::Op::Remove, index, std::string(records_[index])});
    records_.removeAt(index);
}

void LedgerBook::replaceRecordAt(std::size_t index, std::string_view line) {
    if (stepDepth_ > 0 && !pending_.records.whole)
        pending_.records.entries.push_back(
            {RecordsJournal::Op::Replace, index, std::string(records_[index])});
    records_.replaceAt(index, line);
}

LedgerRecords& LedgerBook::recordsAsWhole() {
    if (stepDepth_ > 0) pending_.records.keepWhole(records_);
    return records_;
}

}  // namespace orvo
