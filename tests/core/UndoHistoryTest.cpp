// Every change of the ledger undone restores it exactly, and redone brings it
// back; the document's changed state follows the history.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "base/OrvoError.h"
#include "ledger/ClipboardBlock.h"
#include "ledger/CsvImport.h"
#include "ledger/LedgerBook.h"
#include "ledger/RowColumnOps.h"
#include "ledger/SearchList.h"
#include "ledger/SortRows.h"
#include "ledger/TitleRename.h"
#include "support/ScratchFolder.h"

namespace orvo {
namespace {

using Rng = std::mt19937;

struct Command {
    StepKind kind;
    std::function<void(LedgerBook&, Rng&, const std::string& folder)> run;
};

int pick(Rng& rng, int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(rng);
}

CellBlock randomBlock(const LedgerBook& book, Rng& rng) {
    const int left = pick(rng, 1, book.table().columnCount() - 1);
    const int top = pick(rng, 1, book.table().rowCount() - 1);
    return {left, top, pick(rng, left, book.table().columnCount() - 1),
            pick(rng, top, std::min(top + 2, book.table().rowCount() - 1))};
}

void onBlock(LedgerBook& book, Rng& rng, StepKind kind,
             const std::function<void(LedgerTable&)>& change) {
    book.setSelection(randomBlock(book, rng));
    book.changeDayView(kind, change);
}

const bool yes = true;
const ConfirmDelete confirm = [](const std::string&) { return yes; };

// Every command of the ledger, as the window and the command line run them.
const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {StepKind::CellEdit,
         [](LedgerBook& b, Rng& r, const std::string&) {
             const int col = pick(r, 1, b.table().columnCount() - 1);
             const char* texts[] = {"食費", "", "雑費\r\n二行", "120"};
             b.editCell(col, pick(r, 1, b.table().rowCount() - 1),
                        col == kColExpense || col == kColIncome ? std::to_string(pick(r, 0, 999))
                                                                : texts[pick(r, 0, 3)]);
         }},
        {StepKind::TitlePick,
         [](LedgerBook& b, Rng& r, const std::string&) {
             b.editCell(kColTitle1, pick(r, 1, b.table().rowCount() - 1), "交際費",
                        StepKind::TitlePick);
         }},
        {StepKind::Paste,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::Paste, [](LedgerTable& t) {
                 pasteAtSelection(t, "外食\t\t7\r\n日用品\t洗剤\t8\r\n");
             });
         }},
        {StepKind::Erase,
         [](LedgerBook& b, Rng& r, const std::string&) { onBlock(b, r, StepKind::Erase, erase); }},
        {StepKind::Move,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::Move, [](LedgerTable& t) { moveSelection(t); });
         }},
        {StepKind::InsertRows,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::InsertRows, insertRows);
         }},
        {StepKind::DeleteRows,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::DeleteRows, [](LedgerTable& t) { deleteRows(t, confirm); });
         }},
        {StepKind::AppendRow,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::AppendRow, appendRow);
         }},
        {StepKind::InsertColumns,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::InsertColumns, insertColumns);
         }},
        {StepKind::DeleteColumns,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::DeleteColumns,
                     [](LedgerTable& t) { deleteColumns(t, confirm); });
         }},
        {StepKind::AppendColumn,
         [](LedgerBook& b, Rng& r, const std::string&) {
             onBlock(b, r, StepKind::AppendColumn, appendColumn);
         }},
        {StepKind::Sort,
         [](LedgerBook& b, Rng& r, const std::string&) {
             const int key = pick(r, 1, b.table().columnCount() - 1);
             const SortOrder order = pick(r, 0, 1) ? SortOrder::Ascending : SortOrder::Descending;
             b.changeDayView(StepKind::Sort, [&](LedgerTable& t) { sortRows(t, key, order); });
         }},
        {StepKind::DayChange,
         [](LedgerBook& b, Rng& r, const std::string&) {
             b.goToDay({2026, 12, pick(r, 6, 10)});
         }},
        {StepKind::BulkReplace,
         [](LedgerBook& b, Rng& r, const std::string&) {
             b.Recalculate();
             SearchList list;
             const char* keys[] = {"食", "0", "2026/12/0"};  // the last moves records by date
             const char* key = keys[pick(r, 0, 2)];
             list.search(b.records(), key);
             replaceListed(b, list, key, pick(r, 0, 1) ? "9" : "2026/12/1");
         }},
        {StepKind::TitleRename,
         [](LedgerBook& b, Rng&, const std::string&) {
             renameTitleInRecords(b, {"食費", ""}, "食料費");
         }},
        {StepKind::AddRecords,
         [](LedgerBook& b, Rng& r, const std::string&) {
             b.addRecords({"2026/12/0" + std::to_string(pick(r, 6, 9)) + "\t医療費\t\t30\t0\t",
                           "2026/12/08\tA\t\t1\t0\t"});
         }},
        {StepKind::RemoveRecords,
         [](LedgerBook& b, Rng& r, const std::string&) {
             if (!b.records().empty())
                 b.removeRecords({static_cast<std::size_t>(pick(r, 0, 9)) % b.records().size()});
         }},
        {StepKind::CsvImport,
         [](LedgerBook& b, Rng&, const std::string& folder) {
             const std::string csv = folder + "/in.csv";
             std::ofstream(csv, std::ios::binary)
                 << "2026/12/08,食費,,15,0,\r\n2026/12/09,a,,1,2,\r\n";
             importCsv(b, csv, {[] { return false; }, {}});
         }},
    };
    return all;
}

