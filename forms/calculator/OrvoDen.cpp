#include "forms/calculator/OrvoDen.h"

#include <QColor>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include "base/OrvoError.h"
#include "calc/Evaluator.h"
#include "calc/FormatResult.h"
#include "forms/GridCellAccess.h"
#include "forms/calculator/RightEdit.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerTable.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kClientWidth = 183;
constexpr int kClientHeight = 175;
constexpr int kKeySize = 25;
constexpr int kWideKey = 49;
constexpr int kFontPixels = 12;

// The consumption tax rates in force: the standard rate, and the reduced one
// for food and newspapers.
constexpr int kStandardTaxRate = 10;
constexpr int kReducedTaxRate = 8;
const QString kTaxRateKey = u"Calculator/TaxRate"_s;

bool isOperator(const QString& text) {
    return text == u"+"_s || text == u"-"_s || text == u"*"_s || text == u"/"_s;
}

// The character a key press types, as the window's key preview sees it.
// Space, Tab and Enter are left to the focused control and the default
// button, which act on them before any character is typed.
std::optional<QChar> typedCharacter(const QKeyEvent& key) {
    // Alt and Ctrl combinations are commands, not typing.
    if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
        return std::nullopt;
    if (key.key() == Qt::Key_Backspace) return QChar(8);
    if (key.key() == Qt::Key_Escape) return QChar(27);
    const QString text = key.text();
    if (text.size() != 1 || !text[0].isPrint() || text[0] == u' ') return std::nullopt;
    return text[0];
}

}  // namespace

TOrvoDentaku::TOrvoDentaku(GridCellAccess* grid, QWidget* parent) : QDialog(parent), grid_(grid) {
    FormCreate();
}

void TOrvoDentaku::FormCreate() {
    setWindowTitle(u"Orvo電卓"_s);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 0, 255));  // fuchsia
    setPalette(colours);
    setFont(platform::screenFont(kFontPixels));  // height -12, 9 points

    RightEdit1 = new TRightEdit(this);
    RightEdit1->setObjectName(u"RightEdit1"_s);
    RightEdit1->setGeometry(16, 8, 153, 20);

    const struct {
        const char* name;
        const char* caption;
        int left;
        int top;
    } inputKeys[] = {
        {"Button7", "7", 16, 40},   {"Button8", "8", 40, 40},     {"Button9", "9", 64, 40},
        {"Button4", "4", 16, 64},   {"Button5", "5", 40, 64},     {"Button6", "6", 64, 64},
        {"Button1", "1", 16, 88},   {"Button2", "2", 40, 88},     {"Button3", "3", 64, 88},
        {"Button10", "0", 16, 112}, {"Button12", "000", 40, 112}, {"Button11", ".", 64, 112},
        {"Button16", "/", 96, 64},  {"Button14", "-", 120, 64},   {"Button15", "*", 96, 88},
    };
    for (const auto& k : inputKeys) {
        QPushButton* key = addKey(k.name, QString::fromLatin1(k.caption), k.left, k.top);
        connect(key, &QPushButton::clicked, this, &TOrvoDentaku::Button1Click);
        if (!isOperator(key->text())) key->setCursor(Qt::PointingHandCursor);
    }
    QPushButton* plus = addKey("Button13", u"+"_s, 96, 112, kWideKey);
    connect(plus, &QPushButton::clicked, this, &TOrvoDentaku::Button1Click);

    Button17 = addKey("Button17", u"="_s, 144, 112);
    QPushButton* Button18 = addKey("Button18", u"R"_s, 144, 40);
    QPushButton* Button19 = addKey("Button19", u"C"_s, 144, 64);
    QPushButton* Button20 = addKey("Button20", u"CR"_s, 120, 40);
    Button21 = addKey("Button21", u"→"_s, 96, 40);
    Button22 = addKey("Button22", u"税込み"_s, 120, 88, kWideKey);
    Button18->setToolTip(u"演算式修正"_s);
    Button19->setToolTip(u"現消去"_s);
    Button20->setToolTip(u"全消去"_s);
    Button21->setToolTip(u"1文字削除"_s);
    // A right click on the tax key chooses the rate.
    Button22->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Button22, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.setObjectName(u"TaxRateMenu"_s);
        for (int rate : {kStandardTaxRate, kReducedTaxRate}) {
            QAction* choice = menu.addAction(QString::number(rate) + u'%');
            choice->setCheckable(true);
            choice->setChecked(rate == taxRate_);
            connect(choice, &QAction::triggered, this, [this, rate] { setTaxRate(rate); });
        }
        menu.exec(Button22->mapToGlobal(at));
    });
    setTaxRate(kStandardTaxRate);
    connect(Button17, &QPushButton::clicked, this, &TOrvoDentaku::Button17Click);
    connect(Button18, &QPushButton::clicked, this, &TOrvoDentaku::Button18Click);
    connect(Button19, &QPushButton::clicked, this, &TOrvoDentaku::Button19Click);
    connect(Button20, &QPushButton::clicked, this, &TOrvoDentaku::Button20Click);
    connect(Button21, &QPushButton::clicked, this, &TOrvoDentaku::Button21Click);
    connect(Button22, &QPushButton::clicked, this, &TOrvoDentaku::Button22Click);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox1->addItem(u"入力順に計算"_s);  // CalcMode::InputOrder
    ComboBox1->addItem(u"通常計算"_s);      // CalcMode::Normal
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setGeometry(24, 144, 129, ComboBox1->sizeHint().height());
    ComboBox1->installEventFilter(this);
    connect(ComboBox1, &QComboBox::activated, this, &TOrvoDentaku::ComboBox1Select);

    // Only "=", "→", "税込み" and the mode list are reached with Tab; "="
    // comes first and holds the focus when the window opens. Enter presses
    // "=", or the key that has the focus.
    for (QPushButton* key : {Button17, Button21, Button22}) key->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Button17, Button21);
    setTabOrder(Button21, Button22);
    setTabOrder(Button22, ComboBox1);
    Button17->setDefault(true);
    Button17->setFocus();

    installEventFilter(this);
    justEvaluated_ = false;
}

