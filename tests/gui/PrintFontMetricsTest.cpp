// The print fonts as the layout measures them: fixed-pitch, one em high, the
// backslash (the yen sign on paper) half-width, so that the worked page of
// 52 record lines holds in the real fonts too.

#include <QTest>

#include "paper/PrintFontMetrics.h"
#include "platform/Fonts.h"
#include "print/LedgerPages.h"
#include "print/PageGeometry.h"

using orvo::print::FontFace;
using orvo::print::PrintFont;

class PrintFontMetricsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { orvo::platform::installFontSubstitutions(); }

    void fixedPitchOneEmHigh() {
        const orvo::paper::PrintFontMetrics m;
        for (FontFace face : {FontFace::Mincho, FontFace::Gothic}) {
            for (int height : {28, 38, 105}) {
                const PrintFont font{face, height};
                QCOMPARE(m.height(font, "\x8D\x80"), height);        // 項
                QCOMPARE(m.width(font, "\x8D\x80"), height);         // full-width: one em
                QCOMPARE(m.width(font, "\\1,234"), 6 * height / 2);  // half-width places
                QCOMPARE(m.width(font,
                                 "\x8D\x80"
                                 "A"),
                         height + height / 2);
                QVERIFY(m.ascent(font) > 0.8 * height && m.ascent(font) < height);
            }
        }
    }

    void workedPageHoldsFiftyTwoLines() {
        const orvo::paper::PrintFontMetrics m;
        orvo::LedgerRecords records;
        for (int i = 0; i < 53; ++i) records.add("2026/01/01\tr\t\t1\t0\t");
        orvo::print::PrintSettings s;
        s.printWidths = {233, 233, 233, 233, 233};
        orvo::print::LedgerPageIndex index(records, s, m);
        QCOMPARE(index.pageCount(), 2);
        QCOMPARE(index.startOf(2)->nextRecord, std::size_t{52});
    }
};

QTEST_MAIN(PrintFontMetricsTest)
#include "PrintFontMetricsTest.moc"
