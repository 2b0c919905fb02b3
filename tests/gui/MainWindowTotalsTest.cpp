// The day-view cycle as the user drives it from the main window: typing,
// "再計算", the date picker and its "<" ">" buttons, and the six totals.

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::LedgerDate;
using orvo::testing::MainWindowHarness;

class MainWindowTotalsTest : public QObject {
    Q_OBJECT
private slots:
    void typedExpenseGivesTheSixLabelsAndAZeroIncomeCell() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"1200"_s);
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);

        QCOMPARE(h.labelText("DayOut"), u"¥1,200"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥1,200"_s);
        QCOMPARE(h.labelText("DayIn"), u"¥0"_s);
        QCOMPARE(h.labelText("AllIn"), u"¥0"_s);
        QCOMPARE(h.labelText("DayZan"), u"-¥1,200"_s);
        QCOMPARE(h.labelText("AllZan"), u"-¥1,200"_s);
        QCOMPARE(h.cell(4, 1), u"0"_s);
        QCOMPARE(h.book().records().size(), std::size_t{1});
    }

    void rowWithoutLevel1TitleIsDropped() {
        MainWindowHarness h;
        h.start();
        h.type(2, 1, u"外食"_s);
        h.type(3, 1, u"800"_s);
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);
        QTest::mouseClick(h.child<QPushButton>("Button1"), Qt::LeftButton);

        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 10, 15}));
        QCOMPARE(h.cell(2, 1), QString());
        QCOMPARE(h.cell(3, 1), QString());
        QCOMPARE(h.labelText("AllOut"), u"¥0"_s);
        QVERIFY(h.book().records().empty());
    }

    void rowsTypedBThenAComeBackAThenB() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"B"_s);
        h.type(1, 2, u"A"_s);
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);
        QTest::mouseClick(h.child<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(h.cell(1, 1), u"A"_s);
        QCOMPARE(h.cell(1, 2), u"B"_s);
    }

    void editingAStoredAmountMovesTheCumulativeTotalByTheDifference() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"book.dat"_s, {u"2026/10/01\t食費\t\t300\t0\t"_s,
                                                    u"2026/10/15\t食費\t外食\t1000\t0\t昼"_s}));
        h.start();
        QCOMPARE(h.labelText("AllOut"), u"¥1,300"_s);
        QCOMPARE(h.cell(3, 1), u"1000"_s);
        h.type(3, 1, u"1500"_s);
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);
        QCOMPARE(h.labelText("AllOut"), u"¥1,800"_s);
        QCOMPARE(h.labelText("DayOut"), u"¥1,500"_s);
    }

    void recalculatingTwiceWritesBackOnlyOnce() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"100"_s);
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);
        QVERIFY(!h.book().dayViewChanged());
        // Nothing changed since: the second writes nothing and makes no step.
        const std::size_t steps = h.book().history().steps();
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);
        QCOMPARE(h.book().records().size(), std::size_t{1});
        QVERIFY(h.book().records()[0].find("\t100\t") != std::string::npos);
        QCOMPARE(h.book().history().steps(), steps);
        QCOMPARE(h.labelText("AllOut"), u"¥100"_s);
    }

    void sevenRecordsOfADayGrowTheTableToEightRows() {
        MainWindowHarness h;
        QStringList records;
        for (int i = 0; i < 7; ++i) records << u"2026/10/15\t食費\t\t%1\t0\t"_s.arg(i + 1);
        h.writeRecord(h.writeLedger(u"book.dat"_s, records));
        h.start();
        QCOMPARE(h.book().table().rowCount(), 8);
        QCOMPARE(h.model()->rowCount(), 7);
        QCOMPARE(h.labelText("DayOut"), u"¥28"_s);
    }

    void nextDayFromTheLastDayOfAMonth() {
        MainWindowHarness h;
        h.start(LedgerDate{2026, 10, 31});
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);
        QCOMPARE(h.child<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 11, 1));
        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 11, 1}));
        QTest::mouseClick(h.child<QPushButton>("Button1"), Qt::LeftButton);
        QCOMPARE(h.child<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 10, 31));
    }

    // No helper here: the grid has held the focus since the window opened, and
    // the user clicks a cell, types and presses "再計算".
    void anEditRightAfterStartUpIsWrittenBack() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"book.dat"_s, {u"2026/10/15\t食費\t\t100\t0\t"_s}));
        h.start();
        QCOMPARE(h.labelText("AllOut"), u"¥100"_s);
        QWidget* viewport = h.grid()->viewport();
        const QPoint amount = h.grid()->visualRect(h.model()->indexOfCell(3, 1)).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, amount);
        QTest::keyClick(h.grid(), Qt::Key_1);  // opens the cell editor
        QTest::keyClicks(QApplication::focusWidget(), u"200"_s);
        // "再計算" straight from the open cell editor.
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);
        QCOMPARE(h.cell(3, 1), u"1200"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥1,200"_s);
        QVERIFY(h.book().records()[0].find("\t1200\t") != std::string_view::npos);
    }

    void editsAreFiledUnderTheDayTheyWereMadeOn() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.child<QDateEdit>("DateTimePicker1")
            ->setDate(QDate(2026, 10, 20));  // as the user picks a date
        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 10, 20}));
        QCOMPARE(h.book().records().size(), std::size_t{1});
        QVERIFY(h.book().records()[0].starts_with("2026/10/15\t"));
        QCOMPARE(h.cell(1, 1), QString());
    }

    void enteringTheDatePickerWritesTheDayViewBack() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"40"_s);
        h.child<QDateEdit>("DateTimePicker1")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(h.book().records().size(), std::size_t{1});
        QCOMPARE(h.labelText("AllOut"), u"¥40"_s);
        QVERIFY(!h.book().dayViewChanged());
    }

    // The window goes before a date typed into the open calendar lands; the
    // sanitizer build reports anything Qt leaves behind.
    void aDateHalfTypedIntoTheCalendarGoesWithTheWindow() {
        auto h = std::make_unique<MainWindowHarness>();
        h->start();
        auto* picker = h->child<QDateEdit>("DateTimePicker1");
        QTest::mouseClick(picker, Qt::LeftButton, {},
                          QPoint(picker->width() - 6, picker->height() / 2));
        QCalendarWidget* calendar = picker->calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        QTest::keyClicks(calendar->findChild<QAbstractItemView*>(u"qt_calendar_calendarview"_s),
                         u"2026"_s);
        QCOMPARE(picker->date(), QDate(2026, 10, 15));
        h.reset();
    }

    void charactersShiftJisCannotHoldAreLeftOutWithAWarning() {
        MainWindowHarness h;
        h.start();
        h.dialogs.clearShown();
        h.type(5, 1, u"メモ😀です"_s);
        QCOMPARE(h.cell(5, 1), u"メモです"_s);
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().kind, orvo::platform::MessageKind::Warning);
        QVERIFY(h.dialogs.last().text.endsWith(u"😀"_s));
    }

    void aBadAmountKeepsTheDayAndPutsTheCursorOnIt() {
        MainWindowHarness h;
        h.start();
        h.type(1, 2, u"食費"_s);
        h.type(3, 2, u"12a"_s);
        h.dialogs.clearShown();
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);

        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().text, u"'12a' は整数ではありません."_s);
        QCOMPARE(h.dialogs.last().kind, orvo::platform::MessageKind::Error);
        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 10, 15}));
        QCOMPARE(h.child<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 10, 15));
        QCOMPARE(h.grid()->currentIndex(), h.model()->indexOfCell(3, 2));
        QCOMPARE(h.cell(1, 2), u"食費"_s);

        // The same through the picker: the picker goes back to the day of the edits.
        h.child<QDateEdit>("DateTimePicker1")->setDate(QDate(2026, 10, 20));
        QCOMPARE(h.child<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 10, 15));
        QCOMPARE(h.cell(3, 2), u"12a"_s);
    }
};

QTEST_MAIN(MainWindowTotalsTest)
#include "MainWindowTotalsTest.moc"
