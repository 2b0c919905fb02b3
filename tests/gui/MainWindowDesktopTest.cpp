// The main window at home on a Japanese desktop: Qt's own dialogs in Japanese,
// the keyboard ways into the pick lists and the File commands, full-width
// digits in amounts, totals and hints that fit the standard size, multi-line
// cells readable, and a help document that names every menu command.

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Help.h"
#include "platform/Text.h"
#include "platform/Translations.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::testing::MainWindowHarness;

namespace {

QTableView* gridOf(const MainWindowHarness& h) {
    return h.form->findChild<QTableView*>(u"StringGrid1"_s);
}

void focusCell(MainWindowHarness& h, int col, int row) {
    QTableView* grid = gridOf(h);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row - 1, col - 1));
    MainWindowHarness::settle();
}

// Every command of the menu bar, as its caption reads without the accelerator.
QStringList menuCommands(const QMenuBar* bar) {
    QStringList commands;
    for (const QAction* top : bar->actions())
        if (const QMenu* menu = top->menu())
            for (const QAction* item : menu->actions())
                if (!item->isSeparator() && !item->text().isEmpty())
                    commands << item->text().remove(QRegularExpression(u"\\(&.\\)"_s)).remove(u'&');
    return commands;
}

}  // namespace

class MainWindowDesktopTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Whatever the system's locale (CI runs with LANG=C).
        QVERIFY(orvo::platform::installJapanese(*QCoreApplication::instance()));
        orvo::platform::installFontSubstitutions();
    }

    void qtsOwnDialogsSpeakJapanese() {
        orvo::platform::FileDialogRequest request;
        request.title = u"開く"_s;
        request.filter = u"ﾃﾞｰﾀﾌｧｲﾙ(*.dat)|*.dat"_s;
        const auto open = orvo::platform::makeFileDialog(request);
        QCOMPARE(open->labelText(QFileDialog::Accept).remove(u"(&O)"_s).remove(u'&'), u"開く"_s);
        QVERIFY(!open->labelText(QFileDialog::LookIn).contains(u"Look"_s));
        request.acceptLabel = u"保存"_s;
        QCOMPARE(orvo::platform::makeFileDialog(request)->labelText(QFileDialog::Accept),
                 u"保存"_s);

        MainWindowHarness h;
        h.start();
        auto* picker = h.form->findChild<QDateEdit*>(u"DateTimePicker1"_s);
        QCOMPARE(picker->calendarWidget()->locale().language(), QLocale::Japanese);
        QCOMPARE(picker->calendarWidget()->locale().monthName(12), u"12月"_s);
    }

    void theSaveCommandsAskWithASaveButton_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("acceptLabel");
        QTest::newRow("上書き保存 without a name") << u"Save1"_s << u"保存"_s;
        QTest::newRow("名前を付けて保存") << u"SaveAs1"_s << u"保存"_s;
        QTest::newRow("開く") << u"Open1"_s << QString();
    }
    void theSaveCommandsAskWithASaveButton() {
        QFETCH(QString, command);
        QFETCH(QString, acceptLabel);
        MainWindowHarness h;
        h.start();
        h.dialogs.clearShown();
        h.dialogs.answer(orvo::platform::No);  // Open's save question
        h.dialogs.cancelFile();
        h.form->findChild<QAction*>(command)->trigger();
        QCOMPARE(h.dialogs.last().what, orvo::testing::ScriptedDialogs::Shown::What::File);
        QCOMPARE(h.dialogs.last().file.acceptLabel, acceptLabel);
    }

    void fileCommandsHaveTheirShortcuts_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("新規作成") << u"New1"_s << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("開く") << u"Open1"_s << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("上書き保存") << u"Save1"_s << QKeySequence(Qt::CTRL | Qt::Key_S);
    }
    void fileCommandsHaveTheirShortcuts() {
        QFETCH(QString, command);
        QFETCH(QKeySequence, keys);
        MainWindowHarness h;
        h.start();
        QSignalSpy triggered(h.form->findChild<QAction*>(command), &QAction::triggered);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.cancelFile();
        QTest::keySequence(h.form.get(), keys);
        QCOMPARE(triggered.count(), 1);
    }

    void f4AndAltDownOpenTheTitlePickList_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier);
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    }
    void f4AndAltDownOpenTheTitlePickList() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        MainWindowHarness h;
        h.start();
        focusCell(h, 1, 1);
        auto* box = h.form->findChild<QComboBox*>(u"ComboBox1"_s);
        QVERIFY(box->isVisible());
        QTest::keyClick(gridOf(h), static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QTRY_VERIFY(box->view()->isVisible());
        box->hidePopup();
    }

    void fullWidthDigitsInAmountsAreStoredAsAscii_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("expense") << 3 << u"１２３"_s << u"123"_s;
        QTest::newRow("income minus") << 4 << u"－５００"_s << u"-500"_s;
        QTest::newRow("other text kept") << 3 << u"１万"_s << u"1万"_s;
        QTest::newRow("not in a title") << 1 << u"１２３"_s << u"１２３"_s;
        QTest::newRow("grouped") << 3 << u"1,500"_s << u"1500"_s;
        QTest::newRow("yen sign") << 4 << u"¥1,500"_s << u"1500"_s;
        QTest::newRow("full-width yen") << 3 << u"￥１，５００"_s << u"1500"_s;
        QTest::newRow("en") << 3 << u"1,500円"_s << u"1500"_s;
        QTest::newRow("short group kept") << 3 << u"1,50"_s << u"1,50"_s;
        QTest::newRow("grouped title kept") << 1 << u"1,500"_s << u"1,500"_s;
    }
    void fullWidthDigitsInAmountsAreStoredAsAscii() {
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        MainWindowHarness h;
        h.start();
        focusCell(h, col, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(gridOf(h), &press);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        MainWindowHarness::settle();
        QCOMPARE(h.cell(col, 1), stored);
    }

    void theWidestTotalsShowWholeAtTheStandardSize() {
        MainWindowHarness h;
        // The cumulative expense wraps to the lowest value a total can take.
        h.writeRecord(h.writeLedger(u"big.dat"_s, {u"2026/10/01\t食費\t\t2147483647\t0\t"_s,
                                                   u"2026/10/02\t食費\t\t1\t0\t"_s}));
        h.start();
        h.form->resize(572, 390);
        MainWindowHarness::settle();
        const QString widest = u"-¥2,147,483,648"_s;
        QCOMPARE(h.labelText("AllOut"), widest);
        const QLabel* exit = h.form->findChild<QLabel*>(u"AllZan"_s);
        for (const char* name : {"DayOut", "DayIn", "DayZan", "AllOut", "AllIn", "AllZan"}) {
            auto* label = h.form->findChild<QLabel*>(QString::fromLatin1(name));
            label->setText(widest);
            QVERIFY2(label->sizeHint().width() <= label->width(), name);
        }
        const QWidget* button = h.form->findChild<QWidget*>(u"Button4"_s);
        QVERIFY(exit->mapTo(h.form.get(), exit->rect().topRight()).x() <
                button->mapTo(h.form.get(), QPoint(0, 0)).x());
    }

    void theHintsFitAtTheMinimumWidth() {
        MainWindowHarness h;
        h.start();
        h.form->resize(572, 321);
        MainWindowHarness::settle();
        const QWidget* modeLabel = h.form->findChild<QWidget*>(u"Label1"_s);
        for (const char* name : {"Label2", "Label3"}) {
            auto* hint = h.form->findChild<QLabel*>(QString::fromLatin1(name));
            const int needed = hint->fontMetrics().horizontalAdvance(hint->text());
            QVERIFY2(needed <= hint->width(),
                     qPrintable(u"%1 needs %2, has %3"_s.arg(QLatin1String(name))
                                    .arg(needed)
                                    .arg(hint->width())));
            QVERIFY2(hint->geometry().right() < modeLabel->geometry().left(), name);
        }
    }

    void multiLineCellsShowEveryLine() {
        MainWindowHarness h;
        h.start();
        h.form->setCellText(5, 1, orvo::platform::toCp932(u"一\r\n二\r\n三"_s).bytes);
        QTableView* grid = gridOf(h);
        const QModelIndex index = grid->model()->index(0, 4);
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), u"一\n二\n三"_s);
        focusCell(h, 5, 1);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = h.form->findChild<QPlainTextEdit*>(u"CellEditor"_s);
        QVERIFY(editor);
        QVERIFY(editor->height() >= 3 * editor->fontMetrics().lineSpacing());
        QCOMPARE(grid->rowHeight(0), 20);
    }

    void theHelpNamesEveryMenuCommand() {
        MainWindowHarness h;
        h.start();
        QFile help(orvo::platform::helpDocumentPath());
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        const QStringList commands = menuCommands(h.form->findChild<QMenuBar*>());
        QVERIFY(commands.size() >= 20);
        for (const QString& command : commands)
            QVERIFY2(text.contains(command), qPrintable(command));
    }
};

QTEST_MAIN(MainWindowDesktopTest)
#include "MainWindowDesktopTest.moc"
