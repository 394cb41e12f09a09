#pragma once
// The number-to-text rule for every index value shown, printed or sent,
// and the rounding rule used everywhere else. No locale lookups here: the
// caller passes the decimal separator.

#include <cstdint>
#include <string>

namespace sfigmo {

// value rounded to `digits` significant digits (half away from zero, after
// taking the value to 18 significant digits); fixed form when the integer part
// fits in `digits` digits and |value| >= 0.0001 (or value is 0), else
// scientific with at least `minExpDigits` exponent digits. NaN, +inf, -inf
// give "NAN", "INF", "-INF".
std::string FormatGeneral(double value, int digits, int minExpDigits, char decimalSeparator);

// Nearest integer, a half going to the even neighbour, as a double.
double RoundHalfEven(double value);

// RoundHalfEven limited to [lo, hi]; NaN gives lo. Never undefined behaviour,
// whatever the value: use it for every screen position and threshold.
std::int64_t RoundHalfEvenClamped(double value, std::int64_t lo, std::int64_t hi);

}  // namespace sfigmo
