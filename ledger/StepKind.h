#pragma once
// What a step of the ledger's history was: the name the Edit menu shows after
// "元に戻す: " and "やり直し: ".

#include <string>

namespace orvo {

enum class StepKind {
    CellEdit,       // a committed cell edit
    TitlePick,      // a title chosen from a drop-down list
    Phrase,         // a phrase appended to the description
    Calculator,     // a value sent from the calculator
    Move,           // "移動": the block cut to the clipboard
    Paste,
    Erase,
    InsertRows,
    DeleteRows,
    AppendRow,
    InsertColumns,
    DeleteColumns,
    AppendColumn,
    Sort,
    ColumnSettings,  // column titles and widths from the settings window
    DayChange,       // the day view written back at a change of date
    WriteBack,       // the day view written back before a save, search or print
    ShowDay,         // the picked day shown again
    CsvImport,
    BulkReplace,
    AddRecords,
    RewriteRecords,
    RemoveRecords,
    TitleRename,      // a title renamed in every record that has it
    StatementImport,  // the ticked rows of a statement added
};

// Steps of these kinds change what the day view shows rather than the ledger,
// unless they also moved records (a day change writing back the day's edits).
bool onlyShows(StepKind kind);

// The step's name, CP932 ("貼り付け", "一括置換").
std::string stepName(StepKind kind);

}  // namespace orvo
