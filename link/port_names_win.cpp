#include "link/port_names.h"
#include "link/port_names_os.h"

#include <windows.h>

namespace vk {

bool ComNamesMayBeLinks() {
    return false;
}

std::string NoComDeviceText() {
    return "the system knows no COM device";
}

std::string ConventionalDevice(int n) {
    return "\\\\.\\COM" + std::to_string(n);
}

std::optional<std::string> DeviceExists(const std::string& device) {
    const std::string prefix = "\\\\.\\";
    std::string name = device.rfind(prefix, 0) == 0 ? device.substr(prefix.size()) : device;
    char target[512];
    if (QueryDosDeviceA(name.c_str(), target, sizeof target) == 0)
        return std::nullopt;
    return device;
}

std::string SystemDeviceDescription(const std::string&, const std::string&) {
    // The GUIs ask Qt, which reads the device's description on Windows.
    return {};
}

} // namespace vk
