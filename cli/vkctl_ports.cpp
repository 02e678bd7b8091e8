#include "cli/vkctl_ports.h"

#include "link/port_names.h"

namespace vk::cli {

VkctlStatus ListPorts(const VkctlOptions&, std::FILE* out, std::FILE* err) {
    const std::vector<ComDevice> devices = ListComDevices();
    for (const ComDevice& d : devices) {
        const std::string description = SystemDeviceDescription(d.device);
        std::fprintf(out, "COM%d  %s%s%s\n", d.number, d.device.c_str(),
                     description.empty() ? "" : "  ", description.c_str());
    }
    if (devices.empty()) {
        std::fprintf(err, "vkctl: no serial port found: %s\n", NoComDeviceText().c_str());
        return kSensorFailed;
    }
    return kOk;
}

} // namespace vk::cli
