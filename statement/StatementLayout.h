#pragma once
// A statement layout: how a bank's or card company's file is read. Layouts are
// small text files, CP932 or UTF-8, one "KEY TAB VALUE" a line:
//   名前  TAB the layout's name
//   見出し TAB header cells that recognise it, TAB-separated (optional: the
//           header cells of its columns otherwise)
//   日付 / 摘要 / 支出 / 収入 / 金額 / 区分 / 残高  TAB a header cell, or "#N"
//           for the N-th column (1-based); 摘要 may be given more than once
//   符号  TAB 負が支出 (default) or 正が支出: how 金額 without 区分 is read
// The built-in ones ship inside the program; the user's own live in the
// user's layout folder.

#include <string>
#include <string_view>
#include <vector>

namespace orvo::statement {

enum class ColumnRole { Date, Description, Expense, Income, Amount, Kind, Balance };

// The key a role is written with in a layout file (CP932).
std::string roleKey(ColumnRole role);
inline constexpr ColumnRole kAllRoles[] = {
    ColumnRole::Date,   ColumnRole::Description, ColumnRole::Expense, ColumnRole::Income,
    ColumnRole::Amount, ColumnRole::Kind,        ColumnRole::Balance};

// How the one amount column of a layout without 区分 is read.
enum class AmountSign { NegativeIsExpense, PositiveIsExpense };

struct LayoutColumn {
    ColumnRole role = ColumnRole::Date;
    std::string header;  // the header cell, or empty with `position`
    int position = -1;   // 0-based, when given as "#N"
};

struct StatementLayout {
    std::string name;  // CP932
    std::vector<std::string> keywords;
    std::vector<LayoutColumn> columns;
    AmountSign sign = AmountSign::NegativeIsExpense;
    bool builtIn = false;
};

// Reads a layout file's text; "明細の形式 FILE を読めません (REASON)" for a
// file without a name, without a date column or without an amount column.
StatementLayout parseLayout(std::string_view bytes, std::string_view fileName);

// The file text (CP932, CR LF) of `layout`.
std::string layoutFileText(const StatementLayout& layout);

// The layouts that ship with the program, in a fixed order.
const std::vector<StatementLayout>& builtInLayouts();

// The user's layout folder, a native path: $XDG_CONFIG_HOME (else
// ~/.config) followed by /orvokakei/layouts.
std::string userLayoutFolder();

// The user's layouts in `folder` (file name order), then the built-in ones.
// A user's file that cannot be read is passed over.
std::vector<StatementLayout> availableLayouts(const std::string& folder = userLayoutFolder());

// The layout called `name` (CP932) among `layouts`, or nullptr.
const StatementLayout* layoutNamed(const std::vector<StatementLayout>& layouts,
                                   std::string_view name);

// Reads the layout file `path` (native); "ファイル %s は開けません" and the like
// when it cannot be read.
StatementLayout readLayoutFile(const std::string& path);

// The whole file `path` (native), with the messages of openForReading.
std::string readWholeFile(const std::string& path);

// Saves `layout` in `folder` as "<name>.txt" (written whole or not at all).
void saveUserLayout(const StatementLayout& layout, const std::string& folder = userLayoutFolder());

}  // namespace orvo::statement
