// TForm1: construction, layout, menus, start-up and keeping the window in
// step with the book.

#include "forms/main/Unit1.h"

#include <climits>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>

#include "base/Amount.h"
#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "forms/main/DatePicker.h"
#include "forms/main/EventHook.h"
#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/MenuVisibility.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerLock.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/ProgramFiles.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kTopPanelHeight = 49;
constexpr int kBottomPanelHeight = 64;
constexpr int kButtonWidth = 64;
constexpr int kFormFontPixels = 12;
constexpr int kTotalsFontPixels = 15;
constexpr int kHintFontPixels = 9;

QString creditLine() {
    return u"現金出納帳 Version 0.1"_s;
}

// For a focus event: focus that moves between the window's own controls, as
// opposed to the window being activated or a pop-up opening or closing.
bool movedWithinWindow(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool isEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

StartOptions defaultStartOptions() {
    const QDate today = QDate::currentDate();
    return {LedgerDate{today.year(), today.month(), today.day()},
            platform::lastFileRecordPathFor(QCoreApplication::applicationFilePath())};
}

TForm1::TForm1(const StartOptions& options, QWidget* parent) : QMainWindow(parent) {
    buildWindow();
    FormCreate(options);
}

TForm1::~TForm1() {
    // The grid's model reads `book`, which goes before the child widgets do: a
    // window destroyed while shown is hidden by QWidget's destructor, which
    // would lay its headers out from a table that is gone.
    StringGrid1->setModel(nullptr);
    hide();
}

void TForm1::buildWindow() {
    setObjectName(u"Form1"_s);
    setFont(platform::screenFont(kFormFontPixels));
    setMinimumSize(kMinimumWindowWidth, kMinimumWindowHeight);
    resize(kInitialWindowWidth, kInitialWindowHeight);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QWidget(central);
    top->setObjectName(u"Panel1"_s);
    top->setFixedHeight(kTopPanelHeight);
    top->setAutoFillBackground(true);
    QPalette topPalette = top->palette();
    topPalette.setColor(QPalette::Window, Qt::black);
    topPalette.setColor(QPalette::WindowText, Qt::white);
    top->setPalette(topPalette);
    buildTopPanel(top);

    StringGrid1 = new LedgerGridView(central);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    gridModel = new LedgerGridModel(book, this);
    cellDelegate = new LedgerCellDelegate(this);
    StringGrid1->setModel(gridModel);
    StringGrid1->setItemDelegate(cellDelegate);

    auto* bottom = new QWidget(central);
    bottom->setObjectName(u"Panel2"_s);
    bottom->setFixedHeight(kBottomPanelHeight);
    bottom->setAutoFillBackground(true);
    QPalette bottomPalette = bottom->palette();
    bottomPalette.setColor(QPalette::Window, bottomPalette.color(QPalette::Highlight));
    bottomPalette.setColor(QPalette::WindowText, bottomPalette.color(QPalette::HighlightedText));
    bottom->setPalette(bottomPalette);
    buildBottomPanel(bottom);

    layout->addWidget(top);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(bottom);

    // The drop-down editors float over the grid's focused cell.
    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox2 = new QComboBox(central);
    ComboBox2->setObjectName(u"ComboBox2"_s);
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(20);
        box->hide();
    }
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { runShowingErrors([this] { ComboBox1Select(); }); });
    connect(ComboBox2, &QComboBox::activated, this,
            [this] { runShowingErrors([this] { ComboBox2Select(); }); });

    QWidget::setTabOrder(StringGrid1, Button1);
    QWidget::setTabOrder(Button1, DateTimePicker1);
    QWidget::setTabOrder(DateTimePicker1, Button2);
    QWidget::setTabOrder(Button2, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);
    QWidget::setTabOrder(RadioButton2, Button3);
    QWidget::setTabOrder(Button3, Button4);
    QWidget::setTabOrder(Button4, ComboBox1);
    QWidget::setTabOrder(ComboBox1, ComboBox2);

    buildMenus();
    wireGrid();
    watchGridFocusAndKeys();
    watchDatePickerFocus();
    watchDropDownEditors();
    watchGridMouseButtons();
}

