#pragma once
// The VKT04 settings dialog's values and what its own buttons send: the range mode (two
// modes) and the hold-last-valid-range feature with its number of scans. The shared
// laser power, threshold and analog output buttons are in vkt04_family_settings.h.

#include "panels/vkt04_family_settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class SensorDevice;

struct Vkt04Settings {
    Vkt04FamilyTexts texts;
    std::string holdScans;      // "%d" of the GetNumHoldScans word, unsigned
    int modeNumber = 0;         // row of the mode box; -1 when none is selected
    bool holdLastValid = false; // the "Enable" box
};

// The mode box: the descriptions of modes 0 and 1 of the VKT04's range-mode table.
std::vector<std::string> Vkt04ModeBoxItems();

// Sends GetVKT04Setup, then GetNumHoldScans. When both answered, the sensor's own address
// (setup byte 11) becomes the address `sensor` talks to, and the settings are returned,
// ranges shown in the mode of setup byte 27. The first failure (logged by the command)
// returns nothing and changes nothing.
std::optional<Vkt04Settings> ReadVkt04Settings(SensorDevice& sensor);

// Clears `names` and `values` and fills them with the eleven pairs of the "System:" bar:
// "Mode" (the description of the mode), the shared rows, "Hold Last Valid Range"
// ("Enabled" or "Disabled") and "Max samples to hold last range".
void FillVkt04SettingsList(const Vkt04Settings& settings, std::vector<std::string>& names,
                           std::vector<std::string>& values);

// "Enable", on every click -> SetOutOfRangeMode: 1 when the box is now ticked, else 0.
WriteOutcome WriteHoldLastValidRange(SensorDevice& sensor, bool on);

// "Max # dropouts" -> SetNumHoldScans: the text as a decimal number, truncated, modulo
// 2^16 (no number, or none a word can hold, never reaches the conversion unwrapped).
WriteOutcome WriteHoldScans(SensorDevice& sensor, std::string_view text);

} // namespace vk
