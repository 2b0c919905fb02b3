#include "support/MainWindowHarness.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "platform/Fonts.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::testing {

MainWindowHarness::MainWindowHarness(bool withTitleFiles) : previousFolder_(QDir::currentPath()) {
    platform::installFontSubstitutions();
    QDir::setCurrent(dir_.path());
    if (withTitleFiles) {
        writeCp932(u"勘定科目1.txt"_s, u"食費\r\n住居費\r\nABC\r\n"_s);
        writeCp932(u"勘定科目2.txt"_s, u"外食,0\r\n主食,0\r\n家賃,1\r\nxyz,2\r\n"_s);
    }
}

MainWindowHarness::~MainWindowHarness() {
    if (form) {
        // Close without the question: tests that close through it do so themselves.
        form->hide();
        form.reset();
    }
    QDir::setCurrent(previousFolder_);
}

forms::TForm1& MainWindowHarness::start(LedgerDate today, bool show, const QString& ledgerToOpen) {
    form = std::make_unique<forms::TForm1>(forms::StartOptions{today, recordPath(), ledgerToOpen});
    form->ledger().backups().setClock([today] { return today; });  // the day copies are named by
    if (show) {
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("main window did not become active");
        settle();
    }
    return *form;
}

void MainWindowHarness::writeCp932(const QString& name, const QString& text) const {
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write fixture");
    const std::string bytes = platform::toCp932(text).bytes;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QString MainWindowHarness::readCp932(const QString& name) const {
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return platform::fromCp932(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void MainWindowHarness::writeRecord(const QString& dataFile) const {
    writeCp932(u"orvokakei.ini"_s, dataFile + u"\r\n"_s);
}

QString MainWindowHarness::writeLedger(const QString& name, const QStringList& records) const {
    QString text = u"640\r\n480\r\n6\r\n6\r\n"_s;
    for (int i = 0; i < 6; ++i) text += u"20\r\n"_s;
    text += u"20\r\n90\r\n90\r\n90\r\n90\r\n160\r\n"_s;
    text += u"勘定科目1\t勘定科目２\t支出\t収入\t摘要\r\n"_s;
    for (const QString& r : records) text += r + u"\r\n"_s;
    writeCp932(name, text);
    return path(name);
}

void MainWindowHarness::type(int col, int row, const QString& text) {
    book().markDayViewChanged();  // as the grid taking the focus marks the day view
    model()->setData(model()->indexOfCell(col, row), text);
}

QString MainWindowHarness::cell(int col, int row) const {
    return forms::LedgerGridModel::textOfCell(book().table().cell(col, row));
}

QString MainWindowHarness::labelText(const char* objectName) const {
    const auto* label = form->findChild<QLabel*>(QString::fromLatin1(objectName));
    return label ? label->text() : u"<no label>"_s;
}

void MainWindowHarness::settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

}  // namespace orvo::testing
