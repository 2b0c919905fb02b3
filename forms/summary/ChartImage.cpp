#include "forms/summary/ChartImage.h"

#include <QBuffer>
#include <QChartView>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>

#include "base/AtomicFile.h"
#include "base/OrvoError.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

void saveChartImage(QChartView* view, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(u".pdf"_s, Qt::CaseInsensitive)) {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(view->chart() ? view->chart()->title() : QString());
        QPainter painter(&pdf);
        view->render(&painter);
    } else {
        view->grab().save(&buffer, "PNG");
    }
    buffer.close();
    const std::string native = platform::toNativePath(path);
    if (bytes.isEmpty()) throw cannotWriteFile(platform::toCp932(path).bytes);
    writeFileAtomically(
        native, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace orvo::forms
