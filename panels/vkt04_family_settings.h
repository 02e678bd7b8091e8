#pragma once
// What the settings dialogs of the VKT04 family (VKT04, Rmx Short, Vezir Orududu) share:
// the laser power limits, threshold and analog output values their setup record carries,
// and the buttons that write them one at a time. The models differ only in how strictly
// the buttons check what is typed (Vkt04FamilyRules).
//
// Every write takes the texts as typed and the sensor, sends nothing when it refuses,
// and tells the caller what happened (WriteOutcome); the caller reloads after a write
// that went out.

#include "panels/settings_common.h"
#include "sensor/records.h"

#include <string>
#include <string_view>

namespace vk {

class SensorDevice;
struct RangeMode;

// The entry-field texts of the VKT04 setup record.
struct Vkt04FamilyTexts {
    std::string minLaserPower;   // "%d"
    std::string maxLaserPower;   // "%d"
    std::string threshold;       // "%d"
    std::string minRange;        // plain format of the mode, of the unsigned word / factor
    std::string maxRange;        // same
    std::string voltsAtMinRange; // "%3.3f" of the unsigned millivolt word
    std::string voltsAtMaxRange; // same
    std::string voltsOutOfRange; // same
};

// The texts of `setup`, ranges shown in `mode`. Every word is read unsigned, so a range
// word of 0x8000 or more shows as a large positive value.
Vkt04FamilyTexts Vkt04FamilyTextsFrom(const Vkt04SetupRecord& setup, const RangeMode& mode);

// The pairs "Min. Laser Power", "Max. Laser Power", "Threshold", "Min. Range",
// "Max. Range", "Min. Volts", "Max. Volts", "Out of Range" appended to `rows`.
void AppendVkt04FamilyRows(const Vkt04FamilyTexts& texts, SettingsRows& rows);

// How a model checks what its shared buttons send.
struct Vkt04FamilyRules {
    // false: every value goes out as typed, integers in their low bits (Rmx Short).
    bool checksValues = true;
    // Refusals of laser powers outside 0-254 and thresholds outside 0-255.
    const char* minLaserPowerRefusal = "";
    const char* maxLaserPowerRefusal = "";
    const char* thresholdRefusal = "";
};

inline constexpr Vkt04FamilyRules kVkt04Rules{true, "Min laser power must be between 0 and 255",
                                              "Max laser power must be between 0 and 254",
                                              "Threshold must be between 0 and 255"};
inline constexpr Vkt04FamilyRules kRmxShortRules{false};
inline constexpr Vkt04FamilyRules kVezirOrududuRules{
    true, "Min laser power must be between 0 and 254", "Max laser power must be between 0 and 254",
    "Thresholdmust be between 0 and 255"};

// "Set Min LP" -> SetMinLP. Checked: a signed decimal integer from 0 to 254 (although the
// VKT04's refusal names 255); unchecked: the unsigned decimal integer's low 8 bits
// (300 goes out as 44).
WriteOutcome WriteMinLaserPower(SensorDevice& sensor, std::string_view text,
                                const Vkt04FamilyRules& rules);
// "Set Max LP" -> SetMaxLP, as WriteMinLaserPower.
WriteOutcome WriteMaxLaserPower(SensorDevice& sensor, std::string_view text,
                                const Vkt04FamilyRules& rules);
// "Set Threshold" -> SetThreshold: checked 0 to 255, else as WriteMinLaserPower.
WriteOutcome WriteThreshold(SensorDevice& sensor, std::string_view text,
                            const Vkt04FamilyRules& rules);

// The five analog output values, each with its own button and command.
enum class AnalogOutputValue {
    MinRange,        // "Min. Range" -> SetAnalogMinRange
    MaxRange,        // "Max. Range" -> SetAnalogMaxRange
    VoltsAtMinRange, // "Volts @ Minumum" -> SetAnalogMinVolts
    VoltsAtMaxRange, // "Volts @ Maximum" -> SetAnalogMaxVolts
    VoltsOutOfRange, // "Volts outside" -> SetAnalogOutOfRange
};

// One analog output value: a range is text x factor of `mode`, truncated (checked: it
// must lie within `mode`'s limits, else RangeLimitsRefusal(mode)); a voltage is text x
// 1000 millivolts, truncated, never checked. Words are taken modulo 2^16.
WriteOutcome WriteAnalogOutputValue(SensorDevice& sensor, AnalogOutputValue value,
                                    std::string_view text, const RangeMode& mode,
                                    const Vkt04FamilyRules& rules);

// "Set Mode" -> SetVKT04Mode with the mode box's row; nothing at all when no row is
// selected (`modeNumber` -1).
WriteOutcome WriteVkt04Mode(SensorDevice& sensor, int modeNumber);

} // namespace vk
