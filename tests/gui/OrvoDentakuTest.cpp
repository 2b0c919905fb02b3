// The calculator window as the user drives it: keys and keyboard, "=", the tax
// key, the correction box, the mode list, and what reaches the ledger grid.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>
#include <utility>

#include "forms/GridCellAccess.h"
#include "forms/calculator/OrvoDen.h"
#include "forms/calculator/RightEdit.h"
#include "platform/Dialogs.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::Literals::StringLiterals;
using orvo::CellBlock;
using orvo::forms::GridCellAccess;
using orvo::forms::TOrvoDentaku;
using orvo::forms::TRightEdit;
using orvo::platform::MessageKind;
using orvo::testing::ScriptedDialogs;

namespace {

// The main window's grid as far as the calculator sees it.
class FakeGrid : public GridCellAccess {
public:
    CellBlock selection{3, 1, 3, 1};
    std::map<std::pair<int, int>, std::string> cells;
    int writes = 0;

    CellBlock gridSelection() const override { return selection; }
    std::string cellText(int col, int row) const override {
        const auto it = cells.find({col, row});
        return it == cells.end() ? std::string() : it->second;
    }
    void setCellText(int col, int row, const std::string& cp932, orvo::StepKind) override {
        cells[{col, row}] = cp932;
        ++writes;
    }
    void select(int col, int row) { selection = {col, row, col, row}; }
};

QPushButton* key(TOrvoDentaku& calc, const char* name) {
    auto* k = calc.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!k) qFatal("no key %s", name);
    return k;
}

QComboBox* modeList(TOrvoDentaku& calc) {
    return calc.findChild<QComboBox*>(u"ComboBox1"_s);
}

// Presses the keys whose captions are the characters of `keys`, "=" included.
void press(TOrvoDentaku& calc, const QString& keys) {
    for (const QChar c : keys) {
        QPushButton* found = nullptr;
        for (QPushButton* k : calc.findChildren<QPushButton*>())
            if (k->text() == QString(c)) found = k;
        if (!found) qFatal("no key for %c", c.toLatin1());
        QTest::mouseClick(found, Qt::LeftButton);
    }
}

void chooseNormalMode(TOrvoDentaku& calc) {
    // The arrow key chooses the next item as the user would.
    QTest::keyClick(modeList(calc), Qt::Key_Down);
    QCOMPARE(modeList(calc)->currentIndex(), 1);
}

}  // namespace

class OrvoDentakuTest : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsCaptionSizeKeysAndModes();
    void keysAreReachedWithTabOnlyWhereIntended();
    void displayIsADisabledRightAlignedBlackEdit();
    void equalsShowsTheResultAndWritesTheSelectedCell();
    void afterAResultAnOperatorContinuesAndADigitStartsAgain();
    void deleteAfterEqualsKeepsStartingANewExpression();
    void taxKeyWrapsTheDisplayInBothModes();
    void rightClickChoosesTheTaxRateWhichIsRemembered();
    void amountCellsTakeWholeYen();
    void modeChangeReevaluatesIntoTheCellSelectedNow();
    void divisionByZeroShowsTheErrorAndWritesNothing();
    void textWithoutValueIsTransferredAsKeyed();
    void emptyDisplayNeverBlanksACell();
    void noLedgerCellSelectedReceivesNothing();
    void equalsAndTaxDoNothingOnAnEmptyDisplay();
    void keyboardMapsCharactersToKeys();
    void typedCharactersNeverReachTheFocusedControl();
    void altAndCtrlCombinationsAreNoTyping();
    void escapeEmptiesThenHides();
    void enterPressesEqualsFromTheModeList();
    void correctionBoxEvaluatesTheAnswerOrTheLastExpression();
    void closingOnlyHidesAndKeepsTheState();
};

