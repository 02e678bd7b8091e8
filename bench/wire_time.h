#pragma once
// Wire time: the bits a transfer puts on the line divided by the line's speed.

#include <cstddef>

namespace vk::bench {

// 8 data bits, no parity, 1 stop bit, 1 start bit.
inline constexpr double kBitsPerByte = 10.0;

inline double WireMs(std::size_t bytes, double baud) {
    return bytes * kBitsPerByte * 1000.0 / baud;
}

} // namespace vk::bench
