#pragma once
// Of the lines of a ledger, those its day view of one day reads: the day's
// own lines written "yyyy/mm/dd"; every line whose field 0 is written
// otherwise (a date written so may be the day; a line without a date before
// it stops the view); and of the later days' lines the first in list order,
// against which the view looks for such a line. A look at one day
// (LedgerBook::openPickedDay) keeps these alone.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/LedgerDate.h"
#include "ledger/LedgerRecords.h"
#include "ledger/RecordListLayout.h"

namespace orvo {

class PickedDayLines {
public:
    explicit PickedDayLines(const LedgerDate& day)
        : day_(canonicalDayKey(day.format())),
          // A day (or the day after it) that cannot be written "yyyy/mm/dd"
          // is looked for among all lines: every line is kept.
          all_(day_ < 0 || canonicalDayKey(day.addDays(1).format()) < 0) {}

    // Whether the line is kept; a later day's line is noted when it is the
    // first so far.
    bool keeps(std::string_view line) {
        if (all_) return true;
        const std::int32_t day = dayOf(line);
        if (day < 0 || day == day_) return true;
        if (day > day_ && (!firstLater_ || day < firstLaterDay_ ||
                           (day == firstLaterDay_ && compareRecordLines(line, *firstLater_) < 0))) {
            firstLater_ = std::string(line);
            firstLaterDay_ = day;
        }
        return false;
    }

    // The first line of the later days, once every line has been given.
    const std::optional<std::string>& firstLater() const { return firstLater_; }

private:
    // dayKey, reusing the last line's when the date's ten bytes repeat (as
    // they do for every line of a day in a saved ledger).
    std::int32_t dayOf(std::string_view line) {
        if (line.size() >= 10 && last_ >= 0 && std::memcmp(line.data(), lastDate_, 10) == 0 &&
            (line.size() == 10 || line[10] == kFieldSeparator))
            return last_;
        last_ = dayKey(line);
        if (last_ >= 0) std::memcpy(lastDate_, line.data(), 10);
        return last_;
    }

    std::int32_t day_;
    bool all_;
    std::int32_t last_ = -1;
    char lastDate_[10] = {};
    std::optional<std::string> firstLater_;
    std::int32_t firstLaterDay_ = 0;
};

}  // namespace orvo
