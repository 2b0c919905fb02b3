#include "calc/Evaluator.h"

#include "calc/Arithmetic.h"

namespace orvo::calc {

namespace {

bool isCharAt(std::string_view text, std::size_t pos, char c) {
    return pos < text.size() && text[pos] == c;
}

bool isProductOperatorAt(std::string_view text, std::size_t pos) {
    return isCharAt(text, pos, '*') || isCharAt(text, pos, '/');
}

}  // namespace

std::optional<double> Evaluate(std::string_view text, CalcMode mode) {
    const std::string stripped = StripBlanks(text);
    if (mode == CalcMode::Normal || stripped.find(')') != std::string::npos)
        return EvalNormal(stripped);
    return EvalInputOrder(stripped);
}

std::string StripBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (static_cast<unsigned char>(c) > 32) out += c;
    }
    return out;
}

std::optional<double> EvalInputOrder(std::string_view text) {
    std::size_t pos = 0;
    std::optional<double> acc = ScanNumber(text, pos);
    if (!acc) return std::nullopt;
    while (pos < text.size()) {
        const OperatorCode op = operatorCodeOf(text[pos]);
        if (op == kNoOperator) return std::nullopt;
        ++pos;
        const std::optional<double> v = ScanNumber(text, pos);
        if (!v) return std::nullopt;
        acc = Apply(op, *acc, *v);
    }
    return acc;
}

std::optional<double> EvalNormal(std::string_view text) {
    std::size_t pos = 0;
    const std::optional<double> result = ParseExpression(text, pos);
    if (!result || pos < text.size()) return std::nullopt;
    return result;
}

std::optional<double> ParseExpression(std::string_view text, std::size_t& pos, int depth) {
    std::optional<double> acc = ParseFactor(text, pos, depth);
    if (!acc) return std::nullopt;
    while (pos < text.size() && text[pos] != ')') {
        const OperatorCode op = operatorCodeOf(text[pos]);
        if (op == kNoOperator) return std::nullopt;
        ++pos;
        std::optional<double> v = ParseFactor(text, pos, depth);
        if (!v) return std::nullopt;
        if (op == kAdd || op == kSubtract) {
            // The products that follow bind tighter than this sum.
            while (isProductOperatorAt(text, pos)) {
                const OperatorCode op2 = operatorCodeOf(text[pos]);
                ++pos;
                const std::optional<double> w = ParseFactor(text, pos, depth);
                if (!w) return std::nullopt;
                v = Apply(op2, *v, *w);
            }
        }
        acc = Apply(op, *acc, *v);
    }
    return acc;
}

std::optional<double> ParseFactor(std::string_view text, std::size_t& pos, int depth) {
    if (!isCharAt(text, pos, '(')) return ScanNumber(text, pos);
    if (depth >= kMaxNesting) return std::nullopt;
    ++pos;
    const std::optional<double> v = ParseExpression(text, pos, depth + 1);
    if (!v || !isCharAt(text, pos, ')')) return std::nullopt;
    ++pos;
    return v;
}

}  // namespace orvo::calc