void TForm1::buildTopPanel(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(4);

    Button1 = new QPushButton(u"<"_s, panel);
    Button1->setObjectName(u"Button1"_s);
    DateTimePicker1 = new DatePicker(panel);
    DateTimePicker1->setObjectName(u"DateTimePicker1"_s);
    DateTimePicker1->setDisplayFormat(u"yyyy/MM/dd"_s);
    DateTimePicker1->setCalendarPopup(true);
    // A date typed digit by digit counts once it is complete, not at every digit.
    DateTimePicker1->setKeyboardTracking(false);
    DateTimePicker1->setMinimumDate(QDate(1, 1, 1));
    DateTimePicker1->setMaximumDate(QDate(9999, 12, 31));
    DateTimePicker1->setFixedWidth(100);
    Button2 = new QPushButton(u">"_s, panel);
    Button2->setObjectName(u"Button2"_s);
    for (QPushButton* b : {Button1, Button2}) b->setFixedSize(26, 26);
    row->addWidget(Button1);
    row->addWidget(DateTimePicker1);
    row->addWidget(Button2);

    auto* hints = new QVBoxLayout;
    hints->setSpacing(2);
    Label3 = new QLabel(u"改行するには、CTRLキーを押しながらEnterキーを押します"_s, panel);
    Label3->setObjectName(u"Label3"_s);
    Label2 =
        new QLabel(u"文字を入力するには、モードの「編集可」を確認し、入力してください"_s, panel);
    Label2->setObjectName(u"Label2"_s);
    for (QLabel* l : {Label3, Label2}) {
        l->setFont(platform::screenFont(kHintFontPixels));
        l->setMinimumWidth(1);  // clipped, not widening the window
        l->setTextFormat(Qt::PlainText);
        hints->addWidget(l);
    }
    // The hints fit whole beside the modes at the window's minimum width.
    row->addSpacing(2);
    row->addLayout(hints, 1);

    Label1 = new QLabel(u"モード選択"_s, panel);
    Label1->setObjectName(u"Label1"_s);
    row->addWidget(Label1);
    auto* modes = new QVBoxLayout;
    modes->setSpacing(0);
    RadioButton1 = new QRadioButton(u"編集可"_s, panel);
    RadioButton1->setObjectName(u"RadioButton1"_s);
    RadioButton2 = new QRadioButton(u"ｾﾙの選択"_s, panel);
    RadioButton2->setObjectName(u"RadioButton2"_s);
    for (QRadioButton* r : {RadioButton1, RadioButton2}) modes->addWidget(r);
    row->addLayout(modes);

    connect(Button1, &QPushButton::clicked, this,
            [this] { runShowingErrors([this] { Button1Click(Button1); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { runShowingErrors([this] { Button1Click(Button2); }); });
    connect(DateTimePicker1, &QDateEdit::dateChanged, this,
            [this] { runShowingErrors([this] { DateTimePicker1Change(); }); });
    connect(RadioButton1, &QRadioButton::clicked, this,
            [this] { runShowingErrors([this] { RadioButton1Click(); }); });
    connect(RadioButton2, &QRadioButton::clicked, this,
            [this] { runShowingErrors([this] { RadioButton2Click(); }); });
}

void TForm1::buildBottomPanel(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 2, 8, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    Button3 = new QPushButton(u"再計算"_s, panel);
    Button3->setObjectName(u"Button3"_s);
    Button4 = new QPushButton(u"終了"_s, panel);
    Button4->setObjectName(u"Button4"_s);
    // Narrow buttons leave the totals room for their widest value.
    for (QPushButton* b : {Button3, Button4}) b->setFixedWidth(kButtonWidth);
    grid->addWidget(Button3, 0, 0, 3, 1, Qt::AlignVCenter);

    const QString headings[] = {u"支出"_s, u"収入"_s, u"残高"_s};
    for (int i = 0; i < 3; ++i)
        grid->addWidget(new QLabel(headings[i], panel), 0, 2 + i, Qt::AlignRight);
    grid->addWidget(new QLabel(u"日計"_s, panel), 1, 1);
    grid->addWidget(new QLabel(u"累計"_s, panel), 2, 1);

    QLabel** labels[] = {&DayOut, &DayIn, &DayZan, &AllOut, &AllIn, &AllZan};
    const QString names[] = {u"DayOut"_s, u"DayIn"_s, u"DayZan"_s,
                             u"AllOut"_s, u"AllIn"_s, u"AllZan"_s};
    // Wide enough for every value a total can take, the widest included.
    const QFont totalsFont = platform::screenFont(kTotalsFontPixels);
    const int totalsWidth =
        QFontMetrics(totalsFont).horizontalAdvance(platform::fromCp932(formatYen(INT32_MIN))) + 4;
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(u"0"_s, panel);
        label->setObjectName(names[i]);
        label->setFont(totalsFont);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFixedWidth(totalsWidth);
        label->setTextFormat(Qt::PlainText);
        grid->addWidget(label, 1 + i / 3, 2 + i % 3);
        *labels[i] = label;
    }
    grid->setColumnStretch(5, 1);
    grid->addWidget(Button4, 0, 6, 3, 1, Qt::AlignVCenter);

    connect(Button3, &QPushButton::clicked, this,
            [this] { runShowingErrors([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { runShowingErrors([this] { Button4Click(); }); });
}

void TForm1::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text,
                         void (TForm1::*handler)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, handler] {
            runShowingErrors([this, handler] { (this->*handler)(); });
            updateUndoActions();  // every command may have made a step
        });
        return a;
    };
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const QString& text) {
        QMenu* m = bar->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    fileMenu = menu("fileMenu", u"ファイル(&F)"_s);
    New1 = action(fileMenu, "New1", u"新規作成(&N)"_s, &TForm1::New1Click);
    Open1 = action(fileMenu, "Open1", u"開く(&O)"_s, &TForm1::Open1Click);
    Save1 = action(fileMenu, "Save1", u"上書き保存(&S)"_s, &TForm1::Save1Click);
    SaveAs1 = action(fileMenu, "SaveAs1", u"名前を付けて保存(&A)"_s, &TForm1::SaveAs1Click);
    mnuRestore =
        action(fileMenu, "mnuRestore", u"バックアップから復元..."_s, &TForm1::mnuRestoreClick);
    CSV1 = action(fileMenu, "CSV1", u"CSV読み込み"_s, &TForm1::CSV1Click);
    StatementImport1 = action(fileMenu, "StatementImport1", u"明細の取り込み..."_s,
                              &TForm1::StatementImportClick);
    CSV2 = action(fileMenu, "CSV2", u"CSV書き込み"_s, &TForm1::CSV2Click);
    PrintPreview1 =
        action(fileMenu, "PrintPreview1", u"印刷ﾌﾟﾚﾋﾞｭｰ"_s, &TForm1::PrintPreview1Click);
    Exit1 = action(fileMenu, "Exit1", u"終了(&X)"_s, &TForm1::Exit1Click);

    editMenu = menu("editMenu", u"編集(&E)"_s);
    mnuUndo = action(editMenu, "mnuUndo", u"元に戻す(&U)"_s, &TForm1::mnuUndoClick);
    mnuRedo = action(editMenu, "mnuRedo", u"やり直し(&R)"_s, &TForm1::mnuRedoClick);
    buildUndoActions();
    Find1 = action(editMenu, "Find1", u"検索･置換"_s, &TForm1::Find1Click);
    Copy1 = action(editMenu, "Copy1", u"コピー"_s, &TForm1::Copy1Click);
    GoTo1 = action(editMenu, "GoTo1", u"移動"_s, &TForm1::GoTo1Click);
    Paste1 = action(editMenu, "Paste1", u"貼り付け"_s, &TForm1::Paste1Click);
    mnuErase = action(editMenu, "mnuErase", u"消去"_s, &TForm1::mnuEraseClick);
    mnuAdd = action(editMenu, "mnuAdd", u"行挿入(&I)"_s, &TForm1::mnuAddClick);
    mnuDel = action(editMenu, "mnuDel", u"行削除(&D)"_s, &TForm1::mnuDelClick);
    N12 = action(editMenu, "N12", u"最終行の追加"_s, &TForm1::N12Click);
    mnuColAdd = action(editMenu, "mnuColAdd", u"列挿入"_s, &TForm1::mnuColAddClick);
    mnuColDel = action(editMenu, "mnuColDel", u"列削除"_s, &TForm1::mnuColDelClick);
    N13 = action(editMenu, "N13", u"最終列の追加"_s, &TForm1::N13Click);
    New1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuErase->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    giveEditShortcutsPrecedence();
    mnuOrin = action(editMenu, "mnuOrin", u"選択行ｻｲｽﾞを元に"_s, &TForm1::mnuOrinClick);

    settingsMenu = menu("settingsMenu", u"設定"_s);
    mnuKoumoku = action(settingsMenu, "mnuKoumoku", u"環境設定"_s, &TForm1::mnuKoumokuClick);
    mnuDefault = action(settingsMenu, "mnuDefault", u"標準列幅行高"_s, &TForm1::mnuDefaultClick);

    N14 = menu("N14", u"並べ替え"_s);
    mnuSort = action(N14, "mnuSort", u"昇順"_s, &TForm1::mnuSortClick);
    mnuSort2 = action(N14, "mnuSort2", u"降順"_s, &TForm1::mnuSort2Click);
    toolsMenu = menu("toolsMenu", u"ツール"_s);
    N15 = action(toolsMenu, "N15", u"定型句"_s, &TForm1::N15Click);
    N21 = action(toolsMenu, "N21", u"電卓"_s, &TForm1::N21Click);
    mnuKanjoKeiPrint =
        action(toolsMenu, "mnuKanjoKeiPrint", u"勘定科目計算"_s, &TForm1::mnuKanjoKeiPrintClick);
    mnuSuii = action(toolsMenu, "mnuSuii", u"家計の推移"_s, &TForm1::mnuSuiiClick);
    helpMenu = menu("helpMenu", u"ヘルプ"_s);
    Help1 = action(helpMenu, "Help1", u"ヘルプ"_s, &TForm1::Help1Click);

    // The grid's pop-up menu repeats the Edit items from "コピー" to "列削除"
    // (without the two appends), then the row-size item in full-width katakana.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    Copy2 = action(PopupMenu1, "Copy2", u"コピー"_s, &TForm1::Copy1Click);
    GoTo2 = action(PopupMenu1, "GoTo2", u"移動"_s, &TForm1::GoTo1Click);
    Paste2 = action(PopupMenu1, "Paste2", u"貼り付け"_s, &TForm1::Paste1Click);
    N6 = action(PopupMenu1, "N6", u"消去"_s, &TForm1::mnuEraseClick);
    N1 = action(PopupMenu1, "N1", u"行挿入"_s, &TForm1::mnuAddClick);
    N2 = action(PopupMenu1, "N2", u"行削除"_s, &TForm1::mnuDelClick);
    N3 = action(PopupMenu1, "N3", u"列挿入"_s, &TForm1::mnuColAddClick);
    N4 = action(PopupMenu1, "N4", u"列削除"_s, &TForm1::mnuColDelClick);
    popupRestoreRowSize =
        action(PopupMenu1, "popupRestoreRowSize", u"選択行サイズを元に"_s, &TForm1::mnuOrinClick);

    // A menu shows in the bar only once it has an item.
    for (QMenu* menu : {fileMenu, editMenu, settingsMenu, N14, toolsMenu, helpMenu})
        hideWhileEmpty(menu);
}

void TForm1::wireGrid() {
    LedgerGridView* grid = StringGrid1;
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setTabKeyNavigation(true);
    grid->setCornerButtonEnabled(false);
    grid->setWordWrap(false);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (QHeaderView* h : {grid->horizontalHeader(), grid->verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Interactive);
        h->setHighlightSections(false);
        h->setSectionsClickable(true);
    }
    grid->verticalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        // The menu acts on the cell under the pointer, or on the block it lies in.
        const QModelIndex under = StringGrid1->indexAt(pos);
        if (under.isValid() && !StringGrid1->selectionModel()->isSelected(under))
            StringGrid1->setCurrentIndex(under);
        PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos));
    });

    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (!updatingView_ && book.table().contains(section + 1, 0))
                    book.setColumnWidth(section + 1, size);
                placeDropDownEditors();
            });
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (!updatingView_ && book.table().contains(0, section + 1))
                    book.setRowHeight(section + 1, size);
                placeDropDownEditors();
            });
    for (QScrollBar* bar : {grid->horizontalScrollBar(), grid->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] { placeDropDownEditors(); });

    connect(gridModel, &QAbstractItemModel::modelReset, this, [this] { applySizesToView(); });
    // Entering the grid marks the day view; so does every edit, since the grid
    // may have held the focus since before the last write-back.
    connect(gridModel, &LedgerGridModel::cellEdited, this, [this] { book.markDayViewChanged(); });
    connect(gridModel, &QAbstractItemModel::dataChanged, this, [this] { updateUndoActions(); });
    connect(gridModel, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& changed) {
        if (!updatingView_ && LedgerGridModel::tableColumn(changed) == kColTitle1)
            clearUnlistedTitle2(LedgerGridModel::tableRow(changed));
    });
    connect(gridModel, &LedgerGridModel::unencodableTyped, this, [](const QString& chars) {
        platform::dialogs().message(
            platform::MessageKind::Warning,
            u"次の文字はShift-JISのファイルに保存できないため、入力から省きました: "_s + chars,
            platform::Ok);
    });
    auto* selection = grid->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this] { selectionFromView(); });
    connect(selection, &QItemSelectionModel::currentChanged, this, [this] {
        selectionFromView();
        runShowingErrors([this] { StringGrid1Click(); });
    });
    // A new model (after a reset) keeps the same selection model object.
    connect(grid, &QAbstractItemView::clicked, this,
            [this] { runShowingErrors([this] { StringGrid1Click(); }); });
    connect(grid, &QAbstractItemView::doubleClicked, this,
            [this] { runShowingErrors([this] { StringGrid1DblClick(); }); });
    // A double click anywhere on the grid, its title row and fixed column included.
    for (QHeaderView* h : {grid->horizontalHeader(), grid->verticalHeader()})
        connect(h, &QHeaderView::sectionDoubleClicked, this,
                [this] { runShowingErrors([this] { StringGrid1DblClick(); }); });
    connect(grid, &LedgerGridView::mouseReleased, this, [this](const QPoint& viewPos) {
        runShowingErrors([this, viewPos] { StringGrid1MouseUp(viewPos); });
    });

    cellDelegate->editorKeyDown = [this](QWidget* editor, QKeyEvent* event) {
        return StringGrid1KeyDown(event, editor);
    };
    connect(cellDelegate, &LedgerCellDelegate::editorOpened, this,
            [this](QWidget* editor, const QModelIndex& index) {
                StringGrid1GetEditText(LedgerGridModel::tableColumn(index),
                                       LedgerGridModel::tableRow(index), editor);
                placeDropDownEditors();
            });
    connect(
        cellDelegate, &LedgerCellDelegate::editorClosed, this, [this] { placeDropDownEditors(); },
        Qt::QueuedConnection);
}

