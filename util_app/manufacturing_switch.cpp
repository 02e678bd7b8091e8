#include "util_app/manufacturing_switch.h"

namespace vk {

bool IsManufacturingSwitch(const std::vector<std::string>& arguments) {
    return arguments.size() == 1 && arguments.front() == kManufacturingSwitch;
}

} // namespace vk
