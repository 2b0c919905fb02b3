// TForm3: the print preview, its print run and the report's print.

#include "forms/print/Unit3.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <exception>

#include "forms/print/PaperRun.h"
#include "paper/PagePainter.h"
#include "platform/Dialogs.h"
#include "platform/ErrorDisplay.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/WindowPlacement.h"
#include "print/PageGeometry.h"
#include "print/PageTarget.h"
#include "print/PrintWidths.h"
#include "print/TotalsReport.h"
#include "settings/PageSettings.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

namespace {

constexpr int kWindowWidth = 599;
constexpr int kWindowHeight = 395;
constexpr int kImageTop = 40;  // the button bar's height
constexpr int kFormFontPixels = 12;
constexpr int kDefaultFontSizeIndex = 3;  // "11" in "8" to "30"

print::PageOrientation printOrientation(PageOrientation orientation) {
    return orientation == PageOrientation::Landscape ? print::PageOrientation::Landscape
                                                     : print::PageOrientation::Portrait;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, 8, 75, 25);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TForm3::TForm3(const LedgerBook& book, PrintDialog& dialog, std::string today, QWidget* parent)
    : QDialog(parent), book_(book), dialog_(dialog), today_(std::move(today)) {
    buildWindow();
    FormCreate();
}

TForm3::~TForm3() = default;

void TForm3::buildWindow() {
    setObjectName(u"Form3"_s);
    setWindowTitle(u"印刷ﾌﾟﾚﾋﾞｭｰ"_s);
    setFont(platform::screenFont(kFormFontPixels));
    setModal(true);
    resize(kWindowWidth, kWindowHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The buttons stay in place while the page scrolls below them.
    auto* bar = new QWidget(this);
    bar->setObjectName(u"ButtonBar"_s);
    bar->setFixedHeight(kImageTop);
    layout->addWidget(bar);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(u"PageScroll"_s);
    layout->addWidget(scroll, 1);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);

    Button1 = button(bar, "Button1", u"印刷"_s, 8);
    BtnKanjoKeiPrint = button(bar, "BtnKanjoKeiPrint", u"合計印刷"_s, 8);
    BtnKanjoKeiPrint->hide();
    Button3 = button(bar, "Button3", u"次ﾍﾟｰｼﾞ"_s, 90);
    Button2 = button(bar, "Button2", u"閉じる"_s, 172);
    Label2 = new QLabel(u"文字ｻｲｽﾞ"_s, bar);
    Label2->setObjectName(u"Label2"_s);
    Label2->setGeometry(262, 12, 56, 18);
    ComboBox1 = new QComboBox(bar);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox1->setGeometry(320, 8, 56, 25);
    Label1 = new QLabel(u"0ﾍﾟｰｼﾞ"_s, bar);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(392, 12, 100, 18);
    Image1 = new QLabel(content);
    Image1->setObjectName(u"Image1"_s);
    Image1->move(0, 0);

    connect(Button1, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm3::Button1Click); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm3::Button3Click); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnKanjoKeiPrint, &QPushButton::clicked, this,
            [this] { runShowingErrors(&TForm3::BtnKanjoKeiPrintClick); });
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { runShowingErrors(&TForm3::ComboBox1Select); });
}

void TForm3::FormCreate() {
    printWidths = print::printWidthsFromRows(dialog_.printWidthRows());
    state = {};
    for (const std::string& size : fontSizeChoices()) ComboBox1->addItem(platform::fromCp932(size));
    ComboBox1->setCurrentIndex(kDefaultFontSizeIndex);
    const print::PixelSize image =
        print::previewImageSize(printOrientation(dialog_.pageSettings().orientation));
    Image1->resize(image.width, image.height);
    Image1->parentWidget()->resize(image.width, image.height);
    platform::centreOnScreen(this);
}

void TForm3::runShowingErrors(void (TForm3::*handler)()) {
    try {
        (this->*handler)();
    } catch (...) {
        platform::showException(std::current_exception());
    }
}

print::PrintSettings TForm3::currentSettings() const {
    const PageLayoutValues layout = dialog_.pageSettings().layoutValues();
    print::PrintSettings s;
    s.orientation = printOrientation(layout.orientation);
    s.topMargin = layout.topMargin;
    s.leftMargin = layout.leftMargin;
    s.leftPosition = layout.leftPosition;
    s.fontPoints = ComboBox1->currentText().toInt();
    s.printWidths = printWidths;
    for (int c = 1; c < book_.table().columnCount(); ++c)
        s.columnTitles.push_back(book_.table().cell(c, 0));
    s.dataFileName = platform::toCp932(platform::fromNativePath(book_.dataFileName())).bytes;
    s.today = today_;
    return s;
}

void TForm3::showLedgerPreview() {
    report_.reset();
    state = {};
    RenderLedgerPage();
}

void TForm3::showReport(print::TitleTotals totals) {
    if (!totals.entries.empty())
        print::SortTitlesByTotal(totals.entries, 0, static_cast<int>(totals.entries.size()) - 1);
    report_ = std::move(totals);
    BtnKanjoKeiPrint->show();
    BtnKanjoKeiPrint->raise();
    RenderTotalsReport(0);
}

