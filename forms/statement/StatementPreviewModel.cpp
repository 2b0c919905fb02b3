#include "forms/statement/StatementPreviewModel.h"

#include "platform/Text.h"
#include "statement/FoldText.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

using statement::PreviewRow;
using statement::RowState;

void StatementPreviewModel::setRows(std::vector<PreviewRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    emit ticksChanged();
}

int StatementPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StatementPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StatementPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const PreviewRow& r = rows_[static_cast<std::size_t>(index.row())];
    const bool error = r.state == RowState::Error;
    if (role == Qt::CheckStateRole && index.column() == Tick)
        return r.ticked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && (index.column() == Expense || index.column() == Income))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
        case Date:
            return error ? QString() : platform::fromCp932(r.row.date.format());
        case Title1:
            return platform::fromCp932(r.title1);
        case Title2:
            return platform::fromCp932(r.title2);
        case Expense:
            return error ? QString() : QString::number(r.row.expense);
        case Income:
            return error ? QString() : QString::number(r.row.income);
        case Description:
            return platform::fromCp932(r.row.description);
        case State:
            switch (r.state) {
                case RowState::New:
                    return u"新規"_s;
                case RowState::Duplicate:
                    return u"重複"_s;
                case RowState::Error:
                    return u"エラー: "_s + platform::fromCp932(r.row.error) + u" ("_s +
                           QString::number(r.row.line) + u"行目)"_s;
            }
    }
    return {};
}

QVariant StatementPreviewModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString titles[] = {u"取り込む"_s, u"日付"_s, u"勘定科目1"_s, u"勘定科目2"_s,
                                     u"支出"_s,     u"収入"_s, u"摘要"_s,      u"状態"_s};
    return section >= 0 && section < ColumnCount ? titles[section] : QVariant();
}

Qt::ItemFlags StatementPreviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const PreviewRow& r = rows_[static_cast<std::size_t>(index.row())];
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (r.state == RowState::Error) return f;
    if (index.column() == Tick) f |= Qt::ItemIsUserCheckable;
    if (index.column() == Title1 || index.column() == Title2) f |= Qt::ItemIsEditable;
    return f;
}

bool StatementPreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable)))
        return false;
    PreviewRow& r = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::CheckStateRole && index.column() == Tick) {
        r.ticked = value.value<Qt::CheckState>() == Qt::Checked ||
                   value.toInt() == static_cast<int>(Qt::Checked);
        emit dataChanged(index, index);
        emit ticksChanged();
        return true;
    }
    if (role != Qt::EditRole || (index.column() != Title1 && index.column() != Title2))
        return false;
    // Titles hold no character CP932 lacks, nor a TAB (the record's field separator).
    platform::Cp932Result text = platform::toCp932(value.toString().replace(u'\t', u' '));
    if (!text.ok()) return false;
    (index.column() == Title1 ? r.title1 : r.title2) = std::move(text.bytes);
    emit dataChanged(index, index);
    return true;
}

void StatementPreviewModel::applyTitlesToSameShop(int row) {
    if (row < 0 || row >= rowCount()) return;
    const PreviewRow& from = rows_[static_cast<std::size_t>(row)];
    if (from.state == RowState::Error) return;
    const std::string shop = statement::foldForMatching(from.row.description);
    const std::string title1 = from.title1;
    const std::string title2 = from.title2;
    for (PreviewRow& r : rows_) {
        if (r.state == RowState::Error || statement::foldForMatching(r.row.description) != shop)
            continue;
        r.title1 = title1;
        r.title2 = title2;
    }
    emit dataChanged(index(0, Title1), index(rowCount() - 1, Title2));
}

}  // namespace orvo::forms
