#pragma once
// The VKT02 (and Rmx Long) settings dialog's command sequences without the dialog: the
// reload that reads every setting and what each write button sends. The dialog and
// vkctl both run these, so a setting goes out the same way from either.

#include "panels/settings_common.h"
#include "panels/vkt02_settings.h"

#include <optional>
#include <string_view>

namespace vk {

class SensorDevice;

// Sends GetSensorSetup, GetMinLP, GetMaxLP, GetAnalogFactors and GetConfigVars. When all
// answered, the sensor's own address (setup byte 8) becomes the address `sensor` talks
// to and the settings are returned, ranges in the mode the setup names for `type`. The
// first failure (logged by the command) returns nothing and changes nothing.
std::optional<Vkt02Settings> ReadVkt02Settings(SensorDevice& sensor, ModelType type);

// "Set Mode" -> SetMode with ModeWord(settings.modeNumber).
WriteOutcome WriteVkt02Mode(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Min." / "Set Max" -> SetMinLP / SetMaxLP after CheckMin/MaxLaserPower.
WriteOutcome WriteVkt02MinLaserPower(SensorDevice& sensor, const Vkt02Settings& settings);
WriteOutcome WriteVkt02MaxLaserPower(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Threshold" -> SetThreshold after CheckThreshold.
WriteOutcome WriteVkt02Threshold(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Scan Int." -> SetScanInterval with ScanIntervalWord.
WriteOutcome WriteVkt02ScanInterval(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Scan Filter Variables" -> SetFilterFactors with FilterFactorsFrom.
WriteOutcome WriteVkt02FilterFactors(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Laser" -> SetLaserOn or SetLaserOff as settings.laserOn says.
WriteOutcome WriteVkt02Laser(SensorDevice& sensor, const Vkt02Settings& settings);
// "Set Range offset" -> SetOffset after CheckRangeOffset in the mode of the mode box
// (settings.modeNumber for `type`), which may not have been sent yet.
WriteOutcome WriteVkt02RangeOffset(SensorDevice& sensor, const Vkt02Settings& settings,
                                   ModelType type);
// "Set Analog Factors" -> SetAnalogOuputFactors after CheckAnalogFactors, mode as above.
WriteOutcome WriteVkt02AnalogFactors(SensorDevice& sensor, const Vkt02Settings& settings,
                                     ModelType type);
// "Averaging Period" -> SetConfigVars after CheckAveragingPeriod. The record goes back
// whole, so when `configRead` is false (no GetConfigVars answered since the sensor was
// set) it is read first; if that fails nothing is written (Nothing: no reload either)
// rather than a record of zeros over the sensor's other configuration words.
WriteOutcome WriteVkt02AveragingPeriod(SensorDevice& sensor, const Vkt02Settings& settings,
                                       bool configRead);

} // namespace vk
