#include "panels/vkt02_settings_checks.h"

#include "panels/number_text.h"
#include "panels/settings_common.h"
#include "panels/unit_conversion.h"

namespace vk {

std::uint16_t ModeWord(int modeNumber) {
    return WrapToWord(modeNumber);
}

Checked<std::uint8_t> CheckMinLaserPower(std::string_view text) {
    return CheckByte(text, 254, "Min laser power must be between 1 and 254");
}

Checked<std::uint8_t> CheckMaxLaserPower(std::string_view text) {
    return CheckByte(text, 254, "Max laser power must be between 1 and 254");
}

Checked<std::uint8_t> CheckThreshold(std::string_view text) {
    return CheckByte(text, 255, "Thresholdmust be between 0 and 255");
}

std::uint16_t ScanIntervalWord(std::string_view text) {
    return TextAsLowWord(text);
}

FilterFactors FilterFactorsFrom(const Vkt02Settings& settings) {
    return FilterFactors{TextAsLowWord(settings.texts.dropout),
                         TextAsLowWord(settings.texts.smooth), settings.order};
}

Checked<OffsetRequest> CheckRangeOffset(const Vkt02SettingsTexts& texts, const RangeMode& mode) {
    const double cosine = TextAsNumber(texts.cosine);
    if (cosine < 0 || cosine > 1)
        return Checked<OffsetRequest>::Refuse("Cosine must be between 0 and 1.0000");
    OffsetRequest request;
    request.rangeOffset = RangeWord(TextAsNumber(texts.rangeOffset), mode);
    request.cosine = WrapToWord(FloorNearWhole(cosine * 10000));
    request.multiplier = WrapToWord(FloorNearWhole(TextAsNumber(texts.multiplier) * 1000));
    return Checked<OffsetRequest>::Accept(request);
}

Checked<AnalogOutputRecord> CheckAnalogFactors(const Vkt02SettingsTexts& texts,
                                               const RangeMode& mode) {
    const double minRange = TextAsNumber(texts.minRange);
    const double maxRange = TextAsNumber(texts.maxRange);
    if (OutsideLimits(minRange, mode) || OutsideLimits(maxRange, mode))
        return Checked<AnalogOutputRecord>::Refuse(RangeLimitsRefusal(mode));
    AnalogOutputRecord record;
    record.voltsAtMinRange = MillivoltWord(TextAsNumber(texts.voltsAtMinRange));
    record.minRange = RangeWord(minRange, mode);
    record.voltsAtMaxRange = MillivoltWord(TextAsNumber(texts.voltsAtMaxRange));
    record.maxRange = RangeWord(maxRange, mode);
    record.offsetVoltage = MillivoltWord(TextAsNumber(texts.offsetVoltage));
    record.voltsOutOfRange = MillivoltWord(TextAsNumber(texts.voltsOutOfRange));
    return Checked<AnalogOutputRecord>::Accept(record);
}

} // namespace vk
