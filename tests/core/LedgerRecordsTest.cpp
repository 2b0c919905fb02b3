#include "ledger/LedgerRecords.h"
#include "ledger/RecordListBuilder.h"

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace orvo {
namespace {

std::vector<std::string> contents(const LedgerRecords& r) {
    return recordLines(r);
}

TEST(RecordOrder, IgnoresAsciiLetterCaseButNeverFoldsATrailByte) {
    EXPECT_EQ(compareRecordLines("abc", "ABC"), 0);
    EXPECT_LT(compareRecordLines("abc", "ABD"), 0);
    EXPECT_LT(compareRecordLines("ab", "abc"), 0);
    // 0x83 0x41 (ア) and 0x83 0x61 (ャ): the second bytes are trail bytes, not letters.
    EXPECT_LT(compareRecordLines("\x83\x41", "\x83\x61"), 0);
    EXPECT_NE(compareRecordLines("\x83\x41", "\x83\x61"), 0);
    // After a double-byte character, letters fold again.
    EXPECT_EQ(compareRecordLines("\x83\x41"
                                 "a",
                                 "\x83\x41"
                                 "A"),
              0);
    // Bytes compare unsigned: katakana after ASCII.
    EXPECT_LT(compareRecordLines("z", "ア"), 0);
}

TEST(LedgerRecords, KeepsDateOrderAndPutsANewEqualLineFirst) {
    LedgerRecords r;
    r.add("2026/12/08\tb");
    r.add("2026/01/01\tz");
    r.add("2026/12/08\ta");
    r.add("2025/12/31\ty");
    r.add("2026/12/08\tX");
    r.add("2026/12/08\tx");  // equals "…X": goes before it
    EXPECT_EQ(contents(r),
              (std::vector<std::string>{"2025/12/31\ty", "2026/01/01\tz", "2026/12/08\ta",
                                        "2026/12/08\tb", "2026/12/08\tx", "2026/12/08\tX"}));
}

// Lines of three days in the orders a ledger file may hold them; with few
// pieces to draw from, many lines differ only in letter case or not at all.
std::vector<std::string> linesInOrder(std::mt19937& rng, LineOrder order, bool caseHeavy) {
    const char* pieces[] = {"a", "A", "b", "B", "表", "ソ", "\t", "1"};
    const std::size_t pieceCount = caseHeavy ? 2 : 8;
    std::vector<std::string> lines;
    const int n = 1 + static_cast<int>(rng() % 3000);
    for (int i = 0; i < n; ++i) {
        std::string l = "2026/0" + std::to_string(1 + rng() % 3) + "/1" + std::to_string(rng() % 3);
        for (int k = 0; k < 3; ++k) l += pieces[rng() % pieceCount];
        lines.push_back(l);
    }
    arrange(lines, order, rng);
    return lines;
}

TEST(LedgerRecords, BulkAddEqualsAddingOneByOne) {
    std::mt19937 rng(5);
    for (LineOrder order : kLineOrders) {
        for (int round = 0; round < 8; ++round) {
            const std::vector<std::string> lines = linesInOrder(rng, order, round % 2 == 1);
            // Into an empty list and into one that already holds a line; in one
            // piece and in chunks, as a file is read.
            for (bool seeded : {false, true}) {
                LedgerRecords one, bulk, chunked;
                if (seeded) {
                    for (LedgerRecords* r : {&one, &bulk, &chunked}) r->add("2026/02/10\tseed");
                }
                for (const auto& l : lines) one.add(l);
                bulk.addAll(lines);
                std::vector<RecordChunk> chunks(1);
                for (const auto& l : lines) {
                    if (chunks.back().size() == 700) chunks.emplace_back();
                    chunks.back().push(l);
                }
                chunked.addAll(std::move(chunks));
                const auto expected = contents(one);
                ASSERT_EQ(contents(bulk), expected) << orderName(order) << " round " << round;
                ASSERT_EQ(contents(chunked), expected) << orderName(order) << " round " << round;
                ASSERT_EQ(bulk.size(), one.size());
                ASSERT_EQ(chunked.size(), one.size());
                ASSERT_EQ(bulk[bulk.size() - 1], expected.back());
                ASSERT_EQ(chunked[chunked.size() - 1], expected.back());
            }
        }
    }
}

// A bulk add as a plain model: the lines reversed, then sorted stably, so
// that of equal lines the later stands first.
std::vector<std::string> addedAtOnce(std::vector<std::string> lines) {
    std::reverse(lines.begin(), lines.end());
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return compareRecordLines(a, b) < 0;
    });
    return lines;
}

