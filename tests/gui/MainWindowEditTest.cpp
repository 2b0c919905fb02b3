// The Edit menu's block commands, the row and column commands and the sort
// menu as the user drives them from the main window: the grid's selection,
// the system clipboard, the delete questions, the shortcuts and the flag.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "platform/Text.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::CellBlock;
using orvo::platform::Button;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

const QChar kEsc(0x1B);

// A clipboard block: cells joined by TAB, every row ended by ESC.
QString blockOf(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) text += row.join(u'\t') + kEsc;
    return text;
}

// Selects the block in the grid as the mouse would.
void selectBlock(MainWindowHarness& h, const CellBlock& b) {
    const auto* model = h.model();
    QItemSelectionModel* selection = h.grid()->selectionModel();
    selection->setCurrentIndex(model->indexOfCell(b.left, b.top), QItemSelectionModel::NoUpdate);
    selection->select(
        QItemSelection(model->indexOfCell(b.left, b.top), model->indexOfCell(b.right, b.bottom)),
        QItemSelectionModel::ClearAndSelect);
}

// Sets cells as typing does (each one a step), without the grid's focus.
void fill(MainWindowHarness& h, int row, const QStringList& cells) {
    for (int i = 0; i < cells.size(); ++i)
        h.model()->setData(h.model()->indexOfCell(1 + i, row), cells[i]);
}

QStringList rowTexts(const MainWindowHarness& h, int row) {
    QStringList texts;
    for (int c = 1; c < h.book().table().columnCount(); ++c) texts << h.cell(c, row);
    return texts;
}

QList<QStringList> allRows(const MainWindowHarness& h) {
    QList<QStringList> rows;
    for (int r = 0; r < h.book().table().rowCount(); ++r) rows << rowTexts(h, r);
    return rows;
}

QByteArray cp932(const QString& text) {
    return QByteArray::fromStdString(orvo::platform::toCp932(text).bytes);
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void setClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QStringList captionsOf(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions()) texts << a->text();
    return texts;
}

// The view's selection and current cell lie inside the table's data cells.
void verifyViewInsideTable(const MainWindowHarness& h) {
    const auto& table = h.book().table();
    const CellBlock b = h.form->gridSelection();
    QVERIFY(b.left >= 1 && b.top >= 1);
    QVERIFY(b.right < table.columnCount() && b.bottom < table.rowCount());
    const QModelIndex current = h.grid()->currentIndex();
    QVERIFY(current.isValid());
    QVERIFY(orvo::forms::LedgerGridModel::tableColumn(current) < table.columnCount());
    QVERIFY(orvo::forms::LedgerGridModel::tableRow(current) < table.rowCount());
    QVERIFY(!h.grid()->selectionModel()->selectedIndexes().isEmpty());
}

QWidget* focused() {
    return QApplication::focusWidget();
}

}  // namespace

class MainWindowEditTest : public QObject {
    Q_OBJECT
private slots:
    void menusCarryTheCommandsInOrder() {
        MainWindowHarness h;
        h.start();
        const QStringList edit = captionsOf(h.child<QMenu>("editMenu"));
        const QStringList commands = {
            u"コピー"_s,     u"移動"_s,         u"貼り付け"_s,        u"消去"_s,
            u"行挿入(&I)"_s, u"行削除(&D)"_s,   u"最終行の追加"_s,    u"列挿入"_s,
            u"列削除"_s,     u"最終列の追加"_s, u"選択行ｻｲｽﾞを元に"_s};
        const qsizetype at = edit.indexOf(commands.first());
        QVERIFY(at >= 0);
        QCOMPARE(edit.mid(at, commands.size()), commands);
        QCOMPARE(h.action("Copy1")->shortcut(), QKeySequence(u"Ctrl+C"_s));
        QCOMPARE(h.action("Paste1")->shortcut(), QKeySequence(u"Ctrl+V"_s));
        QCOMPARE(h.action("mnuErase")->shortcut(), QKeySequence(u"Ctrl+X"_s));

        QCOMPARE(captionsOf(h.child<QMenu>("PopupMenu1")),
                 (QStringList{u"コピー"_s, u"移動"_s, u"貼り付け"_s, u"消去"_s, u"行挿入"_s,
                              u"行削除"_s, u"列挿入"_s, u"列削除"_s, u"選択行サイズを元に"_s}));
        for (const QAction* a : h.child<QMenu>("PopupMenu1")->actions())
            QVERIFY(a->shortcut().isEmpty());

        QCOMPARE(captionsOf(h.child<QMenu>("N14")), (QStringList{u"昇順"_s, u"降順"_s}));
        QVERIFY(h.child<QMenu>("N14")->menuAction()->isVisible());
        QVERIFY(h.form->menuBar()->actions().contains(h.child<QMenu>("N14")->menuAction()));
    }

