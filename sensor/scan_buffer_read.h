#pragma once
// Reading a stretch of the sensor's scan buffer: GetScanBufferPortion in portions of at
// most 126 ranges, each checked to have carried every range it was asked for.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vk {

class SensorDevice;

enum class ScanReadOutcome { Complete, Stopped, Failed };

struct ScanRead {
    ScanReadOutcome outcome = ScanReadOutcome::Complete;
    // The raw ranges in buffer order: all `count` when complete, else what came before
    // the read ended (a short packet's ranges included).
    std::vector<std::uint16_t> ranges;
    // When the read failed without the command layer writing a line of its own (a reply
    // packet lost, foreign or short): the line that says so. Empty otherwise.
    std::string failureLine;
};

// Called after every portion with the number of ranges read so far; false asks the read
// to stop. A read stopped after its last portion still counts as stopped.
using ScanReadProgress = std::function<bool(std::size_t rangesRead)>;

// Reads `count` ranges from index `start` (taken modulo 2^16 for each request, as the
// sensor's index field is 16 bits wide). `progress` may be empty. A count of 0 sends
// nothing and is complete at once. The first failed portion ends the read.
ScanRead ReadScanRanges(SensorDevice& sensor, std::size_t start, std::size_t count,
                        const ScanReadProgress& progress = {});

} // namespace vk
