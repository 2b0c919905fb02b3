#include "statement/StatementReader.h"

#include <algorithm>

#include "base/OrvoError.h"
#include "statement/StatementCells.h"
#include "statement/StatementValues.h"

namespace orvo::statement {

namespace {

// Lines looked at for the separator and the header row.
constexpr std::size_t kHeaderSearchLines = 200;

OrvoError noLayoutRecognised() {
    return OrvoError("明細の形式を判別できません");
}
OrvoError noHeaderLine() {
    return OrvoError("明細の見出し行が見つかりません");
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool holdsAll(const std::vector<std::string>& cells, const std::vector<std::string>& keywords) {
    return !keywords.empty() &&
           std::all_of(keywords.begin(), keywords.end(), [&](const std::string& k) {
               return std::find(cells.begin(), cells.end(), k) != cells.end();
           });
}

char separatorOf(const DecodedText& text) {
    std::size_t tabs = 0;
    std::size_t commas = 0;
    for (std::size_t i = 0; i < text.lines.size() && i < kHeaderSearchLines; ++i) {
        const std::string& line = text.lines[i].text;
        if (line.find_first_of(",\t") == std::string::npos) continue;
        (detectSeparator(line) == '\t' ? tabs : commas) += 1;
    }
    return tabs > commas ? '\t' : ',';
}

// The column each role reads, -1 when the statement has none.
struct Columns {
    int date = -1;
    std::vector<int> description;
    int expense = -1;
    int income = -1;
    int amount = -1;
    int kind = -1;
    int balance = -1;
};

Columns resolve(const StatementLayout& layout, const std::vector<std::string>& header) {
    Columns c;
    for (const LayoutColumn& column : layout.columns) {
        int index = column.position;
        if (index < 0) {
            const auto it = std::find(header.begin(), header.end(), column.header);
            if (it == header.end()) continue;
            index = static_cast<int>(it - header.begin());
        }
        switch (column.role) {
            case ColumnRole::Date:
                c.date = index;
                break;
            case ColumnRole::Description:
                c.description.push_back(index);
                break;
            case ColumnRole::Expense:
                c.expense = index;
                break;
            case ColumnRole::Income:
                c.income = index;
                break;
            case ColumnRole::Amount:
                c.amount = index;
                break;
            case ColumnRole::Kind:
                c.kind = index;
                break;
            case ColumnRole::Balance:
                c.balance = index;
                break;
        }
    }
    return c;
}

std::string_view cellAt(const std::vector<std::string>& cells, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= cells.size()) return {};
    return cells[static_cast<std::size_t>(index)];
}

// Years (with the month) named in the lines before the header: the
// statement's period, e.g. "2024年12月1日～2025年1月31日".
struct PeriodYears {
    std::vector<std::pair<int, int>> yearMonths;

    void scan(std::string_view line) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i > 0 && line[i - 1] >= '0' && line[i - 1] <= '9') continue;
            std::size_t end = i;
            while (end < line.size() && end - i < 12 &&
                   (std::string_view("0123456789/-.").find(line[end]) != std::string_view::npos))
                ++end;
            // "2025/1/5", or "2025年1月5日"
            std::string_view candidate = line.substr(i, end - i);
            if (end < line.size() && contains(line.substr(end, 2), "年"))
                candidate = line.substr(i, std::min(line.size() - i, std::size_t{16}));
            for (std::size_t len = candidate.size(); len >= 6; --len) {
                if (auto d = parseCellDate(candidate.substr(0, len)); d && d->date) {
                    yearMonths.emplace_back(d->date->year, d->date->month);
                    i += len - 1;
                    break;
                }
            }
        }
    }

    std::optional<int> yearFor(int month) const {
        if (yearMonths.empty()) return std::nullopt;
        const auto [firstYear, firstMonth] = yearMonths.front();
        const auto [lastYear, lastMonth] = yearMonths.back();
        (void)lastMonth;
        if (firstYear == lastYear || month >= firstMonth) return firstYear;
        return lastYear;
    }
};

