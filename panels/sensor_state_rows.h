#pragma once
// The rows of the single-list panel that the VKT04, Rmx Short and Vezir Orududu share:
// eight fixed rows filled from the sensor state (GetSensorState, or the first seven words
// of GetBoardFlipperState).

#include "panels/vkt02_diagnostics.h"
#include "sensor/records.h"

#include <array>
#include <string>

namespace vk {

// The row names from top to bottom; row 6 has no name and is never filled.
inline constexpr std::array<const char*, 8> kSensorStateRowNames = {
    "Base pix.", "Sum pix.", "Num pix.", "Sub pix.", "Laser power", "Peak", "", "Range"};

inline constexpr int kSensorStateRangeRow = 7;

// The value texts of rows 0-5 and 7, in that order: the pixel words, laser power and
// peak as unsigned decimals, and `rangeText` (the range word through FormatRange).
std::array<DiagnosticValue, 7> SensorStateValues(const SensorStateRecord& state,
                                                 const std::string& rangeText);

} // namespace vk
