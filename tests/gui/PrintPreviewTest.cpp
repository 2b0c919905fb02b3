// The print preview from the main window's menus: page walking, report mode,
// and the print run through the print dialog to a PDF file.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTest>
#include <functional>

#include "forms/print/PrintDialog.h"
#include "forms/print/SettingsPrintDialog.h"
#include "forms/print/Unit3.h"
#include "forms/settings/Unit2.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::forms::TForm3;
using orvo::testing::MainWindowHarness;

namespace {

// The settings window's part in a print, answered by the test.
class ScriptedPrintDialog : public orvo::forms::PrintDialog {
public:
    bool showAsPrintDialog(const std::string& fontSize) override {
        ++showings;
        shownFontSize = fontSize;
        return confirm;
    }
    orvo::PageSettings pageSettings() const override { return page; }
    std::vector<std::string> printWidthRows() const override { return widths; }
    orvo::paper::PaperTarget paperTarget() const override { return target; }

    bool confirm = true;
    int showings = 0;
    std::string shownFontSize;
    orvo::PageSettings page;
    std::vector<std::string> widths{"233", "233", "233", "233", "233"};
    orvo::paper::PaperTarget target = orvo::paper::PaperTarget::PdfFile;
};

// 60 one-line records: two pages at font size 11.
QStringList twoPagesOfRecords() {
    QStringList records;
    for (int i = 0; i < 60; ++i)
        records << u"2026/01/%1\t食費\t外食\t%2\t0\tr%3"_s.arg(1 + i / 3, 2, 10, QChar(u'0'))
                       .arg(100 * (i + 1))
                       .arg(i);
    return records;
}

// PDF page objects ("/Type /Page", not "/Pages").
int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = file.readAll();
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0;
         at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at + 11, 1) != "s") ++count;
    return count;
}

}  // namespace

class PrintPreviewTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        MainWindowHarness h;
        ScriptedPrintDialog dialog;
        explicit Fixture(const QStringList& records) {
            h.writeRecord(h.writeLedger(u"家計.dat"_s, records));
            h.start({2026, 1, 1});
            h.form->setPrintDialog(&dialog);
        }
        // Triggers `item` and runs `inPreview` on the modal preview it opens,
        // which is then closed with Esc. Returns the preview, gone by then.
        QPointer<TForm3> preview(const char* item, const std::function<void(TForm3&)>& inPreview) {
            QPointer<TForm3> seen;
            bool opened = false;
            QTimer::singleShot(0, [&] {
                seen = qobject_cast<TForm3*>(QApplication::activeModalWidget());
                if (!seen) return;
                opened = true;
                inPreview(*seen);
                QTest::keyClick(seen.data(), Qt::Key_Escape);
            });
            h.action(item)->trigger();
            if (!opened) QTest::qFail("no preview opened", __FILE__, __LINE__);
            return seen;
        }
    };

    static QString pageLabel(TForm3& p) { return p.findChild<QLabel*>(u"Label1"_s)->text(); }
    static QPushButton* button(TForm3& p, const char* name) {
        return p.findChild<QPushButton*>(QString::fromLatin1(name));
    }

