#pragma once
// The version texts of a sensor as a connect reads them: one version request, chosen by
// the model, formatted for the "System:" bar and vkctl.

#include "sensor/model_table.h"

#include <optional>
#include <string>

namespace vk {

class SensorDevice;

struct VersionTexts {
    std::string firmware; // "1.23C"
    std::string fpga;     // " 2.5"
};

// Sends GetVersion to a VKT02 or Rmx Long (which also sets the sensor object's timing
// base) and GetVKT04Version to the other models. Nothing when the request failed (the
// command logged why).
std::optional<VersionTexts> ReadVersionTexts(SensorDevice& sensor, ModelType model);

} // namespace vk
