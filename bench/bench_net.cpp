// Measures the command layer through Debian's ser2net (RFC 2217 on loopback) in front of
// paced simulated sensors at 57600 baud: one GetVKT02State exchange and reading all 8192
// ranges of the scan buffer, each beside its wire time, and the same through the COM port,
// so the difference is what the network adds.
//   bench_net [EXCHANGES] [BUFFER_READS]
#include "bench/bench_line.h"
#include "bench/wire_time.h"
#include "link/dcs_link.h"
#include "sensor/scan_buffer_area.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "ser2net/ser2net_process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace vk;
using namespace vk::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kBaud = kBenchBaud;

struct Figures {
    double exchangeMs = 0; // median
    double readMs = 0;     // best run
};

bool Measure(DcsLink& link, int exchanges, int bufferReads, Figures* out) {
    QuietLog log;
    SensorDevice sensor(&log);
    sensor.SetLink(&link);
    sensor.SetAddress(1);
    sensor.SetCheckMethod(CheckMethod::Checksum);
    const std::vector<double> times = ExchangeTimesMs(sensor, exchanges);
    if (times.empty())
        return false;
    out->exchangeMs = Median(times);
    const std::optional<double> best = BestScanReadMs(sensor, bufferReads);
    if (!best)
        return false;
    out->readMs = *best;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int exchanges = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int bufferReads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    if (!test::Ser2net::Installed()) {
        std::fprintf(stderr, "bench_net: ser2net is not installed (scripts/setup installs it)\n");
        return 1;
    }
    BenchLine line(true);
    if (!line.Start())
        return 1;
    Figures direct;
    if (!Measure(line.Link(), exchanges, bufferReads, &direct)) {
        std::fprintf(stderr, "bench_net: COM1: %s\n", line.Link().ErrorText());
        return 1;
    }
    // The server opens the line itself: the program lets go of it first.
    line.Link().ClosePort();
    test::Ser2net server;
    std::string error;
    if (!server.Start(line.Line().DevicePath(), &error)) {
        std::fprintf(stderr, "bench_net: %s\n", error.c_str());
        return 1;
    }
    DcsLink link;
    Figures served;
    if (!link.OpenPortName(server.TelnetUrl(), kBenchBaud, 0, 0, 8, 100, 100) ||
        !Measure(link, exchanges, bufferReads, &served)) {
        std::fprintf(stderr, "bench_net: %s: %s\n", server.TelnetUrl().c_str(), link.ErrorText());
        return 1;
    }

    std::printf("paced simulated VKT02, %d baud, checksum variant; ser2net %s on loopback\n",
                static_cast<int>(kBaud), server.TelnetUrl().c_str());
    const double exchangeWire = WireMs(FrameBytes(0) + FrameBytes(14), kBaud);
    const double readWire = WireMs(ScanReadWireBytes(kScanBufferSamples), kBaud);
    Report("GetVKT02State via COM1 (median)", direct.exchangeMs, exchangeWire);
    Report("GetVKT02State via ser2net (median)", served.exchangeMs, exchangeWire);
    Report("read 8192 ranges via COM1 (best)", direct.readMs, readWire);
    Report("read 8192 ranges via ser2net (best)", served.readMs, readWire);
    const std::size_t portions = (kScanBufferSamples + kSamplesPerPortion - 1) / kSamplesPerPortion;
    std::printf("the network adds %.3f ms per exchange (one state request), %.3f ms per scan "
                "portion (%zu portions)\n",
                served.exchangeMs - direct.exchangeMs, (served.readMs - direct.readMs) / portions,
                portions);
    return 0;
}
