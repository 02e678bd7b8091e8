#pragma once
// The command line of vkctl:
//   vkctl [--port NAME] [--baud 9600|19200|38400|57600] [--address N] [--checksum|--crc]
//         [--json] [--verbose] [--trace] [--quiet] COMMAND [ARGUMENTS...]

#include "link/frame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk::cli {

struct VkctlOptions {
    std::string port = "COM1"; // "COMn", a device path starting with "/", tcp:// or rfc2217://
    std::int32_t baudRate = 57600;
    std::uint8_t address = 1;
    std::optional<CheckMethod> method; // none: checksum first, then CRC
    bool verbose = false;              // every log line to standard error, as it comes
    bool trace = false;                // every frame on standard error
    bool json = false;                 // --json, before or after the command
    bool quiet = false;                // no progress line on a terminal
    std::string command;
    std::vector<std::string> arguments;
};

// Parses `args` (without the program name). False with a one-line reason in `error`.
bool ParseVkctlArguments(const std::vector<std::string>& args, VkctlOptions* options,
                         std::string* error);

// Reads a whole decimal number within [low, high]; nothing for anything else.
std::optional<long> ParseNumber(const std::string& text, long low, long high);

std::string VkctlUsage();

} // namespace vk::cli
