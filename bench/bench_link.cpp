// Measures the command layer against paced simulated sensors at 57600 baud: one
// GetVKT02State exchange, and reading all 8192 ranges of the scan buffer. Each figure is
// printed beside its wire time and the ratio of the two.
#include "bench/bench_line.h"
#include "bench/wire_time.h"
#include "link/dcs_link.h"
#include "link/frame.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "sim/sim_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vk;
using Clock = std::chrono::steady_clock;
using namespace vk::bench;

namespace {

constexpr double kBaud = vk::bench::kBenchBaud;

struct QuietLog : LogSink {
    void LogMessage(const char* text, LogIcon icon) override {
        if (icon == LogIcon::Error)
            std::fprintf(stderr, "%s\n", text);
    }
};

} // namespace

int main(int argc, char** argv) {
    int exchanges = argc > 1 ? std::atoi(argv[1]) : 200;
    int bufferReads = argc > 2 ? std::atoi(argv[2]) : 3;

    vk::bench::BenchLine line(true);
    if (!line.Start())
        return 1;
    QuietLog log;
    SensorDevice sensor(&log);
    sensor.SetLink(&line.Link());
    sensor.SetAddress(1);
    sensor.SetCheckMethod(CheckMethod::Checksum);

    std::printf("paced simulated VKT02, %d baud, checksum variant\n", static_cast<int>(kBaud));

    // One exchange: 5-byte request, 19-byte reply. The median keeps a scheduling hiccup
    // of the machine out of the figure; the mean is printed beside it.
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(exchanges));
    double total = 0;
    for (int i = 0; i < exchanges; ++i) {
        auto start = Clock::now();
        if (!sensor.GetVKT02State())
            return 1;
        times.push_back(MsSince(start));
        total += times.back();
    }
    std::sort(times.begin(), times.end());
    double wire = WireMs(FrameBytes(0) + FrameBytes(14), kBaud);
    Report("GetVKT02State (median exchange)", times[times.size() / 2], wire);
    Report("GetVKT02State (mean exchange)", total / exchanges, wire);

    // 8192 ranges in requests of at most 126 samples.
    double best = 1e30;
    for (int r = 0; r < bufferReads; ++r) {
        auto start = Clock::now();
        if (ReadScanRanges(sensor, 0, kScanBufferSamples).outcome != ScanReadOutcome::Complete)
            return 1;
        best = std::min(best, MsSince(start));
    }
    Report("read 8192 ranges (best run)", best,
           WireMs(ScanReadWireBytes(kScanBufferSamples), kBaud));
    return 0;
}
