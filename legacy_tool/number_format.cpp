#include "legacy_tool/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vk::legacy {

namespace {

// Decimal exponent of the leading digit.
int Exponent(double v) {
    return v == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(v))));
}

double RoundTo(double v, int decimals) {
    double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

// The C library's formatting follows the process locale, which the toolkit sets from the
// user's; the fields must keep the "." that their parsing reads. An empty result: the
// text would not fit.
std::string Chars(double value, std::chars_format format, int precision) {
    char text[128];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, format, precision);
    if (ec != std::errc())
        return {};
    return std::string(text, end);
}

// "1.2346E+05": the upper-case exponent form of the original.
std::string Scientific(double value, int precision) {
    std::string text = Chars(value, std::chars_format::scientific, precision - 1);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace

std::string FormatFixed(double value, int precision, int decimals) {
    if (!std::isfinite(value))
        return Chars(value, std::chars_format::general, 6);
    precision = std::clamp(precision, 1, 17);
    decimals = std::max(decimals, 0);
    double rounded = value;
    // Rounding may carry into a new leading digit (9.9996 -> 10.000): look again then.
    for (int pass = 0; pass < 2; ++pass) {
        int e = Exponent(rounded);
        if (e >= precision)
            return Scientific(value, precision);
        int keep = precision - e - 1;
        rounded = RoundTo(value, keep < decimals ? keep : decimals);
    }
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.000"
    std::string text = Chars(rounded, std::chars_format::fixed, decimals);
    return text.empty() ? Scientific(value, precision) : text;
}

} // namespace vk::legacy
