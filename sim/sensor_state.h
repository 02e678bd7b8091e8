#pragma once
// Everything a simulated sensor remembers: the settings its commands read and write,
// its scan buffer and counters. Records are built from these fields when asked for, so
// a setting changed by one command shows in every record that carries it.

#include "sensor/scan_buffer_area.h"
#include "sim/flash_state.h"
#include "sim/sensor_config.h"
#include "sim/sim_clock.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vk::sim {

struct ErrorCounters {
    std::uint16_t powerUps = 1;
    std::uint16_t resets = 0;
    std::uint16_t checkErrors = 0; // frames with a bad checksum or CRC
    std::uint16_t commandErrors = 0;
    std::uint16_t calibrationMarker = 0x5555; // as configured (SensorConfig)
    std::uint16_t illegalOperations = 0;
};

struct AnalogFactors {
    std::uint16_t voltsAtMinRange = 0; // mV
    std::uint16_t minRange = 0;        // raw
    std::uint16_t voltsAtMaxRange = 10000;
    std::uint16_t maxRange = 10000;
    std::uint16_t offsetVoltage = 0;
    std::uint16_t voltsOutOfRange = 0;
    std::array<std::uint8_t, 8> reserved{}; // bytes 12 to 19, travel unconverted
};

struct WaneRecord {
    std::uint16_t minHeight = 20;
    std::uint16_t minWidth = 10;
    std::uint16_t conveyorSpeed = 500; // mm/s
    // Bytes 6 to 9: the board flipper's own, which the tools neither show nor set. A
    // sensor keeps something there, so a tool that zeroes them is caught.
    std::array<std::uint8_t, 4> reserved{0x5A, 0x01, 0xC3, 0x10};
    std::uint16_t pulseDurationMs = 100;
};

// The measurement the sensor would report right now.
struct LiveValues {
    std::uint16_t basePixel = 0;
    std::uint16_t pixelSum = 0;
    std::uint16_t pixelCount = 0;
    std::uint16_t subPixel = 0;
    std::uint16_t range = 0; // raw
    std::uint8_t laserPower = 0;
    std::uint16_t peak = 0;
};

// What SetDefaults puts back.
struct SensorSettings {
    bool laserOn = true;
    std::uint8_t maxLaserPower = 200;
    std::uint8_t minLaserPower = 20;
    std::uint8_t threshold = 40;
    std::uint16_t rangeMode = 0;
    std::uint8_t holdLastValidRange = 0; // out-of-range mode
    std::uint16_t scanInterval = 10;
    std::uint16_t dropoutFactor = 3;
    std::uint16_t smoothFactor = 4;
    std::uint16_t orderFactor = 2;
    std::uint16_t rangeOffset = 0;
    std::uint16_t cosine = 10000;    // x 10000
    std::uint16_t multiplier = 1000; // x 1000
    std::uint16_t offsetExtra = 0;   // fourth word of SetOffset
    AnalogFactors analog;
    // The words at 4 and 6 hold the averaging count as it is reported, high half first.
    std::array<std::uint16_t, 4> configWords{100, 0, 0, 1500};
    std::array<std::uint8_t, 2> configBytes{0, 0};
    WaneRecord wane;
    std::uint16_t boardTimeoutMs = 1000;
    std::uint16_t holdScans = 0;
};

struct SensorState {
    SensorConfig config; // identity as it is now: address, method and baud rate follow commands
    SensorSettings settings;

    // Scanning: StartScan empties the buffer and fills it one sample per scan period.
    std::vector<std::uint16_t> scanBuffer = std::vector<std::uint16_t>(kScanBufferSamples);
    bool scanning = false;
    std::uint16_t scanCount = 0;
    std::uint16_t scanSeed = 0; // makes each scan's ranges differ, deterministically
    Clock::duration scanPeriod = std::chrono::milliseconds(1);
    Clock::time_point scanStarted{};

    // Live measurement: follows the clock unless frozen, then `live` is what is reported.
    bool liveFrozen = false;
    LiveValues live;
    // The four words the board flipper's state adds after the sensor state; the tools do
    // not interpret them.
    std::array<std::uint16_t, 4> boardFlipperWords{0x0102, 0x0304, 0x0506, 0x0708};
    Clock::time_point poweredUp = Clock::now();

    ErrorCounters errors;

    FlashState flash;
};

// A sensor as it leaves the factory: settings at their defaults, the scan buffer
// holding one complete deterministic scan.
SensorState FactoryState(const SensorConfig& config);

// The range of sample `index` of the scan numbered `seed`.
std::uint16_t ScanSample(std::uint16_t seed, std::size_t index);

// Brings the scan forward to `now`: fills the samples whose scans have passed and ends
// the scan when the buffer is full.
void AdvanceScan(SensorState& state, Clock::time_point now);
void StartScan(SensorState& state, Clock::time_point now);
void StopScan(SensorState& state, Clock::time_point now);

// The live measurement at `now` (the frozen one when frozen).
LiveValues LiveAt(const SensorState& state, Clock::time_point now);

// Analog output level at the present range (0 to 4095 for 0 to 9.999 V).
std::uint16_t AnalogOutputLevel(const SensorState& state, Clock::time_point now);

} // namespace vk::sim
