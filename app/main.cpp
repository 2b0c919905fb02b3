// OrvoKakei: creates the windows in their order and runs the event loop until
// the main window closes.

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <optional>

#include "app/FirstPaintTrace.h"
#include "forms/calculator/OrvoDen.h"
#include "forms/main/Unit1.h"
#include "forms/phrases/Unit4.h"
#include "forms/print/SettingsPrintDialog.h"
#include "forms/search/Unit5.h"
#include "forms/settings/Unit2.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/ProgramFiles.h"
#include "platform/Translations.h"

namespace {

// No exception may end the program: what a handler throws past its own
// window's error display is shown here, and the event loop goes on.
class OrvoApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        return orvo::platform::deliverShowingErrors(
            [&] { return QApplication::notify(receiver, event); });
    }
};

// --help and --version answer before any window or display is needed.
// Returns the exit status when one was asked for.
std::optional<int> answerInformationOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("orvokakei %s\n", ORVO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "usage: orvokakei [FILE.dat]\n"
                "       orvokakei --help | --version\n"
                "The OrvoKakei cash book. Opens FILE.dat, else the ledger used last.\n"
                "Qt's own options (-platform, -display, ...) are taken too. See orvokakei(1).\n");
            return 0;
        }
    }
    return std::nullopt;
}

// The ledger named on the command line (as a desktop launcher passes it), if any.
QString ledgerFromArguments() {
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(u'-')) return arguments[i];
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = answerInformationOptions(argc, argv)) return *status;
    OrvoApplication app(argc, argv);
    QApplication::setApplicationName(orvo::platform::applicationTitle());
    orvo::platform::installJapanese(app);
    orvo::platform::installFontSubstitutions();

    // The main window first; its creation opens the ledger named on the
    // command line, else reopens the last one.
    orvo::forms::StartOptions startOptions = orvo::forms::defaultStartOptions();
    startOptions.ledgerToOpen = ledgerFromArguments();
    orvo::forms::TForm1 form1(startOptions);
    // The fixed-phrase window, hidden; its phrase file's folder is the working folder now.
    orvo::forms::TForm4 form4(&form1, &form1);
    orvo::forms::TForm5 form5(form1, &form1);
    orvo::forms::TForm2 form2(
        form1, orvo::platform::printSettingsPathFor(QCoreApplication::applicationFilePath()),
        &form1);
    form1.setSettingsWindow(&form2);
    // The print preview's print dialog.
    orvo::forms::SettingsPrintDialog printDialog(form2);
    form1.setPrintDialog(&printDialog);
    // Owned by the main window, so it stays above it (not above other programs).
    orvo::forms::TOrvoDentaku orvoDentaku(&form1, &form1);
    orvoDentaku.setSettingsFile(
        orvo::platform::calculatorSettingsPathFor(QCoreApplication::applicationFilePath()));

    // The program ends when the main window closes, whatever companion is open.
    orvoDentaku.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setCompanionWindows(&form4, &orvoDentaku);
    form5.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setSearchWindow(&form5);

    orvo::app::traceFirstPaintIfAsked(form1);
    form1.show();
    const int status = app.exec();
    // Phrases changed and not yet written are kept.
    form4.saveAtProgramEnd();
    return status;
}
