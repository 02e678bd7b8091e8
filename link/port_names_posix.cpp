#include "link/port_names.h"
#include "link/port_names_os.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace vk {

namespace fs = std::filesystem;

namespace {

// One attribute of the device tree: its first line, bounded, without control characters.
// The strings come from the adapter's own descriptors, so nothing in them is trusted.
std::string ReadAttribute(const fs::path& file) {
    constexpr std::size_t kLongest = 128;
    std::ifstream in(file, std::ios::binary);
    char buffer[kLongest + 1] = {};
    in.read(buffer, kLongest);
    std::string text(buffer, static_cast<std::size_t>(in.gcount()));
    text = text.substr(0, text.find('\n'));
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    }
    // A cut through a UTF-8 sequence leaves its lead byte; drop the broken tail.
    if (in.gcount() == static_cast<std::streamsize>(kLongest)) {
        std::size_t end = text.size();
        while (end > 0 && (static_cast<unsigned char>(text[end - 1]) & 0xC0) == 0x80)
            --end;
        if (end > 0 && static_cast<unsigned char>(text[end - 1]) >= 0xC0)
            text.resize(end - 1);
    }
    std::size_t first = text.find_first_not_of(' ');
    std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

} // namespace

bool ComNamesMayBeLinks() {
    return true;
}

std::string NoComDeviceText() {
    return "no /dev/ttyS*, /dev/ttyUSB* or /dev/ttyACM* device and no link in " + PortDirectory();
}

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

std::string SystemDeviceDescription(const std::string& device, const std::string& sysRoot) {
    std::error_code ec;
    fs::path path = fs::canonical(device, ec);
    if (ec)
        path = device;
    if (path.parent_path() != "/dev")
        return {};
    const fs::path root = fs::weakly_canonical(sysRoot, ec);
    fs::path node = fs::canonical(root / "class/tty" / path.filename() / "device", ec);
    if (ec)
        return {};
    // The tty hangs below the adapter's USB interface; the USB device itself is the first
    // folder up that has a vendor id. A built-in UART has none.
    for (; node != root && node.has_relative_path() && node.string().rfind(root.string(), 0) == 0;
         node = node.parent_path()) {
        if (fs::exists(node / "idVendor", ec))
            return DeviceDescriptionText(ReadAttribute(node / "manufacturer"),
                                         ReadAttribute(node / "product"),
                                         ReadAttribute(node / "serial"));
    }
    return {};
}

} // namespace vk
