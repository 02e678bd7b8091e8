#pragma once
// The sample a panel hands to the trend and the recorder after a poll, built from the
// same values its list shows.

#include "panels/vkt02_diagnostics.h"
#include "util_app/poll_sample.h"

#include <span>

namespace vk {

// Every value under its row's name in `rowNames` (rows without a name and `rangeRow`
// left out), in the order given, then `range`, `peak` and `laserPower`.
PollSample SampleFromRows(std::chrono::system_clock::time_point time,
                          std::span<const char* const> rowNames,
                          std::span<const DiagnosticValue> values, int rangeRow, RangeReading range,
                          double peak, double laserPower);

} // namespace vk
