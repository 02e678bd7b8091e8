#pragma once
// The last reply of every reading command, already in the machine's byte order. A failed
// read leaves its area as it was; ResetReplies at each connect zeroes them all.

#include "sensor/records.h"
#include "sensor/scan_buffer_area.h"
#include "sensor/sensor_text.h"

#include <cstdint>

namespace vk {

struct ReplyStore {
    SensorText modelName;    // GetModelName
    SensorText serialNumber; // GetSerialNum; its first 8 characters are the serial number
    Vkt02SetupRecord sensorSetup;
    Vkt04SetupRecord vkt04Setup;
    ErrorStateRecord errorState;
    Vkt02StateRecord vkt02State;
    SensorStateRecord sensorState;
    BoardFlipperStateRecord boardFlipperState;
    AnalogFactorsRecord analogFactors;
    VersionRecord version;      // GetVersion
    VersionRecord vkt04Version; // GetVKT04Version
    ConfigRecord configVars;
    WaneRecord wane;
    HlaResultRecord hlaResult;
    std::uint16_t peak = 0;
    std::uint16_t boardTimeoutMs = 0;
    std::uint16_t numHoldScans = 0;
    std::uint8_t laserPower = 0;
    std::uint8_t maxLaserPower = 0; // GetMaxLP
    std::uint8_t minLaserPower = 0; // GetMinLP
    ScanBufferArea scanBuffer;
};

} // namespace vk
