#pragma once
// What port naming needs from the operating system (port_names_<os>.cpp).

#include <string>

namespace vk {

// The device COMn stands for when no link in the port directory says otherwise;
// empty when the convention has none.
std::string ConventionalDevice(int n);

// Whether `device` is there now. A stale link is no device, nor is a serial device node
// that the kernel keeps for a port without hardware.
bool DeviceExists(const std::string& device);

} // namespace vk
