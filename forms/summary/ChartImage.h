#pragma once
// "画像として保存": a chart as a PNG picture or a one-page PDF, by the name's suffix.

#include <QString>

class QChartView;

namespace orvo::forms {

// Writes the chart as it is shown to `path` (".pdf": a PDF page, else PNG),
// replacing the file whole; "ファイル %s に書き込めません" when it cannot be.
void saveChartImage(QChartView* view, const QString& path);

}  // namespace orvo::forms
