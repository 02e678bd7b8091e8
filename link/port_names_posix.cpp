#include "link/port_names_os.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace vk {

namespace fs = std::filesystem;

std::string ConventionalDevice(int n) {
    // The numbering Wine uses, so that a COM number means the same under Wine and here.
    if (n >= 1 && n <= 32)
        return "/dev/ttyS" + std::to_string(n - 1);
    if (n >= 33 && n <= 64)
        return "/dev/ttyUSB" + std::to_string(n - 33);
    if (n >= 65 && n <= 96)
        return "/dev/ttyACM" + std::to_string(n - 65);
    return {};
}

std::optional<std::string> DeviceExists(const std::string& device) {
    std::error_code ec;
    fs::path path = fs::canonical(device, ec);
    if (ec)
        return std::nullopt;
    // Linux keeps /dev/ttyS0..31 whether or not a UART answers; its type says which.
    std::string name = path.filename().string();
    if (path.parent_path() == "/dev" && name.rfind("ttyS", 0) == 0) {
        std::ifstream type("/sys/class/tty/" + name + "/type");
        int portType = 0;
        if (type >> portType && portType == 0)
            return std::nullopt;
    }
    return path.string();
}

} // namespace vk
