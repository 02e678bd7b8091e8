// Measures a sensor profile's backup and its restore with verification against paced
// simulated VKT02 sensors at 57600 baud: the old sensor has every setting changed, the
// new one leaves the factory, so the restore writes them all. Each figure is printed
// beside the wire time of its frames, with the number of requests it sent.
//   bench_profile [ROUNDS]
#include "bench/bench_line.h"
#include "bench/wire_time.h"
#include "cli/vkctl_session.h"
#include "link/link_observer.h"
#include "panels/profile_restore.h"
#include "panels/sensor_profile.h"
#include "sim/sim_line.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace vk;
using namespace vk::bench;
using Clock = std::chrono::steady_clock;

namespace {

// Requests sent, and bytes both ways.
struct Counter : LinkObserver {
    int requests = 0;
    std::size_t bytes = 0;
    void OnLinkTraffic(const LinkTraffic& t) override {
        bytes += t.length;
        if (t.direction == TraceDirection::Sent && t.kind == TraceKind::Frame)
            ++requests;
    }
};

void ChangeEverything(sim::SensorState& s) {
    sim::SensorSettings& t = s.settings;
    t.rangeMode = 2;
    t.rangeOffset = 125;
    t.cosine = 9000;
    t.multiplier = 1100;
    t.laserOn = false;
    t.maxLaserPower = 180;
    t.minLaserPower = 30;
    t.threshold = 77;
    t.scanInterval = 25;
    t.dropoutFactor = 6;
    t.smoothFactor = 9;
    t.orderFactor = 5;
    t.analog = {500, 1000, 9500, 30000, 120, 250, {}};
    t.configWords[3] = 3000;
}

struct Timed {
    double ms = 0;
    int requests = 0;
    std::size_t bytes = 0;
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    BenchLine bench(true);
    if (!bench.Start())
        return 1;
    bench.Link().ClosePort(); // the connection opens the port itself
    sim::SensorConfig fresh = sim::ConfigForModel("VKT02");
    fresh.address = 2;
    fresh.serialNumber = "VK000002";
    bench.Line().AddSensor(fresh);
    bench.Line().Modify(1, ChangeEverything);

    // The connection of a vkctl run, as vkctl makes it.
    cli::VkctlOptions options;
    options.baudRate = kBenchBaud;
    cli::VkctlSession session(options, stderr);
    SensorConnection& connection = session.Connection();
    Counter counter;
    Timed connect, backup, restore;
    // Each connect is timed as a vkctl run pays it: the port opened and settled, the line
    // drained, model, versions and serial number read.
    const auto timedConnect = [&] {
        connection.Link().SetObserver(nullptr);
        const auto start = Clock::now();
        const bool ok = session.Connect();
        connect.ms += MsSince(start);
        return ok;
    };
    for (int round = 0; round < rounds; ++round) {
        // The new sensor leaves the factory again before each round.
        bench.Line().Modify(2, [&](sim::SensorState& s) { s.settings = sim::SensorSettings{}; });

        options.address = 1;
        if (!timedConnect())
            return 1;
        connection.Link().SetObserver(&counter);
        counter = {};
        auto start = Clock::now();
        std::string failure;
        const std::optional<SensorProfile> profile =
            ProfileOfSensor(connection, "bench_profile", &failure);
        backup.ms += MsSince(start);
        backup.requests += counter.requests;
        backup.bytes += counter.bytes;
        connection.Link().SetObserver(nullptr);
        connection.Disconnect();
        if (!profile) {
            std::fprintf(stderr, "backup failed %s\n", failure.c_str());
            return 1;
        }

        options.address = 2;
        if (!timedConnect())
            return 1;
        connection.Link().SetObserver(&counter);
        counter = {};
        start = Clock::now();
        const RestoreReport report =
            RestoreSettings(connection.Sensor(), connection.Model(), *profile, false);
        restore.ms += MsSince(start);
        restore.requests += counter.requests;
        restore.bytes += counter.bytes;
        connection.Link().SetObserver(nullptr);
        connection.Disconnect();
        if (!report.Clean()) {
            for (const std::string& line : RestoreProblems(report))
                std::fprintf(stderr, "restore: %s\n", line.c_str());
            return 1;
        }
    }
    const auto print = [&](const char* what, const Timed& t) {
        std::printf("%-34s %d requests\n", what, t.requests / rounds);
        Report(what, t.ms / rounds, WireMs(t.bytes / static_cast<std::size_t>(rounds), kBenchBaud));
    };
    std::printf("VKT02 profile, every setting changed, %d round(s):\n", rounds);
    std::printf("%-34s %10.3f ms (each run of vkctl pays it once)\n", "connect",
                connect.ms / (2 * rounds));
    print("backup", backup);
    print("restore with verification", restore);
    return 0;
}
