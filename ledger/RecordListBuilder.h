#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ledger/LedgerRecords.h"

namespace orvo {

class LoadedBytes;

// Fills a list with many lines given in the order they stand (in a file, say),
// with the result that adding them one by one in that order gives: the
// specified order, and of equal lines the later first.
//
// Lines in order are appended as they come, each run of one field 0 (a day,
// as a file holds them) sorted on its own (in a large load, on a second
// thread); so a ledger whose days are in order, whatever the order inside
// each day, is sorted in one pass. So is one whose days come newest first,
// its runs turned round at the end (lines that stay in the bytes a load read
// only, see below).
//
// Once the order breaks, lines that all stand in the bytes a load read are
// gathered by month (LinesByMonth), then laid out and sorted month by month.
// Others: the builder looks ahead at the lines still to come and counts them
// by day, lays out the list's blocks with room for each day's lines, and puts
// every line straight into its day's room; each day is sorted when full.
// Either way a ledger in any order is sorted in linear time, holding little
// more than the list. Lines that have no place there (field 0 not a date
// written "yyyy/mm/dd", or a source that changed meanwhile) are sorted apart
// and merged in at the end.
//
// Given the bytes a load read the lines into (LoadedBytes), the builder
// copies none of the lines they hold: the list's blocks point into them.
class RecordListBuilder {
public:
    using LineVisitor = std::function<void(std::string_view)>;
    // Calls the visitor for every line that add() will still be given after
    // the current one, in order; false when it cannot.
    using LookAhead = std::function<bool(const LineVisitor&)>;

    // Lines given that stand in `loaded` are not copied: the list points
    // into those bytes and keeps them.
    RecordListBuilder(LedgerRecords& records, LookAhead lookAhead,
                      std::shared_ptr<const LoadedBytes> loaded = {});
    // Without finish() (a load stopped by an error): the lines added so far
    // are put into the list all the same.
    ~RecordListBuilder();
    RecordListBuilder(const RecordListBuilder&) = delete;
    RecordListBuilder& operator=(const RecordListBuilder&) = delete;

    // `line` need stay readable only during the call.
    void add(std::string_view line);
    // Puts every line added but not yet placed into the list.
    void finish();

private:
    // Descending: every line so far in the loaded bytes, in runs of one field
    // 0 each of which sorts before the one before it (days newest first).
    // ByMonth: every line so far in the loaded bytes (LinesByMonth); ByDay:
    // laid out by a look ahead at the lines to come.
    enum class Mode { InOrder, Descending, ByMonth, ByDay, Apart };
    class SpanCursor;
    class RunSorter;
    class LinesByMonth;
    struct DayRoom {  // a day's place in its block: lines [begin, end), bytes up to byteEnd
        std::uint32_t block;
        std::uint32_t begin;
        std::uint32_t next;
        std::uint32_t end;
        std::uint32_t byte;
        std::uint32_t byteEnd;
    };

    // A line with sixteen folded bytes after its field 0 and TAB, which decide
    // most comparisons between lines of one field 0 by themselves.
    struct KeyedSpan {
        std::array<std::uint64_t, 2> key;
        std::uint32_t index;
        std::uint32_t length;  // a record line is far shorter than 4 GiB
        std::size_t offset;    // but a block's lines together may be longer
    };

