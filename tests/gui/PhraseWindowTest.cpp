// The fixed-phrase window on the real main window: the list as read, "追加",
// "削除", the appends into the description cell, and the phrase file written
// on every kind of close.

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "forms/phrases/Unit4.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::forms::TForm4;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

const QString kPhraseFile = u"定型句.dat"_s;

QListWidget* listOf(TForm4& form) {
    return form.findChild<QListWidget*>(u"ListBox1"_s);
}

void press(TForm4& form, const char* name) {
    QTest::mouseClick(form.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

void clickRow(TForm4& form, int row) {
    QListWidget* l = listOf(form);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

QStringList rows(TForm4& form) {
    QStringList out;
    for (int i = 0; i < listOf(form)->count(); ++i) out << listOf(form)->item(i)->text();
    return out;
}

QPoint cellCentre(MainWindowHarness& h, int col, int row) {
    return h.grid()->visualRect(h.model()->indexOfCell(col, row)).center();
}

// Selects a block of the main grid with the mouse: a click, then a Shift+click.
void selectCells(MainWindowHarness& h, int left, int top, int right, int bottom) {
    QWidget* cells = h.grid()->viewport();
    QTest::mouseClick(cells, Qt::LeftButton, {}, cellCentre(h, left, top));
    QTest::mouseClick(cells, Qt::LeftButton, Qt::ShiftModifier, cellCentre(h, right, bottom));
}

}  // namespace

class PhraseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheFileSortedAndAddsWithoutCaseDuplicates() {
        MainWindowHarness h;
        h.writeCp932(kPhraseFile, u"  スーパー\r\n\r\n交通費\r\nbus\r\n"_s);
        h.start();
        TForm4 form(h.form.get(), h.form.get());
        form.show();
        QCOMPARE(rows(form), QStringList({u"bus"_s, u"スーパー"_s, u"交通費"_s}));
        QVERIFY(!form.phrasesModified());

        h.dialogs.cancelInput();
        press(form, "Button2");
        QCOMPARE(h.dialogs.last().caption, u"定型句の追加登録"_s);
        QCOMPARE(h.dialogs.last().text, u"追加したい単語を入力してください"_s);
        QVERIFY(!form.phrasesModified());

        h.dialogs.answerInput(u"BUS"_s);  // already listed, letter case aside
        press(form, "Button2");
        QCOMPARE(rows(form).size(), 3);
        QVERIFY(form.phrasesModified());

        h.dialogs.answerInput(u"Apple"_s);
        press(form, "Button2");
        QCOMPARE(rows(form).first(), u"Apple"_s);
        QCOMPARE(listOf(form)->currentRow(), 0);
        QVERIFY(h.dialogs.allAnswersUsed());
    }

    void deleteAsksAndOnlyYesDeletes() {
        MainWindowHarness h;
        h.writeCp932(kPhraseFile, u"交通費\r\n昼食\r\n"_s);
        h.start();
        TForm4 form(h.form.get(), h.form.get());
        form.show();
        press(form, "Button3");
        QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
        QCOMPARE(h.dialogs.last().text, u"削除したい項目をﾘｽﾄから選択してください"_s);
        for (const auto answer : {orvo::platform::No, orvo::platform::Cancel}) {
            clickRow(form, 1);
            h.dialogs.answer(answer);
            press(form, "Button3");
            QCOMPARE(h.dialogs.last().text, u"昼食を削除してもよろしいですか？"_s);
            QCOMPARE(rows(form).size(), 2);
        }
        QVERIFY(!form.phrasesModified());
        clickRow(form, 1);
        h.dialogs.answer(orvo::platform::Yes);
        press(form, "Button3");
        QCOMPARE(rows(form), QStringList{u"交通費"_s});
        QVERIFY(form.phrasesModified());
    }

    void appendsToTheDescriptionCellOfTheTopRowOnly() {
        MainWindowHarness h;
        h.writeCp932(kPhraseFile, u"社員食堂\r\n"_s);
        h.start();
        TForm4 form(h.form.get(), h.form.get());
        form.show();
        h.type(3, 1, u"500"_s);
        h.type(5, 1, u"昼食"_s);
        h.type(5, 2, u"夕食"_s);
        QTest::mouseClick(h.child<QRadioButton>("RadioButton2"), Qt::LeftButton);  // no cell editor

        selectCells(h, 5, 1, 5, 2);
        press(form, "Button4");  // nothing picked in the list: that warning first
        QCOMPARE(h.dialogs.last().text, u"摘要欄の末尾に付加したい項目を選択してください"_s);

        clickRow(form, 0);
        selectCells(h, 4, 1, 5, 1);
        press(form, "Button5");
        QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
        QCOMPARE(
            h.dialogs.last().text,
            u"摘要欄が選択されていません。\r\n\r\n挿入したい摘要欄をｸﾘｯｸしてから再度操作してください"_s);
        QCOMPARE(h.cell(5, 1), u"昼食"_s);

        selectCells(h, 5, 1, 5, 2);
        press(form, "Button5");
        QCOMPARE(h.cell(5, 1), u"昼食(社員食堂)"_s);
        press(form, "Button4");
        QCOMPARE(h.cell(5, 1), u"昼食(社員食堂)社員食堂"_s);
        QListWidget* l = listOf(form);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {},
                           l->visualItemRect(l->item(0)).center());
        QCOMPARE(h.cell(5, 1), u"昼食(社員食堂)社員食堂社員食堂"_s);
        QCOMPARE(h.cell(5, 2), u"夕食"_s);
        QCOMPARE(h.cell(4, 1), QString());
        QCOMPARE(h.book().totals().dayOut, 0);  // no recalculation
        QVERIFY(form.isVisible());
        QCOMPARE(h.form->gridSelection().top, 1);
        QCOMPARE(h.dialogs.unanswered(), 0);
    }

    void menuAndDoubleClickOnADescriptionShowTheWindow() {
        MainWindowHarness h;
        h.start();
        TForm4 form(h.form.get(), h.form.get());
        h.form->setCompanionWindows(&form, nullptr);
        h.action("N15")->trigger();
        QVERIFY(form.isVisible());
        QVERIFY(!form.isModal());
        form.hide();
        // A double click as the platform delivers it: press, release, press, double click, release.
        QWidget* cells = h.grid()->viewport();
        const QPoint centre = cellCentre(h, 5, 2);
        QTest::mouseClick(cells, Qt::LeftButton, {}, centre);
        QTest::mousePress(cells, Qt::LeftButton, {}, centre);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, centre, cells->mapToGlobal(centre),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(cells, &dbl);
        QTest::mouseRelease(cells, Qt::LeftButton, {}, centre);
        MainWindowHarness::settle();
        QVERIFY(form.isVisible());
    }

    void theFileIsWrittenOnEveryKindOfClose() {
        enum class Close { Button, Escape, TitleBar, ProgramEnd };
        for (const Close how : {Close::Button, Close::Escape, Close::TitleBar, Close::ProgramEnd}) {
            MainWindowHarness h;
            h.start();
            TForm4 form(h.form.get(), h.form.get());
            // The folder was fixed at creation; a later change of folder does not move the file.
            const QString folder = QDir::currentPath();
            QDir::setCurrent(QDir::tempPath());
            form.show();
            h.dialogs.answerInput(u"交通費"_s);
            press(form, "Button2");
            switch (how) {
                case Close::Button:
                    press(form, "Button1");
                    break;
                case Close::Escape:
                    QTest::keyClick(&form, Qt::Key_Escape);
                    break;
                case Close::TitleBar:
                    form.close();
                    break;
                case Close::ProgramEnd:
                    QVERIFY(form.saveAtProgramEnd());
                    form.hide();
                    break;
            }
            QDir::setCurrent(folder);
            QVERIFY(!form.isVisible());
            QCOMPARE(h.readCp932(kPhraseFile), u"交通費\r\n"_s);
        }
    }

    void aFailedWriteKeepsTheWindowOpenAndTheChanges() {
        MainWindowHarness h;
        h.start();
        TForm4 form(h.form.get(), h.form.get(), h.path(u"later"_s));  // no such folder yet
        form.show();
        h.dialogs.answerInput(u"交通費"_s);
        press(form, "Button2");
        press(form, "Button1");
        QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
        QVERIFY(form.isVisible());
        QVERIFY(QDir(h.path(QString())).mkdir(u"later"_s));
        press(form, "Button1");  // still changed: written now
        QCOMPARE(h.readCp932(u"later/"_s + kPhraseFile), u"交通費\r\n"_s);
    }

    void aFileNotReadWholeIsOverwrittenOnlyWhenAllowed() {
        MainWindowHarness h;
        QVERIFY(QDir(h.path(QString())).mkdir(kPhraseFile));  // cannot be read
        h.start();
        TForm4 form(h.form.get(), h.form.get());
        QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
        form.show();
        h.dialogs.answerInput(u"交通費"_s);
        press(form, "Button2");
        h.dialogs.answer(orvo::platform::No);
        press(form, "Button1");
        QCOMPARE(h.dialogs.last().kind, MessageKind::Warning);
        QCOMPARE(h.dialogs.last().buttons, orvo::platform::Yes | orvo::platform::No);
        QVERIFY(h.dialogs.last().text.contains(u"定型句.dat"_s));
        QVERIFY(!form.isVisible());
        QVERIFY(QFileInfo(h.path(kPhraseFile)).isDir());
    }
};

QTEST_MAIN(PhraseWindowTest)
#include "PhraseWindowTest.moc"
