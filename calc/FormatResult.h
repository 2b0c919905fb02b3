#pragma once
// The calculator display's form of a result.

#include <string>
#include <string_view>

namespace orvo::calc {

// The general format with 15 significant digits: fixed notation for
// 0.0001 <= |value| < 1E15 ("1295.7", "0.0001", "-2.5"), exponent notation
// otherwise ("1E15", "1E-5", "1.23456789012346E20"); no "+" and no leading
// zeros in the exponent. Zero, also negative zero, is "0". The value's exact
// binary value is rounded; a value exactly halfway between two 15-digit
// results goes away from zero, as in rounding half up by hand. The decimal
// point is always ".", so that a shown result can be keyed on from.
std::string FormatResult(double value);

// A shown result as a whole number of yen, for an amount cell: the fraction
// rounded half away from zero (四捨五入), "333.333333333333" -> "333",
// "2.5" -> "3"; a value below 1E-4 in size is "0". A whole number, and a
// result of 1E15 or more, stays as shown.
std::string WholeYen(std::string_view shown);

}  // namespace orvo::calc
