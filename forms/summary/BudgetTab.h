#pragma once
// The tab "予算": a monthly budget per level-1 title, edited in place (empty:
// no budget), and for the chosen month each budgeted title's budget, spent and
// remaining with a bar that turns red past 100%; the totals below. Budgets
// are kept in "予算.txt", written at each change.

#include <QWidget>
#include <string>
#include <vector>

#include "summary/Budgets.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace orvo::forms {

class BudgetTab : public QWidget {
    Q_OBJECT
public:
    BudgetTab(const std::string& budgetPath, QWidget* parent);
    // Reads the budget file again; a line that cannot be read is shown, the rest kept.
    void loadBudgets();
    void showSummary(const summary::YearSummary& summary, const std::vector<std::string>& listed);
    void chooseMonth(int month);
    const std::vector<summary::Budget>& budgets() const { return budgets_; }

    enum Column { TitleColumn, BudgetColumn, SpentColumn, RemainingColumn, BarColumn };

private:
    void showRows();
    void BudgetTableChanged(QTableWidgetItem* item);

    std::string budgetPath_;
    std::vector<summary::Budget> budgets_;
    summary::YearSummary summary_;
    std::vector<std::string> listed_;
    std::vector<std::string> rowTitles_;  // CP932, by table row
    bool filling_ = false;

    QComboBox* BudgetMonth = nullptr;
    QTableWidget* BudgetTable = nullptr;
    QLabel* BudgetTotal = nullptr;
};

}  // namespace orvo::forms
