#include "legacy_tool/number_format.h"

#include <cmath>
#include <cstdio>

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

} // namespace

std::string FormatFixed(double value, int precision, int decimals) {
    char text[64];
    if (!std::isfinite(value)) {
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    if (precision < 1)
        precision = 1;
    if (decimals < 0)
        decimals = 0;
    double rounded = value;
    // Rounding may carry into a new leading digit (9.9996 -> 10.000): look again then.
    for (int pass = 0; pass < 2; ++pass) {
        int e = Exponent(rounded);
        if (e >= precision) {
            std::snprintf(text, sizeof text, "%.*E", precision - 1, value);
            return text;
        }
        int keep = precision - e - 1;
        rounded = RoundTo(value, keep < decimals ? keep : decimals);
    }
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.000"
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
    return text;
}

} // namespace vk::legacy
