// The grid's keyboard and mouse rules, its drawing, the modes and the
// account-title drop-down editors.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "platform/InputMethod.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::CellBlock;
using orvo::testing::MainWindowHarness;

namespace {

QModelIndex cellIndex(const MainWindowHarness& h, int col, int row) {
    return h.model()->indexOfCell(col, row);
}

QPoint cellCentre(const MainWindowHarness& h, int col, int row) {
    return h.grid()->visualRect(cellIndex(h, col, row)).center();
}

void focusCell(MainWindowHarness& h, int col, int row) {
    h.grid()->setFocus();
    h.grid()->setCurrentIndex(cellIndex(h, col, row));
    MainWindowHarness::settle();
}

QWidget* focused() {
    return QApplication::focusWidget();
}

// A double click as the platform delivers it: press, release, press, double click, release.
void doubleClick(QWidget* widget, const QPoint& pos) {
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &dbl);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    MainWindowHarness::settle();
}

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// The level-2 list as the drop-down editor over column 2 of `row` fills it
// when it takes the focus.
QStringList level2ListAt(MainWindowHarness& h, int row) {
    focusCell(h, 2, row);  // leaving an editor sends a Tab: the cell again
    focusCell(h, 2, row);
    auto* box = h.child<QComboBox>("ComboBox2");
    box->setFocus(Qt::MouseFocusReason);
    MainWindowHarness::settle();
    return itemsOf(box);
}

// Columns of `image` inside `rect` that hold a dark pixel.
QList<int> inkedColumns(const QImage& image, const QRect& rect) {
    QList<int> columns;
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 100) {
                columns << x;
                break;
            }
    return columns;
}

