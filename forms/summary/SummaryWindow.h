#pragma once
// The window "家計の推移": a year's expense and income by title and month, as
// a month chart ("月別"), a breakdown pie ("内訳"), a table ("集計表") and
// the monthly budgets ("予算"). Modeless, owned by the main window and kept
// above it; every figure comes from the core's summary of the ledger.

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

#include "summary/Budgets.h"
#include "summary/YearSummary.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace orvo::forms {

class SummaryAccess;
class MonthChartTab;
class BreakdownTab;
class SummaryTableTab;
class BudgetTab;

class SummaryWindow : public QDialog {
    Q_OBJECT
public:
    // `budgetFolder` holds "予算.txt" (empty: the working folder, beside the title files).
    SummaryWindow(SummaryAccess* access, QWidget* parent, const QString& budgetFolder = QString());
    ~SummaryWindow() override;

    // "家計の推移": writes the day view back, shows the year of the shown day.
    void showSummary();
    // Shows another year (the arrows and the year box).
    void showYear(int year);

    const summary::YearSummary& yearSummary() const { return summary_; }

private:
    void buildWindow();
    void refresh();
    // Shows the summary on tab `tab` when it has not been shown there yet.
    void showTab(int tab);
    void PrevYearClick();
    void NextYearClick();
    void SaveImageClick();  // "画像として保存"

    SummaryAccess* access_;
    const LedgerRecords* records_ = nullptr;
    summary::YearSummary summary_;
    std::array<bool, 4> stale_{};  // by tab: not yet showing summary_

    QPushButton* PrevYear = nullptr;
    QSpinBox* YearBox = nullptr;
    QPushButton* NextYear = nullptr;
    QLabel* UnreadableDates = nullptr;  // "日付が読めない記録 N件"
    QPushButton* SaveImage = nullptr;
    QTabWidget* SummaryTabs = nullptr;
    MonthChartTab* monthTab_ = nullptr;
    BreakdownTab* breakdownTab_ = nullptr;
    SummaryTableTab* tableTab_ = nullptr;
    BudgetTab* budgetTab_ = nullptr;
    QString budgetFolder_;
};

}  // namespace orvo::forms
