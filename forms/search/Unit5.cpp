#include "forms/search/Unit5.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "forms/LedgerAccess.h"
#include "forms/search/SearchResultModel.h"
#include "ledger/SearchList.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kClientWidth = 375;
constexpr int kClientHeight = 251;
constexpr int kFontPixels = 12;
// The result list scrolls sideways this far past its client width.
constexpr int kExtraScrollWidth = 100;

using platform::dialogs;
using platform::MessageKind;

QString fromCore(const std::string& cp932) {
    return platform::fromCp932(cp932);
}

}  // namespace

TForm5::TForm5(LedgerAccess& host, QWidget* parent) : QDialog(parent), host_(host) {
    FormCreate();
}

TForm5::~TForm5() = default;

void TForm5::FormCreate() {
    setObjectName(u"Form5"_s);
    setWindowTitle(u"データ検索"_s);
    setModal(true);
    setFont(platform::screenFont(kFontPixels));
    setFixedSize(kClientWidth, kClientHeight);
    // A fixed dialog: a title and a close box, nothing to minimise or enlarge.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    Label2 = new QLabel(u"検索キーワード"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Label2->move(40, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(128, 16, 121, 20);
    Button1 = new QPushButton(u"検索実行"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button1->setGeometry(144, 40, 75, 25);
    Label1 = new QLabel(u"検索結果表示"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->move(144, 80);

    matchList_ = new SearchResultModel(this);
    ListBox1 = new QListView(this);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->setGeometry(16, 96, 345, 113);
    ListBox1->setModel(matchList_);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setWordWrap(false);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    Button4 = new QPushButton(u"ﾘｽﾄから削除"_s, this);
    Button4->setObjectName(u"Button4"_s);
    Button4->setGeometry(56, 216, 83, 25);
    Button3 = new QPushButton(u"一括置換実行"_s, this);
    Button3->setObjectName(u"Button3"_s);
    Button3->setGeometry(144, 216, 99, 25);
    Button2 = new QPushButton(u"閉じる"_s, this);
    Button2->setObjectName(u"Button2"_s);
    Button2->setGeometry(248, 216, 75, 25);
    // Enter in the keyword runs the search; Esc closes (the dialog's own reject).
    for (QPushButton* b : {Button2, Button3, Button4}) b->setAutoDefault(false);
    Button1->setDefault(true);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, ListBox1);
    setTabOrder(ListBox1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);

    connect(Button1, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm5::Button1Click); });
    connect(ListBox1, &QAbstractItemView::doubleClicked, this,
            [this] { runShowingErrors(&TForm5::ListBox1DblClick); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm5::Button4Click); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm5::Button3Click); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm5::Button2Click); });
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        platform::centreOnScreen(this);
    }
}

void TForm5::runShowingErrors(void (TForm5::*handler)()) {
    try {
        (this->*handler)();
    } catch (...) {
        host_.showLedger();
        platform::showException(std::current_exception());
    }
}

int TForm5::selectedLine() const {
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void TForm5::Button1Click() {
    matchList_->clear();
    if (Edit1->text().isEmpty()) {
        dialogs().message(MessageKind::Warning, fromCore(searchKeywordMissingMessage()),
                          platform::Ok);
        return;
    }
    // A keyword with a character the ledger's code page lacks is in no record.
    const platform::Cp932Result keyword = platform::toCp932(Edit1->text());
    if (keyword.ok()) matchList_->search(host_.ledger().records(), keyword.bytes);
    if (matchList_->rowCount() == 0) {
        dialogs().message(MessageKind::Information, fromCore(searchNothingFoundMessage()),
                          platform::Ok);
        return;
    }
    const QFontMetrics metrics(ListBox1->font());
    matchList_->setLineSize(
        QSize(ListBox1->viewport()->width() + kExtraScrollWidth, metrics.height() + 2));
}

void TForm5::ListBox1DblClick() {
    LedgerBook& book = host_.ledger();
    const int line = selectedLine();
    if (line < 0)
        book.Recalculate();
    else
        jumpToResult(book, matchList_->list(), static_cast<std::size_t>(line));
    host_.showLedger();
}

void TForm5::Button4Click() {
    matchList_->removeLine(selectedLine());
}

void TForm5::Button3Click() {
    const QString typed =
        dialogs().inputBox(u"置換"_s, u"置換したい文字列を入力してください"_s, QString());
    if (typed.isEmpty()) {
        dialogs().message(MessageKind::Plain, fromCore(replaceTextMissingMessage()), platform::Ok);
        return;
    }
    const platform::Cp932Result newText = platform::toCp932(typed);
    if (!newText.ok()) {
        dialogs().message(MessageKind::Warning,
                          u"次の文字はShift-JISのファイルに保存できないため、置換できません: "_s +
                              newText.unencodable,
                          platform::Ok);
        return;
    }
    // A keyword the ledger's code page cannot hold occurs nowhere, as an empty one.
    const platform::Cp932Result keyword = platform::toCp932(Edit1->text());
    replaceListed(host_.ledger(), matchList_->list(), keyword.ok() ? keyword.bytes : std::string(),
                  newText.bytes);
    host_.showLedger();
    dialogs().message(MessageKind::Plain, fromCore(replaceDoneMessage()), platform::Ok);
    close();
}

void TForm5::Button2Click() {
    close();
}

}  // namespace orvo::forms
