#include "util_app/last_connection.h"

#include "sensor/sensor_device.h"
#include "util_app/connect_fields.h"
#include "util_app/profile.h"

#include <cstdint>

namespace vk {

std::optional<std::string> LastPortName(const Profile& profile) {
    const std::int64_t number = profile.ReadInt("Settings", "port name", 0);
    if (number < 1 || number > kHighestComNumber)
        return std::nullopt;
    return "COM" + std::to_string(number);
}

std::vector<LinePlace> LastPlaces(const Profile& profile, const std::string& port) {
    const int number = ComPortNumber(port);
    if (number < 1)
        return {};
    const std::string section = "Settings\\" + std::to_string(number);
    const std::int64_t baud = profile.ReadInt(section, "boudrate", 0);
    const std::int64_t address = profile.ReadInt(section, "address", 0);
    if (baud < 0 || baud > INT32_MAX ||
        SensorDevice::BaudRateCode(static_cast<std::int32_t>(baud)) < 0 || address < 1 ||
        address > 255)
        return {};
    const LinePlace checksum{static_cast<std::int32_t>(baud), CheckMethod::Checksum,
                             static_cast<std::uint8_t>(address)};
    LinePlace crc = checksum;
    crc.method = CheckMethod::Crc16;
    return {checksum, crc};
}

} // namespace vk
