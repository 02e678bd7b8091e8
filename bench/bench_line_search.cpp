// Measures the line search against paced simulated sensors: a whole line (4 speeds, both
// check methods, addresses 1 to 255) without a sensor and with one, and the time to the
// first sensor found when it sits where the profile says it was last time and when it
// sits at 9600 baud, CRC, address 200 (nearly the last place the search reaches); and for
// reference an empty line with every address asked everywhere.
//
//   bench_line_search [--first-only]
//
// --first-only skips the whole-line runs (the last one takes about a minute).
#include "bench/bench_line.h"
#include "sensor/line_search.h"
#include "sim/sim_line.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

using namespace vk;
using Clock = std::chrono::steady_clock;
using vk::bench::MsSince;

namespace {

// When the first sensor was found and how many places were asked.
class Stopwatch : public LineSearchObserver {
public:
    void Probing(const LineSearchProgress&) override { ++probes; }
    void Found(const FoundSensor&) override {
        if (!firstFoundMs)
            firstFoundMs = MsSince(start);
    }
    Clock::time_point start = Clock::now();
    std::optional<double> firstFoundMs;
    std::size_t probes = 0;
};

// One paced line on COM1 of a private port folder, holding `sensor` if given.
class PacedLine {
public:
    explicit PacedLine(std::optional<sim::SensorConfig> sensor) {
        char folder[] = "/tmp/vk-bench-search-XXXXXX";
        if (!mkdtemp(folder)) {
            std::perror("bench_line_search: mkdtemp");
            std::exit(1);
        }
        dir_ = folder;
        setenv("KORVEL_PORT_DIR", folder, 1);
        line_ = std::make_unique<sim::SimLine>(sim::LineOptions{1, dir_, true});
        if (sensor)
            line_->AddSensor(*sensor);
        std::string error;
        if (!line_->Start(&error)) {
            std::fprintf(stderr, "bench_line_search: %s\n", error.c_str());
            std::exit(1);
        }
    }
    ~PacedLine() {
        line_->Stop();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    PacedLine(const PacedLine&) = delete;
    PacedLine& operator=(const PacedLine&) = delete;

private:
    std::string dir_;
    std::unique_ptr<sim::SimLine> line_;
};

sim::SensorConfig SensorAt(std::int32_t speed, CheckMethod method, std::uint8_t address) {
    sim::SensorConfig config = sim::ConfigForModel("VKT02");
    config.baudRate = speed;
    config.method = method;
    config.address = address;
    return config;
}

// Searches with `plan` on a line holding `sensor` and prints the figures.
void Run(const char* what, std::optional<sim::SensorConfig> sensor, LineSearchPlan plan) {
    PacedLine line(sensor);
    plan.port = "COM1";
    Stopwatch watch;
    const LineSearchResult result = SearchLine(plan, watch);
    const double totalMs = MsSince(watch.start);
    if (result.lineFailed) {
        std::fprintf(stderr, "bench_line_search: %s\n", result.lineError.c_str());
        std::exit(1);
    }
    std::printf("%-46s %8.0f ms  %4zu probes  %5.1f ms a probe  found %zu", what, totalMs,
                watch.probes, watch.probes ? totalMs / static_cast<double>(watch.probes) : 0.0,
                result.sensors.size());
    if (watch.firstFoundMs)
        std::printf(" (first after %.0f ms)", *watch.firstFoundMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    const bool firstOnly = argc > 1 && std::string(argv[1]) == "--first-only";
    // vkctl's defaults come first when nothing else is known: 57600 baud, address 1.
    const std::vector<LinePlace> defaults = {{57600, CheckMethod::Checksum, 1},
                                             {57600, CheckMethod::Crc16, 1}};
    LineSearchPlan whole;
    whole.tryFirst = defaults;
    if (!firstOnly) {
        Run("whole line, no sensor", std::nullopt, whole);
        Run("whole line, one sensor (38400 CRC 17)", SensorAt(38400, CheckMethod::Crc16, 17),
            whole);
        // Speeds and methods where nothing answers the global address left out.
        whole.skipSilent = true;
        Run("whole line, no sensor, silent ones skipped", std::nullopt, whole);
        Run("whole line, one sensor, silent ones skipped", SensorAt(38400, CheckMethod::Crc16, 17),
            whole);
    }

    LineSearchPlan first;
    first.stopAtFirst = true;
    first.tryFirst = {{38400, CheckMethod::Checksum, 17}, {38400, CheckMethod::Crc16, 17}};
    Run("first, at the profile's last (38400 CRC 17)", SensorAt(38400, CheckMethod::Crc16, 17),
        first);
    first.tryFirst = defaults;
    Run("first, at 9600 CRC 200", SensorAt(9600, CheckMethod::Crc16, 200), first);
    return 0;
}
