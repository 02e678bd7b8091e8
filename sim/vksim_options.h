#pragma once
// The command line of vksim.

#include "sim/net_server.h"
#include "sim/sim_line.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vk::sim {

struct VksimOptions {
    LineOptions line;
    // One from --model, --address and the like, or exactly one per --sensor.
    std::vector<SensorConfig> sensors;
    bool background = false; // serve from a child process, return once the port exists
    bool stop = false;       // end the background vksim of the COM number instead
    // --tcp or --rfc2217: the line is also served over the network there.
    std::optional<ListenAddress> listen;
};

// Parses the arguments after the program name. False with a one-line reason in `error`:
// also for a --sensor without address=, for the single sensor's options beside --sensor
// (they would describe no sensor), and for --stop with anything but --com and --port-dir.
// `--help` is reported through `wantsHelp` (then the rest is not checked).
bool ParseVksimArguments(const std::vector<std::string>& args, VksimOptions* out, bool* wantsHelp,
                         std::string* error);

// The usage text, ending in a newline.
std::string VksimUsage();

// Prints the one line "vksim: <problem>; see vksim --help" on `err`; returns the exit
// status of a usage error, 2.
int VksimUsageError(std::FILE* err, const std::string& problem);

} // namespace vk::sim
