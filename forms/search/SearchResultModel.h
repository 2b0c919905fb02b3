#pragma once
// The search window's result list as a list model over the core's SearchList:
// a line is made only when the view paints it, so a million results cost no
// more to show than ten.

#include <QAbstractListModel>
#include <QSize>
#include <string_view>

#include "ledger/SearchList.h"

namespace orvo::forms {

class SearchResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit SearchResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Lists every record of `records` that contains `keyword` (CP932).
    std::size_t search(const LedgerRecords& records, std::string_view keyword);
    void clear();
    void removeLine(int row);
    // The size every line claims: the view's horizontal scrolling width.
    void setLineSize(QSize size);

    const SearchList& list() const { return list_; }

private:
    SearchList list_;
    QSize lineSize_;
};

}  // namespace orvo::forms
