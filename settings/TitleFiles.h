#pragma once
// The two account-title files in the working folder:
//   level-1 file: one level-1 title per line;
//   level-2 file: per line a level-2 title, a comma, and the 0-based line
//                 index of its level-1 title in the level-1 file.
// Both CP932, every line ended by CR LF; read with CR LF, CR or LF as line end.
//
// Folders are native paths (UTF-8 bytes); an empty folder is the process's
// current directory, where the program keeps these files. Error messages name
// a file by its bare name, as the program opens it.
//
// The readers fill what they have read before they throw, so a caller can
// show the error and keep the titles read so far.

#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "settings/TitleForest.h"

namespace orvo {

struct Level2Title {
    std::string title;
    int parentIndex = 0;  // line index in the level-1 file
    bool operator==(const Level2Title&) const = default;
};

// What the main window's two pick lists are filled from.
struct TitleLists {
    std::vector<std::string> level1;  // in file order
    std::vector<Level2Title> level2;  // in file order
    bool operator==(const TitleLists&) const = default;

    // The level-2 titles whose parent is the level-1 title at `parentIndex`, in file order.
    std::vector<std::string> level2Under(int parentIndex) const;
    // Whether `title2` is listed under the level-1 title `title1` (exact texts).
    bool listsUnder(std::string_view title1, std::string_view title2) const;
};

// The two file names: as CP932 text for messages, and as native path in `folder`.
std::string level1FileName();
std::string level2FileName();
std::string level1FilePath(const std::string& folder);
std::string level2FilePath(const std::string& folder);

// True when neither title file exists in `folder`; the program then works with
// the bundled default titles until the user saves their own.
bool titleFilesMissing(const std::string& folder);

// The one reading of level-2 lines, shared by the tree and the pick lists.
// Each line is split at its last comma into title and parent index (so a title
// may hold commas and blanks). Appends to `into`; a parent index that is no
// whole number throws "'%s' は整数ではありません" with the lines before it kept.
// Lines no title would be lost on:
//   - an empty line holds no title and is skipped;
//   - a line without a comma is a title of the same parent as the line before
//     it (level-1 title 0 when it is the first);
//   - with `level1Count` > 0, a parent index below 0 counts as 0 and one past
//     the last level-1 title as the last, so every title has a parent to show under.
void readLevel2Lines(std::vector<Level2Title>& into, const std::vector<std::string>& lines,
                     std::size_t level1Count);

// Reads the level-1 file's lines; "ファイル %s は開けません" when it is missing or unreadable.
std::vector<std::string> ReadLevel1File(const std::string& folder);
// Reads the level-2 file into `into` as readLevel2Lines does; "ファイル %s は開けません"
// when it is missing or unreadable.
void ReadLevel2File(std::vector<Level2Title>& into, const std::string& folder,
                    std::size_t level1Count);

// Fills `into` (emptied first) from both files, or with the bundled default
// titles when neither exists. Throws as the two readers do, keeping what was read.
void ReadTitleLists(TitleLists& into, const std::string& folder = {});

// Clears `forest` and fills it from both files: the level-1 titles as top-level
// titles, each level-2 title as the last child of its parent. Neither file
// present: the bundled default titles. Throws, keeping what was read:
//   missing level-1 file   "ファイル %s は開けません", forest empty;
//   empty level-1 file     "リストのインデックスが範囲を超えています (0)", forest empty;
//   missing level-2 file   "ファイル %s は開けません", level-1 titles only;
//   bad parent index       "'%s' は整数ではありません", the lines before it added.
void LoadTitleTree(TitleForest& forest, const std::string& folder = {});

// Builds both file texts from `forest` in display order: each top-level title
// is a level-1 line; every title below it, at any depth, a level-2 line of it.
TitleLists TitleListsOf(const TitleForest& forest);
std::string level1FileText(const TitleLists& lists);
std::string level2FileText(const TitleLists& lists);

// Writes both files from `forest`, each replaced whole or not at all. A file
// that cannot be written throws "ファイル %s を作成できません"; the level-1
// file, written first, stays written when the level-2 file fails.
// `faults` apply to each file's write (tests only).
void SaveTitleTree(const TitleForest& forest, const std::string& folder = {},
                   const WriteFaults& level1Faults = {}, const WriteFaults& level2Faults = {});

}  // namespace orvo
