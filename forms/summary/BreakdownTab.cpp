#include "forms/summary/BreakdownTab.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPieSeries>
#include <QPieSlice>
#include <QVBoxLayout>

#include "base/Amount.h"
#include "forms/summary/SummaryText.h"
#include "platform/Text.h"
#include "print/TotalsReport.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

// The period's expense of a row: a month's, or the year's (period 0).
std::int32_t expenseOf(const summary::SummaryRow& row, int period) {
    return period == 0 ? summary::yearTotal(row.expense)
                       : row.expense[static_cast<std::size_t>(period - 1)];
}

// A donut of `parts` (title, amount), shares of their sum as the report
// writes them; parts of 0 or less take no slice.
QChart* donut(const QString& title, const std::vector<std::pair<QString, std::int32_t>>& parts) {
    std::int32_t whole = 0;
    for (const auto& part : parts) whole = wrapAdd(whole, part.second);
    auto* series = new QPieSeries;
    series->setHoleSize(0.35);
    for (const auto& [name, amount] : parts) {
        if (amount <= 0) continue;
        QPieSlice* slice = series->append(
            name + u" "_s + platform::fromCp932(print::formatShare(amount, whole)), amount);
        // Labels of thin slices would only overlap; the legend names them all.
        slice->setLabelVisible(static_cast<double>(amount) * 20 >= static_cast<double>(whole));
    }
    auto* chart = new QChart;
    chart->setTitle(title + u"  "_s + yenText(whole));
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

void replaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace

BreakdownTab::BreakdownTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(u"期間"_s, this);
    BreakdownMonth = new QComboBox(this);
    BreakdownMonth->setObjectName(u"BreakdownMonth"_s);
    BreakdownMonth->addItem(u"年間"_s);
    for (int m = 1; m <= 12; ++m) BreakdownMonth->addItem(monthText(m));
    label->setBuddy(BreakdownMonth);
    top->addWidget(label);
    top->addWidget(BreakdownMonth);
    top->addStretch();
    layout->addLayout(top);
    auto* charts = new QHBoxLayout;
    BreakdownChart = new QChartView(this);
    BreakdownChart->setObjectName(u"BreakdownChart"_s);
    BreakdownChart->setRenderHint(QPainter::Antialiasing);
    BreakdownDetail = new QChartView(this);
    BreakdownDetail->setObjectName(u"BreakdownDetail"_s);
    BreakdownDetail->setRenderHint(QPainter::Antialiasing);
    charts->addWidget(BreakdownChart, 3);
    charts->addWidget(BreakdownDetail, 2);
    layout->addLayout(charts);
    connect(BreakdownMonth, &QComboBox::currentIndexChanged, this, [this] { showShares(); });
}

void BreakdownTab::choosePeriod(int period) {
    BreakdownMonth->setCurrentIndex(period);
}

void BreakdownTab::showSummary(const summary::YearSummary& summary) {
    summary_ = summary;
    showShares();
}

void BreakdownTab::showShares() {
    const int period = BreakdownMonth->currentIndex();
    std::vector<std::pair<QString, std::int32_t>> parts;
    std::vector<std::size_t> rowOfPart;
    for (std::size_t i = 0; i < summary_.rows.size(); ++i) {
        parts.emplace_back(titleText(summary_.rows[i].title), expenseOf(summary_.rows[i], period));
        if (parts.back().second > 0) rowOfPart.push_back(i);
    }
    QChart* chart = donut(QString::number(summary_.year) + u"年 "_s +
                              (period == 0 ? u"年間"_s : monthText(period)) + u"の支出"_s,
                          parts);
    auto* series = static_cast<QPieSeries*>(chart->series().front());
    const QList<QPieSlice*> slices = series->slices();
    for (qsizetype s = 0; s < slices.size(); ++s) {
        const std::size_t row = rowOfPart[static_cast<std::size_t>(s)];
        connect(slices[s], &QPieSlice::clicked, this, [this, row, slices, s] {
            for (QPieSlice* other : slices) other->setExploded(other == slices[s]);
            showDetail(row);
        });
    }
    replaceChart(BreakdownChart, chart);
    replaceChart(BreakdownDetail, new QChart);
}

void BreakdownTab::showDetail(std::size_t rowIndex) {
    const int period = BreakdownMonth->currentIndex();
    const summary::SummaryRow& row = summary_.rows[rowIndex];
    std::vector<std::pair<QString, std::int32_t>> parts;
    for (const summary::SummaryRow& sub : row.level2)
        parts.emplace_back(sub.title.empty() ? u"(科目2なし)"_s : platform::fromCp932(sub.title),
                           expenseOf(sub, period));
    replaceChart(BreakdownDetail, donut(titleText(row.title) + u"の内訳"_s, parts));
}

}  // namespace orvo::forms
