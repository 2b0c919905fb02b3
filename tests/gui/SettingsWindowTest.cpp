// The settings window on the real main window: the edit prompt, the three
// lists kept in step, the confirm sequence and its failures, "設定のみ", Esc.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTest>

#include "forms/settings/Unit2.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::forms::TForm2;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

const QString kTitles1 = u"食費\r\n住居費\r\nABC\r\n"_s;
const QString kTitles2 = u"外食,0\r\n主食,0\r\n家賃,1\r\nxyz,2\r\n"_s;

QListWidget* list(TForm2& form, const char* name) {
    return form.findChild<QListWidget*>(QString::fromLatin1(name));
}

QPushButton* button(TForm2& form, const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Clicks the tab as the user does.
void openTab(TForm2& form, int index) {
    QTabBar* bar = form.findChild<QTabWidget*>(u"PageControl1"_s)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QPoint rowCentre(QListWidget* l, int row) {
    return l->visualItemRect(l->item(row)).center();
}

void clickRow(QListWidget* l, int row) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, rowCentre(l, row));
}

void doubleClickRow(QListWidget* l, int row) {
    clickRow(l, row);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, rowCentre(l, row));
}

QStringList rows(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

bool exists(MainWindowHarness& h, const QString& name) {
    return QFile::exists(h.path(name));
}

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void editPromptChangesARowOnlyWhenAnswered() {
        MainWindowHarness h;
        h.start();
        TForm2 form(*h.form, h.path(u"Prin.ini"_s));
        form.show();
        openTab(form, 0);
        QListWidget* widths = list(form, "ListBox3");
        h.dialogs.cancelInput();  // Cancel gives the old text back
        doubleClickRow(widths, 1);
        QCOMPARE(h.dialogs.last().caption, u"表示時の項目幅"_s);
        QCOMPARE(h.dialogs.last().text, u"新しい値を入力してください"_s);
        QCOMPARE(h.dialogs.last().initial, u"90"_s);
        h.dialogs.answerInput(QString());  // a cleared field leaves the row too
        doubleClickRow(widths, 1);
        QCOMPARE(widths->item(1)->text(), u"90"_s);
        h.dialogs.answerInput(u"a\tb"_s);
        doubleClickRow(list(form, "ListBox1"), 1);
        QCOMPARE(h.dialogs.last().caption, u"項目変更"_s);
        QCOMPARE(list(form, "ListBox1")->item(1)->text(),
                 u"a b"_s);  // a TAB would split the file's title row
        QVERIFY(h.dialogs.allAnswersUsed());
    }

    void theThreeListsKeepTheSameRowAndTopRow() {
        MainWindowHarness h;
        h.start();
        // Enough columns that the lists scroll.
        h.book().changeDayView(orvo::StepKind::AppendColumn, [](orvo::LedgerTable& t) { t.setColumnCount(30); });
        TForm2 form(*h.form, h.path(u"Prin.ini"_s));
        form.show();
        openTab(form, 0);
        QListWidget* titles = list(form, "ListBox1");
        QListWidget* widths = list(form, "ListBox3");
        QListWidget* print = list(form, "ListBox2");
        clickRow(widths, 3);
        QCOMPARE(titles->currentRow(), 3);
        QCOMPARE(print->currentRow(), 3);
        QVERIFY(titles->verticalScrollBar()->maximum() > 5);
        print->verticalScrollBar()->setValue(6);
        QCOMPARE(titles->verticalScrollBar()->value(), 6);
        QCOMPARE(widths->verticalScrollBar()->value(), 6);
        clickRow(print, 8);
        QCOMPARE(titles->currentRow(), 8);
        QCOMPARE(widths->currentRow(), 8);
    }

    void confirmAppliesStoresAndReloads() {
        MainWindowHarness h;
        h.start();
        TForm2 form(*h.form, h.path(u"Prin.ini"_s));
        form.setConfirmCaption(u"印刷実行"_s);
        form.show();
        QCOMPARE(form.findChild<QTabWidget*>(u"PageControl1"_s)->currentIndex(), 2);
        openTab(form, 0);
        QCOMPARE(rows(list(form, "ListBox2")), QStringList(5, u"233"_s));  // no Prin.ini yet
        h.dialogs.answerInput(u"費目"_s);
        doubleClickRow(list(form, "ListBox1"), 0);
        h.dialogs.answerInput(u"120"_s);
        doubleClickRow(list(form, "ListBox3"), 0);
        h.dialogs.answerInput(u"300"_s);
        doubleClickRow(list(form, "ListBox2"), 1);
        QCOMPARE(button(form, "Button2")->text(), u"印刷実行"_s);
        QTest::mouseClick(button(form, "Button2"), Qt::LeftButton);
        QVERIFY(form.confirmed());
        QVERIFY(!form.isVisible());
        QCOMPARE(h.cell(1, 0), u"費目"_s);
        QCOMPARE(h.book().table().columnWidth(1), 120);
        QCOMPARE(h.readCp932(u"Prin.ini"_s), u"233\r\n300\r\n233\r\n233\r\n233\r\n"_s);
        QCOMPARE(h.readCp932(u"勘定科目1.txt"_s), kTitles1);
        QCOMPARE(h.readCp932(u"勘定科目2.txt"_s), kTitles2);
        QCOMPARE(h.child<QComboBox>("ComboBox1")->count(), 3);
        QCOMPARE(h.child<QComboBox>("ComboBox2")->count(), 4);  // emptied, then reloaded
        QCOMPARE(h.dialogs.unanswered(), 0);
    }

    void settingsOnlyAndEscapeWriteNothingAndNeverConfirm() {
        MainWindowHarness h;
        h.start();
        TForm2 form(*h.form, h.path(u"Prin.ini"_s));
        form.show();
        QTest::mouseClick(button(form, "Button2"), Qt::LeftButton);
        QVERIFY(form.confirmed());
        QFile::remove(h.path(u"Prin.ini"_s));
        form.show();
        QVERIFY(!form.confirmed());  // every showing starts unconfirmed
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.confirmed());

        form.show();
        openTab(form, 0);
        h.dialogs.answerInput(u"分類"_s);
        doubleClickRow(list(form, "ListBox1"), 0);
        QTest::mouseClick(button(form, "Button1"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.confirmed());
        QCOMPARE(h.cell(1, 0), u"分類"_s);
        QVERIFY(!exists(h, u"Prin.ini"_s));
    }

    // "出力先" is chosen when first needed, as the print run reads it or the
    // window shows; a choice the user made before stays.
    void theOutputIsChosenWhenFirstNeededAndAChoiceMadeStays() {
        MainWindowHarness h;
        h.start();
        const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
        TForm2 read(*h.form, h.path(u"Prin.ini"_s));
        QCOMPARE(read.printsToPdf(), noPrinter);
        TForm2 shown(*h.form, h.path(u"Prin.ini"_s));
        shown.show();
        auto* printer = shown.findChild<QRadioButton*>(u"RadioButton5"_s);
        auto* pdf = shown.findChild<QRadioButton*>(u"RadioButton6"_s);
        QCOMPARE(pdf->isChecked(), noPrinter);
        QCOMPARE(printer->isChecked(), !noPrinter);
        TForm2 chosen(*h.form, h.path(u"Prin.ini"_s));
        QRadioButton* other =
            chosen.findChild<QRadioButton*>(noPrinter ? u"RadioButton5"_s : u"RadioButton6"_s);
        other->setChecked(true);
        chosen.show();
        QCOMPARE(chosen.printsToPdf(), !noPrinter);
    }

    void aFailedWriteIsShownAndKeepsTheWindowOpen() {
        // Prin.ini in a folder that does not exist; a title file that is a folder.
        for (const bool titlesFail : {false, true}) {
            MainWindowHarness h;
            h.start();
            TForm2 form(*h.form, h.path(titlesFail ? u"Prin.ini"_s : u"missing/Prin.ini"_s));
            if (titlesFail) {
                QFile::remove(h.path(u"勘定科目2.txt"_s));
                QVERIFY(QDir(h.path(QString())).mkdir(u"勘定科目2.txt"_s));
            }
            form.show();
            openTab(form, 0);
            h.dialogs.answerInput(u"費目"_s);
            doubleClickRow(list(form, "ListBox1"), 0);
            QTest::mouseClick(button(form, "Button2"), Qt::LeftButton);
            QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
            QVERIFY(form.isVisible());
            QCOMPARE(h.cell(1, 0), u"費目"_s);  // the grid is updated first
            QCOMPARE(exists(h, u"Prin.ini"_s), titlesFail);
            // The pick lists are emptied only after Prin.ini is written.
            QCOMPARE(h.child<QComboBox>("ComboBox1")->count(), titlesFail ? 0 : 3);
            // Closed now, the failed confirm does not count.
            QTest::mouseClick(button(form, "Button3"), Qt::LeftButton);
            QVERIFY(!form.isVisible());
            QVERIFY(!form.confirmed());
        }
    }

    void titlesThatDidNotLoadWhollyAreOverwrittenOnlyWhenAllowed() {
        const QString badLevel2 = u"外食,0\r\nx,abc\r\n家賃,1\r\n"_s;
        for (const bool allow : {false, true}) {
            MainWindowHarness h;
            h.writeCp932(u"勘定科目2.txt"_s, badLevel2);
            h.start();
            TForm2 form(*h.form, h.path(u"Prin.ini"_s));
            form.show();
            h.dialogs.clearShown();
            h.dialogs.answer(allow ? orvo::platform::Yes : orvo::platform::No);
            QTest::mouseClick(button(form, "Button2"), Qt::LeftButton);
            QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
            QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
            QCOMPARE(h.dialogs.last().buttons, orvo::platform::Yes | orvo::platform::No);
            QVERIFY(h.dialogs.last().text.contains(u"'abc'"_s));
            QVERIFY(!form.isVisible());
            QVERIFY(form.confirmed());
            QVERIFY(exists(h, u"Prin.ini"_s));
            QCOMPARE(h.readCp932(u"勘定科目2.txt"_s), allow ? u"外食,0\r\n"_s : badLevel2);
            QCOMPARE(h.readCp932(u"勘定科目1.txt"_s), kTitles1);
        }
    }

    void settingsMenuRefreshesFromTheGridAndShowsModally() {
        MainWindowHarness h;
        h.start();
        TForm2 form(*h.form, h.path(u"Prin.ini"_s), h.form.get());
        h.form->setSettingsWindow(&form);
        form.setConfirmCaption(u"印刷実行"_s);
        h.book().editCell(5, 0, "memo");
        QString seenCaption;
        QStringList seenTitles;
        bool wasModal = false;
        QTimer::singleShot(0, &form, [&] {
            seenCaption = button(form, "Button2")->text();
            seenTitles = rows(list(form, "ListBox1"));
            wasModal = QApplication::activeModalWidget() == &form;
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        h.action("mnuKoumoku")->trigger();
        QVERIFY(wasModal);
        QCOMPARE(seenCaption, u"登録終了"_s);
        QCOMPARE(seenTitles.last(), u"memo"_s);
        QVERIFY(!form.confirmed());
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
