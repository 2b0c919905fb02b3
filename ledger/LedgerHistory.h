#pragma once
// The ledger's history: what each step changed, so that it can be undone and
// redone. A step holds what it changed, never a copy of the ledger it left
// alone; undoing and redoing exchange what a step holds with the ledger, so the
// same record serves both ways.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ledger/LedgerDate.h"
#include "ledger/LedgerRecords.h"
#include "ledger/LedgerTable.h"
#include "ledger/StepKind.h"
#include "ledger/Totals.h"

namespace orvo {

using Direction = TableJournal::Direction;

// The records' changes of one step with the line each put in or took out, in
// order; or, once the list was replaced as a whole, the whole list as it was.
struct RecordsJournal {
    enum class Op : std::uint8_t { Insert, Remove, Replace };
    struct Entry {
        Op op;
        std::size_t index;
        std::string line;
    };
    std::vector<Entry> entries;
    std::unique_ptr<LedgerRecords> whole;

    bool empty() const { return entries.empty() && !whole; }
    void exchangeWith(LedgerRecords& records, Direction direction);
    // The list as it was before the changes noted so far (for a step that
    // goes on to replace the list as a whole).
    void keepWhole(const LedgerRecords& records);
    std::size_t bytes() const;
};

// The rest of what the day view shows; small, exchanged as a whole.
struct DayViewState {
    LedgerDate pickedDay;
    Totals totals;
    bool dailyLabelsSet = false;
    bool cumulativeLabelsSet = false;
    bool dayViewChanged = false;
    std::unordered_multimap<std::string, std::string> folded;
    // Whether the day view shows something else (the folded records follow the day).
    bool differsFrom(const DayViewState& other) const;
};

struct Step {
    StepKind kind = StepKind::CellEdit;
    bool silent = false;  // no change of its own: undone and redone with its neighbour
    // Changed only what the day view shows, no record: the steps undone stay
    // redoable (Redo takes such steps back first).
    bool viewOnly() const { return silent && records.empty(); }
    std::uint64_t serial = 0;
    TableJournal table;
    RecordsJournal records;
    DayViewState view;  // the other state: before the step while done, after it while undone
    std::size_t bytes = 0;
};

class LedgerHistory {
public:
    // Beyond either, the oldest steps go.
    static constexpr std::size_t kMostSteps = 1000;
    static constexpr std::size_t kMostBytes = std::size_t{256} << 20;

    // Empty, and the ledger as it stands is the one last opened or saved.
    void clear();
    // A new step: the undone steps go; then the oldest beyond the limits.
    void push(Step step);

    bool canUndo() const { return undoKind().has_value(); }
    bool canRedo() const { return redoKind().has_value(); }
    std::optional<StepKind> undoKind() const;
    std::optional<StepKind> redoKind() const;
    // One Undo or Redo: the silent steps on the way, then one step that
    // changed the ledger; `apply` exchanges a step with the ledger.
    using Apply = std::function<void(Step&, Direction)>;
    void undo(const Apply& apply);
    void redo(const Apply& apply);

    // The ledger as it stands is the one last opened or saved.
    void markClean();
    bool atClean() const;

    std::size_t steps() const { return done_.size() + undone_.size(); }
    // How many times Undo or Redo ran, and how many steps the limits dropped.
    std::uint64_t travels() const { return travels_; }
    // How many steps were ever made (Undo and Redo make none).
    std::uint64_t made() const { return nextSerial_ - 1; }
    std::uint64_t dropped() const { return dropped_; }
    std::size_t bytes() const { return bytes_; }

private:
    template <class It>
    static const Step* visibleStep(It from, It to);
    void dropOldest();
    void dropUndone();
    // Takes back (and forgets) the view-only steps made since the last Undo.
    void takeBackViewSteps(const Apply& apply);

    std::deque<Step> done_;     // oldest first
    std::vector<Step> undone_;  // the next to redo last
    std::uint64_t nextSerial_ = 1;
    // The step after which the ledger was clean; 0 for the start of the
    // history, nullopt once that state can no longer be reached.
    std::optional<std::uint64_t> clean_ = 0;
    std::size_t bytes_ = 0;
    std::size_t visibleSteps_ = 0;  // in done_ and undone_
    std::uint64_t travels_ = 0;
    // View-only steps made since the last Undo, which Redo takes back first.
    std::size_t viewStepsSinceUndo_ = 0;
    std::uint64_t dropped_ = 0;
};

}  // namespace orvo