private slots:
    void previewWritesBackAndNextPageWrapsToPageOne() {
        Fixture f(twoPagesOfRecords());
        f.h.type(1, 1, u"住居費"_s);  // today's pending edit reaches the preview
        QStringList labels;
        bool editPrinted = false;
        const QPointer<TForm3> gone = f.preview("PrintPreview1", [&](TForm3& p) {
            labels << pageLabel(p);
            for (const auto& op : p.shownPage().ops)
                if (auto* text = std::get_if<orvo::print::TextOp>(&op))
                    editPrinted |= text->text == "\x8F\x5A\x8B\x8F\x94\xEF";  // 住居費
            QVERIFY(button(p, "Button3")->isVisible());
            QVERIFY(!button(p, "BtnKanjoKeiPrint")->isVisible());
            for (int i = 0; i < 3; ++i) {
                QTest::mouseClick(button(p, "Button3"), Qt::LeftButton);
                labels << pageLabel(p);
            }
            QCOMPARE(p.findChild<QLabel*>(u"Image1"_s)->size(), QSize(700, 987));
        });
        QCOMPARE(labels, (QStringList{u"1ﾍﾟｰｼﾞ"_s, u"2ﾍﾟｰｼﾞ"_s, u"1ﾍﾟｰｼﾞ"_s, u"2ﾍﾟｰｼﾞ"_s}));
        QVERIFY(editPrinted);
        QVERIFY(gone.isNull());  // destroyed on close
        QCOMPARE(f.dialog.showings, 0);
    }

    void reportModeAsksTheYearAndPrintsTotalsToPdf() {
        Fixture f(twoPagesOfRecords());
        f.h.dialogs.answerInput(u"2026"_s);
        const QString pdf = f.h.path(u"report.pdf"_s);
        f.h.dialogs.answerFile(pdf);
        f.preview("mnuKanjoKeiPrint", [&](TForm3& p) {
            QPushButton* total = button(p, "BtnKanjoKeiPrint");
            QVERIFY(total->isVisible());
            QVERIFY(!button(p, "Button3")->isVisible());
            QCOMPARE(total->geometry(), button(p, "Button1")->geometry());
            QTest::mouseClick(total, Qt::LeftButton);
        });
        const auto& shown = f.h.dialogs.shown();
        QVERIFY(shown.size() >= 3);
        QCOMPARE(shown[0].caption, u"集計年度を指定"_s);
        QCOMPARE(shown[0].initial, QString::number(QDate::currentDate().year()));
        QCOMPARE(shown[1].file.fileName, f.h.path(u"家計.pdf"_s));
        QCOMPARE(shown[2].text, u"印刷完了しました"_s);
        QCOMPARE(pdfPageCount(pdf), 1);
        QCOMPARE(f.dialog.showings, 0);  // the report has no print dialog
    }

    void reportOfSixtyTitlesWalksItsPagesAndPrintsThemAll() {
        MainWindowHarness h;  // scripted dialogs in a scratch folder; no main window
        orvo::LedgerBook book;
        book.startNewLedger();
        ScriptedPrintDialog dialog;
        orvo::print::TitleTotals totals;
        totals.year = "2026";
        for (int k = 1; k <= 60; ++k) totals.entries.push_back({"T" + std::to_string(k), k, {}});
        totals.grandTotal = 1830;
        totals.maxTitleTotal = 60;
        TForm3 p(book, dialog, "2026/12/08");
        p.show();
        p.showReport(totals);
        QVERIFY(button(p, "Button3")->isVisible());
        QStringList labels{pageLabel(p)};
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(button(p, "Button3"), Qt::LeftButton);
            labels << pageLabel(p);
        }
        QCOMPARE(labels, (QStringList{u"1ﾍﾟｰｼﾞ"_s, u"2ﾍﾟｰｼﾞ"_s, u"1ﾍﾟｰｼﾞ"_s}));
        const QString pdf = h.path(u"sixty.pdf"_s);
        h.dialogs.answerFile(pdf);
        QTest::mouseClick(button(p, "BtnKanjoKeiPrint"), Qt::LeftButton);
        QCOMPARE(pdfPageCount(pdf), 2);
    }

    void printRunDialogNotConfirmedPrintsNothing() {
        Fixture f(twoPagesOfRecords());
        f.dialog.confirm = false;
        f.preview("PrintPreview1",
                  [&](TForm3& p) { QTest::mouseClick(button(p, "Button1"), Qt::LeftButton); });
        QCOMPARE(f.dialog.showings, 1);
        QVERIFY(f.h.dialogs.shown().empty());  // no file asked, no message
    }

    void printRunWithABadRangeSaysSoAndPrintsNothing() {
        Fixture f(twoPagesOfRecords());
        f.dialog.page.selection = orvo::PageSelection::PageRange;
        f.dialog.page.firstPage = "3";
        f.dialog.page.lastPage = "2";
        f.preview("PrintPreview1",
                  [&](TForm3& p) { QTest::mouseClick(button(p, "Button1"), Qt::LeftButton); });
        QCOMPARE(f.h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(f.h.dialogs.last().text, u"ﾍﾟｰｼﾞ指定に誤りがあります"_s);
    }

    void printRunToPdfSendsThePagesOfTheRange() {
        struct Case {
            orvo::PageSelection selection;
            const char* first;
            const char* last;
            int pages;
        };
        for (const Case& c : {Case{orvo::PageSelection::AllPages, "1", "999", 2},
                              Case{orvo::PageSelection::PageRange, "2", "5", 1},
                              Case{orvo::PageSelection::PageRange, "1", "1", 1}}) {
            Fixture f(twoPagesOfRecords());
            f.dialog.page.selection = c.selection;
            f.dialog.page.firstPage = c.first;
            f.dialog.page.lastPage = c.last;
            const QString pdf = f.h.path(u"out.pdf"_s);
            f.h.dialogs.answerFile(pdf);
            QString afterwards;
            f.preview("PrintPreview1", [&](TForm3& p) {
                QTest::mouseClick(button(p, "Button3"), Qt::LeftButton);
                QTest::mouseClick(button(p, "Button1"), Qt::LeftButton);
                // The preview starts again at page 1 after a run.
                QTest::mouseClick(button(p, "Button3"), Qt::LeftButton);
                afterwards = pageLabel(p);
            });
            QCOMPARE(f.h.dialogs.last().text, u"終了しました"_s);
            QCOMPARE(pdfPageCount(pdf), c.pages);
            QCOMPARE(afterwards, u"1ﾍﾟｰｼﾞ"_s);
        }
    }

    void settingsWindowIsThePrintDialog() {
        Fixture f(twoPagesOfRecords());
        orvo::forms::TForm2 settings(*f.h.form, f.h.path(u"Prin.ini"_s), f.h.form.get());
        orvo::forms::SettingsPrintDialog dialog(settings);
        f.h.form->setPrintDialog(&dialog);
        auto* toPdf = settings.findChild<QRadioButton*>(u"RadioButton6"_s);
        QTest::mouseClick(toPdf, Qt::LeftButton);
        const QString pdf = f.h.path(u"out.pdf"_s);
        f.h.dialogs.answerFile(pdf);
        QStringList captions;
        QStringList tabsAndSizes;
        // Closed with "閉じる" first (nothing printed), then confirmed; the
        // dialog opens on its print tab with the preview's font size.
        for (const char* closeWith : {"Button3", "Button2"}) {
            f.preview("PrintPreview1", [&](TForm3& p) {
                if (closeWith == std::string_view("Button3")) {  // a size of the preview's own
                    auto* size = p.findChild<QComboBox*>(u"ComboBox1"_s);
                    size->setFocus();
                    QTest::keyClick(size, Qt::Key_Down);
                }
                QTimer::singleShot(0, [&] {
                    auto* shown =
                        qobject_cast<orvo::forms::TForm2*>(QApplication::activeModalWidget());
                    if (!shown) return;
                    auto* confirm = shown->findChild<QPushButton*>(u"Button2"_s);
                    captions << confirm->text();
                    tabsAndSizes << shown->findChild<QTabWidget*>(u"PageControl1"_s)
                                        ->currentWidget()
                                        ->objectName()
                                 << shown->findChild<QComboBox*>(u"ComboBox1"_s)->currentText();
                    shown->findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(0);
                    QTest::mouseClick(
                        shown->findChild<QPushButton*>(QString::fromLatin1(closeWith)),
                        Qt::LeftButton);
                });
                QTest::mouseClick(button(p, "Button1"), Qt::LeftButton);
            });
            QCOMPARE(QFile::exists(pdf), closeWith == std::string_view("Button2"));
        }
        QCOMPARE(captions, (QStringList{u"印刷実行"_s, u"印刷実行"_s}));
        QCOMPARE(tabsAndSizes, (QStringList{u"TabSheet2"_s, u"12"_s, u"TabSheet2"_s, u"11"_s}));
        QCOMPARE(pdfPageCount(pdf), 2);
        QCOMPARE(f.h.dialogs.last().text, u"終了しました"_s);
    }

    void cancelledPdfChoiceOrMissingPrinterWritesNothing() {
        Fixture f(twoPagesOfRecords());
        f.h.dialogs.cancelFile();
        f.preview("PrintPreview1",
                  [&](TForm3& p) { QTest::mouseClick(button(p, "Button1"), Qt::LeftButton); });
        QCOMPARE(f.h.dialogs.shown().size(), std::size_t{1});  // the file dialog alone
        // A file of that name stays unless the user agrees to replace it.
        f.h.writeCp932(u"keep.pdf"_s, u"mine"_s);
        f.h.dialogs.answerFile(f.h.path(u"keep.pdf"_s));
        f.h.dialogs.answer(orvo::platform::No);
        f.preview("PrintPreview1",
                  [&](TForm3& p) { QTest::mouseClick(button(p, "Button1"), Qt::LeftButton); });
        QCOMPARE(f.h.readCp932(u"keep.pdf"_s), u"mine"_s);
        QVERIFY(f.h.dialogs.allAnswersUsed());
        if (!QPrinterInfo::availablePrinters().isEmpty()) return;
        f.dialog.target = orvo::paper::PaperTarget::Printer;
        f.h.dialogs.clearShown();
        f.preview("PrintPreview1",
                  [&](TForm3& p) { QTest::mouseClick(button(p, "Button1"), Qt::LeftButton); });
        QCOMPARE(f.h.dialogs.last().text, u"デフォルト プリンタが存在しません."_s);
    }
};

QTEST_MAIN(PrintPreviewTest)
#include "PrintPreviewTest.moc"