// Lines the builder must rank, cut or merge: field 0 written otherwise or no
// date; days just under, at and over the size of one and two blocks; dates
// millennia apart. Few letters, so that many lines are equal.
std::vector<std::string> awkwardLines(std::mt19937& rng, int kind) {
    std::vector<std::string> lines;
    const char* odd[] = {"2026/2/3", "2026/02/03x", "26/02/03", "abc", "ABC", "2026/02/0", ""};
    const int dayCounts[] = {1, 1023, 1024, 1, 1025, 2047, 2048, 2049, 3, 4100, 1};
    for (int day = 0; day < 11; ++day) {
        for (int i = 0; i < (kind == 1 ? dayCounts[day] : 500); ++i) {
            std::string l = "2026/02/" + std::to_string(10 + day);
            if (kind == 0 && rng() % 4 == 0) l = odd[rng() % 7];
            if (kind == 2)
                l = (day % 2 ? "0001/01/0" : "9999/12/0") + std::to_string(1 + rng() % 9);
            if (rng() % 16 != 0) {
                l += "\t";
                l += "aAb"[rng() % 3];
                l += "aAb"[rng() % 3];
            }
            lines.push_back(l);
        }
    }
    return lines;
}

// Lines staged in the builder's own bytes, or copied one by one (as from a
// pipe), finished or stopped (by an error) and put in all the same; into an
// empty list or one that already holds lines: as the plain model.
TEST(RecordListBuilder, SortsAsAPlainModelInEveryOrder) {
    enum class Source { Staged, Copied, Stopped };
    std::mt19937 rng(8);
    for (int kind = 0; kind < 3; ++kind) {
        for (LineOrder order : kLineOrders) {
            std::vector<std::string> lines = awkwardLines(rng, kind);
            arrange(lines, order, rng);
            // A day given again at the end: the order breaks after days sorted.
            lines.push_back(lines[lines.size() / 2]);
            std::vector<std::string> held;  // a few lines already in the list
            for (std::size_t i = 0; i < lines.size(); i += 97) held.push_back(lines[i]);
            std::vector<std::string> all = held;
            all.insert(all.end(), lines.begin(), lines.end());
            for (Source source : {Source::Staged, Source::Copied, Source::Stopped}) {
                for (bool holding : {false, true}) {
                    const auto expected = addedAtOnce(holding ? all : lines);
                    LedgerRecords built;
                    if (holding) built.addAll(held);
                    {
                        RecordListBuilder builder(built, {},
                                                  source == Source::Staged ? 1 << 20 : 0);
                        for (const auto& l : lines) builder.add(l);
                        if (source != Source::Stopped) builder.finish();
                    }
                    const std::string what = std::to_string(kind) + " " + orderName(order) + " " +
                                             std::to_string(static_cast<int>(source)) +
                                             (holding ? " holding" : "");
                    ASSERT_EQ(contents(built), expected) << what;
                    ASSERT_EQ(built.size(), expected.size()) << what;
                    for (std::size_t i = 0; i < expected.size(); i += 1021)
                        ASSERT_EQ(built[i], expected[i]) << what << " at " << i;
                }
            }
        }
    }
}

TEST(LedgerRecords, IndexAndRemoveAcrossManyBlocks) {
    LedgerRecords r;
    std::vector<std::string> lines;
    for (int i = 0; i < 10000; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "2026/01/01\t%05d", i);
        lines.push_back(buf);
    }
    r.addAll(lines);
    for (int i = 0; i < 10000; i += 997)
        EXPECT_EQ(r[static_cast<std::size_t>(i)], lines[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 5000; ++i) r.removeAt(2000);
    EXPECT_EQ(r.size(), 5000u);
    EXPECT_EQ(r[1999], lines[1999]);
    EXPECT_EQ(r[2000], lines[7000]);
    for (int i = 0; i < 3000; ++i) r.add("2026/01/01\t03000b");
    EXPECT_EQ(r[2000], "2026/01/01\t03000b");
    EXPECT_EQ(r.lowerBound("2026/01/01\t07000"), 5000u);
}

