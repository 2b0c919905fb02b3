#include "calc/Arithmetic.h"

#include <cmath>
#include <stdexcept>

#include "calc/CalcErrors.h"

namespace orvo::calc {

OperatorCode operatorCodeOf(char c) {
    switch (c) {
        case '+':
            return kAdd;
        case '-':
            return kSubtract;
        case '*':
            return kMultiply;
        case '/':
            return kDivide;
        default:
            return kNoOperator;
    }
}

double Apply(OperatorCode op, double a, double b) {
    double result = 0;
    switch (op) {
        case kAdd:
            result = a + b;
            break;
        case kSubtract:
            result = a - b;
            break;
        case kMultiply:
            result = a * b;
            break;
        case kDivide:
            if (b == 0) throw a == 0 ? invalidFloatOperation() : floatDivisionByZero();
            result = a / b;
            break;
        case kNoOperator:
            throw std::logic_error("calc: no operator");
    }
    // Operands are always finite, so a non-finite result can only be an overflow.
    if (!std::isfinite(result)) throw floatOverflow();
    return result;
}

}  // namespace orvo::calc
