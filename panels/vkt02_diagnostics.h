#pragma once
// The "Diagnostic" page of the VKT02 (and Rmx Long) panel: ten fixed rows whose names are
// inserted once and whose values are rewritten on every update that got all three
// replies (GetVKT02State, GetLaserPower, GetPeak).

#include "sensor/records.h"

#include <array>
#include <cstdint>
#include <string>

namespace vk {

// The row names from top to bottom; row 8 has no name and is never filled.
inline constexpr std::array<const char*, 10> kVkt02DiagnosticRowNames = {
    "Base pix.", "Sum pix.",    "Num pix.", "Sub pix.", "Scan count",
    "Scanning",  "Laser power", "Peak",     "",         "Range"};

inline constexpr int kVkt02RangeRow = 9;

struct DiagnosticValue {
    int row = 0;
    std::string text;
};

// The value texts of rows 0-7 and 9, in that order: pixel words unsigned, scan count and
// peak signed, "On" for any non-zero scanning word else "Off", the laser power byte, and
// `rangeText` (the state's range word through FormatRange) for row 9.
std::array<DiagnosticValue, 9> Vkt02DiagnosticValues(const Vkt02StateRecord& state,
                                                     std::uint8_t laserPower, std::uint16_t peak,
                                                     const std::string& rangeText);

} // namespace vk
