#include "forms/settings/Unit2.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/OrvoError.h"
#include "forms/GridSettingsAccess.h"
#include "forms/titles/TitleTreeEditor.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"
#include "settings/ColumnSettings.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kClientWidth = 351;
constexpr int kClientHeight = 309;
constexpr int kFormFontPixels = 12;
constexpr int kHeadingFontPixels = 15;

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(platform::screenFont(kHeadingFontPixels));
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::blue);
    colours.setColor(QPalette::WindowText, Qt::yellow);
    label->setPalette(colours);
    return label;
}

QStringList texts(const std::vector<std::string>& rows) {
    QStringList out;
    for (const std::string& row : rows) out << platform::fromCp932(row);
    return out;
}

std::string bytesOf(const QString& text) {
    return platform::toCp932(text).bytes;
}

}  // namespace

TForm2::TForm2(GridSettingsAccess& grid, const QString& printWidthsPath, QWidget* parent,
               const QString& titleFolder)
    : QDialog(parent),
      grid_(grid),
      state_(platform::toNativePath(printWidthsPath), platform::toNativePath(titleFolder)) {
    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    setObjectName(u"Form2"_s);
    setWindowTitle(u"環境設定"_s);
    setFont(platform::screenFont(kFormFontPixels));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(u"PageControl1"_s);
    QWidget* columnsTab = buildColumnsTab();
    QWidget* printTab = buildPrintTab();
    titleEditor = new TitleTreeEditor(PageControl1);
    titleEditor->setObjectName(u"TabSheet3"_s);
    // A renamed title may go into the records that carry the old name.
    titleEditor->titleRenamed = [this](const RecordTitle& old, const std::string& newName) {
        try {
            const std::size_t count = grid_.recordsTitled(old);
            if (count == 0) return;
            if (platform::dialogs().message(
                    platform::MessageKind::Confirmation,
                    u"記録の勘定科目も変更しますか？ ("_s + QString::number(count) + u"件)"_s,
                    platform::Yes | platform::No) == platform::Yes)
                grid_.renameTitleInLedger(old, newName);
        } catch (...) {
            platform::showException(std::current_exception());
        }
    };
    PageControl1->addTab(columnsTab, u"ｼｰﾄ項目変更"_s);
    PageControl1->addTab(printTab, u"印刷設定"_s);
    PageControl1->addTab(titleEditor, u"勘定科目編集"_s);
    PageControl1->setCurrentWidget(titleEditor);  // later showings keep the last tab

    Button2 = new QPushButton(u"登録終了"_s, this);
    Button2->setObjectName(u"Button2"_s);
    Button1 = new QPushButton(u"設定のみ"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button3 = new QPushButton(u"閉じる"_s, this);
    Button3->setObjectName(u"Button3"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {Button2, Button1, Button3}) {
        // Enter in an edit field must not press a button of its own accord.
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    // The lists ask for more room than the window has; their minimum is enough.
    setFixedSize(minimumSizeHint().expandedTo(QSize(kClientWidth, kClientHeight)));

    const std::vector<std::string> errors = state_.create(grid_.settingsGrid());
    showColumnLists();
    showPageSettings();
    titleEditor->setTitles(state_.titles);
    for (const std::string& error : errors)
        platform::dialogs().showError(platform::fromCp932(error));
}

QListWidget* TForm2::addList(QWidget* tab, const char* name) {
    auto* list = new QListWidget(tab);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(list, &QListWidget::currentRowChanged, this, [this, list] { ListBox1Click(list); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { ListBox1DblClick(list); });
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this, list] { alignTopRows(list); });
    return list;
}

QWidget* TForm2::buildColumnsTab() {
    auto* tab = new QWidget;
    tab->setObjectName(u"TabSheet1"_s);
    ListBox1 = addList(tab, "ListBox1");
    ListBox3 = addList(tab, "ListBox3");
    ListBox2 = addList(tab, "ListBox2");

    auto* grid = new QGridLayout(tab);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(heading(u"●項目名の変更と表示横幅"_s, tab), 0, 0, 1, 2);
    grid->addWidget(heading(u"●印刷時の横幅"_s, tab), 0, 2);
    grid->addWidget(new QLabel(u"項目名"_s, tab), 1, 0);
    grid->addWidget(new QLabel(u"表示横幅"_s, tab), 1, 1);
    grid->addWidget(new QLabel(u"項目幅(0.1mm)"_s, tab), 1, 2);
    grid->addWidget(ListBox1, 2, 0);
    grid->addWidget(ListBox3, 2, 1);
    grid->addWidget(ListBox2, 2, 2);
    auto* hint = new QLabel(u"変更したい項目をWクリックしてください"_s, tab);
    hint->setWordWrap(true);
    auto* note = new QLabel(u"項目幅が200なら、2cmになります"_s, tab);
    note->setWordWrap(true);
    grid->addWidget(hint, 3, 0, 1, 2);
    grid->addWidget(note, 3, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setRowStretch(2, 1);
    return tab;
}

QWidget* TForm2::buildPrintTab() {
    auto* tab = new QWidget;
    tab->setObjectName(u"TabSheet2"_s);
    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(3);
    auto row = [column] {
        auto* r = new QHBoxLayout;
        r->setContentsMargins(12, 0, 0, 0);
        column->addLayout(r);
        return r;
    };
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };

    column->addWidget(heading(u"●　印刷方向"_s, tab));
    RadioButton1 = named(new QRadioButton(u"A4縦"_s, tab), "RadioButton1");
    RadioButton2 = named(new QRadioButton(u"A4横"_s, tab), "RadioButton2");
    auto* orientation = new QButtonGroup(tab);
    QHBoxLayout* r = row();
    for (QRadioButton* b : {RadioButton1, RadioButton2}) {
        orientation->addButton(b);
        r->addWidget(b);
    }
    r->addStretch(1);

    column->addWidget(heading(u"●　印刷余白等"_s, tab));
    EdTop = named(new QLineEdit(tab), "EdTop");
    EdLeft = named(new QLineEdit(tab), "EdLeft");
    CmbLeft = named(new QComboBox(tab), "CmbLeft");
    CmbLeft->setEditable(true);
    CmbLeft->setInsertPolicy(QComboBox::NoInsert);
    CmbLeft->addItems(texts(leftPositionChoices()));
    for (QLineEdit* e : {EdTop, EdLeft}) e->setFixedWidth(48);
    CmbLeft->setFixedWidth(64);
    r = row();
    r->addWidget(new QLabel(u"上余白"_s, tab));
    r->addWidget(EdTop);
    r->addWidget(new QLabel(u"左余白"_s, tab));
    r->addWidget(EdLeft);
    r->addWidget(new QLabel(u"(単位0.1mm)"_s, tab));
    r->addStretch(1);
    r = row();
    r->addWidget(new QLabel(u"印字左位置"_s, tab));
    r->addWidget(CmbLeft);
    r->addWidget(new QLabel(u"200で2cmになります"_s, tab));
    r->addStretch(1);

    column->addWidget(heading(u"●　印刷ﾍﾟｰｼﾞ指定"_s, tab));
    RadioButton3 = named(new QRadioButton(u"全ﾍﾟｰｼﾞ"_s, tab), "RadioButton3");
    RadioButton4 = named(new QRadioButton(u"ﾍﾟｰｼﾞ指定"_s, tab), "RadioButton4");
    auto* pages = new QButtonGroup(tab);
    pages->addButton(RadioButton3);
    pages->addButton(RadioButton4);
    Edit1 = named(new QLineEdit(tab), "Edit1");
    Edit2 = named(new QLineEdit(tab), "Edit2");
    for (QLineEdit* e : {Edit1, Edit2}) e->setFixedWidth(40);
    r = row();
    r->addWidget(RadioButton3);
    r->addWidget(RadioButton4);
    r->addWidget(Edit1);
    r->addWidget(new QLabel(u"から"_s, tab));
    r->addWidget(Edit2);
    r->addWidget(new QLabel(u"まで"_s, tab));
    r->addStretch(1);

    column->addWidget(heading(u"●　文字の大きさ"_s, tab));
    ComboBox1 = named(new QComboBox(tab), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(texts(fontSizeChoices()));
    ComboBox1->setFixedWidth(64);
    r = row();
    r->addWidget(ComboBox1);
    r->addStretch(1);

    // Where "印刷実行" prints: a PDF file serves where no printer is installed.
    column->addWidget(heading(u"●　出力先"_s, tab));
    RadioButton5 = named(new QRadioButton(u"プリンタ"_s, tab), "RadioButton5");
    RadioButton6 = named(new QRadioButton(u"PDFﾌｧｲﾙ"_s, tab), "RadioButton6");
    auto* output = new QButtonGroup(tab);
    r = row();
    for (QRadioButton* b : {RadioButton5, RadioButton6}) {
        output->addButton(b);
        r->addWidget(b);
    }
    r->addStretch(1);
    // Chosen when first needed (chooseOutputIfUnchosen): asking the print
    // system for its printers is slow, and the program's start need not wait for it.
    column->addStretch(1);
    return tab;
}

void TForm2::showColumnLists() {
    const std::pair<QListWidget*, const std::vector<std::string>*> lists[] = {
        {ListBox1, &state_.columns.titles},
        {ListBox3, &state_.columns.displayWidths},
        {ListBox2, &state_.printWidths}};
    for (const auto& [list, rows] : lists) {
        const QSignalBlocker blocker(list);
        const int row = list->currentRow();
        list->clear();
        list->addItems(texts(*rows));
        if (row >= 0 && row < list->count()) list->setCurrentRow(row);
    }
}

void TForm2::showPageSettings() {
    const PageSettings& page = state_.page;
    (page.orientation == PageOrientation::Landscape ? RadioButton2 : RadioButton1)
        ->setChecked(true);
    EdTop->setText(platform::fromCp932(page.topMargin));
    EdLeft->setText(platform::fromCp932(page.leftMargin));
    CmbLeft->setEditText(platform::fromCp932(page.leftPosition));
    (page.selection == PageSelection::PageRange ? RadioButton4 : RadioButton3)->setChecked(true);
    Edit1->setText(platform::fromCp932(page.firstPage));
    Edit2->setText(platform::fromCp932(page.lastPage));
    ComboBox1->setEditText(platform::fromCp932(page.fontSize));
}

PageSettings TForm2::pageSettings() const {
    PageSettings page;
    page.orientation =
        RadioButton2->isChecked() ? PageOrientation::Landscape : PageOrientation::Portrait;
    page.topMargin = bytesOf(EdTop->text());
    page.leftMargin = bytesOf(EdLeft->text());
    page.leftPosition = bytesOf(CmbLeft->currentText());
    page.selection = RadioButton4->isChecked() ? PageSelection::PageRange : PageSelection::AllPages;
    page.firstPage = bytesOf(Edit1->text());
    page.lastPage = bytesOf(Edit2->text());
    page.fontSize = bytesOf(ComboBox1->currentText());
    return page;
}

bool TForm2::printsToPdf() const {
    chooseOutputIfUnchosen();
    return RadioButton6->isChecked();
}

void TForm2::chooseOutputIfUnchosen() const {
    if (RadioButton5->isChecked() || RadioButton6->isChecked()) return;
    (QPrinterInfo::availablePrinters().isEmpty() ? RadioButton6 : RadioButton5)->setChecked(true);
}

void TForm2::setConfirmCaption(const QString& caption) {
    Button2->setText(caption);
}

void TForm2::refreshFromGrid() {
    state_.refreshFromGrid(grid_.settingsGrid());
    showColumnLists();
}

void TForm2::showPrintTab(const std::string& fontSize) {
    PageControl1->setCurrentIndex(PageControl1->indexOf(findChild<QWidget*>(u"TabSheet2"_s)));
    ComboBox1->setEditText(platform::fromCp932(fontSize));
}

bool TForm2::showModally() {
    exec();
    return confirmed();
}

bool TForm2::confirmed() const {
    // A confirm that failed part-way leaves the window open; closing it then
    // with "閉じる" or Esc must not count as confirmed.
    return state_.confirmed() && result() == QDialog::Accepted;
}

void TForm2::showEvent(QShowEvent* event) {
    chooseOutputIfUnchosen();
    state_.beginShowing();
    setResult(QDialog::Rejected);
    if (!placed_) {
        placed_ = true;
        platform::centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

std::vector<std::string>& TForm2::rowsOf(QListWidget* list) {
    if (list == ListBox1) return state_.columns.titles;
    if (list == ListBox3) return state_.columns.displayWidths;
    return state_.printWidths;
}

void TForm2::ListBox1Click(QListWidget* sender) {
    const int row = sender->currentRow();
    for (QListWidget* other : {ListBox1, ListBox3, ListBox2}) {
        if (other == sender) continue;
        const QSignalBlocker blocker(other);
        if (row >= 0 && row < other->count())
            other->setCurrentRow(row);
        else
            other->setCurrentRow(-1);
    }
    alignTopRows(sender);
}

void TForm2::alignTopRows(QListWidget* leader) {
    const int top = leader->verticalScrollBar()->value();
    for (QListWidget* other : {ListBox1, ListBox3, ListBox2}) {
        if (other == leader) continue;
        const QSignalBlocker blocker(other->verticalScrollBar());
        other->verticalScrollBar()->setValue(top);
    }
}

void TForm2::ListBox1DblClick(QListWidget* sender) {
    const int row = sender->currentRow();
    std::vector<std::string>& rows = rowsOf(sender);
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    const SettingsList which = sender == ListBox1   ? SettingsList::Titles
                               : sender == ListBox3 ? SettingsList::DisplayWidths
                                                    : SettingsList::PrintWidths;
    const QString current = platform::fromCp932(rows[static_cast<std::size_t>(row)]);
    QString answer = platform::dialogs().inputBox(platform::fromCp932(editPromptCaption(which)),
                                                  platform::fromCp932(editPromptText()), current);
    // A TAB would split the title row of the data file.
    answer.replace(u'\t', u' ');
    const platform::Cp932Result encoded = platform::toCp932(answer);
    if (!encoded.ok()) {
        platform::dialogs().message(platform::MessageKind::Warning,
                                    u"次の文字は使えません: "_s + encoded.unencodable,
                                    platform::Ok);
        return;
    }
    std::string& text = rows[static_cast<std::size_t>(row)];
    text = editedRow(text, encoded.bytes);
    sender->item(row)->setText(platform::fromCp932(text));
}

void TForm2::Button1Click() {
    try {
        grid_.changeGrid([this](LedgerTable& grid) { state_.applyOnly(grid); });
    } catch (...) {
        platform::showException(std::current_exception());
        return;
    }
    done(QDialog::Rejected);
}

void TForm2::Button2Click() {
    state_.titles = titleEditor->titles();
    ConfirmHooks hooks;
    hooks.emptyPickLists = [this] { grid_.emptyTitlePickLists(); };
    hooks.allowTitleOverwrite = [this] {
        return platform::dialogs().message(
                   platform::MessageKind::Warning,
                   platform::fromCp932(titleOverwriteQuestion(state_.titleLoad())),
                   platform::Yes | platform::No) == platform::Yes;
    };
    hooks.reloadPickLists = [this] {
        if (state_.titleLoad().complete) {
            grid_.reloadTitlePickLists();
            return;
        }
        // The user kept the title files that did not read whole, having been
        // told why; the lists take what can be read without a second error.
        try {
            grid_.reloadTitlePickLists();
        } catch (const OrvoError&) {
        }
    };
    try {
        grid_.changeGrid([this, &hooks](LedgerTable& grid) { state_.confirm(grid, hooks); });
    } catch (...) {
        platform::showException(std::current_exception());
        return;
    }
    done(QDialog::Accepted);
}

void TForm2::Button3Click() {
    reject();
}

}  // namespace orvo::forms
