#pragma once
// The calculator's expression evaluator. An expression is a CP932 byte string
// as the calculator window keys it (e.g. "12+30*2" or "(1500)*1.05"); its value
// is a double, or none when the text is malformed. Arithmetic faults are not
// "no value": they throw OrvoError (see calc/CalcErrors.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::calc {

// The value equals the index of the mode in the calculator's mode list.
enum class CalcMode : int {
    InputOrder = 0,  // strictly left to right, as on a pocket calculator
    Normal = 1,      // * and / before + and -, parentheses group
};

// Parentheses nested deeper than this make a text have no value, so that the
// recursive parser can never exhaust the stack. Nobody keys this many by hand.
inline constexpr int kMaxNesting = 256;

// Strips blanks, then evaluates with precedence if the mode is Normal or the
// text holds a ")" anywhere (so the tax key's "(...)*1.05" works in both
// modes); otherwise strictly in input order.
std::optional<double> Evaluate(std::string_view text, CalcMode mode);

// Drops every byte with a code of 32 or less (blanks, tabs, line breaks, other
// control characters). The bytes of double-byte characters are all above 32.
std::string StripBlanks(std::string_view text);

// number (op number)*, each operator applied as soon as its right operand is read.
std::optional<double> EvalInputOrder(std::string_view text);

// A whole expression with precedence; a surplus ")" leaves the text without value.
std::optional<double> EvalNormal(std::string_view text);

// An optional sign, digits, an optional ".", digits; at least one digit. Only
// "." is a decimal point; no exponent, no separators. Advances pos past what it
// read, also when it fails. A number beyond the largest double is an overflow
// fault; one too small for a double becomes 0.
std::optional<double> ScanNumber(std::string_view text, std::size_t& pos);

// The sums and differences of products, up to the end or a ")" (pos is left on
// it). `depth` counts the parentheses open around pos.
std::optional<double> ParseExpression(std::string_view text, std::size_t& pos, int depth = 0);

// A number, or an expression in parentheses.
std::optional<double> ParseFactor(std::string_view text, std::size_t& pos, int depth = 0);

}  // namespace orvo::calc
