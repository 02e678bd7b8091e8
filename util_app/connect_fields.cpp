#include "util_app/connect_fields.h"

#include "link/net_port_name.h"
#include "link/port_names.h"
#include "panels/number_text.h"
#include "sensor/sensor_device.h"

#include <climits>
#include <string_view>

namespace vk {

int PortNumberFromName(const std::string& name) {
    const std::size_t at = name.find("COM");
    if (at == std::string::npos)
        return -1;
    // Leading blanks, a sign, digits; whatever follows is ignored.
    const std::int64_t number = TextAsInteger(std::string_view(name).substr(at + 3));
    if (number < INT_MIN || number > INT_MAX)
        return -1; // no port has such a number
    return static_cast<int>(number);
}

int ComPortNumber(const std::string& name) {
    return IsNetworkPortName(name) ? -1 : PortNumberFromName(name);
}

std::string PortNameOfEntry(const std::string& entry) {
    // A server's port is taken as typed: "rfc2217://COM-SERVER:4001" names no COM port.
    const int number = ComPortNumber(entry);
    return number >= 1 ? "COM" + std::to_string(number) : entry;
}

// The lists hold the rates in the order of the codes they travel as.
int ConnectBaudIndex(std::int32_t rate) {
    const int code = SensorDevice::BaudRateCode(rate);
    return code < 0 ? 3 : code;
}

int SensorBaudIndex(std::int32_t rate) {
    const int code = SensorDevice::BaudRateCode(rate);
    return code < 0 ? 0 : code;
}

std::int32_t BaudFromIndex(int index) {
    if (index < 0 || index > 3)
        return 9600;
    return kBaudRates[index];
}

std::int32_t ParityCodeFromIndex(bool parityOn, int index) {
    if (!parityOn)
        return 0;
    // In list order: Even, Mark, No Parity, Odd.
    constexpr std::int32_t codes[] = {2, 3, 0, 1};
    if (index < 0 || index > 3)
        return 0;
    return codes[index];
}

std::int32_t StopBitsFromIndex(int index) {
    return index >= 0 && index <= 2 ? index : 0;
}

std::int32_t DataBitsFromIndex(int index) {
    return index >= 0 && index <= 4 ? 8 - index : 8;
}

std::optional<std::uint8_t> ParseAddress(const std::string& text) {
    std::optional<std::int64_t> value = WholeNumberText(text);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

std::optional<std::uint32_t> ParseTimeout(const std::string& text) {
    std::optional<std::int64_t> value = WholeNumberText(text);
    if (!value || *value < 0 || *value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::vector<std::string> PortListEntries(const std::vector<ComDevice>& devices) {
    constexpr int kFixed = 4;
    std::vector<std::string> entries;
    for (int number = 1; number <= kFixed; ++number)
        entries.push_back("COM" + std::to_string(number));
    for (const ComDevice& device : devices) {
        // A fixed name whose device exists says so in its own entry: one entry per name.
        if (device.number >= 1 && device.number <= kFixed)
            entries[static_cast<std::size_t>(device.number - 1)] = ComDeviceLabel(device);
        else
            entries.push_back(ComDeviceLabel(device));
    }
    return entries;
}

} // namespace vk
