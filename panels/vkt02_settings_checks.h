#pragma once
// What each write button of the VKT02 settings dialog makes of its fields. A button
// copies its controls into Vkt02Settings, calls its function here, shows `refusal` in a
// warning box and stops when the input is refused, else sends `value` with the command
// named below; then it reloads the settings either way. Text that holds no number counts
// as 0. Words are taken modulo 2^16, so a negative value goes out as its two's complement.
//
// `mode` is always the range mode selected in the mode box (GetRangeMode of the box's row
// for the connected model type), which may differ from the sensor's until "Set Mode".

#include "panels/checked.h"
#include "panels/vkt02_settings.h"
#include "sensor/records.h"
#include "util_app/range_modes.h"

#include <cstdint>
#include <string_view>

namespace vk {

// "Set Mode" -> SetMode: the mode box's row as a word (none selected, -1, gives 0xFFFF).
std::uint16_t ModeWord(int modeNumber);

// "Set Min." -> SetMinLP: a signed decimal integer from 0 to 254, else refused with
// "Min laser power must be between 1 and 254" (0 is accepted although the text names 1).
Checked<std::uint8_t> CheckMinLaserPower(std::string_view text);

// "Set Max" -> SetMaxLP: as CheckMinLaserPower, refused with
// "Max laser power must be between 1 and 254".
Checked<std::uint8_t> CheckMaxLaserPower(std::string_view text);

// "Set Threshold" -> SetThreshold: 0 to 255, else "Thresholdmust be between 0 and 255".
Checked<std::uint8_t> CheckThreshold(std::string_view text);

// "Set Scan Int." -> SetScanInterval: the unsigned decimal integer's low 16 bits.
std::uint16_t ScanIntervalWord(std::string_view text);

struct FilterFactors {
    std::uint16_t dropout = 0;
    std::uint16_t smooth = 0;
    std::uint16_t order = 0;
};

// "Set Scan Filter Variables" -> SetFilterFactors: dropout and smooth texts as unsigned
// decimal integers (low 16 bits), the order as held, even one the order box lacks.
FilterFactors FilterFactorsFrom(const Vkt02Settings& settings);

struct OffsetRequest {
    std::uint16_t rangeOffset = 0; // range offset x factor, truncated toward zero
    std::uint16_t cosine = 0;      // floor(cosine x 10000)
    std::uint16_t multiplier = 0;  // floor(multiplier x 1000)
    std::uint16_t fourth = 0;      // always 0
};

// "Set Range offset" -> SetOffset. Refused with "Cosine must be between 0 and 1.0000"
// when the cosine is below 0 or above 1. Multiplier and offset are not checked.
Checked<OffsetRequest> CheckRangeOffset(const Vkt02SettingsTexts& texts, const RangeMode& mode);

// "Set Analog Factors" -> SetAnalogOuputFactors: voltages to millivolts and the two
// ranges to raw (x factor), each truncated toward zero. Refused with "Range values must
// be between <minimum> and <maximum>" (the mode's limits in its display format) when
// either range lies outside the mode's limits; their order and the voltages are not
// checked.
Checked<AnalogOutputRecord> CheckAnalogFactors(const Vkt02SettingsTexts& texts,
                                               const RangeMode& mode);

// "Averaging Period" -> SetConfigVars: see CheckAveragingPeriod in averaging_period.h,
// with `last` the last GetConfigVars reply.

} // namespace vk
