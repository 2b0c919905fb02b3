#include "statement/ImportRules.h"

#include <filesystem>

#include "base/AtomicFile.h"
#include "base/Cp932.h"
#include "statement/FoldText.h"
#include "statement/StatementLayout.h"

namespace orvo::statement {

std::string rulesFileName() {
    return "取り込み規則.txt";
}

std::string rulesFilePath(const std::string& folder) {
    const std::string name = cp932::toUtf8(rulesFileName());
    return folder.empty() ? name : folder + "/" + name;
}

std::vector<ImportRule> readRules(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    const std::string bytes = readWholeFile(path);
    std::vector<ImportRule> rules;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string_view line = std::string_view(bytes).substr(start, end - start);
        start = end + 1;
        ImportRule rule;
        const std::size_t tab1 = line.find('\t');
        if (tab1 == std::string_view::npos) continue;
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        rule.keyword = line.substr(0, tab1);
        rule.title1 =
            line.substr(tab1 + 1, tab2 == std::string_view::npos ? tab2 : tab2 - tab1 - 1);
        if (tab2 != std::string_view::npos) {
            const std::string_view rest = line.substr(tab2 + 1);
            rule.title2 = rest.substr(0, rest.find('\t'));
        }
        if (rule.keyword.empty() || rule.title1.empty() || foldForMatching(rule.keyword).empty())
            continue;
        rules.push_back(std::move(rule));
    }
    return rules;
}

std::string rulesFileText(const std::vector<ImportRule>& rules) {
    // A TAB or line break inside a field would cut the rule: written as a blank
    // (no CP932 trail byte is one of them).
    auto field = [](std::string text) {
        for (char& c : text)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        return text;
    };
    std::string text;
    for (const ImportRule& r : rules)
        text += field(r.keyword) + "\t" + field(r.title1) + "\t" + field(r.title2) + "\r\n";
    return text;
}

void saveRules(const std::vector<ImportRule>& rules, const std::string& path) {
    writeFileAtomically(path, rulesFileText(rules));
}

const ImportRule* matchingRule(const std::vector<ImportRule>& rules,
                               std::string_view foldedDescription) {
    for (const ImportRule& rule : rules) {
        const std::string keyword = foldForMatching(rule.keyword);
        if (!keyword.empty() && foldedDescription.find(keyword) != std::string_view::npos)
            return &rule;
    }
    return nullptr;
}

}  // namespace orvo::statement
