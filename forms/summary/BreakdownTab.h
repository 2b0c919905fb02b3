#pragma once
// The tab "内訳": the expense shares of the year or of one month by level-1
// title as a donut; a click on a slice shows that title's level-2 shares.

#include <QWidget>

#include "summary/YearSummary.h"

class QChartView;
class QComboBox;

namespace orvo::forms {

class BreakdownTab : public QWidget {
    Q_OBJECT
public:
    explicit BreakdownTab(QWidget* parent);
    void showSummary(const summary::YearSummary& summary);
    QChartView* chartView() const { return BreakdownChart; }
    QChartView* detailView() const { return BreakdownDetail; }
    // 0: the year; 1 to 12: a month.
    void choosePeriod(int period);

private:
    void showShares();
    void showDetail(std::size_t rowIndex);

    summary::YearSummary summary_;
    QComboBox* BreakdownMonth = nullptr;  // "年間", "1月" … "12月"
    QChartView* BreakdownChart = nullptr;
    QChartView* BreakdownDetail = nullptr;
};

}  // namespace orvo::forms
