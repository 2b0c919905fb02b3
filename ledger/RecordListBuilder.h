#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ledger/LedgerRecords.h"

namespace orvo {

class LargePageArena;
class LoadedBytes;

// Fills a list with many lines given in the order they stand (in a file, say),
// with the result that adding them one by one in that order gives: the
// list's order, and of equal lines the later first.
//
// Lines whose days come in order (as a file saved by the program holds them,
// whatever the order inside each day) are appended as they come. Once a day
// comes before the one before it, every line is gathered by its day instead
// and placed day by day at the end. Either way each day is then sorted on its
// own, so a ledger in any order is sorted in linear time. Lines whose field 0
// is not a date written "yyyy/mm/dd" (rare) are sorted apart and merged in.
//
// The list's blocks point into the bytes the lines stand in (LoadedBytes)
// rather than copying them: the bytes a load read, or those the builder
// stages lines given from elsewhere in.
class RecordListBuilder {
public:
    // Lines given that stand in `loaded` are not copied; others are copied
    // into `stageBytes` of room of the builder's own while it lasts, then
    // one by one.
    explicit RecordListBuilder(LedgerRecords& records,
                               std::shared_ptr<const LoadedBytes> loaded = {},
                               std::size_t stageBytes = 0);
    // Without finish() (a load stopped by an error): the lines added so far
    // are put into the list all the same.
    ~RecordListBuilder();
    RecordListBuilder(const RecordListBuilder&) = delete;
    RecordListBuilder& operator=(const RecordListBuilder&) = delete;

    // `line` need stay readable only during the call.
    void add(std::string_view line);
    // Puts every line added into the list.
    void finish();

private:
    // Lines of one day one after another in a block, [begin, end), in the
    // order given; whether each stands after (before) the one given before it.
    struct DayRun {
        std::uint32_t block;
        std::uint32_t begin;
        std::uint32_t end;
        bool ascending;
        bool descending;
        bool sorted = false;  // sorted once it ended: its lines stand in the list's order
    };
    // A line gathered by day: where it stands, and its day with the flags below.
    struct Gathered {
        const char* at;
        std::uint32_t length;
        std::uint32_t dayAndFlags;
    };

    // Sorts n lines given in this order, which agree in their first `from`
    // bytes (a day's date and TAB, or none), as adding them one by one would.
    // (`keyed` is room the sort may reuse.)
    struct Keyed;
    static void sortAsAdded(RecordChunk::Span* spans, std::size_t n, RecordChunk::LineBase lines,
                            std::size_t from, std::vector<Keyed>& keyed);
    bool isLoaded(std::string_view line) const;
    std::string_view stable(std::string_view line);
    void append(std::string_view line, std::int32_t day);
    void closeOpen();
    void startGathering();
    void gather(std::string_view line, std::int32_t day);
    void push(Gathered g);
    template <class F>
    void forEachGathered(F&& f);
    void placeGathered();
    RecordChunk& blockOf(const DayRun& run);
    void sortDay(DayRun& run, std::vector<Keyed>& keyed);
    void sortDays();
    std::vector<RecordChunk> sortedApart();

    LedgerRecords& records_;
    std::shared_ptr<const LoadedBytes> loaded_;
    LoadedBytes* stage_ = nullptr;  // loaded_, when the builder fills it
    std::size_t staged_ = 0;
    bool finished_ = false;

    // The day and the last line given before, of those with a day.
    std::int32_t lastDay_ = -1;
    std::string_view last_;

    // In order: the blocks filled, each day's lines; the block being filled.
    std::vector<RecordChunk> blocks_;
    std::vector<DayRun> days_;
    RecordChunk open_;
    std::vector<Keyed> keyed_;

    bool gathering_ = false;
    // In pieces, which never move, taken in large pages (fewer faults), all
    // given back once placed.
    static constexpr std::size_t kGatheredPiece = 65536;
    std::unique_ptr<LargePageArena> gatheredRoom_;
    std::vector<Gathered*> gathered_;
    std::size_t lastPieceUsed_ = kGatheredPiece;

    // Lines without a day, in the order given; copies of lines that stand
    // nowhere else, in pieces that never move.
    std::vector<std::string_view> apart_;
    std::vector<std::unique_ptr<char[]>> copies_;
    std::size_t copyUsed_ = 0;
    std::size_t copySize_ = 0;
};

}  // namespace orvo
