#include "settings/TitleFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/Amount.h"
#include "base/LineReader.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "settings/DefaultTitles.h"

namespace orvo {

namespace {

// The names as CP932 text (this file's narrow literals are CP932) and as the
// native UTF-8 file names.
const char kLevel1Name[] = "勘定科目1.txt";
const char kLevel2Name[] = "勘定科目2.txt";
const char8_t kLevel1NativeName[] = u8"勘定科目1.txt";
const char8_t kLevel2NativeName[] = u8"勘定科目2.txt";

std::string inFolder(const std::string& folder, const char8_t* name) {
    const std::string bare(reinterpret_cast<const char*>(name));
    if (folder.empty()) return bare;
    return (std::filesystem::path(folder) / bare).string();
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// A title file that is gone by now is one that "cannot be opened", as ever.
std::vector<std::string> readLines(const std::string& path, const std::string& nameForMessage) {
    if (!exists(path)) throw cannotOpenFile(nameForMessage);
    return readTextLines(path, nameForMessage);
}

int clampParent(int index, std::size_t level1Count) {
    if (level1Count == 0) return index;
    if (index < 0) return 0;
    if (static_cast<std::size_t>(index) >= level1Count) return static_cast<int>(level1Count) - 1;
    return index;
}

void fillForest(TitleForest& forest, const std::vector<std::string>& level1) {
    for (const std::string& title : level1) forest.addLastChild(kNoTitle, title);
}

void addLevel2(TitleForest& forest, const std::vector<Level2Title>& level2) {
    const std::vector<TitleId> parents = forest.children(kNoTitle);
    for (const Level2Title& t : level2)
        forest.addLastChild(parents.at(static_cast<std::size_t>(t.parentIndex)), t.title);
}

void writeTitleFile(const std::string& path, const std::string& nameForMessage,
                    std::string_view text, const WriteFaults& faults) {
    try {
        writeFileAtomically(path, text, faults);
    } catch (const OrvoError&) {
        // The title files' one failure text, whichever step of the write failed.
        throw cannotCreateFile(nameForMessage);
    }
}

}  // namespace

std::vector<std::string> TitleLists::level2Under(int parentIndex) const {
    std::vector<std::string> titles;
    for (const Level2Title& t : level2)
        if (t.parentIndex == parentIndex) titles.push_back(t.title);
    return titles;
}

bool TitleLists::listsUnder(std::string_view title1, std::string_view title2) const {
    const auto parent = std::find(level1.begin(), level1.end(), title1);
    if (parent == level1.end()) return false;
    const int parentIndex = static_cast<int>(parent - level1.begin());
    return std::any_of(level2.begin(), level2.end(), [&](const Level2Title& t) {
        return t.parentIndex == parentIndex && t.title == title2;
    });
}

std::string level1FileName() {
    return kLevel1Name;
}
std::string level2FileName() {
    return kLevel2Name;
}
std::string level1FilePath(const std::string& folder) {
    return inFolder(folder, kLevel1NativeName);
}
std::string level2FilePath(const std::string& folder) {
    return inFolder(folder, kLevel2NativeName);
}

bool titleFilesMissing(const std::string& folder) {
    return !exists(level1FilePath(folder)) && !exists(level2FilePath(folder));
}

void readLevel2Lines(std::vector<Level2Title>& into, const std::vector<std::string>& lines,
                     std::size_t level1Count) {
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        // A comma is never the trail byte of a CP932 character, so the last
        // comma byte is the last comma character.
        const std::size_t comma = line.rfind(',');
        if (comma == std::string::npos) {
            into.push_back({line, into.empty() ? 0 : into.back().parentIndex});
            continue;
        }
        const std::string indexText = line.substr(comma + 1);
        const auto index = parseAmount(indexText);
        if (!index) throw notAnInteger(indexText);
        into.push_back({line.substr(0, comma), clampParent(*index, level1Count)});
    }
}

std::vector<std::string> ReadLevel1File(const std::string& folder) {
    return readLines(level1FilePath(folder), kLevel1Name);
}

void ReadLevel2File(std::vector<Level2Title>& into, const std::string& folder,
                    std::size_t level1Count) {
    readLevel2Lines(into, readLines(level2FilePath(folder), kLevel2Name), level1Count);
}

void ReadTitleLists(TitleLists& into, const std::string& folder) {
    into = TitleLists{};
    if (titleFilesMissing(folder)) {
        into = DefaultTitleLists();
        return;
    }
    into.level1 = ReadLevel1File(folder);
    ReadLevel2File(into.level2, folder, into.level1.size());
}

void LoadTitleTree(TitleForest& forest, const std::string& folder) {
    forest.clear();
    if (titleFilesMissing(folder)) {
        const TitleLists defaults = DefaultTitleLists();
        fillForest(forest, defaults.level1);
        addLevel2(forest, defaults.level2);
        return;
    }
    const std::vector<std::string> level1 = ReadLevel1File(folder);
    // Line 0 is taken first, so an empty file fails on it.
    if (level1.empty()) throw listIndexOutOfBounds(0);
    fillForest(forest, level1);
    std::vector<Level2Title> level2;
    try {
        ReadLevel2File(level2, folder, level1.size());
    } catch (const OrvoError&) {
        addLevel2(forest, level2);
        throw;
    }
    addLevel2(forest, level2);
}

TitleLists TitleListsOf(const TitleForest& forest) {
    TitleLists lists;
    int k = -1;
    for (TitleId id : forest.displayOrder()) {
        if (forest.parent(id) == kNoTitle) {
            lists.level1.push_back(forest.text(id));
            ++k;
        } else {
            lists.level2.push_back({forest.text(id), k});
        }
    }
    return lists;
}

std::string level1FileText(const TitleLists& lists) {
    std::string text;
    for (const std::string& title : lists.level1) text += title + "\r\n";
    return text;
}

std::string level2FileText(const TitleLists& lists) {
    std::string text;
    for (const Level2Title& t : lists.level2)
        text += t.title + "," + std::to_string(t.parentIndex) + "\r\n";
    return text;
}

void SaveTitleTree(const TitleForest& forest, const std::string& folder,
                   const WriteFaults& level1Faults, const WriteFaults& level2Faults) {
    const TitleLists lists = TitleListsOf(forest);
    writeTitleFile(level1FilePath(folder), kLevel1Name, level1FileText(lists), level1Faults);
    writeTitleFile(level2FilePath(folder), kLevel2Name, level2FileText(lists), level2Faults);
}

}  // namespace orvo
