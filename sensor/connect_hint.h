#pragma once
// What a technician can do about a connect that got no answer, put in one line.

#include "link/frame.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

// What was tried and what to try next:
//   "hint: tried COM1 (/dev/ttyS0) at 57600 baud, address 1, with checksum and with CRC;
//    no answer: check the cable and the sensor's power, or use Find Sensors"
// `port` is the name the user gave and `device` what it stands for (shown once when they
// are the same); address 0 is named as every sensor's. `onlyMethod` is the one check
// method asked with, none when both were. `search` is how this program searches a line
// for sensors ("use Find Sensors"); without it the hint ends after the sensor's power.
std::string NoAnswerHint(const std::string& port, const std::string& device, std::int32_t baudRate,
                         std::uint8_t address, std::optional<CheckMethod> onlyMethod,
                         const std::string& search);

} // namespace vk
