#include "forms/main/LedgerGridModel.h"

#include "base/Amount.h"
#include "ledger/LedgerBook.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

LedgerGridModel::LedgerGridModel(LedgerBook& book, QObject* parent)
    : QAbstractTableModel(parent),
      book_(book),
      rows_(std::max(book.table().rowCount() - 1, 0)),
      cols_(std::max(book.table().columnCount() - 1, 0)),
      columnTitles_(headerTexts(Qt::Horizontal)),
      rowTitles_(headerTexts(Qt::Vertical)) {}

const LedgerTable& LedgerGridModel::table() const {
    return book_.table();
}

int LedgerGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int LedgerGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QString LedgerGridModel::textOfCell(const std::string& cp932) {
    QString text = platform::fromCp932(cp932);
    text.replace(u"\r\n"_s, u"\n"_s);
    return text;
}

QVariant LedgerGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int col = tableColumn(index);
    const int row = tableRow(index);
    if (!table().contains(col, row)) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return textOfCell(table().cell(col, row));
        case Qt::ToolTipRole: {
            // The whole text, for what a 20-pixel row or a narrow column hides.
            const QString text = textOfCell(table().cell(col, row));
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        case Qt::TextAlignmentRole:
            if (col == kColExpense || col == kColIncome)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignTop);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
        default:
            return {};
    }
}

bool LedgerGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || (role != Qt::EditRole && role != kTitlePickRole)) return false;
    const int col = tableColumn(index);
    const int row = tableRow(index);
    if (!table().contains(col, row)) return false;
    QString text = value.toString();
    // A cell holds CR LF line breaks and never a TAB, which would cut its record.
    text = platform::withCrLfLineBreaks(text);
    text.replace(u'\t', u' ');
    platform::Cp932Result encoded = platform::toCp932(text);
    if (col == kColExpense || col == kColIncome) encoded.bytes = storedAmountText(encoded.bytes);
    if (encoded.bytes == table().cell(col, row) && encoded.ok()) return true;
    book_.editCell(col, row, encoded.bytes,
                   role == kTitlePickRole ? StepKind::TitlePick : StepKind::CellEdit);
    emit dataChanged(index, index);
    emit cellEdited();
    if (!encoded.ok()) emit unencodableTyped(encoded.unencodable);
    return true;
}

QVariant LedgerGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const int col = orientation == Qt::Horizontal ? section + 1 : 0;
    const int row = orientation == Qt::Horizontal ? 0 : section + 1;
    if (!table().contains(col, row)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return textOfCell(table().cell(col, row));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignTop);
        default:
            return {};
    }
}

Qt::ItemFlags LedgerGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void LedgerGridModel::refresh() {
    const int rows = std::max(table().rowCount() - 1, 0);
    const int cols = std::max(table().columnCount() - 1, 0);
    if (rows != rows_ || cols != cols_) {
        beginResetModel();
        rows_ = rows;
        cols_ = cols;
        columnTitles_ = headerTexts(Qt::Horizontal);
        rowTitles_ = headerTexts(Qt::Vertical);
        endResetModel();
        return;
    }
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
    announceChangedHeaders(Qt::Horizontal);
    announceChangedHeaders(Qt::Vertical);
}

std::vector<std::string> LedgerGridModel::headerTexts(Qt::Orientation orientation) const {
    const bool columns = orientation == Qt::Horizontal;
    std::vector<std::string> texts;
    const int count = columns ? cols_ : rows_;
    texts.reserve(static_cast<std::size_t>(count));
    for (int section = 0; section < count; ++section) {
        const int col = columns ? section + 1 : 0;
        const int row = columns ? 0 : section + 1;
        texts.push_back(table().contains(col, row) ? table().cell(col, row) : std::string());
    }
    return texts;
}

void LedgerGridModel::announceChangedHeaders(Qt::Orientation orientation) {
    std::vector<std::string>& shown = orientation == Qt::Horizontal ? columnTitles_ : rowTitles_;
    std::vector<std::string> now = headerTexts(orientation);
    int first = -1;
    int last = -1;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] == shown[i]) continue;
        if (first < 0) first = static_cast<int>(i);
        last = static_cast<int>(i);
    }
    shown = std::move(now);
    if (first >= 0) emit headerDataChanged(orientation, first, last);
}

void LedgerGridModel::cellChanged(int col, int row) {
    if (row == 0 && col >= 1) {
        announceChangedHeaders(Qt::Horizontal);
    } else if (col == 0 && row >= 1) {
        announceChangedHeaders(Qt::Vertical);
    } else {
        const QModelIndex i = indexOfCell(col, row);
        if (i.isValid()) emit dataChanged(i, i);
    }
}

}  // namespace orvo::forms