void OrvoDentakuTest::windowHasItsCaptionSizeKeysAndModes() {
    TOrvoDentaku calc;
    QCOMPARE(calc.windowTitle(), u"Orvo電卓"_s);
    QCOMPARE(calc.size(), QSize(183, 175));
    QCOMPARE(calc.palette().color(QPalette::Window), QColor(255, 0, 255));

    const struct {
        const char* name;
        QString caption;
        QRect geometry;
        QString hint;
        bool hand;
    } keys[] = {
        {"Button7", u"7"_s, {16, 40, 25, 25}, {}, true},
        {"Button9", u"9"_s, {64, 40, 25, 25}, {}, true},
        {"Button21", u"→"_s, {96, 40, 25, 25}, u"1文字削除"_s, false},
        {"Button20", u"CR"_s, {120, 40, 25, 25}, u"全消去"_s, false},
        {"Button18", u"R"_s, {144, 40, 25, 25}, u"演算式修正"_s, false},
        {"Button16", u"/"_s, {96, 64, 25, 25}, {}, false},
        {"Button14", u"-"_s, {120, 64, 25, 25}, {}, false},
        {"Button19", u"C"_s, {144, 64, 25, 25}, u"現消去"_s, false},
        {"Button1", u"1"_s, {16, 88, 25, 25}, {}, true},
        {"Button15", u"*"_s, {96, 88, 25, 25}, {}, false},
        {"Button22", u"税込み"_s, {120, 88, 49, 25}, u"10%の消費税込み"_s, false},
        {"Button10", u"0"_s, {16, 112, 25, 25}, {}, true},
        {"Button12", u"000"_s, {40, 112, 25, 25}, {}, true},
        {"Button11", u"."_s, {64, 112, 25, 25}, {}, true},
        {"Button13", u"+"_s, {96, 112, 49, 25}, {}, false},
        {"Button17", u"="_s, {144, 112, 25, 25}, {}, false},
    };
    for (const auto& k : keys) {
        QPushButton* b = key(calc, k.name);
        QCOMPARE(b->text(), k.caption);
        QCOMPARE(b->geometry(), k.geometry);
        QCOMPARE(b->toolTip(), k.hint);
        QCOMPARE(b->cursor().shape() == Qt::PointingHandCursor, k.hand);
    }
    QCOMPARE(calc.findChildren<QPushButton*>().size(), 22);
    QVERIFY(key(calc, "Button17")->isDefault());

    QComboBox* modes = modeList(calc);
    QCOMPARE(modes->count(), 2);
    QCOMPARE(modes->itemText(0), u"入力順に計算"_s);
    QCOMPARE(modes->itemText(1), u"通常計算"_s);
    QCOMPARE(modes->currentIndex(), 0);
    QCOMPARE(modes->geometry().topLeft(), QPoint(24, 144));
    QCOMPARE(modes->width(), 129);
    QVERIFY(!calc.justEvaluated());
    QVERIFY(calc.lastExpression().isEmpty());
}

void OrvoDentakuTest::keysAreReachedWithTabOnlyWhereIntended() {
    TOrvoDentaku calc;
    calc.showCalculator();
    QVERIFY(QTest::qWaitForWindowActive(&calc));
    QCOMPARE(calc.focusWidget(), key(calc, "Button17"));  // "=" holds the focus at first
    QList<QWidget*> reached;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    const QList<QWidget*> expected{key(calc, "Button21"), key(calc, "Button22"), modeList(calc),
                                   key(calc, "Button17")};
    QCOMPARE(reached, expected);
}

void OrvoDentakuTest::displayIsADisabledRightAlignedBlackEdit() {
    TOrvoDentaku calc;
    auto* display = calc.findChild<TRightEdit*>(u"RightEdit1"_s);
    QVERIFY(display);
    QCOMPARE(display->geometry(), QRect(16, 8, 153, 20));
    QVERIFY(!display->isEnabled());
    QVERIFY(display->alignment() & Qt::AlignRight);
    QVERIFY(display->font().bold());
    QCOMPARE(display->palette().color(QPalette::Disabled, QPalette::Base), QColor(Qt::black));
    QCOMPARE(display->palette().color(QPalette::Disabled, QPalette::Text), QColor(255, 0, 255));
}