class UndoHistory : public ::testing::Test {
protected:
    void SetUp() override {
        // Enough records for the bulk replace to take its whole-list path.
        book.startNewLedger();
        std::vector<std::string> lines;
        for (int i = 0; i < 1100; ++i)
            lines.push_back("2026/12/" + std::string(i % 2 ? "07" : "08") + "\t食費\t" +
                            (i % 3 ? "a" : "A") + "\t" + std::to_string(i) + "\t0\t");
        book.setPickedDay({2026, 12, 8});
        book.addRecords(lines);
        book.SaveLedgerAs(at("start.dat"));
        book.openDataFile(at("start.dat"), LedgerBook::OpenMode::ForWriting);
    }

    // A command whose result the day view refuses to show (a bulk replace
    // that broke dates, say) has still changed the ledger: a step to undo.
    void runCommand(const Command& command, Rng& rng) {
        try {
            command.run(book, rng, dir.str());
        } catch (const OrvoError&) {
        }
    }

    std::string at(const std::string& name) const { return (dir / name).string(); }

    // Everything the ledger and its day view hold, but the selection.
    std::string state() const {
        std::ostringstream out;
        book.records().forEach([&](std::string_view line) { out << line << '\n'; });
        const LedgerTable& t = book.table();
        for (int r = 0; r < t.rowCount(); ++r) {
            out << t.rowHeight(r) << '|';
            for (int c = 0; c < t.columnCount(); ++c) out << t.cell(c, r) << '\t';
        }
        for (int c = 0; c < t.columnCount(); ++c) out << t.columnWidth(c) << ',';
        const Totals& s = book.totals();
        out << book.pickedDay().format() << s.dayOut << ' ' << s.dayIn << ' ' << s.allOut << ' '
            << s.allIn << book.dayViewChanged() << book.dayOutText() << book.allZanText();
        return out.str();
    }

