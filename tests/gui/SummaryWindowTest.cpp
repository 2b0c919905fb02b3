// The window "家計の推移" on the real main window, driven with the mouse:
// the day view written back before it opens, the year arrows, the tabs, a
// click on a bar segment listing its records and a double click showing the
// day, the budgets edited in place, the table copied and written, the chart saved.

#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTest>

#include "forms/summary/SummaryWindow.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::forms::SummaryWindow;
using orvo::testing::MainWindowHarness;

namespace {

const QStringList kRecords = {
    u"2026/01/05\t食費\t外食\t1000\t0\t昼"_s, u"2026/01/20\t食費\t\t234\t0\t夜"_s,
    u"2026/01/25\t給与\t\t0\t3000\t"_s,       u"2026/01/26\t住居費\t\t5000\t0\t家賃"_s,
    u"2026/03/01\t雑費\t\t700\t0\t傘"_s,      u"2026/02/30\t食費\t\t9\t0\t"_s,
    u"2025/12/31\t食費\t\t5\t0\t"_s,
};

template <class T>
T* child(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
}

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
}

// A double click as the mouse gives it: a click, then the second press.
void doubleClick(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

void clickTab(SummaryWindow* s, int tab) {
    QTabBar* bar = child<QTabWidget>(s, "SummaryTabs")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

// The middle of the segment of `title` in month `month` (1 to 12) of the stacked bars.
QPoint segmentCentre(QChartView* view, const QString& title, int month) {
    QChart* chart = view->chart();
    auto* bars = qobject_cast<QStackedBarSeries*>(chart->series().front());
    double below = 0;
    for (QBarSet* set : bars->barSets()) {
        const double value = set->at(month - 1);
        if (set->label() == title) {
            const QPointF at = chart->mapToPosition(QPointF(month - 1, below + value / 2), bars);
            return view->mapFromScene(chart->mapToScene(at));
        }
        below += value;
    }
    qFatal("no bar set for the title");
}

QStringList column(QTreeWidget* list, int c) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(c);
    return out;
}

}  // namespace

class SummaryWindowTest : public QObject {
    Q_OBJECT

private:
    // Opens the window over `h`, with an expense typed into the shown day first.
    SummaryWindow* open(MainWindowHarness& h) {
        h.writeRecord(h.writeLedger(u"book.dat"_s, kRecords));
        h.start({2026, 10, 15});
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"66"_s);
        h.action("mnuSuii")->trigger();
        auto* s = h.form->findChild<SummaryWindow*>(u"SummaryWindow"_s);
        if (!s || !QTest::qWaitForWindowExposed(s)) qFatal("the window did not open");
        return s;
    }

