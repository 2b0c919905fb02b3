#include "paper/PaperDocument.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "base/OrvoError.h"
#include "paper/PagePainter.h"
#include "platform/SafeFileDevice.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::paper {

namespace {

OrvoError errorOf(const QString& text) {
    return OrvoError(platform::toCp932(text).bytes);
}

QPageLayout::Orientation qtOrientation(print::PageOrientation orientation) {
    return orientation == print::PageOrientation::Landscape ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait;
}

}  // namespace

QString noPrinterText() {
    return u"デフォルト プリンタが存在しません"_s;
}

PaperDocument::PaperDocument(const PaperRequest& request, const PrintFontMetrics& metrics)
    : metrics_(metrics) {
    if (request.target == PaperTarget::PdfFile) {
        file_ = std::make_unique<platform::SafeFileDevice>(platform::toNativePath(request.pdfPath));
        auto writer = std::make_unique<QPdfWriter>(file_.get());
        writer->setResolution(kReferenceDpi);
        writer->setTitle(request.title);
        writer->setCreator(u"OrvoKakei"_s);
        writer->setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), qtOrientation(request.orientation), QMarginsF()));
        device_ = std::move(writer);
    } else {
        if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinters().isEmpty())
            throw errorOf(noPrinterText());
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setDocName(request.title);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(qtOrientation(request.orientation));
        device_ = std::move(printer);
    }
    if (!painter_.begin(device_.get())) {
        if (file_) throw cannotCreateFile(platform::toCp932(request.pdfPath).bytes);
        throw errorOf(u"印刷を開始できません"_s);
    }
}

PaperDocument::~PaperDocument() {
    if (finished_) return;
    if (painter_.isActive()) {
        if (auto* printer = dynamic_cast<QPrinter*>(device_.get())) printer->abort();
        painter_.end();
    }
}

void PaperDocument::addPage(const print::Page& page) {
    if (pages_ > 0) device_->newPage();
    paintPaperPage(painter_, page, metrics_);
    ++pages_;
}

void PaperDocument::finish() {
    finished_ = true;
    painter_.end();
    if (file_) file_->commit();
}

}  // namespace orvo::paper