    bool isLoaded(std::string_view line) const;
    void push(RecordChunk& chunk, std::string_view line) const;
    RecordChunk newBlock() const;
    void sortLines(RecordChunk& chunk, std::size_t begin, std::size_t end, std::size_t keyFrom);
    // The same for n positions wherever they are, with keys of the caller's
    // (a second thread's).
    static void sortSpans(RecordChunk::Span* spans, std::size_t n, RecordChunk::LineBase lines,
                          std::size_t keyFrom, std::vector<KeyedSpan>& keyed);
    void appendCopies(const RecordChunk& chunk, std::size_t begin, std::size_t end);
    void appendBlock(const std::string_view* lines, std::size_t n);
    std::string_view lastInOrder() const;
    bool endRun();
    bool mayLeaveRunToSorter() const;
    std::string_view lastInOrderForCheck() const;
    void handLeftRunsToSorter(RecordChunk& block);
    void sortLeftRuns();
    void startRun(std::string_view line);
    bool endDescendingRun();
    void reverseDescendingRuns();
    void leaveDescending(const std::string_view* current);
    void closeOpen();
    void leaveOrder(std::size_t failedFrom, const std::string_view* current);
    bool layOutDays(const std::string_view* current);
    bool allLoadedSoFar() const;
    void moveInOrderLines(std::size_t failedFrom,
                          void (RecordListBuilder::*place)(std::string_view, std::int32_t));
    void placeByMonth(std::string_view line, std::int32_t key);
    void placeByDay(std::string_view line, std::int32_t key);
    void placeInRoom(std::string_view line, std::int32_t key);
    bool tryPlaceInRoom(std::string_view line, std::int32_t key, std::vector<KeyedSpan>& keyed);
    void placeBuckets(std::size_t from, std::size_t to, std::vector<KeyedSpan>& keyed,
                      std::vector<std::string>& refused);
    void putApart(std::string_view line);
    void finishDays();
    void mergeApart();

    LedgerRecords& records_;
    LookAhead lookAhead_;
    std::shared_ptr<const LoadedBytes> loaded_;
    Mode mode_ = Mode::InOrder;
    bool finished_ = false;
    std::vector<KeyedSpan> keyed_;

    // In order: the block being filled; its last run of one field 0.
    RecordChunk open_;
    std::size_t runStart_ = 0;
    std::size_t runField0_ = 0;  // length
    bool inRun_ = false;
    // Field 0 is a date written "yyyy/mm/dd"; before the first run, whether
    // the list held nothing (as if the run before were such).
    bool runCanonical_ = false;
    bool runSorted_ = true;
    std::string_view prevRunFirst_;            // descending: the least line of the run before
    std::vector<std::size_t> descendingRuns_;  // descending: the length of each run ended
    std::size_t runBytesFrom_ = 0;             // open_.bytes_ at the run's start
    bool runLonger_ = false;                   // a line of the run is longer than its field 0
    // Runs of the open block left unsorted, [begin, end) each, for a second
    // thread to sort once the block is closed (runs of a large load whose
    // field 0 is a date written "yyyy/mm/dd", as is that of the run before
    // them). Whether a later run sorts after such a run is decided by its
    // field 0 alone, so the checks need only its last line's beginning.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> leftRuns_;
    std::unique_ptr<RunSorter> runSorter_;
    bool lastRunLeft_ = false;        // the last run ended is one of those
    std::string lastRunHead_;         // its lines' field 0, and the TAB after it if one has it
    bool runAfterCanonical_ = false;  // the run before it too (true with none before)

    std::unique_ptr<LinesByMonth> byMonth_;

    // By day: the blocks laid out and each day's room, by dayKey - firstKey_.
    std::vector<RecordChunk> laidOut_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> blockShape_;  // lines, bytes
    std::vector<DayRoom> days_;
    std::int32_t firstKey_ = 0;
    // Lines placed by day wait in buckets of a few thousand lines each, by
    // date: a bucket's rooms lie close together, where lines put straight into
    // rooms all over the list would each miss the processor's cache. Each line
    // is kept as its length, its day key and its bytes, in pieces filled one
    // after another.
    struct Piece {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t size = 0;
    };
    std::vector<std::vector<Piece>> buckets_;
    std::vector<std::uint32_t> bucketOfMonth_;  // by (dayKey - firstKey_) / 32

    // Lines without room, in the order given, in pieces that never move.
    std::vector<std::string_view> apart_;
    std::vector<std::unique_ptr<char[]>> apartPieces_;
    std::size_t apartPieceUsed_ = 0;
    std::size_t apartPieceSize_ = 0;
};

}  // namespace orvo
