#include "forms/summary/SummaryText.h"

#include "base/Amount.h"
#include "platform/Fonts.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::forms {

QString titleText(const std::string& cp932Title) {
    return cp932Title.empty() ? u"(科目なし)"_s : platform::fromCp932(cp932Title);
}

QString yenText(std::int32_t value) {
    return platform::yenForDisplay(platform::fromCp932(formatYen(value)));
}

QString monthText(int month) {
    return QString::number(month) + u"月"_s;
}

}  // namespace orvo::forms
