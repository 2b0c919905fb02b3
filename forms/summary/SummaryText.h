#pragma once
// How the summary window writes titles, amounts and months.

#include <QString>
#include <cstdint>
#include <string>

namespace orvo::forms {

// A title as shown; a record without one shows "(科目なし)".
QString titleText(const std::string& cp932Title);
// "¥1,234" as the totals show amounts.
QString yenText(std::int32_t value);
// "1月" for 1.
QString monthText(int month);

}  // namespace orvo::forms
