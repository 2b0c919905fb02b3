#include "forms/phrases/Unit4.h"

#include <QCollator>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

#include "forms/GridCellAccess.h"
#include "ledger/LedgerTable.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"
#include "settings/PhraseFile.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kClientWidth = 298;
constexpr int kClientHeight = 233;
constexpr int kFontPixels = 12;

// The list's order: the locale's collation with letter case ignored; texts it
// finds equal keep a fixed order by their bytes.
PhraseOrder collatedOrder() {
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return [collator](std::string_view a, std::string_view b) {
        const int order = collator.compare(platform::fromCp932(a), platform::fromCp932(b));
        return order != 0 ? order < 0 : a < b;
    };
}

}  // namespace

TForm4::TForm4(GridCellAccess* grid, QWidget* parent, const QString& phraseFolder)
    : QDialog(parent),
      grid_(grid),
      phraseFilePath_(phraseFilePath(
          platform::toNativePath(phraseFolder.isEmpty() ? QDir::currentPath() : phraseFolder))),
      phrases_(collatedOrder()) {
    FormCreate();
}

void TForm4::FormCreate() {
    setObjectName(u"Form4"_s);
    setWindowTitle(u"定型句"_s);
    // On top of the main window that owns it, not of other programs.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(platform::screenFont(kFontPixels));

    Label1 = new QLabel(u"摘要欄の末尾に追加したい項目をｸﾘｯｸしてください"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(24, 8, kClientWidth - 24, 14);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->setGeometry(8, 24, 281, 137);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Button4Click(ListBox1); });

    auto button = [this](const char* name, const QString& text, QRect place) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(place);
        b->setAutoDefault(false);
        return b;
    };
    Button2 = button("Button2", u"追加"_s, {64, 168, 73, 25});
    Button3 = button("Button3", u"削除"_s, {144, 168, 73, 25});
    Button4 = button("Button4", u"摘要に追加"_s, {8, 200, 75, 25});
    Button5 = button("Button5", u"括弧を付けて摘要に追加"_s, {88, 200, 139, 25});
    Button1 = button("Button1", u"閉じる"_s, {232, 200, 56, 25});
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(Button4); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button4Click(Button5); });
    setTabOrder(ListBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Button5);

    const std::string error = phrases_.loadFile(phraseFilePath_);
    showList(-1);
    if (!error.empty()) platform::dialogs().showError(platform::fromCp932(error));
}

void TForm4::showList(int selectRow) {
    ListBox1->clear();
    for (const std::string& phrase : phrases_.phrases())
        ListBox1->addItem(platform::fromCp932(phrase));
    if (selectRow >= 0 && selectRow < ListBox1->count()) {
        ListBox1->setCurrentRow(selectRow);
        ListBox1->scrollToItem(ListBox1->item(selectRow));
    }
}

const std::string* TForm4::selectedPhrase() const {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty()) return nullptr;
    const int row = ListBox1->row(selected.first());
    if (row < 0 || static_cast<std::size_t>(row) >= phrases_.size()) return nullptr;
    return &phrases_.at(static_cast<std::size_t>(row));
}

void TForm4::warn(const std::string& cp932Text) {
    platform::dialogs().message(platform::MessageKind::Warning, platform::fromCp932(cp932Text),
                                platform::Ok);
}

void TForm4::showPhrases() {
    show();
    raise();
    activateWindow();
}

void TForm4::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        platform::centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TForm4::Button2Click() {
    const QString answer = platform::dialogs().inputBox(
        platform::fromCp932(addPhraseCaption()), platform::fromCp932(addPhrasePrompt()), QString());
    if (answer.isEmpty()) return;
    const platform::Cp932Result encoded = platform::toCp932(answer);
    if (!encoded.ok()) {
        // The phrase file is CP932; such a phrase could not be kept.
        platform::dialogs().message(platform::MessageKind::Warning,
                                    u"次の文字は定型句に使えません: "_s + encoded.unencodable,
                                    platform::Ok);
        return;
    }
    const PhraseList::AddResult added = phrases_.add(encoded.bytes);
    if (added.outcome == PhraseList::AddOutcome::NothingEntered) return;
    showList(static_cast<int>(added.index));
}

void TForm4::Button3Click() {
    const std::string* phrase = selectedPhrase();
    if (!phrase) {
        warn(noPhraseToDeleteText());
        return;
    }
    if (platform::dialogs().message(
            platform::MessageKind::Warning, platform::fromCp932(deletePhraseQuestion(*phrase)),
            platform::Yes | platform::No | platform::Cancel) != platform::Yes)
        return;
    const int row = ListBox1->currentRow();
    phrases_.remove(static_cast<std::size_t>(row));
    showList(-1);
}

void TForm4::Button4Click(QObject* sender) {
    const std::string* phrase = selectedPhrase();
    if (!phrase) {
        warn(noPhraseToAppendText());
        return;
    }
    const AppendStyle style = sender == Button5 ? AppendStyle::InParentheses : AppendStyle::Plain;
    const CellBlock selection = grid_ ? grid_->gridSelection() : CellBlock{};
    if (!grid_ || selection.left != kDescriptionColumn || selection.top < LedgerTable::kFixedRows) {
        warn(noDescriptionCellText());
        return;
    }
    grid_->setCellText(
        kDescriptionColumn, selection.top,
        grid_->cellText(kDescriptionColumn, selection.top) + appendedText(*phrase, style),
        StepKind::Phrase);
}

bool TForm4::savePhrases() {
    const auto allowOverwrite = [this] {
        return platform::dialogs().message(
                   platform::MessageKind::Warning,
                   platform::fromCp932(phraseOverwriteQuestion(phrases_.loadError())),
                   platform::Yes | platform::No) == platform::Yes;
    };
    try {
        phrases_.saveIfModified(phraseFilePath_, allowOverwrite);
    } catch (...) {
        platform::showException(std::current_exception());
        return false;
    }
    return true;
}

void TForm4::Button1Click() {
    if (!savePhrases()) return;  // the window stays open, the changes kept
    QDialog::reject();
}

void TForm4::reject() {
    Button1Click();
}

bool TForm4::saveAtProgramEnd() {
    return savePhrases();
}

}  // namespace orvo::forms