private slots:
    void opensOnTheShownYearWithTheDayViewWrittenBack() {
        MainWindowHarness h;
        SummaryWindow* s = open(h);
        QCOMPARE(child<QSpinBox>(s, "YearBox")->value(), 2026);
        QCOMPARE(child<QLabel>(s, "UnreadableDates")->text(), u"日付が読めない記録 1件"_s);
        // Listed titles first (食費, 住居費), then the others in byte order.
        clickTab(s, 2);
        QCOMPARE(child<QTabWidget>(s, "SummaryTabs")->currentIndex(), 2);
        auto* table = child<QTreeWidget>(s, "SummaryTable");
        QCOMPARE(column(table, 1), (QStringList{u"食費"_s, u"住居費"_s, u"雑費"_s, u"合計"_s,
                                                u"給与"_s, u"合計"_s, QString()}));
        QCOMPARE(table->topLevelItem(0)->text(2), u"¥1,234"_s);
        QCOMPARE(table->topLevelItem(0)->text(11), u"¥66"_s);  // the typed expense, October
        QCOMPARE(table->topLevelItem(3)->text(14), u"¥7,000"_s);
        QCOMPARE(table->topLevelItem(0)->childCount(), 2);  // 外食 and none

        // The arrows step the year; an empty year shows only the totals.
        click(child<QPushButton>(s, "PrevYear"));
        QCOMPARE(child<QSpinBox>(s, "YearBox")->value(), 2025);
        QCOMPARE(column(table, 1), (QStringList{u"食費"_s, u"合計"_s, u"合計"_s, QString()}));
        click(child<QPushButton>(s, "NextYear"));
        QCOMPARE(table->topLevelItemCount(), 7);

        // The copy is the command's table, TAB-separated.
        click(child<QPushButton>(s, "SummaryCopy"));
        const QStringList lines = QApplication::clipboard()->text().split(u"\r\n"_s);
        QCOMPARE(lines[1], u"支出\t食費\t1234\t0\t0\t0\t0\t0\t0\t0\t0\t66\t0\t0\t1300"_s);
        QVERIFY(lines[7].startsWith(u"収支\t\t-3234\t0\t-700\t"_s));
        // And "CSV書き込み" writes it as CSV in CP932.
        h.dialogs.answerFile(h.path(u"表.csv"_s));
        click(child<QPushButton>(s, "SummaryCsv"));
        QVERIFY(h.readCp932(u"表.csv"_s).startsWith(u"区分,科目,1月,"_s));
        QVERIFY(h.readCp932(u"表.csv"_s).contains(u"\r\n収支,,-3234,"_s));
    }

    void aClickOnABarListsItsRecordsAndADoubleClickShowsTheDay() {
        MainWindowHarness h;
        SummaryWindow* s = open(h);
        clickTab(s, 1);
        clickTab(s, 0);
        auto* view = child<QChartView>(s, "MonthChart");
        auto* list = child<QTreeWidget>(s, "CellRecords");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, segmentCentre(view, u"食費"_s, 1));
        QCOMPARE(column(list, 5), (QStringList{u"昼"_s, u"夜"_s}));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          segmentCentre(view, u"住居費"_s, 1));
        QCOMPARE(column(list, 0), (QStringList{u"2026/01/26"_s}));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, segmentCentre(view, u"雑費"_s, 3));
        QCOMPARE(column(list, 5), (QStringList{u"傘"_s}));

        const QRect row = list->visualItemRect(list->topLevelItem(0));
        doubleClick(list->viewport(), row.center());
        QCOMPARE(h.book().pickedDay(), (orvo::LedgerDate{2026, 3, 1}));
        QCOMPARE(h.cell(5, 1), u"傘"_s);
    }

    void budgetsAreEditedInPlaceAndKept() {
        MainWindowHarness h;
        h.writeCp932(u"予算.txt"_s, u"住居費\t6000\r\n"_s);
        SummaryWindow* s = open(h);
        clickTab(s, 3);
        auto* table = child<QTableWidget>(s, "BudgetTable");
        child<QComboBox>(s, "BudgetMonth")->setCurrentIndex(0);
        QCOMPARE(table->item(0, 0)->text(), u"食費"_s);
        QVERIFY(table->item(0, 1)->text().isEmpty());
        QCOMPARE(table->item(1, 3)->text(), u"¥1,000"_s);

        // A double click opens the editor; the budget is written at once.
        const QRect cell = table->visualItemRect(table->item(0, 1));
        doubleClick(table->viewport(), cell.center());
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != table);
        // Full-width digits, as the input method leaves them.
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"１０００"_s);
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(table->item(0, 3)->text(), u"-¥234"_s);
        QCOMPARE(h.readCp932(u"予算.txt"_s), u"住居費\t6000\r\n食費\t1000\r\n"_s);
        auto* bar = qobject_cast<QProgressBar*>(table->cellWidget(0, 4));
        QVERIFY(bar && bar->property("over").toBool());
        QCOMPARE(child<QLabel>(s, "BudgetTotal")->text(),
                 u"1月の合計  予算 ¥7,000  支出 ¥6,234  残り ¥766"_s);
    }

    void theChartIsSavedAsPngOrPdf() {
        MainWindowHarness h;
        SummaryWindow* s = open(h);
        for (const QString& name : {u"月別.png"_s, u"月別.pdf"_s}) {
            h.dialogs.answerFile(h.path(name));
            click(child<QPushButton>(s, "SaveImage"));
            QFile file(h.path(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray start = file.read(5);
            QVERIFY2(start == "\x89PNG\r" || start == "%PDF-", qPrintable(name));
        }
        clickTab(s, 2);
        QVERIFY(!child<QPushButton>(s, "SaveImage")->isEnabled());
    }
};

QTEST_MAIN(SummaryWindowTest)
#include "SummaryWindowTest.moc"