void TForm1::watchGridFocusAndKeys() {
    EventHook::install(this, {StringGrid1}, [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::FocusIn && movedWithinWindow(event)) StringGrid1Enter();
        return event->type() == QEvent::KeyPress &&
               StringGrid1KeyDown(static_cast<QKeyEvent*>(event), nullptr);
    });
}

void TForm1::watchDatePickerFocus() {
    EventHook::install(this, {DateTimePicker1}, [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::FocusIn && movedWithinWindow(event))
            runShowingErrors([this] { DateTimePicker1Enter(); });
        return false;
    });
}

void TForm1::watchDropDownEditors() {
    // Typed text reaches the cell only by picking from the open list: Enter
    // on the closed editor would take a matching entry as picked.
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        EventHook::install(this, {box, box->lineEdit()}, [box](QObject*, QEvent* event) {
            return isEnterKey(event) && !box->view()->isVisible();
        });
    }
    // Entering and leaving the editors, as the user moves between controls.
    EventHook::install(this, {ComboBox1, ComboBox2}, [this](QObject* watched, QEvent* event) {
        const QEvent::Type type = event->type();
        if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || !movedWithinWindow(event))
            return false;
        if (type == QEvent::FocusIn && watched == ComboBox2)
            runShowingErrors([this] { ComboBox2Enter(); });
        if (type == QEvent::FocusOut)
            runShowingErrors(
                [this, watched] { watched == ComboBox1 ? ComboBox1Exit() : ComboBox2Exit(); });
        return false;
    });
}