void OrvoDentakuTest::equalsShowsTheResultAndWritesTheSelectedCell() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"2+3*4"_s);
    QCOMPARE(calc.displayText(), u"2+3*4"_s);
    QCOMPARE(grid.writes, 0);
    press(calc, u"="_s);
    QCOMPARE(calc.displayText(), u"20"_s);  // input order
    QCOMPARE(grid.cellText(3, 1), "20");
    QCOMPARE(grid.writes, 1);
    QCOMPARE(calc.lastExpression(), u"2+3*4"_s);
    QVERIFY(calc.justEvaluated());

    // Any column receives the result, at the selection's left column and top row.
    grid.selection = {1, 2, 4, 5};
    press(calc, u"1000/3="_s);
    QCOMPARE(grid.cellText(1, 2), "333.333333333333");
    QVERIFY(dialogs.shown().empty());
}

void OrvoDentakuTest::afterAResultAnOperatorContinuesAndADigitStartsAgain() {
    TOrvoDentaku calc;
    press(calc, u"2+3="_s);
    press(calc, u"+3"_s);
    QCOMPARE(calc.displayText(), u"5+3"_s);
    press(calc, u"="_s);
    press(calc, u"3"_s);
    QCOMPARE(calc.displayText(), u"3"_s);
    QVERIFY(!calc.justEvaluated());
    press(calc, u"="_s);
    QTest::keyClicks(&calc, u"."_s);  // "." starts a new expression too
    QCOMPARE(calc.displayText(), u"."_s);
}

void OrvoDentakuTest::deleteAfterEqualsKeepsStartingANewExpression() {
    TOrvoDentaku calc;
    press(calc, u"123="_s);
    press(calc, u"→"_s);
    QCOMPARE(calc.displayText(), u"12"_s);
    QVERIFY(calc.justEvaluated());
    press(calc, u"4"_s);
    QCOMPARE(calc.displayText(), u"4"_s);
    press(calc, u"→→"_s);  // nothing left to delete the second time
    QCOMPARE(calc.displayText(), QString());
}

void OrvoDentakuTest::taxKeyWrapsTheDisplayInBothModes() {
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"1000"_s);
    QTest::mouseClick(key(calc, "Button22"), Qt::LeftButton);
    QCOMPARE(calc.displayText(), u"1100"_s);
    QCOMPARE(calc.lastExpression(), u"(1000)*1.10"_s);
    QCOMPARE(grid.cellText(3, 1), "1100");
    QVERIFY(calc.justEvaluated());

    // The wrapped text holds ")", so it follows precedence even in input order.
    press(calc, u"2+3*4"_s);
    QTest::mouseClick(key(calc, "Button22"), Qt::LeftButton);
    QCOMPARE(calc.displayText(), u"15.4"_s);
    press(calc, u"2+3*4="_s);
    QCOMPARE(calc.displayText(), u"20"_s);
    QTest::mouseClick(key(calc, "Button22"), Qt::LeftButton);
    QCOMPARE(calc.displayText(), u"22"_s);

    chooseNormalMode(calc);  // re-evaluates (20)*1.10
    press(calc, u"2+3*4"_s);
    QTest::mouseClick(key(calc, "Button22"), Qt::LeftButton);
    QCOMPARE(calc.displayText(), u"15.4"_s);
}