void TForm3::RenderLedgerPage() {
    const print::PrintSettings s = currentSettings();
    print::RenderedLedgerPage rendered = print::RenderLedgerPage(book_.records(), s, metrics_, state);
    showPage(std::move(rendered.page), s.orientation);
}

void TForm3::RenderTotalsReport(std::size_t index) {
    const print::PrintSettings s = currentSettings();
    std::vector<print::Page> pages = print::RenderTotalsReport(*report_, s, metrics_);
    reportPage_ = index < pages.size() ? index : 0;
    Button3->setVisible(pages.size() > 1);
    showPage(std::move(pages[reportPage_]), s.orientation);
}

void TForm3::showPage(print::Page page, print::PageOrientation orientation) {
    const print::PixelSize size = print::previewImageSize(orientation);
    QPixmap image(size.width, size.height);
    {
        QPainter painter(&image);
        paper::paintPreviewPage(painter, page, orientation, metrics_);
    }
    Image1->resize(size.width, size.height);
    Image1->parentWidget()->resize(size.width, size.height);
    Image1->setPixmap(image);
    Label1->setText(QString::number(page.number) + u"ﾍﾟｰｼﾞ"_s);
    shown_ = std::move(page);
}

void TForm3::Button3Click() {
    if (report_) {
        RenderTotalsReport(reportPage_ + 1);  // after the last, the first again
        return;
    }
    RenderLedgerPage();
}

void TForm3::ComboBox1Select() {
    // A new size moves every page break: the ledger starts again at page 1.
    if (report_) {
        RenderTotalsReport(0);
        return;
    }
    state = {};
    RenderLedgerPage();
}

std::optional<paper::PaperRequest> TForm3::paperRequest(print::PageOrientation orientation) {
    paper::PaperRequest request;
    request.target = dialog_.paperTarget();
    request.orientation = orientation;
    const QString dataFile = platform::fromNativePath(book_.dataFileName());
    QString baseName = platform::fromCp932(print::titleBaseName(platform::toCp932(dataFile).bytes));
    request.title = baseName.isEmpty() ? u"OrvoKakei"_s : baseName;
    if (request.target == paper::PaperTarget::PdfFile) {
        platform::FileDialogRequest ask;
        ask.title = u"PDFファイルに印刷"_s;
        ask.filter = u"PDFﾌｧｲﾙ(*.pdf)|*.pdf"_s;
        ask.defaultSuffix = u"pdf"_s;
        ask.acceptLabel = platform::saveAcceptLabel();
        const QString folder = dataFile.isEmpty() ? QString() : QFileInfo(dataFile).absolutePath();
        ask.fileName = (folder.isEmpty() ? QString() : folder + u'/') + request.title + u".pdf"_s;
        const std::optional<QString> path = platform::dialogs().openFile(ask);
        if (!path) return std::nullopt;
        // The file dialog asks nothing itself; a PDF is no reason to lose a file unasked.
        if (QFileInfo::exists(*path) &&
            platform::dialogs().message(platform::MessageKind::Confirmation,
                                        *path + u" は既にあります。置き換えますか?"_s,
                                        platform::Yes | platform::No) != platform::Yes)
            return std::nullopt;
        request.pdfPath = *path;
    }
    return request;
}

void TForm3::Button1Click() {
    if (!dialog_.showAsPrintDialog(platform::toCp932(ComboBox1->currentText()).bytes)) return;
    // A size chosen in the dialog is the one printed, and the preview's from now on.
    const int chosen = ComboBox1->findText(platform::fromCp932(dialog_.pageSettings().fontSize));
    if (chosen >= 0 && chosen != ComboBox1->currentIndex()) {
        ComboBox1->setCurrentIndex(chosen);
        ComboBox1Select();
    }
    const ResolvedPageSettings resolved = dialog_.pageSettings().resolve();
    if (!resolved.range) {
        platform::dialogs().message(platform::MessageKind::Plain,
                                    platform::fromCp932(pageRangeMistakeText()), platform::Ok);
        return;
    }
    print::PrintSettings s = currentSettings();
    s.firstPage = resolved.range->first;
    s.lastPage = resolved.range->last;
    // The paper follows the layout's orientation as the dialog now holds it.
    const std::optional<paper::PaperRequest> request = paperRequest(s.orientation);
    if (!request) return;
    paper::PaperDocument paper(*request, metrics_);
    if (sendLedgerPages(book_.records(), s, metrics_, paper, this) == RunEnd::Cancelled) return;
    paper.finish();
    state = {};
    platform::dialogs().message(platform::MessageKind::Plain, u"終了しました"_s, platform::Ok);
}

void TForm3::BtnKanjoKeiPrintClick() {
    const print::PrintSettings s = currentSettings();
    const std::optional<paper::PaperRequest> request = paperRequest(s.orientation);
    if (!request) return;
    paper::PaperDocument paper(*request, metrics_);
    for (const print::Page& page : print::RenderTotalsReport(*report_, s, metrics_))
        paper.addPage(page);
    paper.finish();
    platform::dialogs().message(platform::MessageKind::Plain, u"印刷完了しました"_s, platform::Ok);
}

}  // namespace orvo::forms
