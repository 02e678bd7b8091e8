#pragma once
// Numbers as the setup tool shows them: fixed-point text with a given number of decimals
// after rounding to at most a given number of significant digits.

#include <string>

namespace vk::legacy {

// `value` rounded (half away from zero) to at most `precision` significant digits and
// shown with exactly `decimals` decimals: FormatFixed(12.3456, 5, 3) is "12.346",
// FormatFixed(0.6, 10, 2) "0.60". A value with more integer digits than `precision` is
// shown in exponent form ("1.2346E+05"). The decimal point is "." whatever the locale.
std::string FormatFixed(double value, int precision, int decimals);

} // namespace vk::legacy