// A right click on the tax key chooses 8% (food, newspapers) or 10%; the
// choice names itself in the hint and is there again in the next session.
void OrvoDentakuTest::rightClickChoosesTheTaxRateWhichIsRemembered() {
    QTemporaryDir dir;
    const QString settings = dir.filePath(u"OrvoDen.ini"_s);
    FakeGrid grid;
    auto calc = std::make_unique<TOrvoDentaku>(&grid);
    calc->setSettingsFile(settings);
    calc->show();
    QVERIFY(QTest::qWaitForWindowExposed(calc.get()));
    bool picked = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions())
            if (action->text() == u"8%"_s) {
                picked = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            }
    });
    // The right press, then the menu request the desktop sends with it.
    QPushButton* tax = key(*calc, "Button22");
    QTest::mousePress(tax, Qt::RightButton, {}, QPoint(5, 5));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              tax->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(tax, &request);
    QTest::mouseRelease(tax, Qt::RightButton, {}, QPoint(5, 5));
    QTRY_VERIFY(picked);
    QCOMPARE(calc->taxRate(), 8);
    QCOMPARE(key(*calc, "Button22")->toolTip(), u"8%の消費税込み"_s);
    press(*calc, u"1000"_s);
    QTest::mouseClick(key(*calc, "Button22"), Qt::LeftButton);
    QCOMPARE(calc->displayText(), u"1080"_s);

    calc = std::make_unique<TOrvoDentaku>(&grid);
    QCOMPARE(calc->taxRate(), 10);
    calc->setSettingsFile(settings);
    QCOMPARE(calc->taxRate(), 8);
}

// An amount cell takes the result in whole yen, rounded half up; other
// cells take it as shown.
void OrvoDentakuTest::amountCellsTakeWholeYen() {
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"1000/3="_s);
    QCOMPARE(calc.displayText(), u"333.333333333333"_s);
    QCOMPARE(grid.cellText(3, 1), "333");
    grid.select(4, 1);
    press(calc, u"5/2="_s);
    QCOMPARE(grid.cellText(4, 1), "3");
    grid.select(5, 1);
    press(calc, u"5/2="_s);
    QCOMPARE(grid.cellText(5, 1), "2.5");
}

void OrvoDentakuTest::modeChangeReevaluatesIntoTheCellSelectedNow() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"2+3*4="_s);
    QCOMPARE(grid.cellText(3, 1), "20");
    grid.select(4, 2);
    chooseNormalMode(calc);
    QCOMPARE(calc.displayText(), u"14"_s);
    QCOMPARE(grid.cellText(4, 2), "14");
    QCOMPARE(grid.cellText(3, 1), "20");
    QVERIFY(calc.justEvaluated());  // a mode change leaves it as it was
    press(calc, u"2+3*4="_s);
    QCOMPARE(calc.displayText(), u"14"_s);
}

void OrvoDentakuTest::divisionByZeroShowsTheErrorAndWritesNothing() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    grid.cells[{3, 1}] = "1500";
    TOrvoDentaku calc(&grid);
    press(calc, u"5/0="_s);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    QCOMPARE(dialogs.last().kind, MessageKind::Error);
    QCOMPARE(dialogs.last().text, u"0 による浮動小数点数除算."_s);
    QCOMPARE(dialogs.last().buttons, orvo::platform::Ok);
    QCOMPARE(calc.displayText(), u"5/0"_s);
    QCOMPARE(grid.writes, 0);
    QCOMPARE(grid.cellText(3, 1), "1500");
    QCOMPARE(calc.lastExpression(), u"5/0"_s);
    press(calc, u"7"_s);  // "=" had set justEvaluated before the fault
    QCOMPARE(calc.displayText(), u"7"_s);

    dialogs.clearShown();
    QTest::keyClicks(&calc, u"C0/0="_s);
    QCOMPARE(dialogs.last().text, u"不正な浮動小数点数演算命令."_s);
    QCOMPARE(grid.writes, 0);
}

void OrvoDentakuTest::textWithoutValueIsTransferredAsKeyed() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"2+="_s);
    QCOMPARE(calc.displayText(), u"2+"_s);
    QCOMPARE(grid.cellText(3, 1), "2+");
    QVERIFY(dialogs.shown().empty());
}