void TForm1::watchGridMouseButtons() {
    // Presses on the grid and on its two headers, releases on the headers
    // (the grid's own releases come after its selection, by mouseReleased).
    // Only these three: the drop-down editors' mouse events are theirs alone.
    QWidget* cells = StringGrid1->viewport();
    QWidget* titleRow = StringGrid1->horizontalHeader()->viewport();
    QWidget* fixedColumn = StringGrid1->verticalHeader()->viewport();
    EventHook::install(
        this, {cells, titleRow, fixedColumn}, [this, cells](QObject* watched, QEvent* event) {
            const QEvent::Type type = event->type();
            if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
                return false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton || (mouse->buttons() & Qt::RightButton))
                return false;
            auto* source = static_cast<QWidget*>(watched);
            const QPoint gridPos = source->mapTo(StringGrid1, mouse->position().toPoint());
            if (type == QEvent::MouseButtonPress) StringGrid1MouseDown(gridPos);
            if (type == QEvent::MouseButtonRelease && watched != cells) {
                // Let the header finish its own selection first.
                QMetaObject::invokeMethod(
                    this,
                    [this, gridPos] {
                        runShowingErrors([this, gridPos] { StringGrid1MouseUp(gridPos); });
                    },
                    Qt::QueuedConnection);
            }
            return false;
        });
}

