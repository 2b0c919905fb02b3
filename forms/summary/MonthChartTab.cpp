#include "forms/summary/MonthChartTab.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "base/Amount.h"
#include "forms/SummaryAccess.h"
#include "forms/summary/SummaryText.h"
#include "ledger/RecordLine.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// The list's columns: the record's first six fields.
constexpr int kListColumns = 6;

// The largest figure a month's bar or the income line reaches, for the axis.
double highestFigure(const summary::YearSummary& summary) {
    double highest = 0;
    for (std::size_t m = 0; m < 12; ++m) {
        double stacked = 0;
        for (const summary::SummaryRow& row : summary.rows)
            if (row.hasExpense) stacked += std::max(0, row.expense[m]);
        highest = std::max({highest, stacked, static_cast<double>(summary.income[m])});
    }
    return highest;
}

}  // namespace

void fillRecordList(QTreeWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    std::vector<std::string> fields;
    QList<QTreeWidgetItem*> items;
    for (const std::string& line : lines) {
        splitRecordInto(line, fields);
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < kListColumns && c < static_cast<int>(fields.size()); ++c) {
            item->setText(c, platform::fromCp932(fields[static_cast<std::size_t>(c)]));
            if (c == 3 || c == 4) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
        items.append(item);
    }
    list->addTopLevelItems(items);
}

MonthChartTab::MonthChartTab(SummaryAccess* access, QWidget* parent)
    : QWidget(parent), access_(access) {
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    MonthChart = new QChartView(splitter);
    MonthChart->setObjectName(u"MonthChart"_s);
    MonthChart->setRenderHint(QPainter::Antialiasing);
    auto* below = new QWidget(splitter);
    auto* belowLayout = new QVBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    CellCaption = new QLabel(u"棒をクリックすると、その月のその科目の記録が並びます"_s, below);
    CellCaption->setObjectName(u"CellCaption"_s);
    CellRecords = new QTreeWidget(below);
    CellRecords->setObjectName(u"CellRecords"_s);
    CellRecords->setRootIsDecorated(false);
    CellRecords->setHeaderLabels(
        {u"日付"_s, u"勘定科目1"_s, u"勘定科目2"_s, u"支出"_s, u"収入"_s, u"摘要"_s});
    CellRecords->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    belowLayout->addWidget(CellCaption);
    belowLayout->addWidget(CellRecords);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter);
    connect(CellRecords, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { CellRecordsDblClick(item); });
}

void MonthChartTab::showSummary(const summary::YearSummary& summary, const LedgerRecords& records) {
    records_ = &records;
    summary_ = summary;
    CellRecords->clear();

    auto* chart = new QChart;
    chart->setTitle(QString::number(summary_.year) + u"年 月別の支出と収入"_s);
    chart->legend()->setAlignment(Qt::AlignRight);
    auto* bars = new QStackedBarSeries;
    for (std::size_t i = 0; i < summary_.rows.size(); ++i) {
        const summary::SummaryRow& row = summary_.rows[i];
        if (!row.hasExpense) continue;
        auto* set = new QBarSet(titleText(row.title));
        set->setObjectName(titleText(row.title));
        for (std::int32_t cell : row.expense) set->append(cell);
        connect(set, &QBarSet::hovered, this,
                [this, i](bool on, int index) { segmentHovered(i, on, index + 1); });
        connect(set, &QBarSet::clicked, this,
                [this, i](int index) { segmentClicked(i, index + 1); });
        bars->append(set);
    }
    chart->addSeries(bars);
    auto* income = new QLineSeries;
    income->setName(u"収入"_s);
    for (int m = 0; m < 12; ++m) income->append(m, summary.income[static_cast<std::size_t>(m)]);
    income->setPointsVisible(true);
    chart->addSeries(income);

    auto* months = new QBarCategoryAxis;
    for (int m = 1; m <= 12; ++m) months->append(monthText(m));
    auto* amounts = new QValueAxis;
    amounts->setLabelFormat(u"%.0f"_s);
    amounts->setRange(0, std::max(1.0, highestFigure(summary) * 1.1));
    amounts->applyNiceNumbers();
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(amounts, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(months);
        series->attachAxis(amounts);
    }
    QChart* old = MonthChart->chart();
    MonthChart->setChart(chart);
    delete old;
}

void MonthChartTab::segmentHovered(std::size_t rowIndex, bool on, int month) {
    const summary::SummaryRow& row = summary_.rows[rowIndex];
    if (!on) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(),
                       titleText(row.title) + u"  "_s + monthText(month) + u"  "_s +
                           yenText(row.expense[static_cast<std::size_t>(month - 1)]),
                       MonthChart);
}

void MonthChartTab::segmentClicked(std::size_t rowIndex, int month) {
    if (!records_) return;
    const summary::SummaryRow& row = summary_.rows[rowIndex];
    const int year = summary_.year;
    const std::vector<std::string> lines =
        summary::RecordsOfCell(*records_, access_->summaryTitles(), {year, month, row.title, {}});
    fillRecordList(CellRecords, lines);
    CellCaption->setText(titleText(row.title) + u"  "_s + QString::number(year) + u"年"_s +
                         monthText(month) + u"  "_s + QString::number(lines.size()) +
                         u"件 (ダブルクリックでその日を表示)"_s);
}

void MonthChartTab::CellRecordsDblClick(QTreeWidgetItem* item) {
    if (!item) return;
    const std::optional<LedgerDate> day = LedgerDate::parse(platform::toCp932(item->text(0)).bytes);
    if (day) access_->showDay(*day);
}

}  // namespace orvo::forms
