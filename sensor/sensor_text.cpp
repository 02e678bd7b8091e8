#include "sensor/sensor_text.h"

#include <algorithm>

namespace vk {

std::string_view SensorText::View() const {
    auto end = std::find(bytes.begin(), bytes.end(), '\0');
    return std::string_view(bytes.data(), static_cast<std::size_t>(end - bytes.begin()));
}

SensorText SensorText::From(std::string_view text) {
    SensorText field;
    std::copy_n(text.begin(), std::min(text.size(), field.bytes.size()), field.bytes.begin());
    return field;
}

} // namespace vk
