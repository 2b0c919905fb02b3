#pragma once
// The arithmetic faults of the calculator, with the runtime's message texts.

#include "base/OrvoError.h"

namespace orvo::calc {

// A non-zero value divided by zero.
OrvoError floatDivisionByZero();
// Zero divided by zero.
OrvoError invalidFloatOperation();
// A result, or a keyed number, beyond the largest double.
OrvoError floatOverflow();

}  // namespace orvo::calc
