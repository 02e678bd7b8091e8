#include "panels/vkt04_settings.h"

#include "panels/number_text.h"
#include "panels/unit_conversion.h"
#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

namespace vk {

std::vector<std::string> Vkt04ModeBoxItems() {
    return {GetRangeMode(ModelType::VKT04, 0).description,
            GetRangeMode(ModelType::VKT04, 1).description};
}

std::optional<Vkt04Settings> ReadVkt04Settings(SensorDevice& sensor) {
    if (!sensor.GetVKT04Setup() || !sensor.GetNumHoldScans())
        return std::nullopt;
    const ReplyStore& replies = sensor.Replies();
    const Vkt04SetupRecord& setup = replies.vkt04Setup;
    Vkt04Settings settings;
    settings.modeNumber = setup.rangeMode;
    settings.texts =
        Vkt04FamilyTextsFrom(setup, GetRangeMode(ModelType::VKT04, settings.modeNumber));
    settings.holdScans = std::to_string(replies.numHoldScans);
    settings.holdLastValid = setup.holdLastValidRange == 1;
    // A connection made through the global address goes on with the sensor's own.
    sensor.SetAddress(setup.address);
    return settings;
}

void FillVkt04SettingsList(const Vkt04Settings& settings, std::vector<std::string>& names,
                           std::vector<std::string>& values) {
    SettingsRows rows = {{"Mode", GetRangeMode(ModelType::VKT04, settings.modeNumber).description}};
    AppendVkt04FamilyRows(settings.texts, rows);
    rows.insert(rows.end(),
                {{"Hold Last Valid Range", settings.holdLastValid ? "Enabled" : "Disabled"},
                 {"Max samples to hold last range", settings.holdScans}});
    FillSettingsList(rows, names, values);
}

WriteOutcome WriteHoldLastValidRange(SensorDevice& sensor, bool on) {
    return WriteOutcome::Sent(sensor.SetOutOfRangeMode(on));
}

WriteOutcome WriteHoldScans(SensorDevice& sensor, std::string_view text) {
    return WriteOutcome::Sent(
        sensor.SetNumHoldScans(WrapToWord(TruncateNearWhole(TextAsNumber(text)))));
}

} // namespace vk