TEST(LedgerRecords, DayIndicesFindCanonicalAndOddlyWrittenDatesOnly) {
    LedgerRecords r;
    r.add("2026/12/07\tbefore");
    r.add("2026/12/08\ta");
    r.add("2026/12/08");  // one field only: still that day
    r.add("2026/12/08x\tnot a date");
    r.add("2026/12/080\tnot a date");
    r.add("2026/12/8\todd");  // reads as the day, written otherwise
    r.add("2026/12/08\tb");
    r.add("2026/12/09\tafter");
    r.add("26/12/08\tshort year");
    std::vector<std::string> day;
    for (std::size_t i : r.indicesOfDay({2026, 12, 8})) day.emplace_back(r[i]);
    EXPECT_EQ(day, (std::vector<std::string>{"2026/12/08", "2026/12/08\ta", "2026/12/08\tb",
                                             "2026/12/8\todd", "26/12/08\tshort year"}));
    EXPECT_TRUE(r.indicesOfDay({2026, 12, 10}).empty());
    ASSERT_EQ(r.indicesOfDay({2026, 12, 9}).size(), 1u);
}

TEST(LedgerRecords, UndatedRecordsAreFoundWhereTheDayScanWouldMeetThem) {
    LedgerRecords r;
    r.add("2026/12/01\ta");
    r.add("2026/12/05\tb");
    EXPECT_EQ(r.undatedRecordBefore({2026, 12, 31}), nullptr);
    r.add("2026/12/03x\tbroken");
    ASSERT_NE(r.undatedRecordBefore({2026, 12, 3}), nullptr);
    EXPECT_EQ(*r.undatedRecordBefore({2026, 12, 3}), "2026/12/03x\tbroken");
    // The scan from the first record meets it before any later-dated record...
    EXPECT_NE(r.undatedRecordBefore({2026, 12, 2}), nullptr);
    // ...unless one stops it first, or after every dated record.
    EXPECT_EQ(r.undatedRecordBefore({2026, 11, 30}), nullptr);
    r.add("zzz\tafter every date");
    r.removeAt(r.lowerBound("2026/12/03x"));
    ASSERT_NE(r.undatedRecordBefore({2026, 12, 31}), nullptr);
    EXPECT_EQ(*r.undatedRecordBefore({2026, 12, 31}), "zzz\tafter every date");
    EXPECT_EQ(r.undatedRecordBefore({2026, 12, 4}), nullptr);
    r.removeAt(r.lowerBound("zzz"));
    r.removeAt(r.lowerBound("2026/12/03x"));
    EXPECT_EQ(r.undatedRecordBefore({2026, 12, 31}), nullptr);
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

// Adding, removing (one or many at once) and replacing at random keeps the list equal to a plain
// sorted vector, across block splits and the compaction of rewritten blocks.
TEST(LedgerRecords, StaysEqualToASimpleModelUnderRandomEdits) {
    std::mt19937 rng(11);
    LedgerRecords r;
    std::vector<std::string> model;
    auto modelAdd = [&](const std::string& l) {
        auto it = std::lower_bound(model.begin(), model.end(), l,
                                   [](const std::string& a, const std::string& b) {
                                       return compareRecordLines(a, b) < 0;
                                   });
        model.insert(it, l);
    };
    for (int step = 0; step < 20000; ++step) {
        const int op = static_cast<int>(rng() % 10);
        if (op < 6 || model.empty()) {
            std::string l = "2026/01/" + std::to_string(10 + rng() % 5) + "\t" +
                            std::string(1 + rng() % 40, "aAb表"[rng() % 4]);
            modelAdd(l);
            r.add(l);
        } else if (op < 9 && step % 1000 == 999) {  // many at once, whole blocks among them
            std::vector<std::size_t> indices;
            for (std::size_t i = rng() % 3; i < model.size(); i += 1 + rng() % 3000)
                indices.push_back(i);
            for (auto i = indices.rbegin(); i != indices.rend(); ++i)
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(*i));
            r.removeAll(indices);
        } else if (op < 9) {
            const std::size_t i = rng() % model.size();
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
            r.removeAt(i);
        } else {
            const std::size_t i = rng() % model.size();
            std::string l = model[i];
            l.back() = l.back() == 'a'   ? 'A'
                       : l.back() == 'A' ? 'a'
                                         : l.back();  // same place in the order
            model[i] = l;
            r.replaceAt(i, l);
        }
        if (step % 997 == 0) {
            ASSERT_EQ(contents(r), model) << step;
        }
    }
    ASSERT_EQ(contents(r), model);
    ASSERT_EQ(r.size(), model.size());
    for (std::size_t i = 0; i < model.size(); i += 101) ASSERT_EQ(r[i], model[i]);
}

}  // namespace
}  // namespace orvo
