#pragma once
// The "Scan Buffer" page of the VKT02 (and Rmx Long) panel: the six rows of the scan
// statistics the sensor computes, and how many ranges the scan buffer reader is offered.

#include "panels/vkt02_diagnostics.h"
#include "sensor/records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vk {

// The row names from top to bottom; the second begins with a space.
inline constexpr std::array<const char*, 6> kVkt02ScanStatisticsRowNames = {
    "Scans count",     " High scan number", "High scan value",
    "Low scan number", "Low scan value",    "Average scan value"};

// The values of the six rows: the polled scan count and the two scan numbers signed, the
// three ranges through `formatRange`.
std::array<DiagnosticValue, 6>
Vkt02ScanStatisticsValues(std::uint16_t scanCount, const HlaResultRecord& result,
                          const std::function<std::string(std::uint16_t)>& formatRange);

// The ranges the reader is offered for a polled scan count: the count, taken as unsigned,
// when it is at most 8192, else 8192.
int ReaderRangesForScanCount(std::uint16_t scanCount);

} // namespace vk