void TForm1::FormCreate(const StartOptions& options) {
    runShowingErrors([this] { startNewLedger(); });
    runShowingErrors([this] { LoadTitleLists(); });
    // Dates are written and read "yyyy/mm/dd" throughout (the core and the picker).
    setPickedDay(options.today);
    lastFileRecordPath = options.lastFileRecordPath;
    setEditMode(true);
    OpenDialog1.title = u"開く"_s;
    OpenDialog1.defaultSuffix = u"dat"_s;
    OpenDialog1.filter = u"ﾃﾞｰﾀﾌｧｲﾙ(*.dat)|*.dat|すべてのﾌｧｲﾙ(*.*)|*.*"_s;

    bool opened = false;
    bool recordRead = false;
    runShowingErrors([&] {
        // A ledger named on the command line is opened whether or not it
        // exists: a name that is wrong gets its error box, not silence.
        if (!options.ledgerToOpen.isEmpty()) {
            recordRead = true;
            opened = true;
            openLedgerFile(options.ledgerToOpen);
            return;
        }
        const std::optional<QString> last = platform::readLastFileRecord(lastFileRecordPath);
        recordRead = true;
        if (!last || last->isEmpty() || !QFileInfo(*last).isFile()) return;
        opened = true;
        openLedgerFile(*last);
    });
    // A record that could not be read has had its error box; the start goes
    // on from there without the hint.
    if (!opened && recordRead)
        platform::dialogs().message(
            platform::MessageKind::Information,
            u"ﾒﾆｭｰの「ﾌｧｲﾙ」から「新規作成」\r\n    または「開く」を選択してください"_s,
            platform::Ok);
    book.selectTopLeft();
    refreshFromBook();
}

