#pragma once
// vkctl ports: which COM name is which device.

#include "cli/vkctl_commands.h"

namespace vk::cli {

// One line per COM name whose device exists ("COM33  /dev/ttyUSB0  FTDI FT232R USB UART
// (serial A50285BI)"; the description only where the device has one); with --json one
// array of objects with name, device and description. None found is a failure, with a
// line on `err` saying where ports were looked for.
VkctlStatus ListPorts(const VkctlOptions& options, std::FILE* out, std::FILE* err);

} // namespace vk::cli
