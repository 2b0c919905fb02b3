#include "ledger/LedgerDate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ledger/RecordListLayout.h"

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

// The day key of a load is valid exactly for the dates isCanonical takes, and
// those are the dates the general reader takes and writes back unchanged.
TEST(LedgerDate, DayKeyIsValidExactlyForCanonicalDates) {
    std::int32_t previous = -1;
    for (int year : {0, 1, 4, 99, 100, 400, 1900, 1999, 2000, 2023, 2024, 2100, 9996, 9999}) {
        for (int month = 0; month <= 13; ++month) {
            for (int day = 0; day <= 32; ++day) {
                char text[16];
                std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
                const auto parsed = LedgerDate::parse(text);
                const bool canonical = parsed && parsed->format() == text;
                EXPECT_EQ(LedgerDate::isCanonical(text), canonical) << text;
                const std::int32_t key = dayKey(std::string(text) + "\tA\t");
                EXPECT_EQ(key >= 0, canonical) << text;
                EXPECT_EQ(dayKey(text), key) << text;
                if (!canonical) continue;
                EXPECT_GT(key, previous) << text;  // as the dates are ordered
                previous = key;
            }
        }
    }
    for (const char* text : {"", "2026/1/05", " 2026/01/05", "2026-01-05", "2026/01/05 ",
                             "2026/01/0a", "+026/01/05", "2026/01/05x", "2026/01/05\x81"}) {
        EXPECT_FALSE(LedgerDate::isCanonical(text)) << text;
        EXPECT_LT(dayKey(text), 0) << text;
    }
}

}  // namespace
}  // namespace orvo
