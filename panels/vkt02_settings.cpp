#include "panels/vkt02_settings.h"

#include "panels/settings_common.h"
#include "panels/unit_conversion.h"
#include "util_app/range_modes.h"

namespace vk {

Vkt02Settings Vkt02SettingsFromReplies(const ReplyStore& replies, ModelType type,
                                       const TimingBase& timing) {
    const Vkt02SetupRecord& setup = replies.sensorSetup;
    const AnalogFactorsRecord& analog = replies.analogFactors;
    Vkt02Settings settings;
    settings.modeNumber = setup.rangeMode;
    const RangeMode& mode = GetRangeMode(type, settings.modeNumber);

    Vkt02SettingsTexts& t = settings.texts;
    t.rangeOffset =
        FormatValue("%2.3f", static_cast<std::int16_t>(setup.rangeOffset) / mode.factor);
    t.multiplier = FormatValue("%3.3f", static_cast<std::int16_t>(setup.multiplier) * 0.001);
    t.cosine = FormatValue("%3.4f", static_cast<std::int16_t>(setup.cosine) * 0.0001);
    t.minLaserPower = std::to_string(replies.minLaserPower);
    t.maxLaserPower = std::to_string(replies.maxLaserPower);
    t.minRange = RangeText(static_cast<std::int16_t>(analog.minRange), mode);
    t.maxRange = RangeText(static_cast<std::int16_t>(analog.maxRange), mode);
    t.voltsAtMinRange = VoltsText(analog.voltsAtMinRange);
    t.voltsAtMaxRange = VoltsText(analog.voltsAtMaxRange);
    t.offsetVoltage = VoltsText(analog.offsetVoltage);
    t.voltsOutOfRange = VoltsText(analog.voltsOutOfRange);
    t.dropout = SignedWordText(setup.dropoutFactor);
    t.smooth = SignedWordText(setup.smoothFactor);
    t.scanInterval = std::to_string(setup.scanInterval);
    t.threshold = std::to_string(setup.threshold);
    t.averagingPeriod = AveragingPeriodText(replies.configVars.AveragingCount(), timing);

    settings.order = setup.orderFactor;
    settings.laserOn = setup.laserState == 1;
    return settings;
}

void FillVkt02SettingsList(const Vkt02Settings& settings, ModelType type,
                           std::vector<std::string>& names, std::vector<std::string>& values) {
    const Vkt02SettingsTexts& t = settings.texts;
    const SettingsRows rows = {
        {"Laser", settings.laserOn ? "On" : "Off"},
        {"Mode", GetRangeMode(type, settings.modeNumber).description},
        {"Scan Interval", t.scanInterval},
        {"Dropout", t.dropout},
        {"Smooth", t.smooth},
        {"Order", SignedWordText(settings.order)},
        {"Range Offset", t.rangeOffset},
        {"Multiplier", t.multiplier},
        {"Cosine", t.cosine},
        {"Threshold", t.threshold},
        {"Min. Laser Power", t.minLaserPower},
        {"Max. Laser Power", t.maxLaserPower},
        {"Min. Range", t.minRange},
        {"Max. Range", t.maxRange},
        {"Min. Volts", t.voltsAtMinRange},
        {"Max. Volts", t.voltsAtMaxRange},
        {"Offset", t.offsetVoltage},
        {"Out of Range", t.voltsOutOfRange},
        {"Averaging Period(ms)", t.averagingPeriod},
    };
    FillSettingsList(rows, names, values);
}

std::vector<std::string> Vkt02ModeBoxItems(ModelType type) {
    std::vector<std::string> items;
    for (int mode = 0; mode < 16; ++mode)
        items.push_back(GetRangeMode(type, mode).description);
    return items;
}

int OrderBoxRow(std::uint16_t order) {
    for (std::size_t row = 0; row < kOrderBoxItems.size(); ++row) {
        if (kOrderBoxItems[row] == order)
            return static_cast<int>(row);
    }
    return -1;
}

} // namespace vk
