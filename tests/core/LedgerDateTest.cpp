#include "ledger/LedgerDate.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

TEST(LedgerDate, ReadsDatesAsTheShortDateFormatDoes) {
    struct Case {
        const char* text;
        std::optional<LedgerDate> date;
        bool canonical;
    } cases[] = {
        {"2026/12/08", LedgerDate{2026, 12, 8}, true},
        {"2026/1/5", LedgerDate{2026, 1, 5}, false},
        {" 2026/01/05 ", LedgerDate{2026, 1, 5}, false},
        {"26/01/05", LedgerDate{2026, 1, 5}, false},
        {"2024/02/29", LedgerDate{2024, 2, 29}, true},
        {"2023/02/29", std::nullopt, false},
        {"2026/13/01", std::nullopt, false},
        {"2026/00/10", std::nullopt, false},
        {"0000/01/01", std::nullopt, false},
        {"2026-12-08", std::nullopt, false},
        {"2026/12", std::nullopt, false},
        {"20261/1/1", std::nullopt, false},
        {"2026/12/08x", std::nullopt, false},
        {"", std::nullopt, false},
        {"日付", std::nullopt, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LedgerDate::parse(c.text), c.date) << c.text;
        EXPECT_EQ(LedgerDate::isCanonical(c.text), c.canonical) << c.text;
    }
}

TEST(LedgerDate, StepsAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(LedgerDate({2026, 12, 31}).addDays(1), (LedgerDate{2027, 1, 1}));
    EXPECT_EQ(LedgerDate({2024, 3, 1}).addDays(-1), (LedgerDate{2024, 2, 29}));
    EXPECT_EQ(LedgerDate({2100, 3, 1}).addDays(-1), (LedgerDate{2100, 2, 28}));
    EXPECT_EQ(LedgerDate({2000, 3, 1}).addDays(-1), (LedgerDate{2000, 2, 29}));
    for (std::int32_t s = LedgerDate{1999, 12, 1}.serial(); s < LedgerDate{2001, 3, 1}.serial();
         ++s)
        ASSERT_EQ(LedgerDate::fromSerial(s).serial(), s);
    EXPECT_EQ(LedgerDate({2026, 1, 2}).format(), "2026/01/02");
    EXPECT_EQ(LedgerDate({999, 1, 2}).format(), "0999/01/02");
}

}  // namespace
}  // namespace orvo
