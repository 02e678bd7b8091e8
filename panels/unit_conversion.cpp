#include "panels/unit_conversion.h"

#include "util_app/range_modes.h"

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

constexpr double kSnapTolerance = 1e-9;

double Snapped(double product) {
    const double whole = std::nearbyint(product);
    if (std::fabs(product - whole) <= kSnapTolerance * std::max(1.0, std::fabs(product)))
        return whole;
    return product;
}

} // namespace

double TruncateNearWhole(double product) {
    return std::trunc(Snapped(product));
}

double FloorNearWhole(double product) {
    return std::floor(Snapped(product));
}

std::uint16_t WrapToWord(double whole) {
    if (!std::isfinite(whole))
        return 0;
    double low = std::fmod(std::trunc(whole), 65536.0); // exact for every double
    if (low < 0)
        low += 65536.0;
    return static_cast<std::uint16_t>(low);
}

std::uint16_t MillivoltWord(double volts) {
    return WrapToWord(TruncateNearWhole(volts * 1000.0));
}

std::uint16_t RangeWord(double value, const RangeMode& mode) {
    return WrapToWord(TruncateNearWhole(value * mode.factor));
}

std::string RangeText(double raw, const RangeMode& mode) {
    return FormatValue(mode.plainFormat, raw / mode.factor);
}

std::string SignedWordText(std::uint16_t word) {
    return std::to_string(static_cast<std::int16_t>(word));
}

std::string VoltsText(std::uint16_t millivolts) {
    return FormatValue("%3.3f", static_cast<std::int16_t>(millivolts) * 0.001);
}

std::string UnsignedVoltsText(std::uint16_t millivolts) {
    return FormatValue("%3.3f", millivolts * 0.001);
}

} // namespace vk
