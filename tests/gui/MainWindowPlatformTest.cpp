// The platform pieces the main window stands on: the font substitution table,
// the last-file record and where it lives, the input-method switch, the help
// document, the menus that stay hidden while empty and the error display.

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <new>
#include <stdexcept>

#include "base/OrvoError.h"
#include "forms/main/MenuVisibility.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Help.h"
#include "platform/InputMethod.h"
#include "platform/ProgramFiles.h"
#include "platform/Text.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::Literals::StringLiterals;
namespace platform = orvo::platform;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class MainWindowPlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { platform::installFontSubstitutions(); }

    void msFacesResolveToIpaFonts_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("ipaFamily");
        QTest::newRow("screen") << platform::screenFaceName() << u"IPAPGothic"_s;
        QTest::newRow("paper mincho") << platform::paperMinchoFaceName() << u"IPAMincho"_s;
        QTest::newRow("paper gothic") << platform::paperGothicFaceName() << u"IPAGothic"_s;
    }
    void msFacesResolveToIpaFonts() {
        QFETCH(QString, face);
        QFETCH(QString, ipaFamily);
        const QString family = QFontInfo(QFont(face)).family();
        const QStringList accepted{ipaFamily, ipaFamily == u"IPAPGothic"_s  ? u"IPA Pゴシック"_s
                                              : ipaFamily == u"IPAMincho"_s ? u"IPA明朝"_s
                                                                            : u"IPAゴシック"_s};
        QVERIFY2(accepted.contains(family), qPrintable(family));
    }

    void everyExceptionReachesTheErrorBox() {
        const std::pair<std::exception_ptr, QString> cases[] = {
            {std::make_exception_ptr(orvo::fileNotFound("a.dat")),
             u"ファイル a.dat が見つかりません."_s},
            {std::make_exception_ptr(std::bad_alloc()), u"メモリが不足しています."_s},
            {std::make_exception_ptr(std::length_error("vector::reserve")), u"vector::reserve."_s},
            {std::make_exception_ptr(42), u"エラーが発生しました."_s}};
        orvo::testing::ScriptedDialogs dialogs;
        for (const auto& [error, text] : cases) platform::showException(error);
        QCOMPARE(dialogs.shown().size(), std::size(cases));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            QCOMPARE(dialogs.shown()[i].kind, platform::MessageKind::Error);
            QCOMPARE(dialogs.shown()[i].text, cases[i].second);
        }
    }

    void totalsShowTheYenSign() { QCOMPARE(platform::yenForDisplay(u"-\\1,234"_s), u"-¥1,234"_s); }

    void lastFileRecordRoundTrip_data() {
        QTest::addColumn<QString>("dataFile");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << u"/home/user/book.dat"_s << QByteArray("/home/user/book.dat\r\n");
        QTest::newRow("japanese, as CP932")
            << u"/home/家計/帳簿.dat"_s
            << QByteArray("/home/\x89\xc6\x8c\x76/\x92\xa0\x95\xeb.dat\r\n");
    }
    void lastFileRecordRoundTrip() {
        QFETCH(QString, dataFile);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString record = dir.filePath(u"orvokakei.ini"_s);
        platform::writeLastFileRecord(record, dataFile);
        QCOMPARE(readAll(record), bytes);
        QCOMPARE(platform::readLastFileRecord(record), std::optional<QString>(dataFile));
    }

    void aRecordIsRewrittenOnlyWhenItChanges() {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"orvokakei.ini"_s);
        platform::writeLastFileRecord(record, u"/a/book.dat"_s);
        const QDateTime past = QDateTime::currentDateTime().addDays(-1);
        auto setWritten = [&](const QDateTime& when) {
            QFile f(record);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
        };
        setWritten(past);
        platform::writeLastFileRecord(record, u"/a/book.dat"_s);
        QCOMPARE(QFileInfo(record).lastModified(), past);
        // A longer name that begins with the same bytes is a change.
        platform::writeLastFileRecord(record, u"/a/book.dat2"_s);
        QCOMPARE(readAll(record), QByteArray("/a/book.dat2\r\n"));
        QVERIFY(QFileInfo(record).lastModified() > past);
    }

    void aPathCp932CannotHoldIsKeptWhole() {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"한국어.dat"_s);
        QFile(data).open(QIODevice::WriteOnly);
        const QString record = dir.filePath(u"orvokakei.ini"_s);
        platform::writeLastFileRecord(record, data);
        QCOMPARE(platform::readLastFileRecord(record), std::optional<QString>(data));
    }

    void onlyTheFirstLineCountsAndAMissingRecordIsNone() {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"orvokakei.ini"_s);
        QVERIFY(!platform::readLastFileRecord(record));
        QFile f(record);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("/a/first.dat\r\n/a/second.dat\r\n");
        f.close();
        QCOMPARE(platform::readLastFileRecord(record), std::optional<QString>(u"/a/first.dat"_s));
    }

    void aRecordThatCannotBeWrittenKeepsTheOldOne() {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"no-such-folder/orvokakei.ini"_s);
        QVERIFY_THROWS_EXCEPTION(orvo::OrvoError,
                                 platform::writeLastFileRecord(record, u"/x.dat"_s));
        try {
            platform::writeLastFileRecord(record, u"/x.dat"_s);
        } catch (const orvo::OrvoError& e) {
            QVERIFY(platform::fromCp932(e.what()).endsWith(u"を作成できません"_s));
        }
    }

    void programFilesLieBesideAWritableExecutable() {
        QTemporaryDir dir;
        const QString exe = dir.filePath(u"orvokakei"_s);
        QCOMPARE(platform::lastFileRecordPathFor(exe), dir.filePath(u"orvokakei.ini"_s));
        QCOMPARE(platform::lastFileRecordPathFor(dir.filePath(u"OrvoKakei.exe"_s)),
                 dir.filePath(u"OrvoKakei.ini"_s));
        QCOMPARE(platform::printSettingsPathFor(exe), dir.filePath(u"Prin.ini"_s));
        // A folder that cannot be written sends them to the user's configuration folder.
        const QString installed = u"/nonexistent-orvo/bin/orvokakei"_s;
        QVERIFY(!platform::lastFileRecordPathFor(installed).startsWith(u"/nonexistent-orvo"_s));
        QVERIFY(platform::lastFileRecordPathFor(installed).endsWith(u"/orvokakei.ini"_s));
    }

    void inputModeSwitch() {
        QLineEdit edit;
        platform::setInputMode(&edit, platform::InputMode::Off);
        QVERIFY(edit.inputMethodHints() & Qt::ImhPreferLatin);
        QCOMPARE(platform::inputModeOf(&edit), platform::InputMode::Off);
        platform::setInputMode(&edit, platform::InputMode::Hiragana);
        QVERIFY(!(edit.inputMethodHints() & Qt::ImhPreferLatin));
        QCOMPARE(platform::inputModeOf(&edit), platform::InputMode::Hiragana);
    }

    void helpDocumentShipsInsideTheProgram() {
        QFile help(platform::helpDocumentPath());
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        for (const QString& heading :
             {u"毎日の記帳"_s, u"メニュー"_s, u"プログラムが使うファイル"_s})
            QVERIFY2(text.contains(heading), qPrintable(heading));
    }

    // The real input box: at most 255 characters are typed, but a longer text
    // it was opened with comes back whole from OK.
    void inputBoxKeepsALongInitialText() {
        const QString initial(300, u'1');
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = dialog->findChild<QLineEdit*>()->text();
            dialog->accept();
        });
        platform::QtDialogs dialogs;
        QCOMPARE(dialogs.inputBox(u"修正"_s, u"式"_s, initial), initial);
        QCOMPARE(seen, initial);
    }

    void menusStayHiddenWhileEmpty() {
        QMenuBar bar;
        QMenu* menu = bar.addMenu(u"ツール"_s);
        orvo::forms::hideWhileEmpty(menu);
        QVERIFY(!menu->menuAction()->isVisible());
        QAction* item = menu->addAction(u"電卓"_s);
        QVERIFY(menu->menuAction()->isVisible());
        menu->removeAction(item);
        QVERIFY(!menu->menuAction()->isVisible());
    }
};

QTEST_MAIN(MainWindowPlatformTest)
#include "MainWindowPlatformTest.moc"
