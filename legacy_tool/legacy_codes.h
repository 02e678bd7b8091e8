#pragma once
// The command codes the setup tool sends, and how long it waits for their replies.

#include <cstdint>

namespace vk::legacy {

inline constexpr std::uint8_t kCmdSetLaserOn = 1;
inline constexpr std::uint8_t kCmdSetLaserOff = 2;
inline constexpr std::uint8_t kCmdStartScan = 3;
inline constexpr std::uint8_t kCmdStopScan = 4;
inline constexpr std::uint8_t kCmdSetScanInterval = 5;
inline constexpr std::uint8_t kCmdSetOffset = 8;
inline constexpr std::uint8_t kCmdSetMode = 9;
inline constexpr std::uint8_t kCmdHLAScanResult = 10;
inline constexpr std::uint8_t kCmdGetScanBufferPortion = 11;
inline constexpr std::uint8_t kCmdRangeReading = 12;
inline constexpr std::uint8_t kCmdSetFilterFactors = 14;
inline constexpr std::uint8_t kCmdApplyScanFilter = 15;
inline constexpr std::uint8_t kCmdSetSensorAddress = 18;
inline constexpr std::uint8_t kCmdGetSensorSetup = 19;
inline constexpr std::uint8_t kCmdGetErrorState = 20;
inline constexpr std::uint8_t kCmdGetVKT02State = 21;
inline constexpr std::uint8_t kCmdSetAnalogOutputFactors = 26;
inline constexpr std::uint8_t kCmdGetAnalogFactors = 27;
inline constexpr std::uint8_t kCmdGetConfigVars = 32;
inline constexpr std::uint8_t kCmdSetConfigVars = 33;
inline constexpr std::uint8_t kCmdGetPeak = 38;
inline constexpr std::uint8_t kCmdGetVersion = 39; // GetVKT04Version
inline constexpr std::uint8_t kCmdSetDefaults = 66;
inline constexpr std::uint8_t kCmdGetLaserPower = 67;
inline constexpr std::uint8_t kCmdSetSensorCheckMode = 77;
inline constexpr std::uint8_t kCmdWriteFlashProtect1 = 78;
inline constexpr std::uint8_t kCmdWriteFlashProtect2 = 79;
inline constexpr std::uint8_t kCmdSetModelName = 80;
inline constexpr std::uint8_t kCmdSetSerialNum = 81;
inline constexpr std::uint8_t kCmdSetThreshold = 82;
inline constexpr std::uint8_t kCmdSetMaxLP = 83;
inline constexpr std::uint8_t kCmdSetMinLP = 84;
inline constexpr std::uint8_t kCmdSetBaudRate = 92;
inline constexpr std::uint8_t kCmdGetModelName = 127;
inline constexpr std::uint8_t kCmdGetSerialNum = 128;
inline constexpr std::uint8_t kCmdGetMaxLP = 129;
inline constexpr std::uint8_t kCmdGetMinLP = 130;
inline constexpr std::uint8_t kCmdGetThreshold = 131;
inline constexpr std::uint8_t kCmdResetMode = 148;
inline constexpr std::uint8_t kCmdScanIntervalC = 205;
inline constexpr std::uint8_t kCmdAveragingC = 233;

// Reply waits in milliseconds.
inline constexpr int kReplyMs = 500;
inline constexpr int kAnalogAfterChangeMs = 1000;
inline constexpr int kAcknowledgeMs = 300; // the set wait, CRC variant
inline constexpr int kSetPauseMs = 200;    // the set wait, checksum variant
inline constexpr int kLaserPauseMs = 10;
inline constexpr int kDefaultsPauseMs = 200;
inline constexpr int kCheckModePauseMs = 300;
inline constexpr int kRetryPauseMs = 100; // after the raw "F" of a failed probe
inline constexpr int kScanPacketMs = 1000;
inline constexpr int kBrokenScanPauseMs = 100; // after a scan-buffer answer broke off
inline constexpr int kFilterPauseMs = 50;
inline constexpr int kFlashProtectPauseMs = 100;
inline constexpr int kEraseMs = 5000; // the sensor erases its flash before it answers
inline constexpr int kXModemByteMs = 2000;

} // namespace vk::legacy
