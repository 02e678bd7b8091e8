#include "link/port_names.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vk {

namespace fs = std::filesystem;

std::string PortDirectory() {
    if (const char* dir = std::getenv("KORVEL_PORT_DIR"); dir && *dir)
        return dir;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    else
        config = ".config";
    return config + "/Korvel/ports";
}

std::optional<int> ComNumber(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0 || name.size() > 9)
        return std::nullopt;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        n = n * 10 + (name[i] - '0');
    }
    if (n < 1)
        return std::nullopt;
    return n;
}

namespace {

std::string ConventionalDevice(int n) {
#if defined(_WIN32)
    return "\\\\.\\COM" + std::to_string(n);
#else
    if (n >= 1 && n <= 32)
        return "/dev/ttyS" + std::to_string(n - 1);
    if (n >= 33 && n <= 64)
        return "/dev/ttyUSB" + std::to_string(n - 33);
    if (n >= 65 && n <= 96)
        return "/dev/ttyACM" + std::to_string(n - 65);
    return {};
#endif
}

} // namespace

std::string ResolvePortName(const std::string& name) {
    auto n = ComNumber(name);
    if (!n)
        return name;
    std::error_code ec;
    fs::path link = fs::path(PortDirectory()) / name;
    if (fs::is_symlink(link, ec) || fs::exists(link, ec))
        return link.string();
    std::string device = ConventionalDevice(*n);
    return device.empty() ? link.string() : device;
}

std::vector<ComDevice> ListComDevices(int highest) {
    std::vector<ComDevice> found;
    for (int n = 1; n <= highest; ++n) {
        std::string name = "COM" + std::to_string(n);
        std::string device = ResolvePortName(name);
        std::error_code ec;
        // A link counts only when its target exists: a stale link is no device.
        if (fs::exists(device, ec))
            found.push_back({n, device});
    }
    return found;
}

std::string ComDeviceLabel(const ComDevice& d) {
    return "COM" + std::to_string(d.number) + " (" + d.device + ")";
}

} // namespace vk
