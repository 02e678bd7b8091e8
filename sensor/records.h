#pragma once
// The records the sensors send and take, as typed fields. Decode reads a payload of
// exactly kSize bytes in the wire order of the check method; Encode writes one. Every
// 16-bit field is converted; single bytes and the bytes kept as arrays travel as they are.
// Ranges are raw counts in the units of the range mode, voltages millivolts.

#include "link/frame.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vk {

// Setup of a VKT02 (and Rmx Long), reply of GetSensorSetup.
struct Vkt02SetupRecord {
    static constexpr std::size_t kSize = 31;
    std::array<std::uint8_t, 8> leading{}; // bytes 0-7, not interpreted
    std::uint8_t address = 0;
    std::uint8_t rangeMode = 0;
    std::uint16_t word10 = 0; // not interpreted
    std::uint8_t threshold = 0;
    std::int16_t scanInterval = 0;
    std::uint16_t dropoutFactor = 0;
    std::uint16_t smoothFactor = 0;
    std::uint16_t orderFactor = 0;
    std::uint16_t rangeOffset = 0;
    std::uint16_t cosine = 0;     // x 10000
    std::uint16_t multiplier = 0; // x 1000
    std::uint16_t word27 = 0;     // not interpreted
    std::uint16_t laserState = 0; // 1 = on

    static Vkt02SetupRecord Decode(const std::uint8_t* wire, CheckMethod method);
    // The payload as the sensor sent it, for keeping replies as they came.
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// Setup of a VKT04 (and Vezir Orududu), reply of GetVKT04Setup.
struct Vkt04SetupRecord {
    static constexpr std::size_t kSize = 28;
    std::array<std::uint8_t, 8> leading{}; // bytes 0-7, not interpreted
    std::uint8_t maxLaserPower = 0;
    std::uint8_t minLaserPower = 0;
    std::uint8_t threshold = 0;
    std::uint8_t address = 0;
    std::uint16_t analogMinRange = 0;
    std::uint16_t analogMaxRange = 0;
    std::uint16_t voltsAtMinRange = 0;
    std::uint16_t voltsAtMaxRange = 0;
    std::uint16_t voltsOutOfRange = 0;
    std::uint16_t word22 = 0;            // not interpreted
    std::uint16_t word24 = 0;            // not interpreted
    std::uint8_t holdLastValidRange = 0; // 1 = on
    std::uint8_t rangeMode = 0;

    static Vkt04SetupRecord Decode(const std::uint8_t* wire, CheckMethod method);
    // The payload as the sensor sent it, for keeping replies as they came.
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// Reply of GetAnalogFactors.
struct AnalogFactorsRecord {
    static constexpr std::size_t kSize = 22;
    std::uint16_t voltsAtMinRange = 0;
    std::uint16_t minRange = 0;
    std::uint16_t voltsAtMaxRange = 0;
    std::uint16_t maxRange = 0;
    std::uint16_t offsetVoltage = 0;
    std::uint16_t voltsOutOfRange = 0;
    std::array<std::uint8_t, 8> unconverted{}; // bytes 12-19
    std::uint16_t outputLevel = 0;             // 4095 is 9.999 V

    static AnalogFactorsRecord Decode(const std::uint8_t* wire, CheckMethod method);
    // The payload as the sensor sent it, for keeping replies as they came.
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// Request of SetAnalogOuputFactors: the first six words of the factors record.
struct AnalogOutputRecord {
    static constexpr std::size_t kSize = 20;
    std::uint16_t voltsAtMinRange = 0;
    std::uint16_t minRange = 0;
    std::uint16_t voltsAtMaxRange = 0;
    std::uint16_t maxRange = 0;
    std::uint16_t offsetVoltage = 0;
    std::uint16_t voltsOutOfRange = 0;

    // Bytes 12-19 go out as zero.
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// GetConfigVars / SetConfigVars.
struct ConfigRecord {
    static constexpr std::size_t kSize = 10;
    std::array<std::uint16_t, 4> words{}; // at 0, 2, 4, 6
    std::array<std::uint8_t, 2> bytes{};  // at 8, 9