    void declinedDeleteChangesNoCell_data() {
        QTest::addColumn<bool>("rows");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("flagAfter");
        // A declined delete changes no cell, so the day view stays as written back.
        QTest::newRow("rows, No") << true << int(orvo::platform::No)
                                  << u"2行目から3行目までを削除しますか？"_s << false;
        QTest::newRow("rows, Cancel") << true << int(orvo::platform::Cancel)
                                      << u"2行目から3行目までを削除しますか？"_s << false;
        QTest::newRow("columns, No")
            << false << int(orvo::platform::No) << u"2列目から3列目までを削除しますか？"_s << false;
        QTest::newRow("columns, Cancel") << false << int(orvo::platform::Cancel)
                                         << u"2列目から3列目までを削除しますか？"_s << false;
    }
    void declinedDeleteChangesNoCell() {
        QFETCH(bool, rows);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, flagAfter);
        MainWindowHarness h;
        h.start();
        fill(h, 2, {u"食費"_s, u"外食"_s, u"800"_s});
        fill(h, 3, {u"住居費"_s, u"家賃"_s, u"50000"_s});
        selectBlock(h, {2, 2, 3, 3});
        h.book().Recalculate();
        const QList<QStringList> before = allRows(h);
        h.dialogs.clearShown();
        h.dialogs.answer(static_cast<Button>(answer));
        (rows ? h.action("mnuDel") : h.action("mnuColDel"))->trigger();

        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
        QCOMPARE(h.dialogs.last().title, u"警告"_s);
        QCOMPARE(h.dialogs.last().text, question);
        QCOMPARE(h.dialogs.last().buttons,
                 orvo::platform::Yes | orvo::platform::No | orvo::platform::Cancel);
        QCOMPARE(allRows(h), before);
        QCOMPARE(h.model()->rowCount(), 5);
        QCOMPARE(h.model()->columnCount(), 5);
        QCOMPARE(h.book().dayViewChanged(), flagAfter);

