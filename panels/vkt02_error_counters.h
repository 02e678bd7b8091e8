#pragma once
// The "Sensor errors" page of the VKT02 (and Rmx Long) panel: the sensor's event and
// error counters and whether it holds a calibration, as six rows.

#include "panels/vkt02_diagnostics.h"
#include "sensor/records.h"

#include <array>

namespace vk {

// The row names from top to bottom, spelt as the technicians know them.
inline constexpr std::array<const char*, 6> kVkt02ErrorRowNames = {
    "PowerUp count",     "Callibration status", "Reset count",
    "Illegal opertions", "Command errors",      "Checksum/CRC errors"};

// The values of the six rows: the counters as signed numbers (a counter past 32767 shows
// negative), and "Callibration OK" for the marker 0x5555, else "No Callibration".
std::array<DiagnosticValue, 6> Vkt02ErrorValues(const ErrorStateRecord& errors);

} // namespace vk
