#include "ledger/LedgerHistory.h"

#include <algorithm>

namespace orvo {

namespace {

std::size_t stringBytes(const std::string& s) {
    return sizeof(std::string) + (s.capacity() > 15 ? s.capacity() + 1 : 0);
}

}  // namespace

void RecordsJournal::exchangeWith(LedgerRecords& records, Direction direction) {
    if (whole) {
        std::swap(records, *whole);
        return;
    }
    // Every entry holds the line its change put in (Insert) or took out
    // (Remove, Replace); the list's positions are those the change saw.
    // Going back, an Insert is taken out and a Remove put back.
    const bool back = direction == Direction::Back;
    auto apply = [&](Entry& e) {
        if (e.op == Op::Replace) {
            std::string now(records[e.index]);
            records.replaceAt(e.index, e.line);
            e.line = std::move(now);
        } else if ((e.op == Op::Insert) == back) {
            records.removeAt(e.index);
        } else {
            records.insertAt(e.index, e.line);
        }
    };
    if (back)
        std::for_each(entries.rbegin(), entries.rend(), apply);
    else
        std::for_each(entries.begin(), entries.end(), apply);
}

void RecordsJournal::keepWhole(const LedgerRecords& records) {
    if (whole) return;
    whole = std::make_unique<LedgerRecords>(records);
    exchangeWith(*whole, Direction::Back);
    entries.clear();
}

std::size_t RecordsJournal::bytes() const {
    std::size_t n = entries.capacity() * sizeof(Entry);
    for (const Entry& e : entries) n += stringBytes(e.line) - sizeof(std::string);
    if (whole) {
        n += sizeof(LedgerRecords);
        whole->forEach([&](std::string_view line) { n += line.size() + 2 * sizeof(std::size_t); });
    }
    return n;
}

bool DayViewState::differsFrom(const DayViewState& other) const {
    return pickedDay != other.pickedDay || !(totals == other.totals) ||
           dailyLabelsSet != other.dailyLabelsSet ||
           cumulativeLabelsSet != other.cumulativeLabelsSet ||
           dayViewChanged != other.dayViewChanged;
}

template <class It>
const Step* LedgerHistory::visibleStep(It from, It to) {
    for (; from != to; ++from)
        if (!from->silent) return &*from;
    return nullptr;
}

std::optional<StepKind> LedgerHistory::undoKind() const {
    const Step* s = visibleStep(done_.rbegin(), done_.rend());
    return s ? std::optional(s->kind) : std::nullopt;
}

std::optional<StepKind> LedgerHistory::redoKind() const {
    const Step* s = visibleStep(undone_.rbegin(), undone_.rend());
    return s ? std::optional(s->kind) : std::nullopt;
}

void LedgerHistory::clear() {
    done_.clear();
    undone_.clear();
    viewStepsSinceUndo_ = 0;
    clean_ = 0;
    bytes_ = 0;
    visibleSteps_ = 0;
}

void LedgerHistory::push(Step step) {
    if (!step.viewOnly())
        dropUndone();
    else if (!undone_.empty())
        ++viewStepsSinceUndo_;
    step.serial = nextSerial_++;
    bytes_ += step.bytes;
    visibleSteps_ += !step.silent;
    done_.push_back(std::move(step));
    while (done_.size() > 1 && (visibleSteps_ > kMostSteps || bytes_ > kMostBytes)) dropOldest();
}

void LedgerHistory::dropUndone() {
    for (const Step& s : undone_) {
        if (clean_ == s.serial) clean_.reset();
        bytes_ -= s.bytes;
        visibleSteps_ -= !s.silent;
    }
    undone_.clear();
    viewStepsSinceUndo_ = 0;
}

void LedgerHistory::dropOldest() {
    const Step& oldest = done_.front();
    if (clean_ == 0u)
        clean_.reset();  // the state before it is gone
    else if (clean_ == oldest.serial)
        clean_ = 0;  // the state after it is now the start
    bytes_ -= oldest.bytes;
    visibleSteps_ -= !oldest.silent;
    done_.pop_front();
    ++dropped_;
}

void LedgerHistory::takeBackViewSteps(const Apply& apply) {
    // The day view moved since the Undo: back to where the undone step left it.
    for (; viewStepsSinceUndo_ > 0 && !done_.empty(); --viewStepsSinceUndo_) {
        Step& step = done_.back();
        apply(step, Direction::Back);
        if (clean_ == step.serial)
            clean_ = done_.size() > 1 ? done_[done_.size() - 2].serial : 0;  // the same ledger
        bytes_ -= step.bytes;
        done_.pop_back();
    }
}

void LedgerHistory::undo(const Apply& apply) {
    ++travels_;
    // Looking at other days after an Undo is no step to undo: the next one
    // starts where the last left off, so the undone steps stay in order.
    takeBackViewSteps(apply);
    while (!done_.empty()) {
        Step step = std::move(done_.back());
        done_.pop_back();
        apply(step, Direction::Back);
        const bool last = !step.silent;
        undone_.push_back(std::move(step));
        if (last) break;
    }
}

void LedgerHistory::redo(const Apply& apply) {
    if (undone_.empty()) return;
    ++travels_;
    takeBackViewSteps(apply);
    // As Undo took them back: the step that changed the ledger, then the
    // silent ones that followed it (a write-back before a print, say).
    bool first = true;
    while (!undone_.empty() && (first || undone_.back().silent)) {
        Step step = std::move(undone_.back());
        undone_.pop_back();
        apply(step, Direction::Forward);
        done_.push_back(std::move(step));
        first = false;
    }
}

void LedgerHistory::markClean() {
    clean_ = done_.empty() ? 0 : done_.back().serial;
}

bool LedgerHistory::atClean() const {
    if (!clean_) return false;
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
        if (it->serial == *clean_) return true;
        if (!it->silent) return false;
    }
    if (*clean_ == 0) return true;
    for (auto it = undone_.rbegin(); it != undone_.rend(); ++it) {
        if (!it->silent) return false;
        if (it->serial == *clean_) return true;
    }
    return false;
}

}  // namespace orvo
