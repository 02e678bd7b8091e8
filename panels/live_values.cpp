#include "panels/live_values.h"

#include "panels/sensor_state_rows.h"
#include "panels/vkt02_diagnostics.h"
#include "sensor/sensor_device.h"

#include <span>

namespace vk {

namespace {

bool UsesDiagnosticPage(ModelType type) {
    return type == ModelType::VKT02 || type == ModelType::RmxLong;
}

template <std::size_t N>
SettingsRows NamedRows(std::span<const char* const> names,
                       const std::array<DiagnosticValue, N>& values) {
    SettingsRows rows;
    for (const DiagnosticValue& value : values) {
        if (value.row >= 0 && static_cast<std::size_t>(value.row) < names.size() &&
            *names[value.row])
            rows.emplace_back(names[value.row], value.text);
    }
    return rows;
}

} // namespace

bool PollVkt02Diagnostics(SensorDevice& sensor) {
    return sensor.GetVKT02State() && sensor.GetLaserPower() && sensor.GetPeak();
}

const SensorStateRecord* PollSensorState(SensorDevice& sensor, ModelType type) {
    if (type == ModelType::VKT04VezirOrududu)
        return sensor.GetBoardFlipperState() ? &sensor.Replies().boardFlipperState.state : nullptr;
    return sensor.GetSensorState() ? &sensor.Replies().sensorState : nullptr;
}

std::vector<std::string> LiveValueNames(ModelType type) {
    std::vector<std::string> names;
    auto add = [&names](std::span<const char* const> all) {
        for (const char* name : all) {
            if (*name)
                names.emplace_back(name);
        }
    };
    if (UsesDiagnosticPage(type))
        add(kVkt02DiagnosticRowNames);
    else
        add(kSensorStateRowNames);
    return names;
}

std::optional<SettingsRows>
PollLiveValues(SensorDevice& sensor, ModelType type,
               const std::function<std::string(std::uint16_t raw)>& formatRange) {
    if (UsesDiagnosticPage(type)) {
        if (!PollVkt02Diagnostics(sensor))
            return std::nullopt;
        const ReplyStore& r = sensor.Replies();
        return NamedRows(kVkt02DiagnosticRowNames,
                         Vkt02DiagnosticValues(r.vkt02State, r.laserPower, r.peak,
                                               formatRange(r.vkt02State.range)));
    }
    const SensorStateRecord* state = PollSensorState(sensor, type);
    if (!state)
        return std::nullopt;
    return NamedRows(kSensorStateRowNames, SensorStateValues(*state, formatRange(state->range)));
}

} // namespace vk
