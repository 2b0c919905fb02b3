// OrvoKakei: creates the windows in their order and runs the event loop until
// the main window closes.

#include <QApplication>

#include "forms/Unit1.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvo::platform::applicationTitle());
    orvo::platform::installFontSubstitutions();

    // The main window first; its creation reopens the last ledger.
    orvo::forms::TForm1 form1;
    // The fixed-phrase, search, settings and calculator windows follow here,
    // in that order, as they join the program.

    form1.show();
    return app.exec();
}
