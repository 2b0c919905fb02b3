#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "base/OrvoError.h"
#include "calc/Evaluator.h"
#include "calc/FormatResult.h"

namespace orvo::calc {
namespace {

// The shown result, or "none" when the text has no value.
std::string shown(const std::string& text, CalcMode mode) {
    const std::optional<double> value = Evaluate(text, mode);
    return value ? FormatResult(*value) : "none";
}

// The fault's message text, or "no fault".
std::string faultOf(const std::string& text, CalcMode mode) {
    try {
        Evaluate(text, mode);
    } catch (const OrvoError& e) {
        return e.what();
    }
    return "no fault";
}

const std::string kDivisionByZero = "0 による浮動小数点数除算";
const std::string kInvalidOperation = "不正な浮動小数点数演算命令";
const std::string kOverflow = "浮動小数点数のオーバーフロー";

TEST(CalcEvaluator, WorkedExamplesInBothModes) {
    struct Case {
        const char* text;
        const char* inputOrder;
        const char* normal;
    } cases[] = {
        {"2+3*4", "20", "14"},     {"2+3*4-6/2", "7", "11"},   {"10-2-3", "5", "5"},
        {"8/2*3", "12", "12"},     {"(2+3)*4", "20", "20"},    {"(2+3*4)*1.05", "14.7", "14.7"},
        {"2*-3", "-6", "-6"},      {"1.5+.5", "2", "2"},       {"2+", "none", "none"},
        {"(2+3", "none", "none"},  {"(2+3))", "none", "none"}, {"2(3)", "none", "none"},
        {"1.2.3", "none", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(c.text, CalcMode::InputOrder), c.inputOrder) << c.text;
        EXPECT_EQ(shown(c.text, CalcMode::Normal), c.normal) << c.text;
    }
}

TEST(CalcEvaluator, PrecedenceKeepsLeftToRightWithinEachLevel) {
    struct Case {
        const char* text;
        const char* normal;
    } cases[] = {
        {"2-3-4", "-5"},     {"8/2/2", "2"},    {"2*3+4*5", "26"}, {"1+2*3*4-5", "20"},
        {"10-2*3-1", "3"},   {"2-3*2-1", "-5"}, {"10-8/2/2", "8"}, {"((1+2)*(3+4))/7", "3"},
        {"2*(3+4)*5", "70"}, {"(((7)))", "7"},  {"1+(2)", "3"},    {"100-(50-(25-5))", "70"},
    };
    for (const Case& c : cases) EXPECT_EQ(shown(c.text, CalcMode::Normal), c.normal) << c.text;
}

TEST(CalcEvaluator, AClosingParenthesisChoosesPrecedenceInInputOrderMode) {
    EXPECT_EQ(shown("(2+3*4)", CalcMode::InputOrder), "14");
    EXPECT_EQ(shown("2+3*4", CalcMode::InputOrder), "20");
    // "(" without ")" stays with the input-order evaluator, which has no parentheses.
    EXPECT_EQ(shown("(2", CalcMode::InputOrder), "none");
    EXPECT_EQ(shown("(2", CalcMode::Normal), "none");
}

TEST(CalcEvaluator, NumbersTakeOneSignAndOnePoint) {
    struct Case {
        const char* text;
        const char* value;
    } cases[] = {
        {"5", "5"},      {"-5", "-5"},      {"+5", "5"},        {"5.", "5"},     {".5", "0.5"},
        {"-.5", "-0.5"}, {"007", "7"},      {"000", "0"},       {"-0", "0"},     {"5--2", "7"},
        {"5-+2", "3"},   {".", "none"},     {"-", "none"},      {"+-5", "none"}, {"--5", "none"},
        {"1e5", "none"}, {"1,000", "none"}, {"1E15+1", "none"}, {"", "none"},    {"+", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(c.text, CalcMode::InputOrder), c.value) << c.text;
        EXPECT_EQ(shown(c.text, CalcMode::Normal), c.value) << c.text;
    }
}

TEST(CalcEvaluator, MalformedParenthesesHaveNoValue) {
    for (const char* text : {"-(2)", "2(3)", "()", "(2)(3)", "2+3)", ")", "(", "(2+)", "2+(3"}) {
        EXPECT_EQ(shown(text, CalcMode::Normal), "none") << text;
        EXPECT_EQ(shown(text, CalcMode::InputOrder), "none") << text;
    }
}

TEST(CalcEvaluator, BlanksAndControlCharactersAnywhereAreIgnored) {
    EXPECT_EQ(StripBlanks("1 2\t+\r\n3\x01\x1B"), "12+3");
    EXPECT_EQ(shown("1 2+3", CalcMode::InputOrder), "15");
    EXPECT_EQ(shown(" ( 2 +\t3 )\r\n* 4 ", CalcMode::InputOrder), "20");
    EXPECT_EQ(shown("   ", CalcMode::Normal), "none");
}

TEST(CalcEvaluator, StripBlanksKeepsDoubleByteCharacters) {
    const std::string fullWidthOne = "１";  // 0x82 0x50
    EXPECT_EQ(StripBlanks(" " + fullWidthOne + " \x7F"), fullWidthOne + "\x7F");
    EXPECT_EQ(shown(fullWidthOne + "+1", CalcMode::Normal), "none");
}

TEST(CalcEvaluator, ScanNumberAdvancesPastWhatItRead) {
    std::size_t pos = 0;
    EXPECT_EQ(ScanNumber("12+3", pos), 12.0);
    EXPECT_EQ(pos, 2u);
    pos = 3;
    EXPECT_EQ(ScanNumber("12+-.5x", pos), -0.5);
    EXPECT_EQ(pos, 6u);
    pos = 0;
    EXPECT_EQ(ScanNumber("+-5", pos), std::nullopt);
    EXPECT_EQ(pos, 1u);  // the sign stays consumed
    pos = 4;
    EXPECT_EQ(ScanNumber("1234", pos), std::nullopt);  // past the end
    pos = 0;
    const std::optional<double> negativeZero = ScanNumber("-0", pos);
    ASSERT_TRUE(negativeZero.has_value());
    EXPECT_TRUE(std::signbit(*negativeZero));
}

TEST(CalcEvaluator, ParseExpressionStopsOnAClosingParenthesis) {
    std::size_t pos = 0;
    EXPECT_EQ(ParseExpression("2+3)*4", pos), 5.0);
    EXPECT_EQ(pos, 3u);
    pos = 0;
    EXPECT_EQ(ParseFactor("(2+3)*4", pos), 5.0);
    EXPECT_EQ(pos, 5u);
}

TEST(CalcEvaluator, DivisionFaultsInBothModes) {
    for (CalcMode mode : {CalcMode::InputOrder, CalcMode::Normal}) {
        EXPECT_EQ(faultOf("5/0", mode), kDivisionByZero);
        EXPECT_EQ(faultOf("-5/0.000", mode), kDivisionByZero);
        EXPECT_EQ(faultOf("0/0", mode), kInvalidOperation);
        EXPECT_EQ(faultOf("0/-0", mode), kInvalidOperation);
        // The fault ends the evaluation where it happens, before the text is seen to be malformed.
        EXPECT_EQ(faultOf("5/0+", mode), kDivisionByZero);
        EXPECT_EQ(faultOf("1+2*", mode), "no fault");
    }
    EXPECT_EQ(faultOf("5/(2-2)", CalcMode::Normal), kDivisionByZero);
    EXPECT_EQ(faultOf("(1-1)/(2-2)", CalcMode::InputOrder), kInvalidOperation);
    EXPECT_EQ(faultOf("1+5/0*3", CalcMode::Normal), kDivisionByZero);
}

TEST(CalcEvaluator, OverflowOfAResultOrOfAKeyedNumber) {
    const std::string e308 = "1" + std::string(308, '0');
    for (CalcMode mode : {CalcMode::InputOrder, CalcMode::Normal}) {
        EXPECT_EQ(faultOf(e308 + "*10", mode), kOverflow);
        EXPECT_EQ(faultOf(e308 + "/0.01", mode), kOverflow);
        EXPECT_EQ(faultOf(e308 + "0", mode), kOverflow);  // 1E309 as keyed
        EXPECT_EQ(faultOf("-" + std::string(400, '9') + ".5", mode), kOverflow);
        EXPECT_EQ(faultOf(e308 + "+" + e308, mode), kOverflow);
        EXPECT_EQ(shown(e308 + "*1.5", mode), "1.5E308");
    }
}

TEST(CalcEvaluator, ResultsTooSmallBecomeZeroSilently) {
    const std::string tiny = "0." + std::string(299, '0') + "1";  // 1E-300
    EXPECT_EQ(shown(tiny + "*" + tiny, CalcMode::Normal), "0");
    EXPECT_EQ(shown("0." + std::string(400, '0') + "1", CalcMode::InputOrder), "0");
    EXPECT_EQ(shown("-0." + std::string(400, '0') + "1+2", CalcMode::InputOrder), "2");
    EXPECT_EQ(Evaluate(tiny + "/1" + std::string(20, '0'), CalcMode::Normal),
              1e-300 / 1e20);  // subnormal
}

TEST(CalcEvaluator, NestingUpToTheBoundHasAValueAndDeeperHasNone) {
    auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '(') + "1+1" +
               std::string(static_cast<std::size_t>(depth), ')');
    };
    EXPECT_EQ(shown(nested(kMaxNesting), CalcMode::Normal), "2");
    EXPECT_EQ(shown(nested(kMaxNesting + 1), CalcMode::Normal), "none");
    // Far deeper than any stack would take if each level recursed.
    EXPECT_EQ(shown(nested(1'000'000), CalcMode::InputOrder), "none");
    EXPECT_EQ(shown(std::string(1'000'000, '('), CalcMode::Normal), "none");
}

TEST(CalcEvaluator, LongExpressionsEvaluateCompletely) {
    std::string sum;
    for (int i = 0; i < 100'000; ++i) sum += "1+";
    sum += "1";
    EXPECT_EQ(shown(sum, CalcMode::InputOrder), "100001");
    EXPECT_EQ(shown(sum, CalcMode::Normal), "100001");

    std::string products = "1";
    for (int i = 0; i < 100'000; ++i) products += "*1+0";
    EXPECT_EQ(shown(products, CalcMode::Normal), "1");

    // The "000" key pressed a hundred thousand times before a 5.
    EXPECT_EQ(shown(std::string(300'000, '0') + "5", CalcMode::InputOrder), "5");
    EXPECT_EQ(shown("2." + std::string(300'000, '0') + "5*2", CalcMode::InputOrder), "4");
}

}  // namespace
}  // namespace orvo::calc
