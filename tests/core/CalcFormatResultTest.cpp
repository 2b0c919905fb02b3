#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/FormatResult.h"

namespace orvo::calc {
namespace {

struct Case {
    double value;
    const char* text;
};

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(FormatResult(c.value), c.text) << c.text;
}

TEST(CalcFormatResult, ExamplesOfTheDisplay) {
    expectAll({
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {1234 * 1.05, "1295.7"},
        {1000, "1000"},
        {-2.5, "-2.5"},
        {0.1 + 0.2, "0.3"},
        {12.5, "12.5"},
        {-0.00001, "-1E-5"},
    });
}

TEST(CalcFormatResult, ZeroOfEitherSignIsAPlainZero) {
    expectAll({{0.0, "0"}, {-0.0, "0"}});
}

TEST(CalcFormatResult, FixedNotationFrom0Point0001UpTo10To15) {
    expectAll({
        {123456789012345, "123456789012345"},  // 15 digits in full
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},  // 10^6 x 10^9
        {1234567890123456, "1.23456789012346E15"},
        {0.0001, "0.0001"},
        {0.000123, "0.000123"},
        {0.00001, "1E-5"},
        {0.0000999, "9.99E-5"},
        {1e300 * 1.5, "1.5E300"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    });
}

TEST(CalcFormatResult, RoundingCarriesAcrossTheExponentAndTheNotationBoundary) {
    expectAll({
        {std::nextafter(10.0, 0.0), "10"},
        {999999999999999.9, "1E15"},              // rounds up to 16 integer digits
        {std::nextafter(0.0001, 0.0), "0.0001"},  // rounds up into fixed notation
        {-std::nextafter(1.0, 0.0), "-1"},
        {0.99999999999999945, "0.999999999999999"},
    });
}

TEST(CalcFormatResult, AnExactHalfwayValueRoundsAwayFromZero) {
    // Both values are exact doubles whose 16th significant digit is their last, a 5.
    expectAll({
        {1234567890123445, "1.23456789012345E15"},
        {123456789012.3125, "123456789012.313"},
        {-123456789012.3125, "-123456789012.313"},
        {1234567890123444, "1.23456789012344E15"},
    });
}

TEST(CalcFormatResult, ANearlyHalfwayValueRoundsByItsExactBinaryValue) {
    // 0.1234567890123455 is held as 0.12345678901234549..., just under half.
    expectAll({{0.1234567890123455, "0.123456789012345"}});
}

}  // namespace
}  // namespace orvo::calc

namespace orvo::calc {
namespace {

TEST(CalcWholeYen, RoundsHalfAwayFromZero) {
    const std::pair<const char*, const char*> cases[] = {
        {"333.333333333333", "333"},
        {"1.5", "2"},
        {"-2.5", "-3"},
        {"-2.4", "-2"},
        {"999.5", "1000"},
        {"0.4", "0"},
        {"-0.4", "0"},
        {"1050", "1050"},
        {"1.23E-5", "0"},
        {"1E15", "1E15"},
        {"99.49", "99"},
    };
    for (const auto& [shown, yen] : cases) EXPECT_EQ(WholeYen(shown), yen) << shown;
}

}  // namespace
}  // namespace orvo::calc
