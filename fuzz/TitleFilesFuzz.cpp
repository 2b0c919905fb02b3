// The two account-title files, read into the pick lists and into the
// settings window's title tree. Input: one byte choosing which files exist,
// then the level-1 file's bytes, a NUL, the level-2 file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "settings/TitleFiles.h"
#include "settings/TitleForest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string& folder = orvo::fuzz::scratchFolder();
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = std::min(rest.find('\0'), rest.size());
    const std::string level1 = orvo::level1FilePath(folder);
    const std::string level2 = orvo::level2FilePath(folder);
    orvo::fuzz::removeFile(level1);
    orvo::fuzz::removeFile(level2);
    if (data[0] & 1) orvo::fuzz::writeFile(level1, rest.substr(0, cut));
    if (data[0] & 2) orvo::fuzz::writeFile(level2, rest.substr(std::min(cut + 1, rest.size())));

    orvo::TitleLists lists;
    try {
        orvo::ReadTitleLists(lists, folder);
    } catch (const orvo::OrvoError&) {
    }
    for (int i = -1; i <= static_cast<int>(lists.level1.size()); ++i) (void)lists.level2Under(i);

    orvo::TitleForest forest;
    try {
        orvo::LoadTitleTree(forest, folder);
    } catch (const orvo::OrvoError&) {
    }
    // What a save would write of the tree read.
    const orvo::TitleLists saved = orvo::TitleListsOf(forest);
    (void)orvo::level1FileText(saved);
    (void)orvo::level2FileText(saved);
    return 0;
}
