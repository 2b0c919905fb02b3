#pragma once
// The user's title rules: "摘要に含まれる文字 → 勘定科目1 / 勘定科目2", in order,
// kept in "取り込み規則.txt" beside the title files (CP932, one rule a line:
// KEYWORD TAB TITLE1 TAB TITLE2, CR LF). A missing file is no rules.

#include <string>
#include <string_view>
#include <vector>

namespace orvo::statement {

struct ImportRule {
    std::string keyword;  // CP932
    std::string title1;
    std::string title2;
    bool operator==(const ImportRule&) const = default;
};

// The file's name (CP932) and its path in `folder` (native; empty: the current folder).
std::string rulesFileName();
std::string rulesFilePath(const std::string& folder = {});

// The rules of the file `path`; none when it does not exist. Lines without a
// keyword or a level-1 title are passed over.
std::vector<ImportRule> readRules(const std::string& path);

// The file text of `rules`.
std::string rulesFileText(const std::vector<ImportRule>& rules);

// Writes the file whole or not at all.
void saveRules(const std::vector<ImportRule>& rules, const std::string& path);

// The first rule whose keyword, folded, is in the folded description, or nullptr.
const ImportRule* matchingRule(const std::vector<ImportRule>& rules,
                               std::string_view foldedDescription);

}  // namespace orvo::statement
