// OrvoKakei: creates the windows in their order and runs the event loop until
// the main window closes.

#include <QApplication>

#include "forms/calculator/OrvoDen.h"
#include "forms/main/Unit1.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvo::platform::applicationTitle());
    orvo::platform::installFontSubstitutions();

    // The main window first; its creation reopens the last ledger.
    orvo::forms::TForm1 form1;
    // The fixed-phrase, search and settings windows join here, in that order.
    orvo::forms::TOrvoDentaku orvoDentaku(&form1);

    // The program ends when the main window closes, whatever companion is open.
    orvoDentaku.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setCompanionWindows(nullptr, &orvoDentaku);

    form1.show();
    return app.exec();
}
