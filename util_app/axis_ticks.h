#pragma once
// Where a plot puts the tick marks of an axis: on round steps (1, 2 or 5 times a power of
// ten), so that a technician reads the values off at a glance.

#include <string>

namespace vk {

struct AxisTicks {
    double first = 0; // the lowest tick, a whole multiple of step at or below the range
    double step = 1;  // 1, 2 or 5 x 10^n
    int count = 2;    // ticks from first in steps of step; the last is at or above the range
    int decimals = 0; // digits after the point that the step needs

    double Last() const { return first + step * (count - 1); }
    double At(int i) const;
};

// Round ticks covering `low` to `high` with at most `maxIntervals` steps between the first
// and the last (at least 1). An empty range (low == high) gets a step around its value;
// reversed bounds are swapped; bounds that are not finite give 0 to 1.
AxisTicks RoundTicks(double low, double high, int maxIntervals);

// `value` with `decimals` digits after the point, and never "-0".
std::string TickLabel(double value, int decimals);

} // namespace vk
