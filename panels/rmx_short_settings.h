#pragma once
// The Rmx Short settings dialog's values: only what the VKT04 family shares. The sensor
// has one range mode, so every range is shown and sent in row 0 of its table whatever
// mode byte the setup record carries, and its buttons send every value as typed
// (kRmxShortRules).

#include "panels/vkt04_family_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace vk {

class SensorDevice;
struct RangeMode;

// The mode of every range conversion: factor 1000, limits 0 to 30 inch.
const RangeMode& RmxShortRangeMode();

// Sends GetVKT04Setup. When it answered, the sensor's own address (setup byte 11) becomes
// the address `sensor` talks to, and the texts are returned; on failure (logged by the
// command) nothing is returned and nothing changes.
std::optional<Vkt04FamilyTexts> ReadRmxShortSettings(SensorDevice& sensor);

// Clears `names` and `values` and fills them with the eight shared pairs, "Min. Laser
// Power" to "Out of Range".
void FillRmxShortSettingsList(const Vkt04FamilyTexts& texts, std::vector<std::string>& names,
                              std::vector<std::string>& values);

} // namespace vk