void OrvoDentakuTest::emptyDisplayNeverBlanksACell() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    grid.cells[{3, 1}] = "1500";
    TOrvoDentaku calc(&grid);
    chooseNormalMode(calc);  // nothing evaluated yet, empty display
    QCOMPARE(grid.writes, 0);

    press(calc, u"2+"_s);
    press(calc, u"="_s);  // no value: "2+" is transferred
    grid.select(4, 1);
    grid.cells[{4, 1}] = "300";
    press(calc, u"C"_s);
    dialogs.cancelInput();  // "R" cancelled: "2+" again, still no value, display empty
    press(calc, u"R"_s);
    QCOMPARE(dialogs.last().what, ScriptedDialogs::Shown::What::Input);
    QCOMPARE(calc.displayText(), QString());
    QCOMPARE(grid.cellText(4, 1), "300");
    QCOMPARE(grid.writes, 1);
}

void OrvoDentakuTest::noLedgerCellSelectedReceivesNothing() {
    FakeGrid grid;
    grid.select(0, 0);  // the fixed corner: no ledger cell is selected
    TOrvoDentaku calc(&grid);
    press(calc, u"1+1="_s);
    QCOMPARE(calc.displayText(), u"2"_s);
    QCOMPARE(grid.writes, 0);
    grid.select(2, 0);  // a title
    press(calc, u"="_s);
    QCOMPARE(grid.writes, 0);

    TOrvoDentaku unattached;
    press(unattached, u"1+1="_s);
    QCOMPARE(unattached.displayText(), u"2"_s);
}

void OrvoDentakuTest::equalsAndTaxDoNothingOnAnEmptyDisplay() {
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"="_s);
    QTest::mouseClick(key(calc, "Button22"), Qt::LeftButton);
    QVERIFY(!calc.justEvaluated());
    QVERIFY(calc.lastExpression().isEmpty());
    QCOMPARE(grid.writes, 0);
}

void OrvoDentakuTest::keyboardMapsCharactersToKeys() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    QTest::keyClicks(&calc, u"(2+3)*4"_s);
    QCOMPARE(calc.displayText(), u"(2+3)*4"_s);
    QTest::keyClicks(&calc, u"="_s);
    QCOMPARE(calc.displayText(), u"20"_s);  // precedence, because of the ")"
    QCOMPARE(grid.cellText(3, 1), "20");

    QTest::keyClicks(&calc, u"-1.5/3"_s);
    QCOMPARE(calc.displayText(), u"20-1.5/3"_s);
    QTest::keyClick(&calc, Qt::Key_Backspace);
    QCOMPARE(calc.displayText(), u"20-1.5/"_s);
    QTest::keyClicks(&calc, u"c"_s);
    QCOMPARE(calc.displayText(), QString());
    QTest::keyClicks(&calc, u"9C"_s);
    QCOMPARE(calc.displayText(), QString());

    // "," and letters other than C and R change nothing.
    QTest::keyClicks(&calc, u"12,a x%E"_s);
    QCOMPARE(calc.displayText(), u"12"_s);
    QVERIFY(dialogs.shown().empty());

    dialogs.answerInput(u"7*6"_s);
    QTest::keyClicks(&calc, u"r"_s);
    QCOMPARE(calc.displayText(), u"42"_s);
}

void OrvoDentakuTest::typedCharactersNeverReachTheFocusedControl() {
    TOrvoDentaku calc;
    QTest::keyClicks(modeList(calc), u"12"_s);
    QCOMPARE(calc.displayText(), u"12"_s);
    QCOMPARE(modeList(calc)->currentIndex(), 0);
    QTest::keyClicks(key(calc, "Button7"), u"3"_s);
    QCOMPARE(calc.displayText(), u"123"_s);
    // Nor does a blank, which would open the list.
    calc.showCalculator();
    QVERIFY(QTest::qWaitForWindowExposed(&calc));
    modeList(calc)->setFocus();
    QTest::keyClick(modeList(calc), Qt::Key_Space);
    QVERIFY(!modeList(calc)->view()->isVisible());
}

