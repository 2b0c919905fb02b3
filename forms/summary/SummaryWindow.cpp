#include "forms/summary/SummaryWindow.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/OrvoError.h"
#include "forms/SummaryAccess.h"
#include "forms/summary/BreakdownTab.h"
#include "forms/summary/BudgetTab.h"
#include "forms/summary/ChartImage.h"
#include "forms/summary/MonthChartTab.h"
#include "forms/summary/SummaryTableTab.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

SummaryWindow::SummaryWindow(SummaryAccess* access, QWidget* parent, const QString& budgetFolder)
    : QDialog(parent), access_(access), budgetFolder_(budgetFolder) {
    setObjectName(u"SummaryWindow"_s);
    setWindowTitle(u"家計の推移"_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinMaxButtonsHint);
    setModal(false);
    buildWindow();
    resize(960, 680);
}

SummaryWindow::~SummaryWindow() = default;

void SummaryWindow::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    PrevYear = new QPushButton(u"◀"_s, this);
    PrevYear->setObjectName(u"PrevYear"_s);
    PrevYear->setToolTip(u"前の年"_s);
    YearBox = new QSpinBox(this);
    YearBox->setObjectName(u"YearBox"_s);
    YearBox->setRange(1, 9999);
    YearBox->setSuffix(u"年"_s);
    YearBox->setKeyboardTracking(false);
    NextYear = new QPushButton(u"▶"_s, this);
    NextYear->setObjectName(u"NextYear"_s);
    NextYear->setToolTip(u"次の年"_s);
    for (QPushButton* arrow : {PrevYear, NextYear}) arrow->setFixedWidth(36);
    UnreadableDates = new QLabel(this);
    UnreadableDates->setObjectName(u"UnreadableDates"_s);
    SaveImage = new QPushButton(u"画像として保存"_s, this);
    SaveImage->setObjectName(u"SaveImage"_s);
    top->addWidget(PrevYear);
    top->addWidget(YearBox);
    top->addWidget(NextYear);
    top->addSpacing(16);
    top->addWidget(UnreadableDates);
    top->addStretch();
    top->addWidget(SaveImage);
    layout->addLayout(top);

    SummaryTabs = new QTabWidget(this);
    SummaryTabs->setObjectName(u"SummaryTabs"_s);
    monthTab_ = new MonthChartTab(access_, SummaryTabs);
    breakdownTab_ = new BreakdownTab(SummaryTabs);
    tableTab_ = new SummaryTableTab(SummaryTabs);
    budgetTab_ =
        new BudgetTab(summary::budgetFilePath(platform::toNativePath(budgetFolder_)), SummaryTabs);
    SummaryTabs->addTab(monthTab_, u"月別"_s);
    SummaryTabs->addTab(breakdownTab_, u"内訳"_s);
    SummaryTabs->addTab(tableTab_, u"集計表"_s);
    SummaryTabs->addTab(budgetTab_, u"予算"_s);
    layout->addWidget(SummaryTabs);

    connect(PrevYear, &QPushButton::clicked, this, [this] { PrevYearClick(); });
    connect(NextYear, &QPushButton::clicked, this, [this] { NextYearClick(); });
    connect(YearBox, &QSpinBox::valueChanged, this, [this](int year) { showYear(year); });
    connect(SaveImage, &QPushButton::clicked, this, [this] { SaveImageClick(); });
    connect(SummaryTabs, &QTabWidget::currentChanged, this, [this](int tab) {
        SaveImage->setEnabled(tab <= 1);  // only the charts are pictures
        showTab(tab);
    });
}

void SummaryWindow::showSummary() {
    records_ = &access_->summaryRecords();
    const LedgerDate day = access_->shownDay();
    breakdownTab_->choosePeriod(0);
    budgetTab_->chooseMonth(day.month);
    budgetTab_->loadBudgets();
    if (YearBox->value() == day.year) {
        refresh();
    } else {
        YearBox->setValue(day.year);  // refreshes
    }
    show();
    raise();
    activateWindow();
}

void SummaryWindow::showYear(int year) {
    if (YearBox->value() != year) {
        YearBox->setValue(year);  // comes back here through its signal
        return;
    }
    refresh();
}

void SummaryWindow::refresh() {
    if (!records_) return;
    const TitleLists& titles = access_->summaryTitles();
    summary_ = summary::SummarizeYear(*records_, titles, YearBox->value());
    UnreadableDates->setText(summary_.unreadableDates == 0
                                 ? QString()
                                 : u"日付が読めない記録 "_s +
                                       QString::number(summary_.unreadableDates) + u"件"_s);
    // The tab in front is brought up to date now, the others when they come forward.
    stale_.fill(true);
    showTab(SummaryTabs->currentIndex());
}

void SummaryWindow::showTab(int tab) {
    if (tab < 0 || tab >= static_cast<int>(stale_.size()) || !stale_[static_cast<std::size_t>(tab)])
        return;
    stale_[static_cast<std::size_t>(tab)] = false;
    switch (tab) {
        case 0:
            monthTab_->showSummary(summary_, *records_);
            break;
        case 1:
            breakdownTab_->showSummary(summary_);
            break;
        case 2:
            tableTab_->showSummary(summary_);
            break;
        default:
            budgetTab_->showSummary(summary_, access_->summaryTitles().level1);
            break;
    }
}

void SummaryWindow::PrevYearClick() {
    showYear(YearBox->value() - 1);
}

void SummaryWindow::NextYearClick() {
    showYear(YearBox->value() + 1);
}

void SummaryWindow::SaveImageClick() {
    QChartView* view =
        SummaryTabs->currentIndex() == 1 ? breakdownTab_->chartView() : monthTab_->chartView();
    platform::FileDialogRequest request;
    request.title = u"画像として保存"_s;
    request.filter = u"PNGﾌｧｲﾙ(*.png)|*.png|PDFﾌｧｲﾙ(*.pdf)|*.pdf"_s;
    request.defaultSuffix = u"png"_s;
    request.acceptLabel = platform::saveAcceptLabel();
    const std::optional<QString> chosen = platform::dialogs().openFile(request);
    if (!chosen) return;
    try {
        saveChartImage(view, *chosen);
    } catch (const OrvoError& e) {
        platform::dialogs().showError(e);
    }
}

}  // namespace orvo::forms
