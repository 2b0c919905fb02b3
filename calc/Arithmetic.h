#pragma once
// The four operations on doubles, with faults checked before and after each
// one instead of relying on floating-point traps.

namespace orvo::calc {

// An operator's code is its place in "+-*/"; 0 for any other character.
enum OperatorCode : int { kNoOperator = 0, kAdd = 1, kSubtract = 2, kMultiply = 3, kDivide = 4 };

OperatorCode operatorCodeOf(char c);

// `a op b`, rounded to a double. Throws the matching fault: division of a
// non-zero value by zero, 0/0, or a result beyond the largest double.
double Apply(OperatorCode op, double a, double b);

}  // namespace orvo::calc
