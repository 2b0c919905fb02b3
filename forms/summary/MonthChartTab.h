#pragma once
// The tab "月別": each month's expense as a bar stacked by level-1 title, the
// month's income as a line over it. Hovering a segment names title, month and
// amount; clicking it lists the records behind it, and a double click on one
// shows its day in the main window.

#include <QWidget>

#include "summary/YearSummary.h"

class QBarSet;
class QChartView;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvo::forms {

class SummaryAccess;

class MonthChartTab : public QWidget {
    Q_OBJECT
public:
    MonthChartTab(SummaryAccess* access, QWidget* parent);
    void showSummary(const summary::YearSummary& summary, const LedgerRecords& records);
    QChartView* chartView() const { return MonthChart; }

private:
    // `rowIndex` in the summary's rows.
    void segmentHovered(std::size_t rowIndex, bool on, int month);
    void segmentClicked(std::size_t rowIndex, int month);
    void CellRecordsDblClick(QTreeWidgetItem* item);

    SummaryAccess* access_;
    const LedgerRecords* records_ = nullptr;
    summary::YearSummary summary_;  // what the chart shows
    QChartView* MonthChart = nullptr;
    QLabel* CellCaption = nullptr;
    QTreeWidget* CellRecords = nullptr;
};

// The record lines as list rows: date, titles, amounts, description.
void fillRecordList(QTreeWidget* list, const std::vector<std::string>& lines);

}  // namespace orvo::forms
