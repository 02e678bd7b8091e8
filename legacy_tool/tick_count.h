#pragma once
// The millisecond tick count the tool's fixed waits are measured with: 32 bits, so it
// wraps after 49.7 days and differences are taken modulo 2^32.

#include <cstdint>

namespace vk::legacy {

// Milliseconds of the steady clock, cut to 32 bits.
std::uint32_t TickCount();
// Milliseconds from `start` to `now`, correct across one wrap of the counter.
inline std::uint32_t TicksSince(std::uint32_t start, std::uint32_t now) {
    return now - start;
}

} // namespace vk::legacy
