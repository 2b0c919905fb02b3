#include "forms/summary/SummaryTableTab.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "forms/summary/SummaryText.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "summary/SummaryTable.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kFirstMonthColumn = 2;

QTreeWidgetItem* amountItem(const QString& kind, const QString& title,
                            const summary::MonthCells& cells) {
    auto* item = new QTreeWidgetItem({kind, title});
    for (int m = 0; m < 12; ++m)
        item->setText(kFirstMonthColumn + m, yenText(cells[static_cast<std::size_t>(m)]));
    item->setText(kFirstMonthColumn + 12, yenText(summary::yearTotal(cells)));
    for (int c = kFirstMonthColumn; c <= kFirstMonthColumn + 12; ++c)
        item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTreeWidgetItem* boldItem(QTreeWidgetItem* item) {
    QFont font = item->font(0);
    font.setBold(true);
    for (int c = 0; c < item->columnCount(); ++c) item->setFont(c, font);
    return item;
}

void addSection(QTreeWidget* table, const summary::YearSummary& s, const QString& kind,
                summary::MonthCells summary::SummaryRow::*cells, bool summary::SummaryRow::*has,
                const summary::MonthCells& total) {
    for (const summary::SummaryRow& row : s.rows) {
        if (!(row.*has)) continue;
        QTreeWidgetItem* item = amountItem(kind, titleText(row.title), row.*cells);
        for (const summary::SummaryRow& sub : row.level2)
            if (sub.*has)
                item->addChild(amountItem(
                    {}, sub.title.empty() ? u"(科目2なし)"_s : platform::fromCp932(sub.title),
                    sub.*cells));
        table->addTopLevelItem(item);
    }
    table->addTopLevelItem(boldItem(amountItem(kind, u"合計"_s, total)));
}

}  // namespace

SummaryTableTab::SummaryTableTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    SummaryTable = new QTreeWidget(this);
    SummaryTable->setObjectName(u"SummaryTable"_s);
    QStringList heading{u"区分"_s, u"科目"_s};
    for (int m = 1; m <= 12; ++m) heading << monthText(m);
    heading << u"合計"_s;
    SummaryTable->setHeaderLabels(heading);
    SummaryTable->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(SummaryTable);
    auto* buttons = new QHBoxLayout;
    SummaryCsv = new QPushButton(u"CSV書き込み"_s, this);
    SummaryCsv->setObjectName(u"SummaryCsv"_s);
    SummaryCopy = new QPushButton(u"コピー"_s, this);
    SummaryCopy->setObjectName(u"SummaryCopy"_s);
    buttons->addStretch();
    buttons->addWidget(SummaryCsv);
    buttons->addWidget(SummaryCopy);
    layout->addLayout(buttons);
    connect(SummaryCsv, &QPushButton::clicked, this, [this] {
        try {
            SummaryCsvClick();
        } catch (const OrvoError& e) {
            platform::dialogs().showError(e);
        }
    });
    connect(SummaryCopy, &QPushButton::clicked, this, [this] { SummaryCopyClick(); });
}

void SummaryTableTab::showSummary(const summary::YearSummary& summary) {
    summary_ = summary;
    SummaryTable->clear();
    addSection(SummaryTable, summary_, u"支出"_s, &summary::SummaryRow::expense,
               &summary::SummaryRow::hasExpense, summary_.expense);
    addSection(SummaryTable, summary_, u"収入"_s, &summary::SummaryRow::income,
               &summary::SummaryRow::hasIncome, summary_.income);
    SummaryTable->addTopLevelItem(
        boldItem(amountItem(u"収支"_s, {}, summary::balanceOf(summary_))));
}

void SummaryTableTab::SummaryCsvClick() {
    platform::FileDialogRequest request;
    request.title = u"CSV書き込み"_s;
    request.filter = u"CSVﾌｧｲﾙ(*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*"_s;
    request.defaultSuffix = u"csv"_s;
    request.acceptLabel = platform::saveAcceptLabel();
    const std::optional<QString> chosen = platform::dialogs().openFile(request);
    if (!chosen) return;
    writeFileAtomically(
        platform::toNativePath(*chosen),
        summary::csvText(summary::SummaryTableCells(summary_, summary::TitleLevel::One)));
}

void SummaryTableTab::SummaryCopyClick() {
    const std::string text = summary::joinedTable(
        summary::SummaryTableCells(summary_, summary::TitleLevel::One), "\r\n");
    QApplication::clipboard()->setText(platform::fromCp932(text));
}

}  // namespace orvo::forms
