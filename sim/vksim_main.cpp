// vksim: simulated sensors on a pseudo-terminal linked as COMn, until SIGINT or SIGTERM.

#include "link/port_names.h"
#include "link/stop_signal.h"
#include "sim/sim_line.h"
#include "sim/vksim_background.h"
#include "sim/vksim_options.h"
#include "version/program_info.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace vk::sim;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::fputs(vk::VersionText("vksim").c_str(), stdout);
        return 0;
    }
    VksimOptions options;
    bool wantsHelp = false;
    std::string error;
    if (!ParseVksimArguments(args, &options, &wantsHelp, &error))
        return VksimUsageError(stderr, error);
    if (wantsHelp) {
        std::fputs(VksimUsage().c_str(), stdout);
        return 0;
    }

    // Fixed before a background start, which must not depend on the folder it runs in.
    std::error_code ec;
    std::string dir = options.line.portDir.empty() ? vk::PortDirectory() : options.line.portDir;
    dir = std::filesystem::absolute(dir, ec).lexically_normal().string();
    options.line.portDir = dir;
    const int com = options.line.comNumber;
    if (options.stop)
        return StopBackgroundVksim(dir, com);
    // A second simulator would take the name from under the first, which would serve on
    // unseen and unstoppable.
    if (std::optional<int> running = RecordedVksim(dir, com)) {
        std::fprintf(stderr,
                     "vksim: COM%d of %s is served by vksim (process %d); end it with\n"
                     "  vksim --stop --com %d --port-dir %s\n",
                     com, dir.c_str(), *running, com, dir.c_str());
        return 1;
    }

    BackgroundStart background;
    if (options.background) {
        if (std::optional<int> parentStatus = background.Fork())
            return *parentStatus;
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
        if (options.background)
            background.Failed(error); // the parent says it
        else
            std::fprintf(stderr, "vksim: %s\n", error.c_str());
        return 1;
    }
    std::string announce = line.ComName() + " " + line.DevicePath();
    NetServer server;
    if (options.listen) {
        // The server's port is set up for the sensors it serves, as a technician would.
        ListenAddress listen = *options.listen;
        if (!options.sensors.empty())
            listen.lineSpeed = static_cast<std::uint32_t>(options.sensors.front().baudRate);
        if (!server.Start(listen, line.DevicePath(), &error)) {
            line.Stop();
            if (options.background)
                background.Failed(error);
            else
                std::fprintf(stderr, "vksim: %s\n", error.c_str());
            return 1;
        }
        announce += "\n" + server.Url();
    }
    if (!options.background) {
        std::printf("%s\n", announce.c_str());
        std::fflush(stdout);
    } else if (!background.Ready(announce, PidFilePath(dir, com), LogFilePath(dir, com), &error)) {
        line.Stop();
        return 1;
    }
    // A line whose terminal failed serves nobody: say so instead of waiting for ever.
    int status = 0;
    while (vk::WaitForStopSignal(500) == 0) {
        if (!line.Serving()) {
            std::fprintf(stderr, "vksim: the pseudo-terminal failed; stopping\n");
            status = 1;
            break;
        }
    }
    server.Stop();
    line.Stop();
    background.Finished();
    return status;
}
