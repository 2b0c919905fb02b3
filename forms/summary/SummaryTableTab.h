#pragma once
// The tab "集計表": titles as rows and months as columns with the year's
// total, level-1 rows folding out their level-2 rows; the table written as
// CSV ("CSV書き込み") or copied to the clipboard as TAB-separated text.

#include <QWidget>

#include "summary/YearSummary.h"

class QPushButton;
class QTreeWidget;

namespace orvo::forms {

class SummaryTableTab : public QWidget {
    Q_OBJECT
public:
    explicit SummaryTableTab(QWidget* parent);
    void showSummary(const summary::YearSummary& summary);

    void SummaryCsvClick();   // "CSV書き込み"
    void SummaryCopyClick();  // "コピー"

private:
    summary::YearSummary summary_;
    QTreeWidget* SummaryTable = nullptr;
    QPushButton* SummaryCsv = nullptr;
    QPushButton* SummaryCopy = nullptr;
};

}  // namespace orvo::forms
