#pragma once
// The sensor's range modes as the setup tool knows them: how raw range counts become a
// value in the mode's unit, the description each mode has in the mode list, and the
// bounds the range fields are checked against.

#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr int kSensorModes = 16;

struct SensorModeRow {
    const char* startText;
    const char* unit; // "\"" is the inch sign
    const char* endText;
    int scale; // raw counts per unit
    int decimals;
    double firstBound;
    double secondBound; // negative for the odd (negative-direction) modes
    const char* unitLabel;
};

// The row of `mode`. A mode the table does not know (above 15) gets a row that shows raw
// counts and no unit label of its own.
const SensorModeRow& ModeRow(int mode);
bool IsKnownMode(int mode);

// The list text of a mode: `00.000"  => +32.000"`, "0000.0mm => +3200.0mm".
std::string ModeDescription(int mode);
// The 16 descriptions in mode order.
std::vector<std::string> ModeDescriptions();

// A range value of `mode` as text, from raw counts or from a value already in units:
// raw / scale with the mode's decimals and at most 5 significant digits.
std::string FormatRangeValue(double raw, int mode);
std::string FormatRangeUnits(double units, int mode);

} // namespace vk::legacy
