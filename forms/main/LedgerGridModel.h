#pragma once
// The grid's Qt model: a view over the window's day view, not a copy of it;
// an edit through it is a step of the ledger (LedgerBook::editCell).
// Row 0 (the titles) is the horizontal header and column 0 the vertical
// header; table cell (c, r) with c, r >= 1 is model index (r - 1, c - 1).

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "ledger/LedgerTable.h"

namespace orvo {
class LedgerBook;
}

namespace orvo::forms {

class LedgerGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    LedgerGridModel(LedgerBook& book, QObject* parent = nullptr);

    // setData with this role: a title picked from a drop-down list.
    static constexpr int kTitlePickRole = Qt::UserRole + 1;

    static int tableColumn(const QModelIndex& index) { return index.column() + 1; }
    static int tableRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex indexOfCell(int col, int row) const { return index(row - 1, col - 1); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The table was changed behind the model's back (by the core): tell the views.
    // The titles are announced only where they changed: a header change has
    // the view lay itself out again and repaint a second time.
    void refresh();
    // One cell was changed behind the model's back.
    void cellChanged(int col, int row);

    // Cell text as the grid shows and edits it: CR LF becomes "\n".
    static QString textOfCell(const std::string& cp932);

signals:
    // The user changed a cell's text through a view (an editor or a pick).
    void cellEdited();
    // Typed text held characters CP932 cannot store; they were left out.
    void unencodableTyped(const QString& characters);

private:
    // The header texts the views were last told about, in section order.
    std::vector<std::string> headerTexts(Qt::Orientation orientation) const;
    void announceChangedHeaders(Qt::Orientation orientation);

    const LedgerTable& table() const;

    LedgerBook& book_;
    int rows_ = 0;  // the shape the views were last told about
    int cols_ = 0;
    std::vector<std::string> columnTitles_;  // row 0, columns 1 on
    std::vector<std::string> rowTitles_;     // column 0, rows 1 on
};

}  // namespace orvo::forms
