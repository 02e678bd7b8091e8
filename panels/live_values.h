#pragma once
// One poll of the live values a model's panel shows, as named rows: what the VKT02 (and
// Rmx Long) "Diagnostic" page lists, or the state list of the VKT04 family. The panels
// and vkctl's monitor poll through the same requests.

#include "panels/settings_common.h"
#include "sensor/model_table.h"
#include "sensor/records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vk {

class SensorDevice;

// Sends GetVKT02State, GetLaserPower and GetPeak, stopping at the first failure (logged
// by the command); true when all three answered.
bool PollVkt02Diagnostics(SensorDevice& sensor);

// The state the panel of `type` polls: the first seven words of GetBoardFlipperState for
// the Vezir Orududu, GetSensorState for the others. Null when the request failed.
const SensorStateRecord* PollSensorState(SensorDevice& sensor, ModelType type);

// The names of the rows PollLiveValues gives for `type`, in order (unnamed rows left out).
std::vector<std::string> LiveValueNames(ModelType type);

// One poll for the panel of `type`: the named rows with their texts, the range through
// `formatRange`. Nothing when a request failed.
std::optional<SettingsRows>
PollLiveValues(SensorDevice& sensor, ModelType type,
               const std::function<std::string(std::uint16_t raw)>& formatRange);

} // namespace vk
