#pragma once
// The Vezir Orududu settings dialog's values and what its own buttons send: the range
// mode, the wane variables with the board time-out, and the laser. The shared laser
// power, threshold and analog output buttons are in vkt04_family_settings.h
// (kVezirOrududuRules).

#include "panels/vkt04_family_settings.h"
#include "sensor/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk {

class SensorDevice;

struct WaneTexts {
    std::string minWaneHeight; // plain format of the sensor's mode, of the unsigned word / factor
    std::string minWaneWidth;  // same
    std::string pulseDuration; // "%d" ms
    std::string conveyerSpeed; // "%d" mm/s
    std::string boardTimeout;  // "%d" ms
};

struct Vkt04BfSettings {
    Vkt04FamilyTexts texts;
    WaneTexts wane;
    int modeNumber = 0;          // row of the mode box; -1 when none is selected
    std::uint8_t sensorMode = 0; // the setup's mode byte at the last reload
};

// The mode box's two fixed texts.
inline constexpr std::array<const char*, 2> kVkt04BfModeBoxItems = {
    "0:  From 00.000 to  8.000 inch", "1:  From 00.00 to  200.00 mm"};

// Sends GetVKT04Setup, ReadWaneParams and GetBoardTimeout. When all three answered, the
// sensor's own address (setup byte 11) becomes the address `sensor` talks to, and the
// settings are returned, ranges and wane sizes shown in the mode of setup byte 27. The
// first failure (logged by the command) returns nothing and changes nothing.
std::optional<Vkt04BfSettings> ReadVkt04BfSettings(SensorDevice& sensor);

// Clears `names` and `values` and fills them with the fifteen pairs of the "System:" bar:
// "Mode", the shared rows, a separator whose name and value are one space each, "Min
// Wane Height", "Min Wane Width", "Pulse duration", "Conveyer Speed", "Board timeout".
void FillVkt04BfSettingsList(const Vkt04BfSettings& settings, std::vector<std::string>& names,
                             std::vector<std::string>& values);

// The wane record "Set Wane Variables" sends: the sizes as typed x the factor of the
// sensor's mode at the last reload (1000 for mode 0, else 100; the mode box does not
// matter), truncated; speed and pulse duration as unsigned decimal integers (low 16
// bits); bytes 6 to 9 as `lastRead` holds them.
WaneRecord WaneRecordFrom(const Vkt04BfSettings& settings, const WaneRecord& lastRead);

// "Set Wane Variables": WriteWaneParams with WaneRecordFrom, then SetBoardTimeout with
// the board time-out as an unsigned decimal integer (low 16 bits), whatever the first
// did. The record's bytes 6 to 9 are the sensor's own: when `recordRead` is false (the
// record has not been read from this sensor) ReadWaneParams goes first, and if that
// fails no record is written rather than one with bytes the sensor never had.
WriteOutcome WriteWaneVariables(SensorDevice& sensor, const Vkt04BfSettings& settings,
                                bool recordRead);

} // namespace vk
