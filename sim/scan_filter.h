#pragma once
// What a simulated sensor does with the ranges a scan run collected: ApplyScanFilter
// rewrites them with the filter factors of its setup, HLAScanResult describes them.
// Ranges are signed 16-bit; 0x8000 marks a scan without a valid range.

#include "sim/sensor_state.h"

#include <cstdint>

namespace vk::sim {

inline constexpr std::uint16_t kNoRange = 0x8000;

// Filters the first `state.scanCount` samples of the buffer in three passes:
// - dropouts: a run of out-of-range scans no longer than the dropout factor, after a
//   valid range, takes that range; longer runs stay out of range;
// - order: every valid range becomes the median of the valid ranges among the `order`
//   scans centred on it (an even order counts as the odd number below it; 1 or less
//   leaves the ranges, more than 19 counts as 19);
// - smooth: every valid range moves from the filtered range before it toward its own by
//   100 - smooth percent (0 leaves it, 100 and more holds the first range).
void FilterScanBuffer(SensorState& state);

struct ScanStatistics {
    std::uint16_t highest = kNoRange;
    std::uint16_t highestScan = 0;
    std::uint16_t lowest = kNoRange;
    std::uint16_t lowestScan = 0;
    std::uint16_t average = kNoRange;
};

// The highest and lowest valid range of the first `state.scanCount` samples with the
// number of the scan that gave each (counted from 0, the first of equal ones), and their
// average rounded toward zero. Without a valid range all three ranges are kNoRange.
ScanStatistics DescribeScanBuffer(const SensorState& state);

} // namespace vk::sim
