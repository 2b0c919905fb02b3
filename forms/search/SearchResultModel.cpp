#include "forms/search/SearchResultModel.h"

#include "platform/Text.h"

namespace orvo::forms {

SearchResultModel::SearchResultModel(QObject* parent) : QAbstractListModel(parent) {}

int SearchResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) {
        QString line = platform::fromCp932(list_.resultLine(static_cast<std::size_t>(index.row())));
        // A line break of the description is held as ESC; one line per record.
        line.replace(QChar(0x1B), QChar(u' '));
        return line;
    }
    if (role == Qt::SizeHintRole && lineSize_.isValid()) return lineSize_;
    return {};
}

std::size_t SearchResultModel::search(const LedgerRecords& records, std::string_view keyword) {
    beginResetModel();
    const std::size_t found = list_.search(records, keyword);
    endResetModel();
    return found;
}

void SearchResultModel::clear() {
    beginResetModel();
    list_.clear();
    endResetModel();
}

void SearchResultModel::removeLine(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    list_.removeAt(static_cast<std::size_t>(row));
    endRemoveRows();
}

void SearchResultModel::setLineSize(QSize size) {
    if (size == lineSize_) return;
    lineSize_ = size;
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::SizeHintRole});
}

}  // namespace orvo::forms