int inkedRowCount(const QImage& image, const QRect& rect) {
    int rows = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace

class MainWindowGridTest : public QObject {
    Q_OBJECT
private slots:
    void enterMovesLikeTabAlsoFromAnOpenEditor() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 3, 1);
        QTest::keyClicks(h.grid(), u"1"_s);  // opens the editor
        QVERIFY(h.delegate()->openEditor());
        QTest::keyClicks(focused(), u"25"_s);
        QTest::keyClick(focused(), Qt::Key_Return);
        MainWindowHarness::settle();
        QVERIFY(!h.delegate()->openEditor());
        QCOMPARE(h.cell(3, 1), u"125"_s);
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 4, 1));

        // Without an editor Enter and Ctrl+Enter move on as well.
        QTest::keyClick(h.grid(), Qt::Key_Enter);
        MainWindowHarness::settle();
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 5, 1));
        QTest::keyClick(h.grid(), Qt::Key_Return, Qt::ControlModifier);
        MainWindowHarness::settle();
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 1, 2));
    }

    void ctrlEnterTypesALineBreakIntoTheDescription() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 5, 1);
        QTest::keyClicks(h.grid(), u"a"_s);
        QTest::keyClick(focused(), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(focused(), u"b"_s);
        QTest::keyClick(focused(), Qt::Key_Tab);
        MainWindowHarness::settle();
        QCOMPARE(QByteArray::fromStdString(h.book().table().cell(5, 1)), QByteArray("a\r\nb"));
    }

    void editorInputModeFollowsTheColumn() {
        MainWindowHarness h;
        h.start();
        using orvo::platform::InputMode;
        focusCell(h, 5, 1);
        QTest::keyClicks(h.grid(), u"x"_s);
        QCOMPARE(orvo::platform::inputModeOf(h.delegate()->openEditor()), InputMode::Hiragana);
        QTest::keyClick(focused(), Qt::Key_Tab);
        MainWindowHarness::settle();
        QCOMPARE(orvo::platform::inputModeOf(h.grid()), InputMode::Off);
        focusCell(h, 3, 2);
        QTest::keyClicks(h.grid(), u"1"_s);
        QCOMPARE(orvo::platform::inputModeOf(h.delegate()->openEditor()), InputMode::Off);
    }

    void escapeAsksTheCloseQuestionEvenFromAnEditor() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 5, 1);
        QTest::keyClicks(h.grid(), u"memo"_s.left(1));
        QTest::keyClicks(focused(), u"emo"_s);
        h.dialogs.clearShown();
        h.dialogs.answer(orvo::platform::Cancel);
        QTest::keyClick(focused(), Qt::Key_Escape);
        MainWindowHarness::settle();
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().text, u"終了する前に現ﾃﾞｰﾀを保存しますか"_s);
        QVERIFY(h.form->isVisible());
        QCOMPARE(h.cell(5, 1), u"memo"_s);
    }

    void titleRowSelectsWholeColumns() {
        MainWindowHarness h;
        h.start();
        QHeaderView* header = h.grid()->horizontalHeader();
        auto sectionCentre = [&](int tableCol) {
            return QPoint(header->sectionViewportPosition(tableCol - 1) +
                              header->sectionSize(tableCol - 1) / 2,
                          header->height() / 2);
        };
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(3));
        MainWindowHarness::settle();
        QCOMPARE(h.form->gridSelection(), (CellBlock{3, 1, 3, 5}));

        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, sectionCentre(2));
        QTest::mouseMove(header->viewport(), sectionCentre(4));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, sectionCentre(4));
        MainWindowHarness::settle();
        QCOMPARE(h.form->gridSelection(), (CellBlock{2, 1, 4, 5}));
        QVERIFY(h.grid()->selectionModel()->isColumnSelected(3, {}));
    }

    void fixedColumnSelectsWholeRows() {
        MainWindowHarness h;
        h.start();
        QHeaderView* header = h.grid()->verticalHeader();
        const QPoint beside2(header->width() / 2, header->sectionViewportPosition(1) + 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, beside2);
        MainWindowHarness::settle();
        QCOMPARE(h.form->gridSelection(), (CellBlock{1, 2, 5, 2}));
        QVERIFY(h.grid()->selectionModel()->isRowSelected(1, {}));
    }

    void rightButtonChangesNoSelection() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 1);
        const CellBlock before = h.form->gridSelection();
        QCOMPARE(before, (CellBlock{1, 1, 1, 1}));
        QWidget* viewport = h.grid()->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, cellCentre(h, 4, 3));
        QTest::mouseRelease(viewport, Qt::RightButton, {}, cellCentre(h, 4, 3));
        QHeaderView* header = h.grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::RightButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, 5));
        MainWindowHarness::settle();
        QCOMPARE(h.form->gridSelection(), before);
    }

    void doubleClickOnAnAmountSwitchesToEditModeAndShowsTheCalculator() {
        MainWindowHarness h;
        h.start();
        QWidget calculator;
        QWidget phrases;
        h.form->setCompanionWindows(&phrases, &calculator);
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        QVERIFY(!h.child<QRadioButton>("RadioButton1")->isChecked());
        doubleClick(h.grid()->viewport(), cellCentre(h, 4, 2));
        QVERIFY(h.child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(h.child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(calculator.isVisible());
        QVERIFY(!phrases.isVisible());
        QVERIFY(!h.delegate()->openEditor());
        doubleClick(h.grid()->viewport(), cellCentre(h, 5, 2));
        QVERIFY(phrases.isVisible());
    }

    void cellSelectionModeOpensNoEditor() {
        MainWindowHarness h;
        h.start();
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        focusCell(h, 3, 1);
        QTest::keyClicks(h.grid(), u"7"_s);
        QVERIFY(!h.delegate()->openEditor());
        QCOMPARE(h.cell(3, 1), QString());
    }

    void dropDownEditorsCoverTheFocusedTitleCellInEditModeOnly() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 2);
        QVERIFY(h.child<QComboBox>("ComboBox1")->isVisible());
        QVERIFY(!h.child<QComboBox>("ComboBox2")->isVisible());
        const QRect cell = h.grid()->visualRect(cellIndex(h, 1, 2));
        const QPoint topLeft = h.grid()->viewport()->mapTo(h.form->centralWidget(), cell.topLeft());
        QCOMPARE(h.child<QComboBox>("ComboBox1")->geometry(), QRect(topLeft, cell.size()));
        focusCell(h, 2, 2);
        QVERIFY(!h.child<QComboBox>("ComboBox1")->isVisible());
        QVERIFY(h.child<QComboBox>("ComboBox2")->isVisible());
        focusCell(h, 3, 2);
        QVERIFY(!h.child<QComboBox>("ComboBox2")->isVisible());
        focusCell(h, 1, 2);
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        QVERIFY(!h.child<QComboBox>("ComboBox1")->isVisible());
    }

    void titleListsComeFromTheTitleFiles() {
        MainWindowHarness h;
        h.start();
        QCOMPARE(itemsOf(h.child<QComboBox>("ComboBox1")),
                 (QStringList{u"食費"_s, u"住居費"_s, u"ABC"_s}));
        QCOMPARE(h.child<QComboBox>("ComboBox1")->currentIndex(), 0);
        // Each level-2 title under the level-1 title its line names.
        const std::pair<const char*, QStringList> level2[] = {
            {"\x90\x48\x94\xEF", {u"外食"_s, u"主食"_s}},  // "食費"
            {"\x8F\x5A\x8B\x8F\x94\xEF", {u"家賃"_s}},     // "住居費"
            {"ABC", {u"xyz"_s}}};
        for (int row = 1; row <= 3; ++row) h.form->setCellText(1, row, level2[row - 1].first);
        for (int row = 1; row <= 3; ++row) QCOMPARE(level2ListAt(h, row), level2[row - 1].second);
    }

    void level2ListFollowsTheRowsLevel1Title() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(1, 1, "abc");  // matches "ABC", letter case ignored
        h.form->setCellText(
            1, 2, "\x83\x65\x83\x58\x83\x67");  // "テスト", typed by hand, not in the list
        QCOMPARE(level2ListAt(h, 1), QStringList{u"xyz"_s});
        QCOMPARE(level2ListAt(h, 2), (QStringList{u"外食"_s, u"主食"_s}));
        QCOMPARE(h.child<QComboBox>("ComboBox1")->currentText(), u"テスト"_s);
    }

    void pickingATitleFillsTheCellAndMovesOn() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 1);
        h.child<QComboBox>("ComboBox1")->setFocus(Qt::MouseFocusReason);
        MainWindowHarness::settle();
        h.child<QComboBox>("ComboBox1")->setCurrentIndex(1);
        emit h.child<QComboBox>("ComboBox1")->activated(1);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(1, 1), u"住居費"_s);
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 2, 1));
        QCOMPARE(focused(), static_cast<QWidget*>(h.grid()));
        QVERIFY(h.child<QComboBox>("ComboBox2")->isVisible());

        h.child<QComboBox>("ComboBox2")
            ->setFocus(Qt::MouseFocusReason);  // ComboBox2Enter fills its list
        MainWindowHarness::settle();
        QCOMPARE(itemsOf(h.child<QComboBox>("ComboBox2")), QStringList{u"家賃"_s});
        h.child<QComboBox>("ComboBox2")->setCurrentIndex(0);
        emit h.child<QComboBox>("ComboBox2")->activated(0);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(2, 1), u"家賃"_s);
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 3, 1));
    }

    void enterOnAClosedDropDownEditorPicksNothing() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 1);
        h.child<QComboBox>("ComboBox1")->setFocus(Qt::MouseFocusReason);
        MainWindowHarness::settle();
        h.child<QComboBox>("ComboBox1")->setEditText(u"abc"_s);  // matches the entry "ABC"
        QTest::keyClick(focused(), Qt::Key_Return);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(1, 1), QString());
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 1, 1));
    }

    void startUpLeavesNoLedgerCellCurrentAndNoDropDownShown() {
        MainWindowHarness h;
        h.start();
        MainWindowHarness::settle();
        QCOMPARE(focused(), static_cast<QWidget*>(h.grid()));
        QVERIFY(!h.grid()->currentIndex().isValid());
        QVERIFY(!h.child<QComboBox>("ComboBox1")->isVisible());
        QVERIFY(!h.child<QComboBox>("ComboBox2")->isVisible());
        // A click makes a cell current as usual.
        QTest::mouseClick(h.grid()->viewport(), Qt::LeftButton, {}, cellCentre(h, 1, 2));
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 1, 2));
        QVERIFY(h.child<QComboBox>("ComboBox1")->isVisible());
    }

    void typingInCellSelectionModeLeavesTheCursorWhereItIs() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(3, 1, "1000");
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        focusCell(h, 3, 3);
        QTest::keyClicks(h.grid(), u"1"_s);  // would find "1000" by type-ahead
        QCOMPARE(h.grid()->currentIndex(), cellIndex(h, 3, 3));
    }

    void doubleClickOnTheExpenseTitleShowsTheCalculator() {
        MainWindowHarness h;
        h.start();
        QWidget calculator;
        h.form->setCompanionWindows(nullptr, &calculator);
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        QHeaderView* header = h.grid()->horizontalHeader();
        const QPoint title(header->sectionViewportPosition(2) + 5, 5);  // "支出"
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, title);
        QVERIFY(h.child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(calculator.isVisible());
    }

    void textTypedIntoADropDownReachesTheCellOnlyByPicking() {
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 1);
        h.child<QComboBox>("ComboBox1")->setFocus(Qt::MouseFocusReason);
        h.child<QComboBox>("ComboBox1")->setEditText(u"手入力"_s);
        h.grid()->setFocus(Qt::MouseFocusReason);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(1, 1), QString());
    }

    void standardSizesReturnEveryRowTo20() {
        MainWindowHarness h;
        h.start();
        QHeaderView* rows = h.grid()->verticalHeader();
        rows->resizeSection(2, 45);
        QCOMPARE(h.book().table().rowHeight(3), 45);
        h.grid()->horizontalHeader()->resizeSection(0, 130);
        QCOMPARE(h.book().table().columnWidth(1), 130);
        h.action("mnuDefault")->trigger();
        QCOMPARE(h.book().table().rowHeight(3), 20);
        QCOMPARE(rows->sectionSize(2), 20);
        QCOMPARE(h.book().table().columnWidth(1), 90);
        QCOMPARE(h.book().table().columnWidth(5), 160);
    }

    void selectedRowsReturnToTheStandardHeight() {
        MainWindowHarness h;
        h.start();
        QHeaderView* rows = h.grid()->verticalHeader();
        for (int s : {0, 1, 2}) rows->resizeSection(s, 40);
        h.book().setSelection({1, 2, 3, 3});
        h.action("popupRestoreRowSize")->trigger();
        QCOMPARE(h.book().table().rowHeight(1), 40);
        QCOMPARE(h.book().table().rowHeight(2), 20);
        QCOMPARE(h.book().table().rowHeight(3), 20);
        QCOMPARE(rows->sectionSize(1), 20);
    }

    void amountsAreDrawnRightAlignedAndDescriptionsOnSeveralLines() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(3, 1, "7");
        h.form->setCellText(5, 1, "1\r\n2");
        h.grid()->verticalHeader()->resizeSection(0, 40);
        const QImage image = h.grid()->viewport()->grab().toImage();
        const QRect amount = h.grid()->visualRect(cellIndex(h, 3, 1)).adjusted(1, 1, -2, -2);
        const QList<int> amountInk = inkedColumns(image, amount);
        QVERIFY(!amountInk.isEmpty());
        QVERIFY(amountInk.first() > amount.center().x());
        const QRect description = h.grid()->visualRect(cellIndex(h, 5, 1)).adjusted(1, 1, -2, -2);
        const QList<int> descriptionInk = inkedColumns(image, description);
        QVERIFY(!descriptionInk.isEmpty());
        QVERIFY(descriptionInk.first() < description.center().x());
        // Two lines of digits: ink on more rows than one line of text has.
        QVERIFY(inkedRowCount(image, description) > QFontMetrics(h.grid()->font()).ascent());
    }

    // A change of day tells the views of no title (that would lay the grid
    // out and paint it again); a changed title reaches its header.
    void headersAreAnnouncedOnlyWhereTheirTitlesChange() {
        MainWindowHarness h;
        h.start();
        QSignalSpy announced(h.model(), &QAbstractItemModel::headerDataChanged);
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);
        QCOMPARE(announced.count(), 0);
        h.form->changeGrid([](orvo::LedgerTable& t) {
            t.setCell(4, 0, "Income");
            t.setCell(0, 2, "x");
        });
        QCOMPARE(announced.count(), 2);
        QCOMPARE(announced[0], (QList<QVariant>{QVariant::fromValue(Qt::Horizontal), 3, 3}));
        QCOMPARE(announced[1], (QList<QVariant>{QVariant::fromValue(Qt::Vertical), 1, 1}));
    }

    void enteringTheGridMarksTheDayViewChanged() {
        MainWindowHarness h;
        h.start();
        QVERIFY(!h.book().dayViewChanged());
        h.child<QPushButton>("Button3")->setFocus(Qt::TabFocusReason);
        h.grid()->setFocus(Qt::MouseFocusReason);
        QVERIFY(h.book().dayViewChanged());
    }
};

QTEST_MAIN(MainWindowGridTest)
#include "MainWindowGridTest.moc"