    std::string savedBytes(const std::string& name) {
        book.SaveLedgerAs(at(name));
        std::ifstream in(at(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing::ScratchFolder dir{"undo"};
    LedgerBook book;
};

TEST_F(UndoHistory, EveryCommandUndoneAndRedoneRestoresTheLedgerExactly) {
    for (const Command& command : commands()) {
        SCOPED_TRACE(stepName(command.kind));
        for (unsigned seed = 0; seed < 4; ++seed) {
            book.openDataFile(at("start.dat"), LedgerBook::OpenMode::ForWriting);
            Rng rng(seed);
            const std::string before = state();
            runCommand(command, rng);
            const std::string after = state();
            if (after == before) continue;  // nothing to change (a row of empty cells erased)
            ASSERT_EQ(book.undoKind(), command.kind);
            EXPECT_TRUE(book.modified());
            book.undo();
            EXPECT_TRUE(state() == before);
            EXPECT_FALSE(book.modified());
            EXPECT_EQ(book.redoKind(), command.kind);
            book.redo();
            EXPECT_TRUE(state() == after);
            EXPECT_TRUE(book.modified());
        }
    }
}

TEST_F(UndoHistory, ARandomRunUndoneAndRedoneSavesByteForByteAsItStartedAndEnded) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        book.openDataFile(at("start.dat"), LedgerBook::OpenMode::ForWriting);
        const std::string start = savedBytes("a.dat");
        Rng rng(seed);
        for (int i = 0; i < 60; ++i) {
            // Undo and redo among the changes, the view moving in between.
            if (const int travel = pick(rng, 0, 5); travel < 2) {
                travel == 0 ? book.undo() : book.redo();
                continue;
            }
            const Command& c = commands()[static_cast<std::size_t>(
                pick(rng, 0, static_cast<int>(commands().size()) - 1))];
            runCommand(c, rng);
        }
        while (book.canRedo()) book.redo();
        const std::string end = savedBytes("b.dat");
        const std::string endState = state();
        // A second save writes the same (the day view's folded records kept).
        EXPECT_TRUE(savedBytes("b2.dat") == end);
        while (book.canUndo()) book.undo();
        EXPECT_TRUE(savedBytes("c.dat") == start);
        while (book.canRedo()) book.redo();
        EXPECT_TRUE(state() == endState);
        EXPECT_TRUE(savedBytes("d.dat") == end);
    }
}

TEST_F(UndoHistory, TheChangedStateFollowsTheHistoryAcrossSavesAndNewChangesDropRedo) {
    EXPECT_FALSE(book.modified());
    EXPECT_FALSE(book.canUndo());
    book.goToDay({2026, 12, 7});  // only looking, before any change
    book.editCell(kColDescription, 1, "x");
    const std::string edited = state();
    book.goToDay({2026, 12, 9});  // writes the edit back: a step of its own
    EXPECT_EQ(book.undoKind(), StepKind::DayChange);
    book.undo();
    EXPECT_EQ(book.pickedDay(), (LedgerDate{2026, 12, 7}));
    EXPECT_EQ(book.table().cell(kColDescription, 1), "x");
    book.undo();
    EXPECT_FALSE(book.modified());
    book.goToDay({2026, 12, 10});  // only looking: the steps undone stay
    ASSERT_TRUE(book.canRedo());
    book.redo();
    EXPECT_TRUE(state() == edited);
    savedBytes("saved.dat");
    EXPECT_FALSE(book.modified());
    EXPECT_TRUE(book.canUndo());  // a save is no step and keeps the history
    book.undo();
    EXPECT_TRUE(book.modified());
    book.editCell(kColDescription, 2, "y");
    EXPECT_FALSE(book.canRedo());
}

TEST_F(UndoHistory, LookingAtOtherDaysBetweenUndosKeepsRedoExact) {
    book.goToDay({2026, 12, 9});  // a day of few rows: its steps hold single cells
    book.addRecords({"2026/12/09\tX\t\t1\t0\t"});
    book.addRecords({"2026/12/09\tY\t\t2\t0\t"});
    const std::string end = state();
    book.undo();
    book.goToDay({2026, 12, 10});  // only looking
    book.undo();
    book.goToDay({2026, 12, 11});
    EXPECT_FALSE(book.canUndo());
    while (book.canRedo()) book.redo();
    EXPECT_TRUE(state() == end);
}

TEST_F(UndoHistory, TheOldestStepsGoBeyondAThousand) {
    for (int i = 0; i < 1005; ++i) book.editCell(kColDescription, 1, std::to_string(i));
    int undone = 0;
    while (book.canUndo()) {
        book.undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(LedgerHistory::kMostSteps));
    EXPECT_EQ(book.table().cell(kColDescription, 1), "4");
    EXPECT_TRUE(book.modified());  // the ledger as opened can no longer be reached
}

}  // namespace
}  // namespace orvo
