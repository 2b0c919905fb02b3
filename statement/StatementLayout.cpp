#include "statement/StatementLayout.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/AtomicFile.h"
#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "statement/EmbeddedLayouts.h"
#include "statement/StatementCells.h"
#include "statement/StatementText.h"

namespace orvo::statement {

namespace {

const char* const kNameKey = "名前";
const char* const kKeywordsKey = "見出し";
const char* const kSignKey = "符号";
const char* const kNegativeIsExpense = "負が支出";
const char* const kPositiveIsExpense = "正が支出";

OrvoError badLayout(std::string_view fileName, std::string_view reason) {
    return OrvoError("明細の形式 " + std::string(fileName) + " を読めません (" +
                     std::string(reason) + ")");
}

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        parts.emplace_back(trimBlanks(line.substr(start, tab - start)));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return parts;
}

}  // namespace

std::string roleKey(ColumnRole role) {
    switch (role) {
        case ColumnRole::Date:
            return "日付";
        case ColumnRole::Description:
            return "摘要";
        case ColumnRole::Expense:
            return "支出";
        case ColumnRole::Income:
            return "収入";
        case ColumnRole::Amount:
            return "金額";
        case ColumnRole::Kind:
            return "区分";
        case ColumnRole::Balance:
            return "残高";
    }
    return {};
}

StatementLayout parseLayout(std::string_view bytes, std::string_view fileName) {
    StatementLayout layout;
    bool keywordsGiven = false;
    for (const TextLine& line : decodeText(bytes).lines) {
        const std::vector<std::string> parts = splitTabs(line.text);
        if (parts.size() < 2 || parts[0].empty()) continue;
        const std::string& key = parts[0];
        if (key == kNameKey) {
            layout.name = parts[1];
        } else if (key == kKeywordsKey) {
            keywordsGiven = true;
            for (std::size_t i = 1; i < parts.size(); ++i)
                if (!parts[i].empty()) layout.keywords.push_back(parts[i]);
        } else if (key == kSignKey) {
            if (parts[1] == kPositiveIsExpense)
                layout.sign = AmountSign::PositiveIsExpense;
            else if (parts[1] == kNegativeIsExpense)
                layout.sign = AmountSign::NegativeIsExpense;
            else
                throw badLayout(fileName, parts[1]);
        } else {
            for (ColumnRole role : kAllRoles) {
                if (key != roleKey(role) || parts[1].empty()) continue;
                LayoutColumn column{role, parts[1], -1};
                const std::string& ref = parts[1];
                if (ref.size() > 1 && ref[0] == '#' &&
                    std::all_of(ref.begin() + 1, ref.end(),
                                [](char c) { return c >= '0' && c <= '9'; }) &&
                    ref.size() <= 4) {
                    column.position = std::atoi(ref.c_str() + 1) - 1;
                    column.header.clear();
                    if (column.position < 0) throw badLayout(fileName, ref);
                }
                layout.columns.push_back(std::move(column));
            }
        }
    }
    auto has = [&](ColumnRole role) {
        return std::any_of(layout.columns.begin(), layout.columns.end(),
                           [role](const LayoutColumn& c) { return c.role == role; });
    };
    if (layout.name.empty()) throw badLayout(fileName, kNameKey);
    if (!has(ColumnRole::Date)) throw badLayout(fileName, roleKey(ColumnRole::Date));
    if (!has(ColumnRole::Expense) && !has(ColumnRole::Income) && !has(ColumnRole::Amount))
        throw badLayout(fileName, roleKey(ColumnRole::Amount));
    if (!keywordsGiven)
        for (const LayoutColumn& c : layout.columns)
            if (!c.header.empty() && c.role != ColumnRole::Balance)
                layout.keywords.push_back(c.header);
    return layout;
}

std::string layoutFileText(const StatementLayout& layout) {
    std::string text = std::string(kNameKey) + "\t" + layout.name + "\r\n";
    if (!layout.keywords.empty()) {
        text += kKeywordsKey;
        for (const std::string& k : layout.keywords) text += "\t" + k;
        text += "\r\n";
    }
    for (const LayoutColumn& c : layout.columns)
        text += roleKey(c.role) + "\t" +
                (c.position >= 0 ? "#" + std::to_string(c.position + 1) : c.header) + "\r\n";
    text +=
        std::string(kSignKey) + "\t" +
        (layout.sign == AmountSign::PositiveIsExpense ? kPositiveIsExpense : kNegativeIsExpense) +
        "\r\n";
    return text;
}

const std::vector<StatementLayout>& builtInLayouts() {
    static const std::vector<StatementLayout> layouts = [] {
        std::vector<StatementLayout> all;
        for (const EmbeddedLayoutFile& file : embeddedLayoutFiles()) {
            all.push_back(parseLayout(file.bytes, file.name));
            all.back().builtIn = true;
        }
        return all;
    }();
    return layouts;
}

std::string userLayoutFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config) {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : ".") + "/.config";
    }
    return folder + "/orvokakei/layouts";
}

std::string readWholeFile(const std::string& path) {
    std::size_t size = 0;
    OwnedFile file = openForReading(path, &size);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) throw cannotOpenFile(path);
    return bytes;
}

StatementLayout readLayoutFile(const std::string& path) {
    return parseLayout(readWholeFile(path), std::filesystem::path(path).filename().string());
}

std::vector<StatementLayout> availableLayouts(const std::string& folder) {
    std::vector<StatementLayout> layouts;
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".txt" && entry.is_regular_file(ec))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        try {
            layouts.push_back(readLayoutFile(file));
        } catch (const OrvoError&) {
            // A broken file of the user's does not keep the others from being used.
        }
    }
    layouts.insert(layouts.end(), builtInLayouts().begin(), builtInLayouts().end());
    return layouts;
}

const StatementLayout* layoutNamed(const std::vector<StatementLayout>& layouts,
                                   std::string_view name) {
    for (const StatementLayout& layout : layouts)
        if (layout.name == name) return &layout;
    return nullptr;
}

void saveUserLayout(const StatementLayout& layout, const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // Named after the layout, in the native (UTF-8) form, without path separators.
    std::string fileName;
    for (char c : cp932::toUtf8(layout.name))
        if (c != '/' && c != '\0') fileName += c;
    writeFileAtomically(folder + "/" + fileName + ".txt", layoutFileText(layout));
}

}  // namespace orvo::statement
