// "元に戻す" and "やり直し" in the main window: the Edit menu's texts and
// greying, the shortcuts, the mouse, the editor's own undo, and the questions
// at New that follow the history.

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::testing::MainWindowHarness;

class UndoInMainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theMenuShowsWhatUndoAndRedoWouldDo() {
        MainWindowHarness h;
        h.start();
        QAction* undo = h.action("mnuUndo");
        QAction* redo = h.action("mnuRedo");
        const QList<QAction*> edit = h.child<QMenu>("editMenu")->actions();
        QCOMPARE(edit.value(0), undo);  // at the menu's top
        QCOMPARE(edit.value(1), redo);
        QCOMPARE(undo->text(), u"元に戻す(&U)"_s);
        QCOMPARE(redo->text(), u"やり直し(&R)"_s);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->shortcut(), QKeySequence(u"Ctrl+Z"_s));
        QCOMPARE(redo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)}));

        h.type(5, 1, u"昼食"_s);
        QCOMPARE(undo->text(), u"元に戻す: セルの編集"_s);
        QVERIFY(undo->isEnabled());
        h.grid()->setFocus();
        QTest::keyClick(h.grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.cell(5, 1), QString());
        QCOMPARE(redo->text(), u"やり直し: セルの編集"_s);
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(h.grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(h.cell(5, 1), u"昼食"_s);
        QTest::keyClick(h.grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(h.grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.cell(5, 1), u"昼食"_s);
    }

    void aPasteUndoneWithTheMouseShowsItsDayAndCells() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"800"_s);
        QTest::mouseClick(h.child<QPushButton>("Button2"), Qt::LeftButton);  // ">": written back
        h.type(1, 2, u"交際費"_s);
        QMenu* menu = h.child<QMenu>("editMenu");
        menu->popup(h.form->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QRect item = menu->actionGeometry(h.action("mnuUndo"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, item.center());
        MainWindowHarness::settle();
        QCOMPARE(h.cell(1, 2), QString());
        // The day change that wrote the 15th back is the next step, then the edits.
        QCOMPARE(h.action("mnuUndo")->text(), u"元に戻す: 日付の変更"_s);
        h.action("mnuUndo")->trigger();
        QCOMPARE(h.book().pickedDay(), (orvo::LedgerDate{2026, 10, 15}));
        QCOMPARE(h.cell(3, 1), u"800"_s);
        QCOMPARE(h.action("mnuUndo")->text(), u"元に戻す: セルの編集"_s);
        QVERIFY(h.book().records().empty());  // as it was before the write-back
    }

    void typingInAnOpenEditorIsUndoneByTheEditorFirst() {
        MainWindowHarness h;
        h.start();
        h.type(5, 1, u"前"_s);
        h.grid()->setCurrentIndex(h.model()->indexOfCell(5, 1));
        h.grid()->edit(h.model()->indexOfCell(5, 1));
        auto* editor = qobject_cast<QPlainTextEdit*>(h.delegate()->openEditor());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, u"abc"_s);
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(editor->toPlainText() != u"abc"_s);  // the editor's own undo
        QCOMPARE(h.cell(5, 1), u"前"_s);             // the ledger untouched
    }

    void undoingBackToTheOpenedLedgerAsksNoQuestionAtNew() {
        MainWindowHarness h;
        h.start();
        const auto questions = [&] {
            int n = 0;
            for (const auto& shown : h.dialogs.shown())
                n += shown.text == u"現ﾃﾞｰﾀを保存しますか"_s;
            return n;
        };
        h.type(5, 1, u"x"_s);
        h.action("mnuUndo")->trigger();
        h.dialogs.clearShown();
        h.action("New1")->trigger();  // the file dialog is cancelled: nothing else happens
        QCOMPARE(questions(), 0);
        h.type(5, 1, u"y"_s);
        h.dialogs.answer(orvo::platform::No);
        h.action("New1")->trigger();
        QCOMPARE(questions(), 1);
    }
};

QTEST_MAIN(UndoInMainWindowTest)
#include "UndoInMainWindowTest.moc"
