#include "util_app/axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace vk {

double AxisTicks::At(int i) const {
    const double value = first + step * i;
    // first + i * step misses zero by a rounding error now and then.
    return std::fabs(value) < step * 1e-9 ? 0.0 : value;
}

AxisTicks RoundTicks(double low, double high, int maxIntervals) {
    if (!std::isfinite(low) || !std::isfinite(high))
        return {};
    if (low > high)
        std::swap(low, high);
    maxIntervals = std::max(1, maxIntervals);
    double span = high - low;
    if (span <= 0) {
        span = std::fabs(low) > 0 ? std::fabs(low) * 0.1 : 1.0;
        low -= span / 2;
        high += span / 2;
    }
    AxisTicks ticks;
    // The smallest round step that covers the span in the intervals allowed; a span that
    // straddles a step boundary may need the next one up.
    const double raw = span / maxIntervals;
    double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (int attempt = 0; attempt < 8; ++attempt) {
        for (double nice : {1.0, 2.0, 5.0, 10.0}) {
            const double step = nice * magnitude;
            if (step < raw * (1 - 1e-12))
                continue;
            const double first = std::floor(low / step + 1e-9) * step;
            const double last = std::ceil(high / step - 1e-9) * step;
            const int intervals = static_cast<int>(std::lround((last - first) / step));
            if (intervals > maxIntervals)
                continue;
            ticks.first = first;
            ticks.step = step;
            ticks.count = std::max(intervals, 1) + 1;
            ticks.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
            return ticks;
        }
        magnitude *= 10;
    }
    return ticks;
}

std::string TickLabel(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 12);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string label = text;
    // A value that rounds to zero from below prints as "-0.0".
    if (label.find_first_not_of("-0.") == std::string::npos && label.front() == '-')
        label.erase(0, 1);
    return label;
}

} // namespace vk