    // The averaging count as GetConfigVars reports it: high half in the word at 4, low
    // half in the word at 6.
    std::uint32_t AveragingCount() const;
    // Puts `count` where SetConfigVars takes it, the other way round: low half in the word
    // at 4, high half in the word at 6. The sensor reports it back high half first.
    void SetAveragingCountForSet(std::uint32_t count);

    static ConfigRecord Decode(const std::uint8_t* wire, CheckMethod method);
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// ReadWaneParams / WriteWaneParams.
struct WaneRecord {
    static constexpr std::size_t kSize = 12;
    std::uint16_t minWaneHeight = 0;
    std::uint16_t minWaneWidth = 0;
    std::uint16_t conveyerSpeed = 0;           // mm/s
    std::array<std::uint8_t, 4> unconverted{}; // bytes 6-9, not interpreted
    std::uint16_t pulseDurationMs = 0;

    static WaneRecord Decode(const std::uint8_t* wire, CheckMethod method);
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// GetVersion / GetVKT04Version.
struct VersionRecord {
    static constexpr std::size_t kSize = 6;
    std::uint16_t firmwareHundredths = 0;
    std::array<std::uint8_t, 2> unconverted{}; // bytes 2-3, not interpreted
    char revision = 0;                         // 0 when the firmware has none
    std::uint8_t fpgaTenths = 0;

    static VersionRecord Decode(const std::uint8_t* wire, CheckMethod method);
    // The payload as the sensor sent it, for keeping replies as they came.
    void Encode(std::uint8_t* wire, CheckMethod method) const;
};

// GetErrorState.
struct ErrorStateRecord {
    static constexpr std::size_t kSize = 12;
    std::uint16_t powerUpCount = 0;
    std::uint16_t resetCount = 0;
    std::uint16_t checkErrorCount = 0; // checksum or CRC errors
    std::uint16_t commandErrorCount = 0;
    std::uint16_t calibrationMarker = 0; // kCalibrated when calibrated
    std::uint16_t illegalOperationCount = 0;

    static constexpr std::uint16_t kCalibrated = 0x5555;
    static ErrorStateRecord Decode(const std::uint8_t* wire, CheckMethod method);
};

// GetVKT02State.
struct Vkt02StateRecord {
    static constexpr std::size_t kSize = 14;
    std::uint16_t basePixel = 0;
    std::uint16_t pixelSum = 0;
    std::uint16_t pixelCount = 0;
    std::uint16_t subPixel = 0;
    std::uint16_t range = 0;
    std::uint16_t scanCount = 0;
    std::uint16_t scanning = 0;

    static Vkt02StateRecord Decode(const std::uint8_t* wire, CheckMethod method);
};

// GetSensorState (VKT04, Rmx Short).
struct SensorStateRecord {
    static constexpr std::size_t kSize = 14;
    std::uint16_t basePixel = 0;
    std::uint16_t pixelSum = 0;
    std::uint16_t pixelCount = 0;
    std::uint16_t subPixel = 0;
    std::uint16_t range = 0;
    std::uint16_t laserPower = 0;
    std::uint16_t peak = 0;

    static SensorStateRecord Decode(const std::uint8_t* wire, CheckMethod method);
};

// GetBoardFlipperState (Vezir Orududu): the sensor state and four more words.
struct BoardFlipperStateRecord {
    static constexpr std::size_t kSize = 22;
    SensorStateRecord state;
    std::array<std::uint16_t, 4> extraWords{}; // words 7-10, not interpreted

    static BoardFlipperStateRecord Decode(const std::uint8_t* wire, CheckMethod method);
};

// HLAScanResult.
struct HlaResultRecord {
    static constexpr std::size_t kSize = 10;
    std::uint16_t highestRange = 0;
    std::uint16_t highestRangeScan = 0;
    std::uint16_t lowestRange = 0;
    std::uint16_t lowestRangeScan = 0;
    std::uint16_t averageRange = 0;

    static HlaResultRecord Decode(const std::uint8_t* wire, CheckMethod method);
};

} // namespace vk
