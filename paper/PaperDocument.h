#pragma once
// A print document on the default printer or in a PDF file: pages replayed at
// natural size, one after another.

#include <QPainter>
#include <QString>
#include <memory>

#include "paper/PrintFontMetrics.h"
#include "print/PageOps.h"
#include "print/PrintSettings.h"

class QPagedPaintDevice;

namespace orvo::platform {
class SafeFileDevice;
}

namespace orvo::paper {

enum class PaperTarget { Printer, PdfFile };

struct PaperRequest {
    PaperTarget target = PaperTarget::Printer;
    QString pdfPath;  // for PdfFile
    print::PageOrientation orientation = print::PageOrientation::Portrait;
    QString title;  // the job's name
};

// "デフォルト プリンタが存在しません"
QString noPrinterText();

class PaperDocument {
public:
    // Begins the document. Throws OrvoError: noPrinterText() when no printer is
    // installed, "ファイル %s を作成できません" when the PDF file cannot be made.
    explicit PaperDocument(const PaperRequest& request, const PrintFontMetrics& metrics);
    // Without finish(), the document is abandoned: nothing printed, no file written.
    ~PaperDocument();
    PaperDocument(const PaperDocument&) = delete;
    PaperDocument& operator=(const PaperDocument&) = delete;

    // A new sheet before every page but the first.
    void addPage(const print::Page& page);
    // Ends the document; the PDF file takes the place of any old one only now.
    void finish();
    int pageCount() const { return pages_; }

private:
    const PrintFontMetrics& metrics_;
    std::unique_ptr<platform::SafeFileDevice> file_;
    std::unique_ptr<QPagedPaintDevice> device_;
    QPainter painter_;
    int pages_ = 0;
    bool finished_ = false;
};

}  // namespace orvo::paper
