#include "cli/vkctl_ports.h"

#include "cli/command_output.h"
#include "cli/vkctl_options.h"
#include "link/port_names.h"

namespace vk::cli {

VkctlStatus ListPorts(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::vector<ComDevice> devices = ListComDevices();
    if (options.json) {
        TableWriter table(out, true, {"name", "device", "description"});
        for (const ComDevice& d : devices)
            table.Row({Cell::Text("COM" + std::to_string(d.number)), Cell::Text(d.device),
                       Cell::Text(SystemDeviceDescription(d.device))});
    } else {
        for (const ComDevice& d : devices) {
            // What a USB adapter says of itself is its maker's text, shown as any other.
            const std::string description = PlainText(SystemDeviceDescription(d.device));
            std::fprintf(out, "COM%d  %s%s%s\n", d.number, PlainText(d.device).c_str(),
                         description.empty() ? "" : "  ", description.c_str());
        }
    }
    if (devices.empty()) {
        std::fprintf(err, "vkctl: no serial port found: %s\n", NoComDeviceText().c_str());
        return kSensorFailed;
    }
    return kOk;
}

} // namespace vk::cli
