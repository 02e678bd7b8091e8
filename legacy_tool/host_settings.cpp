#include "legacy_tool/host_settings.h"

#include <array>

namespace vk::legacy {

namespace {
constexpr std::array<int, 5> kBaudRates{9600, 19200, 38400, 57600, 115200};
}

std::vector<std::string> DefaultSettingsLines() {
    return {"[CommPort]", "Port=1", "[BaudRate]", "Baud=57600"};
}

int BaudPosition(int baud) {
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        if (kBaudRates[i] == baud)
            return static_cast<int>(i);
    }
    return -1;
}

int BaudAtPosition(int position) {
    if (position < 0 || position >= static_cast<int>(kBaudRates.size()))
        return 0;
    return kBaudRates[static_cast<std::size_t>(position)];
}

HostSettings LoadHostSettings(const IniFile& file) {
    HostSettings s;
    s.port = file.ReadInteger("CommPort", "Port", 1);
    s.baud = file.ReadInteger("BaudRate", "Baud", 57600);
    return s;
}

bool SaveHostSettings(IniFile& file, const HostSettings& s) {
    file.WriteInteger("CommPort", "Port", s.port);
    file.WriteInteger("BaudRate", "Baud", s.baud);
    return file.Save();
}

} // namespace vk::legacy
