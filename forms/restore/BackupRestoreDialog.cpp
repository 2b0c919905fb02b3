#include "forms/restore/BackupRestoreDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/Fonts.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kFontPixels = 12;

QString withSeparators(unsigned long long n) {
    return QLocale(QLocale::English).toString(n);
}

}  // namespace

BackupRestoreDialog::BackupRestoreDialog(std::vector<BackupCopy> copies, QWidget* parent)
    : QDialog(parent), copies_(std::move(copies)) {
    setObjectName(u"BackupRestoreDialog"_s);
    setWindowTitle(u"バックアップから復元"_s);
    setModal(true);
    setFont(platform::screenFont(kFontPixels));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* hint = new QLabel(
        u"開くバックアップを選んでください。\n名前のない新しいデータとして開くので、"
        u"保存するときに保存先を尋ねます。"_s,
        this);
    copyList_ = new QTreeWidget(this);
    copyList_->setObjectName(u"copyList"_s);
    copyList_->setHeaderLabels({u"日付"_s, u"サイズ (バイト)"_s, u"件数"_s});
    copyList_->setRootIsDecorated(false);
    copyList_->setUniformRowHeights(true);
    copyList_->setSelectionMode(QAbstractItemView::SingleSelection);
    copyList_->header()->setStretchLastSection(false);
    copyList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    fillList();

    auto* buttons = new QDialogButtonBox(this);
    openButton_ = buttons->addButton(u"開く"_s, QDialogButtonBox::AcceptRole);
    openButton_->setObjectName(u"openButton"_s);
    QPushButton* cancel = buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    cancel->setObjectName(u"cancelButton"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(copyList_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    // Only a chosen line can be opened.
    connect(copyList_, &QTreeWidget::itemSelectionChanged, this,
            [this] { openButton_->setEnabled(!copyList_->selectedItems().isEmpty()); });
    openButton_->setEnabled(!copyList_->selectedItems().isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(copyList_, 1);
    layout->addWidget(buttons);
    resize(420, 320);
}

void BackupRestoreDialog::fillList() {
    for (const BackupCopy& copy : copies_) {
        const std::optional<std::size_t> records = recordCountOf(copy.path);
        auto* line = new QTreeWidgetItem(
            copyList_, {platform::fromCp932(copy.day.format()), withSeparators(copy.size),
                        records ? withSeparators(*records) : u"読めません"_s});
        line->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        line->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (QTreeWidgetItem* newest = copyList_->topLevelItem(0)) copyList_->setCurrentItem(newest);
}

std::optional<std::string> BackupRestoreDialog::chosen() const {
    const QList<QTreeWidgetItem*> selected = copyList_->selectedItems();
    if (result() != QDialog::Accepted || selected.isEmpty()) return std::nullopt;
    return copies_[static_cast<std::size_t>(copyList_->indexOfTopLevelItem(selected.first()))].path;
}

}  // namespace orvo::forms
