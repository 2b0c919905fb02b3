#include "forms/statement/StatementImportWindow.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/OrvoError.h"
#include "forms/statement/StatementPreviewModel.h"
#include "forms/statement/TitleComboDelegate.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "statement/StatementCells.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

using namespace statement;
using platform::dialogs;

namespace {

// The manual mapping's choice "no role", before the roles in kAllRoles order.
constexpr int kNoRole = 0;

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

std::string cp932Of(const QString& text) {
    return platform::toCp932(QString(text).replace(u'\t', u' ')).bytes;
}

}  // namespace

StatementImportWindow::StatementImportWindow(std::string statementBytes,
                                             const LedgerRecords& records, const TitleLists& titles,
                                             std::string rulesPath, std::string layoutFolder,
                                             QWidget* parent)
    : QDialog(parent),
      bytes_(std::move(statementBytes)),
      records_(records),
      titles_(titles),
      rulesPath_(std::move(rulesPath)),
      layoutFolder_(std::move(layoutFolder)) {
    setObjectName(u"StatementImportWindow"_s);
    setWindowTitle(u"明細の取り込み"_s);
    layouts_ = availableLayouts(layoutFolder_);
    try {
        rules_ = readRules(rulesPath_);
    } catch (const OrvoError& e) {
        dialogs().showError(e);
    }
    buildWidgets();
    reread();
    resize(900, 560);
}

StatementImportWindow::~StatementImportWindow() = default;

const std::vector<PreviewRow>& StatementImportWindow::rows() const {
    return model_->rows();
}

