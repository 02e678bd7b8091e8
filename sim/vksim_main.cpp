// vksim: simulated sensors on a pseudo-terminal linked as COMn, until SIGINT or SIGTERM.

#include "sim/sim_line.h"
#include "link/stop_signal.h"
#include "sim/vksim_options.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace vk::sim;
    std::vector<std::string> args(argv + 1, argv + argc);
    VksimOptions options;
    bool wantsHelp = false;
    std::string error;
    if (!ParseVksimArguments(args, &options, &wantsHelp, &error)) {
        std::fprintf(stderr, "vksim: %s\n%s", error.c_str(), VksimUsage().c_str());
        return 2;
    }
    if (wantsHelp) {
        std::fputs(VksimUsage().c_str(), stdout);
        return 0;
    }

    vk::BlockStopSignals();
    SimLine line(options.line);
    // What each upload delivered, for whoever is watching the simulator.
    line.SetUploadReport([](const std::string& text) {
        std::fprintf(stderr, "vksim: %s\n", text.c_str());
        std::fflush(stderr);
    });
    for (const SensorConfig& sensor : options.sensors)
        line.AddSensor(sensor);
    if (!line.Start(&error)) {
        std::fprintf(stderr, "vksim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s %s\n", line.ComName().c_str(), line.DevicePath().c_str());
    std::fflush(stdout);
    // A line whose terminal failed serves nobody: say so instead of waiting for ever.
    while (vk::WaitForStopSignal(500) == 0) {
        if (!line.Serving()) {
            std::fprintf(stderr, "vksim: the pseudo-terminal failed; stopping\n");
            line.Stop();
            return 1;
        }
    }
    line.Stop();
    return 0;
}
