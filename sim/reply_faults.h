#pragma once
// Spoiling one reply frame with the faults a test injected.

#include "link/frame.h"
#include "sim/fault.h"
#include "sim/sensor_state.h"

#include <cstdint>
#include <vector>

namespace vk::sim {

struct ShapedReply {
    std::vector<std::uint8_t> bytes; // what goes on the line (empty: nothing)
    Clock::duration delay{};         // extra wait before it
};

// Applies every fault in `faults` that still has replies to spoil to the reply frame
// `frame` (complete, in `method`), using up one reply of each; spent faults are removed.
ShapedReply ShapeReply(std::vector<Fault>& faults, const std::vector<std::uint8_t>& frame,
                       CheckMethod method);

// The bytes a Garbage fault puts on the line.
std::vector<std::uint8_t> GarbageBytes(const Fault& fault);

} // namespace vk::sim
