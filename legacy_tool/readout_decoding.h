#pragma once
// What the settings page shows of each reply it reads. Each Decode function takes a
// reply buffer (start byte through the last payload byte) that holds at least the
// payload size named beside it; shorter replies are the caller's to refuse.

#include "legacy_tool/firmware_variant.h"
#include "legacy_tool/korvel_codec.h"

#include <string>

namespace vk::legacy {

// Payload bytes each read-out needs.
inline constexpr std::size_t kVersionSize = 6;
inline constexpr std::size_t kSetupSize = 31;
inline constexpr std::size_t kAnalogSize = 12;
inline constexpr std::size_t kConfigSize = 8;
inline constexpr std::size_t kSerialSize = 16;
inline constexpr std::size_t kByteSize = 1;

struct VersionTexts {
    std::string firmware; // "1.23C"
    std::string fpga;     // "2.5"
    bool revisionC = false;
};
VersionTexts DecodeVersion(const Bytes& reply, CheckMethod method);

struct SetupFields {
    std::string serial; // payload 0 to 7, up to the first zero byte
    int address = 0;
    int mode = 0;
    int threshold = 0;
    int scanInterval = 0;
    int dropouts = 0;
    int smooth = 0;
    int order = 0;
    std::string rangeOffset; // in the units of `mode`
    std::string cosine;
    std::string multiplier;
    bool laserOn = false;
};
SetupFields DecodeSetup(const Bytes& reply, CheckMethod method);

// "Volts @ Min. Range", "Minimum Range", "Volts @ Max. Range", "Maximum Range",
// "Offset Voltage", "Volts Outside Range"; ranges in the units of `mode`.
struct AnalogTexts {
    std::string voltsAtMin, minRange, voltsAtMax, maxRange, offsetVoltage, voltsOutside;
};
AnalogTexts DecodeAnalog(const Bytes& reply, CheckMethod method, int mode);

struct ConfigFields {
    std::string period;
    std::uint16_t configWord = 0;
};
ConfigFields DecodeConfig(const Bytes& reply, CheckMethod method, const AveragingScale& scale);

// The model name from payload 2 on: at most 16 characters, up to the first zero byte.
std::string DecodeModelName(const Bytes& reply);

} // namespace vk::legacy
