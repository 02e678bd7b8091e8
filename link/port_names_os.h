#pragma once
// What port naming needs from the operating system (port_names_<os>.cpp).

#include <optional>
#include <string>

namespace vk {

// Whether "COMn" may be a link in the port directory. Where the system names its serial
// ports COMn itself, those names are the only ones and no folder is looked at.
bool ComNamesMayBeLinks();

// The device COMn stands for when no link in the port directory says otherwise;
// empty when the convention has none.
std::string ConventionalDevice(int n);

// The device that `device` stands for when it is there now (a link resolved to its
// target), else nothing. A stale link is no device, nor is a serial device node that the
// kernel keeps for a port without hardware.
std::optional<std::string> DeviceExists(const std::string& device);

} // namespace vk
