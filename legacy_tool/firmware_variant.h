#pragma once
// Firmware revision "C" counts time in finer ticks than the others and takes its scan
// interval and averaging period through commands of its own.

#include <cstdint>

namespace vk::legacy {

// How averaging periods convert between the period field and sensor ticks.
struct AveragingScale {
    int divisor = 100; // ticks per period unit
    int step = 60;     // the sensor's scan quantum in ticks
    int decimals = 2;
};

struct FirmwareVariant {
    AveragingScale averaging;
    const char* defaultPeriodText;
    std::uint8_t scanIntervalCommand;
    std::uint8_t averagingCommand;
};

// The variant of revision "C" (`revisionC`) or of any other revision.
const FirmwareVariant& VariantFor(bool revisionC);

} // namespace vk::legacy
