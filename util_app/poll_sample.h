#pragma once
// PollSample: what one successful poll of a model panel read, as the trend plot and the
// CSV recorder take it. The panel builds it from the values its list shows; nothing is
// asked of the sensor for it.

#include "util_app/range_modes.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vk {

struct PollColumn {
    std::string name;
    std::string text;
};

struct PollSample {
    std::chrono::system_clock::time_point time;
    // The panel's values in list order, the range excepted (it is `range`).
    std::vector<PollColumn> columns;
    RangeReading range;
    std::optional<double> peak;
    std::optional<double> laserPower;
};

} // namespace vk
