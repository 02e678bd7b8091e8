#pragma once
// The hidden command-line switch that turns on the factory-only commands.

#include <string>
#include <vector>

namespace vk {

inline constexpr const char* kManufacturingSwitch = "-QXV";

// True only when `arguments` (the command line without the program name, as the
// program received it) is exactly the switch: one argument, byte for byte "-QXV".
bool IsManufacturingSwitch(const std::vector<std::string>& arguments);

} // namespace vk
