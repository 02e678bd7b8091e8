#include "panels/vkt04bf_settings.h"

#include "panels/number_text.h"
#include "panels/unit_conversion.h"
#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

namespace vk {

std::optional<Vkt04BfSettings> ReadVkt04BfSettings(SensorDevice& sensor) {
    if (!sensor.GetVKT04Setup() || !sensor.ReadWaneParams() || !sensor.GetBoardTimeout())
        return std::nullopt;
    const ReplyStore& replies = sensor.Replies();
    const Vkt04SetupRecord& setup = replies.vkt04Setup;
    const RangeMode& mode = GetRangeMode(ModelType::VKT04VezirOrududu, setup.rangeMode);
    Vkt04BfSettings settings;
    settings.modeNumber = setup.rangeMode;
    settings.sensorMode = setup.rangeMode;
    settings.texts = Vkt04FamilyTextsFrom(setup, mode);
    WaneTexts& w = settings.wane;
    w.minWaneHeight = RangeText(replies.wane.minWaneHeight, mode);
    w.minWaneWidth = RangeText(replies.wane.minWaneWidth, mode);
    w.pulseDuration = std::to_string(replies.wane.pulseDurationMs);
    w.conveyerSpeed = std::to_string(replies.wane.conveyerSpeed);
    w.boardTimeout = std::to_string(replies.boardTimeoutMs);
    sensor.SetAddress(setup.address);
    return settings;
}

void FillVkt04BfSettingsList(const Vkt04BfSettings& settings, std::vector<std::string>& names,
                             std::vector<std::string>& values) {
    SettingsRows rows = {
        {"Mode", GetRangeMode(ModelType::VKT04VezirOrududu, settings.modeNumber).description}};
    AppendVkt04FamilyRows(settings.texts, rows);
    const WaneTexts& w = settings.wane;
    rows.insert(rows.end(), {{" ", " "},
                             {"Min Wane Height", w.minWaneHeight},
                             {"Min Wane Width", w.minWaneWidth},
                             {"Pulse duration", w.pulseDuration},
                             {"Conveyer Speed", w.conveyerSpeed},
                             {"Board timeout", w.boardTimeout}});
    FillSettingsList(rows, names, values);
}

WaneRecord WaneRecordFrom(const Vkt04BfSettings& settings, const WaneRecord& lastRead) {
    const double factor = settings.sensorMode == 0 ? 1000 : 100;
    const WaneTexts& w = settings.wane;
    WaneRecord record = lastRead;
    record.minWaneHeight = WrapToWord(TruncateNearWhole(TextAsNumber(w.minWaneHeight) * factor));
    record.minWaneWidth = WrapToWord(TruncateNearWhole(TextAsNumber(w.minWaneWidth) * factor));
    record.conveyerSpeed = TextAsLowWord(w.conveyerSpeed);
    record.pulseDurationMs = TextAsLowWord(w.pulseDuration);
    return record;
}

WriteOutcome WriteWaneVariables(SensorDevice& sensor, const Vkt04BfSettings& settings,
                                bool recordRead) {
    bool succeeded = false;
    if (recordRead || sensor.ReadWaneParams())
        succeeded = sensor.WriteWaneParams(WaneRecordFrom(settings, sensor.Replies().wane));
    succeeded = sensor.SetBoardTimeout(TextAsLowWord(settings.wane.boardTimeout)) && succeeded;
    return WriteOutcome::Sent(succeeded);
}

} // namespace vk
