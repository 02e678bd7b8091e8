#include "panels/vkt04_family_settings.h"

#include "panels/number_text.h"
#include "panels/unit_conversion.h"
#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

namespace vk {

namespace {

using ByteCommand = bool (SensorDevice::*)(std::uint8_t);

WriteOutcome WriteByte(SensorDevice& sensor, ByteCommand command, std::string_view text,
                       std::int64_t highest, const char* refusal, const Vkt04FamilyRules& rules) {
    if (!rules.checksValues)
        return WriteOutcome::Sent(
            (sensor.*command)(static_cast<std::uint8_t>(TextAsLowWord(text) & 0xFF)));
    const Checked<std::uint8_t> value = CheckByte(text, highest, refusal);
    if (!value.Accepted())
        return WriteOutcome::Refused(value.refusal);
    return WriteOutcome::Sent((sensor.*command)(*value.value));
}

} // namespace

Vkt04FamilyTexts Vkt04FamilyTextsFrom(const Vkt04SetupRecord& setup, const RangeMode& mode) {
    Vkt04FamilyTexts t;
    t.minLaserPower = std::to_string(setup.minLaserPower);
    t.maxLaserPower = std::to_string(setup.maxLaserPower);
    t.threshold = std::to_string(setup.threshold);
    t.minRange = RangeText(setup.analogMinRange, mode);
    t.maxRange = RangeText(setup.analogMaxRange, mode);
    t.voltsAtMinRange = UnsignedVoltsText(setup.voltsAtMinRange);
    t.voltsAtMaxRange = UnsignedVoltsText(setup.voltsAtMaxRange);
    t.voltsOutOfRange = UnsignedVoltsText(setup.voltsOutOfRange);
    return t;
}

void AppendVkt04FamilyRows(const Vkt04FamilyTexts& t, SettingsRows& rows) {
    rows.insert(rows.end(), {{"Min. Laser Power", t.minLaserPower},
                             {"Max. Laser Power", t.maxLaserPower},
                             {"Threshold", t.threshold},
                             {"Min. Range", t.minRange},
                             {"Max. Range", t.maxRange},
                             {"Min. Volts", t.voltsAtMinRange},
                             {"Max. Volts", t.voltsAtMaxRange},
                             {"Out of Range", t.voltsOutOfRange}});
}

WriteOutcome WriteMinLaserPower(SensorDevice& sensor, std::string_view text,
                                const Vkt04FamilyRules& rules) {
    return WriteByte(sensor, &SensorDevice::SetMinLP, text, 254, rules.minLaserPowerRefusal, rules);
}

WriteOutcome WriteMaxLaserPower(SensorDevice& sensor, std::string_view text,
                                const Vkt04FamilyRules& rules) {
    return WriteByte(sensor, &SensorDevice::SetMaxLP, text, 254, rules.maxLaserPowerRefusal, rules);
}

WriteOutcome WriteThreshold(SensorDevice& sensor, std::string_view text,
                            const Vkt04FamilyRules& rules) {
    return WriteByte(sensor, &SensorDevice::SetThreshold, text, 255, rules.thresholdRefusal, rules);
}

WriteOutcome WriteAnalogOutputValue(SensorDevice& sensor, AnalogOutputValue value,
                                    std::string_view text, const RangeMode& mode,
                                    const Vkt04FamilyRules& rules) {
    const double number = TextAsNumber(text);
    switch (value) {
    case AnalogOutputValue::MinRange:
    case AnalogOutputValue::MaxRange: {
        if (rules.checksValues && OutsideLimits(number, mode))
            return WriteOutcome::Refused(RangeLimitsRefusal(mode));
        const std::uint16_t raw = RangeWord(number, mode);
        return WriteOutcome::Sent(value == AnalogOutputValue::MinRange
                                      ? sensor.SetAnalogMinRange(raw)
                                      : sensor.SetAnalogMaxRange(raw));
    }
    case AnalogOutputValue::VoltsAtMinRange:
        return WriteOutcome::Sent(sensor.SetAnalogMinVolts(MillivoltWord(number)));
    case AnalogOutputValue::VoltsAtMaxRange:
        return WriteOutcome::Sent(sensor.SetAnalogMaxVolts(MillivoltWord(number)));
    case AnalogOutputValue::VoltsOutOfRange:
        return WriteOutcome::Sent(sensor.SetAnalogOutOfRange(MillivoltWord(number)));
    }
    return WriteOutcome::Nothing();
}

WriteOutcome WriteVkt04Mode(SensorDevice& sensor, int modeNumber) {
    if (modeNumber < 0 || modeNumber > 0xFF)
        return WriteOutcome::Nothing();
    return WriteOutcome::Sent(sensor.SetVKT04Mode(static_cast<std::uint8_t>(modeNumber)));
}

} // namespace vk
