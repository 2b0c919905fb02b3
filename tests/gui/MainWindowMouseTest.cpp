// Mouse clicks where a user's clicks land: on the drop-down editors floating
// over the grid, on cells inside a selected block, and what typing into a
// title cell shows.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "platform/Text.h"
#include "support/MainWindowHarness.h"
#include "support/WidgetAt.h"

using namespace Qt::Literals::StringLiterals;
using orvo::testing::MainWindowHarness;
using orvo::testing::pressAt;

namespace {

std::string cp932(const QString& text) {
    return orvo::platform::toCp932(text).bytes;
}

QTableView* gridOf(const MainWindowHarness& h) {
    return h.form->findChild<QTableView*>(u"StringGrid1"_s);
}

QComboBox* comboBox(const MainWindowHarness& h, int level) {
    return h.form->findChild<QComboBox*>(level == 1 ? u"ComboBox1"_s : u"ComboBox2"_s);
}

// The centre of table cell (col, row) in the grid viewport's coordinates.
QPoint cellCentre(const MainWindowHarness& h, int col, int row) {
    QTableView* grid = gridOf(h);
    return grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
}

// A click as the window system delivers it: to whatever widget is at the spot.
void clickCell(MainWindowHarness& h, int col, int row,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = gridOf(h)->viewport();
    const QPoint global = viewport->mapToGlobal(cellCentre(h, col, row));
    pressAt(h.form.get(), global, QEvent::MouseButtonPress, modifiers);
    pressAt(h.form.get(), global, QEvent::MouseButtonRelease, modifiers);
    MainWindowHarness::settle();
}

void doubleClickCell(MainWindowHarness& h, int col, int row) {
    QWidget* viewport = gridOf(h)->viewport();
    const QPoint global = viewport->mapToGlobal(cellCentre(h, col, row));
    for (QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
          QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        pressAt(h.form.get(), global, type);
        MainWindowHarness::settle();
    }
}

}  // namespace

class MainWindowMouseTest : public QObject {
    Q_OBJECT
private slots:
    void clickOnTheTextOfATitleEditorKeepsTheProgramAlive_data() {
        QTest::addColumn<int>("col");
        QTest::newRow("level 1") << 1;
        QTest::newRow("level 2") << 2;
    }
    void clickOnTheTextOfATitleEditorKeepsTheProgramAlive() {
        QFETCH(int, col);
        MainWindowHarness h;
        h.start();
        h.form->setCellText(col, 1, cp932(u"食費"_s));
        clickCell(h, col, 1);
        QComboBox* box = comboBox(h, col);
        QVERIFY(box->isVisible());
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        QTest::mouseDClick(box->lineEdit(), Qt::LeftButton);
        MainWindowHarness::settle();
        QVERIFY(box->isVisible());
        QCOMPARE(h.cell(col, 1), u"食費"_s);
    }

    void doubleClickOnATitleCellInEditModeLandsOnItsEditor() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(1, 2, cp932(u"食費"_s));
        doubleClickCell(h, 1, 2);
        doubleClickCell(h, 2, 2);
        QCOMPARE(h.cell(1, 2), u"食費"_s);
        QVERIFY(comboBox(h, 2)->isVisible());
    }

    void aPlainClickInsideABlockSelectsOnlyTheClickedCell() {
        MainWindowHarness h;
        h.start();
        for (int col = 3; col <= 5; ++col)
            for (int row = 1; row <= 2; ++row) h.form->setCellText(col, row, "9");
        clickCell(h, 3, 1);
        clickCell(h, 5, 2, Qt::ShiftModifier);
        QCOMPARE(gridOf(h)->selectionModel()->selectedIndexes().size(), 6);

        clickCell(h, 4, 2);
        QCOMPARE(gridOf(h)->selectionModel()->selectedIndexes().size(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(4, 2), QString());
        for (const QPoint kept :
             {QPoint(3, 1), QPoint(4, 1), QPoint(5, 1), QPoint(3, 2), QPoint(5, 2)})
            QCOMPARE(h.cell(kept.x(), kept.y()), u"9"_s);
    }

    void typingIntoATitleCellShowsTheCellEditorUncovered() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(1, 1, cp932(u"食費"_s));
        clickCell(h, 1, 1);
        QVERIFY(comboBox(h, 1)->isVisible());
        gridOf(h)->setFocus();
        QTest::keyClicks(gridOf(h), u"x"_s);
        MainWindowHarness::settle();
        QVERIFY(h.form->findChild<QPlainTextEdit*>(u"CellEditor"_s));
        QVERIFY(!comboBox(h, 1)->isVisible());
    }

    // Only the description is drawn on several lines; a line break elsewhere
    // shows as a blank on the one line.
    void lineBreaksOutsideTheDescriptionAreDrawnOnOneLine() {
        MainWindowHarness h;
        h.start();
        QTableView* grid = gridOf(h);
        grid->verticalHeader()->resizeSection(0, 60);
        h.form->setCellText(4, 1, "1\r\n2");
        h.form->setCellText(2, 1, "a\r\nb");
        h.form->setCellText(5, 1, "a\r\nb");
        const QImage image = grid->viewport()->grab().toImage();
        auto inkedRows = [&](int col) {
            const QRect r =
                grid->visualRect(grid->model()->index(0, col - 1)).adjusted(1, 1, -2, -2);
            int top = -1, bottom = -1;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (qGray(image.pixel(x, y)) < 100) {
                        if (top < 0) top = y;
                        bottom = y;
                        break;
                    }
            return bottom - top + 1;
        };
        const int oneLine = QFontMetrics(grid->font()).height();
        QVERIFY(inkedRows(2) <= oneLine);
        QVERIFY(inkedRows(4) <= oneLine);
        QVERIFY(inkedRows(5) > oneLine);
    }
};

QTEST_MAIN(MainWindowMouseTest)
#include "MainWindowMouseTest.moc"
