// A month of household bookkeeping as a user meets it: typing a date right
// after a row, titles renamed and changed, a bank CSV, a write-protected
// ledger, and what a user expects of a grid (Delete, the right click, the
// dialogs' titles and file types).

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "forms/settings/Unit2.h"
#include "forms/titles/TitleTreeEditor.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::LedgerDate;
using orvo::testing::ScriptedDialogs;
using orvo::testing::MainWindowHarness;

namespace {

QPoint cellCentre(MainWindowHarness& h, int col, int row) {
    return h.grid()->visualRect(h.model()->indexOfCell(col, row)).center();
}

void clickCell(MainWindowHarness& h, int col, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(h.grid()->viewport(), button, {}, cellCentre(h, col, row));
    MainWindowHarness::settle();
}

// Keys as the desktop delivers them: to whatever has the focus when each
// arrives, a typist's pause after each.
void typeAtTypistSpeed(MainWindowHarness& h, const QString& text, int pauseMs) {
    for (const QChar c : text) {
        QTest::keyClick(h.form->windowHandle(), c.toLatin1());
        QTest::qWait(pauseMs);
    }
}
void pressAtTypistSpeed(MainWindowHarness& h, Qt::Key key, int pauseMs) {
    QTest::keyClick(h.form->windowHandle(), key);
    QTest::qWait(pauseMs);
}

std::vector<std::string> recordsOf(MainWindowHarness& h) {
    std::vector<std::string> out;
    h.book().records().forEach([&](std::string_view line) { out.emplace_back(line); });
    return out;
}

}  // namespace

