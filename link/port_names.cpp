#include "link/port_names.h"

#include "link/port_names_os.h"

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
    // Windows port names ignore case, so "com1" is COM1 too.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (name.size() < 4 || name.size() > 9 || upper(name[0]) != 'C' || upper(name[1]) != 'O' ||
        upper(name[2]) != 'M')
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

std::string ResolvePortName(const std::string& name) {
    auto n = ComNumber(name);
    if (!n)
        return name;
    if (!ComNamesMayBeLinks())
        return ConventionalDevice(*n);
    std::error_code ec;
    // The simulator and the users link the name as it is written: COM and the number.
    fs::path link = fs::path(PortDirectory()) / ("COM" + std::to_string(*n));
    if (fs::is_symlink(link, ec) || fs::exists(link, ec))
        return link.string();
    std::string device = ConventionalDevice(*n);
    return device.empty() ? link.string() : device;
}

std::string PortDeviceName(const std::string& name) {
    std::string resolved = ResolvePortName(name);
    std::error_code ec;
    fs::path link = resolved;
    if (!ComNumber(name) || !ComNamesMayBeLinks() || !fs::is_symlink(link, ec))
        return resolved;
    fs::path target = fs::read_symlink(link, ec);
    if (ec)
        return resolved;
    return (target.is_absolute() ? target : link.parent_path() / target)
        .lexically_normal()
        .string();
}

std::string PortNameWithDevice(const std::string& name) {
    return ComNumber(name) && ComNamesMayBeLinks() ? name + " (" + PortDeviceName(name) + ")" : name;
}

std::vector<ComDevice> ListComDevices(int highest) {
    std::vector<ComDevice> found;
    for (int n = 1; n <= highest; ++n) {
        std::string name = "COM" + std::to_string(n);
        // A link in the port directory is labelled with the device it stands for.
        if (std::optional<std::string> device = DeviceExists(ResolvePortName(name)))
            found.push_back({n, *device, {}});
    }
    return found;
}

std::string ComDeviceLabel(const ComDevice& d) {
    std::string label = "COM" + std::to_string(d.number) + " (" + d.device + ")";
    if (!d.description.empty())
        label += " " + d.description;
    return label;
}

std::string DeviceDescriptionText(const std::string& manufacturer, const std::string& product,
                                  const std::string& serialNumber) {
    std::string text = product;
    // "FTDI" and "FTDI FT232R USB UART" say the maker once.
    if (!manufacturer.empty() && product.rfind(manufacturer, 0) != 0)
        text = product.empty() ? manufacturer : manufacturer + " " + product;
    if (!serialNumber.empty())
        text += (text.empty() ? "(serial " : " (serial ") + serialNumber + ")";
    return text;
}

} // namespace vk
