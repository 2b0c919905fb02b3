// "明細の取り込み": the preview driven with the mouse (tick boxes, title
// drop-downs, same-shop titles, rule editing, the manual layout) and the import
// from the File menu into the open ledger.

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "forms/statement/StatementImportWindow.h"
#include "forms/statement/StatementPreviewModel.h"
#include "platform/Text.h"
#include "statement/StatementLayout.h"
#include "support/MainWindowHarness.h"
#include "support/SourceFolders.h"

using namespace Qt::Literals::StringLiterals;
using orvo::forms::StatementImportWindow;
using orvo::forms::StatementPreviewModel;
using orvo::testing::MainWindowHarness;

namespace {

std::string fixtureBytes(const char* name) {
    return orvo::statement::readWholeFile(orvo::testing::fixturesFolder() + "/statement/" + name);
}

template <class T>
T* childOf(QWidget* w, const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s", name);
    return found;
}

QPoint cellCenter(QTableView* view, int row, int column) {
    return view->visualRect(view->model()->index(row, column)).center();
}

}  // namespace

class StatementImportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void previewEditedWithTheMouse() {
        MainWindowHarness h;
        orvo::LedgerRecords records;
        records.add(orvo::platform::toCp932(u"2025/01/06\t食費\t外食\t150\t0\tｺｰﾋｰｼｮｯﾌﾟ"_s).bytes);
        orvo::TitleLists titles;
        titles.level1 = {orvo::platform::toCp932(u"食費"_s).bytes,
                         orvo::platform::toCp932(u"交通費"_s).bytes};
        titles.level2 = {{orvo::platform::toCp932(u"外食"_s).bytes, 0}};
        const std::string rules = orvo::platform::toNativePath(h.path(u"rules.txt"_s));
        StatementImportWindow w(fixtureBytes("card-cp932.csv"), records, titles, rules,
                                orvo::platform::toNativePath(h.path(u"layouts"_s)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* grid = childOf<QTableView>(&w, "previewGrid");
        auto* counts = childOf<QLabel>(&w, "countsLabel");
        QCOMPARE(counts->text(), u"新規 4件・重複 1件・エラー 0件"_s);
        QCOMPARE(childOf<QComboBox>(&w, "layoutCombo")->currentText(),
                 u"クレジットカード（利用日・利用金額）"_s);

        // The tick box of the first row, clicked off and on.
        const auto tick = [&](int row) {
            QTest::mouseClick(
                grid->viewport(), Qt::LeftButton, {},
                grid->visualRect(grid->model()->index(row, 0)).topLeft() + QPoint(10, 10));
        };
        QVERIFY(w.rows()[0].ticked);
        tick(0);
        QVERIFY(!w.rows()[0].ticked);
        QVERIFY(!w.rows()[2].ticked);  // the duplicate
        tick(2);
        QVERIFY(w.rows()[2].ticked);

        // A title picked from the drop-down: a click opens it on the cell.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cellCenter(grid, 1, StatementPreviewModel::Title1));
        auto* combo = grid->findChild<QComboBox*>(u"titleCombo"_s);
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_COMPARE(orvo::platform::fromCp932(w.rows()[1].title1),
                     u"交通費"_s);  // committed queued

        // The same shop's rows take row 3's titles.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cellCenter(grid, 3, StatementPreviewModel::Date));
        grid->model()->setData(grid->model()->index(3, StatementPreviewModel::Title2), u"喫茶"_s);
        QTest::mouseClick(childOf<QPushButton>(&w, "sameShopButton"), Qt::LeftButton);
        QCOMPARE(orvo::platform::fromCp932(w.rows()[2].title2), u"喫茶"_s);
        QCOMPARE(orvo::platform::fromCp932(w.rows()[0].title2), QString());

        // One click makes the row a rule; the rules tab edits, moves and deletes.
        QTest::mouseClick(childOf<QPushButton>(&w, "makeRuleButton"), Qt::LeftButton);
        auto* table = childOf<QTableWidget>(&w, "rulesTable");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(orvo::platform::fromCp932(orvo::statement::readRules(rules).at(0).title2),
                 u"喫茶"_s);
        QTest::mouseClick(childOf<QPushButton>(&w, "addRuleButton"), Qt::LeftButton);
        QCOMPARE(table->rowCount(), 2);
        table->item(1, 0)->setText(u"ｶﾞｿﾘﾝ"_s);
        table->item(1, 1)->setText(u"交通費"_s);
        QCOMPARE(orvo::platform::fromCp932(w.rows()[1].title1), u"交通費"_s);
        table->setCurrentCell(1, 0);
        QTest::mouseClick(childOf<QPushButton>(&w, "upRuleButton"), Qt::LeftButton);
        QCOMPARE(table->item(0, 0)->text(), u"ｶﾞｿﾘﾝ"_s);
        QCOMPARE(orvo::statement::readRules(rules).size(), 2u);
        table->setCurrentCell(1, 0);
        QTest::mouseClick(childOf<QPushButton>(&w, "deleteRuleButton"), Qt::LeftButton);
        QCOMPARE(orvo::statement::readRules(rules).size(), 1u);

        // The manual layout maps the columns by hand.
        auto* layouts = childOf<QComboBox>(&w, "layoutCombo");
        layouts->setCurrentIndex(layouts->count() - 1);
        emit layouts->activated(layouts->count() - 1);
        QVERIFY(childOf<QWidget>(&w, "manualPanel")->isVisible());
        QCOMPARE(counts->text(), u"新規 4件・重複 1件・エラー 0件"_s);
        h.dialogs.answerInput(u"私のカード"_s);
        QTest::mouseClick(childOf<QPushButton>(&w, "saveLayoutButton"), Qt::LeftButton);
        const auto saved =
            orvo::statement::availableLayouts(orvo::platform::toNativePath(h.path(u"layouts"_s)));
        QCOMPARE(orvo::platform::fromCp932(saved.front().name), u"私のカード"_s);

        QTest::mouseClick(childOf<QPushButton>(&w, "cancelButton"), Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void importFromTheFileMenu() {
        MainWindowHarness h;
        h.writeRecord(
            h.writeLedger(u"book.dat"_s, {u"2025/01/06\t食費\t外食\t150\t0\tｺｰﾋｰｼｮｯﾌﾟ"_s}));
        h.start();
        const std::size_t before = h.book().records().size();

        // Cancelled: the ledger stays as it was.
        h.dialogs.answerFile(QString::fromStdString(orvo::testing::fixturesFolder()) +
                             u"/statement/card-cp932.csv"_s);
        QTimer::singleShot(0, [] {
            QWidget* w = QApplication::activeModalWidget();
            QTest::mouseClick(childOf<QPushButton>(w, "cancelButton"), Qt::LeftButton);
        });
        h.action("StatementImport1")->trigger();
        QCOMPARE(h.book().records().size(), before);

        h.dialogs.answerFile(QString::fromStdString(orvo::testing::fixturesFolder()) +
                             u"/statement/card-cp932.csv"_s);
        h.dialogs.answer(orvo::platform::No);  // no "未分類" in the title list
        h.dialogs.answer(orvo::platform::Ok);
        QTimer::singleShot(0, [] {
            QWidget* w = QApplication::activeModalWidget();
            QTest::mouseClick(childOf<QPushButton>(w, "importButton"), Qt::LeftButton);
        });
        h.action("StatementImport1")->trigger();
        QCOMPARE(h.book().records().size(), before + 4);
        QCOMPARE(h.dialogs.last().text, u"4件の明細を取り込みました"_s);
        QCOMPARE(h.book().pickedDay(), (orvo::LedgerDate{2024, 12, 20}));
        QCOMPARE(h.book().totals().allOut, 150 + 2980 + 4500 + 150);
        QCOMPARE(h.book().totals().allIn, 3000);
        QVERIFY(h.dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(StatementImportWindowTest)
#include "StatementImportWindowTest.moc"