        // The column question leaves a flag that was set as it was.
        h.book().markDayViewChanged();
        h.dialogs.answer(static_cast<Button>(answer));
        (rows ? h.action("mnuDel") : h.action("mnuColDel"))->trigger();
        QVERIFY(h.book().dayViewChanged());
    }

    void popUpDeleteAsksAndYesDeletes() {
        MainWindowHarness h;
        h.start();
        fill(h, 2, {u"a"_s});
        fill(h, 4, {u"d"_s});
        selectBlock(h, {1, 2, 1, 3});
        h.dialogs.answer(orvo::platform::Yes);
        h.action("N2")->trigger();
        QCOMPARE(h.dialogs.last().text, u"2行目から3行目までを削除しますか？"_s);
        QCOMPARE(h.book().table().rowCount(), 4);
        QCOMPARE(h.model()->rowCount(), 3);
        QCOMPARE(h.cell(1, 2), u"d"_s);
        verifyViewInsideTable(h);
    }

    void insertedRowsShowInTheGridWithTheirHeights() {
        MainWindowHarness h;
        h.start();
        fill(h, 3, {u"c"_s});
        h.grid()->verticalHeader()->resizeSection(2, 44);  // row 3
        selectBlock(h, {1, 3, 2, 4});
        h.book().Recalculate();
        h.action("mnuAdd")->trigger();

        QCOMPARE(h.model()->rowCount(), 7);
        const QHeaderView* rows = h.grid()->verticalHeader();
        QCOMPARE(rows->sectionSize(2), 20);
        QCOMPARE(rows->sectionSize(3), 20);
        QCOMPARE(rows->sectionSize(4), 44);  // former row 3, now row 5
        QCOMPARE(h.cell(1, 5), u"c"_s);
        QCOMPARE(h.grid()->model()->index(4, 0).data().toString(), u"c"_s);
        QCOMPARE(h.form->gridSelection(), (CellBlock{1, 3, 2, 4}));
        QVERIFY(h.book().dayViewChanged());  // the day view's shape changed

        h.action("N13")->trigger();
        QCOMPARE(h.model()->columnCount(), 6);
        QCOMPARE(h.grid()->horizontalHeader()->sectionSize(5), 64);
        QVERIFY(h.book().dayViewChanged());
    }

    void copyOfOneCellPastesExactlyOneCell() {
        MainWindowHarness h;
        h.start();
        fill(h, 2, {u""_s, u""_s, u"1500"_s});
        selectBlock(h, {3, 2, 3, 2});
        h.book().Recalculate();
        h.action("Copy1")->trigger();
        QCOMPARE(clipboardText(), u"1500"_s + kEsc);
        QVERIFY(!h.book().dayViewChanged());

        QList<QStringList> expected = allRows(h);
        expected[4][3] = u"1500"_s;  // cell (4, 4)
        selectBlock(h, {4, 4, 5, 5});
        h.action("Paste2")->trigger();
        QCOMPARE(allRows(h), expected);
        QCOMPARE(h.grid()->model()->index(3, 3).data().toString(), u"1500"_s);
        QVERIFY(h.book().dayViewChanged());
    }

    void pasteIsClippedAtTheRightEdgeAndTheLastRow() {
        MainWindowHarness h;
        h.start();
        setClipboard(blockOf({{u"a"_s, u"b"_s, u"c"_s}, {u"d"_s, u"e"_s, u"f"_s}}));
        selectBlock(h, {4, 1, 4, 1});
        h.action("Paste1")->trigger();
        QCOMPARE(rowTexts(h, 1), (QStringList{{}, {}, {}, u"a"_s, u"b"_s}));
        QCOMPARE(rowTexts(h, 2), (QStringList{{}, {}, {}, u"d"_s, u"e"_s}));

        setClipboard(blockOf({{u"1"_s}, {u"2"_s}, {u"3"_s}, {u"4"_s}}));
        selectBlock(h, {1, 5, 1, 5});
        h.action("Paste1")->trigger();
        QCOMPARE(h.cell(1, 5), u"1"_s);
        QCOMPARE(h.book().table().rowCount(), 6);
        QCOMPARE(h.book().table().columnCount(), 6);
        QCOMPARE(h.model()->rowCount(), 5);
    }

    void textOfOtherProgramsPastesNothing() {
        MainWindowHarness h;
        h.start();
        fill(h, 1, {u"食費"_s});
        h.book().Recalculate();
        const QList<QStringList> before = allRows(h);
        h.dialogs.clearShown();
        setClipboard(u"x\ty\r\nz\tw\r\n"_s);
        selectBlock(h, {1, 1, 1, 1});
        h.action("Paste1")->trigger();
        QCOMPARE(allRows(h), before);
        QVERIFY(!h.book().dayViewChanged());  // no cell changed: nothing to write back
        QCOMPARE(h.action("mnuUndo")->text(), u"元に戻す: セルの編集"_s);  // no paste to undo

        QGuiApplication::clipboard()->clear();
        h.action("Paste1")->trigger();
        QCOMPARE(allRows(h), before);
        QVERIFY(!h.book().dayViewChanged());
        QCOMPARE(h.dialogs.shown().size(), std::size_t{0});
    }

    void multiLineBlockRoundTripsThroughTheSystemClipboard() {
        MainWindowHarness h;
        h.start();
        fill(h, 1, {u"食費"_s, u"外食"_s, u"1200"_s, u"0"_s, u"昼食\n同僚と"_s});
        fill(h, 2, {u"住居費"_s, u"家賃"_s, u"50000"_s, u""_s, u"十月分\n振込\n手数料込み"_s});
        selectBlock(h, {1, 1, 5, 2});
        h.action("Copy1")->trigger();
        QCOMPARE(clipboardText(),
                 blockOf({{u"食費"_s, u"外食"_s, u"1200"_s, u"0"_s, u"昼食\r\n同僚と"_s},
                          {u"住居費"_s, u"家賃"_s, u"50000"_s, u""_s,
                           u"十月分\r\n振込\r\n手数料込み"_s}}));

        selectBlock(h, {1, 4, 1, 4});
        h.action("Paste1")->trigger();
        for (int i = 0; i < 2; ++i)
            for (int c = 1; c <= 5; ++c)
                QCOMPARE(QByteArray::fromStdString(h.book().table().cell(c, 4 + i)),
                         QByteArray::fromStdString(h.book().table().cell(c, 1 + i)));
        QCOMPARE(QByteArray::fromStdString(h.book().table().cell(5, 5)),
                 cp932(u"十月分\r\n振込\r\n手数料込み"_s));
    }

    void copyAndPasteInsideTheProgramKeepEveryByte() {
        MainWindowHarness h;
        h.start();
        // An NEC row-13 code that shares its Unicode character with another
        // code, a byte that is no CP932 character, a lone LF.
        const std::string cells[] = {"\x87\x9A", "a\x80z", "x\ny"};
        for (int c = 0; c < 3; ++c) h.book().editCell(1 + c, 1, cells[c]);
        selectBlock(h, {1, 1, 3, 1});
        h.action("Copy1")->trigger();
        h.dialogs.clearShown();
        selectBlock(h, {1, 3, 1, 3});
        h.action("Paste1")->trigger();
        for (int c = 0; c < 3; ++c)
            QCOMPARE(QByteArray::fromStdString(h.book().table().cell(1 + c, 3)),
                     QByteArray::fromStdString(cells[c]));
        QVERIFY(h.dialogs.shown().empty());
        // Other programs get the text.
        QCOMPARE(clipboardText().left(2), u"\u2235\t"_s);
    }

    void reshapingKeepsTheCurrentCell() {
        MainWindowHarness h;
        h.start();
        // A block dragged from (3,4) up and left to (2,2): the current cell is (3,4).
        const auto* model = h.model();
        QItemSelectionModel* selection = h.grid()->selectionModel();
        selection->setCurrentIndex(model->indexOfCell(3, 4), QItemSelectionModel::NoUpdate);
        selection->select(QItemSelection(model->indexOfCell(2, 2), model->indexOfCell(3, 4)),
                          QItemSelectionModel::ClearAndSelect);
        h.action("mnuAdd")->trigger();
        QCOMPARE(h.grid()->currentIndex(), model->indexOfCell(3, 4));
        QCOMPARE(h.form->gridSelection(), (CellBlock{2, 2, 3, 4}));
    }

    void pastedLineBreaksBecomeTheCellsCrLf() {
        MainWindowHarness h;
        h.start();
        setClipboard(blockOf({{u"a\nb"_s, u"c\rd"_s}}));
        selectBlock(h, {4, 3, 4, 3});
        h.action("Paste1")->trigger();
        QCOMPARE(QByteArray::fromStdString(h.book().table().cell(4, 3)), QByteArray("a\r\nb"));
        QCOMPARE(QByteArray::fromStdString(h.book().table().cell(5, 3)), QByteArray("c\r\nd"));
    }

    void charactersShiftJisCannotHoldAreLeftOutAndNamed() {
        MainWindowHarness h;
        h.start();
        h.dialogs.clearShown();
        const QString smile = u"😀"_s;
        setClipboard(blockOf({{u"朝"_s + smile + u"食"_s, u"한"_s}}));
        selectBlock(h, {1, 1, 1, 1});
        h.action("Paste1")->trigger();
        QCOMPARE(h.cell(1, 1), u"朝食"_s);
        QCOMPARE(h.cell(2, 1), QString());
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
        QVERIFY(h.dialogs.last().text.contains(smile));
        QVERIFY(h.dialogs.last().text.contains(u"한"_s));
    }

    void pasteAtRow300OfALargeDayAndPastRow255() {
        MainWindowHarness h;
        QStringList records;
        for (int i = 1; i <= 400; ++i) records << u"2026/10/15\t食費\t\t%1\t0\t"_s.arg(1000 + i);
        h.writeRecord(h.writeLedger(u"large.dat"_s, records));
        h.start();
        QCOMPARE(h.book().table().rowCount(), 401);
        const QList<QStringList> before = allRows(h);

        setClipboard(blockOf({{u"A"_s, u"B"_s}, {u"C"_s, u"D"_s}}));
        selectBlock(h, {2, 300, 2, 300});
        h.action("Paste1")->trigger();
        QList<QStringList> expected = before;
        expected[300][1] = u"A"_s;
        expected[300][2] = u"B"_s;
        expected[301][1] = u"C"_s;
        expected[301][2] = u"D"_s;
        QCOMPARE(allRows(h), expected);

        // A block of 260 rows from row 100 ends at row 359, titles untouched.
        QList<QStringList> tall;
        for (int i = 0; i < 260; ++i) tall << QStringList{u"r%1"_s.arg(i)};
        setClipboard(blockOf(tall));
        selectBlock(h, {5, 100, 5, 100});
        h.action("Paste1")->trigger();
        for (int i = 0; i < 260; ++i) expected[100 + i][4] = u"r%1"_s.arg(i);
        QCOMPARE(allRows(h), expected);
    }

    void moveLeavesTheBlockEmptyAndTheClipboardHoldingIt() {
        MainWindowHarness h;
        h.start();
        fill(h, 2, {u"食費"_s, u"外食"_s, u"800"_s});
        selectBlock(h, {1, 2, 2, 2});
        h.book().Recalculate();
        h.action("GoTo2")->trigger();
        QCOMPARE(clipboardText(), blockOf({{u"食費"_s, u"外食"_s}}));
        QCOMPARE(rowTexts(h, 2), (QStringList{{}, {}, u"800"_s, u"0"_s, {}}));  // as written back
        QCOMPARE(h.grid()->model()->index(1, 0).data().toString(), QString());
        QVERIFY(h.book().dayViewChanged());
        QCOMPARE(h.form->gridSelection(), (CellBlock{1, 2, 2, 2}));
    }

    void sortAscendingAndDescendingViaTheMenu() {
        MainWindowHarness h;
        h.start();
        fill(h, 1, {u"食費"_s, u""_s, u"50"_s});
        fill(h, 2, {u"住居費"_s, u""_s, u"1000"_s});
        fill(h, 3, {u"ABC"_s, u""_s, u"200"_s});
        h.book().Recalculate();
        const QString dayOut = h.labelText("DayOut");
        selectBlock(h, {3, 2, 3, 2});
        h.action("mnuSort")->trigger();
        // Byte order: the empty keys first, then 1000 < 200 < 50; whole rows move.
        QCOMPARE(rowTexts(h, 1)[2], QString());
        QCOMPARE(rowTexts(h, 2)[2], QString());
        // (The write-back put "0" into the empty income cells.)
        QCOMPARE(rowTexts(h, 3), (QStringList{u"住居費"_s, {}, u"1000"_s, u"0"_s, {}}));
        QCOMPARE(rowTexts(h, 4), (QStringList{u"ABC"_s, {}, u"200"_s, u"0"_s, {}}));
        QCOMPARE(rowTexts(h, 5), (QStringList{u"食費"_s, {}, u"50"_s, u"0"_s, {}}));
        QCOMPARE(h.grid()->model()->index(2, 2).data().toString(), u"1000"_s);

        h.action("mnuSort2")->trigger();
        QCOMPARE(rowTexts(h, 1)[2], u"50"_s);
        QCOMPARE(rowTexts(h, 2)[2], u"200"_s);
        QCOMPARE(rowTexts(h, 3)[2], u"1000"_s);
        QCOMPARE(rowTexts(h, 4)[2], QString());
        QCOMPARE(rowTexts(h, 5)[2], QString());
        QVERIFY(h.book().dayViewChanged());  // the rows moved: a write-back follows
        QCOMPARE(h.labelText("DayOut"), dayOut);
        QCOMPARE(h.form->gridSelection(), (CellBlock{3, 2, 3, 2}));
    }

    void shortcutsActOnTheBlockFromAnOpenEditor() {
        MainWindowHarness h;
        h.start();
        fill(h, 1, {u""_s, u""_s, u""_s, u""_s, u"old"_s});
        h.grid()->setFocus();
        selectBlock(h, {5, 1, 5, 1});
        QTest::keyClicks(h.grid(), u"n"_s);  // opens the editor
        auto* editor = qobject_cast<QPlainTextEdit*>(h.delegate()->openEditor());
        QVERIFY(editor);
        QTest::keyClicks(focused(), u"ew"_s);
        // The editor's own copy would take the selected text without ESC.
        editor->selectAll();
        QTest::keyClick(focused(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), u"new"_s + kEsc);
        QCOMPARE(h.cell(5, 1), u"new"_s);
        QCOMPARE(h.delegate()->openEditor(), editor);

        QTest::keyClick(focused(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(h.cell(5, 1), QString());
        QCOMPARE(editor->toPlainText(), QString());
        QCOMPARE(clipboardText(), u"new"_s + kEsc);  // erase copies nothing

        setClipboard(blockOf({{u"朝食\r\nパン"_s}}));
        QTest::keyClick(focused(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QByteArray::fromStdString(h.book().table().cell(5, 1)), cp932(u"朝食\r\nパン"_s));
        QCOMPARE(editor->toPlainText(), u"朝食\nパン"_s);
        // Closing the editor keeps the pasted text.
        QTest::keyClick(focused(), Qt::Key_Tab);
        MainWindowHarness::settle();
        QVERIFY(!h.delegate()->openEditor());
        QCOMPARE(h.cell(5, 1), u"朝食\nパン"_s);
    }

    void shortcutsActOnTheBlockFromTheGridAndTheTitleEditor() {
        MainWindowHarness h;
        h.start();
        fill(h, 2, {u"食費"_s, u"外食"_s});
        h.grid()->setFocus();
        selectBlock(h, {1, 2, 2, 2});
        MainWindowHarness::settle();
        QTest::keyClick(h.grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardText(), blockOf({{u"食費"_s, u"外食"_s}}));

        // The drop-down editor over column 1 stands for the cell.
        QVERIFY(h.child<QComboBox>("ComboBox1")->isVisible());
        h.child<QComboBox>("ComboBox1")->setFocus();
        selectBlock(h, {1, 4, 1, 4});
        QTest::keyClick(h.child<QComboBox>("ComboBox1"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rowTexts(h, 4), (QStringList{u"食費"_s, u"外食"_s, {}, {}, {}}));
        QCOMPARE(h.child<QComboBox>("ComboBox1")->currentText(), u"食費"_s);
    }

    void deletingEveryRowOrColumnKeepsTheSelectionInside() {
        MainWindowHarness h;
        h.start();
        fill(h, 1, {u"食費"_s});
        selectBlock(h, {2, 1, 3, 5});
        h.dialogs.answer(orvo::platform::Yes);
        h.action("mnuDel")->trigger();
        QCOMPARE(h.dialogs.last().text, u"1行目から5行目までを削除しますか？"_s);
        QCOMPARE(h.book().table().rowCount(), 2);
        QCOMPARE(h.model()->rowCount(), 1);
        QCOMPARE(h.cell(1, 1), QString());
        QCOMPARE(h.cell(1, 0), u"勘定科目1"_s);
        verifyViewInsideTable(h);

        selectBlock(h, {1, 1, 5, 1});
        h.dialogs.answer(orvo::platform::Yes);
        h.action("mnuColDel")->trigger();
        QCOMPARE(h.dialogs.last().text, u"1列目から5列目までを削除しますか？"_s);
        QCOMPARE(h.book().table().columnCount(), 2);
        QCOMPARE(h.model()->columnCount(), 1);
        QCOMPARE(h.cell(1, 0), QString());
        verifyViewInsideTable(h);
        QVERIFY(h.dialogs.allAnswersUsed());
    }

    void deletingTheLastRowsAndColumnsKeepsTheSelectionInside() {
        MainWindowHarness h;
        h.start();
        selectBlock(h, {4, 4, 5, 5});
        h.dialogs.answer(orvo::platform::Yes);
        h.action("mnuDel")->trigger();
        QCOMPARE(h.book().table().rowCount(), 4);
        verifyViewInsideTable(h);

        selectBlock(h, {4, 2, 5, 3});
        h.dialogs.answer(orvo::platform::Yes);
        h.action("N4")->trigger();
        QCOMPARE(h.book().table().columnCount(), 4);
        verifyViewInsideTable(h);
    }

    void reshapingClosesTheEditorKeepingItsEdit() {
        MainWindowHarness h;
        h.start();
        h.grid()->setFocus();
        selectBlock(h, {3, 2, 3, 2});
        QTest::keyClicks(h.grid(), u"7"_s);  // opens the editor
        QVERIFY(h.delegate()->openEditor());
        QTest::keyClicks(focused(), u"5"_s);
        h.book().Recalculate();
        h.action("mnuAdd")->trigger();
        MainWindowHarness::settle();
        QVERIFY(!h.delegate()->openEditor());
        QCOMPARE(h.cell(3, 3), u"75"_s);  // moved down with its row
        QCOMPARE(h.cell(3, 2), QString());
        QVERIFY(h.book().dayViewChanged());  // by the committed edit, not by the focus
        QCOMPARE(focused(), h.grid());
    }
};

QTEST_MAIN(MainWindowEditTest)
#include "MainWindowEditTest.moc"
