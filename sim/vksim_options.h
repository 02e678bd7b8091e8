#pragma once
// The command line of vksim.

#include "sim/sim_line.h"

#include <string>
#include <vector>

namespace vk::sim {

struct VksimOptions {
    LineOptions line;
    std::vector<SensorConfig> sensors; // the first from --model etc., then one per --sensor
};

// Parses the arguments after the program name. False with a one-line reason in `error`.
// `--help` is reported through `wantsHelp` (then the rest is not checked).
bool ParseVksimArguments(const std::vector<std::string>& args, VksimOptions* out, bool* wantsHelp,
                         std::string* error);

// The usage text, ending in a newline.
std::string VksimUsage();

} // namespace vk::sim