void OrvoDentakuTest::altAndCtrlCombinationsAreNoTyping() {
    ScriptedDialogs dialogs;
    TOrvoDentaku calc;
    QTest::keyClicks(&calc, u"7"_s);
    QTest::keyClick(&calc, Qt::Key_5, Qt::AltModifier);
    QTest::keyClick(&calc, Qt::Key_R, Qt::AltModifier);
    QTest::keyClick(&calc, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(calc.displayText(), u"7"_s);
    QVERIFY(dialogs.shown().empty());  // no correction box
}

void OrvoDentakuTest::escapeEmptiesThenHides() {
    TOrvoDentaku calc;
    calc.showCalculator();
    QVERIFY(QTest::qWaitForWindowExposed(&calc));
    QTest::keyClicks(&calc, u"12"_s);
    QTest::keyClick(&calc, Qt::Key_Escape);
    QCOMPARE(calc.displayText(), QString());
    QVERIFY(calc.isVisible());
    QTest::keyClick(modeList(calc), Qt::Key_Escape);
    QVERIFY(!calc.isVisible());
}

void OrvoDentakuTest::enterPressesEqualsFromTheModeList() {
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    calc.showCalculator();
    QVERIFY(QTest::qWaitForWindowActive(&calc));
    QTest::keyClicks(&calc, u"6*7"_s);
    modeList(calc)->setFocus();
    QTest::keyClick(modeList(calc), Qt::Key_Return);
    QCOMPARE(calc.displayText(), u"42"_s);
    QCOMPARE(grid.cellText(3, 1), "42");
}

void OrvoDentakuTest::correctionBoxEvaluatesTheAnswerOrTheLastExpression() {
    ScriptedDialogs dialogs;
    FakeGrid grid;
    TOrvoDentaku calc(&grid);
    press(calc, u"2+3="_s);

    dialogs.answerInput(u"2+30"_s);
    press(calc, u"R"_s);
    QCOMPARE(dialogs.last().caption, u"演算式の修正"_s);
    QCOMPARE(dialogs.last().text, u"数値や演算子を修正してください"_s);
    QCOMPARE(dialogs.last().initial, u"2+3"_s);
    QCOMPARE(calc.lastExpression(), u"2+30"_s);
    QCOMPARE(calc.displayText(), u"32"_s);
    QCOMPARE(grid.cellText(3, 1), "32");

    // Cancel answers the prefilled text: evaluated again into the cell selected now.
    grid.select(4, 3);
    press(calc, u"9"_s);
    dialogs.cancelInput();
    press(calc, u"R"_s);
    QCOMPARE(calc.displayText(), u"32"_s);
    QCOMPARE(grid.cellText(4, 3), "32");
    QVERIFY(!calc.justEvaluated());  // "R" leaves it as the "9" left it

    // An empty answer does nothing.
    dialogs.answerInput(QString());
    press(calc, u"R"_s);
    QCOMPARE(calc.lastExpression(), u"2+30"_s);
    QCOMPARE(grid.writes, 3);

    // A character the ledger's code page lacks gives no value; it is not dropped.
    dialogs.answerInput(
        u"1\U0001F600"
        "2"_s);
    press(calc, u"R"_s);
    QCOMPARE(calc.displayText(), u"32"_s);
    QVERIFY(dialogs.allAnswersUsed());
}

void OrvoDentakuTest::closingOnlyHidesAndKeepsTheState() {
    TOrvoDentaku calc;
    calc.showCalculator();
    QVERIFY(QTest::qWaitForWindowExposed(&calc));
    press(calc, u"8*8="_s);
    chooseNormalMode(calc);
    press(calc, u"+1"_s);
    QVERIFY(calc.close());
    QVERIFY(!calc.isVisible());
    calc.showCalculator();
    QVERIFY(calc.isVisible());
    QCOMPARE(calc.displayText(), u"64+1"_s);
    QCOMPARE(calc.lastExpression(), u"8*8"_s);
    QCOMPARE(modeList(calc)->currentIndex(), 1);
}

QTEST_MAIN(OrvoDentakuTest)
#include "OrvoDentakuTest.moc"
