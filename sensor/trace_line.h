#pragma once
// One line of the line trace, the same in the utility's trace window and on vkctl's
// standard error:
//   12:34:56.789 TX addr 1 ID 21 GetVKT02State payload - checksum E7 good
//   12:34:56.801 RX addr 1 ID 21 GetVKT02State payload 10 00 ... CRC 1A2B bad
//   12:34:56.950 RX stray 3 bytes: 41 42 43
// Frames show their address, packet ID with the command's name, payload and check field;
// anything else shows its kind ("stray", "partial", "raw") and its bytes.

#include "link/link_observer.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk {

// The line for `traffic` seen at `time`, without a line end. A frame shorter than its
// header and check field is shown as partial bytes rather than read past its end.
std::string FormatTraceLine(const LinkTraffic& traffic, std::chrono::system_clock::time_point time);

// `length` bytes as upper-case hex pairs separated by spaces.
std::string HexBytes(const std::uint8_t* bytes, std::size_t length);

} // namespace vk