class DailyUseTest : public QObject {
    Q_OBJECT
private slots:
    // Rows are entered with the title drop-downs and Tab/Enter; a row ends
    // with Enter, which takes the cursor to the next row's 勘定科目1 and its
    // drop-down editor (its list even open). The date field clicked at once
    // then takes the whole date as typed, separators and all, and no key
    // reaches the grid.
    void aDateTypedRightAfterARowGoesToTheDateField_data() {
        QTest::addColumn<int>("pauseBeforeClick");
        QTest::addColumn<int>("keyPause");
        QTest::addColumn<bool>("pickFromList");
        QTest::addColumn<bool>("listOpen");
        QTest::newRow("at once, typed") << 0 << 15 << false << false;
        QTest::newRow("0.3 s, picked") << 300 << 15 << true << false;
        QTest::newRow("at once, picked, list open") << 0 << 15 << true << true;
        QTest::newRow("0.1 s, typed, list open") << 100 << 15 << false << true;
    }
    void aDateTypedRightAfterARowGoesToTheDateField() {
        QFETCH(int, pauseBeforeClick);
        QFETCH(int, keyPause);
        QFETCH(bool, pickFromList);
        QFETCH(bool, listOpen);
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"nov.dat"_s, {u"2026/11/19\t食費\t外食\t800\t0\t昼"_s,
                                                   u"2026/11/19\t食費\t主食\t300\t0\t米"_s}));
        h.start({2026, 11, 19});
        clickCell(h, 1, 3);
        auto* title1 = h.child<QComboBox>("ComboBox1");
        QVERIFY(title1->isVisible());
        if (pickFromList) {
            // The drop-down opened from the keyboard, the title picked with Enter.
            pressAtTypistSpeed(h, Qt::Key_F4, keyPause);
            QTRY_VERIFY(title1->view()->isVisible());
            pressAtTypistSpeed(h, Qt::Key_Down, keyPause);
            pressAtTypistSpeed(h, Qt::Key_Return, keyPause);
        } else {
            typeAtTypistSpeed(h, u"food"_s, keyPause);
            pressAtTypistSpeed(h, Qt::Key_Tab, keyPause);
        }
        MainWindowHarness::settle();
        QTRY_COMPARE(h.grid()->currentIndex(), h.model()->indexOfCell(2, 3));
        pressAtTypistSpeed(h, Qt::Key_Tab, keyPause);  // no 勘定科目2
        typeAtTypistSpeed(h, u"120"_s, keyPause);
        pressAtTypistSpeed(h, Qt::Key_Tab, keyPause);
        pressAtTypistSpeed(h, Qt::Key_Tab, keyPause);
        typeAtTypistSpeed(h, u"tea"_s, keyPause);
        pressAtTypistSpeed(h, Qt::Key_Return, 0);  // the row ends
        QTest::qWait(pauseBeforeClick);
        if (listOpen) {
            // The next row's list opened, then the date field clicked.
            QTRY_VERIFY(title1->isVisible());
            pressAtTypistSpeed(h, Qt::Key_F4, keyPause);
            QTRY_VERIFY(title1->view()->isVisible());
        }

        auto* date = h.child<QDateEdit>("DateTimePicker1");
        QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(8, date->height() / 2));
        QCOMPARE(QApplication::focusWidget(), date);
        typeAtTypistSpeed(h, u"2026/11/20"_s, keyPause);
        pressAtTypistSpeed(h, Qt::Key_Return, 0);
        MainWindowHarness::settle();

        QCOMPARE(date->date(), QDate(2026, 11, 20));
        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 11, 20}));
        for (const std::string& line : recordsOf(h))
            QVERIFY2(line.find("2026/11/20\t") != 0 && line.find("\t2") == std::string::npos,
                     line.c_str());
        QCOMPARE(recordsOf(h).size(), std::size_t{3});
    }

    // 環境設定: a level-1 title renamed in the tree by F2 and typing; the
    // records with the old name take the new one when the user says はい.
    void renamingATitleOffersToChangeTheRecords_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("count");
        const QString rent = u"2026/11/19\t住居費\t家賃\t50000\t0\t"_s;
        QTest::newRow("level 1, はい") << u"食費"_s << u"食料費"_s << int(orvo::platform::Yes)
                                       << QStringList{u"2026/11/19\t住居費\t家賃\t50000\t0\t"_s,
                                                      u"2026/11/19\t食料費\t外食\t800\t0\t"_s,
                                                      u"2026/11/20\t食料費\t主食\t300\t0\t"_s}
                                       << 2;
        QTest::newRow("level 2, はい")
            << u"外食"_s << u"レストラン"_s << int(orvo::platform::Yes)
            << QStringList{rent, u"2026/11/19\t食費\tレストラン\t800\t0\t"_s,
                           u"2026/11/20\t食費\t主食\t300\t0\t"_s}
            << 1;
        QTest::newRow("level 1, いいえ") << u"食費"_s << u"食料費"_s << int(orvo::platform::No)
                                         << QStringList{rent, u"2026/11/19\t食費\t外食\t800\t0\t"_s,
                                                        u"2026/11/20\t食費\t主食\t300\t0\t"_s}
                                         << 2;
    }
    void renamingATitleOffersToChangeTheRecords() {
        QFETCH(QString, title);
        QFETCH(QString, renamed);
        QFETCH(int, answer);
        QFETCH(QStringList, expected);
        QFETCH(int, count);
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"nov.dat"_s, {u"2026/11/19\t食費\t外食\t800\t0\t"_s,
                                                   u"2026/11/20\t食費\t主食\t300\t0\t"_s,
                                                   u"2026/11/19\t住居費\t家賃\t50000\t0\t"_s}));
        h.start({2026, 11, 19});
        orvo::forms::TForm2 settings(*h.form, h.path(u"Prin.ini"_s), h.form.get());
        h.form->setSettingsWindow(&settings);
        h.dialogs.answer(static_cast<orvo::platform::Button>(answer));
        QTimer::singleShot(0, &settings, [&] {
            auto* tree = settings.findChild<orvo::forms::TitleTreeEditor*>()->TreeView1;
            tree->expandAll();
            QTreeWidgetItem* item =
                tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive).value(0);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(item).center());
            QTest::keyClick(tree, Qt::Key_F2);
            auto* edit = tree->viewport()->findChild<QLineEdit*>();
            if (!edit) return;
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, renamed, Qt::NoModifier);
            QTest::keyClick(edit, Qt::Key_Return);
            QCoreApplication::processEvents();  // the view commits from its event queue
            QTest::keyClick(&settings, Qt::Key_Escape);
        });
        h.action("mnuKoumoku")->trigger();
        QVERIFY(h.dialogs.allAnswersUsed());
        QCOMPARE(h.dialogs.last().text,
                 u"記録の勘定科目も変更しますか？ ("_s + QString::number(count) + u"件)"_s);
        QStringList records;
        for (const std::string& line : recordsOf(h)) records << orvo::platform::fromCp932(line);
        QCOMPARE(records, expected);
        // The day shown (住居費 first) shows the records as they are now.
        QCOMPARE(h.cell(1, 2), expected[1].split(u'\t')[1]);
        QCOMPARE(h.cell(2, 2), expected[1].split(u'\t')[2]);
    }

    // A bank CSV writes amounts with commas: one notice counts them; the day
    // shown keeps the text, and a second import, Open or New (their save
    // question answered いいえ) goes ahead all the same.
    void aBankCsvsGroupedAmountsAreCountedAndDoNotBlockTheNextImport() {
        MainWindowHarness h;
        h.start({2026, 11, 5});
        const QString bank =
            u"2026/11/05,食費,,\"1,280\",0,イオン\r\n"
            u"2026/11/04,給与,,0,\"198,720\",\r\n2026/11/06,食費,,500,0,\r\n"_s;
        h.writeCp932(u"bank.csv"_s, bank);
        h.type(5, 1, u"未保存"_s);  // a change: the first import asks too
        for (int run = 0; run < 2; ++run) {
            h.dialogs.clearShown();
            h.dialogs.answer(orvo::platform::No);
            h.dialogs.answerFile(h.path(u"bank.csv"_s));
            h.dialogs.answer(orvo::platform::No);
            h.action("CSV1")->trigger();
            QVERIFY(h.dialogs.allAnswersUsed());
            QCOMPARE(h.dialogs.shown().size(), std::size_t{4});
            QCOMPARE(h.dialogs.last().kind, orvo::platform::MessageKind::Information);
            QCOMPARE(h.dialogs.last().text,
                     u"支出か収入が整数でないデータが 2 件あります (最初は 2026/11/04)。"
                     u"合計には数えられません。その日の表で整数に直してください"_s);
            QCOMPARE(h.cell(3, 1), u"1,280"_s);
            clickCell(h, 3, 1);  // the user looks at the cell: the day view counts as entered
        }
        h.dialogs.clearShown();
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.cancelFile();
        h.action("New1")->trigger();
        QVERIFY(h.dialogs.allAnswersUsed());
        QCOMPARE(h.dialogs.last().what, ScriptedDialogs::Shown::What::File);
    }

    // 給与/基本給 changed to 娯楽費 keeps no 基本給: a level-2 title not listed
    // under the new level-1 title goes; one that is listed stays.
    void changingTitle1ClearsATitle2NotListedUnderIt_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("title1");
        QTest::addColumn<QString>("title2");
        QTest::newRow("not listed") << u"食費\t外食"_s << 1 << u"住居費"_s << QString();
        QTest::newRow("listed under the new") << u"住居費\t外食"_s << -1 << u"食費"_s << u"外食"_s;
        QTest::newRow("unchanged") << u"食費\t主食"_s << 0 << u"食費"_s << u"主食"_s;
    }
    void changingTitle1ClearsATitle2NotListedUnderIt() {
        QFETCH(QString, record);
        QFETCH(int, downs);
        QFETCH(QString, title1);
        QFETCH(QString, title2);
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"a.dat"_s, {u"2026/10/15\t"_s + record + u"\t100\t0\t"_s}));
        h.start();
        clickCell(h, 1, 1);
        auto* box = h.child<QComboBox>("ComboBox1");
        QVERIFY(box->isVisible());
        QTest::keyClick(h.grid(), Qt::Key_F4);
        QTRY_VERIFY(box->view()->isVisible());
        for (int i = 0; i < std::abs(downs); ++i)
            QTest::keyClick(box->view(), downs > 0 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(box->view(), Qt::Key_Return);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(1, 1), title1);
        QCOMPARE(h.cell(2, 1), title2);
    }

    // A ledger this user may not write opens as a held one does: read-only
    // caption, a line saying why, and 上書き保存 asks for a new name.
    void aWriteProtectedLedgerOpensReadOnly() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"locked.dat"_s, {u"2026/10/15\t食費\t\t100\t0\t"_s});
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        h.writeRecord(file);
        h.start();
        QVERIFY(h.form->windowTitle().endsWith(u" (読み取り専用)]"_s));
        QCOMPARE(h.dialogs.last().kind, orvo::platform::MessageKind::Information);
        QVERIFY(h.dialogs.last().text.contains(u"書き込みの許可がない"_s));
        QCOMPARE(h.cell(1, 1), u"食費"_s);
        h.dialogs.cancelFile();
        h.action("Save1")->trigger();
        QCOMPARE(h.dialogs.last().what, ScriptedDialogs::Shown::What::File);
        QCOMPARE(h.dialogs.last().file.title, u"保存"_s);
    }

    // Delete erases the selected cells as 消去 does, in edit mode and outside
    // an open editor; in the selection mode it does nothing.
    void deleteKeyErasesTheSelectedCells() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"a.dat"_s, {u"2026/10/15\t食費\t外食\t100\t0\tx"_s}));
        h.start();
        clickCell(h, 3, 1);
        QTest::keyClick(h.grid(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(h.grid(), Qt::Key_Delete);
        QCOMPARE(h.cell(3, 1), QString());
        QCOMPARE(h.cell(4, 1), QString());
        QCOMPARE(h.cell(5, 1), u"x"_s);
        QVERIFY(!h.delegate()->openEditor());

        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);
        clickCell(h, 5, 1);
        QTest::keyClick(h.grid(), Qt::Key_Delete);
        QCOMPARE(h.cell(5, 1), u"x"_s);
    }

    // A right click on a cell outside the selection selects it, then offers
    // the block commands; inside a selected block it keeps the block.
    void rightClickSelectsTheCellUnderItAndOffersTheBlockCommands() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"a.dat"_s, {u"2026/10/15\t食費\t外食\t100\t0\tx"_s,
                                                 u"2026/10/15\t住居費\t家賃\t200\t0\ty"_s}));
        h.start();
        clickCell(h, 1, 1);
        QStringList offered;
        auto pickErase = [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            offered.clear();
            for (QAction* a : menu->actions()) offered << a->text();
            for (QAction* a : menu->actions())
                if (a->text() == u"消去"_s)
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        };
        QTimer::singleShot(50, pickErase);
        // The right press, then the menu request the desktop sends with it.
        QWidget* viewport = h.grid()->viewport();
        const QPoint at = cellCentre(h, 5, 2);
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &request);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
        QTRY_VERIFY(!offered.isEmpty());
        for (const QString& command :
             {u"移動"_s, u"コピー"_s, u"貼り付け"_s, u"消去"_s, u"行挿入"_s, u"行削除"_s})
            QVERIFY2(offered.contains(command), qPrintable(command));
        QTRY_COMPARE(h.cell(5, 2), QString());  // 食費's row, below 住居費's
        QCOMPARE(h.cell(1, 1), u"住居費"_s);
        QCOMPARE(h.cell(5, 1), u"y"_s);
    }

    // The save commands' dialogs say 保存 in their title; the CSV import's
    // file type reads as written, its patterns kept.
    void fileDialogsTitlesAndFileTypes() {
        MainWindowHarness h;
        h.start();
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.cancelFile();
        h.action("SaveAs1")->trigger();
        QCOMPARE(h.dialogs.last().file.title, u"保存"_s);
        h.dialogs.cancelFile();
        h.action("CSV2")->trigger();
        QCOMPARE(h.dialogs.last().file.title, u"保存"_s);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.cancelFile();
        h.action("Open1")->trigger();
        QCOMPARE(h.dialogs.last().file.title, u"開く"_s);

        orvo::platform::FileDialogRequest request;
        request.filter = u"CSVﾌｧｲﾙ(*.csv)|*.csv;*.txt|すべてのﾌｧｲﾙ(*.*)|*.*"_s;
        const auto dialog = orvo::platform::makeFileDialog(request);
        auto* types = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
        QVERIFY(types);
        QCOMPARE(types->itemText(0), u"CSVﾌｧｲﾙ(*.csv)"_s);
        QCOMPARE(types->itemText(1), u"すべてのﾌｧｲﾙ(*.*)"_s);
        QCOMPARE(dialog->nameFilters().value(0), u"CSVﾌｧｲﾙ(*.csv) (*.csv *.txt)"_s);
    }
};

QTEST_MAIN(DailyUseTest)
#include "DailyUseTest.moc"
