#pragma once
// The averaging period: a count of sensor ticks in the configuration record, shown and
// typed in milliseconds. How long a tick is depends on the firmware revision, which
// GetVersion reports.

#include "panels/checked.h"
#include "sensor/records.h"
#include "sensor/sensor_device.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

// The timing base of the connected sensor. Before any version reply it is 1 tick per ms,
// quantum 1 and the format "Unknown version", which shows as that text.
struct TimingBase {
    double ticksPerMs = 1.0;
    std::uint32_t scanQuantum = 1;          // ticks; the period is a whole number of these
    std::string format = "Unknown version"; // printf format of the period in ms

    static TimingBase Of(const SensorDevice& device);
};

// The largest count the sensor takes.
inline constexpr double kMaxAveragingCount = 21474836.47;

// `count` ticks as milliseconds in the timing base's format: 960 ticks at 100 per ms
// with "%2.2f" give "9.60".
std::string AveragingPeriodText(std::uint32_t count, const TimingBase& timing);

// The configuration record to send for the period typed as `text` (milliseconds; text
// that is no number counts as 0): `last` (the last GetConfigVars reply, passed through
// unchanged otherwise) with the count floor(ms x ticks per ms / quantum) x quantum, its
// halves in the order SetConfigVars takes them (low half in the word at 4).
// Refused with "Averaging period must be between 0 and 21474836.47" when that count is
// below 0 or above kMaxAveragingCount; the bound is on the count, not the milliseconds.
Checked<ConfigRecord> CheckAveragingPeriod(std::string_view text, const ConfigRecord& last,
                                           const TimingBase& timing);

} // namespace vk
