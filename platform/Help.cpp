#include "platform/Help.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

QString helpDocumentPath() {
    return u":/help/OrvoKakei.html"_s;
}

QWidget* showHelpContents(QWidget* parent) {
    static QPointer<QWidget> window;
    if (!window) {
        window = new QWidget(parent, Qt::Window);
        window->setObjectName(u"HelpWindow"_s);
        window->setWindowTitle(u"OrvoKakei ヘルプ"_s);
        window->resize(560, 600);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName(u"HelpBrowser"_s);
        browser->setOpenLinks(true);
        layout->addWidget(browser);
    }
    auto* browser = window->findChild<QTextBrowser*>(u"HelpBrowser"_s);
    browser->setSource(QUrl(u"qrc"_s + helpDocumentPath()));
    browser->scrollToAnchor(u"contents"_s);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace orvo::platform
