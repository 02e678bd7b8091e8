#include "panels/poll_rows.h"

namespace vk {

PollSample SampleFromRows(std::chrono::system_clock::time_point time,
                          std::span<const char* const> rowNames,
                          std::span<const DiagnosticValue> values, int rangeRow, RangeReading range,
                          double peak, double laserPower) {
    PollSample sample;
    sample.time = time;
    for (const DiagnosticValue& value : values) {
        if (value.row == rangeRow || value.row < 0 ||
            static_cast<std::size_t>(value.row) >= rowNames.size() || !*rowNames[value.row])
            continue;
        sample.columns.push_back({rowNames[value.row], value.text});
    }
    sample.range = std::move(range);
    sample.peak = peak;
    sample.laserPower = laserPower;
    return sample;
}

} // namespace vk