// Rows from the first disagreement of the running balance, in the direction
// the statement is written in (oldest first, or newest first), get the reason.
void checkBalances(std::vector<StatementRow>& rows,
                   const std::vector<std::optional<std::int64_t>>& balances) {
    const std::size_t n = rows.size();
    // The first row, in file order, whose balance disagrees reading oldest first.
    auto forward = [&]() -> std::optional<std::size_t> {
        std::optional<std::int64_t> previous;
        for (std::size_t i = 0; i < n; ++i) {
            if (!rows[i].ok() || !balances[i]) continue;
            if (previous && *previous + rows[i].income - rows[i].expense != *balances[i]) return i;
            previous = balances[i];
        }
        return std::nullopt;
    };
    // The last row, in file order, whose balance disagrees reading newest first.
    auto backward = [&]() -> std::optional<std::size_t> {
        std::optional<std::int64_t> previous;
        for (std::size_t i = n; i-- > 0;) {
            if (!rows[i].ok() || !balances[i]) continue;
            if (previous && *previous + rows[i].income - rows[i].expense != *balances[i]) return i;
            previous = balances[i];
        }
        return std::nullopt;
    };
    const auto f = forward();
    if (!f) return;
    const auto b = backward();
    if (!b) return;
    // The reading that keeps more rows is the statement's order.
    const bool newestFirst = *b + 1 < n - *f;
    for (std::size_t i = 0; i < n; ++i) {
        const bool flagged = newestFirst ? i <= *b : i >= *f;
        if (flagged && rows[i].ok()) rows[i].error = balanceMismatchReason();
    }
}

bool isFooter(const std::vector<std::string>& cells) {
    for (const std::string& c : cells)
        if (contains(c, "合計") || contains(c, "小計") || c == "以上") return true;
    return false;
}

}  // namespace

std::string balanceMismatchReason() {
    return "残高が一致しません";
}

