#pragma once
// What the VKT02 (and Rmx Long) settings dialog holds apart from its controls: one text
// per entry field, the mode and order numbers and the laser switch, filled from the
// sensor's last replies. The dialog copies these into and out of its controls; the
// "System:" bar lists them through FillVkt02SettingsList, so both show the same thing.

#include "panels/averaging_period.h"
#include "sensor/model_table.h"
#include "sensor/reply_store.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// The sixteen entry-field texts.
struct Vkt02SettingsTexts {
    std::string rangeOffset;     // "%2.3f" of raw / factor of the sensor's mode
    std::string multiplier;      // "%3.3f"
    std::string cosine;          // "%3.4f"
    std::string minLaserPower;   // "%d"
    std::string maxLaserPower;   // "%d"
    std::string minRange;        // plain format of the sensor's mode
    std::string maxRange;        // plain format of the sensor's mode
    std::string voltsAtMinRange; // "%3.3f" volts
    std::string voltsAtMaxRange; // "%3.3f" volts
    std::string offsetVoltage;   // "%3.3f" volts
    std::string voltsOutOfRange; // "%3.3f" volts
    std::string dropout;         // "%d" of the signed word
    std::string smooth;          // "%d" of the signed word
    std::string scanInterval;    // "%d" of the signed word
    std::string threshold;       // "%d"
    std::string averagingPeriod; // milliseconds in the timing base's format
};

struct Vkt02Settings {
    Vkt02SettingsTexts texts;
    int modeNumber = 0;      // row of the mode box; -1 when none is selected
    std::uint16_t order = 0; // order factor; need not be one of the order box's items
    bool laserOn = false;
};

// The settings as the last GetSensorSetup, GetMinLP, GetMaxLP, GetAnalogFactors and
// GetConfigVars replies in `replies` give them. Ranges are shown in the mode the setup
// record names, looked up for model type `type`. The sensor address (setup byte 8) is
// not part of it: the dialog adopts replies.sensorSetup.address itself.
Vkt02Settings Vkt02SettingsFromReplies(const ReplyStore& replies, ModelType type,
                                       const TimingBase& timing);

// Clears `names` and `values` and fills them with the nineteen pairs of the "System:"
// bar, in their order: "Laser", "Mode" (the description of the range mode
// `settings.modeNumber` for `type`), "Scan Interval", ..., "Averaging Period(ms)"; the
// values are the settings' texts. Shaped for CCustomSettingsDlg::GetSettingsList.
void FillVkt02SettingsList(const Vkt02Settings& settings, ModelType type,
                           std::vector<std::string>& names, std::vector<std::string>& values);

// The mode box: descriptions of modes 0-15 of the family of `type`.
std::vector<std::string> Vkt02ModeBoxItems(ModelType type);

// The order box: its items' texts are their item data.
inline constexpr std::array<std::uint16_t, 10> kOrderBoxItems = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19};

// The row of the order box for `order`, or -1 when no row holds it (the box then shows
// no selection and the order is sent back as the sensor reported it).
int OrderBoxRow(std::uint16_t order);

// The laser box: row 0 "On", row 1 "Off".
inline constexpr std::array<const char*, 2> kLaserBoxItems = {"On", "Off"};

} // namespace vk
