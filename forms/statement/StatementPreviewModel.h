#pragma once
// The preview grid of "明細の取り込み": one row per statement line, with the
// 取り込む box, the date, the two titles (editable), the amounts, the
// description and the state.

#include <QAbstractTableModel>
#include <vector>

#include "statement/StatementImport.h"

namespace orvo::forms {

class StatementPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Tick, Date, Title1, Title2, Expense, Income, Description, State, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<statement::PreviewRow> rows);
    const std::vector<statement::PreviewRow>& rows() const { return rows_; }

    // Gives every importable row with the same shop as `row` its titles.
    void applyTitlesToSameShop(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void ticksChanged();

private:
    std::vector<statement::PreviewRow> rows_;
};

}  // namespace orvo::forms