ReadStatement readStatement(std::string_view bytes, const std::vector<StatementLayout>& layouts,
                            const ReadChoices& choices) {
    ReadStatement result;
    const DecodedText text = decodeText(bytes, choices.encoding);
    result.encoding = text.encoding;
    result.separator = separatorOf(text);
    const std::size_t lineCount = text.lines.size();
    auto cellsOf = [&](std::size_t index) {
        return splitCells(text.lines[index].text, result.separator);
    };

    // The header row, and the layout it names.
    std::optional<std::size_t> headerIndex;
    if (choices.headerLine) {
        if (*choices.headerLine > lineCount) throw noHeaderLine();
        if (*choices.headerLine > 0) headerIndex = *choices.headerLine - 1;
    }
    const StatementLayout* chosen = choices.layout ? &*choices.layout : nullptr;
    if (!choices.headerLine) {
        const std::vector<StatementLayout> given =
            chosen ? std::vector<StatementLayout>{*chosen} : std::vector<StatementLayout>{};
        const std::vector<StatementLayout>& candidates = chosen ? given : layouts;
        std::size_t best = 0;
        for (std::size_t i = 0; i < lineCount && i < kHeaderSearchLines && !headerIndex; ++i) {
            const std::vector<std::string> cells = cellsOf(i);
            for (std::size_t k = 0; k < candidates.size(); ++k) {
                if (!holdsAll(cells, candidates[k].keywords)) continue;
                if (!headerIndex || candidates[k].keywords.size() > best) {
                    best = candidates[k].keywords.size();
                    headerIndex = i;
                    if (!chosen) result.layout = candidates[k];
                }
            }
        }
        if (!headerIndex && !chosen) throw noLayoutRecognised();
        if (!headerIndex && chosen && !chosen->keywords.empty()) throw noHeaderLine();
    }
    if (chosen) result.layout = *chosen;
    if (headerIndex) {
        result.headerLine = *headerIndex + 1;
        result.headerCells = cellsOf(*headerIndex);
    }
    const Columns columns = resolve(result.layout, result.headerCells);

    PeriodYears period;
    for (std::size_t i = 0; i < (headerIndex ? *headerIndex : 0); ++i)
        period.scan(text.lines[i].text);

    std::vector<std::optional<std::int64_t>> balances;
    struct Yearless {
        std::size_t row;
        CellDate date;
        std::string text;
    };
    std::vector<Yearless> yearless;
    std::vector<int> wholeYears;  // per row: the year of its whole date, 0 for none
    const std::size_t first = headerIndex ? *headerIndex + 1 : 0;
    for (std::size_t i = first; i < lineCount; ++i) {
        const TextLine& line = text.lines[i];
        const std::vector<std::string> cells = cellsOf(i);
        if (line.unencodable.empty() &&
            std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); }))
            continue;
        const std::string_view dateCell = cellAt(cells, columns.date);
        const std::optional<CellDate> date = parseCellDate(dateCell);
        if (!date && (dateCell.empty() || isFooter(cells)) && line.unencodable.empty()) {
            if (isFooter(cells) || cells.size() <= 1) continue;
        }
        StatementRow row;
        row.line = line.number;
        std::optional<std::int64_t> balance;
        auto fail = [&](std::string reason) {
            if (row.ok()) row.error = std::move(reason);
        };
        if (!line.unencodable.empty())
            fail("文字 " + line.unencodable + " はShift-JISで表せません");
        if (!date)
            fail(dateCell.empty() ? std::string("日付がありません") : notADate(dateCell).what());
        else if (date->date) {
            row.date = *date->date;
            wholeYears.resize(result.rows.size() + 1);
            wholeYears.back() = row.date.year;
        } else
            yearless.push_back({result.rows.size(), *date, std::string(dateCell)});
        auto amount = [&](int column) -> std::int32_t {
            const std::string_view cell = cellAt(cells, column);
            const auto value = parseCellAmount(cell);
            if (!value) fail(notAnInteger(cell).what());
            return value.value_or(0);
        };
        std::int64_t expense = 0;
        std::int64_t income = 0;
        auto addSigned = [&](std::int32_t value, bool positiveIsExpense) {
            if (value == 0) return;
            const std::int64_t size = value > 0 ? value : -std::int64_t{value};
            ((value > 0) == positiveIsExpense ? expense : income) += size;
        };
        if (columns.expense >= 0) addSigned(amount(columns.expense), true);
        if (columns.income >= 0) addSigned(amount(columns.income), false);
        if (columns.amount >= 0) {
            const std::int32_t value = amount(columns.amount);
            if (columns.kind >= 0) {
                const std::string_view kind = cellAt(cells, columns.kind);
                const bool in = kind == "入金" || kind == "入";
                const bool out = kind == "出金" || kind == "出";
                if (!in && !out)
                    fail("入出金区分 '" + std::string(kind) + "' は入金でも出金でもありません");
                addSigned(value, out);
            } else {
                addSigned(value, result.layout.sign == AmountSign::PositiveIsExpense);
            }
        }
        if (columns.balance >= 0 && !cellAt(cells, columns.balance).empty()) {
            const std::string_view cell = cellAt(cells, columns.balance);
            if (const auto value = parseCellAmount(cell))
                balance = *value;
            else
                fail(notAnInteger(cell).what());
        }
        for (std::int64_t* sum : {&expense, &income})
            if (*sum > INT32_MAX) fail(notAnInteger(std::to_string(*sum)).what());
        row.expense = static_cast<std::int32_t>(std::min<std::int64_t>(expense, INT32_MAX));
        row.income = static_cast<std::int32_t>(std::min<std::int64_t>(income, INT32_MAX));
        std::string description;
        for (int column : columns.description) {
            const std::string_view cell = cellAt(cells, column);
            if (cell.empty()) continue;
            if (!description.empty()) description += ' ';
            description += cell;
        }
        // A TAB would cut the record line and the command's output line.
        std::replace(description.begin(), description.end(), '\t', ' ');
        row.description = std::move(description);
        result.rows.push_back(std::move(row));
        balances.push_back(balance);
    }

    wholeYears.resize(result.rows.size());
    // A date without its year takes the period's year, else that of the
    // nearest row before it with a whole date, else the nearest after it.
    for (const Yearless& y : yearless) {
        std::optional<int> year = period.yearFor(y.date.month);
        for (std::size_t k = y.row; !year && k-- > 0;)
            if (wholeYears[k] != 0) year = wholeYears[k];
        for (std::size_t k = y.row + 1; !year && k < wholeYears.size(); ++k)
            if (wholeYears[k] != 0) year = wholeYears[k];
        StatementRow& row = result.rows[y.row];
        const std::optional<LedgerDate> date =
            year ? dateIn(*year, y.date.month, y.date.day) : std::nullopt;
        if (date)
            row.date = *date;
        else if (row.ok())
            row.error = year ? notADate(y.text).what() : std::string("日付の年がわかりません");
    }
    checkBalances(result.rows, balances);
    for (StatementRow& row : result.rows)
        if (!row.ok()) row.expense = row.income = 0;
    return result;
}

}  // namespace orvo::statement
