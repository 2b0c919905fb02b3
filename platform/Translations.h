#pragma once
// The program speaks Japanese whatever the system's locale: Qt's own dialogs
// (file dialog, calendar, standard buttons) and every locale-dependent widget.

#include <QCoreApplication>

namespace orvo::platform {

// Sets the Japanese locale as every widget's default and installs Qt's
// Japanese translations when they are installed (Debian qt6-translations-l10n);
// without them Qt's texts stay English. Returns whether the translations loaded.
bool installJapanese(QCoreApplication& app);

}  // namespace orvo::platform
