// OrvoKakei: creates the windows in their order and runs the event loop until
// the main window closes.

#include <QApplication>

#include "forms/calculator/OrvoDen.h"
#include "forms/main/Unit1.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
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

}  // namespace

int main(int argc, char** argv) {
    OrvoApplication app(argc, argv);
    QApplication::setApplicationName(orvo::platform::applicationTitle());
    orvo::platform::installJapanese(app);
    orvo::platform::installFontSubstitutions();

    // The main window first; its creation reopens the last ledger.
    orvo::forms::TForm1 form1;
    // The fixed-phrase, search and settings windows join here, in that order.
    // Owned by the main window, so it stays above it (not above other programs).
    orvo::forms::TOrvoDentaku orvoDentaku(&form1, &form1);

    // The program ends when the main window closes, whatever companion is open.
    orvoDentaku.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setCompanionWindows(nullptr, &orvoDentaku);

    form1.show();
    return app.exec();
}