QPushButton* TOrvoDentaku::addKey(const char* name, const QString& caption, int left, int top,
                                  int width) {
    auto* key = new QPushButton(caption, this);
    key->setObjectName(QString::fromLatin1(name));
    key->setGeometry(left, top, width, kKeySize);
    key->setAutoDefault(true);
    // Clicking focuses a key, as on the desktop this window comes from, but
    // Tab passes it by.
    key->setFocusPolicy(Qt::ClickFocus);
    key->installEventFilter(this);
    return key;
}

void TOrvoDentaku::showCalculator() {
    show();
    raise();
    activateWindow();
}

void TOrvoDentaku::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        platform::centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

QString TOrvoDentaku::displayText() const {
    return RightEdit1->text();
}

bool TOrvoDentaku::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // A blank typed on the mode list would open it; typed characters never reach it.
        if (watched == ComboBox1 && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
            return true;
        if (const std::optional<QChar> typed = typedCharacter(*static_cast<QKeyEvent*>(event))) {
            FormKeyPress(*typed);
            return true;  // the focused control never receives it
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOrvoDentaku::FormKeyPress(QChar key) {
    const char16_t c = key.unicode();
    if (c == 8) {
        Button21Click();
    } else if (c == 27) {
        if (RightEdit1->text().isEmpty()) close();
        Button20Click();
    } else if ((c >= u'(' && c <= u'+') || (c >= u'-' && c <= u'9')) {
        AppendInput(QString(key));
    } else if (c == u'=') {
        Button17Click();
    } else if (c == u'C' || c == u'c') {
        Button19Click();
    } else if (c == u'R' || c == u'r') {
        Button18Click();
    }
}

void TOrvoDentaku::Button1Click() {
    if (const auto* key = qobject_cast<const QPushButton*>(sender())) AppendInput(key->text());
}

void TOrvoDentaku::AppendInput(const QString& text) {
    if (justEvaluated_ && !isOperator(text)) RightEdit1->clear();
    justEvaluated_ = false;
    RightEdit1->setText(RightEdit1->text() + text);
}

void TOrvoDentaku::Button17Click() {
    if (RightEdit1->text().isEmpty()) return;
    justEvaluated_ = true;
    lastExpression_ = RightEdit1->text();
    Calculate();
}

void TOrvoDentaku::Button22Click() {
    if (RightEdit1->text().isEmpty()) return;
    lastExpression_ =
        u'(' + RightEdit1->text() + u")*1."_s + QString::number(taxRate_).rightJustified(2, u'0');
    justEvaluated_ = true;
    Calculate();
}

void TOrvoDentaku::setTaxRate(int percent) {
    taxRate_ = percent == kReducedTaxRate ? kReducedTaxRate : kStandardTaxRate;
    Button22->setToolTip(QString::number(taxRate_) + u"%の消費税込み"_s);
    if (!settingsFile_.isEmpty()) {
        QSettings settings(settingsFile_, QSettings::IniFormat);
        settings.setValue(kTaxRateKey, taxRate_);
    }
}

void TOrvoDentaku::setSettingsFile(const QString& path) {
    settingsFile_.clear();  // reading is no choice to write back
    setTaxRate(QSettings(path, QSettings::IniFormat).value(kTaxRateKey, kStandardTaxRate).toInt());
    settingsFile_ = path;
}

void TOrvoDentaku::Button18Click() {
    const QString answer = platform::dialogs().inputBox(
        u"演算式の修正"_s, u"数値や演算子を修正してください"_s, lastExpression_);
    if (answer.isEmpty()) return;
    lastExpression_ = answer;
    Calculate();
}

void TOrvoDentaku::Button19Click() {
    RightEdit1->clear();
}

void TOrvoDentaku::Button20Click() {
    RightEdit1->clear();
}

void TOrvoDentaku::Button21Click() {
    QString text = RightEdit1->text();
    if (text.isEmpty()) return;
    text.chop(1);
    RightEdit1->setText(text);
}

void TOrvoDentaku::ComboBox1Select() {
    Calculate();
}

void TOrvoDentaku::Calculate() {
    std::optional<double> value;
    try {
        value = evaluateLastExpression();
    } catch (...) {
        // The display keeps its text and no cell is written.
        platform::showException(std::current_exception());
        return;
    }
    if (value) RightEdit1->setText(platform::fromCp932(calc::FormatResult(*value)));
    transferDisplay();
}

std::optional<double> TOrvoDentaku::evaluateLastExpression() const {
    // A corrected expression may hold characters CP932 lacks; none of them
    // can be part of a number, and leaving them out would join their neighbours.
    const platform::Cp932Result text = platform::toCp932(lastExpression_);
    if (!text.ok()) return std::nullopt;
    return calc::Evaluate(text.bytes, static_cast<calc::CalcMode>(ComboBox1->currentIndex()));
}

void TOrvoDentaku::transferDisplay() {
    const QString text = RightEdit1->text();
    // An empty display (a mode change or correction before anything was
    // keyed, or after "C") would blank the user's cell: it is not written.
    if (text.isEmpty() || grid_ == nullptr) return;
    const CellBlock selection = grid_->gridSelection();
    // With no ledger cell selected the selection sits on the fixed corner;
    // titles and the fixed column never receive a result.
    if (selection.left < LedgerTable::kFixedCols || selection.top < LedgerTable::kFixedRows) return;
    std::string cell = platform::toCp932(text).bytes;
    // An amount cell takes whole yen only.
    if (selection.left == kColExpense || selection.left == kColIncome) cell = calc::WholeYen(cell);
    grid_->setCellText(selection.left, selection.top, cell, StepKind::Calculator);
}

}  // namespace orvo::forms
