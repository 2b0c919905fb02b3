#include "forms/summary/BudgetTab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/Amount.h"
#include "base/OrvoError.h"
#include "forms/summary/SummaryText.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "summary/TitleRule.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

QTableWidgetItem* readOnlyItem(const QString& text, bool amount) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// The bar of spent against budget: full and red past 100%.
QProgressBar* budgetBar(std::int32_t budget, std::int32_t spent) {
    auto* bar = new QProgressBar;
    const double percent = budget > 0 ? 100.0 * spent / budget : (spent > 0 ? 100.1 : 0.0);
    bar->setRange(0, 100);
    bar->setValue(static_cast<int>(std::clamp(percent, 0.0, 100.0)));
    bar->setFormat(budget > 0 ? QString::number(percent, 'f', 0) + u"%"_s : QString());
    bar->setProperty("over", percent > 100.0);
    if (percent > 100.0)
        bar->setStyleSheet(u"QProgressBar::chunk { background-color: #d03030; }"_s);
    return bar;
}

}  // namespace

BudgetTab::BudgetTab(const std::string& budgetPath, QWidget* parent)
    : QWidget(parent), budgetPath_(budgetPath) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(u"月"_s, this);
    BudgetMonth = new QComboBox(this);
    BudgetMonth->setObjectName(u"BudgetMonth"_s);
    for (int m = 1; m <= 12; ++m) BudgetMonth->addItem(monthText(m));
    label->setBuddy(BudgetMonth);
    top->addWidget(label);
    top->addWidget(BudgetMonth);
    top->addWidget(new QLabel(u"月予算の欄に金額を入れてください (空欄: 予算なし)"_s, this));
    top->addStretch();
    layout->addLayout(top);
    BudgetTable = new QTableWidget(0, 5, this);
    BudgetTable->setObjectName(u"BudgetTable"_s);
    BudgetTable->setHorizontalHeaderLabels(
        {u"科目"_s, u"月予算"_s, u"支出"_s, u"残り"_s, u"予算に対する支出"_s});
    BudgetTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    BudgetTable->horizontalHeader()->setSectionResizeMode(BarColumn, QHeaderView::Stretch);
    for (int amount : {BudgetColumn, RemainingColumn}) {
        BudgetTable->horizontalHeader()->setSectionResizeMode(amount, QHeaderView::Interactive);
        BudgetTable->setColumnWidth(amount, 110);
    }
    BudgetTable->verticalHeader()->hide();
    layout->addWidget(BudgetTable);
    BudgetTotal = new QLabel(this);
    BudgetTotal->setObjectName(u"BudgetTotal"_s);
    layout->addWidget(BudgetTotal);
    connect(BudgetMonth, &QComboBox::currentIndexChanged, this, [this] { showRows(); });
    connect(BudgetTable, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { BudgetTableChanged(item); });
}

void BudgetTab::loadBudgets() {
    try {
        summary::ReadBudgets(budgets_, budgetPath_);
    } catch (const OrvoError& e) {
        platform::dialogs().showError(e);
    }
}

void BudgetTab::chooseMonth(int month) {
    BudgetMonth->setCurrentIndex(month - 1);
}

void BudgetTab::showSummary(const summary::YearSummary& summary,
                            const std::vector<std::string>& listed) {
    summary_ = summary;
    listed_ = listed;
    showRows();
}

void BudgetTab::showRows() {
    const QScopedValueRollback filling(filling_, true);
    const int month = BudgetMonth->currentIndex() + 1;
    // Every title one may budget: the listed ones, those the year's records
    // use and those with a budget, in the order titles are shown everywhere.
    std::vector<std::string> titles = listed_;
    const auto add = [&](const std::string& t) {
        if (std::find(titles.begin(), titles.end(), t) == titles.end()) titles.push_back(t);
    };
    for (const summary::SummaryRow& row : summary_.rows) add(row.title);
    for (const summary::Budget& b : budgets_) add(b.title);
    rowTitles_.clear();
    for (std::size_t i : summary::listedFirstOrder(titles, listed_))
        rowTitles_.push_back(titles[i]);

    const summary::MonthBudget figures = summary::BudgetOfMonth(summary_, budgets_, listed_, month);
    BudgetTable->setRowCount(static_cast<int>(rowTitles_.size()));
    for (int r = 0; r < static_cast<int>(rowTitles_.size()); ++r) {
        const std::string& title = rowTitles_[static_cast<std::size_t>(r)];
        BudgetTable->setItem(r, TitleColumn, readOnlyItem(titleText(title), false));
        const auto budgeted =
            std::find_if(figures.rows.begin(), figures.rows.end(),
                         [&](const summary::BudgetRow& b) { return b.title == title; });
        const auto spentRow =
            std::find_if(summary_.rows.begin(), summary_.rows.end(),
                         [&](const summary::SummaryRow& s) { return s.title == title; });
        const std::int32_t spent = spentRow == summary_.rows.end()
                                       ? 0
                                       : spentRow->expense[static_cast<std::size_t>(month - 1)];
        auto* budgetItem = new QTableWidgetItem(
            budgeted == figures.rows.end() ? QString() : QString::number(budgeted->budget));
        budgetItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        BudgetTable->setItem(r, BudgetColumn, budgetItem);
        BudgetTable->setItem(r, SpentColumn, readOnlyItem(yenText(spent), true));
        if (budgeted == figures.rows.end()) {
            BudgetTable->setItem(r, RemainingColumn, readOnlyItem({}, true));
            BudgetTable->removeCellWidget(r, BarColumn);
            BudgetTable->setItem(r, BarColumn, readOnlyItem({}, false));
            continue;
        }
        BudgetTable->setItem(r, RemainingColumn, readOnlyItem(yenText(budgeted->remaining), true));
        BudgetTable->setItem(r, BarColumn, readOnlyItem({}, false));
        BudgetTable->setCellWidget(r, BarColumn, budgetBar(budgeted->budget, budgeted->spent));
    }
    BudgetTotal->setText(monthText(month) + u"の合計  予算 "_s + yenText(figures.total.budget) +
                         u"  支出 "_s + yenText(figures.total.spent) + u"  残り "_s +
                         yenText(figures.total.remaining));
}

void BudgetTab::BudgetTableChanged(QTableWidgetItem* item) {
    if (filling_ || item->column() != BudgetColumn) return;
    const std::string title = rowTitles_.at(static_cast<std::size_t>(item->row()));
    const std::string text = withAsciiDigits(platform::toCp932(item->text().trimmed()).bytes);
    std::optional<std::int32_t> amount;
    if (!text.empty()) {
        amount = parseAmount(text);
        if (!amount || *amount < 0) {
            platform::dialogs().showError(notAnInteger(text));
            showRows();
            return;
        }
    }
    summary::setBudget(budgets_, title, amount);
    try {
        summary::SaveBudgets(budgets_, budgetPath_);
    } catch (const OrvoError& e) {
        platform::dialogs().showError(e);
    }
    // After the item's own signal: the rows are rebuilt, the item with them.
    QMetaObject::invokeMethod(
        this, [this] { showRows(); }, Qt::QueuedConnection);
}

}  // namespace orvo::forms
