// The calculator working on the real main window: opened from "ツール" > "電卓"
// and by a double click on an amount, writing its result into the selected cell.

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "forms/calculator/OrvoDen.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::testing::MainWindowHarness;

class CalculatorInMainWindowTest : public QObject {
    Q_OBJECT

private:
    static QAction* toolsItem(MainWindowHarness& h, const QString& text) {
        for (QAction* menu : h.form->menuBar()->actions()) {
            if (menu->text() != u"ツール"_s || !menu->menu()) continue;
            for (QAction* a : menu->menu()->actions())
                if (a->text() == text) return a;
        }
        return nullptr;
    }
    static void press(orvo::forms::TOrvoDentaku& calc, const char* name) {
        auto* key = calc.findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(key);
        key->click();
    }

private slots:
    void toolsMenuShowsTheCalculatorModelessAndKeepsItsState() {
        MainWindowHarness h;
        h.start();
        orvo::forms::TOrvoDentaku calc(h.form.get());
        h.form->setCompanionWindows(nullptr, &calc);
        QAction* item = toolsItem(h, u"電卓"_s);
        QVERIFY(item);
        item->trigger();
        QVERIFY(calc.isVisible());
        QVERIFY(!calc.isModal());
        // A second "電卓" while it shows only brings it forward.
        item->trigger();
        QVERIFY(calc.isVisible());
        calc.close();
        QVERIFY(!calc.isVisible());
        item->trigger();
        QVERIFY(calc.isVisible());
    }

    void resultGoesIntoTheSelectedAmountCellWithoutRecalculating() {
        MainWindowHarness h;
        h.start();
        orvo::forms::TOrvoDentaku calc(h.form.get());
        h.form->setCompanionWindows(nullptr, &calc);
        h.type(1, 1, u"食費"_s);
        h.grid()->setFocus();
        h.grid()->setCurrentIndex(h.model()->indexOfCell(3, 1));
        MainWindowHarness::settle();
        calc.showCalculator();
        QTest::keyClicks(&calc, u"12*100"_s);
        press(calc, "Button17");
        QCOMPARE(h.cell(3, 1), u"1200"_s);
        // The totals wait for the next recalculation, which takes the result.
        QCOMPARE(h.book().totals().dayOut, 0);
        h.book().Recalculate();  // as after a write-back with the grid still focused
        press(calc, "Button17");          // "=" again: the same result, no change
        QVERIFY(!h.book().dayViewChanged());
        QTest::mouseClick(h.child<QPushButton>("Button3"), Qt::LeftButton);
        QCOMPARE(h.book().totals().dayOut, 1200);
        QVERIFY(h.dialogs.unanswered() == 0);
    }
};

QTEST_MAIN(CalculatorInMainWindowTest)
#include "CalculatorInMainWindowTest.moc"