void TForm1::startNewLedger() {
    setWindowTitle(u"OrvoKakei["_s + creditLine() + u']');
    book.startNewLedger();
    // Editing, Tab between cells and mouse sizing are the grid's standing set-up
    // (wireGrid); the grid fills the space between the panels by its layout.
    refreshFromBook();
    setEditMode(true);
}

void TForm1::showCreditCaption() {
    setWindowTitle(u"OrvoKakei["_s + creditLine() + u']');
}

void TForm1::openLedgerFile(const QString& path) {
    const std::string nativePath = platform::toNativePath(path);
    std::optional<CheckedDataFile> file;
    try {
        file.emplace(nativePath);
    } catch (const NotALedgerFile& notALedger) {
        // Nothing of the ledger in hand has changed; the file keeps its text.
        platform::dialogs().message(platform::MessageKind::Warning,
                                    platform::fromCp932(notALedger.what()), platform::Ok);
        return;
    }
    // Another instance has it open: only a look, or nothing changes.
    LedgerBook::OpenMode mode = LedgerBook::OpenMode::ForWriting;
    // A file this user may not write is only looked at: the save asks for a new name.
    const bool writeProtected = !canReplaceFile(nativePath);
    if (writeProtected) {
        mode = LedgerBook::OpenMode::ForReading;
    } else if (const std::optional<LedgerInUse> inUse = book.heldElsewhere(nativePath)) {
        if (platform::dialogs().message(
                platform::MessageKind::Warning,
                platform::fromCp932(inUse->what()) + u"\r\n読み取り専用で開きますか？"_s,
                platform::Yes | platform::Cancel) != platform::Yes)
            return;
        mode = LedgerBook::OpenMode::ForReading;
    }
    setWindowTitle(u"OrvoKakei["_s + creditLine() + u']');
    setEditMode(true);
    // A file that is not recognised as a ledger leaves the window's size alone.
    book.setWindowSize(width(), height());
    try {
        book.openDataFile(nativePath, *file, mode);
    } catch (...) {
        applyWindowSizeFromBook();
        refreshFromBook();
        throw;
    }
    applyWindowSizeFromBook();
    refreshFromBook();
    RecordLastFile();
    if (writeProtected)
        platform::dialogs().message(
            platform::MessageKind::Information,
            u"このファイルには書き込めない (書き込みの許可がない) ため、読み取り専用で開きました。"
            u"保存するときは別の名前を付けてください"_s,
            platform::Ok);
}

