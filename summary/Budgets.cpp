#include "summary/Budgets.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/Amount.h"
#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "summary/TitleRule.h"

namespace orvo::summary {

namespace {

const char kName[] = "予算.txt";
const char8_t kNativeName[] = u8"予算.txt";

// A budget line's amount: a whole number from 0 up, blanks around allowed.
std::optional<std::int32_t> budgetAmount(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    const std::optional<std::int32_t> value = parseAmount(text);
    if (!value || *value < 0) return std::nullopt;
    return value;
}

}  // namespace

std::string budgetFileName() {
    return kName;
}

std::string budgetFilePath(const std::string& folder) {
    const std::string bare(reinterpret_cast<const char*>(kNativeName));
    if (folder.empty()) return bare;
    return (std::filesystem::path(folder) / bare).string();
}

void setBudget(std::vector<Budget>& budgets, const std::string& title,
               std::optional<std::int32_t> amount) {
    const auto found = std::find_if(budgets.begin(), budgets.end(),
                                    [&](const Budget& b) { return b.title == title; });
    if (!amount) {
        if (found != budgets.end()) budgets.erase(found);
    } else if (found != budgets.end()) {
        found->amount = *amount;
    } else {
        budgets.push_back({title, *amount});
    }
}

ParsedBudgets parseBudgets(std::string_view bytes) {
    ParsedBudgets parsed;
    std::size_t lineNo = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(pos, end - pos);
        // CR LF, CR or LF ends a line.
        pos = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++lineNo;
        if (line.empty()) continue;
        const std::size_t tab = line.rfind('\t');
        const std::optional<std::int32_t> amount =
            tab == std::string_view::npos ? std::nullopt : budgetAmount(line.substr(tab + 1));
        if (!amount) {
            if (parsed.firstBadLine == 0) parsed.firstBadLine = lineNo;
            continue;
        }
        setBudget(parsed.budgets, std::string(line.substr(0, tab)), amount);
    }
    return parsed;
}

void ReadBudgets(std::vector<Budget>& into, const std::string& path) {
    into.clear();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return;
    OwnedFile file = openForReading(path);
    std::string bytes;
    char buffer[1 << 14];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get()) != 0) throw cannotOpenFile(kName);
    ParsedBudgets parsed = parseBudgets(bytes);
    into = std::move(parsed.budgets);
    if (parsed.firstBadLine != 0)
        throw OrvoError(std::string(kName) + " の " + std::to_string(parsed.firstBadLine) +
                        " 行目は読めません");
}

std::string budgetFileText(const std::vector<Budget>& budgets) {
    std::string text;
    for (const Budget& b : budgets) text += b.title + "\t" + std::to_string(b.amount) + "\r\n";
    return text;
}

void SaveBudgets(const std::vector<Budget>& budgets, const std::string& path) {
    writeFileAtomically(path, budgetFileText(budgets));
}

MonthBudget BudgetOfMonth(const YearSummary& summary, const std::vector<Budget>& budgets,
                          const std::vector<std::string>& listedTitles, int month) {
    std::vector<std::string> names;
    for (const Budget& b : budgets) names.push_back(b.title);
    MonthBudget result;
    result.total.title = "合計";
    const std::size_t m = static_cast<std::size_t>(month - 1);
    for (std::size_t i : listedFirstOrder(names, listedTitles)) {
        BudgetRow row{budgets[i].title, budgets[i].amount, 0, 0};
        const auto spent = std::find_if(summary.rows.begin(), summary.rows.end(),
                                        [&](const SummaryRow& r) { return r.title == row.title; });
        if (spent != summary.rows.end()) row.spent = spent->expense[m];
        row.remaining = wrapSub(row.budget, row.spent);
        result.total.budget = wrapAdd(result.total.budget, row.budget);
        result.total.spent = wrapAdd(result.total.spent, row.spent);
        result.total.remaining = wrapAdd(result.total.remaining, row.remaining);
        result.rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace orvo::summary