void StatementImportWindow::buildWidgets() {
    auto* top = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(u"tabs"_s);
    top->addWidget(tabs);

    // The statement tab: how it is read, and the preview.
    auto* page = new QWidget(tabs);
    auto* column = new QVBoxLayout(page);
    auto* settings = new QHBoxLayout;
    settings->addWidget(new QLabel(u"形式:"_s, page));
    layoutCombo_ = new QComboBox(page);
    layoutCombo_->setObjectName(u"layoutCombo"_s);
    for (const StatementLayout& l : layouts_) layoutCombo_->addItem(platform::fromCp932(l.name));
    layoutCombo_->addItem(u"手動設定"_s);
    settings->addWidget(layoutCombo_, 1);
    settings->addWidget(new QLabel(u"文字コード:"_s, page));
    encodingCombo_ = new QComboBox(page);
    encodingCombo_->setObjectName(u"encodingCombo"_s);
    for (Encoding e : kAllEncodings) encodingCombo_->addItem(platform::fromCp932(encodingName(e)));
    settings->addWidget(encodingCombo_);
    settings->addWidget(new QLabel(u"見出し行:"_s, page));
    headerLineSpin_ = new QSpinBox(page);
    headerLineSpin_->setObjectName(u"headerLineSpin"_s);
    headerLineSpin_->setSpecialValueText(u"なし"_s);
    settings->addWidget(headerLineSpin_);
    column->addLayout(settings);

    manualPanel_ = new QWidget(page);
    manualPanel_->setObjectName(u"manualPanel"_s);
    auto* manualRow = new QHBoxLayout(manualPanel_);
    manualRow->setContentsMargins(0, 0, 0, 0);
    manualColumns_ = new QHBoxLayout;
    manualRow->addLayout(manualColumns_, 1);
    signCombo_ = new QComboBox(manualPanel_);
    signCombo_->setObjectName(u"signCombo"_s);
    signCombo_->addItems({u"負が支出"_s, u"正が支出"_s});
    manualRow->addWidget(signCombo_);
    saveLayoutButton_ = button(manualPanel_, "saveLayoutButton", u"この設定を保存"_s);
    manualRow->addWidget(saveLayoutButton_);
    manualPanel_->hide();
    column->addWidget(manualPanel_);

    problemLabel_ = new QLabel(page);
    problemLabel_->setObjectName(u"problemLabel"_s);
    column->addWidget(problemLabel_);

    model_ = new StatementPreviewModel(this);
    grid_ = new QTableView(page);
    grid_->setObjectName(u"previewGrid"_s);
    grid_->setModel(model_);
    grid_->setItemDelegateForColumn(StatementPreviewModel::Title1,
                                    new TitleComboDelegate(titles_, grid_));
    grid_->setItemDelegateForColumn(StatementPreviewModel::Title2,
                                    new TitleComboDelegate(titles_, grid_));
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    // The description takes the room left; the state column is wide enough for a reason.
    grid_->horizontalHeader()->setSectionResizeMode(StatementPreviewModel::Description,
                                                    QHeaderView::Stretch);
    grid_->horizontalHeader()->resizeSection(StatementPreviewModel::State, 220);
    column->addWidget(grid_, 1);

    auto* rowButtons = new QHBoxLayout;
    QPushButton* sameShop = button(page, "sameShopButton", u"同じ摘要の行にも適用"_s);
    QPushButton* makeRule = button(page, "makeRuleButton", u"規則にする"_s);
    rowButtons->addWidget(sameShop);
    rowButtons->addWidget(makeRule);
    rowButtons->addStretch(1);
    column->addLayout(rowButtons);
    tabs->addTab(page, u"明細"_s);

    // The rules tab.
    auto* rulesPage = new QWidget(tabs);
    auto* rulesColumn = new QVBoxLayout(rulesPage);
    rulesTable_ = new QTableWidget(0, 3, rulesPage);
    rulesTable_->setObjectName(u"rulesTable"_s);
    rulesTable_->setHorizontalHeaderLabels(
        {u"摘要に含まれる文字"_s, u"勘定科目1"_s, u"勘定科目2"_s});
    rulesTable_->horizontalHeader()->setStretchLastSection(true);
    rulesTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rulesTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    rulesColumn->addWidget(rulesTable_, 1);
    auto* ruleButtons = new QHBoxLayout;
    QPushButton* addRule = button(rulesPage, "addRuleButton", u"追加"_s);
    QPushButton* deleteRule = button(rulesPage, "deleteRuleButton", u"削除"_s);
    QPushButton* upRule = button(rulesPage, "upRuleButton", u"上へ"_s);
    QPushButton* downRule = button(rulesPage, "downRuleButton", u"下へ"_s);
    for (QPushButton* b : {addRule, deleteRule, upRule, downRule}) ruleButtons->addWidget(b);
    ruleButtons->addStretch(1);
    rulesColumn->addLayout(ruleButtons);
    tabs->addTab(rulesPage, u"取り込み規則"_s);

    auto* bottom = new QHBoxLayout;
    countsLabel_ = new QLabel(this);
    countsLabel_->setObjectName(u"countsLabel"_s);
    bottom->addWidget(countsLabel_, 1);
    importButton_ = button(this, "importButton", u"取り込み実行"_s);
    QPushButton* cancel = button(this, "cancelButton", u"キャンセル"_s);
    bottom->addWidget(importButton_);
    bottom->addWidget(cancel);
    top->addLayout(bottom);

    connect(layoutCombo_, &QComboBox::activated, this, &StatementImportWindow::layoutChosen);
    connect(encodingCombo_, &QComboBox::activated, this, [this](int index) {
        choices_.encoding = kAllEncodings[index];
        reread();
    });
    connect(headerLineSpin_, &QSpinBox::valueChanged, this, [this](int line) {
        if (filling_) return;
        choices_.headerLine = static_cast<std::size_t>(line);
        if (!manual_ && !choices_.layout) choices_.layout = read_.layout;
        reread();
    });
    connect(signCombo_, &QComboBox::activated, this, &StatementImportWindow::manualMappingChanged);
    connect(saveLayoutButton_, &QPushButton::clicked, this,
            &StatementImportWindow::saveLayoutClick);
    connect(sameShop, &QPushButton::clicked, this, &StatementImportWindow::sameShopClick);
    connect(makeRule, &QPushButton::clicked, this, &StatementImportWindow::makeRuleClick);
    connect(addRule, &QPushButton::clicked, this, &StatementImportWindow::addRuleClick);
    connect(deleteRule, &QPushButton::clicked, this, &StatementImportWindow::deleteRuleClick);
    connect(upRule, &QPushButton::clicked, this, [this] { moveRuleClick(-1); });
    connect(downRule, &QPushButton::clicked, this, [this] { moveRuleClick(1); });
    connect(rulesTable_, &QTableWidget::itemChanged, this, &StatementImportWindow::ruleEdited);
    connect(model_, &StatementPreviewModel::ticksChanged, this,
            &StatementImportWindow::updateCounts);
    connect(importButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    showRules();
}

void StatementImportWindow::reread() {
    const QScopedValueRollback filling(filling_, true);
    problemLabel_->clear();
    try {
        read_ = readStatement(bytes_, layouts_, choices_);
        model_->setRows(preview(read_, records_, rules_));
    } catch (const OrvoError& e) {
        // Nothing recognised: the columns are mapped by hand.
        read_ = ReadStatement{};
        model_->setRows({});
        problemLabel_->setText(platform::fromCp932(e.what()));
        if (!manual_ && !choices_.layout) {
            manual_ = true;
            read_.encoding = detectEncoding(bytes_);
        }
    }
    if (!manual_) {
        for (std::size_t i = 0; i < layouts_.size(); ++i)
            if (layouts_[i].name == read_.layout.name)
                layoutCombo_->setCurrentIndex(static_cast<int>(i));
    } else {
        layoutCombo_->setCurrentIndex(layoutCombo_->count() - 1);
    }
    encodingCombo_->setCurrentIndex(static_cast<int>(read_.encoding));
    headerLineSpin_->setRange(0, 200);
    headerLineSpin_->setValue(static_cast<int>(read_.headerLine));
    manualPanel_->setVisible(manual_);
    if (manual_ && roleCombos_.empty()) rebuildManualPanel();
    updateCounts();
}

void StatementImportWindow::layoutChosen(int index) {
    choices_.headerLine.reset();
    manual_ = index == layoutCombo_->count() - 1;
    if (manual_) {
        // Starts from the layout read so far, its columns by position.
        choices_.layout.reset();
        rebuildManualPanel();
        manualMappingChanged();
        return;
    }
    choices_.layout = layouts_[static_cast<std::size_t>(index)];
    reread();
}

void StatementImportWindow::rebuildManualPanel() {
    for (QComboBox* combo : roleCombos_) delete combo;
    roleCombos_.clear();
    // One drop-down per column of the header row (or of the first data line).
    std::vector<std::string> names = read_.headerCells;
    if (names.empty()) {
        const DecodedText text = decodeText(bytes_, choices_.encoding);
        for (const TextLine& line : text.lines)
            if (!line.text.empty()) {
                names = splitCells(line.text, detectSeparator(line.text));
                break;
            }
    }
    for (std::size_t i = 0; i < names.size() && i < 30; ++i) {
        auto* combo = new QComboBox(manualPanel_);
        combo->setObjectName(u"roleCombo%1"_s.arg(i));
        combo->addItem(names[i].empty() ? u"(%1列目)"_s.arg(i + 1)
                                        : platform::fromCp932(names[i]) + u": なし"_s);
        for (ColumnRole role : kAllRoles) combo->addItem(platform::fromCp932(roleKey(role)));
        int current = kNoRole;
        for (const LayoutColumn& c : read_.layout.columns) {
            const bool here = c.position == static_cast<int>(i) ||
                              (c.position < 0 && !names[i].empty() && c.header == names[i]);
            if (here) current = 1 + static_cast<int>(c.role);
        }
        combo->setCurrentIndex(current);
        connect(combo, &QComboBox::activated, this, &StatementImportWindow::manualMappingChanged);
        manualColumns_->addWidget(combo);
        roleCombos_.push_back(combo);
    }
    signCombo_->setCurrentIndex(read_.layout.sign == AmountSign::PositiveIsExpense ? 1 : 0);
}

StatementLayout StatementImportWindow::manualLayout() const {
    StatementLayout layout;
    layout.name = "手動設定";
    const std::vector<std::string>& header = read_.headerCells;
    for (std::size_t i = 0; i < roleCombos_.size(); ++i) {
        const int choice = roleCombos_[i]->currentIndex();
        if (choice == kNoRole) continue;
        LayoutColumn column;
        column.role = kAllRoles[choice - 1];
        // By the header's name where there is one, so a saved layout is recognised by it.
        if (i < header.size() && !header[i].empty() && choices_.headerLine != 0) {
            column.header = header[i];
            if (column.role != ColumnRole::Balance) layout.keywords.push_back(header[i]);
        } else {
            column.position = static_cast<int>(i);
        }
        layout.columns.push_back(std::move(column));
    }
    layout.sign = signCombo_->currentIndex() == 1 ? AmountSign::PositiveIsExpense
                                                  : AmountSign::NegativeIsExpense;
    return layout;
}

void StatementImportWindow::manualMappingChanged() {
    if (!manual_) return;
    const std::vector<std::string> header = read_.headerCells;
    const std::size_t headerLine = read_.headerLine;
    choices_.layout = manualLayout();
    choices_.headerLine = headerLine;
    reread();
    if (read_.headerCells.empty()) read_.headerCells = header;
}

void StatementImportWindow::saveLayoutClick() {
    const QString name =
        dialogs().inputBox(u"この設定を保存"_s, u"形式の名前"_s, QString()).trimmed();
    if (name.isEmpty()) return;
    StatementLayout layout = manualLayout();
    layout.name = cp932Of(name);
    try {
        saveUserLayout(layout, layoutFolder_);
    } catch (const OrvoError& e) {
        dialogs().showError(e);
        return;
    }
    layouts_ = availableLayouts(layoutFolder_);
    layoutCombo_->clear();
    for (const StatementLayout& l : layouts_) layoutCombo_->addItem(platform::fromCp932(l.name));
    layoutCombo_->addItem(u"手動設定"_s);
    manual_ = false;
    choices_.layout = layout;
    reread();
}

void StatementImportWindow::sameShopClick() {
    model_->applyTitlesToSameShop(grid_->currentIndex().row());
}

void StatementImportWindow::makeRuleClick() {
    const int row = grid_->currentIndex().row();
    if (row < 0) return;
    const PreviewRow& r = model_->rows()[static_cast<std::size_t>(row)];
    if (r.state == RowState::Error || r.row.description.empty() || r.title1.empty()) return;
    rules_.push_back({r.row.description, r.title1, r.title2});
    showRules();
    rulesChanged();
}

void StatementImportWindow::addRuleClick() {
    rules_.push_back({"", "", ""});
    showRules();
    rulesTable_->setCurrentCell(static_cast<int>(rules_.size()) - 1, 0);
    rulesTable_->editItem(rulesTable_->currentItem());
}

void StatementImportWindow::deleteRuleClick() {
    const int row = rulesTable_->currentRow();
    if (row < 0 || row >= static_cast<int>(rules_.size())) return;
    rules_.erase(rules_.begin() + row);
    showRules();
    rulesChanged();
}

void StatementImportWindow::moveRuleClick(int step) {
    const int row = rulesTable_->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= static_cast<int>(rules_.size())) return;
    std::swap(rules_[static_cast<std::size_t>(row)], rules_[static_cast<std::size_t>(to)]);
    showRules();
    rulesTable_->setCurrentCell(to, 0);
    rulesChanged();
}

