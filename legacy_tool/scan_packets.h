#pragma once
// One target's answer to a scan-buffer request: a series of packets whose first payload
// byte counts down N, N - 1, ... 1, each followed by up to 126 16-bit values. The values
// travel low byte first whatever the check method, as every sensor sends its samples.

#include "legacy_tool/korvel_codec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk::legacy {

// Values kept of one target: the sensor's whole buffer.
inline constexpr std::size_t kMaxScanValues = 8192;

class ScanPacketReader {
public:
    enum class Step {
        More,   // the next packet is due
        Done,   // the countdown reached 1 (or the first packet announced none)
        Broken, // the countdown skipped, another sensor sent the packet, or more values
                // came than a buffer holds
    };

    // Reads the answer of the sensor at `target`. A packet from another address is not
    // its answer but what another sensor on the line is still sending. Every sensor
    // answers a request to 0 with its own address, so then any address is taken.
    explicit ScanPacketReader(std::uint8_t target = 0) : target_(target) {}

    // Takes the next packet's reply buffer (start byte through the last payload byte).
    // After Done or Broken nothing more is taken.
    Step Take(const Bytes& reply);
    // The values taken so far, at most kMaxScanValues.
    const std::vector<std::uint16_t>& Values() const { return values_; }

private:
    std::uint8_t target_;
    std::vector<std::uint16_t> values_;
    int expected_ = -1; // the countdown the next packet must carry; -1 before the first
    Step end_ = Step::More;
};

} // namespace vk::legacy
