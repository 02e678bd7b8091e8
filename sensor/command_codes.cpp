#include "sensor/command_codes.h"

namespace vk {

std::string CommandNamesFor(std::uint8_t code) {
    std::string names;
    for (const SensorCommand& command : kSensorCommands) {
        if (command.code != code)
            continue;
        if (!names.empty())
            names += '/';
        names += command.name;
    }
    return names;
}

} // namespace vk
