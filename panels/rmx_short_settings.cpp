#include "panels/rmx_short_settings.h"

#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

namespace vk {

const RangeMode& RmxShortRangeMode() {
    return GetRangeMode(ModelType::RmxShort, 0);
}

std::optional<Vkt04FamilyTexts> ReadRmxShortSettings(SensorDevice& sensor) {
    if (!sensor.GetVKT04Setup())
        return std::nullopt;
    const Vkt04SetupRecord& setup = sensor.Replies().vkt04Setup;
    sensor.SetAddress(setup.address);
    return Vkt04FamilyTextsFrom(setup, RmxShortRangeMode());
}

void FillRmxShortSettingsList(const Vkt04FamilyTexts& texts, std::vector<std::string>& names,
                              std::vector<std::string>& values) {
    SettingsRows rows;
    AppendVkt04FamilyRows(texts, rows);
    FillSettingsList(rows, names, values);
}

} // namespace vk