void StatementImportWindow::ruleEdited() {
    if (filling_) return;
    for (int r = 0; r < rulesTable_->rowCount(); ++r) {
        ImportRule& rule = rules_[static_cast<std::size_t>(r)];
        std::string* fields[] = {&rule.keyword, &rule.title1, &rule.title2};
        for (int c = 0; c < 3; ++c)
            if (const QTableWidgetItem* item = rulesTable_->item(r, c))
                *fields[c] = cp932Of(item->text());
    }
    rulesChanged();
}

void StatementImportWindow::showRules() {
    const QScopedValueRollback filling(filling_, true);
    rulesTable_->setRowCount(static_cast<int>(rules_.size()));
    for (int r = 0; r < static_cast<int>(rules_.size()); ++r) {
        const ImportRule& rule = rules_[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string* field : {&rule.keyword, &rule.title1, &rule.title2})
            rulesTable_->setItem(r, c++, new QTableWidgetItem(platform::fromCp932(*field)));
    }
}

void StatementImportWindow::rulesChanged() {
    // A rule without a keyword or a level-1 title is kept on screen but not in the file.
    std::vector<ImportRule> complete;
    for (const ImportRule& rule : rules_)
        if (!rule.keyword.empty() && !rule.title1.empty()) complete.push_back(rule);
    try {
        saveRules(complete, rulesPath_);
    } catch (const OrvoError& e) {
        dialogs().showError(e);
    }
    // The titles follow the rules; the ticks stay as the user left them.
    std::vector<PreviewRow> rows = model_->rows();
    for (PreviewRow& r : rows) {
        r.title1.clear();
        r.title2.clear();
    }
    assignTitles(rows, records_, complete);
    model_->setRows(std::move(rows));
}

void StatementImportWindow::updateCounts() {
    const StatementCounts counts = countRows(model_->rows());
    countsLabel_->setText(platform::fromCp932(countsText(counts)));
    const bool anyTicked = std::any_of(model_->rows().begin(), model_->rows().end(),
                                       [](const PreviewRow& r) { return r.ticked; });
    importButton_->setEnabled(anyTicked);
}

}  // namespace orvo::forms
