#include "panels/sensor_state_rows.h"

namespace vk {

std::array<DiagnosticValue, 7> SensorStateValues(const SensorStateRecord& state,
                                                 const std::string& rangeText) {
    return {{
        {0, std::to_string(state.basePixel)},
        {1, std::to_string(state.pixelSum)},
        {2, std::to_string(state.pixelCount)},
        {3, std::to_string(state.subPixel)},
        {4, std::to_string(state.laserPower)},
        {5, std::to_string(state.peak)},
        {7, rangeText},
    }};
}

} // namespace vk
