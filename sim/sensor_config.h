#pragma once
// What a simulated sensor is when it leaves the factory: its identity and how it talks.

#include "link/frame.h"

#include <cstdint>
#include <string>

namespace vk::sim {

struct SensorConfig {
    std::uint8_t address = 1;
    std::string modelString = "0 VKT-02";  // up to 16 bytes, NUL-padded on the wire
    std::string serialNumber = "VK000001"; // 8 characters
    CheckMethod method = CheckMethod::Checksum;
    std::int32_t baudRate = 57600;
    std::uint16_t firmwareHundredths = 123;   // "1.23"
    char revision = 'B';                      // 'C' selects the other timing base
    std::uint8_t fpgaTenths = 25;             // " 2.5"
    std::uint16_t calibrationMarker = 0x5555; // 0x5555: the sensor holds a calibration
};

// The default configuration for a short model name (VKT02, VKT04, RMXS, RMXL, BF) or,
// for anything else, a sensor reporting that text as its model string (cut to 16 bytes).
SensorConfig ConfigForModel(const std::string& shortNameOrModelString);

// 9600 -> 0, 19200 -> 1, 38400 -> 2, 57600 -> 3 and back; -1 for anything else.
int BaudCode(std::int32_t baudRate);
std::int32_t BaudFromCode(int code);

} // namespace vk::sim
