#include "legacy_tool/sensor_modes.h"

#include "legacy_tool/number_format.h"

#include <array>
#include <cstring>

namespace vk::legacy {

namespace {

constexpr const char* kInch = "\"";
constexpr int kRangePrecision = 5;

constexpr std::array<SensorModeRow, kSensorModes> kModes{{
    {"00.000", kInch, "+32.000", 1000, 3, 0.0, 32.0, "(in)"},
    {"00.000", kInch, "-32.000", 1000, 3, 0.0, -32.0, "(in)"},
    {"0000.0", "mm", "+3200.0", 10, 1, 0.0, 3200.0, "(mm)"},
    {"0000.0", "mm", "-3200.0", 10, 1, 0.0, -3200.0, "(mm)"},
    {"000.00", kInch, "+320.00", 100, 2, 0.0, 320.0, "(in)"},
    {"000.00", kInch, "-320.00", 100, 2, 0.0, -320.0, "(in)"},
    {"00.000", "m", "+32.000", 1000, 3, 0.0, 32.0, "(m)"},
    {"00.000", "m", "-32.000", 1000, 3, 0.0, -32.0, "(m)"},
    {"0.0000", kInch, "+3.2000", 10000, 4, 0.0, 3.2, "(in)"},
    {"0.0000", kInch, "-3.2000", 10000, 4, 0.0, -3.2, "(in)"},
    {"000.00", "mm", "+320.00", 100, 2, 0.0, 320.0, "(mm)"},
    {"000.00", "mm", "-320.00", 100, 2, 0.0, -320.0, "(mm)"},
    {"000.00", "ft", "+266.00", 100, 2, 0.0, 266.0, "(ft)"},
    {"000.00", "ft", "-266.00", 100, 2, 0.0, -266.0, "(ft)"},
    {"000.00", "m", "+320.00", 100, 2, 0.0, 320.0, "(m)"},
    {"000.00", "m", "-320.00", 100, 2, 0.0, -320.0, "(m)"},
}};

// Raw counts, for a sensor reporting a mode this tool has no row for.
constexpr SensorModeRow kUnknownMode{"", "", "", 1, 0, 0.0, 32767.0, ""};

} // namespace

bool IsKnownMode(int mode) {
    return mode >= 0 && mode < kSensorModes;
}

const SensorModeRow& ModeRow(int mode) {
    return IsKnownMode(mode) ? kModes[static_cast<std::size_t>(mode)] : kUnknownMode;
}

std::string ModeDescription(int mode) {
    const SensorModeRow& row = ModeRow(mode);
    std::string text = row.startText;
    text += row.unit;
    if (std::strlen(row.unit) == 1)
        text += ' ';
    text += " => ";
    text += row.endText;
    text += row.unit;
    return text;
}

std::vector<std::string> ModeDescriptions() {
    std::vector<std::string> all;
    for (int m = 0; m < kSensorModes; ++m)
        all.push_back(ModeDescription(m));
    return all;
}

std::string FormatRangeValue(double raw, int mode) {
    return FormatRangeUnits(raw / ModeRow(mode).scale, mode);
}

std::string FormatRangeUnits(double units, int mode) {
    return FormatFixed(units, kRangePrecision, ModeRow(mode).decimals);
}

} // namespace vk::legacy
