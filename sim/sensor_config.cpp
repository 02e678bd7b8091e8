#include "sim/sensor_config.h"

#include <array>
#include <string_view>

namespace vk::sim {

namespace {

struct ShortName {
    std::string_view name;
    std::string_view modelString;
};

constexpr std::array<ShortName, 5> kShortNames{{
    {"VKT02", "0 VKT-02"},
    {"VKT04", "0 K4-D-4"},
    {"RMXS", "0 RMX2000"},
    {"RMXL", "1 RMXLONG"},
    {"BF", "0 K4-D-4BF"},
}};

constexpr std::array<std::int32_t, 4> kBaudRates{9600, 19200, 38400, 57600};

} // namespace

SensorConfig ConfigForModel(const std::string& shortNameOrModelString) {
    SensorConfig config;
    config.modelString = shortNameOrModelString.substr(0, 16);
    for (const auto& row : kShortNames) {
        if (row.name == shortNameOrModelString)
            config.modelString = std::string(row.modelString);
    }
    return config;
}

int BaudCode(std::int32_t baudRate) {
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        if (kBaudRates[i] == baudRate)
            return static_cast<int>(i);
    }
    return -1;
}

std::int32_t BaudFromCode(int code) {
    if (code < 0 || code >= static_cast<int>(kBaudRates.size()))
        return 0;
    return kBaudRates[static_cast<std::size_t>(code)];
}

} // namespace vk::sim
