#pragma once
// The help document that ships inside the program (HTML, shown in a text
// browser window that opens on its contents).

#include <QString>
#include <QWidget>

namespace orvo::platform {

// The resource path of the help document.
QString helpDocumentPath();

// Opens (or raises) the help window on the document's contents and returns it.
// The window lives until the program ends; it does not block `parent`.
QWidget* showHelpContents(QWidget* parent);

}  // namespace orvo::platform
