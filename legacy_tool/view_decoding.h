#pragma once
// What the " View / Diagnostics " page shows of each reply it reads. Each Decode function
// takes a reply buffer that holds at least the payload size named beside it; ranges are
// shown in the units of sensor mode `mode`.

#include "legacy_tool/korvel_codec.h"

#include <string>

namespace vk::legacy {

inline constexpr std::size_t kRangeReadingSize = 2;
inline constexpr std::size_t kStateSize = 14;
inline constexpr std::size_t kPeakSize = 2;
inline constexpr std::size_t kLaserPowerSize = 1;
inline constexpr std::size_t kAnalogOutputSize = 22;
inline constexpr std::size_t kScanResultSize = 10;
inline constexpr std::size_t kErrorStateSize = 10;

// The range reading (command 12).
std::string DecodeRangeReading(const Bytes& reply, CheckMethod method, int mode);

// GetVKT02State: the readouts of "Show All", and the scan count and flag the scan memo uses.
struct StateReadout {
    std::string basePix, sumPix, numPix, subPix, range, scanCount, scanStatus;
    std::uint16_t scans = 0;
    bool scanning = false;
};
StateReadout DecodeState(const Bytes& reply, CheckMethod method, int mode);
// "Scanning" or "Not Scanning".
const char* ScanStatusText(bool scanning);

// GetPeak and GetLaserPower.
std::string DecodePeak(const Bytes& reply, CheckMethod method);
std::string DecodeLaserPower(const Bytes& reply);
// GetAnalogFactors: the present output level in volts (4095 is 9.999 V).
std::string DecodeAnalogOutput(const Bytes& reply, CheckMethod method);

// HLAScanResult: "High Scan", "High Scan Index", "Low Scan", "Low Scan Index",
// "Average Scan".
struct ScanResultTexts {
    std::string high, highIndex, low, lowIndex, average;
};
ScanResultTexts DecodeScanResult(const Bytes& reply, CheckMethod method, int mode);

// GetErrorState: "Power-up Count", "Reset Count", "Chksum/Crc Errors", "Command Errors",
// "Calibration Status".
struct ErrorStateTexts {
    std::string powerUps, resets, checkErrors, commandErrors, calibration;
};
ErrorStateTexts DecodeErrorState(const Bytes& reply, CheckMethod method);

} // namespace vk::legacy
