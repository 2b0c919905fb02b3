#include "base/Amount.h"

#include <gtest/gtest.h>

#include "base/OrvoError.h"

namespace orvo {
namespace {

TEST(Amount, ParsesWholeDecimalNumbersIn32Bits) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"1200", 1200},
        {"-500", -500},
        {"+7", 7},
        {"  42", 42},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12 ", std::nullopt},
        {"1,200", std::nullopt},
        {"12.5", std::nullopt},
        {"１２", std::nullopt},  // full-width digits are no amount
        {"abc", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parseAmount(c.text), c.value) << c.text;
}

TEST(Amount, StoredAmountTextDropsTheDisplayFormsSigns) {
    const std::pair<const char*, const char*> cases[] = {
        {"1500", "1500"},
        {"1,500", "1500"},
        {"\\1,500", "1500"},
        {"￥1,500", "1500"},
        {"1,500円", "1500"},
        {"￥１，５００", "1500"},
        {"１，５０", "1，50"},
        {"\\1,234,567円", "1234567"},
        {"-\\1,500", "-1500"},
        {"-1,500", "-1500"},
        {"+1,500", "1500"},
        {"\\800", "800"},
        {"800円", "800"},
        {"１,５００", "1500"},
        {"1,50", "1,50"},
        {"1,5000", "1,5000"},
        {"1234,567", "1234,567"},
        {",500", ",500"},
        {"1,500,", "1,500,"},
        {"1,,500", "1,,500"},
        {"\\", "\\"},
        {"円", "円"},
        {"1,500 ", "1,500 "},
        {"1万", "1万"},
        {"", ""},
    };
    for (const auto& [typed, stored] : cases) EXPECT_EQ(storedAmountText(typed), stored) << typed;
}

TEST(Amount, NotAnIntegerNamesTheText) {
    try {
        amountOrThrow("12x");
        FAIL();
    } catch (const OrvoError& e) {
        EXPECT_STREQ(e.what(), "'12x' は整数ではありません");
    }
}

TEST(Amount, SumsWrapAround) {
    EXPECT_EQ(wrapAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrapSub(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(wrapAdd(-500, 1200), 700);
}

TEST(Amount, DisplayFormHasYenSignAndThousandsSeparators) {
    struct Case {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {0, "\\0"},
        {7, "\\7"},
        {999, "\\999"},
        {1000, "\\1,000"},
        {1234, "\\1,234"},
        {-1234, "-\\1,234"},
        {-1200, "-\\1,200"},
        {123456, "\\123,456"},
        {1234567, "\\1,234,567"},
        {INT32_MAX, "\\2,147,483,647"},
        {INT32_MIN, "-\\2,147,483,648"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatYen(c.value), c.text) << c.value;
}

// Totals add an amount field through a fast path for plain digits; it adds
// what the general reader reads, and nothing where that reads no amount.
TEST(Amount, AddingAFieldAddsWhatTheReaderReads) {
    for (const char* text :
         {"0", "7", "000000012", "123456789", "999999999", "1234567890", "2147483647", "2147483648",
          "-5", " 5", "+5", "5 ", "1e3", "1,000", "１２", "12a", "-"}) {
        std::int32_t total = 100;
        const std::optional<std::int32_t> read = parseAmount(text);
        EXPECT_EQ(addAmount(text, total), read.has_value()) << text;
        EXPECT_EQ(total, read ? wrapAdd(100, *read) : 100) << text;
    }
    std::int32_t total = 100;
    EXPECT_TRUE(addAmount("", total));  // an empty field is no fault and adds nothing
    EXPECT_EQ(total, 100);
}

}  // namespace
}  // namespace orvo