void TForm1::runShowingErrors(const std::function<void()>& handler) {
    // Whatever stopped the handler, the window shows the book as it is, then the error.
    try {
        handler();
    } catch (const OrvoError& fault) {
        refreshFromBook();
        platform::showException(std::current_exception());
        if (const auto& cell = fault.cell()) putCursorOn(cell->column, cell->row);
    } catch (...) {
        refreshFromBook();
        platform::showException(std::current_exception());
    }
}

void TForm1::putCursorOn(int col, int row) {
    const QModelIndex index = gridModel->indexOfCell(col, row);
    if (!index.isValid()) return;
    StringGrid1->setCurrentIndex(index);
    StringGrid1->scrollTo(index);
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TForm1::refreshFromBook() {
    {
        const QScopedValueRollback updating(updatingView_, true);
        gridModel->refresh();
        applySizesToView();
    }
    updateTotalsLabels();
    selectionToView();
    placeDropDownEditors();
    updateUndoActions();
}

void TForm1::applySizesToView() {
    const QScopedValueRollback updating(updatingView_, true);
    const LedgerTable& t = book.table();
    QHeaderView* columns = StringGrid1->horizontalHeader();
    QHeaderView* rows = StringGrid1->verticalHeader();
    // Setting it, even unchanged, repaints the row header.
    if (rows->defaultSectionSize() != t.defaultRowHeight())
        rows->setDefaultSectionSize(t.defaultRowHeight());
    if (t.columnCount() > 0) rows->setFixedWidth(t.columnWidth(0));
    if (t.rowCount() > 0) columns->setFixedHeight(t.rowHeight(0));
    for (int c = 1; c < t.columnCount() && c - 1 < columns->count(); ++c)
        columns->resizeSection(c - 1, t.columnWidth(c));
    for (int r = 1; r < t.rowCount() && r - 1 < rows->count(); ++r)
        rows->resizeSection(r - 1, t.rowHeight(r));
}

void TForm1::applyWindowSizeFromBook() {
    resize(book.windowWidth(), book.windowHeight());  // the book keeps the window minimum
}

void TForm1::updateTotalsLabels() {
    const std::pair<QLabel*, std::string> texts[] = {
        {DayOut, book.dayOutText()}, {DayIn, book.dayInText()}, {DayZan, book.dayZanText()},
        {AllOut, book.allOutText()}, {AllIn, book.allInText()}, {AllZan, book.allZanText()}};
    for (const auto& [label, text] : texts)
        label->setText(platform::yenForDisplay(platform::fromCp932(text)));
}

void TForm1::selectionFromView() {
    if (updatingView_) return;
    const QItemSelection selection = StringGrid1->selectionModel()->selection();
    CellBlock block;
    if (!selection.isEmpty()) {
        block = {INT_MAX, INT_MAX, -1, -1};
        for (const QItemSelectionRange& range : selection) {
            block.left = std::min(block.left, range.left() + 1);
            block.top = std::min(block.top, range.top() + 1);
            block.right = std::max(block.right, range.right() + 1);
            block.bottom = std::max(block.bottom, range.bottom() + 1);
        }
    }
    // Nothing selected (the grid may still have a current cell, as after it
    // took the focus): the top-left fixed cell, so no ledger cell is selected.
    book.setSelection(block);
}

void TForm1::selectionToView() {
    const QScopedValueRollback updating(updatingView_, true);
    const CellBlock& b = book.table().selection();
    QItemSelectionModel* model = StringGrid1->selectionModel();
    const int lastCol = book.table().columnCount() - 1;
    const int lastRow = book.table().rowCount() - 1;
    if (b.left < 1 || b.top < 1 || b.left > lastCol || b.top > lastRow) {
        model->clear();
    } else {
        const QModelIndex topLeft = gridModel->indexOfCell(b.left, b.top);
        const QModelIndex bottomRight = gridModel->indexOfCell(
            std::clamp(b.right, b.left, lastCol), std::clamp(b.bottom, b.top, lastRow));
        model->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
        model->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        platform::centreOnScreen(this);
    }
    placeDropDownEditors();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeDropDownEditors();
}

}  // namespace orvo::forms
